#include "tests/control_core.h"

#include <QStringList>

qint64 ControlAnswerPoints(const PositionFlags& ticked, const PositionPoints& points) {
    qint64 sum = 0;
    for (int k = 0; k < kMaxOptions; ++k) {
        if (!ticked[k])
            continue;
        if (points[k] == 0)
            return 0; // a wrong option spoils the whole answer
        sum += points[k];
    }
    return sum;
}

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
        QStringLiteral("Это составляет ") + ReportPercentText(totalPoints, questionCount) +
            QStringLiteral(" %"),
    };
    return lines.join(QLatin1Char('\r'));
}
