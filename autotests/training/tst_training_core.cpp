// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Scoring, verdicts, clock, texts and the flow of a training test, without a display.
#include "autotests/support/test_support.h"
#include "tests/percent_text.h"
#include "tests/training_core.h"
#include "tests/training_session.h"

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
    void sessionFlow_data();
    void sessionFlow();
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

namespace {

// A training session driven as the screen drives it. Each step is "name arguments" and gives a
// short text for what the session decided ("" when it decides nothing).
class TrainingFlow {
public:
    QString Step(const QString& step) {
        const QStringList words = step.split(QLatin1Char(' '));
        const QString& name = words[0];
        const auto number = [&words](int k) { return words.value(k).toInt(); };
        if (name == QLatin1String("activate"))
            return ActivationText(m_session.OnActivation());
        if (name == QLatin1String("ready")) {
            m_session.BeginLoad();
            m_session.Ready(number(1), number(2));
        } else if (name == QLatin1String("refuse")) {
            m_session.Refuse();
        } else if (name == QLatin1String("press")) {
            return Press();
        } else if (name == QLatin1String("tick") || name == QLatin1String("untick")) {
            return Box(number(1), name == QLatin1String("tick"), number(2));
        } else if (name == QLatin1String("second") || name == QLatin1String("second-held")) {
            return TickText(m_session.Tick(name == QLatin1String("second-held")));
        } else if (name == QLatin1String("message")) {
            m_session.TimeUpShown();
            return QString::number(m_answeredAtTimeUp) + QStringLiteral(" answered");
        } else if (name == QLatin1String("pause")) {
            return m_session.TogglePause() ? QStringLiteral("paused") : QStringLiteral("goes on");
        } else if (name == QLatin1String("help")) {
            return m_session.HelpVisit() ? QStringLiteral("textbook") : QStringLiteral("refused");
        } else if (name == QLatin1String("delay")) {
            return m_session.AnswerButtonDelayEnds() ? QStringLiteral("on") : QStringLiteral("off");
        } else if (name == QLatin1String("video")) {
            m_session.VideoQuestionFound();
        } else if (name == QLatin1String("notice")) {
            m_session.VideoNoticeStarted();
        } else if (name == QLatin1String("notice-stopped")) {
            m_session.VideoNoticeStopped();
        } else if (name == QLatin1String("beside-video")) {
            m_session.RowsBesideVideo();
        } else if (name == QLatin1String("file")) {
            return m_session.ReloadOnActivate() == FileLoad::Load ? QStringLiteral("load")
                                                                  : QStringLiteral("skip once");
        } else if (name == QLatin1String("score")) {
            return QString::number(m_session.QuestionScore());
        } else if (name == QLatin1String("total")) {
            return QString::number(m_session.TotalScore());
        } else {
            return QStringLiteral("unknown step ") + step;
        }
        return QString();
    }

private:
    static QString ActivationText(Activation work) {
        switch (work) {
        case Activation::Keep:
            return QStringLiteral("keep");
        case Activation::PrepareAndLoad:
            return QStringLiteral("load");
        case Activation::PrepareOnly:
            return QStringLiteral("prepare");
        }
        return QString();
    }

    QString TickText(ClockTick tick) {
        if (tick == ClockTick::TimeUp)
            m_answeredAtTimeUp = m_session.AnsweredCount();
        return tick == ClockTick::Stopped   ? QStringLiteral("stopped")
               : tick == ClockTick::Counted ? QString::number(m_session.Clock().TimeLeft)
                                            : QStringLiteral("up");
    }

    // The answer button, as the screen's Button1Click.
    QString Press() {
        const QString question = QStringLiteral("question ");
        switch (m_session.AnswerButtonMode()) {
        case TrainingAnswerMode::Start:
            m_session.StartTest();
            return question + QString::number(m_session.AskedCount());
        case TrainingAnswerMode::Next: {
            const bool any = std::find(m_boxes.begin(), m_boxes.end(), true) != m_boxes.end();
            const AfterAnswer next = m_session.Answer(any);
            for (int row = 1; row <= kTrainingRows; ++row) // the program clears the ticks
                Box(row, false, 0);
            if (next == AfterAnswer::Result)
                return QStringLiteral("result");
            m_session.NextQuestionShown();
            return question + QString::number(m_session.AskedCount());
        }
        case TrainingAnswerMode::Leave:
            m_session.Leave();
            return QStringLiteral("menu");
        }
        return QString();
    }

    // The box of a row changes; its option is worth points.
    QString Box(int row, bool ticked, int points) {
        m_boxes[row - 1] = ticked;
        m_points[row - 1] = points;
        if (!m_session.BoxChanged(row, ticked, m_points))
            return QStringLiteral("quiet");
        const char* names[] = {"hidden", "right", "wrong", "incomplete"};
        return QString::fromLatin1(names[int(m_session.CurrentVerdict())]);
    }

    TrainingSession m_session;
    PositionFlags m_boxes{};
    PositionPoints m_points{};
    int m_answeredAtTimeUp = -1;
};

} // namespace

// Rows of "step: what the session decides"; a step without ": " decides nothing.
void TrainingCoreTest::sessionFlow_data() {
    QTest::addColumn<QStringList>("flow");
    QTest::newRow("opening, questions, result, leave") << QStringList{
        "activate: load",    "ready 2 900",       "activate: keep", "press: question 1",
        "tick 1 100: right", "press: question 2", "press: result",  "total: 100",
        "second: stopped",   "press: menu",       "activate: load"};
    QTest::newRow("a refused load leads back")
        << QStringList{"activate: load", "refuse", "press: menu", "activate: load"};
    QTest::newRow("no ticks before the first activation")
        << QStringList{"tick 1 100: quiet", "activate: load", "tick 1 100: right"};
    QTest::newRow("an answer without ticks scores nothing") << QStringList{
        "activate: load",   "ready 3 900",       "press: question 1", "tick 1 100: right",
        "untick 1: hidden", "press: question 2", "press: question 3", "total: 0"};
    QTest::newRow("a visit to the textbook keeps the test") << QStringList{
        "activate: load",    "ready 2 900",    "press: question 1", "tick 1 50: incomplete",
        "help: textbook",    "activate: keep", "score: 50",         "second: 899",
        "press: question 2", "total: 50"};
    QTest::newRow("a pause stops clock, help and answer button")
        << QStringList{"activate: load",  "ready 2 900",   "press: question 1", "pause: paused",
                       "second: stopped", "help: refused", "delay: off",        "tick 1 100: right",
                       "pause: goes on",  "delay: on",     "second: 899",       "help: textbook"};
    QTest::newRow("a video question skips the next file load once")
        << QStringList{"video", "file: skip once", "activate: prepare", "file: load"};
    QTest::newRow("a video question laid out loads again")
        << QStringList{"video", "beside-video", "file: load", "activate: load"};
    QTest::newRow("time-up loads again")
        << QStringList{"activate: load", "ready 2 1",           "press: question 1", "video",
                       "second: up",     "message: 0 answered", "file: load"};
    QTest::newRow("the video notice keeps the answer button off once") << QStringList{
        "activate: load", "ready 2 900", "press: question 1", "notice",   "delay: off",
        "delay: on",      "notice",      "notice-stopped",    "delay: on"};
    QTest::newRow("a playing fragment holds the clock") << QStringList{
        "activate: load", "ready 1 900",   "press: question 1", "second-held: stopped",
        "second: 899",    "press: result", "second: stopped"};
    QTest::newRow("time-up at 0") << QStringList{
        "activate: load",    "ready 5 2",           "press: question 1", "tick 1 100: right",
        "press: question 2", "tick 1 100: right",   "second: 1",         "second: up",
        "score: 0",          "message: 1 answered", "second: stopped",   "press: result",
        "total: 100",        "activate: keep"};
    QTest::newRow("time-up at once for a limit of 0")
        << QStringList{"activate: load", "ready 3 0",           "press: question 1",
                       "second: up",     "message: 0 answered", "press: result"};
    QTest::newRow("time-up at once for a limit below 0")
        << QStringList{"activate: load", "ready 3 -5", "press: question 1", "second: up"};
}

void TrainingCoreTest::sessionFlow() {
    QFETCH(QStringList, flow);
    TrainingFlow session;
    CheckFlow(session, flow);
}

QTEST_GUILESS_MAIN(TrainingCoreTest)
#include "tst_training_core.moc"
