// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Every halving and centring of pixel sizes in the program goes through these:
// the exact half, then the nearest integer with a tie going to the even neighbour.

/// Nearest integer to v, ties to the even neighbour (2.5 -> 2, 3.5 -> 4, -0.5 -> 0).
int RoundHalfEven(double v);

/// Half of v rounded half to even: HalfOf(1025) == 512, HalfOf(1027) == 514.
int HalfOf(int v);

/// Left or top that centres a span of `inner` pixels in `outer` pixels.
inline int CentredOffset(int outer, int inner) {
    return HalfOf(outer - inner);
}
