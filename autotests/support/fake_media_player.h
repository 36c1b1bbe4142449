// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/media_player.h"

#include <QStringList>

// A player that plays nothing: it records what it was asked to do, and the test fires the end
// of playback with Finish(). Install() makes CreateMediaPlayer() hand out fakes.
class FakeMediaPlayer : public MediaPlayer {
    Q_OBJECT
public:
    using MediaPlayer::MediaPlayer;

    bool Open(const QString& path) override;
    void Prepare(const QString& path) override;
    void SetDisplay(QWidget* display) override { displayWidget = display; }
    void SetDisplayRect(const QRect& rect) override { displayRect = rect; }
    void Play(bool notify) override;
    void SetNotify(bool notify) override { notifyRequested = notify; }
    void Stop() override {
        calls << QStringLiteral("Stop");
        playing = false;
    }
    void SeekToStart() override {
        calls << QStringLiteral("SeekToStart");
        position = 0;
    }
    void SeekToEnd() override {
        calls << QStringLiteral("SeekToEnd");
        position = lengthInFrames;
    }
    void Step(int frames) override;
    int LengthInFrames() const override { return lengthInFrames; }
    int PositionInFrames() const override { return position; }
    void Close() override {
        calls << QStringLiteral("Close");
        playing = false;
    }
    QImage LastFrame() const override { return lastFrame; }
    bool Failed() const override { return failOpen; }

    /// Ends playback: emits Notify() when the notification was requested.
    void Finish();

    QStringList calls;
    QString openedPath;
    QWidget* displayWidget = nullptr;
    QRect displayRect;
    bool notifyRequested = false;
    bool playing = false;
    bool failOpen = false;
    int lengthInFrames = 100;
    int position = 0;
    QImage lastFrame;

    /// Installs the factory; every created fake is appended to created().
    static void Install();
    static void Uninstall();
    static QList<FakeMediaPlayer*>& created();
    static FakeMediaPlayer* last() { return created().isEmpty() ? nullptr : created().last(); }
};
