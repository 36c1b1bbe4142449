// Scoring, verdicts, clock and texts of the training test, without a display.
#include "tests/percent_text.h"
#include "tests/training_core.h"

#include <QTest>

class TrainingCoreTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void score_data();
    void score();
    void clockRunsOutAtZeroOrBelow();
    void questionTitle_data();
    void questionTitle();
    void percent_data();
    void percent();
};

using Ticks = std::array<bool, kTrainingRows>;
using Points = std::array<int, kTrainingRows>;

void TrainingCoreTest::score_data() {
    QTest::addColumn<Ticks>("ticked");
    QTest::addColumn<Points>("points");
    QTest::addColumn<int>("score");
    QTest::addColumn<int>("verdict");

    const Points halves{50, 50, 0, 0, 0};
    QTest::newRow("nothing ticked") << Ticks{} << halves << 0 << int(Verdict::Hidden);
    QTest::newRow("one half") << Ticks{true, false, false, false, false} << halves << 50
                              << int(Verdict::Incomplete);
    QTest::newRow("both halves") << Ticks{true, true, false, false, false} << halves << 100
                                 << int(Verdict::Right);
    QTest::newRow("both halves and a wrong one")
        << Ticks{true, true, true, false, false} << halves << 0 << int(Verdict::Wrong);
    QTest::newRow("wrong one alone")
        << Ticks{false, false, false, true, false} << halves << 0 << int(Verdict::Wrong);
    QTest::newRow("the fifth row counts") << Ticks{false, false, false, false, true}
                                          << Points{0, 0, 0, 0, 100} << 100 << int(Verdict::Right);
    QTest::newRow("over 100 is incomplete")
        << Ticks{true, true, true, false, false} << Points{50, 50, 30, 0, 0} << 130
        << int(Verdict::Incomplete);
    QTest::newRow("negative points sum")
        << Ticks{true, true, false, false, false} << Points{100, -40, 0, 0, 0} << 60
        << int(Verdict::Incomplete);
    QTest::newRow("unticked wrong options do not matter")
        << Ticks{true, false, false, false, false} << Points{100, 0, 0, 0, 0} << 100
        << int(Verdict::Right);
}

void TrainingCoreTest::score() {
    QFETCH(Ticks, ticked);
    QFETCH(Points, points);
    QFETCH(int, score);
    QFETCH(int, verdict);
    const int got = int(AnswerPoints(ticked, points));
    QCOMPARE(got, score);
    const bool any = std::find(ticked.begin(), ticked.end(), true) != ticked.end();
    QCOMPARE(int(VerdictFor(any, got)), verdict);
}

void TrainingCoreTest::clockRunsOutAtZeroOrBelow() {
    TrainingClock clock;
    clock.Start(3);
    QVERIFY(!clock.Tick());
    QVERIFY(!clock.Tick());
    QCOMPARE(clock.TimeLeft, 1);
    QCOMPARE(clock.ElapsedTicks, 2);
    QVERIFY(clock.Tick());
    QCOMPARE(clock.TimeLeft, 0);

    for (int limit : {1, 0, -5}) {
        clock.Start(limit);
        QVERIFY2(clock.Tick(), qPrintable(QString::number(limit)));
        QCOMPARE(clock.ElapsedTicks, 1);
    }
}

void TrainingCoreTest::questionTitle_data() {
    QTest::addColumn<int>("asked");
    QTest::addColumn<QString>("title");
    QTest::newRow("7") << 7 << QStringLiteral("Вопрос  7");
    QTest::newRow("12") << 12 << QStringLiteral("Вопрос 12");
    QTest::newRow("123") << 123 << QStringLiteral("Вопрос123");
    QTest::newRow("2700") << 2700 << QStringLiteral("Вопрос2700");
}

void TrainingCoreTest::questionTitle() {
    QFETCH(int, asked);
    QFETCH(QString, title);
    QCOMPARE(QuestionTitle(asked), title);
}

void TrainingCoreTest::percent_data() {
    QTest::addColumn<int>("total");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("text");
    QTest::newRow("750 of 10") << 750 << 10 << QStringLiteral("75.0");
    QTest::newRow("15 of 3") << 15 << 3 << QStringLiteral(" 5.0");
    QTest::newRow("all right") << 1000 << 10 << QStringLiteral("100.0");
    QTest::newRow("nothing") << 0 << 10 << QStringLiteral(" 0.0");
    QTest::newRow("a third") << 100 << 3 << QStringLiteral("33.3");
    QTest::newRow("two thirds") << 200 << 3 << QStringLiteral("66.7");
    QTest::newRow("quarter point rounds up") << 1 << 4 << QStringLiteral(" 0.3");
    QTest::newRow("three quarters") << 3 << 4 << QStringLiteral(" 0.8");
    QTest::newRow("eighth") << 1 << 8 << QStringLiteral(" 0.1");
    // The training shows what the result files write for the same points: 0.15 as a double.
    QTest::newRow("0.15 as in the result files") << 3 << 20 << QStringLiteral(" 0.1");
    QTest::newRow("negative") << -50 << 10 << QStringLiteral("-5.0");
    QTest::newRow("negative half") << -1 << 4 << QStringLiteral("-0.3");
    QTest::newRow("no questions") << 0 << 0 << QStringLiteral(" 0.0");
    QTest::newRow("large") << 270000 << 2700 << QStringLiteral("100.0");
}

void TrainingCoreTest::percent() {
    QFETCH(int, total);
    QFETCH(int, count);
    QFETCH(QString, text);
    QCOMPARE(PercentText(total, count), text);
}

QTEST_GUILESS_MAIN(TrainingCoreTest)
#include "tst_training_core.moc"
