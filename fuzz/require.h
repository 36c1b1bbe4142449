#pragma once

#include <cstdlib>

/// Stops the fuzzer with a crash it reports when a property of the target does not hold.
inline void Require(bool condition) {
    if (!condition)
        std::abort();
}
