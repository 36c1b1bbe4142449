// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/groupreport/group_results.h"

#include <QByteArray>

// The group's results for spreadsheets as Russian users open them (LibreOffice Calc and Excel
// with Russian settings): UTF-8 with a byte-order mark, ";" between fields, CR LF between rows, a
// field quoted with '"' (quotes doubled) when it holds ";", '"' or a line end, and a decimal
// comma, so that every number reads as a number.

/// One row per student: name, group, specialization, qualification, test, date, time, questions
/// asked, points, the maximum, the percentage ("58,5"), then one column per question asked in the
/// group, headed by its number and in the order of the numbers, holding the student's points for
/// it (empty when the student was not asked it).
QByteArray GroupCsv(const QList<StudentResult>& students);

/// One row per student and question asked, for pivot tables: the student's name, group,
/// specialization, qualification, test, date and time, the question's place in the test, its
/// number, the points and the question as the screens show it.
QByteArray AnswersCsv(const QList<StudentResult>& students);
