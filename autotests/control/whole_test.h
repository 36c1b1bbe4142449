// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The questions and answers of one control test, the same in every process that writes it, so
// that a file written by a helper process can be compared byte for byte with the same test
// written into memory.

#include "tests/result_report.h"

#include <functional>

inline Question WholeTestQuestion(int number) {
    Question q;
    q.Text = QStringLiteral("  %1.    Вопрос номер %1 о правилах соревнований? ").arg(number);
    if (number % 3 == 0)
        q.Picture = QStringLiteral("\\images\\q_network.jpg");
    q.OptionCount = 2 + number % 4;
    for (int i = 0; i < q.OptionCount; ++i)
        q.Options[i] = AnswerOption{QStringLiteral("вариант %1 вопроса %2 ").arg(i + 1).arg(number),
                                    i == number % q.OptionCount ? 100 : 0, false};
    return q;
}

/// Writes a test of `count` questions after OpenReports; afterQuestion(i) runs once question i
/// has been answered. False at the first failure.
inline bool WriteWholeTest(ResultReport& report, int count,
                           const std::function<void(int)>& afterQuestion = {}) {
    if (!report.WriteCount(count))
        return false;
    qint64 total = 0;
    for (int i = 1; i <= count; ++i) {
        const Question q = WholeTestQuestion(i);
        QList<int> order;
        PositionPoints points{};
        for (int p = 0; p < q.OptionCount; ++p) {
            const int option = (p + i) % q.OptionCount + 1; // a shuffled display order
            order.append(option);
            points[p] = q.Options[option - 1].Points;
        }
        PositionFlags ticked{};
        ticked[i % q.OptionCount] = true;
        const qint64 given = points[i % q.OptionCount];
        if (!report.WriteQuestion(i, q, order) || !report.WriteAnswer(ticked, points, given))
            return false;
        total += given;
        if (afterQuestion)
            afterQuestion(i);
    }
    return report.WriteTotals(count, total);
}
