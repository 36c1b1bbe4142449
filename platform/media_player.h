// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QObject>
#include <QRect>
#include <QString>
#include <functional>

class QWidget;

// The media player the screens use for video fragments: open a file, show it in a display
// widget, play with one notification at the end of playback, stop, seek and step. Tests install
// a fake whose end of playback they fire themselves.
class MediaPlayer : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    /// Opens a file and waits, running the event loop, until the open has completed or its time
    /// limit has passed. False when it cannot be opened.
    virtual bool Open(const QString& path) = 0;
    /// Starts opening a file and returns at once. Play() afterwards plays it as soon as it is
    /// open, or ends at once, as a fragment that failed, when it cannot be opened in time.
    virtual void Prepare(const QString& path) = 0;
    /// The widget the picture is shown in, and the rectangle inside it.
    virtual void SetDisplay(QWidget* display) = 0;
    virtual void SetDisplayRect(const QRect& rect) = 0;
    /// Starts playback without waiting; with notify, Notify() is emitted once when it ends.
    virtual void Play(bool notify) = 0;
    /// Switches the pending end notification on or off.
    virtual void SetNotify(bool notify) = 0;
    virtual void Stop() = 0;
    virtual void SeekToStart() = 0;
    virtual void SeekToEnd() = 0;
    /// Steps forward (positive) or backward (negative) by a number of frames.
    virtual void Step(int frames) = 0;
    /// Length of the open fragment in frames (0 when unknown or nothing is open).
    virtual int LengthInFrames() const = 0;
    /// The frame the player stands at now, playing or not; the length when it is at the end.
    virtual int PositionInFrames() const = 0;
    virtual void Close() = 0;
    /// The last picture the player showed (null when none).
    virtual QImage LastFrame() const = 0;
    /// True when the open file failed to open or to play.
    virtual bool Failed() const = 0;

Q_SIGNALS:
    /// End of playback (also a playback that failed) while the notification was requested.
    void Notify();
};

/// A new player owned by parent: the Qt Multimedia player, or the test's fake.
MediaPlayer* CreateMediaPlayer(QObject* parent);

using MediaPlayerFactory = std::function<MediaPlayer*(QObject* parent)>;
void SetMediaPlayerFactory(MediaPlayerFactory factory);
