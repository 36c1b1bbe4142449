#pragma once

#include <QSize>

// The screens are drawn for displays of at least 800 x 600 pixels. A display scaled up so far that
// less than that remains (1920 x 1080 at 200 % leaves 960 x 540) would cut the test screens off
// and put the large screens over the start bar; the program then scales by as much as the display
// allows instead, never below the display's own pixels. Called once, before the first window.

/// The smallest display the screens are laid out for.
inline constexpr QSize kSmallestDisplay{800, 600};

/// The factor by which the scaling `scale` (1 for none) has to shrink so that `logical`, the
/// display as the screens see it at that scaling, becomes at least kSmallestDisplay: 1 when it
/// already is, and never so much that the display's pixels become larger than the screens'.
double ScaleShrink(QSize logical, double scale);

/// Applies ScaleShrink() to the primary screen through Qt's scaling.
void KeepDisplayLargeEnough();
