// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/groupreport/group_results.h"

#include <QByteArray>

// The group's results for spreadsheets as Russian users open them: UTF-8 with a byte-order
// mark, ";" between fields, CR LF between rows, a field quoted with '"' (quotes doubled) when it
// holds ";", '"' or a line end. One row per student: name, group, specialization, qualification,
// test, date, time, questions asked, points, the maximum, the percentage as the result files
// write it, then the points of each question in the order asked.
QByteArray GroupCsv(const QList<StudentResult>& students);
