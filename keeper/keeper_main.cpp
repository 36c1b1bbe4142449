// course-testing-keeper: the exam keeper. It holds the question files and the result files of
// the control test and answers the program's requests on its standard input and output (the
// protocol: keeper/keeper_session.h). Installed set-group-id to its own group, it is the only way
// a student's account reaches those files; run from a source tree it runs as the user.
//
//   course-testing-keeper [--course FOLDER]     (--course only when it runs as the user)

#include "keeper/keeper_session.h"

#include <QCoreApplication>
#include <QDir>
#include <QSocketNotifier>

#include <cctype>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

extern char** environ;

namespace {

// The course the installed package serves; a privileged keeper serves no other.
constexpr const char* kInstalledCourse = "/usr/share/course-testing/course";
constexpr qsizetype kLongestRequest = 64 * 1024;

bool Privileged() {
    return getegid() != getgid() || geteuid() != getuid();
}

// Nothing of the caller's environment reaches Qt or the C library but the locale's name, which
// chooses how the report writes the date: no plug-in paths, no logging files, no PATH.
void KeepOnlyTheLocale() {
    QList<QByteArray> kept;
    for (char** entry = environ; entry && *entry; ++entry) {
        const QByteArray variable(*entry);
        const QByteArray name = variable.left(variable.indexOf('='));
        if (name != "LANG" && name != "LC_ALL" && name != "LC_TIME")
            continue;
        const QByteArray value = variable.mid(name.size() + 1);
        bool plain = value.size() < 64;
        for (const char c : value)
            plain = plain && (std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '.' ||
                              c == '-' || c == '@');
        if (plain)
            kept << variable;
    }
    clearenv();
    for (const QByteArray& variable : kept) {
        const qsizetype equals = variable.indexOf('=');
        setenv(variable.left(equals).constData(), variable.mid(equals + 1).constData(), 1);
    }
    setenv("PATH", "/usr/bin:/bin", 1);
}

QString CourseFolder(const QStringList& arguments, bool privileged, QString* problem) {
    if (privileged) {
        if (arguments.size() > 1)
            *problem = QStringLiteral("the installed keeper takes no arguments");
        return QString::fromLatin1(kInstalledCourse);
    }
    if (arguments.size() == 3 && arguments[1] == QLatin1String("--course"))
        return QDir(arguments[2]).absolutePath();
    if (arguments.size() != 1)
        *problem = QStringLiteral("usage: course-testing-keeper [--course FOLDER]");
    return QDir::currentPath();
}

bool WriteAll(const QByteArray& bytes) {
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n =
            ::write(STDOUT_FILENO, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

} // namespace

int main(int argc, char* argv[]) {
    const bool privileged = Privileged();
    KeepOnlyTheLocale();
    // Files the keeper makes are its group's: read and written by the group, by no one else.
    if (privileged)
        ::umask(007);
    std::signal(SIGPIPE, SIG_IGN);
    QCoreApplication::setSetuidAllowed(true); // set-group-id is the point; see above
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("course-testing-keeper"));

    QString problem;
    const QString course = CourseFolder(QCoreApplication::arguments(), privileged, &problem);
    if (!problem.isEmpty()) {
        WriteAll("ERROR\t" + KeeperSession::Field(problem) + '\n');
        return 2;
    }
    KeeperSession session(course);
    QByteArray pending;
    bool discarding = false; // the rest of an over-long request is skipped up to its LF
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, &app, [&] {
        char buffer[16384];
        const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            return;
        if (n <= 0) { // the program is gone: what was written stays, the name is given free
            session.Handle("BYE");
            input.setEnabled(false);
            app.quit();
            return;
        }
        pending.append(buffer, n);
        qsizetype end;
        while ((end = pending.indexOf('\n')) >= 0) {
            const QByteArray line = pending.left(end);
            pending.remove(0, end + 1);
            if (std::exchange(discarding, false))
                continue;
            if (!WriteAll(session.Handle(line) + '\n') || session.Finished()) {
                input.setEnabled(false);
                app.quit();
                return;
            }
        }
        if (pending.size() > kLongestRequest) {
            pending.clear();
            if (!std::exchange(discarding, true))
                WriteAll("ERROR\tmalformed: the request is too long\n");
        }
    });
    return app.exec();
}
