// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "questions/answer_points.h"
#include "tests/control_core.h"
#include "tests/session_steps.h"

#include <QString>

#include <functional>

// One control test without its window: what an activation prepares, what the answer button does
// in each of its modes, the points, the countdown of each question, the video question's delays
// and the supervisor code that ends the result. The control screen asks it at every step, does
// the showing and writes the result files.

/// Why a control test could not be prepared.
enum class ControlRefusal {
    QuestionFile, // the question file could not be read: "OK" ends the program
    Preparation,  // a setting or a result file: "OK" leads back to the menu
};

/// How far a control test has come.
enum class ControlStage {
    Opening,  // before "OK": the window system's close leads back
    Running,  // the questions: only the supervisor code ends the test
    Finished, // the result, or a test stopped by a failed write: the supervisor code leaves
};

class ControlSession {
public:
    /// The code the supervisor types to leave the result, where the course sets none.
    static const QString kSupervisorCode;
    /// Says whether a typed code is the course's supervisor code.
    using CodeCheck = std::function<bool(const QString& code)>;

    // --- Activation and preparation
    /// What this activation must do: only a fresh screen prepares a test, and it uses up the
    /// request first, so that a message shown during the preparation prepares nothing again.
    Activation OnActivation();
    /// The settings were read: questionsToAsk questions of secondsPerQuestion seconds each.
    void Ready(int questionsToAsk, int secondsPerQuestion);
    void Refuse(ControlRefusal why);

    // --- The answer button
    /// "OK": the first question is asked.
    void StartTest();
    /// True when the countdown of the question just shown starts now; false for a video
    /// question, which starts it after its playback.
    bool CountdownStartsNow();
    /// The points of the current ticks, the rows being worth points.
    qint64 PointsOf(const PositionPoints& points) const;
    /// "Следующий вопрос": the answer, worth answerPoints, is written; the next question is
    /// asked with a new countdown, or the result follows.
    AfterAnswer Answered(qint64 answerPoints);
    /// The result files could not be written: the test stops and only the supervisor leaves.
    void Abort();
    /// The answer-button delay ended: true when the button comes into use (not for a video
    /// question, whose reveal enables it).
    bool AnswerButtonDelayEnds();

    // --- Ticks, countdown and video
    void BoxChanged(int row, bool ticked) { m_ticked[row - 1] = ticked; }
    /// One second of the countdown's timer; it counts only while a question waits for its answer
    /// and its time is not up.
    ClockTick Tick();
    /// The question's time ran out: its boxes are out of use (their ticks stay and are scored)
    /// until the answer button is pressed.
    bool TimeIsUp() const { return m_timeUp; }
    /// A video question's notice: the countdown and the answer button wait for the fragment.
    void VideoNoticeStarted();

    // --- The supervisor
    /// True when code is the supervisor's and the result (or the stopped test) is on screen: the
    /// screen may close, and a new screen prepares a new test.
    bool SupervisorCode(const QString& code);
    /// The course's own check of the code; without one the code is kSupervisorCode.
    void SetCodeCheck(CodeCheck check) { m_codeCheck = std::move(check); }

    // --- State
    ControlAnswerMode AnswerButtonMode() const { return m_mode; }
    ControlStage Stage() const { return m_stage; }
    /// "OK" started the test: only the supervisor code ends it.
    bool Started() const { return m_stage != ControlStage::Opening; }
    /// The next activation prepares a new test.
    bool NewTestPending() const { return m_newTestPending; }
    int QuestionsToAsk() const { return m_questionsToAsk; }
    /// Questions shown so far; the number in the title.
    int ShownCount() const { return m_shownCount; }
    int SecondsPerQuestion() const { return m_secondsPerQuestion; }
    /// SecondsLeft and ElapsedSeconds of the question on screen.
    const ControlCountdown& Countdown() const { return m_countdown; }
    /// The ticks as last reported by the boxes.
    const PositionFlags& Ticked() const { return m_ticked; }
    qint64 TotalPoints() const { return m_totalPoints; }
    /// False: a video question starts the countdown after its playback.
    bool CountdownArmed() const { return m_countdownArmed; }
    /// The next answer-button delay leaves the button disabled.
    bool ButtonDelaySkip() const { return m_buttonDelaySkip; }

private:
    ControlAnswerMode m_mode = ControlAnswerMode::Start;
    ControlStage m_stage = ControlStage::Opening;
    bool m_newTestPending = true;
    int m_questionsToAsk = 0;
    int m_shownCount = 0;
    int m_secondsPerQuestion = 0;
    ControlCountdown m_countdown;
    PositionFlags m_ticked{};
    qint64 m_totalPoints = 0;
    bool m_countdownArmed = true;
    bool m_buttonDelaySkip = false;
    bool m_timeUp = false;
    CodeCheck m_codeCheck;
};
