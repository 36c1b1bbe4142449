// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <cstdint>

// The state record on the main screen through which the screens hand work to each other.
struct ShellState {
    QString ProgramFolder; // working folder at start-up, no trailing separator
    std::uint8_t SplashTicks = 0;
    QString TextbookUrl;    // last page the textbook began to open through a link
    QString ReturnPage;     // textbook page shown again when the video viewer is left
    QString VideoFile;      // video fragment the viewer plays
    int StartBarLocked = 0; // 1 while a training test keeps the start bar's buttons disabled
    int TrainingActive = 0; // 1 while a training test is in progress
    std::uint8_t BookLoadCount = 0; // pages the textbook completed since it was last chosen
    int RecreateTrainingScreen = 0;
    int RecreateControlScreen = 0;
    int RecreateReviewScreen = 0;
    int RecreateVideoScreen = 0;
};
