// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/test_settings.h"

#include "platform/integer_text.h"

#include <algorithm>

SettingsReading ReadTestSettings(const QString& countText, const QString& secondsText,
                                 int fileQuestionCount) {
    SettingsReading reading;
    const std::optional<int> count = DecimalTextToInteger(countText);
    if (!count) {
        reading.message = NotValidIntegerMessage(countText);
        return reading;
    }
    // The score percentage divides by the count: a test needs at least one question.
    if (*count < 1) {
        reading.message = QStringLiteral("Количество вопросов должно быть не меньше 1.");
        return reading;
    }
    reading.QuestionCount = std::min(*count, fileQuestionCount);
    if (reading.QuestionCount < 1) {
        reading.message = QStringLiteral("В файле вопросов нет ни одного вопроса.");
        return reading;
    }
    const std::optional<int> seconds = DecimalTextToInteger(secondsText);
    if (!seconds) {
        reading.message = NotValidIntegerMessage(secondsText);
        return reading;
    }
    reading.Seconds = *seconds;
    reading.ok = true;
    return reading;
}
