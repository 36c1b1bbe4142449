// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The Moodle export of the largest question file the format allows, 2700 questions, in two
// banks:
//
//   the course:       the sample course's 46 questions repeated, so that its 14 pictures, option
//                     pictures and video fragments are embedded 822 times;
//   own pictures:     the same questions, each with a picture of its own (30 to 100 KB, written
//                     once into a temporary folder), every tenth with one of 7 video fragments
//                     (400 to 600 KB) instead: 2430 distinct pictures, 157 MB together.
//
// Both programs run as processes of their own and are measured from the outside: wall time,
// processor time and peak resident memory (the kernel's accounting of each child). Each is
// started by this program again in a small measuring process: a child started straight from the
// benchmark would be charged the benchmark's own peak, as posix_spawn shares its memory until
// the child's exec and the kernel counts the peak from there.
//
//   baseline: this program again, as a Qt program that streams the same embedded files as
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
#include <QRandomGenerator>
#include <QSet>
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
const char kMeasure[] = "--measure";

// The question file in <folder>/ortu with its pictures in <folder>/images, and the list of the
// files its export embeds, one path a line.
struct Bench {
    QTemporaryDir folder;
    QString questionFile;
    QString embeddedList;
    int embedded = 0;
    int distinct = 0;
};

// The sample course's questions repeated to the largest question file.
QuestionBank RepeatedCourse() {
    QuestionBank course;
    if (!course.LoadFile(kCourse + QStringLiteral("/ortu/pdb12.db")).ok())
        std::fprintf(stderr, "the sample course does not load\n");
    QuestionBank big = course;
    big.Questions.clear();
    for (int q = 0; q < kMaxQuestions; ++q)
        big.Questions << course.Questions[q % course.QuestionCount];
    big.QuestionCount = kMaxQuestions;
    return big;
}

// Writes the question file and the list of embedded files; the images folder is there already.
void WriteBench(const QuestionBank& big, Bench* b) {
    const QString images = b->folder.filePath(QStringLiteral("images/"));
    QByteArray list;
    QSet<QString> distinct;
    for (const Question& question : big.Questions) {
        QStringList names;
        if (question.Picture)
            names << question.PictureName();
        for (int i = 0; i < question.OptionCount; ++i) {
            if (question.Options[i].IsPicture)
                names << question.Options[i].Text.trimmed();
        }
        for (const QString& name : names)
            list += (images + name).toUtf8() + '\n';
        b->embedded += int(names.size());
        distinct.unite(QSet<QString>(names.cbegin(), names.cend()));
    }
    b->distinct = int(distinct.size());
    QDir(b->folder.path()).mkdir(QStringLiteral("ortu"));
    b->questionFile = b->folder.filePath(QStringLiteral("ortu/pdb12.db"));
    QFile file(b->questionFile);
    QString error;
    if (!file.open(QIODevice::WriteOnly) || !WriteQuestionFile(big, &file, &error))
        std::fprintf(stderr, "the question file is not written\n");
    b->embeddedList = b->folder.filePath(QStringLiteral("embedded.txt"));
    QFile listFile(b->embeddedList);
    if (!listFile.open(QIODevice::WriteOnly) || listFile.write(list) != list.size())
        std::fprintf(stderr, "the list is not written\n");
}

// The course's 14 files embedded 822 times.
const Bench& Setup() {
    static Bench bench = [] {
        Bench b;
        QFile::link(kCourse + QStringLiteral("/images"),
                    b.folder.filePath(QStringLiteral("images")));
        WriteBench(RepeatedCourse(), &b);
        return b;
    }();
    return bench;
}

// A file of random bytes (as incompressible as a JPEG picture) of the given size.
bool WriteRandomFile(const QString& path, qint64 size, QRandomGenerator* random) {
    QByteArray bytes(size, '\0');
    random->fillRange(reinterpret_cast<quint32*>(bytes.data()), size / 4);
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == size;
}

// Every question a picture of its own, every tenth one of 7 video fragments instead; the option
// pictures are the course's.
const Bench& SetupOwnPictures() {
    static Bench bench = [] {
        Bench b;
        QDir(b.folder.path()).mkdir(QStringLiteral("images"));
        const QString images = b.folder.filePath(QStringLiteral("images/"));
        for (const QString& name : QDir(kCourse + QStringLiteral("/images")).entryList(QDir::Files))
            QFile::link(kCourse + QStringLiteral("/images/") + name, images + name);
        QRandomGenerator random(2700);
        bool written = true;
        for (int f = 0; f < 7; ++f)
            written &= WriteRandomFile(images + QStringLiteral("$fragment%1.avi").arg(f),
                                       400'000 + random.bounded(200'000), &random);
        QuestionBank big = RepeatedCourse();
        for (int q = 1; q <= kMaxQuestions; ++q) {
            Question& question = big.Questions[q - 1];
            if (q % 10 == 0) {
                question.Picture = QStringLiteral("\\images\\$fragment%1.avi").arg(q % 7);
            } else {
                const QString name =
                    QStringLiteral("picture%1.jpg").arg(q, 4, 10, QLatin1Char('0'));
                written &= WriteRandomFile(images + name, 30'000 + random.bounded(70'000), &random);
                question.Picture = QStringLiteral("\\images\\") + name;
            }
        }
        if (!written)
            std::fprintf(stderr, "the pictures are not written\n");
        WriteBench(big, &b);
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

// Runs a program with its output to /dev/null; true when it exits with 0.
bool Run(char* const* argv, ProcessCost* cost) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    const auto start = std::chrono::steady_clock::now();
    pid_t child = 0;
    const int spawned = posix_spawn(&child, argv[0], &actions, nullptr, argv, environ);
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

// The measuring process (`--measure RESULT PROGRAM ARGS...`): runs the program and writes its
// wall time, processor time and peak memory to RESULT. It has done nothing but start, so what it
// passes on to the program's peak is its own (about 8 MiB), below what a measured program reaches.
int MeasureChild(int argc, char** argv) {
    if (argc < 4)
        return 2;
    ProcessCost cost;
    if (!Run(argv + 3, &cost))
        return 1;
    FILE* result = std::fopen(argv[2], "w");
    if (result == nullptr)
        return 1;
    const bool written =
        std::fprintf(result, "%.6f %.6f %.3f\n", cost.wall, cost.cpu, cost.peakMiB) > 0;
    return std::fclose(result) == 0 && written ? 0 : 1;
}

QByteArray g_self;
QByteArray g_result; // the measuring process's result file

// Runs a program through the measuring process and measures it; true when it exits with 0.
bool Measure(const std::vector<QByteArray>& arguments, ProcessCost* cost) {
    std::vector<char*> argv{g_self.data(), const_cast<char*>(kMeasure), g_result.data()};
    for (const QByteArray& argument : arguments)
        argv.push_back(const_cast<char*>(argument.constData()));
    argv.push_back(nullptr);
    ProcessCost measurer;
    if (!Run(argv.data(), &measurer))
        return false;
    FILE* result = std::fopen(g_result.constData(), "r");
    if (result == nullptr)
        return false;
    const bool read =
        std::fscanf(result, "%lf %lf %lf", &cost->wall, &cost->cpu, &cost->peakMiB) == 3;
    std::fclose(result);
    return read;
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

void StreamBase64Of(benchmark::State& state, const char* name, const Bench& bench) {
    RunMeasured(state, name,
                {g_self, kStreamBase64, QFile::encodeName(bench.embeddedList),
                 QFile::encodeName(bench.folder.filePath(QStringLiteral("base64.txt")))});
}

void ExportOf(benchmark::State& state, const char* name, const Bench& bench) {
    RunMeasured(state, name,
                {MOODLEXML_PATH, "export", QFile::encodeName(bench.questionFile),
                 QFile::encodeName(bench.folder.filePath(QStringLiteral("questions.xml")))});
}

void BM_StreamBase64(benchmark::State& state) {
    StreamBase64Of(state, "BM_StreamBase64", Setup());
}
BENCHMARK(BM_StreamBase64)->Unit(benchmark::kMillisecond)->Iterations(1)->UseManualTime();

void BM_MoodleExport(benchmark::State& state) {
    ExportOf(state, "BM_MoodleExport", Setup());
}
BENCHMARK(BM_MoodleExport)->Unit(benchmark::kMillisecond)->Iterations(1)->UseManualTime();

void BM_StreamBase64OwnPictures(benchmark::State& state) {
    StreamBase64Of(state, "BM_StreamBase64OwnPictures", SetupOwnPictures());
}
BENCHMARK(BM_StreamBase64OwnPictures)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->UseManualTime();

void BM_MoodleExportOwnPictures(benchmark::State& state) {
    ExportOf(state, "BM_MoodleExportOwnPictures", SetupOwnPictures());
}
BENCHMARK(BM_MoodleExportOwnPictures)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->UseManualTime();

double Median(const char* name, double ProcessCost::*field) {
    std::vector<double> values;
    for (const ProcessCost& cost : g_costs[name])
        values.push_back(cost.*field);
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : (values[(values.size() - 1) / 2] + values[values.size() / 2]) / 2;
}

void PrintRatios(const char* base, const char* measured, const Bench& (*setup)()) {
    if (Median(base, &ProcessCost::cpu) <= 0 || Median(base, &ProcessCost::peakMiB) <= 0)
        return;
    const Bench& bench = setup();
    std::printf("%d embedded files (%d distinct); medians: base64 stream %.0f ms wall, %.0f ms "
                "CPU, %.1f MiB; export %.0f ms wall, %.0f ms CPU, %.1f MiB\n",
                bench.embedded, bench.distinct, Median(base, &ProcessCost::wall) * 1000,
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
    if (argc > 1 && std::strcmp(argv[1], kMeasure) == 0)
        return MeasureChild(argc, argv);
    g_self = QFile::encodeName(QFileInfo(QString::fromLocal8Bit(argv[0])).absoluteFilePath());
    QTemporaryDir results;
    g_result = QFile::encodeName(results.filePath(QStringLiteral("measured.txt")));
    RatioReporter reporter;
    if (!RunBenchmarks(WithInterleavedRepetitions(argc, argv), reporter))
        return 1;
    PrintRatios("BM_StreamBase64", "BM_MoodleExport", Setup);
    PrintRatios("BM_StreamBase64OwnPictures", "BM_MoodleExportOwnPictures", SetupOwnPictures);
    benchmark::Shutdown();
    return 0;
}
