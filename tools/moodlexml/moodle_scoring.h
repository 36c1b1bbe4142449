// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>
#include <QtGlobal>

// Moodle's scoring of a multiple-choice question beside the program's.
//
// Moodle gives a question with one answer (radio buttons) the fraction of the answer chosen, and
// a question with several answers (check boxes) the sum of the fractions of the answers ticked,
// held to 0..100 %. The program adds the points of the ticked options, but gives 0 when any
// ticked option is worth 0 points; negative points count as they are (answer_points.h).

/// A set of ticked options: bit i is option i + 1.
using TickSet = quint32;

/// Moodle's grade in per cent for the ticked answers (fractions in per cent, file order).
double MoodleGrade(const QList<double>& fractions, bool single, TickSet ticked);

/// The program's points for the ticked options.
qint64 ProgramPoints(const QList<int>& points, TickSet ticked);

/// "1, 3" for the options of a tick set.
QString TickSetText(TickSet ticked);

/// Where Moodle and the program part, as a teacher reads it; empty when they never do for a tick
/// set Moodle allows. Two kinds: a tick set whose points lie in 0..100 in the program and give
/// another grade in Moodle, and a tick set whose points lie outside 0..100, which Moodle with
/// check boxes cannot give (it holds their grade to 0..100 %). One sentence for each kind found,
/// with the first tick set of that kind.
QStringList ScoringDifferences(const QList<double>& fractions, bool single,
                               const QList<int>& points);
