// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/media_player.h"

#include <QPointer>
#include <QVideoFrame>

class QMediaPlayer;
class QVideoWidget;

// The real player: Qt Multimedia (GStreamer underneath) drawing into a video widget that is
// placed inside the display widget at the display rectangle.
class QtMediaPlayer : public MediaPlayer {
    Q_OBJECT
public:
    explicit QtMediaPlayer(QObject* parent = nullptr);
    ~QtMediaPlayer() override;

    bool Open(const QString& path) override;
    void SetDisplay(QWidget* display) override;
    void SetDisplayRect(const QRect& rect) override;
    void Play(bool notify) override;
    void SetNotify(bool notify) override;
    void Stop() override;
    void SeekToStart() override;
    void SeekToEnd() override;
    void Step(int frames) override;
    int LengthInFrames() const override;
    int PositionInFrames() const override;
    void Close() override;
    QImage LastFrame() const override;
    bool Failed() const override { return m_failed; }

    /// Milliseconds a blocking open may take before it counts as failed.
    static constexpr int kOpenTimeoutMs = 10000;

private:
    void NewPlayer();
    void EndOfPlayback();
    double FrameRate() const;

    QMediaPlayer* m_player = nullptr;
    QPointer<QVideoWidget> m_video;
    QVideoFrame m_lastFrame;
    bool m_notify = false;
    bool m_failed = false;
};
