// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Program entry: finds the course folder, creates the screens in their order and runs until the
// main screen closes.
#include "app/late_module.h"
#include "app/site_config.h"
#include "app/start_options.h"
#include "app/startup.h"
#include "app/test.h"
#include "platform/display_scale.h"
#include "platform/fonts.h"
#include "platform/message_box.h"
#include "platform/paths.h"
#include "platform/program_version.h"
#include "platform/russian_ui.h"

#include <QApplication>
#include <QDir>
#include <cstdio>
#include <vector>
#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace {
// Whether Qt can reach a display: without one the application object would abort the program
// before it could say anything.
bool DisplayReachable() {
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (!platform.isEmpty() && !platform.startsWith("xcb") && !platform.startsWith("wayland"))
        return true; // offscreen, vnc, ...
    return !qgetenv("DISPLAY").isEmpty() || !qgetenv("WAYLAND_DISPLAY").isEmpty();
}

// A message for the terminal and, since the program is usually started from the desktop, in a
// message box as well (when there is a display to show it on).
int Refuse(const QString& message) {
    std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
    if (QCoreApplication::instance() != nullptr)
        ShowMessage(message, MessageKind::Error);
    return 2;
}

// A refusal before the application object exists: on the terminal at once, then in a message box
// on the display if there is one.
int RefuseBeforeStart(int argc, char* argv[], const QString& message) {
    std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
    if (DisplayReachable()) {
        QApplication app(argc, argv);
        InstallRussianTranslations();
        ShowMessage(message, MessageKind::Error);
    }
    return 2;
}
} // namespace

int main(int argc, char* argv[]) {
#ifdef __GLIBC__
    // Pictures and other large blocks get pages of their own, given back the moment they are
    // freed. (By default the allocator raises this limit after the first large block is freed and
    // keeps later ones in its heap, where a screen's closed pictures stay resident.)
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
#endif
    PrepareWebEngineStartUp();
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const StartOptions options = ParseStartOptions(arguments);
    // Everything that needs no display is settled first: the usage, the version, a wrong command
    // line, the course folder.
    if (!options.error.isEmpty())
        return RefuseBeforeStart(argc, argv, options.error);
    if (options.help) {
        std::fprintf(stdout, "%s", StartUsage().toLocal8Bit().constData());
        return 0;
    }
    if (options.version) {
        std::fprintf(stdout, "%s",
                     VersionText(QStringLiteral("course-testing")).toLocal8Bit().constData());
        return 0;
    }
    // The course folder: --course first, then the working folder, then the PC's settings file.
    QString problem;
    const QString folder = ChooseCourseFolder(options, QDir::currentPath(),
                                              QString::fromLatin1(kSiteConfigPath), &problem);
    if (!problem.isEmpty())
        return RefuseBeforeStart(argc, argv, problem);
    if (!DisplayReachable()) {
        std::fprintf(stderr, "%s\n",
                     QStringLiteral("Нет дисплея: программе нужен сеанс рабочего стола (X11 или "
                                    "Wayland), переменная DISPLAY или WAYLAND_DISPLAY не задана.")
                         .toLocal8Bit()
                         .constData());
        return 6;
    }

    // On a Wayland desktop the screens go through XWayland, unless the user chose a platform.
    if (AskForX11(arguments, [](const char* name) { return qEnvironmentVariable(name); }))
        qputenv("QT_QPA_PLATFORM", "xcb");
    // The arguments as given: the application object takes its own out of argv.
    std::vector<char*> given(argv, argv + argc + 1);
    QApplication app(argc, argv);
    KeepDisplayLargeEnough(given.data());
    InstallRussianTranslations();
    QApplication::setQuitOnLastWindowClosed(false);
    QGuiApplication::setDesktopFileName(QStringLiteral("course-testing")); // its icon
    InstallFontSubstitutions();

    // The program works in the course folder, so every data path below the program folder starts
    // there. It goes there, and checks the folder, once the splash is painted (on a network share
    // every look into the course, the change of folder too, costs a round trip to the server);
    // then the screens on the web engine and the media players are loaded.
    QString courseProblem;
    QString moduleProblem;
    const bool started = StartScreens([&]() -> const LateParts* {
        if (!QDir::setCurrent(folder)) {
            courseProblem = QStringLiteral("Папка курса «%1» не открывается.")
                                .arg(QDir::toNativeSeparators(folder));
            return nullptr;
        }
        Form1->Shell.ProgramFolder = CurrentFolder();
        courseProblem = CourseFolderProblem(QDir::currentPath());
        if (!courseProblem.isEmpty())
            return nullptr;
        return LoadLateModule(&moduleProblem);
    });
    if (!started) {
        const int code =
            Refuse(!courseProblem.isEmpty()
                       ? courseProblem
                       : QStringLiteral("Часть программы не загружается: %1").arg(moduleProblem));
        DestroyScreens();
        return code;
    }
    const int code = QApplication::exec();
    DestroyScreens();
    return code;
}
