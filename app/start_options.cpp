// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/start_options.h"

#include "platform/russian_ui.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>

namespace {
const QCommandLineOption kCourse({QStringLiteral("c"), QStringLiteral("course")},
                                 QStringLiteral("Папка курса."), QStringLiteral("папка"));
const QCommandLineOption kHelp({QStringLiteral("h"), QStringLiteral("help")},
                               QStringLiteral("Показать эту справку."));
const QCommandLineOption kVersion({QStringLiteral("v"), QStringLiteral("version")},
                                  QStringLiteral("Показать версию программы."));
} // namespace

StartOptions ParseStartOptions(const QStringList& arguments) {
    StartOptions options;
    QCommandLineParser parser;
    parser.addOption(kCourse);
    parser.addOption(kHelp);
    parser.addOption(kVersion);
    if (!parser.parse(arguments)) {
        options.error = QStringLiteral("Неверная командная строка: %1\n\n%2")
                            .arg(RussianCommandLineError(parser.errorText()), StartUsage());
        return options;
    }
    if (!parser.positionalArguments().isEmpty()) {
        options.error = QStringLiteral("Лишние параметры командной строки: %1\n\n%2")
                            .arg(parser.positionalArguments().join(QLatin1Char(' ')), StartUsage());
        return options;
    }
    options.help = parser.isSet(kHelp);
    options.version = parser.isSet(kVersion);
    options.courseFolder = parser.value(kCourse);
    return options;
}

QString StartUsage() {
    return QStringLiteral(
        "Использование: course-testing [параметры]\n"
        "Тренировочный и контрольный тест, учебник и просмотр ответов курса.\n"
        "Код завершения: 0 — программа закрыта, 2 — неверная командная строка или нет курса, "
        "6 — нет дисплея.\n"
        "\n"
        "Параметры:\n"
        "  -c, --course ПАПКА  папка курса: файлы вопросов ortu, учебник html, справка helphtml,\n"
        "                      рисунки и видеофрагменты images, звуки wave и папки результатов\n"
        "                      otchet/data1 и otchet/print otchet; без этого параметра —\n"
        "                      текущая папка, если в ней есть курс, иначе папка, которую\n"
        "                      называет файл настроек /etc/course-testing.conf\n"
        "  -h, --help          показать эту справку\n"
        "  -v, --version       показать версию программы\n");
}

QString CourseFolderProblem(const QString& folder) {
    // One listing of the question files' folder answers for all twelve names: on a network
    // share every file looked up alone costs a round trip to the server before the first window.
    const QStringList files =
        QDir(QDir(folder).filePath(QStringLiteral("ortu"))).entryList(QDir::Files, QDir::Unsorted);
    for (int n = 1; n <= 12; ++n) {
        if (files.contains(QStringLiteral("pdb%1.db").arg(n)))
            return QString();
    }
    // A lab keeps the question files from the students' accounts (only the exam keeper opens
    // them): a question folder this account may not enter is taken on trust.
    const QFileInfo questions(QDir(folder).filePath(QStringLiteral("ortu")));
    if (questions.isDir() && !questions.isExecutable())
        return QString();
    if (!QFileInfo(folder).isDir())
        return QStringLiteral("Папка курса «%1» не найдена.\n\n%2")
            .arg(QDir::toNativeSeparators(folder), StartUsage());
    return QStringLiteral("В папке «%1» нет курса: не найден ни один файл вопросов "
                          "(%2 … %3).\n"
                          "Запустите программу из папки курса или укажите её: "
                          "course-testing --course ПАПКА.")
        .arg(QDir::toNativeSeparators(QFileInfo(folder).absoluteFilePath()),
             QDir::toNativeSeparators(QStringLiteral("ortu/pdb1.db")),
             QDir::toNativeSeparators(QStringLiteral("ortu/pdb12.db")));
}

bool AskForX11(const QStringList& arguments,
               const std::function<QString(const char* name)>& environment) {
    if (!environment("QT_QPA_PLATFORM").isEmpty())
        return false;
    for (const QString& argument : arguments)
        if (argument == QLatin1String("-platform") || argument == QLatin1String("--platform") ||
            argument.startsWith(QLatin1String("-platform=")) ||
            argument.startsWith(QLatin1String("--platform=")))
            return false;
    const bool wayland = !environment("WAYLAND_DISPLAY").isEmpty() ||
                         environment("XDG_SESSION_TYPE") == QLatin1String("wayland");
    return wayland && !environment("DISPLAY").isEmpty();
}
