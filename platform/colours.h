// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>

class QWidget;

// Colours of controls, set through their palettes.

/// Fills the control's background with the colour.
void SetFillColour(QWidget* widget, const QColor& colour);

/// The text colour of an enabled control (labels, buttons, fields); a disabled control keeps the
/// greyed text of the style, so that a control out of use looks like one.
void SetTextColour(QWidget* widget, const QColor& colour);
