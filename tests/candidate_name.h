// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// The candidate's name ("Фамилия И. О.") becomes part of the names of the two result files of a
// control test, "<name>.txt" in each result folder, and is written inside them in Windows-1251.
// A name that a file name on Windows or Linux cannot hold would write the files somewhere else
// or not at all, and a name whose file name differs from what is written inside the file, or
// that looks like another name, would mix results up; so the test buttons refuse such names
// before any test opens, and a name that passes never fails at the file's open for its name.

/// Empty when `name` can be part of a result file's name in each of `resultFolders`; otherwise
/// the Russian message that tells the student what to change. Refused, in this order:
/// - any of \ / : * ? " < > |, any control character (tab, line break ...) and the line and
///   paragraph separators U+2028, U+2029;
/// - invisible format characters (Unicode category Cf: U+200F right-to-left mark, U+200B zero
///   width space, U+FEFF, the soft hyphen ...);
/// - characters that Windows-1251 cannot hold (the file would hold another name than its own);
/// - a name made only of dots;
/// - a Windows device name (CON, PRN, AUX, NUL, COM1-COM9, LPT1-LPT9 ...) in any case, with or
///   without an extension, with blanks or dots after it;
/// - a name whose file name "<name>.txt", encoded as the file system takes it (UTF-8 bytes on
///   Linux), is longer than a folder's file system allows (pathconf NAME_MAX, mostly 255 bytes;
///   255 UTF-16 units on Windows), or whose whole path is longer than its PATH_MAX.
/// Blanks are allowed, a name of blanks included.
QString CandidateNameProblem(const QString& name, const QStringList& resultFolders = {});
