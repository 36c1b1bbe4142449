// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
// pdbcheck: checks a question file with the loader the program uses.
//
//   pdbcheck FILE                        summary, or the first error with its line number
//   pdbcheck --json FILE                 the whole loaded bank as UTF-8 JSON
//   pdbcheck --strict [--course DIR] FILE   also everything a teacher must fix before an exam
//                                        (and the texts the data file holds wrapped in dots)
//
// Exit status: 0 clean, 1 problems (a refused file or, with --strict, anything reported),
// 2 the file could not be read (or the command line is wrong).

#include "platform/program_version.h"
#include "platform/russian_ui.h"
#include "tools/pdbcheck/question_file_check.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>

#include <cstdio>
#include <optional>

namespace {

enum ExitCode { kClean = 0, kProblems = 1, kUnreadable = 2 };

void Print(FILE* stream, const QString& line) {
    const QByteArray bytes = line.toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
}

// The course folder of a file in "<course>/ortu/": two levels above the file.
QString DefaultCourseFolder(const QString& file) {
    QDir folder = QFileInfo(file).absoluteDir();
    folder.cdUp();
    return folder.absolutePath();
}

void AddOptions(QCommandLineParser* parser) {
    parser->setApplicationDescription(QStringLiteral(
        "Проверяет файл вопросов (Windows-1251, CR LF) тем же загрузчиком, что и программа.\n"
        "Код завершения: 0 — замечаний нет, 1 — есть замечания или файл отвергнут, "
        "2 — файл не прочитан."));
    AddHelpAndVersionOptions(parser);
    const QCommandLineOption json(QStringLiteral("json"),
                                  QStringLiteral("Вывести весь загруженный файл в JSON (UTF-8)."));
    const QCommandLineOption strict(
        QStringLiteral("strict"),
        QStringLiteral("Сообщить обо всём, что нужно исправить до экзамена: кодировку, строки-"
                       "разделители, номера вопросов, начало вариантов, баллы, рисунки, "
                       "видеофрагменты, страницы учебника, число вопросов, пустые строки."));
    const QCommandLineOption course(
        QStringLiteral("course"),
        QStringLiteral("Папка курса, где лежат images\\ и html\\ (по умолчанию — папка над "
                       "папкой файла)."),
        QStringLiteral("папка"));
    parser->addOptions({json, strict, course});
    parser->addPositionalArgument(QStringLiteral("файл"), QStringLiteral("Файл вопросов pdbN.db."));
}

// Reads the command line; returns the exit code when the tool stops here (help, a wrong command
// line).
std::optional<int> ParseCommandLine(QCommandLineParser* parser) {
    AddOptions(parser);
    if (!parser->parse(QCoreApplication::arguments())) {
        Print(stderr, parser->errorText());
        return kUnreadable;
    }
    if (parser->isSet(QStringLiteral("help"))) {
        Print(stdout, parser->helpText());
        return kClean;
    }
    if (parser->isSet(QStringLiteral("version"))) {
        std::fputs(VersionText(QStringLiteral("pdbcheck")).toUtf8().constData(), stdout);
        return kClean;
    }
    if (parser->positionalArguments().size() != 1) {
        Print(stderr, QStringLiteral("Укажите один файл вопросов.\n") + parser->helpText());
        return kUnreadable;
    }
    return std::nullopt;
}

// Loads the file; returns the exit code when it could not be loaded, after saying why.
std::optional<int> LoadBank(const QString& path, QuestionBank* bank, LoadResult* load) {
    *load = bank->LoadFile(path);
    switch (load->status) {
    case LoadResult::Status::Ok:
        return std::nullopt;
    case LoadResult::Status::CannotOpen:
        Print(stderr, QStringLiteral("%1: файл не открывается").arg(path));
        return kUnreadable;
    case LoadResult::Status::ReadError:
        Print(stderr,
              QStringLiteral("%1:%2: %3").arg(path, QString::number(load->line), load->message));
        return kUnreadable;
    default:
        Print(stderr,
              QStringLiteral("%1:%2: %3").arg(path, QString::number(load->line), load->message));
        return kProblems;
    }
}

// What is wrong with the file's text, whether the loader took it or not.
QList<FileProblem> FileTextProblems(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? CheckFileText(file.readAll()) : QList<FileProblem>();
}

// Everything a teacher must fix before an exam, printed to the report stream.
int CheckStrictly(const QCommandLineParser& parser, const QString& path, const QuestionBank& bank,
                  const LoadResult& load, FILE* report) {
    const QString courseOption = QStringLiteral("course");
    QString folder =
        parser.isSet(courseOption) ? parser.value(courseOption) : DefaultCourseFolder(path);
    while (folder.size() > 1 && folder.endsWith(u'/'))
        folder.chop(1);
    const QList<FileProblem> problems =
        CheckQuestionFile(bank, load, folder, FileTextProblems(path));
    for (const FileProblem& problem : problems)
        Print(report, FormatProblem(problem));
    if (problems.isEmpty() && report == stdout)
        Print(stdout, QStringLiteral("Замечаний нет."));
    return problems.isEmpty() ? kClean : kProblems;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("pdbcheck"));
    InstallRussianTranslations(); // Qt's own texts of the usage and its errors

    QCommandLineParser parser;
    if (const std::optional<int> stop = ParseCommandLine(&parser))
        return *stop;
    const QString path = parser.positionalArguments().constFirst();

    QuestionBank bank;
    LoadResult load;
    if (const std::optional<int> failed = LoadBank(path, &bank, &load)) {
        // A refused file is mostly a slip the text shows at its own line.
        if (parser.isSet(QStringLiteral("strict")))
            for (const FileProblem& problem : FileTextProblems(path))
                Print(stderr, FormatProblem(problem));
        return *failed;
    }

    FILE* report = stdout;
    if (parser.isSet(QStringLiteral("json"))) {
        const QByteArray text = QJsonDocument(BankToJson(bank)).toJson(QJsonDocument::Indented);
        std::fwrite(text.constData(), 1, size_t(text.size()), stdout);
        report = stderr; // keep stdout valid JSON
    } else {
        for (const QString& line : Summary(path, bank, load))
            Print(stdout, line);
    }

    if (!parser.isSet(QStringLiteral("strict")))
        return kClean;
    return CheckStrictly(parser, path, bank, load, report);
}
