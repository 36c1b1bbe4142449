// Program entry: finds the course folder, creates the screens in their order and runs until the
// main screen closes.
#include "app/late_module.h"
#include "app/start_options.h"
#include "app/startup.h"
#include "app/test.h"
#include "platform/fonts.h"
#include "platform/message_box.h"
#include "platform/russian_ui.h"

#include <QApplication>
#include <QDir>
#include <cstdio>
#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace {
// A message for the terminal and, since the program is usually started from the desktop, in a
// message box as well.
int Refuse(const QString& message) {
    std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
    ShowMessage(message, MessageKind::Error);
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
    if (options.help && options.error.isEmpty()) { // needs no display
        std::fprintf(stdout, "%s", StartUsage().toLocal8Bit().constData());
        return 0;
    }

    // On a Wayland desktop the screens go through XWayland, unless the user chose a platform.
    if (AskForX11(arguments, [](const char* name) { return qEnvironmentVariable(name); }))
        qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    InstallRussianTranslations();
    QApplication::setQuitOnLastWindowClosed(false);
    QGuiApplication::setDesktopFileName(QStringLiteral("course-testing")); // its icon
    InstallFontSubstitutions();

    // The course folder: --course first, then the working folder. The program works in it, so
    // every data path below the program folder starts there.
    if (!options.error.isEmpty())
        return Refuse(options.error);
    const QString folder =
        options.courseFolder.isEmpty() ? QDir::currentPath() : options.courseFolder;
    if (!QDir::setCurrent(folder)) {
        const QString problem = CourseFolderProblem(folder);
        return Refuse(!problem.isEmpty() ? problem
                                         : QStringLiteral("Папка курса «%1» не открывается.")
                                               .arg(QDir::toNativeSeparators(folder)));
    }

    // The course folder is checked once the splash is painted (on a network share every look
    // into it costs a round trip to the server), then the screens on the web engine and the
    // media players are loaded.
    QString courseProblem;
    QString moduleProblem;
    const bool started = StartScreens([&]() -> const LateParts* {
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
