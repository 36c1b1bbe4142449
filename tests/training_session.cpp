// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/training_session.h"

#include <algorithm>
#include <utility>

Activation TrainingSession::OnActivation() {
    // Only a fresh screen (or one set back when the student left) prepares a test. Every other
    // activation (the time-up message closing, a return from another window of the program or
    // from the textbook) leaves the test, its ticks, its score and its clock as they are.
    if (m_onActivate != OnActivate::Reset)
        return Activation::Keep;
    m_onActivate = OnActivate::Keep;
    m_okDelaySkip = false;
    m_boxesLive.fill(true);
    m_questionScore = 0;
    m_totalScore = 0;
    if (m_fileLoad == FileLoad::Load)
        return Activation::PrepareAndLoad;
    m_fileLoad = FileLoad::Load;
    return Activation::PrepareOnly;
}

void TrainingSession::BeginLoad() {
    m_clock.ElapsedTicks = 0;
    m_timeUp = false;
    m_askedCount = 0;
}

void TrainingSession::Ready(int questionCount, int timeLimit) {
    m_questionCount = questionCount;
    m_timeLimit = timeLimit;
    m_clock.Start(timeLimit);
}

void TrainingSession::Refuse() {
    m_mode = TrainingAnswerMode::Leave;
}

void TrainingSession::StartTest() {
    // The activation that prepared this test has used up its request; a later activation during
    // the test (a return of focus) must not prepare a new one, so it is not set again.
    m_ticked.fill(false);
    m_mode = TrainingAnswerMode::Next;
    ++m_askedCount;
}

AfterAnswer TrainingSession::Answer(bool anyBoxTicked) {
    m_boxesLive.fill(false);
    m_ticked.fill(false);
    if (!anyBoxTicked)
        m_questionScore = 0;
    m_totalScore += m_questionScore;
    if (m_askedCount < m_questionCount) {
        ++m_askedCount;
        return AfterAnswer::NextQuestion;
    }
    m_mode = TrainingAnswerMode::Leave;
    return AfterAnswer::Result;
}

void TrainingSession::NextQuestionShown() {
    m_boxesLive.fill(true);
}

void TrainingSession::Leave() {
    m_boxesLive.fill(true);
    m_mode = TrainingAnswerMode::Start;
    m_fileLoad = FileLoad::Load;
    m_onActivate = OnActivate::Reset;
}

bool TrainingSession::AnswerButtonDelayEnds() {
    // A video question enables the button after its playback.
    return !std::exchange(m_okDelaySkip, false) && !m_paused;
}

bool TrainingSession::BoxChanged(int row, bool ticked, const PositionPoints& points) {
    if (!m_boxesLive[row - 1])
        return false;
    m_ticked[row - 1] = ticked;
    m_questionScore = int(AnswerPoints(m_ticked, points));
    return true;
}

Verdict TrainingSession::CurrentVerdict() const {
    const bool anyTicked = std::find(m_ticked.begin(), m_ticked.end(), true) != m_ticked.end();
    return VerdictFor(anyTicked, m_questionScore);
}

bool TrainingSession::ClockMayRun(bool playbackHoldsClock) const {
    return m_mode == TrainingAnswerMode::Next && m_askedCount >= 1 && !m_timeUp && !m_paused &&
           !playbackHoldsClock;
}

ClockTick TrainingSession::Tick(bool playbackHoldsClock) {
    // The clock stands still on the opening and the result display, during a pause, while a
    // video fragment plays and once the time is up, whoever starts its timer.
    if (!ClockMayRun(playbackHoldsClock))
        return ClockTick::Stopped;
    if (!m_clock.Tick())
        return ClockTick::Counted;
    m_timeUp = true;
    m_mode = TrainingAnswerMode::Next;
    m_questionScore = 0;
    return ClockTick::TimeUp;
}

int TrainingSession::AnsweredCount() const {
    return std::max(0, m_askedCount - 1);
}

void TrainingSession::TimeUpShown() {
    // The next press ends the test at once: the questions never shown count as asked.
    m_fileLoad = FileLoad::Load;
    m_askedCount = m_questionCount;
}

bool TrainingSession::TogglePause() {
    m_paused = !m_paused;
    return m_paused;
}

bool TrainingSession::HelpVisit() {
    if (m_paused)
        return false;
    m_onActivate = OnActivate::Keep;
    return true;
}

void TrainingSession::VideoQuestionFound() {
    m_fileLoad = FileLoad::SkipOnce;
}

void TrainingSession::VideoNoticeStarted() {
    m_okDelaySkip = true;
}

void TrainingSession::VideoNoticeStopped() {
    m_okDelaySkip = false;
}

void TrainingSession::RowsBesideVideo() {
    m_fileLoad = FileLoad::Load;
}
