// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/training_core.h"

#include "tests/percent_text.h"

#include <QStringList>
#include <cstdlib>

Verdict VerdictFor(bool anyTicked, int questionScore) {
    if (!anyTicked)
        return Verdict::Hidden;
    if (questionScore == 100)
        return Verdict::Right;
    if (questionScore == 0)
        return Verdict::Wrong;
    return Verdict::Incomplete;
}

VerdictLook LookOf(Verdict verdict) {
    switch (verdict) {
    case Verdict::Right:
        return {QStringLiteral("Ответ правильный"), 0x008000, 0xFFFF00};
    case Verdict::Wrong:
        return {QStringLiteral("Ответ неправильный"), 0xFF0000, 0xFFFF00};
    case Verdict::Incomplete:
        return {QStringLiteral("Ответ неполный"), 0xFFFF00, 0x0000FF};
    case Verdict::Hidden:
        break;
    }
    return {};
}

QString QuestionTitle(int askedCount) {
    return QStringLiteral("Вопрос") +
           QString::number(askedCount).rightJustified(3, QLatin1Char(' '));
}

QString TimeUpMessage(int answeredCount) {
    return QStringLiteral("Время тестирования истекло, всего дано ответов ") +
           QString::number(answeredCount) + QLatin1Char('.');
}

QString ResultText(const QString& fullName, int questionCount, int totalScore) {
    const QStringList lines{
        QStringLiteral("РЕЗУЛЬТАТЫ ТЕСТИРОВАНИЯ"),
        QStringLiteral("ФИО: ") + fullName,
        QStringLiteral("Задано вопросов: ") + QString::number(questionCount),
        QStringLiteral("Набрано баллов: ") + QString::number(totalScore) + QStringLiteral(" из ") +
            QString::number(std::int64_t(questionCount) * 100) + QLatin1Char('.'),
        QStringLiteral("Это составляет ") + PercentText(totalScore, questionCount) +
            QStringLiteral(" %"),
    };
    return lines.join(QLatin1Char('\r'));
}
