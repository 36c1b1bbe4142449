// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QList>
#include <QPolygon>
#include <QRect>

// Gradient colours and band geometry, computed without painting so that tests can check them.

enum class DrawDirection { ddVertical, ddHorizontal, ddLRDiagonal, ddRLDiagonal, ddCenter };

/// Steps N after clamping: 0 becomes 1, 237 and more become 236.
int ClampDrawSteps(int steps);

/// Colour of step a (1 <= a <= steps): From + a/N * (To - From) per channel, rounded half to
/// even, low 8 bits.
QColor GradientStepColor(const QColor& from, const QColor& to, int step, int steps);

struct GradientBand {
    /// Filled without outline; a rectangle band is its four corners. The outline runs on pixel
    /// edges: a band's right and bottom lie one past its last pixel column and row.
    QPolygon shape;
    /// The band as a rectangle (vertical, horizontal and centre gradients; null for the
    /// diagonals). A band whose rectangle is empty paints nothing.
    QRect rect;
    QColor color;
};

/// The bands drawn over rect, in painting order. For the centre gradient the first band is the
/// whole rectangle in ColorFrom.
QList<GradientBand> GradientBands(const QRect& rect, const QColor& from, const QColor& to,
                                  int steps, DrawDirection direction);
