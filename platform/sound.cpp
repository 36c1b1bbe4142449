// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/sound.h"

#include <QCoreApplication>
#include <QSoundEffect>
#include <QUrl>

namespace {
SoundHook g_hook;
}

void SetSoundHook(SoundHook hook) {
    g_hook = std::move(hook);
}

void PlaySoundAsync(const QString& path) {
    if (g_hook) {
        g_hook(path);
        return;
    }
    PlaySoundEffect(path);
}

void PlaySoundEffect(const QString& path) {
    auto* effect = new QSoundEffect(QCoreApplication::instance());
    QObject::connect(effect, &QSoundEffect::playingChanged, effect, [effect] {
        if (!effect->isPlaying() && effect->status() != QSoundEffect::Loading)
            effect->deleteLater();
    });
    QObject::connect(effect, &QSoundEffect::statusChanged, effect, [effect] {
        if (effect->status() == QSoundEffect::Error)
            effect->deleteLater();
        else if (effect->status() == QSoundEffect::Ready && !effect->isPlaying())
            effect->play();
    });
    effect->setSource(QUrl::fromLocalFile(path));
}
