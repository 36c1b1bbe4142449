// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "resources/screen_resources.h"

#include <QtGlobal>

// Q_INIT_RESOURCE must be used outside any namespace.
void InitScreenResources() {
    Q_INIT_RESOURCE(screen_pictures);
}
