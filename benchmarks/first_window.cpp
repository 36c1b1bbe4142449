// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Starts a program and prints how many milliseconds after the start its first window was mapped
// on the X display named by DISPLAY (the window whose _NET_WM_PID is the started process), then
// ends the program. Usage: first_window [--timeout SECONDS] PROGRAM [ARGS...]. Exit status 0 when
// a window was mapped, 1 on a time-out or when the program ended first, 2 on a usage or display
// error.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

static double NowMs(void) {
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1000.0 + t.tv_nsec / 1e6;
}

// The process id a window names in its _NET_WM_PID property (-1 when none).
static long WindowPid(Display* display, Window window, Atom pidAtom) {
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char* data = nullptr;
    long pid = -1;
    if (XGetWindowProperty(display, window, pidAtom, 0, 1, False, XA_CARDINAL, &type, &format,
                           &count, &after, &data) == Success &&
        data != nullptr && count == 1 && format == 32)
        pid = static_cast<long>(*reinterpret_cast<unsigned long*>(data));
    if (data != nullptr)
        XFree(data);
    return pid;
}

static int IgnoreErrors(Display*, XErrorEvent*) {
    return 0; // a window may be gone before its property is read
}

int main(int argc, char** argv) {
    double timeoutMs = 60000;
    int first = 1;
    if (argc > 2 && strcmp(argv[1], "--timeout") == 0) {
        timeoutMs = atof(argv[2]) * 1000;
        first = 3;
    }
    if (first >= argc) {
        fprintf(stderr, "usage: %s [--timeout SECONDS] PROGRAM [ARGS...]\n", argv[0]);
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        fprintf(stderr, "first_window: cannot open the display\n");
        return 2;
    }
    XSetErrorHandler(IgnoreErrors);
    const Atom pidAtom = XInternAtom(display, "_NET_WM_PID", False);
    // Every window mapped as a child of the root window.
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, False);

    const double start = NowMs();
    const pid_t child = fork();
    if (child == 0) {
        close(ConnectionNumber(display));
        execvp(argv[first], argv + first);
        perror("first_window: exec");
        _exit(127);
    }

    int status = 1;
    const int fd = ConnectionNumber(display);
    while (status == 1) {
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type != MapNotify)
                continue;
            if (WindowPid(display, event.xmap.window, pidAtom) == static_cast<long>(child)) {
                printf("%.1f\n", NowMs() - start);
                status = 0;
                break;
            }
        }
        if (status == 0)
            break;
        const double left = timeoutMs - (NowMs() - start);
        if (left <= 0) {
            fprintf(stderr, "first_window: no window within the time-out\n");
            break;
        }
        struct pollfd wait = {fd, POLLIN, 0};
        if (poll(&wait, 1, left > 100 ? 100 : static_cast<int>(left)) < 0 && errno != EINTR)
            break;
        int childStatus;
        if (waitpid(child, &childStatus, WNOHANG) == child) {
            fprintf(stderr, "first_window: the program ended without a window\n");
            XCloseDisplay(display);
            return 1;
        }
    }
    kill(child, SIGTERM);
    for (int i = 0; i < 50 && waitpid(child, nullptr, WNOHANG) == 0; ++i)
        usleep(100000);
    if (waitpid(child, nullptr, WNOHANG) == 0) {
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
    }
    XCloseDisplay(display);
    return status;
}
