// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What a test session tells its screen to do next, the same for the training and the control test.

/// What an activation of a test screen must do.
enum class Activation {
    Keep,           // nothing: the screen and its test stay exactly as they are
    PrepareAndLoad, // prepare a new test and load the question file
    PrepareOnly,    // prepare a new test without loading the question file, this once (training)
};

/// What follows an answer.
enum class AfterAnswer {
    NextQuestion, // show the next question
    Result,       // that was the last question: show the result
};

/// One tick of a test's clock.
enum class ClockTick {
    Stopped, // the clock may not run now: its timer stops and nothing is counted
    Counted, // one second less
    TimeUp,  // one second less, and the time is up
};
