// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/fonts.h"

#include <QStringList>

void InstallFontSubstitutions() {
    const QStringList sans = {QString::fromLatin1("Liberation Sans"),
                              QString::fromLatin1("DejaVu Sans")};
    const QStringList serif = {QString::fromLatin1("Liberation Serif"),
                               QString::fromLatin1("DejaVu Serif")};
    QFont::insertSubstitutions(QString::fromLatin1("Arial"), sans);
    QFont::insertSubstitutions(QString::fromLatin1("MS Sans Serif"), sans);
    QFont::insertSubstitutions(QString::fromLatin1("Times New Roman"), serif);
}

QFont PixelFont(const QString& family, int pixelSize, bool bold) {
    QFont font(family);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}
