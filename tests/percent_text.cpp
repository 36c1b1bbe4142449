// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/percent_text.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

QString PercentText(qint64 totalPoints, int questionCount) {
    if (questionCount < 1)
        return QStringLiteral(" 0.0");
    const double value = double(totalPoints * 100) / double(qint64(questionCount) * 100);
    // The 18 significant digits of the value, d0.d1...d17 x 10^exponent.
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.17e", std::fabs(value));
    char digits[18];
    digits[0] = buffer[0];
    for (int i = 1; i < 18; ++i)
        digits[i] = buffer[i + 1];
    const int exponent = std::atoi(buffer + 20);
    // Digit i stands for 10^(exponent - i): the first decimal is digit exponent + 1.
    const int firstDecimal = exponent + 1;
    qint64 tenths = 0;
    for (int i = 0; i <= firstDecimal; ++i)
        tenths = tenths * 10 + (i < 18 ? digits[i] - '0' : 0);
    const int next = exponent + 2;
    if (next >= 0 && next < 18 && digits[next] >= '5')
        ++tenths;
    const bool negative = value < 0 && tenths != 0;
    const QString text = (negative ? QStringLiteral("-") : QString()) +
                         QString::number(tenths / 10) + QLatin1Char('.') +
                         QString::number(tenths % 10);
    return text.rightJustified(4, QLatin1Char(' '));
}
