// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
// moodlexml: question exchange with Moodle through its XML question format.
//
//   moodlexml export [--course DIR] QUESTION_FILE OUT.xml
//   moodlexml import [--images DIR] IN.xml QUESTION_FILE
//
// Export reads pictures and video fragments from the course's "images" folder (by default the
// folder above the question file's folder) and embeds them. Import writes the question file in
// Windows-1251 with CR LF and the embedded files into the pictures folder (by default "images"
// beside the question file's folder), prints one line per question it refused and why.
// Exit status: 0 everything taken, 1 written with questions left out or refused, 2 nothing
// written.

#include "platform/program_version.h"
#include "platform/russian_ui.h"
#include "tools/moodlexml/moodle_xml.h"
#include "tools/moodlexml/question_file_writer.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cstdio>

namespace {

enum ExitCode { kDone = 0, kRefused = 1, kFailed = 2 };

void Print(FILE* stream, const QString& line) {
    const QByteArray bytes = line.toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
}

// "<course>/images" for a question file in "<course>/ortu/".
QString CourseFolderOf(const QString& questionFile) {
    QDir folder = QFileInfo(questionFile).absoluteDir();
    folder.cdUp();
    return folder.absolutePath();
}

int Export(const QString& questionFile, const QString& out, const QString& course) {
    QuestionBank bank;
    const LoadResult load = bank.LoadFile(questionFile);
    if (!load.ok()) {
        Print(stderr,
              QStringLiteral("%1:%2: %3").arg(questionFile).arg(load.line).arg(load.message));
        return kFailed;
    }
    QSaveFile file(out);
    if (!file.open(QIODevice::WriteOnly)) {
        Print(stderr, QStringLiteral("%1: файл не записан: %2").arg(out, file.errorString()));
        return kFailed;
    }
    const MoodleExport result = ExportMoodleXml(bank, course, &file);
    if (!result.ok() || !file.commit()) {
        Print(stderr, QStringLiteral("%1: файл не записан: %2")
                          .arg(out, result.ok() ? file.errorString() : result.error));
        return kFailed;
    }
    for (const QString& skipped : result.skipped)
        Print(stdout, QStringLiteral("Не выгружен %1").arg(skipped));
    for (const QString& warning : result.warnings)
        Print(stdout, QStringLiteral("Замечание: ") + warning);
    Print(stdout, QStringLiteral("Вопросов выгружено: %1 из %2, не выгружено: %3 → %4")
                      .arg(result.exported)
                      .arg(bank.QuestionCount)
                      .arg(result.skipped.size())
                      .arg(out));
    return result.skipped.isEmpty() ? kDone : kRefused;
}

int Import(const QString& in, const QString& questionFile, const QString& images) {
    QFile xml(in);
    if (!xml.open(QIODevice::ReadOnly)) {
        Print(stderr, QStringLiteral("%1: файл не открывается: %2").arg(in, xml.errorString()));
        return kFailed;
    }
    const MoodleImport result = ImportMoodleXml(&xml);
    if (!result.ok()) {
        Print(stderr, QStringLiteral("%1: %2").arg(in, result.error));
        return kFailed;
    }
    for (const QString& refused : result.refused)
        Print(stdout, QStringLiteral("Не перенесён вопрос %1").arg(refused));
    if (result.bank.QuestionCount == 0) {
        Print(stderr, QStringLiteral("%1: ни одного вопроса, который можно перенести; файл "
                                     "вопросов не записан")
                          .arg(in));
        return kFailed;
    }
    if (!result.files.isEmpty() && !QDir().mkpath(images)) {
        Print(stderr, QStringLiteral("%1: папка не создаётся").arg(images));
        return kFailed;
    }
    for (const EmbeddedFile& embedded : result.files) {
        const QString path = QDir(images).filePath(embedded.name);
        QFile existing(path);
        if (existing.open(QIODevice::ReadOnly)) {
            if (existing.readAll() != embedded.bytes)
                Print(stdout, QStringLiteral("Замечание: %1 уже есть и отличается от вложенного "
                                             "в XML; оставлен прежний")
                                  .arg(path));
            continue;
        }
        QSaveFile file(path);
        if (!file.open(QIODevice::WriteOnly) ||
            file.write(embedded.bytes) != embedded.bytes.size() || !file.commit()) {
            Print(stderr, QStringLiteral("%1: файл не записан: %2").arg(path, file.errorString()));
            return kFailed;
        }
    }
    QSaveFile file(questionFile);
    QString error;
    if (!file.open(QIODevice::WriteOnly) || !WriteQuestionFile(result.bank, &file, &error) ||
        !file.commit()) {
        Print(stderr, QStringLiteral("%1: файл не записан: %2")
                          .arg(questionFile, error.isEmpty() ? file.errorString() : error));
        return kFailed;
    }
    for (const QString& warning : result.warnings)
        Print(stdout, QStringLiteral("Замечание: ") + warning);
    Print(stdout, QStringLiteral("Вопросов перенесено: %1, не перенесено: %2 → %3")
                      .arg(result.bank.QuestionCount)
                      .arg(result.refused.size())
                      .arg(questionFile));
    return result.refused.isEmpty() ? kDone : kRefused;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("moodlexml"));
    InstallRussianTranslations(); // Qt's own texts of the usage and its errors
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Обмен вопросами с Moodle (формат Moodle XML).\n"
        "  moodlexml export [--course папка] pdbN.db вопросы.xml\n"
        "  moodlexml import [--images папка] вопросы.xml pdbN.db\n"
        "Код завершения: 0 — перенесено всё, 1 — файл записан, но часть вопросов не перенесена, "
        "2 — ничего не записано."));
    AddHelpAndVersionOptions(&parser);
    const QCommandLineOption course(QStringLiteral("course"),
                                    QStringLiteral("Папка курса с папкой images (для export)."),
                                    QStringLiteral("папка"));
    const QCommandLineOption images(
        QStringLiteral("images"), QStringLiteral("Папка рисунков и видеофрагментов (для import)."),
        QStringLiteral("папка"));
    parser.addOptions({course, images});
    parser.addPositionalArgument(QStringLiteral("команда"), QStringLiteral("export или import."));
    parser.addPositionalArgument(QStringLiteral("откуда"), QStringLiteral("Исходный файл."));
    parser.addPositionalArgument(QStringLiteral("куда"), QStringLiteral("Файл результата."));
    if (!parser.parse(QCoreApplication::arguments())) {
        Print(stderr, parser.errorText());
        return kFailed;
    }
    if (parser.isSet(QStringLiteral("help"))) {
        Print(stdout, parser.helpText());
        return kDone;
    }
    if (parser.isSet(QStringLiteral("version"))) {
        std::fputs(VersionText(QStringLiteral("moodlexml")).toUtf8().constData(), stdout);
        return kDone;
    }
    const QStringList args = parser.positionalArguments();
    if (args.size() != 3 ||
        (args[0] != QStringLiteral("export") && args[0] != QStringLiteral("import"))) {
        Print(stderr, parser.helpText());
        return kFailed;
    }
    if (args[0] == QStringLiteral("export"))
        return Export(args[1], args[2],
                      parser.isSet(course) ? parser.value(course) : CourseFolderOf(args[1]));
    return Import(args[1], args[2],
                  parser.isSet(images) ? parser.value(images)
                                       : CourseFolderOf(args[2]) + QStringLiteral("/images"));
}
