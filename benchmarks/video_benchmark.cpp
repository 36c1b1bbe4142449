// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
// A course fragment through the program's player against GStreamer's own playbin in the same
// run, on an X display (run it under Xvfb: xvfb-run -a video_benchmark [--notice_ms=N]
// [FRAGMENT]).
//
// The first picture, as the question area shows a fragment: when the notice starts, its timer
// (precise, 3000 ms) is started, the player made and the fragment handed to it (Prepare); when the
// timer ends the player is asked to play, and the time is taken from that moment to the first
// picture drawn. An open that takes longer than the notice therefore counts in full. During the
// notice a 5 ms timer ticks: the longest gap between its ticks shows whether the open held the
// user-interface thread (the screen), beside the time making the player and Prepare() took there.
//
//   BM_PlaybinFirstFrame          baseline, warm: a new playbin with an X video sink, from
//                                 PLAYING to its first picture at the sink (what
//                                 gst-launch-1.0 playbin does, without starting a process)
//   BM_FirstFrameAfterNotice      the program, warm: a new player, as a new screen makes it
//   BM_PlaybinFirstFrameCold      baseline, cold: a fresh process of this program from main()
//                                 through gst_init to the first picture at the sink
//   BM_FirstFrameAfterNoticeCold  the program, cold: the first fragment of a fresh process (a
//                                 Qt program whose panel is on screen, GStreamer not yet
//                                 loaded), as at the first video of a test
//
//   BM_NoticeTicksAlone           the baseline of the gaps: the longest gap between the 5 ms
//                                 ticks in a notice with nothing opened (the manual time)
//
// The CPU to play, both warm in this process (the process's CPU time, every thread, from the
// start of the open to the end of the fragment):
//
//   BM_PlaybinPlayCpu             baseline: playbin with a plain X sink (ximagesink), what
//                                 gst-launch-1.0 playbin ... video-sink=ximagesink runs
//   BM_PlayerPlayCpu              the program: the player opens the fragment and plays it to its
//                                 end into a shown 470 x 350 display panel
//   BM_GstLaunchProcessCpu        for reference: the whole gst-launch-1.0 process (its start and
//                                 GStreamer's set-up included), from the kernel's accounting
//
// Before the benchmarks run, one picture is shown through both in this process, so neither warm
// side pays for loading GStreamer. Every benchmark is one measurement a repetition; repetitions
// are interleaved at random (ratio_reporter.h). At the end the program prints the medians and the
// worst of each, the ratios of the medians, and the libraries the cold player loaded to play.
#include "benchmarks/ratio_reporter.h"
#include "platform/gst_media_player.h"

#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QProcess>
#include <QStringList>
#include <QTimer>
#include <QUrl>
#include <QWidget>
#include <benchmark/benchmark.h>

#include <gst/gst.h>
#include <sys/resource.h>
#include <time.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

const char kColdPlaybin[] = "--cold-playbin";
const char kColdPlayer[] = "--cold-player";

QString g_fragment;
int g_noticeMs = 3000;
QString g_self;
std::map<std::string, std::vector<double>> g_ms; // every measurement, by benchmark
QStringList g_playerLibraries;                   // what the cold player loaded to play

void Record(benchmark::State& state, const char* name, double ms) {
    state.SetIterationTime(ms / 1000.0);
    g_ms[name].push_back(ms);
}

double ProcessCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

double ChildrenCpuMs() {
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
}

// Runs the event loop until the signal comes (at most a minute); false on the time limit.
template <class Sender, class Signal> bool WaitFor(Sender* sender, Signal signal) {
    QEventLoop loop;
    QTimer limit;
    limit.setSingleShot(true);
    QObject::connect(&limit, &QTimer::timeout, &loop, [&loop] { loop.exit(1); });
    QObject::connect(sender, signal, &loop, [&loop] { loop.exit(0); });
    limit.start(60000);
    return loop.exec() == 0;
}

// --- The baseline: playbin with an X sink -------------------------------------------------------

struct FirstBufferProbe {
    QElapsedTimer clock;
    qint64 firstNs = -1;
};

GstPadProbeReturn FirstBuffer(GstPad*, GstPadProbeInfo*, gpointer data) {
    auto* probe = static_cast<FirstBufferProbe*>(data);
    probe->firstNs = probe->clock.nsecsElapsed();
    return GST_PAD_PROBE_REMOVE;
}

// A playbin of the fragment's video with ximagesink, as gst-launch-1.0 builds it.
GstElement* MakePlaybin(FirstBufferProbe* probe) {
    const QByteArray uri = QUrl::fromLocalFile(g_fragment).toEncoded();
    GstElement* playbin = gst_element_factory_make("playbin", nullptr);
    GstElement* sink = gst_element_factory_make("ximagesink", nullptr);
    if (playbin == nullptr || sink == nullptr)
        return nullptr;
    g_object_set(playbin, "uri", uri.constData(), "video-sink", sink, "flags", 0x1, nullptr);
    if (probe != nullptr) {
        GstPad* pad = gst_element_get_static_pad(sink, "sink");
        gst_pad_add_probe(pad, GST_PAD_PROBE_TYPE_BUFFER, &FirstBuffer, probe, nullptr);
        gst_object_unref(pad);
    }
    return playbin;
}

// Waits for the first picture (probe given) or for the end of the fragment; false on an error.
bool RunPlaybin(GstElement* playbin, const FirstBufferProbe* probe) {
    gst_element_set_state(playbin, GST_STATE_PLAYING);
    GstBus* bus = gst_element_get_bus(playbin);
    bool ok = false;
    for (;;) {
        if (probe != nullptr && probe->firstNs >= 0) {
            ok = true;
            break;
        }
        GstMessage* message =
            gst_bus_timed_pop_filtered(bus, probe != nullptr ? 2 * GST_MSECOND : 60 * GST_SECOND,
                                       GstMessageType(GST_MESSAGE_ERROR | GST_MESSAGE_EOS));
        if (message == nullptr) {
            if (probe == nullptr)
                break; // a minute without the end
            continue;
        }
        ok = probe == nullptr && GST_MESSAGE_TYPE(message) == GST_MESSAGE_EOS;
        gst_message_unref(message);
        break;
    }
    gst_object_unref(bus);
    gst_element_set_state(playbin, GST_STATE_NULL);
    gst_object_unref(playbin);
    return ok;
}

// Milliseconds from PLAYING to the first picture at the sink; negative when none came.
double PlaybinFirstFrameMs() {
    FirstBufferProbe probe;
    GstElement* playbin = MakePlaybin(&probe);
    if (playbin == nullptr)
        return -1;
    probe.clock.start();
    return RunPlaybin(playbin, &probe) ? probe.firstNs / 1e6 : -1;
}

// --- The program: the player as the question area drives it ----------------------------------

struct NoticeResult {
    double firstFrameMs = -1; // from the notice's end (Play) to the first picture drawn
    double openMs = -1;       // from the notice's start to the open settled
    double startCallMs = -1;  // the user-interface thread in making the player and Prepare()
    double longestGapMs = -1; // the longest gap between ticks of a 5 ms timer during the notice
};

// The notice's precise single-shot timer, and the 5 ms tick that looks for gaps through it.
void SetUpNoticeAndTick(QTimer* notice, QTimer* tick) {
    notice->setSingleShot(true);
    notice->setTimerType(Qt::PreciseTimer);
    notice->setInterval(g_noticeMs);
    tick->setTimerType(Qt::PreciseTimer);
    tick->setInterval(5);
}

// The notice starts: its precise timer runs, the player is made (a screen makes it when first
// used) and handed the fragment; at the timer's end the player is asked to play, as
// QuestionArea::Timer2Timer does. A 5 ms timer ticks through the notice, so that an open that
// held the user-interface thread would show as a long gap between its ticks.
NoticeResult FirstFrameAfterNotice(QWidget* panel) {
    NoticeResult result;
    QTimer notice;
    QTimer tick;
    SetUpNoticeAndTick(&notice, &tick);
    QElapsedTimer sinceNoticeStart;
    QElapsedTimer sinceNoticeEnd;
    qint64 lastTickNs = 0;
    result.longestGapMs = 0;
    QObject::connect(&tick, &QTimer::timeout, &tick, [&] {
        const qint64 now = sinceNoticeStart.nsecsElapsed();
        result.longestGapMs = std::max(result.longestGapMs, (now - lastTickNs) / 1e6);
        lastTickNs = now;
    });
    std::unique_ptr<GstMediaPlayer> player;
    QObject::connect(&notice, &QTimer::timeout, &notice, [&] {
        const qint64 now = sinceNoticeStart.nsecsElapsed();
        result.longestGapMs = std::max(result.longestGapMs, (now - lastTickNs) / 1e6);
        tick.stop();
        sinceNoticeEnd.start();
        player->SetDisplayRect(QRect(0, 0, 471, 351));
        player->Play(true);
    });
    notice.start();
    sinceNoticeStart.start();
    tick.start();
    player = std::make_unique<GstMediaPlayer>();
    QObject::connect(player.get(), &GstMediaPlayer::OpenSettled, player.get(),
                     [&] { result.openMs = sinceNoticeStart.nsecsElapsed() / 1e6; });
    player->SetDisplay(panel);
    player->Prepare(g_fragment);
    result.startCallMs = sinceNoticeStart.nsecsElapsed() / 1e6;
    if (!WaitFor(player.get(), &GstMediaPlayer::FirstFrameShown) || player->Failed()) {
        result.firstFrameMs = -1;
        return result;
    }
    result.firstFrameMs = sinceNoticeEnd.nsecsElapsed() / 1e6;
    // The prerolled picture may be drawn before the open's report has come back.
    if (!player->Settled())
        WaitFor(player.get(), &GstMediaPlayer::OpenSettled);
    player->Close();
    return result;
}

// The baseline of the gaps: the same notice and ticks with nothing opened; the longest gap.
double LongestGapAlone() {
    QTimer notice;
    QTimer tick;
    SetUpNoticeAndTick(&notice, &tick);
    QElapsedTimer sinceNoticeStart;
    qint64 lastTickNs = 0;
    double longest = 0;
    auto gap = [&] {
        const qint64 now = sinceNoticeStart.nsecsElapsed();
        longest = std::max(longest, (now - lastTickNs) / 1e6);
        lastTickNs = now;
    };
    QObject::connect(&tick, &QTimer::timeout, &tick, gap);
    QEventLoop loop;
    QObject::connect(&notice, &QTimer::timeout, &loop, [&] {
        gap();
        loop.quit();
    });
    notice.start();
    sinceNoticeStart.start();
    tick.start();
    loop.exec();
    return longest;
}

// A shown 470 x 350 panel, as the question area's video panel.
struct Panel {
    QWidget widget;
    Panel() {
        widget.resize(470, 350);
        widget.show();
        QEventLoop loop;
        QTimer::singleShot(50, &loop, &QEventLoop::quit);
        loop.exec(); // mapped and painted, as the screen is when its notice starts
    }
};

// --- Cold: a fresh process for each measurement -----------------------------------------------

// The baseline's child: main() through gst_init to the first picture.
int ColdPlaybinChild() {
    QElapsedTimer sinceMain;
    sinceMain.start();
    gst_init(nullptr, nullptr);
    FirstBufferProbe probe;
    GstElement* playbin = MakePlaybin(&probe);
    if (playbin == nullptr)
        return 1;
    probe.clock = sinceMain;
    if (!RunPlaybin(playbin, &probe))
        return 1;
    std::printf("first_frame_ms=%.3f\n", probe.firstNs / 1e6);
    return 0;
}

// The program's child: a Qt program with its panel on screen shows its first fragment.
int ColdPlayerChild(int argc, char** argv) {
    QApplication app(argc, argv);
    Panel panel;
    const QStringList before = GstMediaPlayer::LoadedLibraries();
    const NoticeResult result = FirstFrameAfterNotice(&panel.widget);
    if (result.firstFrameMs < 0)
        return 1;
    std::printf("first_frame_ms=%.3f open_ms=%.3f start_call_ms=%.3f longest_gap_ms=%.3f\n",
                result.firstFrameMs, result.openMs, result.startCallMs, result.longestGapMs);
    for (const QString& library : GstMediaPlayer::LoadedLibraries())
        if (!before.contains(library))
            std::printf("library=%s\n", qPrintable(library));
    return 0;
}

// Runs this program as a child in the given mode and reads its figures; false when it failed.
bool RunChild(const char* mode, std::map<QString, double>* figures, QStringList* libraries) {
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(g_self, {QString::fromLatin1(mode), g_fragment, QString::number(g_noticeMs)});
    if (!child.waitForFinished(60000) || child.exitStatus() != QProcess::NormalExit ||
        child.exitCode() != 0)
        return false;
    for (const QByteArray& line : child.readAllStandardOutput().split('\n')) {
        if (line.startsWith("library=")) {
            if (libraries != nullptr)
                *libraries << QString::fromLocal8Bit(line.mid(8));
            continue;
        }
        for (const QByteArray& pair : line.split(' ')) {
            const int equals = pair.indexOf('=');
            if (equals > 0)
                (*figures)[QString::fromLatin1(pair.left(equals))] =
                    pair.mid(equals + 1).toDouble();
        }
    }
    return figures->count(QStringLiteral("first_frame_ms")) > 0;
}

// --- The benchmarks ----------------------------------------------------------------------------

void BM_PlaybinFirstFrame(benchmark::State& state) {
    for (auto _ : state) {
        const double ms = PlaybinFirstFrameMs();
        if (ms < 0) {
            state.SkipWithError("no picture from playbin");
            return;
        }
        Record(state, "BM_PlaybinFirstFrame", ms);
    }
}

void BM_FirstFrameAfterNotice(benchmark::State& state) {
    Panel panel;
    for (auto _ : state) {
        const NoticeResult result = FirstFrameAfterNotice(&panel.widget);
        if (result.firstFrameMs < 0) {
            state.SkipWithError("no picture drawn");
            return;
        }
        Record(state, "BM_FirstFrameAfterNotice", result.firstFrameMs);
        g_ms["open (warm)"].push_back(result.openMs);
        g_ms["start call (warm)"].push_back(result.startCallMs);
        g_ms["longest gap (warm)"].push_back(result.longestGapMs);
        state.counters["open_ms"] = result.openMs;
        state.counters["gap_ms"] = result.longestGapMs;
    }
}

void BM_NoticeTicksAlone(benchmark::State& state) {
    for (auto _ : state)
        Record(state, "BM_NoticeTicksAlone", LongestGapAlone());
}

void BM_PlaybinFirstFrameCold(benchmark::State& state) {
    for (auto _ : state) {
        std::map<QString, double> figures;
        if (!RunChild(kColdPlaybin, &figures, nullptr)) {
            state.SkipWithError("the playbin child failed");
            return;
        }
        Record(state, "BM_PlaybinFirstFrameCold", figures[QStringLiteral("first_frame_ms")]);
    }
}

void BM_FirstFrameAfterNoticeCold(benchmark::State& state) {
    for (auto _ : state) {
        std::map<QString, double> figures;
        QStringList libraries;
        if (!RunChild(kColdPlayer, &figures, &libraries)) {
            state.SkipWithError("the player child failed");
            return;
        }
        Record(state, "BM_FirstFrameAfterNoticeCold", figures[QStringLiteral("first_frame_ms")]);
        g_ms["open (cold)"].push_back(figures[QStringLiteral("open_ms")]);
        g_ms["start call (cold)"].push_back(figures[QStringLiteral("start_call_ms")]);
        g_ms["longest gap (cold)"].push_back(figures[QStringLiteral("longest_gap_ms")]);
        state.counters["open_ms"] = figures[QStringLiteral("open_ms")];
        state.counters["gap_ms"] = figures[QStringLiteral("longest_gap_ms")];
        if (g_playerLibraries.isEmpty())
            g_playerLibraries = libraries;
    }
}

void BM_PlaybinPlayCpu(benchmark::State& state) {
    for (auto _ : state) {
        const double before = ProcessCpuMs();
        GstElement* playbin = MakePlaybin(nullptr);
        if (playbin == nullptr || !RunPlaybin(playbin, nullptr)) {
            state.SkipWithError("playbin did not play to the end");
            return;
        }
        Record(state, "BM_PlaybinPlayCpu", ProcessCpuMs() - before);
    }
}

void BM_PlayerPlayCpu(benchmark::State& state) {
    Panel panel;
    GstMediaPlayer player;
    player.SetDisplay(&panel.widget);
    player.SetDisplayRect(QRect(0, 0, 471, 351));
    for (auto _ : state) {
        const double before = ProcessCpuMs();
        if (!player.Open(g_fragment)) {
            state.SkipWithError("not opened");
            return;
        }
        player.Play(true);
        if (!WaitFor(&player, &MediaPlayer::Notify)) {
            state.SkipWithError("no end of playback");
            return;
        }
        Record(state, "BM_PlayerPlayCpu", ProcessCpuMs() - before);
    }
    player.Close();
}

void BM_GstLaunchProcessCpu(benchmark::State& state) {
    const QString uri = QUrl::fromLocalFile(g_fragment).toString(QUrl::FullyEncoded);
    for (auto _ : state) {
        const double before = ChildrenCpuMs();
        QProcess launch;
        launch.start(QStringLiteral("gst-launch-1.0"),
                     {QStringLiteral("-q"), QStringLiteral("playbin"), QStringLiteral("uri=") + uri,
                      QStringLiteral("flags=video"), QStringLiteral("video-sink=ximagesink")});
        if (!launch.waitForFinished(60000) || launch.exitCode() != 0) {
            state.SkipWithError("gst-launch-1.0 failed");
            return;
        }
        Record(state, "BM_GstLaunchProcessCpu", ChildrenCpuMs() - before);
    }
}

} // namespace

BENCHMARK(BM_PlaybinFirstFrame)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FirstFrameAfterNotice)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NoticeTicksAlone)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlaybinFirstFrameCold)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FirstFrameAfterNoticeCold)
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlaybinPlayCpu)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlayerPlayCpu)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GstLaunchProcessCpu)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

namespace {

struct Summary {
    double median = 0;
    double worst = 0;
    size_t count = 0;
};

Summary Summarise(const std::string& name) {
    std::vector<double> values = g_ms[name];
    Summary s;
    s.count = values.size();
    if (values.empty())
        return s;
    std::sort(values.begin(), values.end());
    s.median = (values[(values.size() - 1) / 2] + values[values.size() / 2]) / 2;
    s.worst = values.back();
    return s;
}

void PrintPair(const char* what, const std::string& baseline, const std::string& measured) {
    const Summary b = Summarise(baseline);
    const Summary m = Summarise(measured);
    if (b.count == 0 || m.count == 0 || b.median <= 0)
        return;
    std::printf("%s: %s %.1f ms (worst %.1f), %s %.1f ms (worst %.1f): %.2f x (%zu, %zu runs)\n",
                what, baseline.c_str(), b.median, b.worst, measured.c_str(), m.median, m.worst,
                m.median / b.median, b.count, m.count);
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::strcmp(argv[1], kColdPlaybin) == 0) {
        g_fragment = QString::fromLocal8Bit(argv[2]);
        return ColdPlaybinChild();
    }
    if (argc == 4 && std::strcmp(argv[1], kColdPlayer) == 0) {
        g_fragment = QString::fromLocal8Bit(argv[2]);
        g_noticeMs = std::atoi(argv[3]);
        return ColdPlayerChild(argc, argv);
    }

    // Our own arguments: the notice's length and the fragment; the rest are the benchmark's.
    g_fragment = QStringLiteral(COURSE_SOURCE_DIR "/course/images/$film01.avi");
    std::vector<char*> rest{argv[0]};
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--notice_ms=", 12) == 0)
            g_noticeMs = std::atoi(argv[i] + 12);
        else if (argv[i][0] != '-')
            g_fragment = QFileInfo(QString::fromLocal8Bit(argv[i])).absoluteFilePath();
        else
            rest.push_back(argv[i]);
    }
    if (!QFileInfo::exists(g_fragment)) {
        std::fprintf(stderr, "no fragment %s\n", qPrintable(g_fragment));
        return 2;
    }
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    g_self = QCoreApplication::applicationFilePath();
    gst_init(nullptr, nullptr);

    // Both warm sides loaded before anything is measured.
    {
        Panel panel;
        const double playbin = PlaybinFirstFrameMs();
        const int notice = g_noticeMs;
        g_noticeMs = 0;
        const NoticeResult player = FirstFrameAfterNotice(&panel.widget);
        g_noticeMs = notice;
        if (playbin < 0 || player.firstFrameMs < 0) {
            std::fprintf(stderr, "the fragment does not play (is there an X display?)\n");
            return 1;
        }
        std::printf("warm-up, in this process: playbin's first picture %.1f ms, the player's "
                    "%.1f ms\nnotice: %d ms\n",
                    playbin, player.firstFrameMs, g_noticeMs);
    }

    RatioReporter reporter;
    if (!RunBenchmarks(WithInterleavedRepetitions(int(rest.size()), rest.data()), reporter))
        return 1;

    std::printf("\nmedians (worst) of the repetitions, and the ratio of the medians:\n");
    PrintPair("first picture, warm", "BM_PlaybinFirstFrame", "BM_FirstFrameAfterNotice");
    PrintPair("first picture, cold", "BM_PlaybinFirstFrameCold", "BM_FirstFrameAfterNoticeCold");
    for (const char* kind : {"warm", "cold"}) {
        const Summary open = Summarise(std::string("open (") + kind + ")");
        const Summary call = Summarise(std::string("start call (") + kind + ")");
        const Summary gap = Summarise(std::string("longest gap (") + kind + ")");
        if (open.count == 0)
            continue;
        std::printf("during the %d ms notice, %s: the open took %.1f ms (worst %.1f); making the "
                    "player and Prepare() held the user-interface thread %.2f ms (worst %.2f); "
                    "longest gap between 5 ms ticks %.1f ms (worst %.1f)\n",
                    g_noticeMs, kind, open.median, open.worst, call.median, call.worst, gap.median,
                    gap.worst);
    }
    const Summary alone = Summarise("BM_NoticeTicksAlone");
    if (alone.count > 0)
        std::printf("longest gap between 5 ms ticks in a notice with nothing opened: %.1f ms "
                    "(worst %.1f)\n",
                    alone.median, alone.worst);
    PrintPair("CPU to play, warm", "BM_PlaybinPlayCpu", "BM_PlayerPlayCpu");
    const Summary launch = Summarise("BM_GstLaunchProcessCpu");
    if (launch.count > 0)
        std::printf("for reference, the gst-launch-1.0 process: %.1f ms of CPU (worst %.1f)\n",
                    launch.median, launch.worst);
    if (!g_playerLibraries.isEmpty()) {
        std::printf("libraries the cold player loaded to play its first fragment (%d):\n",
                    int(g_playerLibraries.size()));
        for (const QString& library : g_playerLibraries)
            std::printf("  %s\n", qPrintable(library));
    }
    benchmark::Shutdown();
    return 0;
}
