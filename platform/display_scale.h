// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSize>

// The screens are drawn for displays of at least 800 x 600 pixels. A display scaled up so far that
// less than that remains (1920 x 1080 at 200 % leaves 960 x 540) would cut the test screens off
// and put the large screens over the start bar; the program then scales by as much as the display
// allows instead, never below the display's own pixels.

/// The smallest display the screens are laid out for.
inline constexpr QSize kSmallestDisplay{800, 600};

/// The factor by which the scaling `scale` (1 for none) has to shrink so that `logical`, the
/// display as the screens see it at that scaling, becomes at least kSmallestDisplay: 1 when it
/// already is, and never so much that the display's pixels become larger than the screens'.
double ScaleShrink(QSize logical, double scale);

/// Called once the application object exists and before the first window: when the primary
/// screen needs a smaller scaling, starts the program again in its place (the same process, the
/// same arguments) with Qt's scale factor lowered by ScaleShrink(); returns only when it does not.
void KeepDisplayLargeEnough(char* argv[]);
