// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

struct StartOptions;

// The PC's own setting for every account on it: /etc/course-testing.conf names the course
// folder, so that a lab points every PC at its shared course without touching the desktop entry.
//
//   # comment
//   course = /mnt/kurs
//
// The file is the administrator's, written with the system's editors: UTF-8 (a Windows-1251
// file is read as well), LF or CR LF line ends.

/// Where the program looks for it.
inline constexpr char kSiteConfigPath[] = "/etc/course-testing.conf";

struct SiteSettings {
    QString courseFolder; // empty when the file is missing or names none
    QString error;        // a Russian message naming the file and the line when it is wrong
};

/// Reads the settings file at `path`; a missing file is no error.
SiteSettings ReadSiteSettings(const QString& path);

/// The course folder the program works in: the one named with --course; else the working folder
/// when it holds a course (or when there is no settings file); else the one the settings file at
/// `configPath` names. Sets *problem to the Russian message to show when the settings are wrong or
/// name no folder while the working folder holds no course; a folder chosen otherwise is checked
/// for a course once the first window is painted (CourseFolderProblem).
QString ChooseCourseFolder(const StartOptions& options, const QString& workingFolder,
                           const QString& configPath, QString* problem);
