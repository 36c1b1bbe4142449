// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSize>
#include <optional>

// The size of the display the screens lay themselves out on. Tests set a fixed size
// (1024 x 768, 800 x 600) instead of the real one.

QSize DisplaySize();
void SetDisplaySizeForTesting(std::optional<QSize> size);
