// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/groupreport/csv_report.h"

#include <algorithm>

namespace {

QString Field(const QString& text) {
    if (!text.contains(u';') && !text.contains(u'"') && !text.contains(u'\n') &&
        !text.contains(u'\r'))
        return text;
    QString quoted = text;
    quoted.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

} // namespace

QByteArray GroupCsv(const QList<StudentResult>& students) {
    int columns = 0;
    for (const StudentResult& student : students)
        columns = std::max(columns, int(student.answers.size()));
    QStringList header{QStringLiteral("ФИО"),
                       QStringLiteral("Группа"),
                       QStringLiteral("Специализация"),
                       QStringLiteral("Квалификация"),
                       QStringLiteral("Тест"),
                       QStringLiteral("Дата"),
                       QStringLiteral("Время"),
                       QStringLiteral("Задано вопросов"),
                       QStringLiteral("Набрано баллов"),
                       QStringLiteral("Максимум"),
                       QStringLiteral("Процент")};
    for (int q = 1; q <= columns; ++q)
        header << QStringLiteral("Вопрос %1").arg(q);
    QString text = header.join(u';') + QStringLiteral("\r\n");
    for (const StudentResult& s : students) {
        QStringList row{Field(s.name),
                        Field(s.group),
                        Field(s.specialization),
                        Field(s.qualification),
                        Field(s.test),
                        Field(s.date),
                        Field(s.time),
                        QString::number(s.questionCount),
                        QString::number(s.points),
                        QString::number(s.maximum),
                        s.percent};
        for (const AnsweredQuestion& answer : s.answers)
            row << QString::number(answer.answerPoints);
        while (row.size() < header.size())
            row << QString();
        text += row.join(u';') + QStringLiteral("\r\n");
    }
    return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
}
