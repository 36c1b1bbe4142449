// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/text_file.h"
#include "questions/answer_points.h"
#include "questions/question_bank.h"

#include <QDate>
#include <QDateTime>
#include <QFile>
#include <QList>
#include <QLocale>
#include <QString>
#include <QTime>
#include <array>
#include <memory>
#include <optional>

class ResultNameLock;

// The two result files of a control test, both named after the student and both Windows-1251
// with CR LF:
//   "\otchet\print otchet\<name>.txt"  the printable report, every test under the name appended;
//   "\otchet\data1\<name>.txt"         the data file of the last test, read back by the review.
// Both are written while the test runs and every line reaches the file at once; the files the
// writer opened itself are forced to the disk after the count, after every answer and after the
// totals, so an answer that was given is on the disk before the next question is shown. Nothing
// but a regular file inside its result folder is ever opened for writing. While the files are
// open the writer holds the name's lock (ResultNameLock), so no second control test under the
// same name can empty the data file. After the first failure (a folder that is missing, a device
// that cannot be written, a name in use) every later call fails as well and ErrorMessage() holds
// the message to show: the input/output error message with the system's reason, or the
// name-in-use message. Before every write the writer checks that it still holds the name and
// that both files it opened still stand under their names (not deleted, not replaced, their
// folders still there): a write that would go where nobody looks fails instead.

/// The registration of the student as the menu holds it.
struct CandidateInfo {
    QString FullName;
    QString Group;
    QString Specialization;
    QString Qualification;
    QString Topic;
};

/// The current date and time for a report header. Tests fix it with SetReportClockForTesting.
QDateTime ReportNow();
void SetReportClockForTesting(std::optional<QDateTime> fixed);
/// The moment SetReportClockForTesting fixed, if any (handed on to the exam keeper).
std::optional<QDateTime> ReportClockForTesting();

/// The locale of the system (the default locale), or Russian where the system names none (the
/// C locale), since everything else the program writes is Russian.
QLocale ReportLocale();
/// The date as the locale writes it in its short format ("07.12.2026" in Russian).
QString ReportDateText(const QDate& date, const QLocale& locale = ReportLocale());
/// The time in the locale's long format, without a time-zone name ("09:05:03").
QString ReportTimeText(const QTime& time, const QLocale& locale = ReportLocale());

class ResultReport {
public:
    ResultReport();
    ~ResultReport();
    ResultReport(const ResultReport&) = delete;
    ResultReport& operator=(const ResultReport&) = delete;

    /// "\otchet\print otchet\" + name + ".txt" and "\otchet\data1\" + name + ".txt".
    static QString ReportFileLiteral(const QString& fullName);
    static QString DataFileLiteral(const QString& fullName);

    /// Opens the printable report for appending and the data file anew below programFolder and
    /// writes their headers. The folders are not created. A name that would put a file outside
    /// its folder is refused, and so is a folder or file that is not a plain one (see
    /// OpenRegularFileForWriting). The name's lock is taken first (or the one handed over with
    /// HoldNameLock is used); it is held until CloseReports.
    bool OpenReports(const QString& programFolder, const CandidateInfo& candidate,
                     const QString& date, const QString& time);
    /// The same over devices the caller opened for writing and keeps; the names are used in
    /// messages.
    bool OpenReports(QIODevice* report, const QString& reportName, QIODevice* data,
                     const QString& dataName, const CandidateInfo& candidate, const QString& date,
                     const QString& time);

    /// A lock on the candidate's name taken before the test screen opened; OpenReports keeps it
    /// when it is for the same name and folder. Given free by CloseReports.
    void HoldNameLock(std::unique_ptr<ResultNameLock> lock);
    bool HoldsNameLock() const { return m_lock != nullptr; }

    /// The number of questions of the test (data file only).
    bool WriteCount(int questionCount);
    /// The record of the question shown as number `number`; order[p - 1] is the option of the
    /// file shown at display position p. A question or option text that begins with a marker
    /// the review reads at its place ("." or "\" for the question text, "," or "." for an
    /// option) goes to the data file wrapped in dots, "." + text + ".", which the reader undoes
    /// (platform/data_file_text.h); every other text, and every text of the printable report,
    /// is written as it is.
    bool WriteQuestion(int number, const Question& question, const QList<int>& order);
    /// The answer to the question last written: the ticked positions, the points of the options
    /// at the five positions (0 where a position is empty) and the points given.
    bool WriteAnswer(const PositionFlags& ticked, const PositionPoints& points,
                     qint64 answerPoints);
    bool WriteTotals(int questionCount, qint64 totalPoints);
    /// Closes both files. True when everything written reached them.
    bool CloseReports();

    bool IsOpen() const { return m_open; }
    bool Failed() const { return !m_error.isEmpty(); }
    QString ErrorMessage() const { return m_error; }

private:
    struct Target {
        QIODevice* device = nullptr;
        QString name;
        std::unique_ptr<Cp1251LineWriter> writer;
    };
    bool Fail(const QString& name, const QString& detail);
    bool Check();
    bool StillOurs();
    bool EndCutLastLine(QFile* file, const QString& name);
    bool Line(Target& target, const QString& line);
    bool Text(Target& target, const QString& text);
    bool List(Target& target, const QString& lead, const PositionFlags& positions,
              const PositionPoints& points);
    bool Sync();
    void Release();

    // The steps of opening the two files below a program folder, in this order.
    struct Paths;
    static Paths PathsFor(const QString& programFolder, const QString& fullName);
    bool CheckFolders(const Paths& paths);
    bool TakeNameLock(const QString& programFolder, const QString& fullName,
                      std::unique_ptr<ResultNameLock>& lock);
    bool CheckFiles(const Paths& paths);
    bool OpenFiles(const Paths& paths, std::unique_ptr<QFile>& reportFile,
                   std::unique_ptr<QFile>& dataFile);

    Target m_report;
    Target m_data;
    std::unique_ptr<QFile> m_reportFile;
    std::unique_ptr<QFile> m_dataFile;
    std::unique_ptr<ResultNameLock> m_lock;
    // Where the files this writer opened stand, checked before every write.
    QString m_reportFolder;
    QString m_dataFolder;
    QString m_fileName;
    bool m_open = false;
    QString m_error;
};
