// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The intervals the screens keep: the question area's video notice (3000 ms) and the answer
// button's delay of the training and control screens (700 ms), each measured through the
// screen's own timer and the event loop, against the operating system's own sleep of the same
// length in the same run, and against the coarse timer Qt gives by default.
//
// Each iteration is one interval; the manual time is the interval as it passed. At the end the
// program prints, per benchmark, the shortest and longest interval and the largest distance
// from the figure it should keep.
#include "app/program_shell.h"
#include "platform/fonts.h"
#include "questions/question_area.h"
#include "tests/test2.h"
#include "tests/test6.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <QWidget>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <thread>
#include <vector>

namespace {

struct Spread {
    int figure = 0;
    std::vector<double> ms;
};
std::map<std::string, Spread>& Spreads() {
    static std::map<std::string, Spread> spreads;
    return spreads;
}

// Runs the timer once through the event loop and gives the milliseconds from start() to the
// moment its timeout reached the loop.
double TimeOnce(QTimer* timer) {
    QEventLoop loop;
    const auto connection = QObject::connect(timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    QElapsedTimer clock;
    clock.start();
    timer->start();
    loop.exec();
    const double ms = clock.nsecsElapsed() / 1e6;
    timer->stop();
    QObject::disconnect(connection);
    return ms;
}

void Record(benchmark::State& state, const char* name, int figure, double ms) {
    state.SetIterationTime(ms / 1000.0);
    Spread& spread = Spreads()[name];
    spread.figure = figure;
    spread.ms.push_back(ms);
}

// Baseline: the operating system's sleep of the same length.
void BM_SystemSleep(benchmark::State& state) {
    const int figure = int(state.range(0));
    const std::string name = "BM_SystemSleep/" + std::to_string(figure);
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        std::this_thread::sleep_for(std::chrono::milliseconds(figure));
        const std::chrono::duration<double, std::milli> took =
            std::chrono::steady_clock::now() - start;
        Record(state, name.c_str(), figure, took.count());
    }
}

// Before: a QTimer as Qt makes it by default (a coarse timer may fire 5 % early or late).
void BM_DefaultQtTimer(benchmark::State& state) {
    const int figure = int(state.range(0));
    const std::string name = "BM_DefaultQtTimer/" + std::to_string(figure);
    QTimer timer;
    timer.setInterval(figure);
    for (auto _ : state)
        Record(state, name.c_str(), figure, TimeOnce(&timer));
}

// The question area's Timer2: from the start of the notice to its tick.
void BM_VideoNotice(benchmark::State& state) {
    QWidget host;
    host.resize(1024, 768);
    QuestionArea area(&host);
    for (auto _ : state)
        Record(state, "BM_VideoNotice", 3000, TimeOnce(area.Timer2));
}

// The answer button's delay: Timer4 of the training screen and of the control screen.
template <class Form> void ButtonDelay(benchmark::State& state, const char* name) {
    Form form(ProgramShell());
    auto* timer = form.template findChild<QTimer*>(QStringLiteral("Timer4"));
    if (timer == nullptr) {
        state.SkipWithError("no Timer4");
        return;
    }
    // The screen's own handler is not run: only the interval is measured.
    timer->disconnect(&form);
    for (auto _ : state)
        Record(state, name, 700, TimeOnce(timer));
}
void BM_TrainingButtonDelay(benchmark::State& state) {
    ButtonDelay<TForm2>(state, "BM_TrainingButtonDelay");
}
void BM_ControlButtonDelay(benchmark::State& state) {
    ButtonDelay<TForm6>(state, "BM_ControlButtonDelay");
}

} // namespace

BENCHMARK(BM_SystemSleep)
    ->Arg(3000)
    ->Arg(700)
    ->UseManualTime()
    ->Iterations(4)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DefaultQtTimer)
    ->Arg(3000)
    ->Arg(700)
    ->UseManualTime()
    ->Iterations(4)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_VideoNotice)->UseManualTime()->Iterations(4)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TrainingButtonDelay)->UseManualTime()->Iterations(6)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ControlButtonDelay)->UseManualTime()->Iterations(6)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    InstallFontSubstitutions();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();

    std::printf("\ninterval: figure, shortest, longest, largest distance from the figure (ms)\n");
    for (const auto& [name, spread] : Spreads()) {
        if (spread.ms.empty())
            continue;
        const auto [low, high] = std::minmax_element(spread.ms.begin(), spread.ms.end());
        const double off =
            std::max(std::abs(*low - spread.figure), std::abs(*high - spread.figure));
        std::printf("  %-28s %5d %9.2f %9.2f %7.2f\n", name.c_str(), spread.figure, *low, *high,
                    off);
    }
    benchmark::Shutdown();
    return 0;
}
