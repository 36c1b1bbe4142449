// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <functional>

// What the program is told when it starts: the course folder it works in. The folder named with
// --course comes first, the working folder second; a folder without a course is refused with a
// Russian message instead of opening screens that have nothing to show.

struct StartOptions {
    QString courseFolder; // from --course, empty when not given
    bool help = false;    // --help: print the usage and stop
    bool version = false; // --version: print the version and stop
    QString error;        // a Russian message when the command line is wrong
};

/// Reads the command line (arguments[0] is the program).
StartOptions ParseStartOptions(const QStringList& arguments);

/// The usage text printed by --help.
QString StartUsage();

/// Empty when `folder` holds a course (a question file "ortu/pdb1.db" ... "ortu/pdb12.db");
/// otherwise the Russian message to show.
QString CourseFolderProblem(const QString& folder);

/// True when the program should ask Qt for X11 (on Wayland, through XWayland): the screens place
/// and stack their windows themselves, which only X11 allows, and an exam holds the keyboard and
/// the pointer through it. Not when the user chose a platform (QT_QPA_PLATFORM or -platform), nor
/// without an X server to reach (DISPLAY). environment gives a variable's value, empty if unset.
bool AskForX11(const QStringList& arguments,
               const std::function<QString(const char* name)>& environment);
