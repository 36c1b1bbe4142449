// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "questions/answer_points.h"

qint64 AnswerPoints(const PositionFlags& ticked, const PositionPoints& points) {
    qint64 sum = 0;
    for (int k = 0; k < kMaxOptions; ++k) {
        if (!ticked[k])
            continue;
        if (points[k] == 0)
            return 0;
        sum += points[k];
    }
    return sum;
}
