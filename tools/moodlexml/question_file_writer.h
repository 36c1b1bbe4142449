// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "questions/question_bank.h"

#include <QIODevice>
#include <QString>

// Writes a question bank as a question file (Windows-1251, CR LF) that the loader reads back to
// the same bank: every joined block becomes one line (its joining blank dropped), the question
// line begins with "Вопрос" (the six characters the loader drops), the reference line with ">"
// (the character it drops), an option line with its number and a blank. A control character
// never reaches the file: it is written as a blank.

/// The line that joins to `joined` (a block text that ends with its joining blank); an empty
/// text gives no line.
QString LineOfBlock(const QString& joined);

/// True when every text of the bank can be written in Windows-1251.
bool FitsCp1251(const QString& text);

/// Writes the bank; false with *error set when the device fails.
bool WriteQuestionFile(const QuestionBank& bank, QIODevice* device, QString* error);
