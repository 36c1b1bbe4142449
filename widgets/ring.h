// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QPoint>
#include <QRect>

// One 1-pixel outline ring with curved corners, split into the two halves that bevels paint
// in different colours: the first half is the left and top side with the top-left and
// bottom-left arcs, the second half the right and bottom side with the top-right and
// bottom-right arcs. With radius 0 the first half is the left column and the top row without
// its last pixel, the second half the right column and the bottom row without its first pixel.
struct RingPixels {
    QList<QPoint> first;
    QList<QPoint> second;
};

/// The pixels of the ring drawn on rect (right() and bottom() are the last pixel column and
/// row). The radius is limited to half the ring's width and height; a negative one counts as 0.
RingPixels RingOutline(const QRect& rect, int radius);
