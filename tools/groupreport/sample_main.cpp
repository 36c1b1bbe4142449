// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
// samplegroup: writes the data files of a generated group of students with the program's own
// result writer, for trying groupreport out and for demonstrations.
//
//   samplegroup [--students N] [--questions N | --min-questions A --max-questions B]
//               [--seed S] QUESTION_FILE FOLDER

#include "tools/groupreport/sample_group.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>

#include <cstdio>

namespace {

void Print(FILE* stream, const QString& line) {
    const QByteArray bytes = line.toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Записывает файлы данных контрольного теста для группы сгенерированных студентов "
        "(тем же модулем записи, что и программа)."));
    parser.addHelpOption();
    const QCommandLineOption students(QStringLiteral("students"),
                                      QStringLiteral("Число студентов (30)."), QStringLiteral("N"),
                                      QStringLiteral("30"));
    const QCommandLineOption questions(QStringLiteral("questions"),
                                       QStringLiteral("Вопросов в тесте (10)."),
                                       QStringLiteral("N"), QStringLiteral("10"));
    const QCommandLineOption minQuestions(QStringLiteral("min-questions"),
                                          QStringLiteral("Наименьшее число вопросов."),
                                          QStringLiteral("N"));
    const QCommandLineOption maxQuestions(QStringLiteral("max-questions"),
                                          QStringLiteral("Наибольшее число вопросов."),
                                          QStringLiteral("N"));
    const QCommandLineOption seed(QStringLiteral("seed"), QStringLiteral("Начальное число."),
                                  QStringLiteral("S"), QStringLiteral("1"));
    parser.addOptions({students, questions, minQuestions, maxQuestions, seed});
    parser.addPositionalArgument(QStringLiteral("файл"), QStringLiteral("Файл вопросов."));
    parser.addPositionalArgument(QStringLiteral("папка"), QStringLiteral("Папка для файлов."));
    parser.process(app);
    if (parser.positionalArguments().size() != 2) {
        Print(stderr, parser.helpText());
        return 2;
    }
    QuestionBank bank;
    const LoadResult load = bank.LoadFile(parser.positionalArguments()[0]);
    if (!load.ok() || bank.QuestionCount == 0) {
        Print(stderr, load.ok() ? QStringLiteral("В файле нет вопросов.") : load.message);
        return 2;
    }
    SampleGroupOptions options;
    options.students = parser.value(students).toInt();
    options.minQuestions = parser.value(questions).toInt();
    options.maxQuestions = options.minQuestions;
    if (parser.isSet(minQuestions))
        options.minQuestions = parser.value(minQuestions).toInt();
    if (parser.isSet(maxQuestions))
        options.maxQuestions = parser.value(maxQuestions).toInt();
    options.seed = parser.value(seed).toUInt();
    const QString folder = parser.positionalArguments()[1];
    QDir().mkpath(folder);
    QString error;
    const QStringList written = WriteSampleGroup(bank, folder, options, &error);
    if (!error.isEmpty()) {
        Print(stderr, error);
        return 2;
    }
    Print(stdout, QStringLiteral("Записано файлов: %1 в %2").arg(written.size()).arg(folder));
    return 0;
}
