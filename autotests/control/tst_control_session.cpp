// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The flow of a control test without a display: activation, the answer button's modes, the
// countdown, a video question's waits and the supervisor code.
#include "autotests/support/test_support.h"
#include "tests/control_session.h"

#include <QTest>

namespace {

// A control session driven as the screen drives it. Each step is "name arguments" and gives a
// short text for what the session decided ("" when it decides nothing).
class ControlFlow {
public:
    QString Step(const QString& step) {
        const QStringList words = step.split(QLatin1Char(' '));
        const QString& name = words[0];
        const int first = words.value(1).toInt();
        if (name == QLatin1String("activate"))
            return m_session.OnActivation() == Activation::Keep ? QStringLiteral("keep")
                                                                : QStringLiteral("prepare");
        if (name == QLatin1String("ready")) {
            m_session.Ready(first, words.value(2).toInt());
        } else if (name == QLatin1String("refuse")) {
            m_session.Refuse(words.value(1) == QLatin1String("file") ? ControlRefusal::QuestionFile
                                                                     : ControlRefusal::Preparation);
        } else if (name == QLatin1String("press")) {
            return Press();
        } else if (name == QLatin1String("tick")) {
            m_points[first - 1] = words.value(2).toInt();
            m_session.BoxChanged(first, true);
        } else if (name == QLatin1String("countdown")) {
            return m_session.CountdownStartsNow() ? QStringLiteral("starts")
                                                  : QStringLiteral("waits");
        } else if (name == QLatin1String("second")) {
            return TickText(m_session.Tick());
        } else if (name == QLatin1String("delay")) {
            return m_session.AnswerButtonDelayEnds() ? QStringLiteral("on") : QStringLiteral("off");
        } else if (name == QLatin1String("video")) {
            m_session.VideoNoticeStarted();
        } else if (name == QLatin1String("abort")) {
            m_session.Abort();
        } else if (name == QLatin1String("code")) {
            return m_session.SupervisorCode(words.value(1)) ? QStringLiteral("accepted")
                                                            : QStringLiteral("refused");
        } else if (name == QLatin1String("close")) {
            return m_session.Started() ? QStringLiteral("ignored") : QStringLiteral("closes");
        } else if (name == QLatin1String("total")) {
            return QString::number(m_session.TotalPoints());
        } else {
            return QStringLiteral("unknown step ") + step;
        }
        return QString();
    }

private:
    QString TickText(ClockTick tick) const {
        return tick == ClockTick::Stopped   ? QStringLiteral("stopped")
               : tick == ClockTick::Counted ? QString::number(m_session.Countdown().SecondsLeft)
                                            : QStringLiteral("up");
    }

    // The answer button, as the screen's Button1Click.
    QString Press() {
        const QString question = QStringLiteral("question ");
        switch (m_session.AnswerButtonMode()) {
        case ControlAnswerMode::Start:
            m_session.StartTest();
            return question + QString::number(m_session.ShownCount());
        case ControlAnswerMode::Answer:
            if (m_session.Answered(m_session.PointsOf(m_points)) == AfterAnswer::Result)
                return QStringLiteral("result");
            return question + QString::number(m_session.ShownCount());
        case ControlAnswerMode::Exit:
            return QStringLiteral("end program");
        case ControlAnswerMode::Back:
            return QStringLiteral("menu");
        }
        return QString();
    }

    ControlSession m_session;
    PositionPoints m_points{};
};

} // namespace

class ControlSessionTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void flow_data();
    void flow();
};

// Rows of "step: what the session decides"; a step without ": " decides nothing.
void ControlSessionTest::flow_data() {
    QTest::addColumn<QStringList>("flow");
    QTest::newRow("opening, questions, result, supervisor")
        << QStringList{"activate: prepare", "ready 2 60",        "activate: keep",
                       "close: closes",     "press: question 1", "countdown: starts",
                       "tick 1 100",        "close: ignored",    "press: question 2",
                       "countdown: starts", "tick 1 50",         "tick 2 0",
                       "press: result",     "total: 100",        "second: stopped",
                       "activate: keep",    "close: ignored",    "code 739152: accepted",
                       "activate: prepare"};
    QTest::newRow("the supervisor code only after the last answer") << QStringList{
        "activate: prepare",    "ready 2 60",           "code 739152: refused", "press: question 1",
        "code 739152: refused", "press: question 2",    "code 739152: refused", "press: result",
        "code 739153: refused", "code 739152: accepted"};
    QTest::newRow("a test stopped by a failed write takes the supervisor code")
        << QStringList{"activate: prepare", "ready 2 60",           "press: question 1", "abort",
                       "second: stopped",   "code 739152: accepted"};
    QTest::newRow("a question file that cannot be read ends the program")
        << QStringList{"activate: prepare", "refuse file", "close: closes", "code 739152: refused",
                       "press: end program"};
    QTest::newRow("a test that cannot be prepared leads back")
        << QStringList{"activate: prepare", "ready 2 60", "refuse setting", "press: menu"};
    QTest::newRow("ticks count for their question only")
        << QStringList{"activate: prepare", "ready 2 60",    "press: question 1", "tick 1 100",
                       "press: question 2", "press: result", "total: 100"};
    QTest::newRow("an activation during the test keeps it") << QStringList{
        "activate: prepare", "ready 2 60", "press: question 1", "tick 1 100", "second: 59",
        "activate: keep",    "second: 58", "press: question 2", "total: 100"};
    QTest::newRow("time-up at 0 keeps the ticks and ends the count, the next question counts")
        << QStringList{"activate: prepare", "ready 2 3",  "second: stopped", "press: question 1",
                       "tick 1 100",        "second: 2",  "second: 1",       "second: up",
                       "second: stopped",   "press: question 2", "total: 100", "second: 2"};
    QTest::newRow("time-up at once for 1 second")
        << QStringList{"activate: prepare", "ready 1 1", "press: question 1", "second: up"};
    QTest::newRow("time-up at once for 0 seconds")
        << QStringList{"activate: prepare", "ready 1 0", "press: question 1", "second: up"};
    QTest::newRow("time-up at once below 0 seconds")
        << QStringList{"activate: prepare", "ready 1 -5", "press: question 1", "second: up"};
    QTest::newRow("a video question's countdown and button wait for the fragment")
        << QStringList{"activate: prepare", "ready 2 60", "press: question 1", "video",
                       "countdown: waits",  "delay: off", "delay: on",         "press: question 2",
                       "countdown: starts", "delay: on"};
}

void ControlSessionTest::flow() {
    QFETCH(QStringList, flow);
    ControlFlow session;
    CheckFlow(session, flow);
}

QTEST_GUILESS_MAIN(ControlSessionTest)
#include "tst_control_session.moc"
