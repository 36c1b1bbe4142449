#include "app/candidate_name.h"

namespace {
const QString kForbidden = QStringLiteral("\\/:*?\"<>|");
} // namespace

QString CandidateNameProblem(const QString& name) {
    for (const QChar c : name) {
        if (kForbidden.contains(c) || c.category() == QChar::Other_Control) {
            return QStringLiteral("Фамилия И. О. не может содержать символы \\ / : * ? \" < > | "
                                  "и управляющие символы (например, табуляцию): из неё "
                                  "составляется имя файла с результатами теста. Исправьте запись.");
        }
    }
    if (!name.isEmpty() && name.count(QLatin1Char('.')) == name.size()) {
        return QStringLiteral("Фамилия И. О. не может состоять из одних точек: из неё "
                              "составляется имя файла с результатами теста. Исправьте запись.");
    }
    return QString();
}
