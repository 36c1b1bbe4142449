// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "questions/answer_points.h"

#include <QString>
#include <array>
#include <cstdint>

// The rules of the training test that need no window: the verdict of the ticked options, the
// clock, and the texts the training screen writes (title, time-up message, result). The points of
// the ticks are AnswerPoints() (questions/answer_points.h), the same for both tests.

constexpr int kTrainingRows = kMaxOptions;

/// What the training screen's answer button does when pressed.
enum class TrainingAnswerMode {
    Start, // "OK" on the opening display
    Next,  // "Следующий вопрос" (or "Выход..." after time-up)
    Leave, // "OK" on the result display or after a failed load
};

enum class Verdict {
    Hidden,     // nothing ticked: the feedback strip is hidden
    Right,      // exactly 100 points
    Wrong,      // 0 points
    Incomplete, // any other sum
};

/// The verdict shown for the current ticks and their score.
Verdict VerdictFor(bool anyTicked, int questionScore);

/// How the feedback strip shows a verdict: its text and the colours (0xRRGGBB) of the strip and
/// of the texts on it (the verdict and the help button).
struct VerdictLook {
    QString text;
    std::uint32_t stripColour = 0;
    std::uint32_t textColour = 0;
};
VerdictLook LookOf(Verdict verdict);

/// The whole-test clock: counts down from the time limit, one step a second.
struct TrainingClock {
    int TimeLeft = 0;     // seconds left
    int ElapsedTicks = 0; // seconds counted; the time bar's position

    void Start(int timeLimit) {
        TimeLeft = timeLimit;
        ElapsedTicks = 0;
    }
    /// One second passes. True when the time is up (nothing left, also for limits of 0 or less).
    bool Tick() {
        --TimeLeft;
        ++ElapsedTicks;
        return TimeLeft <= 0;
    }
};

/// Window title while a question is shown: "Вопрос" and the number right-aligned in three
/// characters ("Вопрос  7", "Вопрос 12", "Вопрос123").
QString QuestionTitle(int askedCount);

/// "Время тестирования истекло, всего дано ответов N." (N is any count, not only 0..255).
QString TimeUpMessage(int answeredCount);

/// The five lines of the training result, separated by a single carriage return.
QString ResultText(const QString& fullName, int questionCount, int totalScore);
