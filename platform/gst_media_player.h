// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/media_player.h"

#include <QPointer>
#include <QStringList>
#include <functional>

class MediaEngine;
class QTimer;
class VideoSurface;

// The real player: a GStreamer pipeline of the program's own (playbin with the video only, its
// pictures handed over as 32-bit RGB and drawn by a plain widget, no OpenGL and no native
// window), run on a media thread of its own.
//
// One pipeline serves the whole run: every player of every screen hands its files to it in turn,
// so the libraries and decoders are loaded once, by the first fragment opened. Everything that
// can wait on GStreamer's streaming threads (opening, state changes, seeks) runs on the media
// thread; the user-interface thread only asks and is told, so a pipeline that hangs can never
// stop the screens. An open that has not completed within kOpenTimeoutMs counts as failed, and so
// does a playback that gives no new picture for kPlayStallMs (beyond the time the last picture
// stays); a pipeline left hanging is abandoned for a new one. Where the fragment stands is taken
// from the last picture, never asked of the pipeline.
class GstMediaPlayer : public MediaPlayer {
    Q_OBJECT
public:
    explicit GstMediaPlayer(QObject* parent = nullptr);
    ~GstMediaPlayer() override;

    bool Open(const QString& path) override;
    void Prepare(const QString& path) override;
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

    /// True once the open of the last file has completed, failed or run out of time.
    bool Settled() const { return m_settled; }
    /// Milliseconds an open may take before it counts as failed (the timer "OpenLimit").
    static constexpr int kOpenTimeoutMs = 10000;
    /// Milliseconds a playing fragment may go without a new picture, beyond the time the last
    /// one stays, before it counts as failed (the timer "PlayLimit"; a stopped player is not
    /// watched). Pictures come 10 to 30 a second, so only a pipeline that hangs, or one that
    /// never reports its end, gets that far.
    static constexpr int kPlayStallMs = 5000;

    /// Runs on the media thread before each request it carries out (tests hold the thread with
    /// it, as a hanging pipeline would). Empty: nothing.
    static void SetMediaThreadHookForTesting(std::function<void()> hook);
    /// How many pipelines the process has made (one a run, unless one was abandoned).
    static int PipelinesMade();
    /// The shared libraries the process has mapped, from /proc/self/maps (for the benchmarks).
    static QStringList LoadedLibraries();

Q_SIGNALS:
    /// The open of the last file has completed, failed or run out of time.
    void OpenSettled();
    /// A picture of the fragment has been drawn for the first time since Play().
    void FirstFrameShown();

private:
    friend class MediaEngine;
    friend class VideoSurface;
    // Reports of the pipeline, on the user-interface thread.
    void EngineOpened(quint64 ticket, bool ok, qint64 durationMs, double fps);
    void EngineEnded(quint64 ticket, bool failed);
    void EngineFrame(quint64 ticket);
    void EngineSeekDone(quint64 ticket);
    void PipelineTaken();
    void EndOfPlayback();
    void FinishSoon();
    void OpenLimitReached();
    void StartPlayback();
    void ArmPlayLimit();
    void StopPlayLimit();
    void PlayLimitReached();
    qint64 PictureMs() const;
    void Seek(qint64 ms);
    double FrameRate() const;
    void SurfacePainted();
    bool HasPicture() const;

    QPointer<MediaEngine> m_engine;
    QPointer<VideoSurface> m_surface;
    QTimer* m_openLimit = nullptr;
    QTimer* m_playLimit = nullptr;
    quint64 m_picturesAtArm = 0;
    quint64 m_ticket = 0;
    bool m_settled = true;
    bool m_failed = false;
    bool m_notify = false;
    bool m_playWanted = false;
    bool m_playing = false; // asked to play, not stopped, not ended: watched by m_playLimit
    bool m_showFrames = false;
    bool m_frameShown = false;
    bool m_atEnd = false;
    qint64 m_durationMs = 0;
    double m_fps = 0.0;
    qint64 m_pendingSeekMs = -1;
};
