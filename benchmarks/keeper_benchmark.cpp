// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
// From the answer's click to the next question on screen, as far as the exam's authority is
// concerned: the answer scored and its lines on the disk, the next question drawn and its record
// on the disk. The baseline does it in the program's own process, as the control screen does with
// the question bank and the result writer; the keeper does the same work in its own process and
// the program only sends the ticks and reads the question back (two requests over the pipes).
// Both run in the same process, on the sample course's question file, in folders below the
// working folder (a real disk). Goal: the keeper within 1.2 times the baseline and under 16 ms
// (one frame).

#include "benchmarks/ratio_reporter.h"
#include "keeper/keeper_client.h"
#include "questions/answer_points.h"
#include "tests/result_report.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

namespace {

constexpr int kAnswersPerTest = 40; // the sample course holds 46 questions

const CandidateInfo kCandidate{QStringLiteral("Иванов И. И."), QStringLiteral("ТС-21"),
                               QStringLiteral("Лёгкая атлетика"), QStringLiteral("КМС"),
                               QStringLiteral("ИТОГОВОЕ ТЕСТИРОВАНИЕ")};

// A course folder below the working folder: the sample question file and empty result folders.
struct Course {
    QTemporaryDir dir{QDir::currentPath() + QStringLiteral("/keeper-benchmark-XXXXXX")};
    Course() {
        QDir(dir.path()).mkpath(QStringLiteral("ortu"));
        QDir(dir.path()).mkpath(QStringLiteral("otchet/data1"));
        QDir(dir.path()).mkpath(QStringLiteral("otchet/print otchet"));
        QFile::copy(QStringLiteral(COURSE_SOURCE_DIR "/course/ortu/pdb12.db"),
                    dir.filePath(QStringLiteral("ortu/pdb12.db")));
    }
};

// The program today: bank, draw and writer in its own process.
class InProcessTest {
public:
    explicit InProcessTest(const QString& course) : m_course(course) {}
    bool Start() {
        m_report.CloseReports();
        if (!m_bank.Load(m_course, kCandidate.Topic).ok() ||
            !m_report.OpenReports(m_course, kCandidate, QStringLiteral("07.12.2026"),
                                  QStringLiteral("09:05:03")) ||
            !m_report.WriteCount(kAnswersPerTest))
            return false;
        m_draw.StartDraw();
        m_shown = 0;
        return Next();
    }
    // The answer to the question on screen, then the next question.
    bool AnswerAndNext() {
        const PositionFlags ticked{false, true, false, false, false};
        return m_report.WriteAnswer(ticked, m_points, AnswerPoints(ticked, m_points)) && Next();
    }

private:
    bool Next() {
        const Question& question = m_bank.At(m_draw.DrawQuestion(m_bank.QuestionCount));
        const QList<int> order = m_draw.ShuffleOptions(question);
        m_points.fill(0);
        for (int p = 1; p <= order.size(); ++p)
            m_points[p - 1] = question.Options[order[p - 1] - 1].Points;
        return m_report.WriteQuestion(++m_shown, question, order);
    }
    QString m_course;
    QuestionBank m_bank;
    QuestionDraw m_draw;
    ResultReport m_report;
    PositionPoints m_points{};
    int m_shown = 0;
};

// The keeper: the program's side of the conversation.
class KeeperTest {
public:
    explicit KeeperTest(const QString& course) : m_course(course) {}
    bool Start() {
        m_keeper = std::make_unique<KeeperClient>(m_course, QStringLiteral(KEEPER_PATH));
        QString problem;
        KeeperAnswer stop;
        return m_keeper->Start(&problem) && m_keeper->Control(kCandidate, kAnswersPerTest).ready &&
               m_keeper->Next(&stop);
    }
    bool AnswerAndNext() {
        KeeperAnswer stop;
        return m_keeper->Answer({false, true, false, false, false}).kind ==
                   KeeperAnswer::Kind::Saved &&
               m_keeper->Next(&stop);
    }

private:
    QString m_course;
    std::unique_ptr<KeeperClient> m_keeper;
};

template <typename Test> void AnswerToNextQuestion(benchmark::State& state) {
    Course course;
    Test test(course.dir.path());
    if (!test.Start()) {
        state.SkipWithError("the test could not start");
        return;
    }
    int answered = 0;
    for (auto _ : state) {
        if (++answered == kAnswersPerTest) { // a new test once this one has run out
            state.PauseTiming();
            answered = 1;
            const bool started = test.Start();
            state.ResumeTiming();
            if (!started) {
                state.SkipWithError("the next test could not start");
                return;
            }
        }
        if (!test.AnswerAndNext()) {
            state.SkipWithError("an answer was not saved");
            return;
        }
    }
}

void BM_AnswerToNextInProcess(benchmark::State& state) {
    AnswerToNextQuestion<InProcessTest>(state);
}
BENCHMARK(BM_AnswerToNextInProcess)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_AnswerToNextThroughKeeper(benchmark::State& state) {
    AnswerToNextQuestion<KeeperTest>(state);
}
BENCHMARK(BM_AnswerToNextThroughKeeper)->Unit(benchmark::kMillisecond)->UseRealTime();

void PrintCost(const RatioReporter& reporter) {
    double cpu = 0, today = 0, keeper = 0;
    if (!reporter.Find("BM_AnswerToNextInProcess", cpu, today) ||
        !reporter.Find("BM_AnswerToNextThroughKeeper", cpu, keeper) || today <= 0)
        return;
    std::printf("answer to next question: keeper %.3f ms, in the program %.3f ms (x%.2f); goal: "
                "x1.2 or less and keeper < 16 ms\n",
                keeper, today, keeper / today);
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
