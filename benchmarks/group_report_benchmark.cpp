// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
// A year of a department: 10,000 data files of control tests with 10 to 40 questions each,
// written by the program's own result writer from the sample course. In one run it measures the
// bare cost of reading the files and decoding them from Windows-1251 into lines against the whole
// group report on the same files (reading and checking every file, the item analysis, the CSV
// and the HTML page with its two charts). Goal: the report takes at most twice the baseline.

#include "benchmarks/ratio_reporter.h"
#include "platform/text_file.h"
#include "review/data_file_reader.h"
#include "tools/groupreport/csv_report.h"
#include "tools/groupreport/group_results.h"
#include "tools/groupreport/html_report.h"
#include "tools/groupreport/item_analysis.h"
#include "tools/groupreport/sample_group.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>

namespace {

constexpr int kFiles = 10000;

const QStringList& DataFiles() {
    static QTemporaryDir folder;
    static const QStringList files = [] {
        QuestionBank bank;
        const LoadResult load =
            bank.LoadFile(QStringLiteral(COURSE_SOURCE_DIR "/course/ortu/pdb12.db"));
        if (!load.ok())
            std::fprintf(stderr, "%s\n", qPrintable(load.message));
        SampleGroupOptions options;
        options.students = kFiles;
        options.minQuestions = 10;
        options.maxQuestions = 40;
        options.seed = 2026;
        QString error;
        const QStringList written = WriteSampleGroup(bank, folder.path(), options, &error);
        if (!error.isEmpty())
            std::fprintf(stderr, "%s\n", qPrintable(error));
        return DataFilesOf({folder.path()});
    }();
    return files;
}

qint64 TotalBytes() {
    qint64 total = 0;
    for (const QString& path : DataFiles())
        total += QFileInfo(path).size();
    return total;
}

// Baseline: every file opened, read whole, decoded from Windows-1251 and split into lines.
void BM_ReadAndDecodeFiles(benchmark::State& state) {
    const QStringList& files = DataFiles();
    for (auto _ : state) {
        qsizetype lines = 0;
        for (const QString& path : files) {
            QFile file(path);
            if (!file.open(QIODevice::ReadOnly))
                state.SkipWithError("cannot open");
            lines += DecodeCp1251(file.readAll()).split(QStringLiteral("\r\n")).size();
        }
        benchmark::DoNotOptimize(lines);
    }
    state.SetBytesProcessed(state.iterations() * TotalBytes());
}
BENCHMARK(BM_ReadAndDecodeFiles)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->MeasureProcessCPUTime()
    ->UseRealTime();

// For reference: the review's data file reader alone, one file after another, which the report
// uses for every file.
void BM_ReadDataFilesWithReviewReader(benchmark::State& state) {
    const QStringList& files = DataFiles();
    for (auto _ : state) {
        int records = 0;
        for (const QString& path : files) {
            ReviewData data;
            if (!ReadDataFile(path, &data).ok())
                state.SkipWithError("not read");
            records += data.ReviewCount;
        }
        benchmark::DoNotOptimize(records);
    }
    state.SetBytesProcessed(state.iterations() * TotalBytes());
}
BENCHMARK(BM_ReadDataFilesWithReviewReader)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->MeasureProcessCPUTime()
    ->UseRealTime();

// The whole report as groupreport makes it, short of writing the two files.
void BM_GroupReport(benchmark::State& state) {
    const QStringList& files = DataFiles();
    for (auto _ : state) {
        const GroupResults group = ReadGroup(files);
        if (group.students.size() != kFiles)
            state.SkipWithError("files not used");
        const QList<ItemStatistics> items = AnalyseItems(group.students);
        const QByteArray csv = GroupCsv(group.students);
        const QByteArray html = GroupHtml(QStringLiteral("Кафедра, учебный год"), group, items);
        benchmark::DoNotOptimize(csv.size() + html.size());
    }
    state.SetBytesProcessed(state.iterations() * TotalBytes());
}
BENCHMARK(BM_GroupReport)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->MeasureProcessCPUTime()
    ->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    // The charts are drawn off screen.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    std::fprintf(stderr, "%lld data files, %lld bytes\n", qlonglong(DataFiles().size()),
                 qlonglong(TotalBytes()));
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatio("BM_GroupReport", "BM_ReadAndDecodeFiles");
    reporter.PrintRatio("BM_ReadDataFilesWithReviewReader", "BM_ReadAndDecodeFiles");
    reporter.PrintRatio("BM_GroupReport", "BM_ReadDataFilesWithReviewReader");
    benchmark::Shutdown();
    return 0;
}
