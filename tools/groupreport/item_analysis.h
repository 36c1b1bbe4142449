// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/groupreport/group_results.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// Item analysis of a group: for every question (identified by its text) how often it was asked,
// how easy it was and how well it separates strong students from weak ones, and how often each
// of its options was chosen.
//
// - facility: the mean points of the question as a share of its maximum (100 points);
// - point-biserial discrimination: the correlation (Pearson) of the question's points with the
//   rest of the test, the student's other points as a share of their maximum
//   ((S - A) / ((Q - 1) x 100)); undefined with fewer than two students or no spread;
// - upper-lower difference: the students asked the question are ranked by their percentage;
//   n = 27 % of them rounded to the nearest whole number (at least 1); the mean share of the upper
//   n minus that of the lower n, where students tied at a group's edge share its last places
//   equally (each counts with the weight of the places left over the number tied), so the order
//   of names never matters; undefined with fewer than two students.
//
// Flags from the figures are raised only for a question asked at least kMinAskedToJudge times:
// below that, one student more or less turns every figure. A key whose options worth points add
// up to more than 100 is flagged however often the question was asked.

struct OptionUse {
    QString text;
    int points = 0;
    int shown = 0;  // times the option stood on the screen
    int chosen = 0; // times it was ticked
};

struct ItemStatistics {
    QString text;      // the question as stored
    QString shownText; // as the screens show it
    int asked = 0;
    double facility = 0;
    double variance = 0; // of the question's points / 100 over the students asked it
    std::optional<double> pointBiserial;
    std::optional<double> upperLower;
    QList<OptionUse> options; // by points (highest first), then by text
    QStringList flags;        // what a teacher should look at; empty when nothing
    bool judged = false;      // asked often enough for flags (kMinAskedToJudge)
};

/// The fewest times a question must have been asked before the analysis flags it.
constexpr int kMinAskedToJudge = 10;

/// How reliable the test's results are. Cronbach's alpha over the students who were asked the
/// most common number k of questions (at least two students, k at least 2); for questions scored
/// 0 or 100 only it is KR-20. When those students were all asked the same questions, the sum of
/// the questions' variances is used; when each drew his own (the random draw of the program), k
/// times the variance of all their answers, the alpha of a test whose questions are drawn at
/// random from the bank. The standard error of measurement is the standard deviation of their
/// percentages times the root of 1 - alpha (alpha below 0 taken as 0), in percentage points.
struct Reliability {
    int students = 0;  // the students it is computed over
    int questions = 0; // k
    bool sameQuestions = false;
    std::optional<double> alpha;
    std::optional<double> standardError;
};

/// `items` are the group's item statistics (AnalyseItems).
Reliability TestReliability(const QList<StudentResult>& students,
                            const QList<ItemStatistics>& items);

/// The statistics of every question asked, in the order of their texts (the question numbers).
QList<ItemStatistics> AnalyseItems(const QList<StudentResult>& students);

/// Share of the group in the upper and in the lower group of the upper-lower difference.
constexpr double kUpperLowerShare = 0.27;

/// The size of the upper and of the lower group for `count` students: 27 % rounded, at least 1.
qsizetype UpperLowerGroupSize(qsizetype count);
