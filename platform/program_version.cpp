// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/program_version.h"

#include "course_version.h"

#include <QCommandLineParser>

QString ProgramVersion() {
    return QStringLiteral(COURSE_VERSION);
}

QString VersionText(const QString& program) {
    return QStringLiteral("%1 %2\n"
                          "Лицензия GPL-3.0-or-later: GNU GPL версии 3 или более поздней "
                          "<https://www.gnu.org/licenses/gpl.html>.\n"
                          "Это свободная программа: её можно изменять и распространять. "
                          "Никаких гарантий в пределах, допускаемых законом.\n")
        .arg(program, ProgramVersion());
}

void AddHelpAndVersionOptions(QCommandLineParser* parser) {
    parser->addOption(QCommandLineOption({QStringLiteral("h"), QStringLiteral("help")},
                                         QStringLiteral("Показать эту справку.")));
    parser->addOption(QCommandLineOption({QStringLiteral("v"), QStringLiteral("version")},
                                         QStringLiteral("Показать версию программы.")));
}
