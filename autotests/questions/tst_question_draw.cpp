// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The random draw of questions and the random order of their options.

#include "questions/question_bank.h"

#include <QMap>
#include <QSet>
#include <QTest>
#include <functional>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

namespace {

Question WithOptions(int count) {
    Question question;
    question.OptionCount = count;
    for (int i = 0; i < count; ++i)
        question.Options[i].Text = QString::number(i + 1);
    return question;
}

// Pearson's statistic of observed counts against one expected count per cell.
double ChiSquare(const QList<int>& observed, double expected) {
    double sum = 0;
    for (const int n : observed)
        sum += (n - expected) * (n - expected) / expected;
    return sum;
}

// Runs work on a thread of its own and says whether it finished within the bound. A draw that
// searches for ever (every question drawn, a broken search) then fails its test at once with a
// message instead of holding the whole suite until its time-out; the thread is left behind.
bool FinishesWithin(std::chrono::seconds bound, std::function<void()> work) {
    struct State {
        std::mutex mutex;
        std::condition_variable done;
        bool finished = false;
    };
    auto state = std::make_shared<State>();
    std::thread([state, work = std::move(work)] {
        work();
        const std::lock_guard lock(state->mutex);
        state->finished = true;
        state->done.notify_all();
    }).detach();
    std::unique_lock lock(state->mutex);
    return state->done.wait_for(lock, bound, [&] { return state->finished; });
}

// Every question of a test of count questions in the order drawn, then what one more draw gives.
QList<int> DrawAll(QuestionDraw& draw, int count) {
    QList<int> order;
    for (int i = 0; i <= count; ++i)
        order.append(draw.DrawQuestion(count));
    return order;
}

} // namespace

class TestQuestionDraw : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void drawNeverRepeatsWithinATest_data();
    void drawNeverRepeatsWithinATest();
    void clockSeededDrawsDiffer();
    void oneQuestionBankDrawsQuestionOne();
    void drawIsUniformAmongTheRest();
    void singleOptionStaysAtPositionOne();
    void shuffleIsAPermutation();
    void shuffleReachesAll120OrdersEvenly();
};

void TestQuestionDraw::drawNeverRepeatsWithinATest_data() {
    QTest::addColumn<int>("count");
    QTest::addColumn<bool>("clockSeed");
    QTest::newRow("10, seeded") << 10 << false;
    QTest::newRow("209, seeded") << 209 << false;
    QTest::newRow("2700, seeded") << 2700 << false;
    QTest::newRow("50, clock") << 50 << true;
}

void TestQuestionDraw::drawNeverRepeatsWithinATest() {
    QFETCH(int, count);
    QFETCH(bool, clockSeed);
    // Shared with the drawing thread, which may outlive the test when the draw does not end.
    const auto shared = std::make_shared<QuestionDraw>();
    QuestionDraw& draw = *shared;
    if (clockSeed)
        draw.StartDraw();
    else
        draw.StartDraw(20240901u);
    // The whole test drawn, and one draw more, on a thread: a draw that does not end fails here.
    auto order = std::make_shared<QList<int>>();
    QVERIFY2(FinishesWithin(std::chrono::seconds(10),
                            [shared, order, count] { *order = DrawAll(*shared, count); }),
             "the draw did not end");
    QSet<int> seen;
    for (int i = 0; i < count; ++i) {
        const int q = order->at(i);
        QVERIFY(q >= 1 && q <= count);
        QVERIFY2(!seen.contains(q), qPrintable(QStringLiteral("question %1 drawn twice").arg(q)));
        QVERIFY(draw.IsDrawn(q));
        seen.insert(q);
    }
    QCOMPARE(draw.DrawnCount(), count);
    // Everything has been drawn: no further question, and no endless search for one.
    QCOMPARE(order->at(count), 0);
    // The next test starts afresh.
    draw.StartDraw(1u);
    QCOMPARE(draw.DrawnCount(), 0);
    QVERIFY(draw.DrawQuestion(count) >= 1);
}

void TestQuestionDraw::clockSeededDrawsDiffer() {
    // Two tests started from the clock draw in different orders (a draw that forgot to seed
    // itself would repeat the same order in every run of the program).
    QuestionDraw first;
    QuestionDraw second;
    first.StartDraw();
    second.StartDraw();
    constexpr int kCount = 200;
    QVERIFY(DrawAll(first, kCount) != DrawAll(second, kCount));
}

void TestQuestionDraw::oneQuestionBankDrawsQuestionOne() {
    for (std::uint32_t seed = 0; seed < 20; ++seed) {
        QuestionDraw draw;
        draw.StartDraw(seed);
        QCOMPARE(draw.DrawQuestion(1), 1);
        QCOMPARE(draw.DrawQuestion(1), 0);
    }
}

void TestQuestionDraw::drawIsUniformAmongTheRest() {
    // With questions 1..4 of 12 drawn, the next one falls evenly on 5..12.
    constexpr int kRuns = 16000;
    QList<int> counts(12, 0);
    QuestionDraw draw;
    for (int run = 0; run < kRuns; ++run) {
        draw.StartDraw(std::uint32_t(run) * 2654435761u);
        for (int i = 0; i < 4; ++i)
            draw.DrawQuestion(4); // takes 1..4, each once
        ++counts[draw.DrawQuestion(12) - 1];
    }
    for (int q = 1; q <= 4; ++q)
        QCOMPARE(counts[q - 1], 0);
    // 7 degrees of freedom: 30 is far beyond the 0.999 quantile (24.3).
    QVERIFY(ChiSquare(counts.mid(4), kRuns / 8.0) < 30);
}

void TestQuestionDraw::singleOptionStaysAtPositionOne() {
    QuestionDraw draw;
    draw.StartDraw();
    for (int i = 0; i < 50; ++i)
        QCOMPARE(draw.ShuffleOptions(WithOptions(1)), QList<int>{1});
    QVERIFY(draw.ShuffleOptions(Question()).isEmpty());
}

void TestQuestionDraw::shuffleIsAPermutation() {
    QuestionDraw draw;
    draw.StartDraw(3u);
    for (int count = 1; count <= kMaxOptions; ++count) {
        for (int i = 0; i < 30; ++i) {
            QList<int> order = draw.ShuffleOptions(WithOptions(count));
            QCOMPARE(order.size(), count);
            std::sort(order.begin(), order.end());
            for (int p = 0; p < count; ++p)
                QCOMPARE(order[p], p + 1);
        }
    }
}

void TestQuestionDraw::shuffleReachesAll120OrdersEvenly() {
    constexpr int kRuns = 120 * 500;
    QuestionDraw draw;
    draw.StartDraw(12345u);
    const Question question = WithOptions(5);
    QMap<QList<int>, int> seen;
    for (int i = 0; i < kRuns; ++i)
        ++seen[draw.ShuffleOptions(question)];
    QCOMPARE(seen.size(), 120);
    // 119 degrees of freedom: mean 119, standard deviation about 15.4; 190 lies beyond the
    // 0.99999 quantile, while a generator that favoured some orders would go far past it.
    const double chi = ChiSquare(seen.values(), kRuns / 120.0);
    QVERIFY2(chi < 190, qPrintable(QString::number(chi)));
}

QTEST_GUILESS_MAIN(TestQuestionDraw)
#include "tst_question_draw.moc"
