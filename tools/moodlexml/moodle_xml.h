// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "questions/question_bank.h"

#include <QByteArray>
#include <QIODevice>
#include <QList>
#include <QString>
#include <QStringList>

// Question exchange with Moodle through its XML question format.
//
// Export: the question file's title and parameters go to the category's description; every
// question becomes a "multichoice" question with check boxes, as the program shows it: the part
// of its text the screens hide (its first nine characters, the question's number) as the name,
// the rest as the question text, the picture embedded in it (a video fragment as an embedded
// link), the options with their points as fractions (a 0-point option as -100 %, so that Moodle's
// clamped sum equals the program's points wherever those lie in 0..100), a picture option as an
// embedded picture, the note and the textbook page as the general feedback. A question Moodle
// would stop its whole import at is left out with the reason: one option, a fraction that is not
// one Moodle offers, right options that do not add up to 100 %. Where Moodle's grade cannot equal
// the program's points, where an option of -100 points or less will come back from Moodle worth
// 0, and where a video fragment is in a format browsers do not play, a warning says so.
//
// Import: "multichoice" and "truefalse" questions. A question the question file cannot carry is
// refused with its name and the reason (another type, no or more than five options, a fraction
// that is not a whole number of points, characters outside Windows-1251, several pictures, a
// picture beside the text of an option, a picture by an outside link, one answer with points on
// several options); the others are kept. Embedded pictures and video fragments are handed back to
// be put into the course's pictures folder.

struct MoodleExport {
    int exported = 0;    // questions written
    QStringList skipped; // "вопрос 3 (№03-Т1.): reason", one per question Moodle would reject
    QStringList warnings; // files not found, scoring differences, points that come back otherwise
    QString error;        // the device or a file failed; what was written is incomplete
    bool ok() const { return error.isEmpty(); }
};

/// The base64 text the export keeps at most of files that several questions show (4 MiB, the
/// sample course's 14 files repeated 2700 times fit); other files are streamed in pieces.
inline constexpr qint64 kMoodleExportCacheBytes = 4 * 1024 * 1024;

/// Writes the bank as Moodle XML to `out` as it goes; pictures are read from courseFolder's
/// "images" folder where they are embedded, each file several questions show once as long as its
/// base64 text fits in cacheBudget bytes with the others kept.
MoodleExport ExportMoodleXml(const QuestionBank& bank, const QString& courseFolder, QIODevice* out,
                             qint64 cacheBudget = kMoodleExportCacheBytes);

struct EmbeddedFile {
    QString name; // a plain file name, as the question file names it ("!" and "$" included)
    QByteArray bytes;
};

struct MoodleImport {
    QuestionBank bank;
    QStringList refused;  // "«name»: reason", one per question not taken
    QStringList warnings; // what was taken with a change worth knowing
    QList<EmbeddedFile> files;
    QString error; // the XML could not be read; nothing was taken
    bool ok() const { return error.isEmpty(); }
};

MoodleImport ImportMoodleXml(QIODevice* device);
