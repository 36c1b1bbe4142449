// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "test_support.h"

#include <QSize>
#include <optional>

// The set-up shared by the tests that make the program's screens.

/// Every screen of the program on a display of the given size while it lives: the display is set
/// before make makes the screens (CreateScreens() when not given); at the end the screens are
/// destroyed and freed, then the display is reset.
class ScreensFixture {
public:
    explicit ScreensFixture(QSize display = QSize(1024, 768), void (*make)() = nullptr);
    ~ScreensFixture();
    ScreensFixture(const ScreensFixture&) = delete;
    ScreensFixture& operator=(const ScreensFixture&) = delete;

    /// Changes the display size for the rest of the fixture's life; the screens stay.
    void SetDisplay(QSize display);

private:
    DisplayOverride m_display;
};
