// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

/// The percentage of a result, totalPoints x 100 / (questionCount x 100), as both tests show it
/// and both result files write it: one decimal after ".", padded on the left with blanks to 4
/// characters ("75.0", " 7.5", "100.0"). The quotient, a double, is expanded to 18 significant
/// digits and cut after the first decimal, rounding up when the next digit is 5 or more (0.25
/// gives " 0.3"; 0.15, which is 0.149999999999999994 as a double, gives " 0.1"). A count below 1
/// gives " 0.0".
QString PercentText(qint64 totalPoints, int questionCount);
