// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
// A course fragment through the program's player against GStreamer's own playbin in the same
// run, on an X display (run it under Xvfb: xvfb-run -a video_benchmark [FRAGMENT]):
//
//   BM_PlaybinFirstFrame      baseline: a new playbin from PLAYING to its first picture at an
//                             X video sink (what gst-launch-1.0 playbin does)
//   BM_FirstFrameAfterNotice  the program: a new player, as a new training screen makes it, is
//                             handed the fragment when the notice starts (Prepare) and asked to
//                             play when it ends; from that moment to its first picture drawn
//   BM_GstLaunchPlayCpu       baseline: CPU time of gst-launch-1.0 playing the fragment to its
//                             end with a plain X sink (ximagesink)
//   BM_PlayerPlayCpu          the program: CPU time of the process while the player opens and
//                             plays the same fragment to its end into a shown 470 x 350 panel
//
// Times are manual: wall time to the first frame, CPU time for playing. At the end the program
// prints the ratios and how many shared libraries the process had loaded before and after.
#include "platform/gst_media_player.h"

#include <QApplication>
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

#include <cstdio>
#include <map>
#include <string>

namespace {

QString g_fragment;
std::map<std::string, double> g_total;
std::map<std::string, int> g_count;

void Record(benchmark::State& state, const char* name, double seconds) {
    state.SetIterationTime(seconds);
    g_total[name] += seconds;
    g_count[name] += 1;
}

double ProcessCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec + t.tv_nsec / 1e9;
}

double ChildrenCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return usage.ru_utime.tv_sec + usage.ru_utime.tv_usec / 1e6 + usage.ru_stime.tv_sec +
           usage.ru_stime.tv_usec / 1e6;
}

// Waits, running the event loop, until signal comes (at most a minute).
template <class Sender, class Signal> bool WaitFor(Sender* sender, Signal signal) {
    QEventLoop loop;
    QTimer limit;
    limit.setSingleShot(true);
    QObject::connect(&limit, &QTimer::timeout, &loop, [&loop] { loop.exit(1); });
    QObject::connect(sender, signal, &loop, [&loop] { loop.exit(0); });
    limit.start(60000);
    return loop.exec() == 0;
}

GstPadProbeReturn FirstBuffer(GstPad*, GstPadProbeInfo*, gpointer data) {
    auto* clock = static_cast<QElapsedTimer*>(data);
    *reinterpret_cast<qint64*>(clock + 1) = clock->nsecsElapsed();
    return GST_PAD_PROBE_REMOVE;
}

void BM_PlaybinFirstFrame(benchmark::State& state) {
    const QByteArray uri = QUrl::fromLocalFile(g_fragment).toEncoded();
    for (auto _ : state) {
        GstElement* playbin = gst_element_factory_make("playbin", nullptr);
        GstElement* sink = gst_element_factory_make("ximagesink", nullptr);
        g_object_set(playbin, "uri", uri.constData(), "video-sink", sink, "flags", 0x1, nullptr);
        GstPad* pad = gst_element_get_static_pad(sink, "sink");
        struct {
            QElapsedTimer clock;
            qint64 first = -1;
        } probe;
        gst_pad_add_probe(pad, GST_PAD_PROBE_TYPE_BUFFER, &FirstBuffer, &probe, nullptr);
        gst_object_unref(pad);
        probe.clock.start();
        gst_element_set_state(playbin, GST_STATE_PLAYING);
        GstBus* bus = gst_element_get_bus(playbin);
        while (probe.first < 0) {
            GstMessage* message = gst_bus_timed_pop_filtered(
                bus, 10 * GST_MSECOND, GstMessageType(GST_MESSAGE_ERROR | GST_MESSAGE_EOS));
            if (message != nullptr) {
                gst_message_unref(message);
                break;
            }
        }
        gst_object_unref(bus);
        gst_element_set_state(playbin, GST_STATE_NULL);
        gst_object_unref(playbin);
        if (probe.first < 0) {
            state.SkipWithError("no picture from playbin");
            return;
        }
        Record(state, "BM_PlaybinFirstFrame", probe.first / 1e9);
    }
}

void BM_FirstFrameAfterNotice(benchmark::State& state) {
    QWidget panel;
    panel.resize(470, 350);
    panel.show();
    for (auto _ : state) {
        GstMediaPlayer player;
        player.SetDisplay(&panel);
        player.SetDisplayRect(QRect(0, 0, 471, 351));
        player.Prepare(g_fragment); // the notice starts
        if (!player.Settled() && !WaitFor(&player, &GstMediaPlayer::OpenSettled)) {
            state.SkipWithError("not opened");
            return;
        }
        QElapsedTimer clock; // the notice ends
        clock.start();
        player.Play(true);
        if (!WaitFor(&player, &GstMediaPlayer::FirstFrameShown)) {
            state.SkipWithError("no picture drawn");
            return;
        }
        Record(state, "BM_FirstFrameAfterNotice", clock.nsecsElapsed() / 1e9);
        player.Close();
    }
}

void BM_GstLaunchPlayCpu(benchmark::State& state) {
    const QString uri = QUrl::fromLocalFile(g_fragment).toString(QUrl::FullyEncoded);
    for (auto _ : state) {
        const double before = ChildrenCpuSeconds();
        QProcess launch;
        launch.start(QStringLiteral("gst-launch-1.0"),
                     {QStringLiteral("-q"), QStringLiteral("playbin"), QStringLiteral("uri=") + uri,
                      QStringLiteral("flags=video"), QStringLiteral("video-sink=ximagesink")});
        if (!launch.waitForFinished(60000) || launch.exitCode() != 0) {
            state.SkipWithError("gst-launch-1.0 failed");
            return;
        }
        Record(state, "BM_GstLaunchPlayCpu", ChildrenCpuSeconds() - before);
    }
}

void BM_PlayerPlayCpu(benchmark::State& state) {
    QWidget panel;
    panel.resize(470, 350);
    panel.show();
    GstMediaPlayer player;
    player.SetDisplay(&panel);
    player.SetDisplayRect(QRect(0, 0, 471, 351));
    for (auto _ : state) {
        const double before = ProcessCpuSeconds();
        if (!player.Open(g_fragment)) {
            state.SkipWithError("not opened");
            return;
        }
        player.Play(true);
        if (!WaitFor(&player, &MediaPlayer::Notify)) {
            state.SkipWithError("no end of playback");
            return;
        }
        Record(state, "BM_PlayerPlayCpu", ProcessCpuSeconds() - before);
    }
}

} // namespace

BENCHMARK(BM_PlaybinFirstFrame)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FirstFrameAfterNotice)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GstLaunchPlayCpu)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlayerPlayCpu)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    gst_init(nullptr, nullptr);
    benchmark::Initialize(&argc, argv);
    g_fragment = argc > 1 ? QString::fromLocal8Bit(argv[1])
                          : QStringLiteral(COURSE_SOURCE_DIR "/course/images/$film01.avi");
    if (!QFileInfo::exists(g_fragment)) {
        std::fprintf(stderr, "no fragment %s\n", qPrintable(g_fragment));
        return 2;
    }
    const QStringList librariesBefore = GstMediaPlayer::LoadedLibraries();
    benchmark::RunSpecifiedBenchmarks();
    auto mean = [](const char* name) {
        return g_count[name] > 0 ? g_total[name] / g_count[name] : 0.0;
    };
    std::printf("\nmeans: playbin first frame %.1f ms, program after the notice %.1f ms: %.2f x\n",
                mean("BM_PlaybinFirstFrame") * 1e3, mean("BM_FirstFrameAfterNotice") * 1e3,
                mean("BM_FirstFrameAfterNotice") / mean("BM_PlaybinFirstFrame"));
    std::printf("CPU to play: gst-launch-1.0 with ximagesink %.0f ms, program %.0f ms: %.2f x\n",
                mean("BM_GstLaunchPlayCpu") * 1e3, mean("BM_PlayerPlayCpu") * 1e3,
                mean("BM_PlayerPlayCpu") / mean("BM_GstLaunchPlayCpu"));
    const QStringList librariesAfter = GstMediaPlayer::LoadedLibraries();
    std::printf("shared libraries: %d at the start, %d after playing; loaded for playing:\n",
                int(librariesBefore.size()), int(librariesAfter.size()));
    for (const QString& library : librariesAfter)
        if (!librariesBefore.contains(library))
            std::printf("  %s\n", qPrintable(library));
    benchmark::Shutdown();
    return 0;
}
