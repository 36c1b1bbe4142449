// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The screens and services that start the web engine and the media players. The program makes
// them through this table: it loads them as a module once its main screen is on the display, so
// that their libraries are not part of its start; the tests link them.

class MediaPlayer;
class QObject;
class QString;
class ScreenShell;
class TForm7;
class TForm9;
class TForm14;

struct LateParts {
    TForm7* (*makeHelp)(ScreenShell& shell);
    TForm14* (*makeTextbook)(ScreenShell& shell);
    TForm9* (*makeVideoViewer)(ScreenShell& shell);
    /// Builds the textbook's browser, which starts the web engine.
    void (*buildHeavyParts)();
    /// The Qt Multimedia player and sound, without the test seams.
    MediaPlayer* (*makeMediaPlayer)(QObject* parent);
    void (*playSound)(const QString& path);
};

/// The table of this build of the parts.
const LateParts& MaterialsLateParts();

/// The module's entry; its name as a string for the loader.
extern "C" const LateParts* CourseLateParts();
inline constexpr char kLatePartsEntry[] = "CourseLateParts";
