// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "screens_fixture.h"

#include "app/startup.h"
#include "fake_media_player.h"
#include "keeper/keeper_client.h"
#include "platform/display.h"
#include "platform/fonts.h"
#include "platform/screen.h"

#include <QApplication>

ScreensFixture::ScreensFixture(QSize display, void (*make)()) : m_display(display) {
    KeeperClient::SetDefaultKeeperPathForTesting(QStringLiteral(KEEPER_PATH));
    if (make)
        make();
    else
        CreateScreens();
}

ScreensFixture::~ScreensFixture() {
    DestroyScreens();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    // m_display resets the display after this.
}

void ScreensFixture::SetDisplay(QSize display) {
    SetDisplaySizeForTesting(display);
}
