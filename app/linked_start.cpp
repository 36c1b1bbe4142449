// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The start with the parts on the web engine and the media players linked into the caller (the
// tests). Apart from app/startup.cpp, so that the program, which loads those parts as a module,
// does not link them.

#include "app/startup.h"

#include "materials/late_parts.h"
#include "materials/test7.h"

// The tests find both browsers built, as a program that has shown the help once has them.
void CreateScreens() {
    CreateScreens(MaterialsLateParts());
    if (Form7)
        Form7->BuildBrowser();
}

void StartScreens() {
    StartScreens([] { return &MaterialsLateParts(); });
}
