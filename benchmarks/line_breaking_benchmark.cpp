// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Line breaking of the self-sizing labels on one paragraph of 10 KB, 100 KB and 1 MB (and 2 MB,
// the paragraph of a data file that once froze the review), against the baseline of shaping the
// same paragraph once without breaking it (QFontMetrics::horizontalAdvance), in the same run.
// The ratio to the baseline stays flat when the breaking grows linearly with the length; the
// time per byte is printed for every size. BM_ReferenceWrap is the labels' first breaking,
// which measured the growing line for every word (only up to 100 KB: it is the slow one).
// BM_LabelSetTextAndPaint is a label taking a 2 MB text and painting a screenful of it.

#include "benchmarks/ratio_reporter.h"
#include "benchmarks/reference_wrap.h"
#include "platform/fonts.h"
#include "questions/auto_size_label.h"

#include <QApplication>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

namespace {

QFont LabelFont() {
    return PixelFont(QStringLiteral("Arial"), 16);
}

// A paragraph of the given size in UTF-16 code units, words of a question text with blanks.
QString Paragraph(qsizetype size) {
    static const QStringList words =
        QStringLiteral("Какое из приведённых ниже определений общества является наиболее полным "
                       "с точки зрения современной социологии и почему кто-то так считает")
            .split(u' ');
    QString text;
    text.reserve(size + 32);
    for (qsizetype i = 0; text.size() < size; ++i)
        text += words.at(i % words.size()) + u' ';
    text.truncate(size);
    return text;
}

constexpr int kWidth = 987; // an option row of the training screen at 1024 x 768

void BM_ShapeOnce(benchmark::State& state) {
    const QString text = Paragraph(state.range(0));
    const QFontMetrics metrics(LabelFont());
    for (auto _ : state)
        benchmark::DoNotOptimize(metrics.horizontalAdvance(text));
    state.SetBytesProcessed(state.iterations() * state.range(0) * 2);
}

void BM_WrapText(benchmark::State& state) {
    const QString text = Paragraph(state.range(0));
    const QFont font = LabelFont();
    for (auto _ : state) {
        const WrappedText wrapped = WrapText(text, kWidth, font);
        benchmark::DoNotOptimize(wrapped.Lines.size());
    }
    state.SetBytesProcessed(state.iterations() * state.range(0) * 2);
}

// The labels' first breaking: a growing prefix measured for every word.
QStringList ReferenceWrap(const QString& text, int maxWidth, const QFontMetrics& metrics) {
    QStringList lines;
    if (!text.isEmpty())
        ReferenceParagraph(text, maxWidth, metrics, lines);
    return lines;
}

void BM_ReferenceWrap(benchmark::State& state) {
    const QString text = Paragraph(state.range(0));
    const QFontMetrics metrics(LabelFont());
    for (auto _ : state)
        benchmark::DoNotOptimize(ReferenceWrap(text, kWidth, metrics).size());
    state.SetBytesProcessed(state.iterations() * state.range(0) * 2);
}

// What the review does with a data file whose question is one long line: the label takes the
// text (and breaks it) and the screen paints what it shows of it.
void BM_LabelSetTextAndPaint(benchmark::State& state) {
    const QString text = Paragraph(state.range(0));
    AutoSizeLabel label;
    label.setFont(LabelFont());
    QImage screen(kWidth, 600, QImage::Format_RGB32);
    for (auto _ : state) {
        label.setText(QString());
        label.SetWidth(kWidth);
        label.setText(text);
        QPainter painter(&screen);
        label.render(&painter, QPoint(), QRegion(0, 0, kWidth, 600));
    }
    state.SetBytesProcessed(state.iterations() * state.range(0) * 2);
}

constexpr qsizetype kSizes[] = {10 * 1024, 100 * 1024, 1024 * 1024, 2 * 1024 * 1024};

} // namespace

BENCHMARK(BM_ShapeOnce)->Arg(kSizes[0])->Arg(kSizes[1])->Arg(kSizes[2])->Arg(kSizes[3]);
BENCHMARK(BM_WrapText)->Arg(kSizes[0])->Arg(kSizes[1])->Arg(kSizes[2])->Arg(kSizes[3]);
BENCHMARK(BM_ReferenceWrap)->Arg(kSizes[0])->Arg(kSizes[1]);
BENCHMARK(BM_LabelSetTextAndPaint)->Arg(kSizes[3]);

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    InstallFontSubstitutions();

    RatioReporter reporter;
    if (!RunBenchmarks(WithInterleavedRepetitions(argc, argv), reporter))
        return 1;

    std::printf("\nbreaking / shaping once, and CPU time per KB of paragraph:\n");
    for (const qsizetype size : kSizes) {
        const std::string arg = "/" + std::to_string(size);
        reporter.PrintRatio("BM_WrapText" + arg, "BM_ShapeOnce" + arg);
        double cpu = 0, real = 0;
        if (reporter.Find("BM_WrapText" + arg, cpu, real))
            std::printf("  BM_WrapText%s: %.3f ms CPU, %.4f ms per KB\n", arg.c_str(), cpu / 1e6,
                        cpu / 1e6 / (double(size) / 1024));
    }
    double cpu = 0, real = 0;
    if (reporter.Find("BM_LabelSetTextAndPaint/" + std::to_string(kSizes[3]), cpu, real))
        std::printf("a label taking a 2 M character text and painting it: %.1f ms CPU, %.1f ms "
                    "wall\n",
                    cpu / 1e6, real / 1e6);
    for (const qsizetype size : {kSizes[0], kSizes[1]})
        reporter.PrintRatio("BM_ReferenceWrap/" + std::to_string(size),
                            "BM_WrapText/" + std::to_string(size));
    benchmark::Shutdown();
    return 0;
}
