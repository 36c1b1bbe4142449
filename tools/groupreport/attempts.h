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
// questions leaves a block without totals in the report and nothing in the data folder. The group
// report lists those blocks, with the date and time each test began and how many answers it
// wrote, so that the teacher sees every interrupted attempt.

/// One block of a printable report.
struct ReportAttempt {
    QString date;          // as the report writes it ("07.12.2026")
    QString time;          // "09:05:03"
    int answers = 0;       // answers the block holds
    bool finished = false; // the block ends with its totals
};

/// The attempts of one student: one printable report.
struct StudentAttempts {
    QString name; // the report's file name without ".txt", the name the student registered
    QString file;
    QList<ReportAttempt> attempts;

    QList<ReportAttempt> Interrupted() const;
};

/// What the reports beside some data folders hold.
struct GroupAttempts {
    QList<StudentAttempts> students; // those with at least one interrupted attempt, by name
    QStringList unchecked;           // data folders without a report folder beside them
    int reportsRead = 0;
};

/// The blocks of one printable report, in the order written. A file a teacher edited by hand
/// reads as far as its blocks can be told apart; lines that belong to no block are skipped.
QList<ReportAttempt> ReadReportAttempts(QIODevice* device);

/// The reports of the folder "print otchet" beside each data folder ("...\otchet\data1").
GroupAttempts ReadGroupAttempts(const QStringList& dataFolders);

/// The lines the command prints: one per interrupted attempt, and one per unchecked folder.
QStringList AttemptLines(const GroupAttempts& group);

/// The page with a section "Прерванные попытки" added before its end.
QByteArray WithAttemptsSection(const QByteArray& page, const GroupAttempts& group);
