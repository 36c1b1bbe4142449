// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/site_config.h"

#include "app/start_options.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

namespace {
QString LineProblem(const QString& path, int line, const QString& what) {
    return QStringLiteral("Ошибка в файле настроек %1, строка %2: %3")
        .arg(QDir::toNativeSeparators(path))
        .arg(line)
        .arg(what);
}

QString Decoded(const QByteArray& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    QStringDecoder cp1251("windows-1251");
    return cp1251.isValid() ? QString(cp1251.decode(bytes)) : text;
}
} // namespace

SiteSettings ReadSiteSettings(const QString& path) {
    SiteSettings settings;
    QFile file(path);
    if (!file.exists())
        return settings;
    if (!file.open(QIODevice::ReadOnly)) {
        settings.error = QStringLiteral("Файл настроек %1 не читается: %2")
                             .arg(QDir::toNativeSeparators(path), file.errorString());
        return settings;
    }
    const QStringList lines = Decoded(file.readAll()).split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        const QString line = lines[i].trimmed(); // the CR of a CR LF too
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')) ||
            line.startsWith(QLatin1Char(';')))
            continue;
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals < 0) {
            settings.error = LineProblem(path, i + 1,
                                         QStringLiteral("нужна запись вида "
                                                        "«course = ПАПКА»."));
            return settings;
        }
        const QString key = line.left(equals).trimmed();
        const QString value = line.mid(equals + 1).trimmed();
        if (key != QLatin1String("course")) {
            settings.error = LineProblem(
                path, i + 1,
                QStringLiteral("неизвестный параметр «%1» (есть только course).").arg(key));
            return settings;
        }
        if (!QDir::isAbsolutePath(value)) {
            settings.error = LineProblem(
                path, i + 1,
                QStringLiteral("папка курса «%1» должна быть указана полным путём.").arg(value));
            return settings;
        }
        settings.courseFolder = value;
    }
    return settings;
}

QString ChooseCourseFolder(const StartOptions& options, const QString& workingFolder,
                           const QString& configPath, QString* problem) {
    // A folder named on the command line or in the settings file is looked into only once the
    // first window is painted (on a network share every look costs a round trip to the server);
    // the working folder is looked into here only when a settings file could name another.
    problem->clear();
    if (!options.courseFolder.isEmpty())
        return options.courseFolder;
    if (!QFileInfo::exists(configPath))
        return workingFolder;
    const QString workingProblem = CourseFolderProblem(workingFolder);
    if (workingProblem.isEmpty()) {
        problem->clear();
        return workingFolder;
    }
    const SiteSettings site = ReadSiteSettings(configPath);
    if (!site.error.isEmpty()) {
        *problem = site.error;
        return workingFolder;
    }
    if (site.courseFolder.isEmpty()) {
        *problem = workingProblem +
                   QStringLiteral("\nПапку курса для всех пользователей компьютера называет "
                                  "файл настроек %1.")
                       .arg(QDir::toNativeSeparators(configPath));
        return workingFolder;
    }
    return site.courseFolder;
}
