// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QLabel;
class QMovie;

/// Shows an animated picture in a label and runs it only while the label is on screen: it is
/// paused when the label or its window is hidden and goes on from that frame when shown again,
/// so that a hidden screen never wakes the program.
void ShowMovieWhileVisible(QLabel* label, QMovie* movie);
