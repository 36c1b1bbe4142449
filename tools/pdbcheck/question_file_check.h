// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "questions/question_bank.h"

#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>

// What pdbcheck reports about a loaded question file.

/// One thing a teacher must fix. `question` is 0 for the file as a whole; `line` the line the
/// problem was found at (0 when none applies).
struct FileProblem {
    int question = 0;
    int line = 0;
    QString text;
    bool encoding = false; // the file is not in Windows-1251: its texts say nothing more
};

/// True when some of the question's options worth positive points add up to exactly 100.
bool PointsCanReach100(const Question& question);

/// The most points a student can get for the question: the sum of its positive options.
qint64 AttainablePoints(const Question& question);

/// What is wrong with a question file's text before the loader reads it, each at its own line:
/// an encoding other than Windows-1251 (UTF-8, a byte-order mark, UTF-16), a text line that
/// begins with "." (it ends its block), a line of the question text or note that begins with "\"
/// (it ends the block and shifts the rest of the question), a line of an option's text that
/// begins with "," (it ends the option and shifts every later points line), points that are not
/// a number (".O", ",100%"), a blank or tab before a "," or "." marker line (it becomes text), a
/// last option closed by "," (the next question is read as its options), an option line without
/// the two characters the loader drops (a long word cut, or a start unlike the other options').
QList<FileProblem> CheckFileText(const QByteArray& bytes);

/// Everything in a loaded file that stops it from serving an exam (with the problems of its text
/// found by CheckFileText): options that cannot make a full answer or make more than 100 points,
/// an option without text that is worth points,
/// a question number that does not fill the nine hidden characters, pictures, option pictures,
/// video fragments and textbook pages missing below courseFolder, picture and video names that lead
/// outside its images folder (with the line that names them), a declared count different from the
/// questions held, empty lines; and the question and option texts that the data file of a control
/// test holds wrapped in dots because they begin with a character the review reads as a marker
/// there.
QList<FileProblem> CheckQuestionFile(const QuestionBank& bank, const LoadResult& load,
                                     const QString& courseFolder,
                                     const QList<FileProblem>& fileText = {});

/// "вопрос 3 (строка 27): ..." or "файл: ..." for a problem of the whole file.
QString FormatProblem(const FileProblem& problem);

/// The whole bank, texts exactly as the bank stores them.
QJsonObject BankToJson(const QuestionBank& bank);

/// A one-screen summary of a loaded file.
QStringList Summary(const QString& path, const QuestionBank& bank, const LoadResult& load);
