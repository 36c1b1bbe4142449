// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "questions/question_bank.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

// Generated groups of students for demonstrations, tests and benchmarks: every student takes a
// control test drawn from a question bank, answers it as a student of some ability would, and
// the program's own result writer (ResultReport) writes the data file, exactly as the control
// screen does.

struct SampleGroupOptions {
    int students = 30;
    int minQuestions = 10; // each student is asked a count in minQuestions..maxQuestions
    int maxQuestions = 10;
    quint32 seed = 1;
    QString topic = QStringLiteral("ИТОГОВОЕ ТЕСТИРОВАНИЕ");
    int studentsPerGroup = 30; // students 1-30 form the first group, 31-60 the second, ...
    QDateTime start = QDateTime(QDate(2026, 12, 7), QTime(9, 0));
};

/// Writes one data file per student into folder (which must exist), named as the control test
/// names it ("<name>.txt"). Returns the paths written; on a failure *error holds the message
/// and the files written so far stay.
QStringList WriteSampleGroup(const QuestionBank& bank, const QString& folder,
                             const SampleGroupOptions& options, QString* error);

/// The name of generated student i (0-based): unique for i below 12000.
QString SampleStudentName(int i);
