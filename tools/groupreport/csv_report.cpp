// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/groupreport/csv_report.h"

#include <QCollator>
#include <QHash>

#include <algorithm>
#include <numeric>

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

// The column of each question text. The answers of a group share their texts (SharedTexts), so a
// look-up by the text's storage comes first and the text itself is hashed only once per copy.
class QuestionColumns {
public:
    explicit QuestionColumns(const QList<StudentResult>& students) {
        for (const StudentResult& student : students) {
            for (const AnsweredQuestion& answer : student.answers)
                Find(answer.text);
        }
        QCollator collator(QLocale(QLocale::Russian, QLocale::Russia));
        collator.setNumericMode(true);
        QList<qsizetype> order(m_texts.size());
        std::iota(order.begin(), order.end(), 0);
        std::stable_sort(order.begin(), order.end(), [&](qsizetype a, qsizetype b) {
            return collator.compare(m_texts[a], m_texts[b]) < 0;
        });
        m_place.resize(m_texts.size());
        for (qsizetype place = 0; place < order.size(); ++place)
            m_place[order[place]] = place;
    }
    /// The questions in the order of their numbers.
    QStringList Texts() const {
        QStringList texts(m_texts.size());
        for (qsizetype i = 0; i < m_texts.size(); ++i)
            texts[m_place[i]] = m_texts[i];
        return texts;
    }
    /// The place of a question among Texts().
    qsizetype PlaceOf(const QString& text) { return m_place[Find(text)]; }

private:
    qsizetype Find(const QString& text) {
        if (const auto byStorage = m_byStorage.constFind(text.constData());
            byStorage != m_byStorage.cend())
            return *byStorage;
        auto byText = m_byText.constFind(text);
        if (byText == m_byText.cend()) {
            byText = m_byText.insert(text, m_texts.size());
            m_texts << text;
        }
        m_byStorage.insert(text.constData(), *byText);
        return *byText;
    }

    QStringList m_texts; // in the order met
    QList<qsizetype> m_place;
    QHash<QString, qsizetype> m_byText;
    QHash<const QChar*, qsizetype> m_byStorage;
};

} // namespace

QByteArray GroupCsv(const QList<StudentResult>& students) {
    QuestionColumns columns(students);
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
    for (const QString& text : columns.Texts()) {
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
            row[first + columns.PlaceOf(answer.text)] = QString::number(answer.answerPoints);
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
