// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Creation of the program's screens in their fixed order, and their destruction at exit.

#include <functional>

struct LateParts;

/// Creates every screen once, in the program's order, each in its global reference; the main
/// screen first; and builds the textbook's browser with them. Run after the application object
/// exists. The first form makes the screens on the web engine and the media players of the
/// parts linked with the caller.
void CreateScreens();
void CreateScreens(const LateParts& parts);

/// The program's start: creates the main screen and shows it with its splash; once it has been
/// painted, loadParts gives the parts on the web engine and the media players (the program loads
/// them then), and the other screens are made in the same order. The textbook's browser (which
/// starts the web engine) is built as the first thing of the message loop, well before the splash
/// hands over to the textbook. The help's browser and the media players are made when they are
/// first used. False when loadParts gave nothing; only the main screen exists then. The second
/// form starts with the parts linked with the caller.
bool StartScreens(const std::function<const LateParts*()>& loadParts);
void StartScreens();

/// Destroys every screen that still exists, the main screen last.
void DestroyScreens();
