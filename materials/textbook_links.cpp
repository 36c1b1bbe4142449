// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "materials/textbook_links.h"

#include "platform/paths.h"

#include <QDir>
#include <QFileInfo>

namespace {
bool IsSeparator(QChar c) {
    return c == QLatin1Char('/') || c == QLatin1Char('\\');
}

// The path with links and ".." resolved as far as it exists; the part that does not exist yet is
// kept as written below the nearest folder that does.
QString ResolvedPath(const QString& path) {
    const QString cleaned = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    QString existing = cleaned;
    QString rest;
    for (;;) {
        const QString canonical = QFileInfo(existing).canonicalFilePath();
        if (!canonical.isEmpty())
            return rest.isEmpty() ? canonical
                                  : QDir::cleanPath(canonical + QLatin1Char('/') + rest);
        const qsizetype slash = existing.lastIndexOf(QLatin1Char('/'));
        if (slash < 0 || slash == existing.size() - 1)
            return cleaned; // a root that does not resolve
        const QString name = existing.mid(slash + 1);
        rest = rest.isEmpty() ? name : name + QLatin1Char('/') + rest;
        // The parent keeps its separator when it is a root ("/", "C:/").
        const bool root = slash == 0 || existing.at(slash - 1) == QLatin1Char(':');
        existing = existing.left(root ? slash + 1 : slash);
    }
}
} // namespace

AddressInterpretation InterpretAddress(const QString& address, const QString& programFolder) {
    AddressInterpretation result;
    result.pagePath = programFolder;

    // Positions are counted from 1 as the scan is described: at(i) is position i.
    const qsizetype length = address.size();
    auto at = [&address](qsizetype position) { return address.at(position - 1); };

    // The page part: the last "=" of the last part. The very last character is never examined.
    qsizetype stop = length - 1;
    while (stop >= 1 && at(stop) != QLatin1Char('=') && !IsSeparator(at(stop)))
        --stop;

    qsizetype pagePartLength = 0;
    if (stop >= 1 && at(stop) == QLatin1Char('=')) {
        result.pagePath = programFolder + QStringLiteral("\\html\\") + address.mid(stop);
        result.returnPage = result.pagePath;
        pagePartLength = length - stop + 1;
    }
    if (stop < 1)
        return result; // no separator and no "=": not a link of the textbook

    // The video part: a "$" further left in the same last part, up to the "=" or the end.
    qsizetype dollar = length - pagePartLength;
    while (dollar >= 1 && at(dollar) != QLatin1Char('$') && !IsSeparator(at(dollar)))
        --dollar;
    if (dollar < 1 || at(dollar) != QLatin1Char('$'))
        return result;

    const QString videoPart = address.mid(dollar - 1, length - pagePartLength - dollar + 1);
    result.videoFile = programFolder + QStringLiteral("\\images\\") + videoPart;
    return result;
}

QString AddressText(const QUrl& url) {
    if (!url.isLocalFile())
        return url.toString();
    QString text = url.toLocalFile();
    if (url.hasFragment())
        text += QLatin1Char('#') + url.fragment(QUrl::FullyDecoded);
    return text;
}

QUrl AddressUrl(const QString& address) {
    // A scheme of one letter is a drive ("C:\..."), not an address scheme.
    const qsizetype colon = address.indexOf(QLatin1Char(':'));
    if (colon > 1 && !IsSeparator(address.at(0))) {
        const QUrl url(address);
        if (url.isValid() && !url.scheme().isEmpty())
            return url;
    }

    const QString path = NativeSeparators(address);
    // "page.htm#part": the fragment is split off unless the whole text names an existing file.
    const qsizetype hash = path.lastIndexOf(QLatin1Char('#'));
    if (hash > 0 && !QFileInfo::exists(path)) {
        QUrl url = QUrl::fromLocalFile(path.left(hash));
        url.setFragment(path.mid(hash + 1));
        return url;
    }
    return QUrl::fromLocalFile(path);
}

bool PageInsideFolder(const QUrl& url, const QString& folder) {
    if (!url.isLocalFile() || !url.host().isEmpty() || folder.isEmpty())
        return false;
    const QString page = ResolvedPath(url.toLocalFile());
    if (QFileInfo(page).isDir())
        return false;
    QString root = ResolvedPath(folder);
    if (!root.endsWith(QLatin1Char('/')))
        root += QLatin1Char('/');
#ifdef Q_OS_WIN
    constexpr Qt::CaseSensitivity kCase = Qt::CaseInsensitive;
#else
    constexpr Qt::CaseSensitivity kCase = Qt::CaseSensitive;
#endif
    return page.size() > root.size() && page.startsWith(root, kCase);
}
