// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/control_core.h"

#include "tests/percent_text.h"

#include <QStringList>

QString ControlQuestionTitle(int shownCount) {
    return QStringLiteral("Вопрос ") + QString::number(shownCount);
}

QString ControlResultText(const QString& fullName, int questionCount, qint64 totalPoints) {
    const QStringList lines{
        QStringLiteral("РЕЗУЛЬТАТЫ ТЕСТИРОВАНИЯ"),
        QStringLiteral("ФИО: ") + fullName,
        QStringLiteral("Задано вопросов: ") + QString::number(questionCount),
        QStringLiteral("Набрано баллов: ") + QString::number(totalPoints) + QStringLiteral(" из ") +
            QString::number(qint64(questionCount) * 100) + QLatin1Char('.'),
        QStringLiteral("Это составляет ") + PercentText(totalPoints, questionCount) +
            QStringLiteral(" %"),
    };
    return lines.join(QLatin1Char('\r'));
}
