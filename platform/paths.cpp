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
