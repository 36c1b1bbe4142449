// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/result_lock.h"

#include "platform/paths.h"
#include "platform/regular_file.h"
#include "platform/text_file.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSysInfo>
#include <QTimer>

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
    : m_fullName(std::move(fullName)), m_path(std::move(path)), m_file(m_path) {
    m_file.setStaleLockTime(kStaleAfter);
    RenewTimer = new QTimer(this);
    RenewTimer->setObjectName(QStringLiteral("RenewTimer"));
    RenewTimer->setInterval(kRenewEvery);
    connect(RenewTimer, &QTimer::timeout, this, &ResultNameLock::Renew);
}

ResultNameLock::~ResultNameLock() {
    // Only a lock file this lock made is removed (QLockFile checks that it holds it).
    RenewTimer->stop();
    m_file.unlock();
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
    if (lock->m_file.tryLock(0)) {
        // Where the students' accounts share the folder through a group, another account must
        // be able to remove the lock left by a crashed program of this one.
        QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::WriteGroup);
        lock->RenewTimer->start();
        attempt.lock = std::move(lock);
        return attempt;
    }
    switch (lock->m_file.error()) {
    case QLockFile::LockFailedError:
        attempt.inUse = true;
        attempt.message = InUseMessage(fullName);
        break;
    case QLockFile::PermissionError:
        attempt.message =
            InputOutputErrorMessage(path, QStringLiteral("нет прав на запись в папку ") + folder);
        break;
    default:
        attempt.message =
            InputOutputErrorMessage(path, QStringLiteral("файл блокировки не создаётся"));
        break;
    }
    return attempt;
}

bool ResultNameLock::StillHeld() const {
    qint64 pid = 0;
    QString host;
    QString application;
    return m_file.isLocked() && m_file.getLockInfo(&pid, &host, &application) &&
           pid == QCoreApplication::applicationPid() && host == QSysInfo::machineHostName();
}

void ResultNameLock::Renew() {
    // A lock that another PC removed after a long loss of the server is not touched: its file
    // belongs to that PC now.
    if (!StillHeld())
        return;
    QFile file(m_path);
    if (file.open(QIODevice::ReadOnly))
        file.setFileTime(QDateTime::currentDateTimeUtc(), QFileDevice::FileModificationTime);
}
