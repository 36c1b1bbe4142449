// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/integer_text.h"

#include <cstdint>

namespace {

std::optional<int> Convert(const QString& text, bool hexadecimal) {
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && text[i] == QLatin1Char(' '))
        ++i;
    bool negative = false;
    if (i < n && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+'))) {
        negative = text[i] == QLatin1Char('-');
        ++i;
    }
    int base = 10;
    if (hexadecimal && i < n && text[i] == QLatin1Char('$')) {
        base = 16;
        ++i;
    } else if (hexadecimal && i + 1 < n && text[i] == QLatin1Char('0') &&
               (text[i + 1] == QLatin1Char('x') || text[i + 1] == QLatin1Char('X'))) {
        base = 16;
        i += 2;
    }
    if (i >= n)
        return std::nullopt;
    std::int64_t value = 0;
    for (; i < n; ++i) {
        const int digit = QChar(text[i]).isDigit() && text[i].unicode() < 128
                              ? text[i].unicode() - '0'
                              : (base == 16 && QStringLiteral("abcdefABCDEF").contains(text[i])
                                     ? text[i].toLower().unicode() - 'a' + 10
                                     : -1);
        if (digit < 0)
            return std::nullopt;
        value = value * base + digit;
        if (value > std::int64_t(INT32_MAX) + 1)
            return std::nullopt;
    }
    if (negative)
        value = -value;
    if (value > INT32_MAX || value < INT32_MIN)
        return std::nullopt;
    return static_cast<int>(value);
}

bool NeedsEscape(char32_t c, bool lone) {
    switch (QChar::category(c)) {
    case QChar::Other_Control:
    case QChar::Other_Format:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
        return true;
    default:
        return lone;
    }
}

} // namespace

std::optional<int> DecimalTextToInteger(const QString& text) {
    return Convert(text, false);
}

std::optional<int> TextToInteger(const QString& text) {
    return Convert(text, true);
}

QString VisibleText(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const bool pair =
            text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
        const char32_t u = pair ? QChar::surrogateToUcs4(text[i], text[i + 1]) : text[i].unicode();
        const qsizetype units = pair ? 2 : 1;
        if (!NeedsEscape(u, !pair && text[i].isSurrogate())) {
            out += QStringView(text).mid(i, units);
            i += units - 1;
            continue;
        }
        i += units - 1;
        if (u == '\t')
            out += QStringLiteral("\\t");
        else if (u == '\n')
            out += QStringLiteral("\\n");
        else if (u == '\r')
            out += QStringLiteral("\\r");
        else
            out += (u < 0x100 ? QStringLiteral("\\x") : QStringLiteral("\\u")) +
                   QString::number(uint(u), 16).toUpper().rightJustified(u < 0x100 ? 2 : 4, u'0');
    }
    return out;
}

QString NotValidIntegerMessage(const QString& text) {
    return QStringLiteral("'%1' is not a valid integer value").arg(VisibleText(text));
}
