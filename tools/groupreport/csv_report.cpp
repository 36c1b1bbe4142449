#include "tools/groupreport/csv_report.h"

#include <QCollator>
#include <QHash>

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

// The percentage with the decimal comma of Russian spreadsheets.
QString Percent(const QString& percent) {
    return QString(percent).replace(u'.', u',');
}

QString Csv(const QList<QStringList>& rows) {
    QString text;
    for (const QStringList& row : rows)
        text += row.join(u';') + QStringLiteral("\r\n");
    return text;
}

QByteArray WithByteOrderMark(const QString& text) {
    return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
}

// The question's number: the nine characters the screens hide, without the blanks.
QString NumberOf(const AnsweredQuestion& answer) {
    return answer.text.left(9).trimmed();
}

// The questions asked in the group, each once (by its text), in the order of their numbers.
QStringList QuestionTexts(const QList<StudentResult>& students) {
    QHash<QString, bool> seen;
    QStringList texts;
    for (const StudentResult& student : students) {
        for (const AnsweredQuestion& answer : student.answers) {
            if (!seen.contains(answer.text)) {
                seen.insert(answer.text, true);
                texts << answer.text;
            }
        }
    }
    QCollator collator(QLocale(QLocale::Russian, QLocale::Russia));
    collator.setNumericMode(true);
    std::stable_sort(texts.begin(), texts.end(), [&](const QString& a, const QString& b) {
        return collator.compare(a, b) < 0;
    });
    return texts;
}

} // namespace

QByteArray GroupCsv(const QList<StudentResult>& students) {
    const QStringList texts = QuestionTexts(students);
    QHash<QString, qsizetype> column;
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
    const qsizetype first = header.size();
    QHash<QString, int> numbers; // how many columns a number heads so far
    for (const QString& text : texts) {
        column.insert(text, header.size());
        QString number = text.left(9).trimmed(); // the number the screens hide
        if (number.isEmpty())
            number = QStringLiteral("Вопрос");
        const int seen = ++numbers[number];
        header << Field(seen > 1 ? QStringLiteral("%1 (%2)").arg(number).arg(seen) : number);
    }
    QList<QStringList> rows{header};
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
                        Percent(s.percent)};
        row.resize(header.size());
        for (const AnsweredQuestion& answer : s.answers)
            row[column.value(answer.text, first)] = QString::number(answer.answerPoints);
        rows << row;
    }
    return WithByteOrderMark(Csv(rows));
}

QByteArray AnswersCsv(const QList<StudentResult>& students) {
    QString text = QStringLiteral("ФИО;Группа;Специализация;Квалификация;Тест;Дата;Время;"
                                  "Номер в тесте;Вопрос;Баллы;Текст вопроса\r\n");
    for (const StudentResult& s : students) {
        const QString student =
            QStringList{Field(s.name),          Field(s.group), Field(s.specialization),
                        Field(s.qualification), Field(s.test),  Field(s.date),
                        Field(s.time)}
                .join(u';');
        for (qsizetype i = 0; i < s.answers.size(); ++i) {
            const AnsweredQuestion& answer = s.answers[i];
            text += student + u';' + QString::number(i + 1) + u';' + Field(NumberOf(answer)) +
                    u';' + QString::number(answer.answerPoints) + u';' + Field(answer.ShownText()) +
                    QStringLiteral("\r\n");
        }
    }
    return WithByteOrderMark(text);
}
