// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/control_session.h"

#include <utility>

const QString ControlSession::kSupervisorCode = QStringLiteral("739152");

Activation ControlSession::OnActivation() {
    // Every other activation (a message box closing, another window of the program giving the
    // focus back) leaves the test, its ticks, its points, its countdown and its result files
    // exactly as they are.
    if (!m_newTestPending)
        return Activation::Keep;
    m_newTestPending = false;
    m_buttonDelaySkip = false;
    m_countdownArmed = true;
    m_mode = ControlAnswerMode::Start;
    m_timeUp = false;
    m_totalPoints = 0;
    m_countdown.ElapsedSeconds = 0;
    m_shownCount = 0;
    return Activation::PrepareAndLoad;
}

void ControlSession::Ready(int questionsToAsk, int secondsPerQuestion) {
    m_questionsToAsk = questionsToAsk;
    m_secondsPerQuestion = secondsPerQuestion;
    m_countdown.SecondsLeft = secondsPerQuestion;
}

void ControlSession::Refuse(ControlRefusal why) {
    m_mode =
        why == ControlRefusal::QuestionFile ? ControlAnswerMode::Exit : ControlAnswerMode::Back;
}

void ControlSession::StartTest() {
    m_stage = ControlStage::Running;
    m_timeUp = false;
    m_ticked.fill(false);
    m_mode = ControlAnswerMode::Answer;
    ++m_shownCount;
}

bool ControlSession::CountdownStartsNow() {
    if (m_countdownArmed)
        return true;
    m_countdownArmed = true; // a video question starts it when the question is shown again
    return false;
}

qint64 ControlSession::PointsOf(const PositionPoints& points) const {
    return AnswerPoints(m_ticked, points);
}

AfterAnswer ControlSession::Answered(qint64 answerPoints) {
    m_totalPoints += answerPoints;
    m_timeUp = false;
    m_ticked.fill(false);
    m_countdown.Start(m_secondsPerQuestion);
    if (m_shownCount < m_questionsToAsk) {
        ++m_shownCount;
        return AfterAnswer::NextQuestion;
    }
    m_stage = ControlStage::Finished;
    m_mode = ControlAnswerMode::Exit;
    return AfterAnswer::Result;
}

void ControlSession::Abort() {
    m_stage = ControlStage::Finished;
    m_mode = ControlAnswerMode::Exit;
}

bool ControlSession::AnswerButtonDelayEnds() {
    // A video question enables the button after its playback.
    return !std::exchange(m_buttonDelaySkip, false);
}

ClockTick ControlSession::Tick() {
    if (m_mode != ControlAnswerMode::Answer || m_timeUp)
        return ClockTick::Stopped;
    // The ticks made so far stay and are scored when the button is pressed.
    m_timeUp = m_countdown.Tick();
    return m_timeUp ? ClockTick::TimeUp : ClockTick::Counted;
}

void ControlSession::VideoNoticeStarted() {
    m_buttonDelaySkip = true;
    m_countdownArmed = false;
}

bool ControlSession::SupervisorCode(const QString& code) {
    // The code is not even looked at before the result is on screen.
    if (m_stage != ControlStage::Finished)
        return false;
    if (!(m_codeCheck ? m_codeCheck(code) : code == kSupervisorCode))
        return false;
    m_mode = ControlAnswerMode::Start;
    m_newTestPending = true;
    return true;
}
