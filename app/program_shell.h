// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The program's side of the screens' shell: the main screen, the menu, the start bar, the textbook
// and the administration screen, reached through their global references.

#include "shell/screen_shell.h"

/// The one shell of the program, handed to every screen it makes.
ScreenShell& ProgramShell();
