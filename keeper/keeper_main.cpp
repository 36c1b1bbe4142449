// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
// course-testing-keeper: the exam keeper. It holds the question files and the result files of
// the control test and answers the program's requests on its standard input and output (the
// protocol: keeper/keeper_session.h). Installed set-group-id to its own group, it is the only way
// a student's account reaches those files; run from a source tree it runs as the user.
//
//   course-testing-keeper [--course FOLDER] [--fixed-clock yyyy-MM-ddTHH:mm:ss]
//
// --fixed-clock (the tests' fixed moment for the report headers) only a keeper running as the
// user accepts.
// Without FOLDER it serves the working folder, or, installed, the package's course. Installed
// set-group-id it serves only a course that root owns and no one else may change (see
// UntrustedPartOf).

#include "keeper/keeper_session.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>

#include <cctype>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <pwd.h>
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

// Who runs the keeper: a teacher is root or a member of the keeper's group (its real group, or
// one of its supplementary groups).
KeeperCaller Caller(bool privileged) {
    KeeperCaller caller;
    caller.installed = privileged;
    caller.uid = uint(getuid());
    caller.teacher = getuid() == 0 || getgid() == getegid();
    if (const struct passwd* account = ::getpwuid(getuid()))
        caller.login = QString::fromLocal8Bit(account->pw_name);
    const int count = ::getgroups(0, nullptr);
    QList<gid_t> groups(count > 0 ? count : 0);
    if (count > 0 && ::getgroups(count, groups.data()) == count)
        caller.teacher = caller.teacher || groups.contains(getegid());
    return caller;
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

// Empty when `path` and every folder above it belong to root and nobody else may change them
// (for the result folders: nobody but the keeper's group); otherwise the first that fails. A
// folder above `path` that others may write but with the sticky bit (/tmp) is no door: there
// nobody but root may rename or remove root's folder below it.
QString Untrusted(const QString& path, bool groupMayWrite) {
    const QString real = QFileInfo(path).canonicalFilePath();
    if (real.isEmpty())
        return path + QStringLiteral(" (not found)");
    for (QString at = real;; at = QFileInfo(at).path()) {
        struct stat info {};
        if (::lstat(QFile::encodeName(at).constData(), &info) != 0 || info.st_uid != 0)
            return at;
        const bool stickyAbove = at != real && S_ISDIR(info.st_mode) && (info.st_mode & S_ISVTX);
        if (!stickyAbove && ((info.st_mode & S_IWOTH) ||
                             ((info.st_mode & S_IWGRP) &&
                              !(groupMayWrite && at == real && info.st_gid == getegid()))))
            return at;
        if (at == QLatin1String("/"))
            return QString();
    }
}

// The course a set-group-id keeper serves must be one no student can change: its folders, its
// question files and the folders above them root's, its result folders writable by the keeper's
// group alone. A student's own folder would let his own question file score into the real
// result folders.
QString UntrustedPartOf(const QString& course) {
    const QDir folder(course);
    for (const QString& part :
         {QStringLiteral("."), QStringLiteral("ortu"), QStringLiteral("otchet")}) {
        if (const QString bad = Untrusted(folder.filePath(part), false); !bad.isEmpty())
            return bad;
    }
    for (const QString& part :
         {QStringLiteral("otchet/data1"), QStringLiteral("otchet/print otchet")}) {
        if (const QString bad = Untrusted(folder.filePath(part), true); !bad.isEmpty())
            return bad;
    }
    return QString();
}

QString CourseFolder(QStringList arguments, bool privileged, QString* problem) {
    QString course = privileged ? QString::fromLatin1(kInstalledCourse) : QDir::currentPath();
    const qsizetype clock = arguments.indexOf(QLatin1String("--fixed-clock"));
    if (clock > 0 && clock + 1 < arguments.size() && !privileged) {
        const QDateTime fixed = QDateTime::fromString(arguments[clock + 1], Qt::ISODate);
        if (fixed.isValid())
            SetReportClockForTesting(fixed);
        arguments.remove(clock, fixed.isValid() ? 2 : 0);
    }
    if (arguments.size() == 3 && arguments[1] == QLatin1String("--course"))
        course = QDir(arguments[2]).absolutePath();
    else if (arguments.size() != 1)
        *problem = QStringLiteral(
            "usage: course-testing-keeper [--course FOLDER] [--fixed-clock yyyy-MM-ddTHH:mm:ss]");
    if (privileged && problem->isEmpty()) {
        if (const QString bad = UntrustedPartOf(course); !bad.isEmpty())
            *problem = QStringLiteral("not a course the keeper may serve: %1 may be changed by "
                                      "others than root")
                           .arg(bad);
        course = QFileInfo(course).canonicalFilePath();
    }
    return course;
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
    std::signal(SIGXFSZ, SIG_IGN); // a file-size limit is a failed write with its reason
    // Set-group-id is how the keeper is installed; set-user-id it must never be, and Qt stops a
    // program that runs so.
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("course-testing-keeper"));

    QString problem;
    const QString course = CourseFolder(QCoreApplication::arguments(), privileged, &problem);
    if (!problem.isEmpty()) {
        WriteAll("ERROR\t" + KeeperSession::Field(problem) + '\n');
        return 2;
    }
    KeeperSession session(course, Caller(privileged));
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
