// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/supervisor_check.h"

#include "tests/supervisor_code.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>

namespace {

const QString kHelper = QStringLiteral("course-testing-code-check");

QString HelperPath() {
    const QString programFolder = QCoreApplication::applicationDirPath();
    const QStringList places = {programFolder + QLatin1Char('/') + kHelper,
                                programFolder + QStringLiteral("/" COURSE_CODE_CHECK_INSTALLED),
#ifdef COURSE_BUILD_BIN_DIR
                                QStringLiteral(COURSE_BUILD_BIN_DIR "/") + kHelper
#endif
    };
    for (const QString& place : places)
        if (QFileInfo(place).isExecutable())
            return place;
    return {};
}

} // namespace

SupervisorCheck CheckSupervisorCode(const QString& courseFolder, const QString& code) {
    const QString folder = QDir(courseFolder).absolutePath();
    const QString helper = HelperPath();
    if (helper.isEmpty()) {
        switch (supervisor_code::CheckCode(QFile::encodeName(folder).toStdString(),
                                           code.toStdString())) {
        case supervisor_code::Verdict::Accepted:
            return SupervisorCheck::Accepted;
        case supervisor_code::Verdict::Refused:
            return SupervisorCheck::Refused;
        case supervisor_code::Verdict::Unreadable:
            return SupervisorCheck::Unreadable;
        }
    }
    QProcess process;
    process.setProcessEnvironment(QProcessEnvironment());
    process.start(helper, {folder});
    if (!process.waitForStarted())
        return SupervisorCheck::Unreadable;
    process.write(code.toUtf8() + '\n');
    process.closeWriteChannel();
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit) {
        process.kill();
        process.waitForFinished();
        return SupervisorCheck::Unreadable;
    }
    switch (process.exitCode()) {
    case 0:
        return SupervisorCheck::Accepted;
    case 1:
        return SupervisorCheck::Refused;
    default:
        return SupervisorCheck::Unreadable;
    }
}

QString SupervisorCodeUnreadableMessage(const QString& courseFolder) {
    return QStringLiteral("Код преподавателя проверить не удалось: файл «%1» не читается.")
        .arg(QDir(courseFolder).filePath(QString::fromLatin1(supervisor_code::kHashFileName)));
}
