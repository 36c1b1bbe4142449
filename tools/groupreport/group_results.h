// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tests/result_report.h"

#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>
#include <array>
#include <functional>

// The results of a group as its control tests left them: every data file of one or more folders
// read with the review's reader, checked for consistency and turned into one record per student.
// A file that cannot serve the report (cut off, damaged, not a data file, a second file of the
// same student) is listed with its reason and never stops the others.

/// One question as it was asked and answered.
struct AnsweredQuestion {
    QString text;            // the question as stored (the screens hide its first 9 characters)
    QStringList options;     // option texts in the order shown
    PositionPoints points{}; // points of the option at each display position
    PositionFlags ticked{};  // the positions the student ticked
    qint64 answerPoints = 0;

    /// The question as the screens show it: from its 10th character on, without the outer blanks.
    QString ShownText() const;
};

/// One student's control test.
struct StudentResult {
    QString file;
    QString name;
    QString group;
    QString specialization;
    QString qualification;
    QString test;
    QString date;
    QString time;
    int questionCount = 0;
    qint64 points = 0;
    qint64 maximum = 0;
    QString percent; // as the result files write it, without the padding blanks ("75.0")
    QList<AnsweredQuestion> answers;

    /// The points as a share of the maximum (0 when the maximum is 0).
    double Share() const { return maximum > 0 ? double(points) / double(maximum) : 0.0; }
};

struct UnusableFile {
    QString file;
    QString reason;
};

struct GroupResults {
    QList<StudentResult> students; // sorted by test, group and name
    QList<UnusableFile> unusable;  // in the order the files were read
    int filesRead = 0;
};

/// The question and option texts of many files kept once: every student of a group answers the
/// same questions, so a text read from a file is replaced by the equal text read before it and
/// all the answers to a question share one copy of its texts.
class SharedTexts {
public:
    /// Replaces *text by the equal text kept before, or keeps it for the texts that follow.
    void Share(QString* text);

private:
    QSet<QString> m_texts;
};

/// Reads one data file's content into *student, or gives the reason it cannot be used.
/// `fileName` names the file in reasons. With `shared`, the texts of the answers are shared
/// with the files read before through it.
bool ReadStudentResult(QIODevice* device, const QString& fileName, StudentResult* student,
                       QString* reason, SharedTexts* shared = nullptr);

/// Every regular file of the folders (not their subfolders), sorted by name within a folder.
/// Folders that do not exist are listed in *missing.
QStringList DataFilesOf(const QStringList& folders, QStringList* missing = nullptr);

/// Reads the files (several at a time, on all processor cores), calling progress(done, total)
/// from the calling thread as they are read, and keeps one record per
/// student and test: of two files of the same student (name, group, test) the later test stays
/// and the other is listed as unusable.
GroupResults ReadGroup(const QStringList& files,
                       const std::function<void(int, int)>& progress = nullptr);
