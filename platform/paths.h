// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringView>

// Data paths are written as the program's literals with "\" separators ("\ortu\", "\images\");
// this is the one place where they become paths of the platform.

/// The literal with every "\" replaced by the platform's separator ("/" here).
QString NativeSeparators(const QString& literal);

/// ProgramFolder followed by a literal part such as "\html\0000.htm", as a usable path.
QString DataPath(const QString& programFolder, const QString& literal);

/// The working directory without a trailing separator (the program folder at start-up).
QString CurrentFolder();

/// True when `name` is one of the Windows device names CON, PRN, AUX, NUL, CONIN$, CONOUT$,
/// COM1-COM9 and LPT1-LPT9 (also with the superscript digits ¹ ² ³), in any case, with or
/// without an extension and with blanks or dots after it ("nul.txt", "Com1 .log"): Windows
/// opens the device for such a file name in any folder.
bool IsWindowsDeviceName(QStringView name);

// Pictures, option pictures and video fragments are named by question files (and, through the
// data file, by the review) below "\images". A name is used only when it stays inside that
// folder on Windows as on Linux; any other name opens nothing, as a missing picture does.

/// True when the name, read below "\images" with "" and "/" as separators, stays inside the
/// folder: it does not begin with a separator (a root, "\server"), no part holds ":" (a drive
/// "C:", a stream) or a NUL, no part is made of dots and blanks only (".", "..", ".. ") and no
/// part is a Windows device name.
bool StaysInImagesFolder(QStringView name);

/// ProgramFolder + "\images" + name as a usable path; empty when the name leads outside the
/// folder.
QString ImagesPath(const QString& programFolder, const QString& name);

/// The picture of an option whose text begins with "!": ProgramFolder + "\images" + the text,
/// with blanks removed from both ends of the whole path; empty when the text leads outside the
/// folder.
QString OptionPicturePath(const QString& programFolder, const QString& optionText);
