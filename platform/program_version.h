// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The version of the program and the teachers' tools, from the build (cmake/CourseVersion.cmake).

/// "1.0.0" for a release, "1.0.0+git193.gbb19760" for a build between releases.
QString ProgramVersion();

/// What `--version` prints: the program's name and version, then its licence.
QString VersionText(const QString& program);

class QCommandLineParser;

/// The options every tool has, "-h, --help" and "-v, --version", with Russian descriptions of our
/// own: Qt's own help option brings "--help-all", whose text Qt 6.8 changed and its Russian
/// catalogue does not have.
void AddHelpAndVersionOptions(QCommandLineParser* parser);
