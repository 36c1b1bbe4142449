// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
/* A small X client for the real-window checks: lists the top-level windows in stacking order,
 * tells which window has the keyboard and asks a window to close the way a desktop does
 * (WM_DELETE_WINDOW), with or without a window manager.
 *
 *   xwin list            one line per viewable top-level window, bottom to top:
 *                        id x y width height type above|- title
 *   xwin focus           the top-level window that has the keyboard (0 for none)
 *   xwin close ID        sends WM_DELETE_WINDOW to the window ID
 *   xwin keys TITLE FILE [fullscreen]
 *                        a stand-in for a terminal: a 400 x 300 window titled TITLE that appends
 *                        a line to FILE for every key, click and focus it gets ("ready" once it
 *                        is on view), until it is killed; with "fullscreen" it asks to be full
 *                        screen, in its state before its mapping and from the window manager after
 *                        it, as a video player or a game does, and adds a line "fullscreen" or
 *                        "not fullscreen" whenever the window manager changes that state
 *   xwin made FILE       appends "ready" to FILE, then a line "id width height" for every window
 *                        made on the root that a window manager manages (not override-redirect),
 *                        until it is killed
 */
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static Display *dpy;

/* A window may vanish between two requests: that window is skipped, the listing goes on. */
static int IgnoreErrors(Display *display, XErrorEvent *error) {
    (void)display;
    (void)error;
    return 0;
}

static int HasProperty(Window w, Atom property) {
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char *data = NULL;
    if (XGetWindowProperty(dpy, w, property, 0, 0, False, AnyPropertyType, &type, &format, &count,
                           &after, &data) != Success)
        return 0;
    if (data)
        XFree(data);
    return type != None;
}

/* The client window of a top-level window: itself without a window manager, the child that carries
 * WM_STATE inside a window manager's frame. */
static Window ClientOf(Window top) {
    Atom wmState = XInternAtom(dpy, "WM_STATE", False);
    if (HasProperty(top, wmState))
        return top;
    Window root, parent, *children = NULL;
    unsigned int n = 0;
    Window found = None;
    if (XQueryTree(dpy, top, &root, &parent, &children, &n)) {
        for (unsigned int i = 0; i < n && found == None; ++i)
            if (HasProperty(children[i], wmState))
                found = children[i];
        for (unsigned int i = 0; i < n && found == None; ++i) {
            Window inner = ClientOf(children[i]);
            if (inner != children[i] || HasProperty(inner, wmState))
                found = inner;
        }
        if (children)
            XFree(children);
    }
    return found == None ? top : found;
}

static void Title(Window w, char *out, size_t size) {
    Atom utf8 = XInternAtom(dpy, "UTF8_STRING", False);
    Atom netName = XInternAtom(dpy, "_NET_WM_NAME", False);
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char *data = NULL;
    out[0] = '\0';
    if (XGetWindowProperty(dpy, w, netName, 0, 1024, False, utf8, &type, &format, &count, &after,
                           &data) == Success &&
        data) {
        snprintf(out, size, "%s", (char *)data);
        XFree(data);
        return;
    }
    char *name = NULL;
    if (XFetchName(dpy, w, &name) && name) {
        snprintf(out, size, "%s", name);
        XFree(name);
    }
}

static const char *Kind(Window w) {
    Atom property = XInternAtom(dpy, "_NET_WM_WINDOW_TYPE", False);
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char *data = NULL;
    static char kind[64];
    snprintf(kind, sizeof kind, "none");
    if (XGetWindowProperty(dpy, w, property, 0, 16, False, XA_ATOM, &type, &format, &count, &after,
                           &data) == Success &&
        data && count > 0) {
        char *name = XGetAtomName(dpy, ((Atom *)data)[0]);
        if (name) {
            const char *prefix = "_NET_WM_WINDOW_TYPE_";
            snprintf(kind, sizeof kind, "%s",
                     strncmp(name, prefix, strlen(prefix)) == 0 ? name + strlen(prefix) : name);
            XFree(name);
        }
    }
    if (data)
        XFree(data);
    return kind;
}

/* Whether the _NET_WM_STATE of w holds the state named by the atom wanted. */
static int HasState(Window w, Atom property, Atom wanted) {
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char *data = NULL;
    int result = 0;
    if (XGetWindowProperty(dpy, w, property, 0, 64, False, XA_ATOM, &type, &format, &count, &after,
                           &data) == Success &&
        data) {
        for (unsigned long i = 0; i < count; ++i)
            if (((Atom *)data)[i] == wanted)
                result = 1;
        XFree(data);
    }
    return result;
}

static int KeptAbove(Window w) {
    return HasState(w, XInternAtom(dpy, "_NET_WM_STATE", False),
                    XInternAtom(dpy, "_NET_WM_STATE_ABOVE", False));
}

static Window TopLevelOf(Window w) {
    Window root = DefaultRootWindow(dpy), parent, *children = NULL;
    unsigned int n;
    while (w != None && w != PointerRoot) {
        Window r;
        if (!XQueryTree(dpy, w, &r, &parent, &children, &n))
            return None;
        if (children)
            XFree(children);
        if (parent == root)
            return w;
        w = parent;
    }
    return None;
}

int main(int argc, char **argv) {
    if (argc < 2) {
        fprintf(stderr, "usage: xwin list | focus | close ID | keys TITLE FILE [fullscreen] | made FILE\n");
        return 2;
    }
    dpy = XOpenDisplay(NULL);
    if (!dpy) {
        fprintf(stderr, "xwin: cannot open the display\n");
        return 2;
    }
    XSetErrorHandler(IgnoreErrors);
    Window root = DefaultRootWindow(dpy);
    if (strcmp(argv[1], "list") == 0) {
        Window r, parent, *children = NULL;
        unsigned int n = 0;
        XQueryTree(dpy, root, &r, &parent, &children, &n); /* bottom to top */
        for (unsigned int i = 0; i < n; ++i) {
            XWindowAttributes top;
            if (!XGetWindowAttributes(dpy, children[i], &top) || top.map_state != IsViewable ||
                top.override_redirect)
                continue;
            Window client = ClientOf(children[i]);
            XWindowAttributes attributes;
            if (!XGetWindowAttributes(dpy, client, &attributes))
                continue;
            int x = 0, y = 0;
            Window child;
            XTranslateCoordinates(dpy, client, root, 0, 0, &x, &y, &child);
            char title[1024];
            Title(client, title, sizeof title);
            printf("0x%lx %d %d %d %d %s %s %s\n", (unsigned long)client, x, y, attributes.width,
                   attributes.height, Kind(client), KeptAbove(client) ? "above" : "-", title);
        }
        if (children)
            XFree(children);
    } else if (strcmp(argv[1], "focus") == 0) {
        Window focus;
        int revert;
        XGetInputFocus(dpy, &focus, &revert);
        Window top = focus == None || focus == PointerRoot ? None : TopLevelOf(focus);
        printf("0x%lx\n", (unsigned long)(top == None ? 0 : ClientOf(top)));
    } else if (strcmp(argv[1], "close") == 0 && argc == 3) {
        Window w = (Window)strtoul(argv[2], NULL, 0);
        XEvent event;
        memset(&event, 0, sizeof event);
        event.xclient.type = ClientMessage;
        event.xclient.window = w;
        event.xclient.message_type = XInternAtom(dpy, "WM_PROTOCOLS", False);
        event.xclient.format = 32;
        event.xclient.data.l[0] = (long)XInternAtom(dpy, "WM_DELETE_WINDOW", False);
        event.xclient.data.l[1] = CurrentTime;
        XSendEvent(dpy, w, False, NoEventMask, &event);
        XSync(dpy, False);
    } else if (strcmp(argv[1], "keys") == 0 &&
               (argc == 4 || (argc == 5 && strcmp(argv[4], "fullscreen") == 0))) {
        const int fullscreen = argc == 5;
        Atom state = XInternAtom(dpy, "_NET_WM_STATE", False);
        Atom full = XInternAtom(dpy, "_NET_WM_STATE_FULLSCREEN", False);
        FILE *log = fopen(argv[3], "a");
        if (!log)
            return 2;
        Window w = XCreateSimpleWindow(dpy, root, 40, 40, 400, 300, 0, 0, 0xFFFFFF);
        XStoreName(dpy, w, argv[2]);
        XChangeProperty(dpy, w, XInternAtom(dpy, "_NET_WM_NAME", False),
                        XInternAtom(dpy, "UTF8_STRING", False), 8, PropModeReplace,
                        (unsigned char *)argv[2], (int)strlen(argv[2]));
        XWMHints hints = {.flags = InputHint, .input = True};
        XSetWMHints(dpy, w, &hints);
        /* Asked before the window listens: a change the log tells of is the window manager's. */
        if (fullscreen)
            XChangeProperty(dpy, w, state, XA_ATOM, 32, PropModeReplace, (unsigned char *)&full, 1);
        XSelectInput(dpy, w,
                     KeyPressMask | ButtonPressMask | FocusChangeMask | StructureNotifyMask |
                         (fullscreen ? PropertyChangeMask : 0));
        int wasFull = 0;
        XMapWindow(dpy, w);
        for (;;) {
            XEvent event;
            XNextEvent(dpy, &event);
            if (event.type == MapNotify) {
                if (fullscreen) { /* _NET_WM_STATE_ADD, from an application */
                    XEvent ask;
                    memset(&ask, 0, sizeof ask);
                    ask.xclient.type = ClientMessage;
                    ask.xclient.window = w;
                    ask.xclient.message_type = state;
                    ask.xclient.format = 32;
                    ask.xclient.data.l[0] = 1;
                    ask.xclient.data.l[1] = (long)full;
                    ask.xclient.data.l[3] = 1;
                    XSendEvent(dpy, root, False, SubstructureRedirectMask | SubstructureNotifyMask,
                               &ask);
                }
                fprintf(log, "ready\n");
            } else if (event.type == KeyPress) {
                KeySym sym = XLookupKeysym(&event.xkey, 0);
                const char *name = XKeysymToString(sym);
                fprintf(log, "key %s\n", name ? name : "?");
            } else if (event.type == ButtonPress) {
                fprintf(log, "click %u\n", event.xbutton.button);
            } else if (event.type == PropertyNotify && event.xproperty.atom == state &&
                       HasState(w, state, full) != wasFull) {
                wasFull = !wasFull;
                fprintf(log, "%s\n", wasFull ? "fullscreen" : "not fullscreen");
            } else if (event.type == FocusIn && event.xfocus.mode == NotifyNormal) {
                fprintf(log, "focus\n");
            }
            fflush(log);
        }
    } else if (strcmp(argv[1], "made") == 0 && argc == 3) {
        FILE *log = fopen(argv[2], "a");
        if (!log)
            return 2;
        XSelectInput(dpy, root, SubstructureNotifyMask);
        XSync(dpy, False);
        fprintf(log, "ready\n");
        fflush(log);
        for (;;) {
            XEvent event;
            XNextEvent(dpy, &event);
            if (event.type == CreateNotify && !event.xcreatewindow.override_redirect) {
                fprintf(log, "0x%lx %d %d\n", (unsigned long)event.xcreatewindow.window,
                        event.xcreatewindow.width, event.xcreatewindow.height);
                fflush(log);
            }
        }
    } else {
        fprintf(stderr, "usage: xwin list | focus | close ID | keys TITLE FILE [fullscreen] | made FILE\n");
        return 2;
    }
    XCloseDisplay(dpy);
    return 0;
}
