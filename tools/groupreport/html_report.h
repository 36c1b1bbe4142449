// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/groupreport/group_results.h"
#include "tools/groupreport/item_analysis.h"

#include <QByteArray>
#include <QSize>

// One self-contained HTML page (UTF-8, no script, nothing loaded from outside) with the group's
// distribution of percentages and the item map drawn by Qt Charts and embedded as SVG, the table
// of students, the item analysis and the files that could not be used. Needs a QApplication
// (the charts are graphics widgets); any platform plugin does, "offscreen" included.

/// An axis of counts from 0 in round steps (1, 2, 5, 10, 20, 50, ...), at most ten of them, so
/// that every tick is a whole number: a count of 14 gives steps of 2 up to 14.
struct CountAxis {
    int max = 1;
    int step = 1;
};
CountAxis RoundCountAxis(int top);

/// The students' percentages in ten bands "0–10" ... "90–100" (100 in the last), with a band
/// "ниже 0" first when some result is negative.
QList<QPair<QString, int>> DistributionBands(const QList<StudentResult>& students);

/// The distribution of the students' percentages in ten bands as an SVG picture.
QByteArray DistributionChartSvg(const QList<StudentResult>& students, QSize size = {720, 360});
/// Facility against point-biserial discrimination, one point per question, as an SVG picture.
QByteArray ItemMapSvg(const QList<ItemStatistics>& items, QSize size = {720, 420});

QByteArray GroupHtml(const QString& title, const GroupResults& group,
                     const QList<ItemStatistics>& items);
