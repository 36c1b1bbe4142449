// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/paths.h"

#include <QDir>

QString NativeSeparators(const QString& literal) {
    QString out = literal;
    out.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return out;
}

QString DataPath(const QString& programFolder, const QString& literal) {
    return NativeSeparators(programFolder + literal);
}

QString CurrentFolder() {
    QString folder = QDir::currentPath();
    while (folder.size() > 1 && folder.endsWith(QLatin1Char('/')))
        folder.chop(1);
    return folder;
}

namespace {

// The part of a file name Windows compares with its device names: up to the first dot, without
// the blanks before that dot.
QStringView DeviceStem(QStringView name) {
    const qsizetype dot = name.indexOf(u'.');
    QStringView stem = dot < 0 ? name : name.left(dot);
    while (!stem.isEmpty() && stem.back() == u' ')
        stem.chop(1);
    return stem;
}

bool OnlyDotsAndBlanks(QStringView part) {
    bool dot = false;
    for (const QChar c : part) {
        if (c != u'.' && c != u' ')
            return false;
        dot = dot || c == u'.';
    }
    return dot;
}

} // namespace

bool IsWindowsDeviceName(QStringView name) {
    const QString stem = DeviceStem(name).toString().toUpper();
    for (const char* device : {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"}) {
        if (stem == QLatin1String(device))
            return true;
    }
    if (stem.size() != 4 || !(stem.startsWith(u"COM") || stem.startsWith(u"LPT")))
        return false;
    const QChar digit = stem.at(3);
    return (digit >= u'1' && digit <= u'9') || digit == QChar(0x00B9) || digit == QChar(0x00B2) ||
           digit == QChar(0x00B3);
}

bool StaysInImagesFolder(QStringView name) {
    if (name.startsWith(u'\\') || name.startsWith(u'/'))
        return false;
    qsizetype start = 0;
    while (start <= name.size()) {
        qsizetype end = start;
        while (end < name.size() && name[end] != u'\\' && name[end] != u'/')
            ++end;
        const QStringView part = name.mid(start, end - start);
        if (part.contains(u':') || part.contains(QChar(0)) || OnlyDotsAndBlanks(part) ||
            (!part.isEmpty() && IsWindowsDeviceName(part)))
            return false;
        start = end + 1;
    }
    return true;
}

QString ImagesPath(const QString& programFolder, const QString& name) {
    if (!StaysInImagesFolder(name))
        return QString();
    return DataPath(programFolder, QStringLiteral("\\images\\") + name);
}

QString OptionPicturePath(const QString& programFolder, const QString& optionText) {
    QStringView name(optionText);
    while (!name.isEmpty() && name.back() == u' ')
        name.chop(1);
    if (!StaysInImagesFolder(name))
        return QString();
    const QString path = DataPath(programFolder, QStringLiteral("\\images\\") + optionText);
    qsizetype first = 0;
    qsizetype last = path.size();
    while (first < last && path.at(first) == u' ')
        ++first;
    while (last > first && path.at(last - 1) == u' ')
        --last;
    return path.mid(first, last - first);
}
