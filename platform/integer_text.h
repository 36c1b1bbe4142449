// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <optional>

// Whole-text integer conversion. Settings and the count lines of question and data files are
// signed decimal integers; the parameter values of a question file also take a "$"/"0x"
// hexadecimal prefix.

/// The value of `text` as a signed decimal 32-bit integer: optional leading blanks, an optional
/// sign, decimal digits, nothing after. Nothing when it is not one (empty text, a "$" or "0x"
/// prefix, trailing characters, overflow).
std::optional<int> DecimalTextToInteger(const QString& text);

/// As DecimalTextToInteger, but the digits may also be hexadecimal after a "$" or "0x" prefix
/// (the parameter values of a question file).
std::optional<int> TextToInteger(const QString& text);

/// "'%s' is not a valid integer value" with the text in place of %s, its control and
/// formatting characters shown as escapes ("\r", "\x1B", "\u202E") so that the message stays
/// on one line and reads as it is stored.
QString NotValidIntegerMessage(const QString& text);

/// The text with every control, format, line or paragraph separator character and every lone
/// surrogate written as an escape: "\t", "\n", "\r", "\xHH" below U+0100, "\uHHHH" above.
QString VisibleText(const QString& text);
