// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>
#include <chrono>
#include <memory>

class QTimer;

// While a control test runs, its name is taken: a lock file "<name>.lock" in the data folder
// ("\otchet\data1\"), next to the data file it protects. On a folder that many PCs share, a
// second control test under the same name (a typo, a common surname, a student logged in twice)
// is refused before it touches any result file, so that it cannot empty the data file of the
// test that is running.
//
// The lock file is made with an exclusive create, which holds on network shares too, and holds
// five lines: the process id, the program, the host name, the machine id and the boot id. A PC
// that crashes or loses power cannot remove its lock: on the same PC (same host name AND same
// machine id, since PCs cloned from one image share the machine id) the lock is free again as
// soon as its process is gone or the PC was started anew; from another PC it counts as left
// behind once the file has not been renewed for kStaleAfter. The holder renews it every
// kRenewEvery, so a test of any length keeps its name, and a left-behind lock never blocks the
// name for longer than kStaleAfter. A PC that was frozen for longer may find its name taken by
// another PC: StillHeld() then says so, and the writer stops before its next line.

class ResultNameLock : public QObject {
    Q_OBJECT
public:
    static constexpr std::chrono::minutes kStaleAfter{5};
    static constexpr std::chrono::minutes kRenewEvery{1};

    struct Attempt {
        std::unique_ptr<ResultNameLock> lock; // set when the name is now held
        bool inUse = false;                   // another test holds the name
        QString message;                      // what to show when there is no lock
    };

    /// "\otchet\data1\" + name + ".lock".
    static QString LockFileLiteral(const QString& fullName);
    /// The Russian message of a name that another control test holds.
    static QString InUseMessage(const QString& fullName);

    /// Takes the name `fullName` for a control test below programFolder. Without a lock, either
    /// the name is in use (inUse, the message says so) or the lock file could not be made (a
    /// missing or read-only data folder, a name no file can carry: the input/output message).
    static Attempt Acquire(const QString& programFolder, const QString& fullName);

    ~ResultNameLock() override;

    const QString& FullName() const { return m_fullName; }
    const QString& Path() const { return m_path; }
    /// True while the lock file is still the one this lock made (the same file, with this
    /// process's lines in it).
    bool StillHeld() const;
    /// Empty while StillHeld(), else why not, for the message that stops a test.
    QString LostReason() const;

    /// The timer that renews the lock; its tick is a call of Renew().
    QTimer* RenewTimer;

public Q_SLOTS:
    /// Marks the lock file as alive now, so that no other PC takes it for one left behind.
    void Renew();

private:
    ResultNameLock(QString fullName, QString path);

    QString m_fullName;
    QString m_path;
    QByteArray m_contents; // what this lock wrote into its file
    quint64 m_device = 0;  // the file it made
    quint64 m_inode = 0;
    bool m_held = false;
};
