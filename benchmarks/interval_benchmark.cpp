// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The intervals the screens keep: the question area's video notice (3000 ms) and the answer
// button's delay of the training and control screens (700 ms), each measured through the
// screen's own timer and the event loop, against the operating system's own sleep of the same
// length in the same run, and against the coarse timer Qt gives by default.
//
// Each repetition is one interval (the manual time is the interval as it passed), and the
// repetitions of all of them are interleaved at random (ratio_reporter.h; 10 unless the command
// line says otherwise), so that a change in the machine's load falls on the timers and their
// baselines alike. At the end the program prints the load average before and after, and per
// benchmark the median, shortest and longest interval, the median and the largest distance from
// the figure, how many intervals ended more than 20 ms from it (the goal), and how long the
// thread waited for a core during the farthest one (the kernel's scheduler statistics), which
// tells a late timer from a process that was not let run.
#include "app/program_shell.h"
#include "benchmarks/ratio_reporter.h"
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
#include <cstring>
#include <fstream>
#include <map>
#include <string>
#include <thread>
#include <vector>

namespace {

struct Spread {
    int figure = 0;
    std::vector<double> ms;
    std::vector<double> waitMs; // of each interval, the time the thread waited for a core
};
std::map<std::string, Spread>& Spreads() {
    static std::map<std::string, Spread> spreads;
    return spreads;
}

// Milliseconds the calling thread has spent ready to run but waiting for a core (the kernel's
// scheduler statistics); 0 where the kernel does not keep them.
double RunQueueWaitMs() {
    std::ifstream file("/proc/thread-self/schedstat");
    long long running = 0, waiting = 0;
    file >> running >> waiting;
    return waiting / 1e6;
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

void Record(benchmark::State& state, const char* name, int figure, double ms, double waitMs) {
    state.SetIterationTime(ms / 1000.0);
    Spread& spread = Spreads()[name];
    spread.figure = figure;
    spread.ms.push_back(ms);
    spread.waitMs.push_back(waitMs);
}

// Measures one interval and the thread's wait for a core during it.
template <class Interval>
void RecordOnce(benchmark::State& state, const char* name, int figure, Interval interval) {
    const double waitBefore = RunQueueWaitMs();
    const double ms = interval();
    Record(state, name, figure, ms, RunQueueWaitMs() - waitBefore);
}

// Baseline: the operating system's sleep of the same length.
void BM_SystemSleep(benchmark::State& state) {
    const int figure = int(state.range(0));
    const std::string name = "BM_SystemSleep/" + std::to_string(figure);
    for (auto _ : state) {
        RecordOnce(state, name.c_str(), figure, [figure] {
            const auto start = std::chrono::steady_clock::now();
            std::this_thread::sleep_for(std::chrono::milliseconds(figure));
            const std::chrono::duration<double, std::milli> took =
                std::chrono::steady_clock::now() - start;
            return took.count();
        });
    }
}

// Before: a QTimer as Qt makes it by default (a coarse timer may fire 5 % early or late).
void BM_DefaultQtTimer(benchmark::State& state) {
    const int figure = int(state.range(0));
    const std::string name = "BM_DefaultQtTimer/" + std::to_string(figure);
    QTimer timer;
    timer.setInterval(figure);
    for (auto _ : state)
        RecordOnce(state, name.c_str(), figure, [&timer] { return TimeOnce(&timer); });
}

// The question area's Timer2: from the start of the notice to its tick.
void BM_VideoNotice(benchmark::State& state) {
    QWidget host;
    host.resize(1024, 768);
    QuestionArea area(&host);
    for (auto _ : state)
        RecordOnce(state, "BM_VideoNotice", 3000, [&area] { return TimeOnce(area.Timer2); });
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
        RecordOnce(state, name, 700, [timer] { return TimeOnce(timer); });
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
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DefaultQtTimer)
    ->Arg(3000)
    ->Arg(700)
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_VideoNotice)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TrainingButtonDelay)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ControlButtonDelay)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

namespace {

constexpr double kGoalMs = 20.0;

std::string LoadAverage() {
    std::ifstream file("/proc/loadavg");
    std::string one, five, fifteen;
    file >> one >> five >> fifteen;
    return one + " " + five + " " + fifteen;
}

double MedianOf(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return (values[(values.size() - 1) / 2] + values[values.size() / 2]) / 2;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    InstallFontSubstitutions();

    static char repetitions[] = "--benchmark_repetitions=10";
    std::vector<char*> args(argv, argv + argc);
    if (std::none_of(args.begin() + 1, args.end(), [](const char* arg) {
            return std::strncmp(arg, "--benchmark_repetitions", 23) == 0;
        }))
        args.push_back(repetitions);
    const std::string loadBefore = LoadAverage();
    RatioReporter reporter;
    if (!RunBenchmarks(WithInterleavedRepetitions(int(args.size()), args.data()), reporter))
        return 1;

    std::printf("\nload average before %s, after %s\n", loadBefore.c_str(), LoadAverage().c_str());
    std::printf("interval (ms): figure, median, shortest, longest; distance from the figure: "
                "median, largest; intervals more than %.0f ms off; of the farthest interval, the "
                "time the thread waited for a core\n",
                kGoalMs);
    for (const auto& [name, spread] : Spreads()) {
        if (spread.ms.empty())
            continue;
        const auto [low, high] = std::minmax_element(spread.ms.begin(), spread.ms.end());
        std::vector<double> off;
        for (const double ms : spread.ms)
            off.push_back(std::abs(ms - spread.figure));
        const auto farthest = std::max_element(off.begin(), off.end());
        const double worst = *farthest;
        const double worstWait = spread.waitMs[size_t(farthest - off.begin())];
        const auto over =
            std::count_if(off.begin(), off.end(), [](double d) { return d > kGoalMs; });
        std::printf("  %-28s %5d %9.2f %9.2f %9.2f %7.2f %7.2f %3d of %-3d %7.2f\n", name.c_str(),
                    spread.figure, MedianOf(spread.ms), *low, *high, MedianOf(off), worst,
                    int(over), int(spread.ms.size()), worstWait);
    }
    benchmark::Shutdown();
    return 0;
}
