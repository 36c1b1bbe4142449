#pragma once

// Creation of the program's screens in their fixed order, and their destruction at exit.

/// Creates every screen once, in the program's order, each in its global reference; the main
/// screen first. Run after the application object exists.
void CreateScreens();

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
