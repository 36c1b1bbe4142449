// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>

// The screens name Windows fonts ("Arial", "MS Sans Serif", "Times New Roman"); these map them
// to metric-compatible fonts that the system has.
void InstallFontSubstitutions();

/// A font of the family in the given pixel height, bold when asked.
QFont PixelFont(const QString& family, int pixelSize, bool bold = false);
