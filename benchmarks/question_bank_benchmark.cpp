// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Loading a full question file (2700 questions, five options each, some pictures and videos)
// against the bare cost of reading the same file, decoding it from Windows-1251 and splitting
// it into lines. Both run in the same process on the same file; the program prints the ratio of
// the load to each baseline at the end. Goal: the load takes at most twice the baseline.

#include "benchmarks/ratio_reporter.h"
#include "platform/text_file.h"
#include "questions/question_bank.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

// A question file as large as the format allows, written the way teachers write them.
QStringList GeneratedQuestionFile() {
    QStringList lines{QStringLiteral("ИТОГОВОЕ ТЕСТИРОВАНИЕ ПО КУРСУ"),
                      QStringLiteral("Тест для проверки знаний"),
                      QStringLiteral("."),
                      QStringLiteral("Время"),
                      QStringLiteral("60"),
                      QStringLiteral("Уровень"),
                      QStringLiteral("2"),
                      QStringLiteral("."),
                      QString::number(kMaxQuestions),
                      QStringLiteral(".")};
    for (int q = 1; q <= kMaxQuestions; ++q) {
        lines << QStringLiteral("%1.    Какое из приведённых ниже определений общества является")
                     .arg(q, 4, 10, QLatin1Char('0'))
              << QStringLiteral("наиболее полным с точки зрения современной социологии?")
              << QStringLiteral(".") << QStringLiteral("Раздел %1").arg(q % 40)
              << QStringLiteral(".")
              << QStringLiteral("#%1.htm").arg(q % 120, 3, 10, QLatin1Char('0'));
        if (q % 10 == 0)
            lines << QStringLiteral("\\$film%1.avi").arg(q % 7);
        else if (q % 3 == 0)
            lines << QStringLiteral("\\рисунок%1.bmp").arg(q);
        else
            lines << QStringLiteral(".");
        for (int i = 1; i <= kMaxOptions; ++i) {
            if (q % 25 == 0 && i == 2)
                lines << QStringLiteral("2)!схема%1.jpg").arg(q);
            else
                lines << QStringLiteral("%1)Совокупность людей, объединённых исторически "
                                        "сложившимися формами")
                             .arg(i)
                      << QStringLiteral("совместной деятельности, вариант %1").arg(i);
            const int points = i == 1 ? 60 : (i == 3 ? 40 : 0);
            lines << (i < kMaxOptions ? QStringLiteral(",%1") : QStringLiteral(".%1")).arg(points);
        }
    }
    return lines;
}

const QString& QuestionFilePath() {
    static QTemporaryDir folder;
    static const QString path = [] {
        const QString file = folder.filePath(QStringLiteral("pdb12.db"));
        QFile out(file);
        const QByteArray bytes = EncodeCp1251(GeneratedQuestionFile().join(QStringLiteral("\r\n")) +
                                              QStringLiteral("\r\n"));
        if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size())
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
        return file;
    }();
    return path;
}

// Baseline: the whole file read at once, decoded and split at CR LF.
void BM_ReadDecodeSplit(benchmark::State& state) {
    const QString path = QuestionFilePath();
    for (auto _ : state) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            state.SkipWithError("cannot open");
        const QString text = DecodeCp1251(file.readAll());
        const QStringList lines = text.split(QStringLiteral("\r\n"));
        benchmark::DoNotOptimize(lines.size());
    }
    state.SetBytesProcessed(state.iterations() * QFileInfo(path).size());
}
BENCHMARK(BM_ReadDecodeSplit)->Unit(benchmark::kMillisecond);

// Baseline: the same through the program's line reader, which the loader uses.
void BM_ReadLinesWithLineReader(benchmark::State& state) {
    const QString path = QuestionFilePath();
    for (auto _ : state) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            state.SkipWithError("cannot open");
        Cp1251LineReader reader(&file);
        QString line;
        qsizetype total = 0;
        while (reader.readLine(&line))
            total += line.size();
        benchmark::DoNotOptimize(total);
    }
    state.SetBytesProcessed(state.iterations() * QFileInfo(path).size());
}
BENCHMARK(BM_ReadLinesWithLineReader)->Unit(benchmark::kMillisecond);

void BM_LoadQuestionBank(benchmark::State& state) {
    const QString path = QuestionFilePath();
    QuestionBank bank;
    for (auto _ : state) {
        const LoadResult result = bank.LoadFile(path);
        if (!result.ok() || bank.QuestionCount != kMaxQuestions)
            state.SkipWithError("load failed");
        benchmark::DoNotOptimize(bank.Questions.data());
    }
    state.SetBytesProcessed(state.iterations() * QFileInfo(path).size());
}
BENCHMARK(BM_LoadQuestionBank)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    // Repetitions interleaved in a random order, so that a change of the machine's load falls
    // on the load and its baselines alike.
    RatioReporter reporter;
    if (!RunBenchmarks(WithInterleavedRepetitions(argc, argv), reporter))
        return 1;
    reporter.PrintRatio("BM_LoadQuestionBank", "BM_ReadDecodeSplit");
    reporter.PrintRatio("BM_LoadQuestionBank", "BM_ReadLinesWithLineReader");
    benchmark::Shutdown();
    return 0;
}
