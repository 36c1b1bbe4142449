// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/display.h"

#include <QGuiApplication>
#include <QScreen>

namespace {
std::optional<QSize> g_override;
}

QSize DisplaySize() {
    if (g_override)
        return *g_override;
    if (QScreen* screen = QGuiApplication::primaryScreen())
        return screen->geometry().size();
    return QSize(1024, 768);
}

void SetDisplaySizeForTesting(std::optional<QSize> size) {
    g_override = size;
}
