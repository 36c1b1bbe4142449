// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/moodlexml/moodle_scoring.h"

#include "questions/answer_points.h"

#include <QStringList>

#include <algorithm>
#include <bit>
#include <cmath>

double MoodleGrade(const QList<double>& fractions, bool single, TickSet ticked) {
    double sum = 0;
    for (qsizetype i = 0; i < fractions.size(); ++i) {
        if (ticked & (TickSet(1) << i))
            sum += fractions[i];
    }
    return single ? sum : std::clamp(sum, 0.0, 100.0);
}

qint64 ProgramPoints(const QList<int>& points, TickSet ticked) {
    PositionFlags flags{};
    PositionPoints values{};
    for (qsizetype i = 0; i < std::min<qsizetype>(points.size(), kMaxOptions); ++i) {
        flags[i] = (ticked & (TickSet(1) << i)) != 0;
        values[i] = points[i];
    }
    return AnswerPoints(flags, values);
}

QString TickSetText(TickSet ticked) {
    QStringList options;
    for (int i = 0; i < 32; ++i) {
        if (ticked & (TickSet(1) << i))
            options << QString::number(i + 1);
    }
    return options.join(QStringLiteral(", "));
}

QStringList ScoringDifferences(const QList<double>& fractions, bool single,
                               const QList<int>& points) {
    QString differs;
    QString outside;
    const TickSet all = TickSet(1) << std::min<qsizetype>(points.size(), kMaxOptions);
    for (TickSet ticked = 1; ticked < all; ++ticked) {
        if (single && std::popcount(ticked) > 1)
            continue; // Moodle lets only one answer be chosen
        const qint64 program = ProgramPoints(points, ticked);
        const double moodle = MoodleGrade(fractions, single, ticked);
        const QString options = std::popcount(ticked) > 1
                                    ? QStringLiteral("вариантов %1").arg(TickSetText(ticked))
                                    : QStringLiteral("варианта %1").arg(TickSetText(ticked));
        if (std::fabs(moodle - double(program)) <= 1e-6)
            continue;
        if (program >= 0 && program <= 100) {
            if (differs.isEmpty())
                differs = QStringLiteral("за отметку %1 программа даёт %2 баллов, а Moodle — "
                                         "%3 %")
                              .arg(options)
                              .arg(program)
                              .arg(moodle);
        } else if (outside.isEmpty()) {
            outside = QStringLiteral("за отметку %1 программа даёт %2 баллов, а Moodle не "
                                     "ставит %3")
                          .arg(options)
                          .arg(program)
                          .arg(program < 0 ? QStringLiteral("меньше 0 %")
                                           : QStringLiteral("больше 100 %"));
        }
    }
    QStringList result;
    if (!differs.isEmpty())
        result << differs;
    if (!outside.isEmpty())
        result << outside;
    return result;
}
