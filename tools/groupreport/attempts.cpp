// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/groupreport/attempts.h"

#include "platform/text_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>

namespace {

const QString kRule = QString(55, QLatin1Char('='));
const QString kAnswerLead = QStringLiteral("Набрано баллов за ответ: ");
const QString kTotalsLead = QStringLiteral("Задано вопросов: ");

// "07.12.2026  09:05:03": the date and the time are parted by two blanks.
void ReadMoment(const QString& line, ReportAttempt* attempt) {
    const qsizetype gap = line.indexOf(QStringLiteral("  "));
    attempt->date = (gap < 0 ? line : line.left(gap)).trimmed();
    attempt->time = gap < 0 ? QString() : line.mid(gap + 2).trimmed();
}

} // namespace

QList<ReportAttempt> StudentAttempts::Interrupted() const {
    QList<ReportAttempt> interrupted;
    for (const ReportAttempt& attempt : attempts) {
        if (!attempt.finished)
            interrupted << attempt;
    }
    return interrupted;
}

QList<ReportAttempt> ReadReportAttempts(QIODevice* device) {
    QStringList lines;
    Cp1251LineReader reader(device);
    QString line;
    while (reader.readLine(&line))
        lines << line;
    QList<ReportAttempt> attempts;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString& text = lines[i];
        // A block begins with the rule and its date line; the rule after the totals closes the
        // block and is followed by the next block's rule or by the end of the file.
        if (text == kRule) {
            if (i + 1 < lines.size() && lines[i + 1] != kRule) {
                ReportAttempt attempt;
                ReadMoment(lines[++i], &attempt);
                attempts << attempt;
            }
            continue;
        }
        if (attempts.isEmpty())
            continue;
        // With no right option the line "Правильный ответ: " runs on into the points.
        attempts.last().answers += int(text.count(kAnswerLead));
        if (text.startsWith(kTotalsLead))
            attempts.last().finished = true;
    }
    return attempts;
}

GroupAttempts ReadGroupAttempts(const QStringList& dataFolders) {
    GroupAttempts group;
    QStringList seen;
    for (const QString& folder : dataFolders) {
        const QDir reports(QDir(folder).absoluteFilePath(QStringLiteral("../print otchet")));
        if (!reports.exists()) {
            group.unchecked << folder;
            continue;
        }
        const QFileInfoList files =
            reports.entryInfoList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name);
        for (const QFileInfo& info : files) {
            const QString path = info.canonicalFilePath();
            if (seen.contains(path))
                continue;
            seen << path;
            QFile file(path);
            if (!file.open(QIODevice::ReadOnly))
                continue;
            ++group.reportsRead;
            StudentAttempts student;
            student.name = info.completeBaseName();
            student.file = info.filePath();
            student.attempts = ReadReportAttempts(&file);
            if (!student.Interrupted().isEmpty())
                group.students << student;
        }
    }
    std::sort(group.students.begin(), group.students.end(),
              [](const StudentAttempts& a, const StudentAttempts& b) {
                  return QString::localeAwareCompare(a.name, b.name) < 0;
              });
    return group;
}

QStringList AttemptLines(const GroupAttempts& group) {
    QStringList lines;
    for (const StudentAttempts& student : group.students) {
        for (const ReportAttempt& attempt : student.Interrupted())
            lines << QStringLiteral("Прервана попытка: %1, начата %2 %3, ответов: %4")
                         .arg(student.name, attempt.date, attempt.time)
                         .arg(attempt.answers);
    }
    for (const QString& folder : group.unchecked)
        lines << QStringLiteral("Попытки не проверены: рядом с %1 нет папки «print otchet»")
                     .arg(folder);
    return lines;
}

QByteArray WithAttemptsSection(const QByteArray& page, const GroupAttempts& group) {
    QString html = QStringLiteral("<h2 id=\"attempts\">Прерванные попытки</h2>\n");
    for (const QString& folder : group.unchecked)
        html += QStringLiteral("<p>Попытки не проверены: рядом с %1 нет папки «print "
                               "otchet».</p>\n")
                    .arg(folder.toHtmlEscaped());
    if (group.students.isEmpty()) {
        html += QStringLiteral("<p>Прерванных попыток нет (прочитано отчётов: %1).</p>\n")
                    .arg(group.reportsRead);
    } else {
        html += QStringLiteral("<p>Контрольные тесты, начатые и не доведённые до итога: их блок "
                               "в отчёте без итоговой строки.</p>\n<table>\n<tr><th>Студент</th>"
                               "<th>Начата</th><th>Ответов</th><th>Попыток всего</th></tr>\n");
        for (const StudentAttempts& student : group.students) {
            for (const ReportAttempt& attempt : student.Interrupted())
                html += QStringLiteral("<tr><td>%1</td><td>%2 %3</td><td>%4</td><td>%5</td></tr>\n")
                            .arg(student.name.toHtmlEscaped(), attempt.date.toHtmlEscaped(),
                                 attempt.time.toHtmlEscaped())
                            .arg(attempt.answers)
                            .arg(student.attempts.size());
        }
        html += QStringLiteral("</table>\n");
    }
    QByteArray result = page;
    const qsizetype end = result.lastIndexOf("</body>");
    result.insert(end < 0 ? result.size() : end, html.toUtf8());
    return result;
}
