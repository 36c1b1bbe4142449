#pragma once

#include <QString>
#include <optional>

// Whole-text integer conversion used for typed settings and count lines: optional leading
// blanks, an optional sign, decimal digits or a "$"/"0x" hexadecimal prefix, nothing after.

/// The value of `text` as a signed 32-bit integer, or nothing when it is not one
/// (empty text, trailing characters, overflow).
std::optional<int> TextToInteger(const QString& text);

/// "'%s' is not a valid integer value" with the text in place of %s.
QString NotValidIntegerMessage(const QString& text);
