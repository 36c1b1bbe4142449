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
// - upper-lower difference: the students asked the question are ranked by their percentage
//   (ties by name); n = 27 % of them rounded (at least 1); the mean share of the upper n minus
//   that of the lower n; undefined with fewer than two students.

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
    std::optional<double> pointBiserial;
    std::optional<double> upperLower;
    QList<OptionUse> options; // by points (highest first), then by text
    QStringList flags;        // what a teacher should look at; empty when nothing
};

/// The statistics of every question asked, in the order of their texts (the question numbers).
QList<ItemStatistics> AnalyseItems(const QList<StudentResult>& students);

/// Share of the group in the upper and in the lower group of the upper-lower difference.
constexpr double kUpperLowerShare = 0.27;
