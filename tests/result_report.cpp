// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/result_report.h"

#include "platform/data_file_text.h"
#include "platform/paths.h"
#include "platform/regular_file.h"
#include "tests/percent_text.h"
#include "tests/result_lock.h"

#include <QDir>
#include <QFileInfo>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

std::optional<QDateTime> g_fixedNow;

const QString kReportRule = QString(55, QLatin1Char('='));

QString Header(const CandidateInfo& candidate) {
    return QStringLiteral("группа: ") + candidate.Group + QStringLiteral(",  специализация: ") +
           candidate.Specialization + QStringLiteral(",  ");
}

// "Задано вопросов: 10,  набрано баллов: 750 из 1000 возможных" without the lead text.
QString Totals(int questionCount, qint64 totalPoints) {
    return QString::number(questionCount) + QStringLiteral(",  набрано баллов: ") +
           QString::number(totalPoints) + QStringLiteral(" из ") +
           QString::number(qint64(questionCount) * 100) + QStringLiteral(" возможных");
}

// The file a result file literal names, refused when the name would leave the folder (a name
// with a separator, "." or "..").
bool StaysInFolder(const QString& path, const QString& folder, const QString& fileName) {
    const QFileInfo info(path);
    return info.fileName() == fileName && QDir::cleanPath(info.absolutePath()) ==
                                              QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
}

} // namespace

QDateTime ReportNow() {
    return g_fixedNow ? *g_fixedNow : QDateTime::currentDateTime();
}

void SetReportClockForTesting(std::optional<QDateTime> fixed) {
    g_fixedNow = std::move(fixed);
}

std::optional<QDateTime> ReportClockForTesting() {
    return g_fixedNow;
}

QLocale ReportLocale() {
    const QLocale locale;
    if (locale.language() == QLocale::C)
        return QLocale(QLocale::Russian, QLocale::Russia);
    return locale;
}

QString ReportDateText(const QDate& date, const QLocale& locale) {
    return locale.toString(date, QLocale::ShortFormat);
}

QString ReportTimeText(const QTime& time, const QLocale& locale) {
    // The long time format of a locale may end in the time-zone name ("HH:mm:ss t"); the
    // report gives the local time only.
    const QString format = locale.timeFormat(QLocale::LongFormat);
    QString kept;
    bool quoted = false;
    for (const QChar c : format) {
        if (c == u'\'')
            quoted = !quoted;
        if (!quoted && c == u't')
            continue;
        kept += c;
    }
    return locale.toString(time, kept.simplified());
}

// --- ResultReport ------------------------------------------------------------------------------

ResultReport::ResultReport() = default;

ResultReport::~ResultReport() {
    Release();
}

QString ResultReport::ReportFileLiteral(const QString& fullName) {
    return QStringLiteral("\\otchet\\print otchet\\") + fullName + QStringLiteral(".txt");
}

QString ResultReport::DataFileLiteral(const QString& fullName) {
    return QStringLiteral("\\otchet\\data1\\") + fullName + QStringLiteral(".txt");
}

void ResultReport::HoldNameLock(std::unique_ptr<ResultNameLock> lock) {
    m_lock = std::move(lock);
}

void ResultReport::Release() {
    m_report = Target{};
    m_data = Target{};
    if (m_reportFile)
        m_reportFile->close();
    if (m_dataFile)
        m_dataFile->close();
    m_reportFile.reset();
    m_dataFile.reset();
    m_open = false;
    // The name is given free only once both files are closed.
    m_lock.reset();
}

bool ResultReport::Sync() {
    // The files this writer opened reach the disk itself, not only the operating system, so
    // that a power cut loses no answer that was given.
    if (!m_reportFile || !m_dataFile)
        return true;
    const QStringList reasons =
        SyncToDisk(QList<QFileDevice*>{m_reportFile.get(), m_dataFile.get()});
    for (int i = 0; i < 2; ++i) {
        if (!reasons[i].isEmpty())
            return Fail(i == 0 ? m_report.name : m_data.name,
                        QStringLiteral("запись на диск не удалась: ") + reasons[i]);
    }
    return true;
}

bool ResultReport::Fail(const QString& name, const QString& detail) {
    if (m_error.isEmpty())
        m_error = InputOutputErrorMessage(name, detail);
    return false;
}

bool ResultReport::Check() {
    if (Failed())
        return false;
    if (!m_open)
        return Fail(m_data.name, QStringLiteral("файлы результатов не открыты"));
    return StillOurs();
}

bool ResultReport::StillOurs() {
    // Another PC that took the name after this one stood still for minutes writes the same
    // files; a file deleted or replaced by someone takes the lines nowhere the teacher looks.
    if (m_reportFile) {
        if (const QString reason = CheckStillNamed(m_reportFile.get(), m_reportFolder, m_fileName);
            !reason.isEmpty())
            return Fail(m_report.name, reason);
    }
    if (m_dataFile) {
        if (const QString reason = CheckStillNamed(m_dataFile.get(), m_dataFolder, m_fileName);
            !reason.isEmpty())
            return Fail(m_data.name, reason);
    }
    if (m_lock) {
        if (const QString reason = m_lock->LostReason(); !reason.isEmpty())
            return Fail(m_lock->Path(), reason);
    }
    return true;
}

bool ResultReport::EndCutLastLine(QFile* file, const QString& name) {
    // A test stopped by a full disk may have left the report's last line without its end: the
    // next block must not run on from it.
    const QByteArray tail = LastBytes(file, 1);
    if (tail.isEmpty() || tail.endsWith('\n'))
        return true;
    const QByteArray end = tail.endsWith('\r') ? QByteArray("\n") : QByteArray("\r\n");
    if (file->write(end) == end.size() && file->flush())
        return true;
    return Fail(name, QStringLiteral("запись не удалась: ") + file->errorString());
}

bool ResultReport::Line(Target& target, const QString& line) {
    if (target.writer->writeLine(line))
        return true;
    return Fail(target.name, QStringLiteral("запись не удалась: ") + target.writer->errorString());
}

bool ResultReport::Text(Target& target, const QString& text) {
    if (target.writer->write(text))
        return true;
    return Fail(target.name, QStringLiteral("запись не удалась: ") + target.writer->errorString());
}

bool ResultReport::List(Target& target, const QString& lead, const PositionFlags& positions,
                        const PositionPoints& points) {
    QString items;
    for (int k = 1; k <= kMaxOptions; ++k) {
        if (positions[k - 1])
            items += QStringLiteral("[%1]- (балл за ответ: %2), ").arg(k).arg(points[k - 1]);
    }
    // An empty list leaves the line open: what follows continues on the same line.
    return items.isEmpty() ? Text(target, lead) : Line(target, lead + items);
}

// The two folders and the two files below the program's folder.
struct ResultReport::Paths {
    QString fileName;
    QString reportFolder;
    QString dataFolder;
    QString reportPath;
    QString dataPath;
};

ResultReport::Paths ResultReport::PathsFor(const QString& programFolder, const QString& fullName) {
    Paths paths;
    paths.fileName = fullName + QStringLiteral(".txt");
    paths.reportFolder = DataPath(programFolder, QStringLiteral("\\otchet\\print otchet"));
    paths.dataFolder = DataPath(programFolder, QStringLiteral("\\otchet\\data1"));
    paths.reportPath = DataPath(programFolder, ReportFileLiteral(fullName));
    paths.dataPath = DataPath(programFolder, DataFileLiteral(fullName));
    return paths;
}

bool ResultReport::OpenReports(const QString& programFolder, const CandidateInfo& candidate,
                               const QString& date, const QString& time) {
    std::unique_ptr<ResultNameLock> lock = std::move(m_lock);
    Release();
    m_error.clear();
    const Paths paths = PathsFor(programFolder, candidate.FullName);

    if (!CheckFolders(paths))
        return false;
    if (!TakeNameLock(programFolder, candidate.FullName, lock))
        return false;
    if (!CheckFiles(paths))
        return false;
    // Declared here so that, should the data file be refused, the report file is closed before
    // the lock is given free.
    std::unique_ptr<QFile> reportFile;
    std::unique_ptr<QFile> dataFile;
    if (!OpenFiles(paths, reportFile, dataFile))
        return false;
    // The files are opened under the name, but nothing is cut off or written yet: a PC that
    // stood still while it opened them may have lost the name to another test meanwhile, whose
    // files these are now.
    if (const QString reason = lock->LostReason(); !reason.isEmpty())
        return Fail(lock->Path(), reason);
    if (!dataFile->resize(0))
        return Fail(paths.dataPath,
                    QStringLiteral("файл не очищается: ") + dataFile->errorString());
    if (!EndCutLastLine(reportFile.get(), paths.reportPath))
        return false;
    m_lock = std::move(lock);
    m_reportFile = std::move(reportFile);
    m_dataFile = std::move(dataFile);
    m_reportFolder = paths.reportFolder;
    m_dataFolder = paths.dataFolder;
    m_fileName = paths.fileName;
    const bool ok = OpenReports(m_reportFile.get(), paths.reportPath, m_dataFile.get(),
                                paths.dataPath, candidate, date, time);
    return ok;
}

bool ResultReport::CheckFolders(const Paths& paths) {
    if (!StaysInFolder(paths.reportPath, paths.reportFolder, paths.fileName))
        return Fail(paths.reportPath, QStringLiteral("недопустимое имя файла"));
    if (!StaysInFolder(paths.dataPath, paths.dataFolder, paths.fileName))
        return Fail(paths.dataPath, QStringLiteral("недопустимое имя файла"));
    // Both folders are checked before either file is touched, so that a missing one neither
    // adds to the report nor empties an earlier data file.
    // A result folder that is a symbolic link would lead the files elsewhere.
    if (const QString problem = CheckOutputFolder(paths.reportFolder); !problem.isEmpty())
        return Fail(paths.reportPath, problem);
    if (const QString problem = CheckOutputFolder(paths.dataFolder); !problem.isEmpty())
        return Fail(paths.dataPath, problem);
    return true;
}

bool ResultReport::TakeNameLock(const QString& programFolder, const QString& fullName,
                                std::unique_ptr<ResultNameLock>& lock) {
    // The name is taken for the whole test before either file is touched: a second test under
    // the same name, here or on another PC, must not empty the data file of this one. A lock
    // handed over is kept only while it still holds: one that another PC took while this one
    // stood still is no longer this test's, and the name is taken anew (refused while that
    // test runs).
    if (!lock || lock->FullName() != fullName ||
        lock->Path() != DataPath(programFolder, ResultNameLock::LockFileLiteral(fullName)) ||
        !lock->StillHeld()) {
        lock.reset(); // a lost lock leaves the file another PC made
        ResultNameLock::Attempt attempt = ResultNameLock::Acquire(programFolder, fullName);
        if (!attempt.lock) {
            m_error = attempt.message;
            return false;
        }
        lock = std::move(attempt.lock);
    }
    return true;
}

bool ResultReport::CheckFiles(const Paths& paths) {
    // Whatever stands under either name is checked before either file is touched, so that a
    // refused data file neither creates nor adds to the report.
    if (const QString problem = CheckOutputFile(paths.reportFolder, paths.fileName);
        !problem.isEmpty())
        return Fail(paths.reportPath, QStringLiteral("файл не открывается для записи: ") + problem);
    if (const QString problem = CheckOutputFile(paths.dataFolder, paths.fileName);
        !problem.isEmpty())
        return Fail(paths.dataPath, QStringLiteral("файл не открывается для записи: ") + problem);
    return true;
}

bool ResultReport::OpenFiles(const Paths& paths, std::unique_ptr<QFile>& reportFile,
                             std::unique_ptr<QFile>& dataFile) {
    // Only a regular file inside its folder is ever written: a symbolic link, a hard link, a
    // folder, a pipe or a device standing under the name is refused before a line is written.
    reportFile = std::make_unique<QFile>();
    if (const QString problem = OpenRegularFileForWriting(paths.reportFolder, paths.fileName,
                                                          WriteMode::Append, reportFile.get());
        !problem.isEmpty())
        return Fail(paths.reportPath, QStringLiteral("файл не открывается для записи: ") + problem);
    dataFile = std::make_unique<QFile>();
    if (const QString problem = OpenRegularFileForWriting(paths.dataFolder, paths.fileName,
                                                          WriteMode::Keep, dataFile.get());
        !problem.isEmpty())
        return Fail(paths.dataPath, QStringLiteral("файл не открывается для записи: ") + problem);
    return true;
}

bool ResultReport::OpenReports(QIODevice* report, const QString& reportName, QIODevice* data,
                               const QString& dataName, const CandidateInfo& candidate,
                               const QString& date, const QString& time) {
    if (report != m_reportFile.get() || data != m_dataFile.get())
        Release();
    m_error.clear();
    m_report.device = report;
    m_report.name = reportName;
    m_report.writer = std::make_unique<Cp1251LineWriter>(report);
    m_data.device = data;
    m_data.name = dataName;
    m_data.writer = std::make_unique<Cp1251LineWriter>(data);
    m_open = true;

    return Line(m_report, kReportRule) && Line(m_report, date + QStringLiteral("  ") + time) &&
           Line(m_report, QStringLiteral("ФИО: ") + candidate.FullName + QStringLiteral(",  ") +
                              Header(candidate) + QStringLiteral("квалификация: ") +
                              candidate.Qualification + QStringLiteral(",  тест: ") +
                              candidate.Topic) &&
           Line(m_report, QStringLiteral("          Ваши результаты:")) &&
           Line(m_data, date + QLatin1Char(' ') + time + QStringLiteral("  ") + candidate.FullName +
                            QStringLiteral(",  ") + Header(candidate) + candidate.Qualification +
                            QStringLiteral(",  тест: ") + candidate.Topic) &&
           Line(m_data, QStringLiteral("."));
}

bool ResultReport::WriteCount(int questionCount) {
    return Check() && Line(m_data, QString::number(questionCount)) &&
           Line(m_data, QStringLiteral(".")) && Sync();
}

bool ResultReport::WriteQuestion(int number, const Question& question, const QList<int>& order) {
    if (!Check())
        return false;
    const QString n = QString::number(number);
    if (!(Line(m_report, QStringLiteral("  Вопрос ") + n) && Line(m_report, question.Text)))
        return false;
    // The picture line holds "\" and the file name: the picture without "\images".
    const QString picture = question.Picture ? question.Picture->mid(7) : QStringLiteral(".");
    if (!(Line(m_data, QStringLiteral("Вопрос ") + n) && Line(m_data, QStringLiteral(".")) &&
          Line(m_data, DataFileTextLine(question.Text, DataFileText::Question)) &&
          Line(m_data, picture)))
        return false;
    const int count = std::min<int>(question.OptionCount, int(order.size()));
    if (count == 0) // an empty slot: the record still closes its option block
        return Line(m_data, QString()) && Line(m_data, QStringLiteral("."));
    for (int p = 1; p <= count; ++p) {
        const int option = order[p - 1];
        const QString text =
            option >= 1 && option <= kMaxOptions ? question.Options[option - 1].Text : QString();
        if (!(Line(m_data, DataFileTextLine(text, DataFileText::Option)) &&
              Line(m_data, p < count ? QStringLiteral(",") : QStringLiteral("."))))
            return false;
    }
    return true;
}

bool ResultReport::WriteAnswer(const PositionFlags& ticked, const PositionPoints& points,
                               qint64 answerPoints) {
    if (!Check())
        return false;
    bool anyTicked = false;
    PositionFlags correct{};
    for (int k = 0; k < kMaxOptions; ++k) {
        anyTicked = anyTicked || ticked[k];
        correct[k] = points[k] != 0;
    }
    const QString lead = QStringLiteral("Вы ответили: ");
    const QString none = QStringLiteral("Ваш ответ: ответа не было,");
    const QString right = QStringLiteral("Правильный ответ: ");
    const QString given =
        QStringLiteral("Набрано баллов за ответ: ") + QString::number(answerPoints);
    return (anyTicked ? List(m_report, lead, ticked, points) : Line(m_report, none)) &&
           List(m_report, right, correct, points) && Line(m_report, given) &&
           (anyTicked ? List(m_data, lead, ticked, points) : Line(m_data, none)) &&
           Line(m_data, QStringLiteral("#")) && List(m_data, right, correct, points) &&
           Line(m_data, QStringLiteral("&")) && Line(m_data, given) &&
           Line(m_data, QStringLiteral("$")) && Sync();
}

bool ResultReport::WriteTotals(int questionCount, qint64 totalPoints) {
    if (!Check())
        return false;
    const QString percent = PercentText(totalPoints, questionCount);
    return Line(m_report, QStringLiteral("--------")) &&
           Line(m_report, QStringLiteral("Задано вопросов: ") + Totals(questionCount, totalPoints) +
                              QStringLiteral(",  это составляет ") + percent + QLatin1Char('%')) &&
           Line(m_report, kReportRule) &&
           Line(m_data, QStringLiteral(", задано вопросов: ") + Totals(questionCount, totalPoints) +
                            QStringLiteral("  это составляет ") + percent + QLatin1Char('%')) &&
           Line(m_data, QStringLiteral("@")) && Sync();
}

bool ResultReport::CloseReports() {
    if (!m_open) {
        Release(); // a name taken for a test that never opened its files is given free
        return !Failed();
    }
    // Every line was handed to the files as it was written; closing must not lose the last.
    for (QFile* file : {m_reportFile.get(), m_dataFile.get()}) {
        if (file == nullptr)
            continue;
        const QString name = file == m_reportFile.get() ? m_report.name : m_data.name;
        if (!file->flush())
            Fail(name, QStringLiteral("запись не удалась: ") + file->errorString());
        file->close();
        if (file->error() != QFileDevice::NoError)
            Fail(name, QStringLiteral("файл не закрывается: ") + file->errorString());
    }
    Release();
    return !Failed();
}
