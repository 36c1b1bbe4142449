// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt_media_player.h"

#include <QEventLoop>
#include <QMediaMetaData>
#include <QMediaPlayer>
#include <QTimer>
#include <QVideoSink>
#include <QVideoWidget>

namespace {
MediaPlayerFactory g_factory;
}

void SetMediaPlayerFactory(MediaPlayerFactory factory) {
    g_factory = std::move(factory);
}

MediaPlayer* CreateMediaPlayer(QObject* parent) {
    if (g_factory)
        return g_factory(parent);
    return new QtMediaPlayer(parent);
}

QtMediaPlayer::QtMediaPlayer(QObject* parent) : MediaPlayer(parent) {
    NewPlayer();
}

void QtMediaPlayer::NewPlayer() {
    // A QMediaPlayer keeps the error of a file it failed on and refuses later files: a player
    // that failed is replaced by a fresh one before the next file is opened.
    if (m_player != nullptr) {
        m_player->disconnect(this);
        m_player->stop();
        m_player->deleteLater();
    }
    m_player = new QMediaPlayer(this);
    connect(m_player, &QMediaPlayer::mediaStatusChanged, this, [this](QMediaPlayer::MediaStatus s) {
        if (s == QMediaPlayer::EndOfMedia)
            EndOfPlayback();
        else if (s == QMediaPlayer::InvalidMedia) {
            m_failed = true;
            EndOfPlayback();
        }
    });
    connect(m_player, &QMediaPlayer::errorOccurred, this, [this](QMediaPlayer::Error error) {
        if (error != QMediaPlayer::NoError) {
            m_failed = true;
            EndOfPlayback();
        }
    });
    if (m_video)
        m_player->setVideoOutput(m_video.data());
}

QtMediaPlayer::~QtMediaPlayer() {
    m_player->stop();
    delete m_video;
}

void QtMediaPlayer::EndOfPlayback() {
    if (!m_notify)
        return;
    m_notify = false;
    Q_EMIT Notify();
}

bool QtMediaPlayer::Open(const QString& path) {
    if (m_failed || m_player->error() != QMediaPlayer::NoError)
        NewPlayer();
    m_failed = false;
    m_notify = false;
    m_lastFrame = QVideoFrame();
    m_player->stop();
    m_player->setSource(QUrl::fromLocalFile(path));
    if (m_player->error() != QMediaPlayer::NoError)
        m_failed = true;
    auto loaded = [this] {
        const auto s = m_player->mediaStatus();
        return s == QMediaPlayer::LoadedMedia || s == QMediaPlayer::BufferedMedia ||
               s == QMediaPlayer::EndOfMedia;
    };
    if (!m_failed && !loaded()) {
        QEventLoop loop;
        QTimer timeout;
        timeout.setSingleShot(true);
        connect(&timeout, &QTimer::timeout, &loop, &QEventLoop::quit);
        connect(m_player, &QMediaPlayer::mediaStatusChanged, &loop, [&] {
            if (loaded() || m_player->mediaStatus() == QMediaPlayer::InvalidMedia)
                loop.quit();
        });
        connect(m_player, &QMediaPlayer::errorOccurred, &loop, &QEventLoop::quit);
        timeout.start(kOpenTimeoutMs);
        loop.exec();
        if (!loaded())
            m_failed = true;
    }
    return !m_failed;
}

void QtMediaPlayer::SetDisplay(QWidget* display) {
    delete m_video;
    m_video = nullptr;
    if (display == nullptr) {
        m_player->setVideoOutput(nullptr);
        return;
    }
    m_video = new QVideoWidget(display);
    m_video->setAspectRatioMode(Qt::IgnoreAspectRatio);
    m_video->setGeometry(display->rect());
    m_video->show();
    m_player->setVideoOutput(m_video);
    connect(m_video->videoSink(), &QVideoSink::videoFrameChanged, this,
            [this](const QVideoFrame& frame) {
                if (frame.isValid())
                    m_lastFrame = frame;
            });
}

void QtMediaPlayer::SetDisplayRect(const QRect& rect) {
    if (m_video)
        m_video->setGeometry(rect);
}

void QtMediaPlayer::Play(bool notify) {
    m_notify = notify;
    if (m_failed) {
        // A fragment that cannot be played ends at once, like one that has been played.
        QTimer::singleShot(0, this, [this] { EndOfPlayback(); });
        return;
    }
    if (m_video)
        m_video->show();
    m_player->play();
}

void QtMediaPlayer::SetNotify(bool notify) {
    m_notify = notify;
}

void QtMediaPlayer::Stop() {
    m_player->pause();
}

void QtMediaPlayer::SeekToStart() {
    m_player->setPosition(0);
}

void QtMediaPlayer::SeekToEnd() {
    const qint64 d = m_player->duration();
    m_player->setPosition(d > 0 ? d - 1 : 0);
}

double QtMediaPlayer::FrameRate() const {
    const QVariant rate = m_player->metaData().value(QMediaMetaData::VideoFrameRate);
    const double fps = rate.isValid() ? rate.toDouble() : 0.0;
    return fps > 0.0 ? fps : 25.0;
}

void QtMediaPlayer::Step(int frames) {
    const double ms = frames * 1000.0 / FrameRate();
    qint64 pos = m_player->position() + static_cast<qint64>(ms);
    pos = std::clamp<qint64>(pos, 0, std::max<qint64>(0, m_player->duration()));
    m_player->setPosition(pos);
}

int QtMediaPlayer::LengthInFrames() const {
    return static_cast<int>(m_player->duration() * FrameRate() / 1000.0);
}

int QtMediaPlayer::PositionInFrames() const {
    // "Конец" stands one millisecond before the end, where the player still shows a picture.
    const qint64 duration = m_player->duration();
    if (m_player->mediaStatus() == QMediaPlayer::EndOfMedia ||
        (duration > 0 && m_player->position() >= duration - 1))
        return LengthInFrames();
    return static_cast<int>(m_player->position() * FrameRate() / 1000.0);
}

void QtMediaPlayer::Close() {
    m_notify = false;
    m_player->stop();
    m_player->setSource(QUrl());
}

QImage QtMediaPlayer::LastFrame() const {
    QVideoFrame frame = m_lastFrame;
    return frame.isValid() ? frame.toImage() : QImage();
}
