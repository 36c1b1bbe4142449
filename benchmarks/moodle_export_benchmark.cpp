// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The Moodle export of the largest question file the format allows: 2700 questions, the sample
// course's 46 repeated, so that its 14 pictures, option pictures and video fragments are embedded
// 822 times. Both programs run as processes of their own and are measured from the outside: wall
// time, processor time and peak resident memory (the kernel's accounting of each child).
//
//   baseline: this program again, as a Qt program that streams the same 822 embedded files as
//             base64 into one file, each read and encoded where it is embedded;
//   measured: `moodlexml export` of the question file.
//
// Goal: the export takes at most 1.5 x the baseline's time and 2 x its memory.

#include "benchmarks/ratio_reporter.h"
#include "questions/question_bank.h"
#include "tools/moodlexml/question_file_writer.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace {

const QString kCourse = QStringLiteral(COURSE_SOURCE_DIR "/course");
const char kStreamBase64[] = "--stream-base64";

// The question file in <folder>/ortu with the course's pictures beside it, and the list of the
// files its export embeds, one path a line.
struct Bench {
    QTemporaryDir folder;
    QString questionFile;
    QString embeddedList;
    int embedded = 0;
};

const Bench& Setup() {
    static Bench bench = [] {
        Bench b;
        QuestionBank course;
        if (!course.LoadFile(kCourse + QStringLiteral("/ortu/pdb12.db")).ok())
            std::fprintf(stderr, "the sample course does not load\n");
        QuestionBank big = course;
        big.Questions.clear();
        for (int q = 0; q < kMaxQuestions; ++q)
            big.Questions << course.Questions[q % course.QuestionCount];
        big.QuestionCount = kMaxQuestions;
        QByteArray list;
        for (const Question& question : big.Questions) {
            QStringList names;
            if (question.Picture)
                names << question.PictureName();
            for (int i = 0; i < question.OptionCount; ++i) {
                if (question.Options[i].IsPicture)
                    names << question.Options[i].Text.trimmed();
            }
            for (const QString& name : names)
                list += (kCourse + QStringLiteral("/images/") + name).toUtf8() + '\n';
            b.embedded += int(names.size());
        }
        QFile::link(kCourse + QStringLiteral("/images"),
                    b.folder.filePath(QStringLiteral("images")));
        QDir(b.folder.path()).mkdir(QStringLiteral("ortu"));
        b.questionFile = b.folder.filePath(QStringLiteral("ortu/pdb12.db"));
        QFile file(b.questionFile);
        QString error;
        if (!file.open(QIODevice::WriteOnly) || !WriteQuestionFile(big, &file, &error))
            std::fprintf(stderr, "the question file is not written\n");
        b.embeddedList = b.folder.filePath(QStringLiteral("embedded.txt"));
        QFile listFile(b.embeddedList);
        if (!listFile.open(QIODevice::WriteOnly) || listFile.write(list) != list.size())
            std::fprintf(stderr, "the list is not written\n");
        return b;
    }();
    return bench;
}

// The baseline's child: every listed file read and encoded as base64 in pieces, streamed into
// one file.
int StreamBase64(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 4)
        return 2;
    QFile list(QString::fromLocal8Bit(argv[2]));
    QFile output(QString::fromLocal8Bit(argv[3]));
    if (!list.open(QIODevice::ReadOnly) || !output.open(QIODevice::WriteOnly))
        return 1;
    for (const QByteArray& path : list.readAll().split('\n')) {
        if (path.isEmpty())
            continue;
        QFile file(QString::fromUtf8(path));
        if (!file.open(QIODevice::ReadOnly))
            return 1;
        while (!file.atEnd())
            output.write(file.read(3 * 16384).toBase64());
        output.write("\n");
    }
    return output.flush() ? 0 : 1;
}

struct ProcessCost {
    double wall = 0; // seconds
    double cpu = 0;  // seconds, user and system
    double peakMiB = 0;
};

std::map<std::string, std::vector<ProcessCost>> g_costs;

// Runs a program and measures it; true when it exits with 0.
bool Measure(const std::vector<QByteArray>& arguments, ProcessCost* cost) {
    std::vector<char*> argv;
    for (const QByteArray& argument : arguments)
        argv.push_back(const_cast<char*>(argument.constData()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    const auto start = std::chrono::steady_clock::now();
    pid_t child = 0;
    const int spawned = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    rusage usage{};
    if (spawned != 0 || wait4(child, &status, 0, &usage) != child)
        return false;
    cost->wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    cost->cpu = double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    cost->peakMiB = double(usage.ru_maxrss) / 1024.0;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void RunMeasured(benchmark::State& state, const char* name,
                 const std::vector<QByteArray>& arguments) {
    for (auto _ : state) {
        ProcessCost cost;
        if (!Measure(arguments, &cost)) {
            state.SkipWithError("the program failed");
            break;
        }
        state.SetIterationTime(cost.wall);
        state.counters["cpu_ms"] = cost.cpu * 1000.0;
        state.counters["peak_MiB"] = cost.peakMiB;
        g_costs[name].push_back(cost);
    }
}

QByteArray g_self;

void BM_StreamBase64(benchmark::State& state) {
    const Bench& bench = Setup();
    RunMeasured(state, "BM_StreamBase64",
                {g_self, kStreamBase64, QFile::encodeName(bench.embeddedList),
                 QFile::encodeName(bench.folder.filePath(QStringLiteral("base64.txt")))});
}
BENCHMARK(BM_StreamBase64)->Unit(benchmark::kMillisecond)->Iterations(1)->UseManualTime();

void BM_MoodleExport(benchmark::State& state) {
    const Bench& bench = Setup();
    RunMeasured(state, "BM_MoodleExport",
                {MOODLEXML_PATH, "export", QFile::encodeName(bench.questionFile),
                 QFile::encodeName(bench.folder.filePath(QStringLiteral("questions.xml")))});
}
BENCHMARK(BM_MoodleExport)->Unit(benchmark::kMillisecond)->Iterations(1)->UseManualTime();

double Median(const char* name, double ProcessCost::*field) {
    std::vector<double> values;
    for (const ProcessCost& cost : g_costs[name])
        values.push_back(cost.*field);
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : (values[(values.size() - 1) / 2] + values[values.size() / 2]) / 2;
}

void PrintRatios() {
    const char* base = "BM_StreamBase64";
    const char* measured = "BM_MoodleExport";
    if (Median(base, &ProcessCost::cpu) <= 0 || Median(base, &ProcessCost::peakMiB) <= 0)
        return;
    std::printf("%d embedded files; medians: base64 stream %.0f ms wall, %.0f ms CPU, %.1f MiB; "
                "export %.0f ms wall, %.0f ms CPU, %.1f MiB\n",
                Setup().embedded, Median(base, &ProcessCost::wall) * 1000,
                Median(base, &ProcessCost::cpu) * 1000, Median(base, &ProcessCost::peakMiB),
                Median(measured, &ProcessCost::wall) * 1000,
                Median(measured, &ProcessCost::cpu) * 1000,
                Median(measured, &ProcessCost::peakMiB));
    std::printf("%s / %s = %.2f (CPU), %.2f (wall), %.2f (peak memory)\n", measured, base,
                Median(measured, &ProcessCost::cpu) / Median(base, &ProcessCost::cpu),
                Median(measured, &ProcessCost::wall) / Median(base, &ProcessCost::wall),
                Median(measured, &ProcessCost::peakMiB) / Median(base, &ProcessCost::peakMiB));
}

} // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], kStreamBase64) == 0)
        return StreamBase64(argc, argv);
    g_self = QFile::encodeName(QFileInfo(QString::fromLocal8Bit(argv[0])).absoluteFilePath());
    Setup();
    RatioReporter reporter;
    if (!RunBenchmarks(WithInterleavedRepetitions(argc, argv), reporter))
        return 1;
    PrintRatios();
    benchmark::Shutdown();
    return 0;
}
