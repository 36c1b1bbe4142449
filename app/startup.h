#pragma once

// Creation of the program's screens in their fixed order, and their destruction at exit.

/// Creates every screen once, in the program's order, each in its global reference; the main
/// screen first; and builds the textbook's browser with them. Run after the application object
/// exists.
void CreateScreens();

/// The program's start: creates the screens in the same order, shows the main screen with its
/// splash, and builds the textbook's browser (which starts the web engine) once the splash has
/// been painted, well before the splash hands over to the textbook. The help's browser and the
/// media players are made when they are first used.
void StartScreens();

/// Destroys every screen that still exists, the main screen last.
void DestroyScreens();

/// Re-creates a screen that freed itself on close: when flag is 1, makes a new instance, stores
/// it in the global reference and clears the flag.
template <typename Form, typename Pointer> void RecreateIfFreed(int& flag, Pointer& global) {
    if (flag == 1 || !global) {
        global = new Form();
        flag = 0;
    }
}
