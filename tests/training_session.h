// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "questions/answer_points.h"
#include "tests/session_steps.h"
#include "tests/training_core.h"

// One training test without its window: what an activation prepares, what the answer button
// does in each of its modes, the points of the ticks and of the test, the clock with its pause,
// and what a visit to the textbook and a video question change. The training screen asks it at
// every step and does the showing.

/// Whether the next activation of the training screen prepares a new test.
enum class OnActivate {
    Reset, // prepare a new test (a fresh screen, or one set back when the student left)
    Keep,  // leave the screen as it is (a test under way, or the student in the textbook)
};

/// Whether a preparing activation loads the question file.
enum class FileLoad {
    Load,     // load it
    SkipOnce, // a video question is being laid out: skip the load once
};

class TrainingSession {
public:
    // --- Activation and loading
    /// What this activation must do. A preparing activation uses up its request first, so that
    /// an activation during the preparation (a message closing) prepares nothing a second time.
    Activation OnActivation();
    /// The question file is about to be loaded: no question asked, the clock not started.
    void BeginLoad();
    /// The file and the settings were read: questionCount questions within timeLimit seconds.
    void Ready(int questionCount, int timeLimit);
    /// The file or the settings could not be read: the answer button leads back to the menu.
    void Refuse();

    // --- The answer button
    /// "OK" on the opening display: the first question is asked.
    void StartTest();
    /// "Следующий вопрос" (or "Выход..." after time-up): the answer on screen is scored (nothing
    /// when no box is ticked) and the next question asked, or the result follows. The boxes do
    /// not report their clearing until NextQuestionShown().
    AfterAnswer Answer(bool anyBoxTicked);
    /// The next question is on screen: its boxes report their changes again.
    void NextQuestionShown();
    /// "OK" on the result display or after a refusal: the next activation prepares a new test.
    void Leave();
    /// The answer-button delay ended: true when the button comes into use (not for a video
    /// question, whose playback enables it, nor during a pause).
    bool AnswerButtonDelayEnds();

    // --- Ticks
    /// The box of row 1..5 changed to ticked; points are those of the rows. True when the
    /// change counts and the verdict is to be shown again.
    bool BoxChanged(int row, bool ticked, const PositionPoints& points);
    /// The verdict of the current ticks.
    Verdict CurrentVerdict() const;
    /// The points of the whole test as the exam keeper scored them, at the result.
    void ResultGiven(int totalScore) { m_totalScore = totalScore; }

    // --- The clock, the pause and the textbook
    /// True while the clock may run: a question of a test under way, the time not up, no
    /// pause, no video fragment holding the clock.
    bool ClockMayRun(bool playbackHoldsClock) const;
    /// One second of the clock's timer. At time-up the question on screen scores nothing.
    ClockTick Tick(bool playbackHoldsClock);
    /// The answers given when the time ran out: the question on screen is not answered.
    int AnsweredCount() const;
    /// The time-up message was closed: the next press ends the test at once.
    void TimeUpShown();
    /// The pause button: true when the test is paused now, false when it goes on.
    bool TogglePause();
    /// The help button: false during a pause; otherwise the student goes to the textbook and the
    /// return to the screen keeps the test.
    bool HelpVisit();

    // --- A video question (the question area's steps)
    void VideoQuestionFound();
    void VideoNoticeStarted();
    /// "Выход..." pressed while the notice was still waiting: the fragment does not start.
    void VideoNoticeStopped();
    void RowsBesideVideo();

    // --- State
    TrainingAnswerMode AnswerButtonMode() const { return m_mode; }
    OnActivate ResetOnActivate() const { return m_onActivate; }
    FileLoad ReloadOnActivate() const { return m_fileLoad; }
    int TrainingQuestionCount() const { return m_questionCount; }
    int TrainingTimeLimit() const { return m_timeLimit; }
    /// Number of the question on screen within the test (1 for the first).
    int AskedCount() const { return m_askedCount; }
    const TrainingClock& Clock() const { return m_clock; }
    /// Points of the current ticks.
    int QuestionScore() const { return m_questionScore; }
    /// Points of the answered questions.
    int TotalScore() const { return m_totalScore; }
    /// The ticks as last reported by the boxes.
    const PositionFlags& Ticked() const { return m_ticked; }
    /// The next answer-button delay leaves the button disabled.
    bool OkDelaySkip() const { return m_okDelaySkip; }
    /// True between time-up and the end of the test.
    bool TimeIsUp() const { return m_timeUp; }
    bool Paused() const { return m_paused; }

private:
    TrainingAnswerMode m_mode = TrainingAnswerMode::Start;
    OnActivate m_onActivate = OnActivate::Reset;
    FileLoad m_fileLoad = FileLoad::Load;
    int m_questionCount = 0;
    int m_timeLimit = 0;
    int m_askedCount = 0;
    TrainingClock m_clock;
    int m_questionScore = 0;
    int m_totalScore = 0;
    PositionFlags m_ticked{};
    PositionFlags m_boxesLive{}; // false: a change of the box is not reported
    bool m_okDelaySkip = false;
    bool m_timeUp = false;
    bool m_paused = false;
};
