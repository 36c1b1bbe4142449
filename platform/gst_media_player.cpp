// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/gst_media_player.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QMutex>
#include <QPainter>
#include <QSet>
#include <QThread>
#include <QTimer>
#include <QUrl>
#include <QWidget>
#include <algorithm>
#include <atomic>

#include <gst/app/gstappsink.h>
#include <gst/gst.h>
#include <gst/video/video-info.h>

namespace {
MediaPlayerFactory g_factory;
std::function<void()> g_mediaThreadHook;
QMutex g_hookMutex;
std::atomic<quint64> g_nextTicket{1};
int g_pipelinesMade = 0;

void RunMediaThreadHook() {
    std::function<void()> hook;
    {
        QMutexLocker lock(&g_hookMutex);
        hook = g_mediaThreadHook;
    }
    if (hook)
        hook();
}

// playbin's flags: the video stream only (no audio, no subtitles), so that no sound output or
// text overlay is ever loaded.
constexpr guint kPlayVideoOnly = 0x1;
} // namespace

void SetMediaPlayerFactory(MediaPlayerFactory factory) {
    g_factory = std::move(factory);
}

MediaPlayer* CreateMediaPlayer(QObject* parent) {
    if (g_factory)
        return g_factory(parent);
    return new GstMediaPlayer(parent);
}

// --- The pipeline and its thread -------------------------------------------------------------

// One playbin on a thread of its own. Requests come from the user-interface thread as queued
// jobs; reports go back to it as queued calls and reach the player that opened the current file.
// Every open gets a ticket of its own, so a report of an earlier file never reaches a later one.
class MediaEngine : public QObject {
public:
    static MediaEngine* Current();

    quint64 Open(GstMediaPlayer* owner, const QString& path);
    void Play(quint64 ticket) {
        Job(ticket, [this] { SetState(GST_STATE_PLAYING); });
    }
    void Pause(quint64 ticket) {
        Job(ticket, [this] { SetState(GST_STATE_PAUSED); });
    }
    void Seek(quint64 ticket, qint64 ms);
    void Close(quint64 ticket);
    /// Where the last picture the pipeline gave for ticket stands in the fragment, in
    /// milliseconds (-1 when none), and how long it stays (0 when unknown). Read under the
    /// sample mutex only: the user-interface thread never calls into the pipeline, whose locks a
    /// hanging media thread may hold.
    struct PictureTime {
        qint64 positionMs = -1;
        qint64 durationMs = 0;
    };
    PictureTime LastPictureTime(quint64 ticket) const;
    /// How many pictures the pipeline has given since it was made (any file, any thread).
    quint64 PicturesGiven() const { return m_picturesGiven.load(); }
    /// The last picture the pipeline gave for ticket (null when none), over the pipeline's own
    /// buffer, which it holds.
    class Picture {
    public:
        Picture(const MediaEngine& engine, quint64 ticket);
        ~Picture();
        Picture(const Picture&) = delete;
        Picture& operator=(const Picture&) = delete;
        const QImage& Image() const { return m_image; }

    private:
        GstSample* m_sample = nullptr;
        GstBuffer* m_buffer = nullptr;
        GstMapInfo m_map{};
        QImage m_image;
    };
    /// Forgets this engine: the next player gets a new one. A media thread that hangs stays
    /// where it hangs; one that comes free cleans up and ends.
    void Abandon();

private:
    MediaEngine();
    ~MediaEngine() override;
    void Job(quint64 ticket, std::function<void()> job);
    void Report(std::function<void()> report);
    // On the media thread.
    void BuildPipeline();
    void SetState(GstState state);
    void OpenOnMediaThread(quint64 ticket, const QString& uri);
    void AsyncDone(quint64 ticket);
    void Shutdown();
    static GstBusSyncReply OnBusMessage(GstBus*, GstMessage* message, gpointer data);
    static GstFlowReturn OnPreroll(GstAppSink* sink, gpointer data);
    static GstFlowReturn OnSample(GstAppSink* sink, gpointer data);
    void StoreSample(GstSample* sample);
    GstMediaPlayer* Owner(quint64 ticket) const {
        return (m_owner && m_owner->m_ticket == ticket) ? m_owner.data() : nullptr;
    }

    QThread* m_thread = nullptr;
    QObject* m_worker = nullptr; // lives on m_thread; jobs run in its context
    QPointer<GstMediaPlayer> m_owner;
    bool m_abandoned = false;
    // Media thread.
    GstElement* m_playbin = nullptr;
    GstElement* m_sink = nullptr;
    quint64 m_openingTicket = 0; // the open whose preroll is awaited
    // Shared with the streaming threads.
    std::atomic<quint64> m_streamTicket{0};
    mutable QMutex m_sampleMutex;
    GstSample* m_sample = nullptr;
    quint64 m_sampleTicket = 0;
    PictureTime m_sampleTime;
    bool m_framePosted = false;
    std::atomic<quint64> m_picturesGiven{0};
};

namespace {
QPointer<MediaEngine> g_engine;
}

MediaEngine* MediaEngine::Current() {
    if (g_engine == nullptr) {
        g_engine = new MediaEngine();
        ++g_pipelinesMade;
    }
    return g_engine;
}

MediaEngine::MediaEngine() : QObject(QCoreApplication::instance()) {
    m_thread = new QThread();
    m_thread->setObjectName(QStringLiteral("media"));
    m_worker = new QObject();
    m_worker->moveToThread(m_thread);
    m_thread->start();
    // GStreamer is set up and its pipeline built on the media thread, so that loading its
    // libraries never holds the screens.
    QMetaObject::invokeMethod(
        m_worker, [this] { BuildPipeline(); }, Qt::QueuedConnection);
}

MediaEngine::~MediaEngine() {
    if (m_thread == nullptr)
        return;
    if (m_thread->isRunning()) {
        QMetaObject::invokeMethod(
            m_worker, [this] { Shutdown(); }, Qt::QueuedConnection);
        if (!m_thread->wait(3000))
            return; // it hangs in GStreamer: left as it is, the process is ending anyway
    }
    delete m_worker;
    delete m_thread;
}

void MediaEngine::Job(quint64 ticket, std::function<void()> job) {
    QMetaObject::invokeMethod(
        m_worker,
        [this, ticket, job = std::move(job)] {
            RunMediaThreadHook();
            // A request for a file that has been replaced since is dropped.
            if (m_playbin != nullptr && ticket == m_streamTicket.load())
                job();
        },
        Qt::QueuedConnection);
}

void MediaEngine::Report(std::function<void()> report) {
    QMetaObject::invokeMethod(this, std::move(report), Qt::QueuedConnection);
}

quint64 MediaEngine::Open(GstMediaPlayer* owner, const QString& path) {
    if (m_owner && m_owner != owner)
        m_owner->PipelineTaken();
    m_owner = owner;
    const quint64 ticket = g_nextTicket++;
    const QString uri = QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded);
    QMetaObject::invokeMethod(
        m_worker,
        [this, ticket, uri] {
            RunMediaThreadHook();
            OpenOnMediaThread(ticket, uri);
        },
        Qt::QueuedConnection);
    return ticket;
}

void MediaEngine::Seek(quint64 ticket, qint64 ms) {
    Job(ticket, [this, ms] {
        gst_element_seek_simple(m_playbin, GST_FORMAT_TIME,
                                GstSeekFlags(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE),
                                ms * GST_MSECOND);
    });
}

void MediaEngine::Close(quint64 ticket) {
    if (m_owner && m_owner->m_ticket == ticket)
        m_owner = nullptr;
    Job(ticket, [this] {
        SetState(GST_STATE_READY);
        m_streamTicket = 0;
        QMutexLocker lock(&m_sampleMutex);
        if (m_sample != nullptr)
            gst_sample_unref(m_sample);
        m_sample = nullptr;
    });
}

MediaEngine::PictureTime MediaEngine::LastPictureTime(quint64 ticket) const {
    QMutexLocker lock(&m_sampleMutex);
    if (m_sample == nullptr || m_sampleTicket != ticket)
        return {};
    return m_sampleTime;
}

MediaEngine::Picture::Picture(const MediaEngine& engine, quint64 ticket) {
    {
        QMutexLocker lock(&engine.m_sampleMutex);
        if (engine.m_sample == nullptr || engine.m_sampleTicket != ticket)
            return;
        m_sample = gst_sample_ref(engine.m_sample);
    }
    GstVideoInfo info;
    GstBuffer* buffer = gst_sample_get_buffer(m_sample);
    if (buffer == nullptr || !gst_video_info_from_caps(&info, gst_sample_get_caps(m_sample)) ||
        !gst_buffer_map(buffer, &m_map, GST_MAP_READ))
        return;
    m_buffer = buffer;
    m_image = QImage(m_map.data, GST_VIDEO_INFO_WIDTH(&info), GST_VIDEO_INFO_HEIGHT(&info),
                     GST_VIDEO_INFO_PLANE_STRIDE(&info, 0), QImage::Format_RGB32);
}

MediaEngine::Picture::~Picture() {
    m_image = QImage();
    if (m_buffer != nullptr)
        gst_buffer_unmap(m_buffer, &m_map);
    if (m_sample != nullptr)
        gst_sample_unref(m_sample);
}

void MediaEngine::Abandon() {
    if (m_abandoned)
        return;
    m_abandoned = true;
    m_owner = nullptr;
    if (g_engine == this)
        g_engine = nullptr;
    setParent(nullptr);
    QThread* thread = m_thread;
    m_thread = nullptr; // nobody waits for it
    QObject* worker = m_worker;
    connect(thread, &QThread::finished, worker, &QObject::deleteLater);
    connect(thread, &QThread::finished, thread, &QObject::deleteLater);
    connect(thread, &QThread::finished, this, &QObject::deleteLater);
    QMetaObject::invokeMethod(
        m_worker, [this] { Shutdown(); }, Qt::QueuedConnection);
}

// --- On the media thread ---------------------------------------------------------------------

void MediaEngine::BuildPipeline() {
    if (!gst_is_initialized())
        gst_init(nullptr, nullptr);
    m_playbin = gst_element_factory_make("playbin", nullptr);
    m_sink = gst_element_factory_make("appsink", nullptr);
    if (m_playbin == nullptr || m_sink == nullptr) {
        if (m_playbin != nullptr)
            gst_object_unref(m_playbin);
        if (m_sink != nullptr)
            gst_object_unref(m_sink);
        m_playbin = m_sink = nullptr;
        return; // every open then fails
    }
    // Pictures come as 32-bit RGB in the fragment's own size (playbin converts them); the
    // widget scales them to the display rectangle.
    GstCaps* caps = gst_caps_new_simple("video/x-raw", "format", G_TYPE_STRING, "BGRx", nullptr);
    g_object_set(m_sink, "caps", caps, "max-buffers", 2, "drop", FALSE, nullptr);
    gst_caps_unref(caps);
    GstAppSinkCallbacks callbacks{};
    callbacks.new_preroll = &MediaEngine::OnPreroll;
    callbacks.new_sample = &MediaEngine::OnSample;
    gst_app_sink_set_callbacks(GST_APP_SINK(m_sink), &callbacks, this, nullptr);
    g_object_set(m_playbin, "video-sink", m_sink, "flags", kPlayVideoOnly, nullptr);
    GstBus* bus = gst_element_get_bus(m_playbin);
    gst_bus_set_sync_handler(bus, &MediaEngine::OnBusMessage, this, nullptr);
    gst_object_unref(bus);
}

void MediaEngine::SetState(GstState state) {
    gst_element_set_state(m_playbin, state);
}

void MediaEngine::OpenOnMediaThread(quint64 ticket, const QString& uri) {
    if (m_playbin == nullptr) {
        Report([this, ticket] {
            if (GstMediaPlayer* owner = Owner(ticket))
                owner->EngineOpened(ticket, false, 0, 0);
        });
        return;
    }
    // NULL stops the streaming threads of the file before, so no report of it can carry the
    // new ticket, and resets a pipeline that failed on it.
    gst_element_set_state(m_playbin, GST_STATE_NULL);
    {
        QMutexLocker lock(&m_sampleMutex);
        if (m_sample != nullptr)
            gst_sample_unref(m_sample);
        m_sample = nullptr;
    }
    m_streamTicket = ticket;
    m_openingTicket = ticket;
    g_object_set(m_playbin, "uri", uri.toUtf8().constData(), nullptr);
    if (gst_element_set_state(m_playbin, GST_STATE_PAUSED) == GST_STATE_CHANGE_FAILURE) {
        m_openingTicket = 0;
        Report([this, ticket] {
            if (GstMediaPlayer* owner = Owner(ticket))
                owner->EngineOpened(ticket, false, 0, 0);
        });
    }
}

void MediaEngine::AsyncDone(quint64 ticket) {
    if (ticket != m_streamTicket.load())
        return;
    if (ticket != m_openingTicket) {
        Report([this, ticket] {
            if (GstMediaPlayer* owner = Owner(ticket))
                owner->EngineSeekDone(ticket);
        });
        return;
    }
    m_openingTicket = 0;
    gint64 duration = 0;
    if (!gst_element_query_duration(m_playbin, GST_FORMAT_TIME, &duration))
        duration = 0;
    double fps = 0.0;
    bool picture = false;
    if (GstPad* pad = gst_element_get_static_pad(m_sink, "sink")) {
        if (GstCaps* caps = gst_pad_get_current_caps(pad)) {
            GstVideoInfo info;
            if (gst_video_info_from_caps(&info, caps)) {
                picture = true;
                if (GST_VIDEO_INFO_FPS_D(&info) > 0)
                    fps = double(GST_VIDEO_INFO_FPS_N(&info)) / GST_VIDEO_INFO_FPS_D(&info);
            }
            gst_caps_unref(caps);
        }
        gst_object_unref(pad);
    }
    const qint64 ms = duration / GST_MSECOND;
    Report([this, ticket, picture, ms, fps] {
        if (GstMediaPlayer* owner = Owner(ticket))
            owner->EngineOpened(ticket, picture, ms, fps);
    });
}

void MediaEngine::Shutdown() {
    if (m_playbin != nullptr) {
        gst_element_set_state(m_playbin, GST_STATE_NULL);
        GstBus* bus = gst_element_get_bus(m_playbin);
        gst_bus_set_sync_handler(bus, nullptr, nullptr, nullptr);
        gst_object_unref(bus);
        gst_object_unref(m_playbin);
        m_playbin = nullptr;
    }
    {
        QMutexLocker lock(&m_sampleMutex);
        if (m_sample != nullptr)
            gst_sample_unref(m_sample);
        m_sample = nullptr;
    }
    QThread::currentThread()->quit();
}

// On a streaming thread (or the media thread): what matters goes on as queued calls.
GstBusSyncReply MediaEngine::OnBusMessage(GstBus*, GstMessage* message, gpointer data) {
    auto* engine = static_cast<MediaEngine*>(data);
    const quint64 ticket = engine->m_streamTicket.load();
    switch (GST_MESSAGE_TYPE(message)) {
    case GST_MESSAGE_ASYNC_DONE:
        QMetaObject::invokeMethod(
            engine->m_worker, [engine, ticket] { engine->AsyncDone(ticket); },
            Qt::QueuedConnection);
        break;
    case GST_MESSAGE_EOS:
    case GST_MESSAGE_ERROR: {
        const bool failed = GST_MESSAGE_TYPE(message) == GST_MESSAGE_ERROR;
        engine->Report([engine, ticket, failed] {
            if (GstMediaPlayer* owner = engine->Owner(ticket))
                owner->EngineEnded(ticket, failed);
        });
        break;
    }
    default:
        break;
    }
    return GST_BUS_DROP;
}

GstFlowReturn MediaEngine::OnPreroll(GstAppSink* sink, gpointer data) {
    if (GstSample* sample = gst_app_sink_pull_preroll(sink))
        static_cast<MediaEngine*>(data)->StoreSample(sample);
    return GST_FLOW_OK;
}

GstFlowReturn MediaEngine::OnSample(GstAppSink* sink, gpointer data) {
    if (GstSample* sample = gst_app_sink_pull_sample(sink))
        static_cast<MediaEngine*>(data)->StoreSample(sample);
    return GST_FLOW_OK;
}

void MediaEngine::StoreSample(GstSample* sample) {
    const quint64 ticket = m_streamTicket.load();
    // The picture's place in the fragment: its time stamp in the stream's time (a seek changes the
    // segment, not the stamps), rounded up to the millisecond, so that the place of frame n never
    // falls into frame n - 1 when it is turned into frames.
    PictureTime time;
    const GstBuffer* buffer = gst_sample_get_buffer(sample);
    const GstSegment* segment = gst_sample_get_segment(sample);
    if (buffer != nullptr && GST_BUFFER_PTS_IS_VALID(buffer)) {
        const guint64 stream =
            segment != nullptr && segment->format == GST_FORMAT_TIME
                ? gst_segment_to_stream_time(segment, GST_FORMAT_TIME, GST_BUFFER_PTS(buffer))
                : GST_BUFFER_PTS(buffer);
        if (GST_CLOCK_TIME_IS_VALID(stream))
            time.positionMs = qint64((stream + GST_MSECOND - 1) / GST_MSECOND);
        if (GST_BUFFER_DURATION_IS_VALID(buffer))
            time.durationMs = qint64(GST_BUFFER_DURATION(buffer) / GST_MSECOND);
    }
    ++m_picturesGiven;
    bool post = false;
    {
        QMutexLocker lock(&m_sampleMutex);
        if (m_sample != nullptr)
            gst_sample_unref(m_sample);
        m_sample = sample;
        m_sampleTicket = ticket;
        m_sampleTime = time;
        post = !m_framePosted;
        m_framePosted = true;
    }
    // One report stands for every picture that comes before it is handled.
    if (post)
        Report([this, ticket] {
            {
                QMutexLocker lock(&m_sampleMutex);
                m_framePosted = false;
            }
            if (GstMediaPlayer* owner = Owner(ticket))
                owner->EngineFrame(ticket);
        });
}

// --- The picture -----------------------------------------------------------------------------

// Draws the player's current picture stretched over its rectangle; hidden while there is none,
// so that whatever stands behind it (the display panel's caption) is seen.
class VideoSurface : public QWidget {
public:
    VideoSurface(GstMediaPlayer* player, QWidget* display) : QWidget(display), m_player(player) {
        setAttribute(Qt::WA_OpaquePaintEvent);
        setAttribute(Qt::WA_NoSystemBackground);
        setGeometry(display->rect());
        hide();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        if (!m_player || !m_player->m_engine) {
            painter.fillRect(rect(), palette().color(QPalette::Window));
            return;
        }
        const MediaEngine::Picture picture(*m_player->m_engine, m_player->m_ticket);
        if (picture.Image().isNull()) {
            painter.fillRect(rect(), palette().color(QPalette::Window));
            return;
        }
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(rect(), picture.Image());
        m_player->SurfacePainted();
    }

private:
    QPointer<GstMediaPlayer> m_player;
};

// --- The player ------------------------------------------------------------------------------

void GstMediaPlayer::SetMediaThreadHookForTesting(std::function<void()> hook) {
    QMutexLocker lock(&g_hookMutex);
    g_mediaThreadHook = std::move(hook);
}

int GstMediaPlayer::PipelinesMade() {
    return g_pipelinesMade;
}

QStringList GstMediaPlayer::LoadedLibraries() {
    QFile maps(QStringLiteral("/proc/self/maps"));
    if (!maps.open(QIODevice::ReadOnly))
        return {};
    QSet<QString> libraries;
    for (const QByteArray& line : maps.readAll().split('\n')) {
        const int slash = line.indexOf('/');
        if (slash >= 0 && line.contains(".so"))
            libraries.insert(QString::fromLocal8Bit(line.mid(slash)));
    }
    QStringList sorted(libraries.begin(), libraries.end());
    sorted.sort();
    return sorted;
}

GstMediaPlayer::GstMediaPlayer(QObject* parent) : MediaPlayer(parent) {
    m_openLimit = new QTimer(this);
    m_openLimit->setObjectName(QStringLiteral("OpenLimit"));
    m_openLimit->setSingleShot(true);
    m_openLimit->setInterval(kOpenTimeoutMs);
    connect(m_openLimit, &QTimer::timeout, this, &GstMediaPlayer::OpenLimitReached);
    m_playLimit = new QTimer(this);
    m_playLimit->setObjectName(QStringLiteral("PlayLimit"));
    m_playLimit->setSingleShot(true);
    connect(m_playLimit, &QTimer::timeout, this, &GstMediaPlayer::PlayLimitReached);
}

GstMediaPlayer::~GstMediaPlayer() {
    Close();
    delete m_surface;
}

void GstMediaPlayer::Prepare(const QString& path) {
    StopPlayLimit();
    m_failed = false;
    m_settled = false;
    m_notify = false;
    m_playWanted = false;
    m_showFrames = false;
    m_frameShown = false;
    m_atEnd = false;
    m_durationMs = 0;
    m_fps = 0.0;
    m_pendingSeekMs = -1;
    if (m_surface)
        m_surface->hide();
    m_engine = MediaEngine::Current();
    m_ticket = m_engine->Open(this, path);
    m_openLimit->start();
}

bool GstMediaPlayer::Open(const QString& path) {
    Prepare(path);
    if (!m_settled) {
        QEventLoop loop;
        connect(this, &GstMediaPlayer::OpenSettled, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return !m_failed;
}

void GstMediaPlayer::EngineOpened(quint64 ticket, bool ok, qint64 durationMs, double fps) {
    if (ticket != m_ticket || m_settled)
        return;
    m_openLimit->stop();
    m_settled = true;
    m_failed = !ok;
    m_durationMs = durationMs;
    m_fps = fps;
    Q_EMIT OpenSettled();
    if (!m_playWanted)
        return;
    m_playWanted = false;
    if (m_failed)
        FinishSoon();
    else if (m_engine)
        StartPlayback();
}

void GstMediaPlayer::OpenLimitReached() {
    if (m_settled)
        return;
    m_openLimit->stop();
    m_settled = true;
    m_failed = true;
    // The pipeline did not answer in time: it may hang in GStreamer for good. The next file
    // goes to a new one.
    if (m_engine)
        m_engine->Abandon();
    m_engine = nullptr;
    Q_EMIT OpenSettled();
    if (m_playWanted) {
        m_playWanted = false;
        FinishSoon();
    }
}

void GstMediaPlayer::PipelineTaken() {
    // Another player opened a file: this one's open fails, and a fragment it played ends.
    StopPlayLimit();
    m_showFrames = false;
    if (m_surface)
        m_surface->hide();
    if (!m_settled) {
        m_openLimit->stop();
        m_settled = true;
        m_failed = true;
        Q_EMIT OpenSettled();
    }
    m_playWanted = false;
    if (m_notify)
        FinishSoon();
    m_ticket = 0;
}

void GstMediaPlayer::EngineEnded(quint64 ticket, bool failed) {
    if (ticket != m_ticket)
        return;
    if (!m_settled) {
        EngineOpened(ticket, false, 0, 0);
        return;
    }
    StopPlayLimit();
    if (failed) {
        m_failed = true;
        if (m_surface && !HasPicture())
            m_surface->hide();
    }
    m_atEnd = true;
    EndOfPlayback();
}

void GstMediaPlayer::EngineFrame(quint64 ticket) {
    if (ticket != m_ticket)
        return;
    if (m_playing)
        ArmPlayLimit(); // the pipeline is alive
    if (!m_surface || !m_showFrames)
        return;
    if (m_surface->isHidden()) {
        m_surface->show();
        m_surface->raise();
    }
    m_surface->update();
}

void GstMediaPlayer::EngineSeekDone(quint64 ticket) {
    if (ticket == m_ticket)
        m_pendingSeekMs = -1;
}

void GstMediaPlayer::SurfacePainted() {
    if (m_frameShown || !m_showFrames)
        return;
    m_frameShown = true;
    Q_EMIT FirstFrameShown();
}

void GstMediaPlayer::EndOfPlayback() {
    if (!m_notify)
        return;
    m_notify = false;
    Q_EMIT Notify();
}

void GstMediaPlayer::FinishSoon() {
    // A fragment that cannot be played ends at once, like one that has been played, but never
    // within the call that asked for it.
    QTimer::singleShot(0, this, [this] { EndOfPlayback(); });
}

void GstMediaPlayer::SetDisplay(QWidget* display) {
    delete m_surface;
    m_surface = display != nullptr ? new VideoSurface(this, display) : nullptr;
}

void GstMediaPlayer::SetDisplayRect(const QRect& rect) {
    if (m_surface)
        m_surface->setGeometry(rect);
}

void GstMediaPlayer::Play(bool notify) {
    m_notify = notify;
    if (m_ticket == 0 || (m_settled && m_failed) || !m_engine) {
        m_failed = true;
        FinishSoon();
        return;
    }
    m_showFrames = true;
    m_frameShown = false;
    m_atEnd = false;
    // The prerolled first picture is drawn at once; without one the surface waits for the first
    // picture, and the display stays as it is (a file that turns out broken never covers it).
    if (HasPicture())
        EngineFrame(m_ticket);
    if (m_settled)
        StartPlayback();
    else
        m_playWanted = true; // the open's time limit still runs
}

void GstMediaPlayer::StartPlayback() {
    m_playing = true;
    ArmPlayLimit();
    m_engine->Play(m_ticket);
}

void GstMediaPlayer::ArmPlayLimit() {
    // The limit runs from the last picture handled here: the time it stays on screen and then
    // kPlayStallMs more. A picture that takes longer than a minute counts for a minute.
    const qint64 stays =
        m_engine ? std::clamp<qint64>(m_engine->LastPictureTime(m_ticket).durationMs, 0, 60000) : 0;
    m_picturesAtArm = m_engine ? m_engine->PicturesGiven() : 0;
    m_playLimit->start(static_cast<int>(kPlayStallMs + stays));
}

void GstMediaPlayer::StopPlayLimit() {
    m_playing = false;
    m_playLimit->stop();
}

void GstMediaPlayer::PlayLimitReached() {
    if (!m_playing)
        return;
    // Pictures came that have not been handled here yet (this thread was busy for that long):
    // the pipeline is alive, and its report is on the way.
    if (m_engine && m_engine->PicturesGiven() != m_picturesAtArm) {
        ArmPlayLimit();
        return;
    }
    StopPlayLimit();
    // Playing, and no picture for that long: the pipeline hangs (and may hang inside GStreamer
    // for good), or never reports the end. The fragment ends as a broken one: the display shows
    // what stands behind the picture, and the next file goes to a new pipeline.
    m_failed = true;
    m_playWanted = false;
    m_showFrames = false;
    if (m_surface)
        m_surface->hide();
    if (m_engine)
        m_engine->Abandon();
    m_engine = nullptr;
    EndOfPlayback();
}

void GstMediaPlayer::SetNotify(bool notify) {
    m_notify = notify;
}

void GstMediaPlayer::Stop() {
    // Held where it stands, it gives no pictures: nothing to watch.
    StopPlayLimit();
    m_playWanted = false;
    if (m_engine && m_ticket != 0)
        m_engine->Pause(m_ticket);
}

void GstMediaPlayer::Seek(qint64 ms) {
    if (!m_engine || m_ticket == 0 || !m_settled || m_failed)
        return;
    m_atEnd = false;
    m_pendingSeekMs = ms;
    m_engine->Seek(m_ticket, ms);
    if (m_surface && m_showFrames)
        m_surface->update();
}

void GstMediaPlayer::SeekToStart() {
    Seek(0);
}

void GstMediaPlayer::SeekToEnd() {
    Seek(m_durationMs > 0 ? m_durationMs - 1 : 0);
}

double GstMediaPlayer::FrameRate() const {
    return m_fps > 0.0 ? m_fps : 25.0;
}

qint64 GstMediaPlayer::PictureMs() const {
    return m_engine && m_ticket != 0 ? m_engine->LastPictureTime(m_ticket).positionMs : -1;
}

void GstMediaPlayer::Step(int frames) {
    // From the frame it stands at to the middle of the frame wanted, so that the picture shown is
    // that frame whatever the rounding of time stamps; at most to "Конец".
    const int frame = std::clamp(PositionInFrames() + frames, 0, LengthInFrames());
    const auto ms = static_cast<qint64>((frame + 0.5) * 1000.0 / FrameRate());
    Seek(std::clamp<qint64>(ms, 0, std::max<qint64>(0, m_durationMs - 1)));
}

int GstMediaPlayer::LengthInFrames() const {
    return static_cast<int>(m_durationMs * FrameRate() / 1000.0);
}

int GstMediaPlayer::PositionInFrames() const {
    // "Конец" stands one millisecond before the end, where the player still shows a picture.
    if (m_atEnd)
        return LengthInFrames();
    qint64 position = m_pendingSeekMs;
    if (position < 0)
        position = m_settled && !m_failed ? std::max<qint64>(0, PictureMs()) : 0;
    if (m_durationMs > 0 && position >= m_durationMs - 1)
        return LengthInFrames();
    return static_cast<int>(position * FrameRate() / 1000.0);
}

void GstMediaPlayer::Close() {
    m_notify = false;
    m_playWanted = false;
    m_showFrames = false;
    m_openLimit->stop();
    StopPlayLimit();
    if (m_surface)
        m_surface->hide();
    if (m_engine && m_ticket != 0)
        m_engine->Close(m_ticket);
    m_ticket = 0;
    m_settled = true;
}

bool GstMediaPlayer::HasPicture() const {
    return m_engine && m_ticket != 0 && !MediaEngine::Picture(*m_engine, m_ticket).Image().isNull();
}

QImage GstMediaPlayer::LastFrame() const {
    if (!m_engine || m_ticket == 0)
        return QImage();
    return MediaEngine::Picture(*m_engine, m_ticket).Image().copy();
}
