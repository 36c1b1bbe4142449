// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The cost of forcing each answered question to the disk. A control test writes one question's
// record and its answer lines per question; the writer flushes every line to the operating
// system and, for the files it opened itself, waits after each answer until both files are on
// the disk. The baseline writes the same lines through the same writer into files the benchmark
// opened, flushed line by line but never forced to the disk. Both run in the same process, in
// the same folder (below the working folder, on a real disk rather than a memory file system).
// Goal: the synced question costs less than 10 ms of wall time.

#include "benchmarks/ratio_reporter.h"
#include "tests/result_report.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>

namespace {

const CandidateInfo kCandidate{QStringLiteral("Иванов И. И."), QStringLiteral("ТС-21"),
                               QStringLiteral("Лёгкая атлетика"), QStringLiteral("КМС"),
                               QStringLiteral("ИТОГОВОЕ ТЕСТИРОВАНИЕ")};

Question SampleQuestion() {
    Question q;
    q.Text = QStringLiteral("  7.    Какое из приведённых ниже определений общества является "
                            "наиболее полным с точки зрения современной социологии? ");
    q.Picture = QStringLiteral("\\images\\q_network.jpg");
    q.OptionCount = kMaxOptions;
    for (int i = 0; i < kMaxOptions; ++i)
        q.Options[i] = AnswerOption{
            QStringLiteral("Совокупность людей, объединённых исторически сложившимися формами "
                           "совместной деятельности, вариант %1 ")
                .arg(i + 1),
            i == 0 ? 60 : (i == 2 ? 40 : 0), false};
    return q;
}

// A folder with the two result folders below the working folder.
struct ResultFolders {
    QTemporaryDir dir{QDir::currentPath() + QStringLiteral("/result-report-benchmark-XXXXXX")};
    ResultFolders() {
        QDir(dir.path()).mkpath(QStringLiteral("otchet/data1"));
        QDir(dir.path()).mkpath(QStringLiteral("otchet/print otchet"));
    }
};

void WriteOneQuestion(benchmark::State& state, ResultReport& report, int number) {
    static const Question question = SampleQuestion();
    static const QList<int> order{3, 1, 5, 2, 4};
    const PositionFlags ticked{false, true, false, false, false};
    const PositionPoints points{40, 60, 0, 0, 0};
    if (!report.WriteQuestion(number, question, order) || !report.WriteAnswer(ticked, points, 60))
        state.SkipWithError(qPrintable(report.ErrorMessage()));
}

// Baseline: every line flushed to the operating system, nothing forced to the disk.
void BM_QuestionFlushedOnly(benchmark::State& state) {
    ResultFolders folders;
    QFile report(folders.dir.filePath(QStringLiteral("otchet/print otchet/Иванов И. И..txt")));
    QFile data(folders.dir.filePath(QStringLiteral("otchet/data1/Иванов И. И..txt")));
    if (!report.open(QIODevice::WriteOnly | QIODevice::Append) ||
        !data.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        state.SkipWithError("cannot open the files");
        return;
    }
    ResultReport writer;
    writer.OpenReports(&report, report.fileName(), &data, data.fileName(), kCandidate,
                       QStringLiteral("07.12.2026"), QStringLiteral("09:05:03"));
    int number = 0;
    for (auto _ : state)
        WriteOneQuestion(state, writer, ++number);
    writer.CloseReports();
}
BENCHMARK(BM_QuestionFlushedOnly)->Unit(benchmark::kMillisecond)->UseRealTime();

// The program: the files the writer opened, both on the disk after every answer.
void BM_QuestionSyncedToDisk(benchmark::State& state) {
    ResultFolders folders;
    ResultReport writer;
    if (!writer.OpenReports(folders.dir.path(), kCandidate, QStringLiteral("07.12.2026"),
                            QStringLiteral("09:05:03"))) {
        state.SkipWithError(qPrintable(writer.ErrorMessage()));
        return;
    }
    int number = 0;
    for (auto _ : state)
        WriteOneQuestion(state, writer, ++number);
    writer.CloseReports();
}
BENCHMARK(BM_QuestionSyncedToDisk)->Unit(benchmark::kMillisecond)->UseRealTime();

// The wall time per question of both (their medians when repeated), their difference and ratio.
void PrintCost(const RatioReporter& reporter) {
    double cpu = 0, flushed = 0, synced = 0;
    if (!reporter.Find("BM_QuestionFlushedOnly", cpu, flushed) ||
        !reporter.Find("BM_QuestionSyncedToDisk", cpu, synced) || flushed <= 0 || synced <= 0)
        return;
    std::printf("per question: synced %.3f ms, flushed only %.3f ms, cost of the sync %.3f ms "
                "(x%.1f); goal: synced < 10 ms\n",
                synced, flushed, synced - flushed, synced / flushed);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv); // the name's lock renews itself with a timer
    RatioReporter reporter;
    if (!RunBenchmarks(std::vector<char*>(argv, argv + argc), reporter))
        return 1;
    PrintCost(reporter);
    benchmark::Shutdown();
    return 0;
}
