// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "fake_media_player.h"

#include <QPointer>

bool FakeMediaPlayer::Open(const QString& path) {
    calls << QStringLiteral("Open");
    openedPath = path;
    position = 0;
    return !failOpen;
}

void FakeMediaPlayer::Prepare(const QString& path) {
    calls << QStringLiteral("Prepare");
    openedPath = path;
    position = 0;
}

void FakeMediaPlayer::Play(bool notify) {
    calls << QStringLiteral("Play");
    notifyRequested = notify;
    playing = true;
}

void FakeMediaPlayer::Step(int frames) {
    calls << QStringLiteral("Step %1").arg(frames);
    position = std::clamp(position + frames, 0, lengthInFrames);
}

void FakeMediaPlayer::Finish() {
    playing = false;
    position = lengthInFrames;
    if (notifyRequested) {
        notifyRequested = false;
        Q_EMIT Notify();
    }
}

QList<FakeMediaPlayer*>& FakeMediaPlayer::created() {
    static QList<FakeMediaPlayer*> list;
    return list;
}

void FakeMediaPlayer::Install() {
    created().clear();
    SetMediaPlayerFactory([](QObject* parent) {
        auto* player = new FakeMediaPlayer(parent);
        created().append(player);
        QObject::connect(player, &QObject::destroyed, [player] { created().removeAll(player); });
        return static_cast<MediaPlayer*>(player);
    });
}

void FakeMediaPlayer::Uninstall() {
    SetMediaPlayerFactory({});
    created().clear();
}
