// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/result_lock.h"

#include "platform/paths.h"
#include "platform/regular_file.h"
#include "platform/text_file.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSysInfo>
#include <QTimer>

#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The five lines of a lock file.
struct LockLines {
    qint64 pid = 0;
    QByteArray program;
    QByteArray host;
    QByteArray machine;
    QByteArray boot;
};

QByteArray OwnContents() {
    return QByteArray::number(QCoreApplication::applicationPid()) + '\n' +
           QCoreApplication::applicationName().toUtf8() + '\n' +
           QSysInfo::machineHostName().toUtf8() + '\n' + QSysInfo::machineUniqueId() + '\n' +
           QSysInfo::bootUniqueId() + '\n';
}

LockLines ParseLines(const QByteArray& contents) {
    const QList<QByteArray> lines = contents.split('\n');
    LockLines parsed;
    parsed.pid = lines.value(0).trimmed().toLongLong();
    parsed.program = lines.value(1);
    parsed.host = lines.value(2);
    parsed.machine = lines.value(3);
    parsed.boot = lines.value(4);
    return parsed;
}

// The contents of the file under `path`, read without following a link or waiting on a pipe.
// Returns the error code, 0 on success.
int ReadLockFile(const QByteArray& path, QByteArray* contents, struct stat* info = nullptr) {
    const int fd = ::open(path.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return errno;
    struct stat own {};
    if (::fstat(fd, &own) != 0 || !S_ISREG(own.st_mode)) {
        ::close(fd);
        return EINVAL;
    }
    if (info)
        *info = own;
    contents->resize(4096);
    const ssize_t read = ::read(fd, contents->data(), size_t(contents->size()));
    const int code = read < 0 ? errno : 0;
    ::close(fd);
    contents->resize(read < 0 ? 0 : qsizetype(read));
    return code;
}

bool ProcessRunning(qint64 pid) {
    if (pid <= 0)
        return false;
    return ::kill(pid_t(pid), 0) == 0 || errno == EPERM;
}

// True when the lock under `path` was left behind: on this PC (the same host name and the same
// machine id) by a process that is gone or a start of the PC before this one; from anywhere,
// once it has not been renewed for kStaleAfter. A PC cloned from the same image shares the
// machine id but not the host name, so its locks are judged by their age alone.
bool LeftBehind(const QByteArray& path) {
    QByteArray contents;
    struct stat info {};
    if (ReadLockFile(path, &contents, &info) != 0)
        return false;
    const LockLines lines = ParseLines(contents);
    const bool thisPc = !lines.host.isEmpty() &&
                        lines.host == QSysInfo::machineHostName().toUtf8() &&
                        (lines.machine.isEmpty() || lines.machine == QSysInfo::machineUniqueId());
    if (thisPc) {
        if (!lines.boot.isEmpty() && lines.boot != QSysInfo::bootUniqueId())
            return true;
        if (!ProcessRunning(lines.pid))
            return true;
    }
    const qint64 ageSeconds = std::llabs(qint64(::time(nullptr)) - qint64(info.st_mtime));
    return ageSeconds > std::chrono::seconds(ResultNameLock::kStaleAfter).count();
}

// Removes a left-behind lock. Two PCs that found it left behind at once must not both remove
// it (the second would remove the new lock of the first): whoever makes "<lock>.rmlock" first
// removes it, after judging it once more. A ".rmlock" older than a minute was left by a crash.
void RemoveLeftBehind(const QByteArray& path) {
    const QByteArray guard = path + ".rmlock";
    const int fd =
        ::open(guard.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) {
        struct stat info {};
        if (errno == EEXIST && ::lstat(guard.constData(), &info) == 0 &&
            std::llabs(qint64(::time(nullptr)) - qint64(info.st_mtime)) > 60)
            ::unlink(guard.constData());
        return;
    }
    ::close(fd);
    if (LeftBehind(path))
        ::unlink(path.constData());
    ::unlink(guard.constData());
}

// Makes the lock file with `contents`. Returns the error code, 0 when the file is ours.
int CreateLockFile(const QByteArray& path, const QByteArray& contents, struct stat* made) {
    const int fd =
        ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0)
        return errno;
    int code = 0;
    const ssize_t written = ::write(fd, contents.constData(), size_t(contents.size()));
    if (written != ssize_t(contents.size()))
        code = written < 0 ? errno : ENOSPC;
    if (code == 0 && ::fstat(fd, made) != 0)
        code = errno;
    // Where the students' accounts share the folder through a group, another account must be
    // able to remove the lock left by a crashed program of this one.
    if (code == 0)
        ::fchmod(fd, (made->st_mode & 07777) | S_IWGRP);
    ::close(fd);
    if (code != 0)
        ::unlink(path.constData());
    return code;
}

} // namespace

QString ResultNameLock::LockFileLiteral(const QString& fullName) {
    return QStringLiteral("\\otchet\\data1\\") + fullName + QStringLiteral(".lock");
}

QString ResultNameLock::InUseMessage(const QString& fullName) {
    return QStringLiteral("Под именем «%1» уже идёт контрольное тестирование на этом или другом "
                          "компьютере.\nПроверьте фамилию и инициалы или обратитесь к "
                          "преподавателю.\nЕсли то тестирование прервалось из-за сбоя компьютера, "
                          "имя освободится не позже чем через %2 минут.")
        .arg(fullName)
        .arg(kStaleAfter.count());
}

ResultNameLock::ResultNameLock(QString fullName, QString path)
    : m_fullName(std::move(fullName)), m_path(std::move(path)) {
    RenewTimer = new QTimer(this);
    RenewTimer->setObjectName(QStringLiteral("RenewTimer"));
    RenewTimer->setInterval(kRenewEvery);
    connect(RenewTimer, &QTimer::timeout, this, &ResultNameLock::Renew);
}

ResultNameLock::~ResultNameLock() {
    // Only a lock file this lock made is removed: one that another PC made after taking the
    // name stays.
    RenewTimer->stop();
    if (StillHeld())
        ::unlink(QFile::encodeName(m_path).constData());
}

ResultNameLock::Attempt ResultNameLock::Acquire(const QString& programFolder,
                                                const QString& fullName) {
    Attempt attempt;
    const QString folder = DataPath(programFolder, QStringLiteral("\\otchet\\data1"));
    const QString path = DataPath(programFolder, LockFileLiteral(fullName));
    const QFileInfo info(path);
    // One name inside the data folder, nothing else.
    if (info.fileName() != fullName + QStringLiteral(".lock") ||
        QDir::cleanPath(info.absolutePath()) !=
            QDir::cleanPath(QFileInfo(folder).absoluteFilePath())) {
        attempt.message = InputOutputErrorMessage(path, QStringLiteral("недопустимое имя файла"));
        return attempt;
    }
    const QString folderProblem = CheckOutputFolder(folder);
    if (!folderProblem.isEmpty()) {
        attempt.message = InputOutputErrorMessage(path, folderProblem);
        return attempt;
    }
    std::unique_ptr<ResultNameLock> lock(new ResultNameLock(fullName, path));
    const QByteArray name = QFile::encodeName(path);
    const QByteArray contents = OwnContents();
    int code = 0;
    // A left-behind lock is removed and the name taken at the second try; a third finding the
    // name taken means another test took it in between.
    for (int round = 0; round < 3; ++round) {
        struct stat made {};
        code = CreateLockFile(name, contents, &made);
        if (code == 0) {
            lock->m_contents = contents;
            lock->m_device = quint64(made.st_dev);
            lock->m_inode = quint64(made.st_ino);
            lock->m_held = true;
            lock->RenewTimer->start();
            attempt.lock = std::move(lock);
            return attempt;
        }
        if (code != EEXIST || !LeftBehind(name))
            break;
        RemoveLeftBehind(name);
    }
    if (code == EEXIST) {
        attempt.inUse = true;
        attempt.message = InUseMessage(fullName);
    } else if (code == EACCES || code == EPERM) {
        attempt.message = InputOutputErrorMessage(
            path,
            QStringLiteral("нет прав на запись в папку %1: %2").arg(folder, SystemErrorText(code)));
    } else {
        attempt.message = InputOutputErrorMessage(
            path, QStringLiteral("файл блокировки не создаётся: ") + SystemErrorText(code));
    }
    return attempt;
}

bool ResultNameLock::StillHeld() const {
    return LostReason().isEmpty();
}

QString ResultNameLock::LostReason() const {
    if (!m_held)
        return QStringLiteral("имя не занято этой программой");
    QByteArray contents;
    struct stat info {};
    const int code = ReadLockFile(QFile::encodeName(m_path), &contents, &info);
    if (code == ENOENT)
        return QStringLiteral("файл блокировки имени удалён");
    if (code != 0)
        return QStringLiteral("файл блокировки имени не читается: ") + SystemErrorText(code);
    if (quint64(info.st_dev) != m_device || quint64(info.st_ino) != m_inode ||
        contents != m_contents) {
        const QByteArray host = ParseLines(contents).host;
        return QStringLiteral("имя занято тестированием на другом компьютере") +
               (host.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(QString::fromUtf8(host)));
    }
    return QString();
}

void ResultNameLock::Renew() {
    // A lock that another PC removed after a long loss of the server is not touched: its file
    // belongs to that PC now.
    if (!StillHeld())
        return;
    ::utimensat(AT_FDCWD, QFile::encodeName(m_path).constData(), nullptr, AT_SYMLINK_NOFOLLOW);
}
