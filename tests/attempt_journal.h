// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// The journal of control-test attempts: "\otchet\print otchet\attempts.log", beside the
// printable reports, written by the exam keeper alone (its group's file, like the result files;
// no student reads or changes it). One line for each control test that starts and one when it
// ends, is stopped or is left, Windows-1251 with CR LF, seven fields parted by one TAB:
//
//   date  time  name  uid  login  host  event
//
// date and time as the report's header of the same test writes them; the name the test ran
// under; the real user id of the account that ran the keeper and its login name (empty when
// the system knows none); the host name of the PC; the event: "начата", "окончена 83.3%" (the
// percentage as the report gives it) or "прервана" (stopped by a failed write, or left before
// its last answer). A PC that loses power leaves its "начата" without an end. A line is appended
// with O_APPEND and forced to the disk; a journal that cannot be written stops no test, and the
// two result files never see it.
//
// The teacher's group report reads it to show the accounts under which each name was tested: a
// name tested from two accounts is a test taken under a classmate's name.

struct JournalLine {
    QString date;
    QString time;
    QString name;
    uint uid = 0;
    QString login;
    QString host;
    QString event;
};

/// "\otchet\print otchet\attempts.log".
QString AttemptJournalLiteral();

/// Appends one line to the journal below programFolder (created when missing). Empty when the
/// line is on the disk, else the reason.
QString AppendToJournal(const QString& programFolder, const JournalLine& line);

/// The lines of a journal file that have their seven fields, in the order written.
QList<JournalLine> ReadJournal(const QString& path);
