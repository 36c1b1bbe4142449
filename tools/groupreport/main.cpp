// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
// groupreport: the results of a group (or of a year of groups) from the data files of their
// control tests.
//
//   groupreport [--csv FILE] [--answers FILE] [--html FILE] [--title TEXT] FOLDER...
//
// Reads every file of the folders, writes the CSV and the HTML page, prints a progress bar while
// it reads (on a terminal only), a short summary and one line per file it could not use.
// Exit status: 0 written, 1 written but no file could be used, 2 nothing written.

#include "tools/groupreport/attempts.h"
#include "platform/program_version.h"
#include "platform/russian_ui.h"
#include "tools/groupreport/csv_report.h"
#include "tools/groupreport/group_results.h"
#include "tools/groupreport/html_report.h"
#include "tools/groupreport/item_analysis.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cstdio>
#include <optional>
#include <unistd.h>

namespace {

enum ExitCode { kWritten = 0, kNothingUsable = 1, kFailed = 2 };

void Print(FILE* stream, const QString& line) {
    const QByteArray bytes = line.toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
}

// "Чтение файлов [#########-----------]  451 из 1000", redrawn in place on a terminal.
class ProgressBar {
public:
    explicit ProgressBar(bool enabled) : m_enabled(enabled) {}
    void operator()(int done, int total) {
        if (!m_enabled || total <= 0 || m_finished)
            return;
        const int width = 30;
        const int filled = int(qint64(done) * width / total);
        if (filled == m_lastFilled && done != total && done - m_lastDone < 200)
            return;
        m_lastFilled = filled;
        m_lastDone = done;
        const QString bar = QString(filled, u'#') + QString(width - filled, u'-');
        const QByteArray line = QStringLiteral("\rЧтение файлов [%1] %2 из %3")
                                    .arg(bar)
                                    .arg(done, QString::number(total).size())
                                    .arg(total)
                                    .toUtf8();
        std::fwrite(line.constData(), 1, size_t(line.size()), stderr);
        m_finished = done == total;
        if (m_finished)
            std::fputs("\n", stderr);
        std::fflush(stderr);
    }

private:
    bool m_enabled;
    int m_lastFilled = -1;
    int m_lastDone = 0;
    bool m_finished = false;
};

bool WriteFile(const QString& path, const QByteArray& bytes, QString* error) {
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return true;
    *error = QStringLiteral("%1: файл не записан: %2").arg(path, file.errorString());
    return false;
}

// What the command line asks for.
struct CommandLine {
    QString csvPath;
    QString answersPath;
    QString htmlPath;
    QString title;
    QStringList folders;
};

void AddOptions(QCommandLineParser* parser) {
    parser->setApplicationDescription(QStringLiteral(
        "Сводит результаты контрольных тестов группы: читает все файлы данных из папок "
        "(otchet\\data1) и пишет таблицу CSV для электронных таблиц и страницу HTML с "
        "диаграммами и анализом вопросов.\nКод завершения: 0 — отчёт записан, 1 — записан, но "
        "ни один файл не подошёл, 2 — отчёт не записан."));
    AddHelpAndVersionOptions(parser);
    const QCommandLineOption csv(QStringLiteral("csv"),
                                 QStringLiteral("Файл таблицы (по умолчанию results.csv)."),
                                 QStringLiteral("файл"), QStringLiteral("results.csv"));
    const QCommandLineOption html(QStringLiteral("html"),
                                  QStringLiteral("Файл страницы (по умолчанию results.html)."),
                                  QStringLiteral("файл"), QStringLiteral("results.html"));
    const QCommandLineOption title(QStringLiteral("title"), QStringLiteral("Заголовок страницы."),
                                   QStringLiteral("текст"),
                                   QStringLiteral("Результаты контрольного тестирования"));
    const QCommandLineOption answers(
        QStringLiteral("answers"),
        QStringLiteral("Файл таблицы ответов: строка на студента и вопрос, для сводных таблиц "
                       "(по умолчанию рядом с таблицей, с «-ответы» в имени)."),
        QStringLiteral("файл"));
    parser->addOptions({csv, answers, html, title});
    parser->addPositionalArgument(QStringLiteral("папка"),
                                  QStringLiteral("Папки с файлами данных тестов."),
                                  QStringLiteral("папка..."));
}

// "группа-ответы.csv" beside "группа.csv".
QString AnswersPathBeside(const QString& csvPath) {
    const QFileInfo csv(csvPath);
    const QString name = csv.suffix().isEmpty()
                             ? csv.fileName() + QStringLiteral("-ответы")
                             : csv.completeBaseName() + QStringLiteral("-ответы.") + csv.suffix();
    return csv.dir().filePath(name);
}

// Reads the command line into *line; returns the exit code when the tool stops here (help, a
// wrong command line).
std::optional<int> ParseCommandLine(CommandLine* line) {
    QCommandLineParser parser;
    AddOptions(&parser);
    if (!parser.parse(QCoreApplication::arguments())) {
        Print(stderr, parser.errorText());
        return kFailed;
    }
    if (parser.isSet(QStringLiteral("help"))) {
        Print(stdout, parser.helpText());
        return kWritten;
    }
    if (parser.isSet(QStringLiteral("version"))) {
        std::fputs(VersionText(QStringLiteral("groupreport")).toUtf8().constData(), stdout);
        return kWritten;
    }
    line->folders = parser.positionalArguments();
    if (line->folders.isEmpty()) {
        Print(stderr, QStringLiteral("Укажите хотя бы одну папку.\n") + parser.helpText());
        return kFailed;
    }
    line->csvPath = parser.value(QStringLiteral("csv"));
    line->answersPath = parser.isSet(QStringLiteral("answers"))
                            ? parser.value(QStringLiteral("answers"))
                            : AnswersPathBeside(line->csvPath);
    line->htmlPath = parser.value(QStringLiteral("html"));
    line->title = parser.value(QStringLiteral("title"));
    return std::nullopt;
}

// The short summary, the written files and one line per file that was not used.
void PrintSummary(const GroupResults& group, const QList<ItemStatistics>& items,
                  const CommandLine& line) {
    double mean = 0;
    for (const StudentResult& student : group.students)
        mean += student.Share() * 100.0;
    if (!group.students.isEmpty())
        mean /= double(group.students.size());
    const auto flagged = std::count_if(items.begin(), items.end(),
                                       [](const ItemStatistics& i) { return !i.flags.isEmpty(); });
    Print(stdout, QStringLiteral("Прочитано файлов: %1; студентов в отчёте: %2; не учтено "
                                 "файлов: %3")
                      .arg(group.filesRead)
                      .arg(group.students.size())
                      .arg(group.unusable.size()));
    Print(stdout, QStringLiteral("Средний процент: %1; вопросов: %2, с замечаниями: %3")
                      .arg(group.students.isEmpty() ? QStringLiteral("— (ни одного студента)")
                                                    : QString::number(mean, 'f', 1))
                      .arg(items.size())
                      .arg(flagged));
    Print(stdout, QStringLiteral("Таблица: %1").arg(QFileInfo(line.csvPath).absoluteFilePath()));
    Print(
        stdout,
        QStringLiteral("Таблица ответов: %1").arg(QFileInfo(line.answersPath).absoluteFilePath()));
    Print(stdout, QStringLiteral("Страница: %1").arg(QFileInfo(line.htmlPath).absoluteFilePath()));
    for (const UnusableFile& file : group.unusable)
        Print(stdout, QStringLiteral("Не учтён %1: %2").arg(file.file, file.reason));
}

} // namespace

int main(int argc, char* argv[]) {
    // The charts are drawn off screen: the tool needs no display.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("groupreport"));
    InstallRussianTranslations(); // Qt's own texts of the usage and its errors
    CommandLine line;
    if (const std::optional<int> stop = ParseCommandLine(&line))
        return *stop;

    QStringList missing;
    const QStringList files = DataFilesOf(line.folders, &missing);
    for (const QString& folder : missing)
        Print(stderr, QStringLiteral("%1: папки нет").arg(folder));
    if (missing.size() == line.folders.size())
        return kFailed;

    ProgressBar progress(isatty(fileno(stderr)) != 0);
    const GroupResults group = ReadGroup(files, std::ref(progress));
    const QList<ItemStatistics> items = AnalyseItems(group.students);

    const GroupAttempts attempts = ReadGroupAttempts(line.folders);

    QString error;
    if (!WriteFile(line.csvPath, GroupCsv(group.students), &error) ||
        !WriteFile(line.answersPath, AnswersCsv(group.students), &error) ||
        !WriteFile(line.htmlPath,
                   WithAttemptsSection(GroupHtml(line.title, group, items), attempts), &error)) {
        Print(stderr, error);
        return kFailed;
    }
    PrintSummary(group, items, line);
    for (const QString& attempt : AttemptLines(attempts))
        Print(stdout, attempt);
    return group.students.isEmpty() ? kNothingUsable : kWritten;
}
