// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/groupreport/attempts.h"

#include "platform/text_file.h"
#include "tests/attempt_journal.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>

namespace {

const QString kRule = QString(55, QLatin1Char('='));
const QString kAnswerLead = QStringLiteral("Набрано баллов за ответ: ");
const QString kTotalsLead = QStringLiteral("Задано вопросов: ");
const QString kPercentLead = QStringLiteral("это составляет ");

// "07.12.2026  09:05:03": the date and the time are parted by two blanks.
void ReadMoment(const QString& line, ReportAttempt* attempt) {
    const qsizetype gap = line.indexOf(QStringLiteral("  "));
    attempt->date = (gap < 0 ? line : line.left(gap)).trimmed();
    attempt->time = gap < 0 ? QString() : line.mid(gap + 2).trimmed();
}

// The accounts of the tests started under each name in the journal at `path`, if there is one.
void ReadAccounts(const QString& path, QStringList* seen, GroupAttempts* group) {
    const QString real = QFileInfo(path).canonicalFilePath();
    if (real.isEmpty() || seen->contains(real))
        return;
    *seen << real;
    group->journalRead = true;
    for (const JournalLine& line : ReadJournal(real)) {
        if (line.event != QStringLiteral("начата"))
            continue;
        const QString account = line.login.isEmpty()
                                    ? QStringLiteral("uid %1").arg(line.uid)
                                    : QStringLiteral("%1 (%2)").arg(line.login).arg(line.uid);
        auto entry = std::find_if(group->accounts.begin(), group->accounts.end(),
                                  [&](const NameAccounts& n) { return n.name == line.name; });
        if (entry == group->accounts.end())
            entry = group->accounts.insert(group->accounts.end(), {line.name, {}});
        if (!entry->accounts.contains(account))
            entry->accounts << account;
    }
}

// "начата 07.12.2026 09:05:03, итог 83.3%" or "..., прервана, ответов: 2".
QString AttemptText(const ReportAttempt& attempt) {
    const QString start = QStringLiteral("начата %1 %2, ").arg(attempt.date, attempt.time);
    if (attempt.finished)
        return start + QStringLiteral("итог %1%").arg(attempt.percent);
    return start + QStringLiteral("прервана, ответов: %1").arg(attempt.answers);
}

const QString kManyAccounts = QStringLiteral("имя тестировалось с нескольких учётных записей");

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
        if (text.startsWith(kTotalsLead)) {
            attempts.last().finished = true;
            const qsizetype percent = text.lastIndexOf(kPercentLead);
            if (percent >= 0)
                attempts.last().percent =
                    text.mid(percent + kPercentLead.size()).remove(QLatin1Char('%')).trimmed();
        }
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
            // A report a teacher saved again in UTF-8 is read as he sees it in his editor.
            QByteArray bytes = Cp1251OfEditedText(file.readAll());
            QBuffer buffer(&bytes);
            buffer.open(QIODevice::ReadOnly);
            student.attempts = ReadReportAttempts(&buffer);
            if (student.attempts.size() > 1 || !student.Interrupted().isEmpty())
                group.students << student;
        }
        ReadAccounts(reports.filePath(QStringLiteral("attempts.log")), &seen, &group);
    }
    std::sort(group.students.begin(), group.students.end(),
              [](const StudentAttempts& a, const StudentAttempts& b) {
                  return QString::localeAwareCompare(a.name, b.name) < 0;
              });
    std::sort(group.accounts.begin(), group.accounts.end(),
              [](const NameAccounts& a, const NameAccounts& b) {
                  return QString::localeAwareCompare(a.name, b.name) < 0;
              });
    return group;
}

QStringList AttemptLines(const GroupAttempts& group) {
    QStringList lines;
    for (const StudentAttempts& student : group.students) {
        for (const ReportAttempt& attempt : student.attempts)
            lines << QStringLiteral("Попытка: %1, %2").arg(student.name, AttemptText(attempt));
    }
    for (const QString& folder : group.unchecked)
        lines << QStringLiteral("Попытки не проверены: рядом с %1 нет папки «print otchet»")
                     .arg(folder);
    for (const NameAccounts& name : group.accounts)
        lines << QStringLiteral("Учётные записи: %1: %2%3")
                     .arg(name.name, name.accounts.join(QStringLiteral(", ")),
                          name.accounts.size() > 1 ? QStringLiteral(" — ") + kManyAccounts
                                                   : QString());
    return lines;
}

QByteArray WithAttemptsSection(const QByteArray& page, const GroupAttempts& group) {
    QString html = QStringLiteral("<h2 id=\"attempts\">Попытки</h2>\n");
    for (const QString& folder : group.unchecked)
        html += QStringLiteral("<p>Попытки не проверены: рядом с %1 нет папки «print "
                               "otchet».</p>\n")
                    .arg(folder.toHtmlEscaped());
    if (group.students.isEmpty()) {
        html += QStringLiteral("<p>Повторных и прерванных попыток нет (прочитано отчётов: "
                               "%1).</p>\n")
                    .arg(group.reportsRead);
    } else {
        html += QStringLiteral("<p>Студенты, у которых в отчёте больше одного контрольного теста "
                               "или тест, не доведённый до итога (его блок без итоговой "
                               "строки); в файле данных только последний.</p>\n<table>\n"
                               "<tr><th>Студент</th><th>Начата</th><th>Итог</th>"
                               "<th>Попыток всего</th></tr>\n");
        for (const StudentAttempts& student : group.students) {
            for (const ReportAttempt& attempt : student.attempts)
                html += QStringLiteral("<tr><td>%1</td><td>%2 %3</td><td>%4</td><td>%5</td></tr>\n")
                            .arg(student.name.toHtmlEscaped(), attempt.date.toHtmlEscaped(),
                                 attempt.time.toHtmlEscaped(),
                                 attempt.finished
                                     ? (attempt.percent + QLatin1Char('%')).toHtmlEscaped()
                                     : QStringLiteral("прервана, ответов: %1").arg(attempt.answers),
                                 QString::number(student.attempts.size()));
        }
        html += QStringLiteral("</table>\n");
    }
    if (group.journalRead) {
        html += QStringLiteral("<h2 id=\"accounts\">Учётные записи</h2>\n<p>Учётные записи, под "
                               "которыми начинались контрольные тесты под каждым именем (журнал "
                               "попыток).</p>\n<table>\n<tr><th>Студент</th><th>Учётные "
                               "записи</th><th></th></tr>\n");
        for (const NameAccounts& name : group.accounts)
            html += QStringLiteral("<tr><td>%1</td><td>%2</td><td>%3</td></tr>\n")
                        .arg(name.name.toHtmlEscaped(),
                             name.accounts.join(QStringLiteral(", ")).toHtmlEscaped(),
                             name.accounts.size() > 1
                                 ? QStringLiteral("<strong>%1</strong>").arg(kManyAccounts)
                                 : QString());
        html += QStringLiteral("</table>\n");
    }
    QByteArray result = page;
    const qsizetype end = result.lastIndexOf("</body>");
    result.insert(end < 0 ? result.size() : end, html.toUtf8());
    return result;
}
