// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "questions/points_text.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace {

int DigitValue(QChar c, int base) {
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (base == 16 && u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (base == 16 && u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

} // namespace

int PointsFromText(QStringView text) {
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n && text[i] == u' ')
        ++i;
    bool negative = false;
    if (i < n && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i] == u'-';
        ++i;
    }
    int base = 10;
    if (i < n && text[i] == u'$') {
        base = 16;
        ++i;
    } else if (i + 1 < n && text[i] == u'0' && (text[i + 1] == u'x' || text[i + 1] == u'X')) {
        base = 16;
        i += 2;
    }
    constexpr std::int64_t kMax = std::numeric_limits<int>::max();
    const std::int64_t limit = negative ? kMax + 1 : kMax;
    std::int64_t value = 0;
    for (; i < n; ++i) {
        const int digit = DigitValue(text[i], base);
        const std::int64_t next = value * base + digit;
        if (digit < 0 || next > limit) {
            // Something else follows: what was read so far counts, without its sign.
            return static_cast<int>(std::min(value, kMax));
        }
        value = next;
    }
    return static_cast<int>(negative ? -value : value);
}
