// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/candidate_name.h"

#include "platform/integer_text.h"
#include "platform/paths.h"

#include <QFile>
#include <QStringEncoder>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace {

const QString kForbidden = QStringLiteral("\\/:*?\"<>|");
const QString kFileSuffix = QStringLiteral(".txt");
// The longest name made for a student: the control test's name lock while a stale one is removed.
const QString kLongestSuffix = QStringLiteral(".lock.rmlock");
constexpr long kCommonNameMax = 255;
constexpr long kCommonPathMax = 4096;

bool IsForbidden(QChar c) {
    const QChar::Category category = c.category();
    return kForbidden.contains(c) || category == QChar::Other_Control ||
           category == QChar::Separator_Line || category == QChar::Separator_Paragraph;
}

bool HasFormatCharacter(const QString& name) {
    for (const char32_t c : name.toUcs4()) {
        if (QChar::category(c) == QChar::Other_Format)
            return true;
    }
    return false;
}

// The characters of the name that Windows-1251 cannot hold (a lone surrogate included).
QString NotInCodePage(const QString& name) {
    QString missing;
    for (qsizetype i = 0; i < name.size(); ++i) {
        const qsizetype units =
            name[i].isHighSurrogate() && i + 1 < name.size() && name[i + 1].isLowSurrogate() ? 2
                                                                                             : 1;
        const QString character = name.mid(i, units);
        QStringEncoder encoder("windows-1251", QStringConverter::Flag::Stateless);
        const QByteArray bytes = encoder.encode(character);
        if ((encoder.hasError() || bytes.isEmpty()) && !missing.contains(character))
            missing += character;
        i += units - 1;
    }
    return missing;
}

// The longest file name and path the file system of the folder takes, in the units of its
// encoded names.
struct NameLimits {
    long name = kCommonNameMax;
    long path = kCommonPathMax;
};

NameLimits LimitsOf(const QString& folder) {
    NameLimits limits;
#ifdef Q_OS_UNIX
    const QByteArray encoded = QFile::encodeName(folder);
    if (const long name = pathconf(encoded.constData(), _PC_NAME_MAX); name > 0)
        limits.name = name;
    if (const long path = pathconf(encoded.constData(), _PC_PATH_MAX); path > 0)
        limits.path = path;
#else
    Q_UNUSED(folder);
#endif
    return limits;
}

bool TooLongFor(const QString& fileName, const QString& folder) {
    const NameLimits limits = LimitsOf(folder);
#ifdef Q_OS_WIN
    // Windows counts a name in UTF-16 units; Qt reaches long paths through "\\?\".
    return fileName.size() > limits.name;
#else
    const qsizetype nameBytes = QFile::encodeName(fileName).size();
    const qsizetype pathBytes = QFile::encodeName(folder + u'/' + fileName).size() + 1;
    return nameBytes > limits.name || pathBytes > limits.path;
#endif
}

QString Refusal(const QString& what) {
    return QStringLiteral("Фамилия И. О. ") + what +
           QStringLiteral(": из неё составляется имя файла с результатами теста. "
                          "Исправьте запись.");
}

} // namespace

QString CandidateNameProblem(const QString& name, const QStringList& resultFolders) {
    for (const QChar c : name) {
        if (IsForbidden(c)) {
            return Refusal(QStringLiteral("не может содержать символы \\ / : * ? \" < > | "
                                          "и управляющие символы (например, табуляцию)"));
        }
    }
    if (HasFormatCharacter(name)) {
        return Refusal(QStringLiteral("не может содержать невидимые символы форматирования "
                                      "(например, знак направления письма или пробел нулевой "
                                      "ширины)"));
    }
    if (const QString missing = NotInCodePage(name); !missing.isEmpty()) {
        return Refusal(QStringLiteral("не может содержать символы, которых нет в кодировке "
                                      "файлов результатов (Windows-1251): «%1»")
                           .arg(VisibleText(missing)));
    }
    if (!name.isEmpty() && name.count(QLatin1Char('.')) == name.size()) {
        return Refusal(QStringLiteral("не может состоять из одних точек"));
    }
    if (IsWindowsDeviceName(name + kFileSuffix)) {
        return Refusal(QStringLiteral("не может совпадать с именем устройства Windows (CON, PRN, "
                                      "AUX, NUL, COM1–COM9, LPT1–LPT9), в том числе с точкой и "
                                      "продолжением после него"));
    }
    for (const QString& folder : resultFolders) {
        if (TooLongFor(name + kLongestSuffix, folder)) {
            return QStringLiteral("Фамилия И. О. не может быть такой длинной: имя файла с "
                                  "результатами теста не поместится в папке результатов. "
                                  "Сократите запись.");
        }
    }
    return QString();
}
