// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/rounding.h"

#include <cmath>

int RoundHalfEven(double v) {
    // nearbyint rounds in the current rounding mode, which is round-to-nearest-even
    // unless somebody changed it; std::fesetround is never called in this program.
    return static_cast<int>(std::nearbyint(v));
}

int HalfOf(int v) {
    return RoundHalfEven(static_cast<double>(v) / 2.0);
}
