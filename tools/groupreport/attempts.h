// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QList>
#include <QString>
#include <QStringList>

// The attempts of every student as the printable reports keep them. Every control test that is
// prepared appends a block to "otchet\print otchet\<name>.txt" before its first question, while
// the data file keeps only the last test under the name: a test killed for a fresh draw of
// questions leaves a block without totals in the report and nothing in the data folder, and a
// finished test taken again leaves only the retake there. The group report lists the blocks of
// every student with more than one (or an interrupted one), with the date and time each test
// began and its total or how many answers it wrote, so that the teacher sees every attempt.
// Beside them, the exam keeper's attempt journal (tests/attempt_journal.h), when there is one,
// tells the accounts under which each name was tested.

/// One block of a printable report.
struct ReportAttempt {
    QString date;          // as the report writes it ("07.12.2026")
    QString time;          // "09:05:03"
    int answers = 0;       // answers the block holds
    bool finished = false; // the block ends with its totals
    QString percent;       // finished: the total as the report gives it ("83.3")
};

/// The attempts of one student: one printable report.
struct StudentAttempts {
    QString name; // the report's file name without ".txt", the name the student registered
    QString file;
    QList<ReportAttempt> attempts;

    QList<ReportAttempt> Interrupted() const;
};

/// The accounts that started control tests under one name, as the journal has them.
struct NameAccounts {
    QString name;
    QStringList accounts; // "login (uid)", in the order first seen
};

/// What the reports beside some data folders hold.
struct GroupAttempts {
    QList<StudentAttempts> students; // with more than one attempt or an interrupted one, by name
    QStringList unchecked;           // data folders without a report folder beside them
    int reportsRead = 0;
    bool journalRead = false;     // an attempt journal stood beside the reports
    QList<NameAccounts> accounts; // every name of the journals, by name
};

/// The blocks of one printable report, in the order written. A file a teacher edited by hand
/// reads as far as its blocks can be told apart; lines that belong to no block are skipped.
QList<ReportAttempt> ReadReportAttempts(QIODevice* device);

/// The reports and the attempt journal of the folder "print otchet" beside each data folder
/// ("...\otchet\data1").
GroupAttempts ReadGroupAttempts(const QStringList& dataFolders);

/// The lines the command prints: one per attempt of the students listed, one per unchecked
/// folder, and one per name of the journal with its accounts.
QStringList AttemptLines(const GroupAttempts& group);

/// The page with the sections "Попытки" and, with a journal, "Учётные записи" added before its
/// end.
QByteArray WithAttemptsSection(const QByteArray& page, const GroupAttempts& group);
