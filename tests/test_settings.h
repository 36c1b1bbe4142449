// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Reading the test settings a test screen takes from the administration screen's entry fields
// when it prepares a new test: two texts converted to integers, the count capped at the number
// of questions in the question file.

struct SettingsReading {
    bool ok = false;
    int QuestionCount = 0; // capped at the file's question count
    int Seconds = 0;       // training: the whole test; control: each question
    QString message;       // the message to show when !ok
};

/// Converts countText and secondsText in this order; the first text that is not an integer
/// gives "'%s' is not a valid integer value". A count below 1 is refused with its own message,
/// and so is a question file without questions (the capped count would be 0). Time limits of
/// 0 or less are accepted: such a test runs out at the first tick of its clock.
SettingsReading ReadTestSettings(const QString& countText, const QString& secondsText,
                                 int fileQuestionCount);
