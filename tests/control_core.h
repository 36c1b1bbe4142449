// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tests/result_report.h"

#include <QString>

// The rules of the control test that need no window: the countdown of one question and the
// texts the control screen shows. The points of an answer are AnswerPoints()
// (questions/answer_points.h), the same for both tests.

/// What the control screen's answer button does when pressed.
enum class ControlAnswerMode {
    Start,  // "OK": starts the test
    Answer, // "Следующий вопрос": submits the answer
    Exit,   // "OK" after the question file failed: ends the program
    Back,   // "OK" after a test that could not be prepared: back to the menu
};

/// The countdown of one question: from the seconds per question down to 0, one step a second.
struct ControlCountdown {
    int SecondsLeft = 0;
    int ElapsedSeconds = 0; // the time bar's position

    void Start(int secondsPerQuestion) {
        SecondsLeft = secondsPerQuestion;
        ElapsedSeconds = 0;
    }
    /// One second passes. True when the time is up (also at once for limits of 1 or less).
    bool Tick() {
        --SecondsLeft;
        ++ElapsedSeconds;
        return SecondsLeft <= 0;
    }
};

/// Window title while a question is shown: "Вопрос " and the number in the order shown.
QString ControlQuestionTitle(int shownCount);

/// The result display: five lines separated by a single carriage return, the percentage
/// written as in the result files followed by " %".
QString ControlResultText(const QString& fullName, int questionCount, qint64 totalPoints);
