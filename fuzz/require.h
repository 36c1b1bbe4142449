// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdlib>

/// Stops the fuzzer with a crash it reports when a property of the target does not hold.
inline void Require(bool condition) {
    if (!condition)
        std::abort();
}
