// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The training screen driven through its handlers and timer ticks, on small question files
// written to a temporary program folder.
#include "app/program_shell.h"
#include "app/startup.h"
#include "app/test.h"
#include "app/test1.h"
#include "app/test5.h"
#include "autotests/support/fake_media_player.h"
#include "autotests/support/screens_fixture.h"
#include "materials/test94.h"
#include "platform/rounding.h"
#include "platform/screen.h"
#include "questions/question_area.h"
#include "tests/test2.h"
#include "tests/test4.h"
#include "widgets/toggle_button.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QWindow>
#include <memory>
#include <optional>

namespace {

using Item = TestQuestion;

QByteArray TestFile(const QString& title, const QList<Item>& items) {
    return QuestionFileBytes(title, items);
}

QList<Item> Repeat(const Item& item, int count) {
    return QList<Item>(count, item);
}

const QString kTitle = QStringLiteral("Итоговое тестирование по курсу");

} // namespace

class TrainingScreenTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void windowAndOpeningDisplay();
    void defaultsGiveClockFrom900();
    void countAboveFileAsksEveryQuestionOnce();
    void verdictsOfTheFiftyFiftyQuestion();
    void tickingAndClearingScoresZero();
    void programUntickingNeverCounts();
    void resultPercentages_data();
    void resultPercentages();
    void timeUpOnQuestionFourAndExit();
    void answeredCountIsNotCutAt255();
    void timersAndButtonsRunTheTestAsConnected();
    void pauseBlocksAnswerHelpAndClock();
    void helpAndReturnKeepQuestionTicksAndClock();
    void returnsOfFocusNeverResetTheTest();
    void videoQuestionStopsClockAndDelaysButton();
    void missingFileLeadsBackToMenu();
    void badSettingsNeverStartATest_data();
    void badSettingsNeverStartATest();
    void leavingFreesScreenAndNextTestIsFresh();
    void wholeTestFromTheMenu();
    void lateActivationOfALeftScreenPreparesNothing_data();
    void lateActivationOfALeftScreenPreparesNothing();
    void windowSystemCloseLeavesTheTest_data();
    void windowSystemCloseLeavesTheTest();
    void clockStandsStillOffTheQuestions();
    void screenReaderHearsBoxesVerdictsAndResult();
    void nextQuestionReadAndFocusedFromItsFirstBox();

private:
    void WriteTest(const QList<Item>& items, const QString& title = kTitle);
    void Settings(const QString& count, const QString& seconds);
    void Open();
    void Start();
    void Next();
    void Tick(int points);
    int RowWith(int points, bool ticked) const;
    QString ResultLine(int index) const;

    std::unique_ptr<QTemporaryDir> m_folder;
    std::unique_ptr<MessageRecorder> m_recorder;
    std::optional<ScreensFixture> m_screens;
};

void TrainingScreenTest::init() {
    PrepareScreenTests(MediaPlayers::Fake);
    m_recorder = std::make_unique<MessageRecorder>();
    m_folder = std::make_unique<QTemporaryDir>();
    QVERIFY(m_folder->isValid());
    QVERIFY(QDir(m_folder->path()).mkpath(QStringLiteral("ortu")));
    m_screens.emplace();
    Control<QTimer>(Form1, "Timer1")->stop(); // no splash in these tests
    Shell().ProgramFolder = m_folder->path();
}

void TrainingScreenTest::cleanup() {
    m_screens.reset();
    m_recorder.reset();
    m_folder.reset();
    FakeMediaPlayer::Uninstall();
}

void TrainingScreenTest::WriteTest(const QList<Item>& items, const QString& title) {
    QFile file(m_folder->filePath(QStringLiteral("ortu/pdb12.db")));
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(TestFile(title, items));
}

void TrainingScreenTest::Settings(const QString& count, const QString& seconds) {
    Control<QLineEdit>(Form4, "Edit2")->setText(count);
    Control<QLineEdit>(Form4, "Edit3")->setText(seconds);
}

// As the menu opens the screen, then the activation that follows.
void TrainingScreenTest::Open() {
    RecreateIfFreed<TForm2>(Shell().RecreateTrainingScreen, Form2, ProgramShell());
    form12->TestingMode = 1;
    Control<QLabel>(Form2, "Image2")->setVisible(true);
    Form2->PauseAllowed = true;
    Form2->ShowScreen();
    Form2->FormActivate();
}

void TrainingScreenTest::Start() {
    Open();
    QCOMPARE(Form2->AnswerButtonMode(), TForm2::kModeStart);
    Form2->Button1Click();
    Form2->Timer4Timer();
}

void TrainingScreenTest::Next() {
    QVERIFY(Control<QPushButton>(Form2, "Button1")->isEnabled());
    Form2->Button1Click();
    Form2->Timer4Timer();
}

// The screen never knows an option's points: the test reads them from the option's text,
// "- вариант i на P баллов".
int TrainingScreenTest::RowWith(int points, bool ticked) const {
    const QString worth = QStringLiteral(" на %1 баллов").arg(points);
    for (int row = 1; row <= 5; ++row) {
        if (Form2->Area()->RowUsed(row) &&
            Form2->Area()->View.DisplayOptions[row - 1].Text.contains(worth) &&
            Form2->Box(row)->isChecked() == ticked)
            return row;
    }
    return 0;
}

// The student clicks the first unticked box of an option worth `points`.
void TrainingScreenTest::Tick(int points) {
    const int row = RowWith(points, false);
    QVERIFY2(row != 0, qPrintable(QStringLiteral("no unticked row with %1").arg(points)));
    QVERIFY(Form2->Box(row)->isEnabled());
    Form2->Box(row)->click();
    QVERIFY(Form2->Box(row)->isChecked());
}

QString TrainingScreenTest::ResultLine(int index) const {
    return Control<AutoSizeLabel>(Form2, "Label5")->text().split(QLatin1Char('\r')).value(index);
}

void TrainingScreenTest::windowAndOpeningDisplay() {
    WriteTest(Repeat(Item({100, 0}), 3));
    Open();
    QCOMPARE(Form2->size(), QSize(782, 536));
    QVERIFY(Form2->windowFlags() & Qt::WindowStaysOnTopHint);
    QVERIFY(!(Form2->windowFlags() & Qt::WindowCloseButtonHint));
    QCOMPARE(Form2->palette().color(QPalette::Window), QColor(0xC6, 0xFF, 0xD1));
    QCOMPARE(Form2->windowTitle(), QStringLiteral("Внимание!"));
    // Centred as a whole window, its border included.
    QRect frame = Form2->frameGeometry();
    QVERIFY(frame.width() >= 782 && frame.height() >= 536);
    QCOMPARE(frame.topLeft(), QPoint(HalfOf(1024 - frame.width()), HalfOf(768 - frame.height())));
    QCOMPARE(Control<AutoSizeLabel>(Form2, "Label5")->text(), kTitle + QLatin1Char(' '));
    QVERIFY(!Control<AutoSizeLabel>(Form2, "Label5")->isHidden());
    QCOMPARE(Control<QPushButton>(Form2, "Button1")->text(), QStringLiteral("OK"));
    QVERIFY(Control<QPushButton>(Form2, "Button1")->isEnabled());
    QVERIFY(!Control<QFrame>(Form2, "Panel3")->isHidden());
    QVERIFY(!Control<QLabel>(Form2, "Image2")->isHidden());
    QVERIFY(Control<QToolButton>(Form2, "SpeedButton1")->isHidden());
    QVERIFY(Control<QFrame>(Form2, "Panel2")->isHidden());
    QVERIFY(Control<QProgressBar>(Form2, "ProgressBar1")->isHidden());
    QCOMPARE(Form2->Session().ResetOnActivate(), OnActivate::Keep);

    // On a display lower than 624 pixels the screen stands 5 pixels from the top.
    m_screens->SetDisplay(QSize(800, 600));
    Form2->FormActivate();
    frame = Form2->frameGeometry();
    QCOMPARE(frame.topLeft(), QPoint(HalfOf(800 - frame.width()), 5));
    QVERIFY(m_recorder->messages.isEmpty());
}

void TrainingScreenTest::defaultsGiveClockFrom900() {
    WriteTest(Repeat(Item({100, 0, 0}), 12));
    Start();
    QCOMPARE(Form2->Session().TrainingQuestionCount(), 10);
    QCOMPARE(Form2->Session().TrainingTimeLimit(), 900);
    QCOMPARE(Control<QLabel>(Form2, "Label7")->text(), QStringLiteral("900"));
    QCOMPARE(Control<QProgressBar>(Form2, "ProgressBar1")->maximum(), 900);
    QCOMPARE(Control<QProgressBar>(Form2, "ProgressBar1")->minimum(), 0);
    QCOMPARE(Control<QProgressBar>(Form2, "ProgressBar1")->value(), 0);
    QVERIFY(!Control<QLabel>(Form2, "Label7")->isHidden() &&
            !Control<QLabel>(Form2, "Label8")->isHidden());
    QVERIFY(Control<QTimer>(Form2, "Timer1")->isActive());
    QCOMPARE(Control<QTimer>(Form2, "Timer1")->interval(), 1000);
    QCOMPARE(Form2->windowTitle(), QStringLiteral("Вопрос  1"));
    QCOMPARE(Control<QPushButton>(Form2, "Button1")->text(), QStringLiteral("Следующий вопрос"));

    Form2->Timer1Timer();
    Form2->Timer1Timer();
    QCOMPARE(Control<QLabel>(Form2, "Label7")->text(), QStringLiteral("898"));
    QCOMPARE(Control<QProgressBar>(Form2, "ProgressBar1")->value(), 2);

    // The start bar is locked while the test runs.
    QCOMPARE(Shell().StartBarLocked, 1);
    QCOMPARE(Shell().TrainingActive, 1);
    QVERIFY(!Control<TabcToggleBtn>(Form5, "abcToggleBtn1")->isEnabled());
    QVERIFY(!Control<TabcToggleBtn>(Form5, "abcToggleBtn2")->isEnabled());
    QVERIFY(!Control<TabcToggleBtn>(Form5, "abcToggleBtn3")->isEnabled());
}

void TrainingScreenTest::countAboveFileAsksEveryQuestionOnce() {
    WriteTest(Repeat(Item({100, 0}), 4));
    Settings(QStringLiteral("25"), QStringLiteral("900"));
    Start();
    QCOMPARE(Form2->Session().TrainingQuestionCount(), 4);
    const auto shown = [] {
        return Form2->ShownQuestion().Text.trimmed().section(QLatin1Char(' '), -1).toInt();
    };
    QSet<int> asked{shown()};
    for (int k = 2; k <= 4; ++k) {
        Tick(100);
        Next();
        QCOMPARE(Form2->windowTitle(), QStringLiteral("Вопрос  %1").arg(k));
        asked.insert(shown());
    }
    QCOMPARE(asked, (QSet<int>{1, 2, 3, 4}));
    Tick(100);
    Form2->Button1Click();
    QCOMPARE(Form2->windowTitle(), QStringLiteral("Результат"));
    QCOMPARE(Form2->AnswerButtonMode(), TForm2::kModeLeave);
    QCOMPARE(ResultLine(2), QStringLiteral("Задано вопросов: 4"));
    QCOMPARE(ResultLine(3), QStringLiteral("Набрано баллов: 400 из 400."));
    QCOMPARE(ResultLine(4), QStringLiteral("Это составляет 100.0 %"));
    QVERIFY(!Control<QTimer>(Form2, "Timer1")->isActive());
}

void TrainingScreenTest::verdictsOfTheFiftyFiftyQuestion() {
    WriteTest({Item({50, 0, 50})});
    Start();
    QVERIFY(Control<QFrame>(Form2, "Panel2")->isHidden());
    // The verdicts come from the exam keeper: no option on screen carries its points.
    for (int row = 1; row <= 3; ++row)
        QCOMPARE(Form2->Area()->View.DisplayOptions[row - 1].Points, 0);

    Tick(50);
    QVERIFY(!Control<QFrame>(Form2, "Panel2")->isHidden());
    QCOMPARE(Control<QLabel>(Form2, "Label9")->text(), QStringLiteral("Ответ неполный"));
    QCOMPARE(Control<QFrame>(Form2, "Panel2")->palette().color(QPalette::Window),
             QColor(0xFF, 0xFF, 0x00));
    QCOMPARE(Control<QLabel>(Form2, "Label9")->palette().color(QPalette::WindowText),
             QColor(0x00, 0x00, 0xFF));
    QCOMPARE(Control<QToolButton>(Form2, "SpeedButton2")->palette().color(QPalette::ButtonText),
             QColor(0x00, 0x00, 0xFF));
    QVERIFY(!Control<QToolButton>(Form2, "SpeedButton1")
                 ->isHidden()); // every tick shows the pause button

    Tick(50);
    QCOMPARE(Control<QLabel>(Form2, "Label9")->text(), QStringLiteral("Ответ правильный"));
    QCOMPARE(Control<QFrame>(Form2, "Panel2")->palette().color(QPalette::Window),
             QColor(0x00, 0x80, 0x00));
    QCOMPARE(Control<QLabel>(Form2, "Label9")->palette().color(QPalette::WindowText),
             QColor(0xFF, 0xFF, 0x00));

    Tick(0);
    QCOMPARE(Control<QLabel>(Form2, "Label9")->text(), QStringLiteral("Ответ неправильный"));
    QCOMPARE(Control<QFrame>(Form2, "Panel2")->palette().color(QPalette::Window),
             QColor(0xFF, 0x00, 0x00));
    QCOMPARE(Control<QToolButton>(Form2, "SpeedButton2")->palette().color(QPalette::ButtonText),
             QColor(0xFF, 0xFF, 0x00));

    Form2->Button1Click();
    QCOMPARE(Form2->Session().TotalScore(), 0);
    QCOMPARE(ResultLine(3), QStringLiteral("Набрано баллов: 0 из 100."));
}

void TrainingScreenTest::tickingAndClearingScoresZero() {
    WriteTest({Item({100, 0, 0})});
    Start();
    Tick(100);
    QCOMPARE(Control<QLabel>(Form2, "Label9")->text(), QStringLiteral("Ответ правильный"));
    Form2->Box(RowWith(100, true))->click();
    QVERIFY(Control<QFrame>(Form2, "Panel2")->isHidden());
    Form2->Button1Click();
    QCOMPARE(Form2->Session().TotalScore(), 0);
    QCOMPARE(ResultLine(4), QStringLiteral("Это составляет  0.0 %"));
}

void TrainingScreenTest::programUntickingNeverCounts() {
    WriteTest(Repeat(Item({100, 0, 0}), 3));
    Settings(QStringLiteral("3"), QStringLiteral("900"));
    Start();
    Tick(100);
    Next();
    // The program cleared the ticks for the next question without a verdict; the pause button
    // noticed the change all the same.
    QVERIFY(Control<QFrame>(Form2, "Panel2")->isHidden());
    QVERIFY(!Control<QToolButton>(Form2, "SpeedButton1")->isHidden());
    for (int row = 1; row <= 5; ++row)
        QVERIFY(!Form2->Box(row)->isChecked());
    // A question left untouched scores nothing, whatever the previous one scored.
    Next();
    Tick(0);
    Form2->Button1Click();
    QCOMPARE(Form2->Session().TotalScore(), 100);
    QCOMPARE(ResultLine(3), QStringLiteral("Набрано баллов: 100 из 300."));
}

void TrainingScreenTest::resultPercentages_data() {
    QTest::addColumn<int>("questions");
    QTest::addColumn<int>("points");
    QTest::addColumn<QString>("fourth");
    QTest::addColumn<QString>("fifth");
    QTest::newRow("10 x 75") << 10 << 75 << QStringLiteral("Набрано баллов: 750 из 1000.")
                             << QStringLiteral("Это составляет 75.0 %");
    QTest::newRow("3 x 5") << 3 << 5 << QStringLiteral("Набрано баллов: 15 из 300.")
                           << QStringLiteral("Это составляет  5.0 %");
}

void TrainingScreenTest::resultPercentages() {
    QFETCH(int, questions);
    QFETCH(int, points);
    QFETCH(QString, fourth);
    QFETCH(QString, fifth);
    WriteTest(Repeat(Item({points, 100 - points, 0}), questions));
    Settings(QString::number(questions), QStringLiteral("900"));
    Control<QLineEdit>(form12, "Edit1")->setText(QStringLiteral("Петров П. П."));
    Start();
    for (int k = 1; k < questions; ++k) {
        Tick(points);
        Next();
    }
    Tick(points);
    Form2->Button1Click();

    QCOMPARE(Control<AutoSizeLabel>(Form2, "Label5")->text().count(QLatin1Char('\r')), 4);
    QCOMPARE(ResultLine(0), QStringLiteral("РЕЗУЛЬТАТЫ ТЕСТИРОВАНИЯ"));
    QCOMPARE(ResultLine(1), QStringLiteral("ФИО: Петров П. П."));
    QCOMPARE(ResultLine(2), QStringLiteral("Задано вопросов: %1").arg(questions));
    QCOMPARE(ResultLine(3), fourth);
    QCOMPARE(ResultLine(4), fifth);
    QCOMPARE(m_recorder->sounds,
             QStringList{m_folder->path() + QStringLiteral("/wave/Reminder.wav")});
    QCOMPARE(Form2->windowTitle(), QStringLiteral("Результат"));
    QVERIFY(!Control<QFrame>(Form2, "Panel3")->isHidden() &&
            !Control<QLabel>(Form2, "Image2")->isHidden());
    QVERIFY(Control<QToolButton>(Form2, "SpeedButton1")->isHidden());
    // "OK" comes into use 0.7 seconds later.
    QVERIFY(!Control<QPushButton>(Form2, "Button1")->isEnabled());
    QVERIFY(Control<QTimer>(Form2, "Timer4")->isActive());
    QCOMPARE(Control<QTimer>(Form2, "Timer4")->interval(), 700);
    QCOMPARE(Control<QTimer>(Form2, "Timer4")->timerType(), Qt::PreciseTimer);
    Form2->Timer4Timer();
    QVERIFY(Control<QPushButton>(Form2, "Button1")->isEnabled());
    QCOMPARE(Control<QPushButton>(Form2, "Button1")->text(), QStringLiteral("OK"));
}

void TrainingScreenTest::timeUpOnQuestionFourAndExit() {
    WriteTest(Repeat(Item({100, 0}), 12));
    Settings(QStringLiteral("10"), QStringLiteral("20"));
    Start();
    for (int k = 1; k <= 3; ++k) {
        Tick(100);
        Next();
    }
    QCOMPARE(Form2->Session().AskedCount(), 4);
    Tick(100);
    for (int s = 0; s < 19; ++s)
        Form2->Timer1Timer();
    QVERIFY(m_recorder->messages.isEmpty());
    Form2->Timer1Timer();

    QCOMPARE(m_recorder->messages,
             QStringList{QStringLiteral("Время тестирования истекло, всего дано ответов 3.")});
    QCOMPARE(Control<QLabel>(Form2, "Label7")->text(), QStringLiteral("Время истекло!"));
    QCOMPARE(Control<QLabel>(Form2, "Label7")->palette().color(QPalette::WindowText),
             QColor(0xFF, 0x00, 0x00));
    QVERIFY(!Control<QTimer>(Form2, "Timer1")->isActive());
    QCOMPARE(Control<QPushButton>(Form2, "Button1")->text(), QStringLiteral("Выход..."));
    for (int row = 1; row <= 5; ++row)
        QVERIFY(!Form2->Box(row)->isEnabled());
    Form2->Timer4Timer();

    // The focus coming back from the message changes nothing.
    Form2->FormActivate();
    QCOMPARE(Control<QPushButton>(Form2, "Button1")->text(), QStringLiteral("Выход..."));

    Form2->Button1Click();
    QCOMPARE(Form2->AnswerButtonMode(), TForm2::kModeLeave);
    QCOMPARE(ResultLine(2), QStringLiteral("Задано вопросов: 10"));
    // The question on screen at time-up scores nothing although it was answered right.
    QCOMPARE(ResultLine(3), QStringLiteral("Набрано баллов: 300 из 1000."));
    QCOMPARE(ResultLine(4), QStringLiteral("Это составляет 30.0 %"));

    // Nothing can restart a clock whose time is up.
    Control<QTimer>(Form2, "Timer1")->start();
    Form2->Timer1Timer();
    QVERIFY(!Control<QTimer>(Form2, "Timer1")->isActive());
    QCOMPARE(m_recorder->messages.size(), 1);
}

void TrainingScreenTest::answeredCountIsNotCutAt255() {
    WriteTest(Repeat(Item({100}), 300));
    Settings(QStringLiteral("300"), QStringLiteral("1"));
    Start();
    for (int k = 1; k <= 260; ++k)
        Next();
    Form2->Timer1Timer();
    QCOMPARE(m_recorder->last(),
             QStringLiteral("Время тестирования истекло, всего дано ответов 260."));
}

void TrainingScreenTest::timersAndButtonsRunTheTestAsConnected() {
    // The student's clicks and the screen's own timers, as the event loop delivers them.
    WriteTest(Repeat(Item({100, 0}), 3));
    Settings(QStringLiteral("3"), QStringLiteral("2"));
    Open();
    auto* button = Control<QPushButton>(Form2, "Button1");
    auto* clock = Control<QTimer>(Form2, "Timer1");
    auto* delay = Control<QTimer>(Form2, "Timer4");
    auto* pause = Control<QToolButton>(Form2, "SpeedButton1");
    QTest::mouseClick(button, Qt::LeftButton); // "OK"
    QCOMPARE(Form2->Session().AskedCount(), 1);
    QVERIFY(!button->isEnabled());
    QCOMPARE(delay->interval(), 700);
    QVERIFY(RunOut(delay));
    QVERIFY(button->isEnabled() && !delay->isActive());
    Tick(100);

    // The pause stops the clock, a second click starts it again.
    QTest::mouseClick(pause, Qt::LeftButton);
    QVERIFY(Form2->Paused() && !clock->isActive());
    QTest::mouseClick(pause, Qt::LeftButton);
    QVERIFY(!Form2->Paused());
    QCOMPARE(clock->interval(), 1000);
    QVERIFY(RunOut(clock));
    QCOMPARE(Control<QLabel>(Form2, "Label7")->text(), QStringLiteral("1"));

    // Help: off to the textbook with the clock standing, back through the start bar.
    QTest::mouseClick(Control<QToolButton>(Form2, "SpeedButton2"), Qt::LeftButton);
    QVERIFY(!Form2->isVisible() && Form14->isVisible());
    QVERIFY(!clock->isActive());
    Form5->abcToggleBtn1Click();
    QVERIFY(Form2->isVisible());

    // The clock runs out by itself.
    QVERIFY(RunOut(clock));
    QCOMPARE(m_recorder->messages,
             QStringList{QStringLiteral("Время тестирования истекло, всего дано ответов 0.")});
    QCOMPARE(button->text(), QStringLiteral("Выход..."));
    QVERIFY(RunOut(delay));
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(Form2->AnswerButtonMode(), TForm2::kModeLeave);
    QVERIFY(RunOut(delay));
    QTest::mouseClick(button, Qt::LeftButton);
    QVERIFY(form12->isVisible());
    QCOMPARE(Shell().RecreateTrainingScreen, 1);
}

void TrainingScreenTest::pauseBlocksAnswerHelpAndClock() {
    WriteTest(Repeat(Item({50, 50, 0}), 3));
    Start();
    Form2->Timer1Timer();
    Tick(50);
    QVERIFY(Control<QToolButton>(Form2, "SpeedButton2")->isEnabled());

    Form2->SpeedButton1Click();
    QVERIFY(Form2->Paused());
    QCOMPARE(Control<QToolButton>(Form2, "SpeedButton1")->text(), QStringLiteral("Старт"));
    QCOMPARE(Control<QToolButton>(Form2, "SpeedButton1")->palette().color(QPalette::ButtonText),
             QColor(0x00, 0x80, 0x00));
    QVERIFY(!Control<QTimer>(Form2, "Timer1")->isActive());
    QVERIFY(!Control<QPushButton>(Form2, "Button1")->isEnabled());
    QVERIFY(!Control<QToolButton>(Form2, "SpeedButton2")->isEnabled());
    // The boxes keep working; the answer-button delay does not give the button back; a timer
    // started from outside does not move the clock.
    Tick(50);
    QCOMPARE(Control<QLabel>(Form2, "Label9")->text(), QStringLiteral("Ответ правильный"));
    Form2->Timer4Timer();
    QVERIFY(!Control<QPushButton>(Form2, "Button1")->isEnabled());
    Form2->Timer1Timer();
    QCOMPARE(Form2->Session().Clock().TimeLeft, 899);

    Form2->SpeedButton1Click();
    QCOMPARE(Control<QToolButton>(Form2, "SpeedButton1")->text(), QStringLiteral("Стоп"));
    QCOMPARE(Control<QToolButton>(Form2, "SpeedButton1")->palette().color(QPalette::ButtonText),
             QColor(0xFF, 0x00, 0x00));
    QVERIFY(Control<QTimer>(Form2, "Timer1")->isActive());
    QVERIFY(Control<QPushButton>(Form2, "Button1")->isEnabled());
    QVERIFY(Control<QToolButton>(Form2, "SpeedButton2")->isEnabled());
    Form2->Timer1Timer();
    QCOMPARE(Form2->Session().Clock().TimeLeft, 898);

    // Without the menu's permission the pause button does nothing.
    Form2->PauseAllowed = false;
    Form2->SpeedButton1Click();
    QVERIFY(Control<QTimer>(Form2, "Timer1")->isActive());
    QCOMPARE(Control<QToolButton>(Form2, "SpeedButton1")->text(), QStringLiteral("Стоп"));
}

void TrainingScreenTest::helpAndReturnKeepQuestionTicksAndClock() {
    WriteTest({Item({50, 50, 0}, QString(), QStringLiteral("012.htm")),
               Item({50, 50, 0}, QString(), QStringLiteral("034.htm"))});
    Settings(QStringLiteral("2"), QStringLiteral("900"));
    Start();
    for (int s = 0; s < 5; ++s)
        Form2->Timer1Timer();
    Tick(50);
    const QString question = Form2->ShownQuestion().Text;
    const int tickedRow = RowWith(50, true);

    Form2->SpeedButton2Click();
    QCOMPARE(Form2->HelpPage,
             question.trimmed().endsWith(QLatin1String(" 1")) ? QStringLiteral("\\html\\012.htm")
                                                               : QStringLiteral("\\html\\034.htm"));
    QCOMPARE(Form2->HelpPageRequested, 1);
    QCOMPARE(Form2->Session().ResetOnActivate(), OnActivate::Keep);
    QVERIFY(!Control<QTimer>(Form2, "Timer1")->isActive());
    QVERIFY(!Form2->isVisible());
    QVERIFY(Form14->isVisible());
    QVERIFY(Form1->isVisible());
    QCOMPARE(Shell().StartBarLocked, 0);
    QCOMPARE(Shell().TrainingActive, 1);
    QVERIFY(Control<TabcToggleBtn>(Form5, "abcToggleBtn1")->isEnabled());
    QVERIFY(!Control<TabcToggleBtn>(Form5, "abcToggleBtn1")->Down());
    QVERIFY(Control<TabcToggleBtn>(Form5, "abcToggleBtn3")->Down());

    // Back through "Тестирование...".
    Form5->abcToggleBtn1Click();
    Form2->FormActivate();
    QVERIFY(Form2->isVisible());
    QVERIFY(Control<QTimer>(Form2, "Timer1")->isActive());
    QCOMPARE(Form2->ShownQuestion().Text, question);
    QVERIFY(Form2->Box(tickedRow)->isChecked());
    QVERIFY(!Control<QFrame>(Form2, "Panel2")->isHidden());
    QCOMPARE(Control<QLabel>(Form2, "Label9")->text(), QStringLiteral("Ответ неполный"));
    QCOMPARE(Control<QLabel>(Form2, "Label7")->text(), QStringLiteral("895"));
    Form2->Timer1Timer();
    QCOMPARE(Control<QLabel>(Form2, "Label7")->text(), QStringLiteral("894"));

    // The answer still counts as it stands, and the next answer locks the start bar again.
    Tick(50);
    Next();
    QCOMPARE(Shell().StartBarLocked, 1);
    QVERIFY(!Control<TabcToggleBtn>(Form5, "abcToggleBtn1")->isEnabled());
}

void TrainingScreenTest::returnsOfFocusNeverResetTheTest() {
    WriteTest(Repeat(Item({100, 0}), 5));
    Start();
    Tick(100);
    Next();
    Tick(100);
    Form2->Timer1Timer();
    const QString question = Form2->ShownQuestion().Text;

    // Another window of the program took the focus and gave it back.
    Form2->FormActivate();
    Form2->FormActivate();
    QCOMPARE(Form2->Session().AskedCount(), 2);
    QCOMPARE(Form2->ShownQuestion().Text, question);
    QVERIFY(Form2->Box(RowWith(100, true))->isChecked());
    QCOMPARE(Form2->Session().Clock().TimeLeft, 899);
    QVERIFY(Control<QTimer>(Form2, "Timer1")->isActive());
    QCOMPARE(Control<QPushButton>(Form2, "Button1")->text(), QStringLiteral("Следующий вопрос"));
    Next();
}

void TrainingScreenTest::videoQuestionStopsClockAndDelaysButton() {
    WriteTest({Item({100, 0}, QStringLiteral("$clip.avi"))});
    Settings(QStringLiteral("1"), QStringLiteral("900"));
    Open();
    Form2->Button1Click();
    QCOMPARE(Form2->Session().ReloadOnActivate(), FileLoad::SkipOnce);
    QVERIFY(Form2->Session().OkDelaySkip());
    QVERIFY(Control<QToolButton>(Form2, "SpeedButton1")->isHidden());
    QVERIFY(!Control<QPushButton>(Form2, "Button1")->isEnabled());
    QVERIFY(Control<QTimer>(Form2, "Timer1")->isActive());

    Form2->Timer4Timer(); // the usual delay leaves the button off
    QVERIFY(!Control<QPushButton>(Form2, "Button1")->isEnabled());
    QVERIFY(!Form2->Session().OkDelaySkip());

    Form2->Timer2Timer();
    QVERIFY(!Control<QTimer>(Form2, "Timer1")->isActive());
    auto* player = qobject_cast<FakeMediaPlayer*>(Control<MediaPlayer>(Form2, "MediaPlayer1"));
    QVERIFY(player != nullptr);
    QVERIFY(player->openedPath.endsWith(QStringLiteral("images/$clip.avi")));
    player->Finish();
    QVERIFY(Control<QTimer>(Form2, "Timer4")->isActive());
    Form2->Timer4Timer();
    QVERIFY(Control<QPushButton>(Form2, "Button1")->isEnabled());

    for (int i = 0; i < 4; ++i)
        Form2->Timer3Timer();
    QVERIFY(Control<QTimer>(Form2, "Timer1")->isActive());
    QCOMPARE(Form2->Session().ReloadOnActivate(), FileLoad::Load);
    QCOMPARE(Control<QFrame>(Form2, "Panel5")->x(), 252);
    Tick(100);
    QCOMPARE(Control<QLabel>(Form2, "Label9")->text(), QStringLiteral("Ответ правильный"));
    Form2->Button1Click();
    QCOMPARE(ResultLine(3), QStringLiteral("Набрано баллов: 100 из 100."));
}

void TrainingScreenTest::missingFileLeadsBackToMenu() {
    Open();
    QCOMPARE(Control<AutoSizeLabel>(Form2, "Label5")->text(),
             QStringLiteral("Не задан файл вопросов теста"));
    QCOMPARE(Form2->AnswerButtonMode(), TForm2::kModeLeave);
    QCOMPARE(Control<QPushButton>(Form2, "Button1")->text(), QStringLiteral("OK"));
    QVERIFY(Control<QPushButton>(Form2, "Button1")->isEnabled());
    QVERIFY(m_recorder->messages.isEmpty());
    Form2->Button1Click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(Form2.isNull());
    QVERIFY(form12->isVisible());
    QCOMPARE(Shell().StartBarLocked, 0);
}

void TrainingScreenTest::badSettingsNeverStartATest_data() {
    QTest::addColumn<QString>("count");
    QTest::addColumn<QString>("seconds");
    QTest::addColumn<QString>("message");
    QTest::newRow("count") << QStringLiteral("десять") << QStringLiteral("900")
                           << QStringLiteral("'десять' is not a valid integer value");
    QTest::newRow("empty time") << QStringLiteral("10") << QString()
                                << QStringLiteral("'' is not a valid integer value");
    QTest::newRow("zero count") << QStringLiteral("0") << QStringLiteral("900") << QString();
}

void TrainingScreenTest::badSettingsNeverStartATest() {
    QFETCH(QString, count);
    QFETCH(QString, seconds);
    QFETCH(QString, message);
    WriteTest(Repeat(Item({100, 0}), 3));
    Settings(count, seconds);
    Open();
    QCOMPARE(m_recorder->messages.size(), 1);
    if (!message.isEmpty())
        QCOMPARE(m_recorder->last(), message);
    QCOMPARE(Control<AutoSizeLabel>(Form2, "Label5")->text(), m_recorder->last());
    QCOMPARE(Form2->AnswerButtonMode(), TForm2::kModeLeave);
    Form2->FormActivate(); // the message closing gives the focus back: nothing more happens
    QCOMPARE(m_recorder->messages.size(), 1);
    Form2->Button1Click();
    QVERIFY(!Control<QTimer>(Form2, "Timer1")->isActive());
    QCOMPARE(Shell().TrainingActive, 0);
    QVERIFY(form12->isVisible());
}

void TrainingScreenTest::leavingFreesScreenAndNextTestIsFresh() {
    WriteTest(Repeat(Item({100, 0}), 6));
    Settings(QStringLiteral("2"), QStringLiteral("900"));
    Start();
    Tick(100);
    Next();
    Form2->Button1Click();
    Form2->Timer4Timer();
    const QPointer<TForm2> first = Form2.data();
    Form2->Button1Click();
    QCOMPARE(Shell().RecreateTrainingScreen, 1);
    QCOMPARE(Shell().StartBarLocked, 0);
    QCOMPARE(Shell().TrainingActive, 0);
    QVERIFY(Control<TabcToggleBtn>(Form5, "abcToggleBtn1")->isEnabled() &&
            Control<TabcToggleBtn>(Form5, "abcToggleBtn2")->isEnabled());
    QVERIFY(Form1->isVisible());
    QVERIFY(form12->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(Form2.isNull());
    QVERIFY(first.isNull());

    Open();
    QVERIFY(Form2 != nullptr);
    QCOMPARE(Shell().RecreateTrainingScreen, 0);
    QCOMPARE(Form2->Session().AskedCount(), 0);
    QCOMPARE(Form2->Session().TotalScore(), 0);
    QCOMPARE(Form2->windowTitle(), QStringLiteral("Внимание!"));
    Form2->Button1Click();
    QCOMPARE(Form2->ShownQuestion().OptionCount, 2);
    QCOMPARE(Form2->windowTitle(), QStringLiteral("Вопрос  1"));
}

void TrainingScreenTest::wholeTestFromTheMenu() {
    WriteTest(Repeat(Item({60, 40, 0}), 15));
    form12->ShowScreen();
    form12->FormActivate();
    form12->Panel5Click();
    Control<QLineEdit>(form12, "Edit1")->setText(QStringLiteral("Сидоров С. С."));
    Control<QLineEdit>(form12, "Edit5")->setText(QStringLiteral("ФК-11"));
    Control<QComboBox>(form12, "ComboBox1")->setEditText(QStringLiteral("Плавание"));
    Control<QComboBox>(form12, "ComboBox2")->setCurrentIndex(4);
    form12->abcToggleBtn4Click(); // "Тренировка..."
    QVERIFY(m_recorder->messages.isEmpty());
    QVERIFY(Form2 != nullptr);
    QVERIFY(Form2->isVisible());
    QVERIFY(!form12->isVisible());
    QCOMPARE(form12->TestingMode, 1);
    QVERIFY(Form2->PauseAllowed);
    Form2->FormActivate();
    QCOMPARE(Control<QPushButton>(Form2, "Button1")->text(), QStringLiteral("OK"));

    Form2->Button1Click();
    Form2->Timer4Timer();
    for (int k = 1; k <= 10; ++k) {
        Form2->Timer1Timer();
        Tick(60);
        if (k % 2 == 0)
            Tick(40);
        Form2->Button1Click();
        Form2->Timer4Timer();
    }
    QCOMPARE(ResultLine(1), QStringLiteral("ФИО: Сидоров С. С."));
    QCOMPARE(ResultLine(3), QStringLiteral("Набрано баллов: 800 из 1000."));
    QCOMPARE(ResultLine(4), QStringLiteral("Это составляет 80.0 %"));
    Form2->Button1Click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(Form2.isNull());
    QVERIFY(form12->isVisible());
    form12->FormActivate();
    QCOMPARE(form12->TestingMode, 0);

    // A second training test in the same run, under the same registration.
    form12->abcToggleBtn4Click();
    QVERIFY(m_recorder->messages.isEmpty());
    QVERIFY(Form2 != nullptr);
    Form2->FormActivate();
    QCOMPARE(Form2->AnswerButtonMode(), TForm2::kModeStart);
    QCOMPARE(Form2->Session().TotalScore(), 0);
}

void TrainingScreenTest::lateActivationOfALeftScreenPreparesNothing_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("count");
    QTest::newRow("bad setting") << TestFile(kTitle, Repeat(Item({100, 0}), 3))
                                 << QStringLiteral("abc");
    QTest::newRow("damaged file") << Cp1251File({kTitle, QStringLiteral("."), QStringLiteral("."),
                                                 QStringLiteral("два"), QStringLiteral(".")})
                                  << QStringLiteral("10");
}

// A refused test left with "OK": the screen closes and waits to be freed. An activation that still
// reaches it must not prepare the test again; if it did, its message box would run a nested event
// loop in which the pending deletion frees the screen under the running preparation.
void TrainingScreenTest::lateActivationOfALeftScreenPreparesNothing() {
    QFETCH(QByteArray, file);
    QFETCH(QString, count);
    QFile out(m_folder->filePath(QStringLiteral("ortu/pdb12.db")));
    QVERIFY(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
    out.write(file);
    out.close();
    Settings(count, QStringLiteral("900"));
    int shown = 0;
    SetMessageBoxHook([&shown](MessageKind, const QString&) {
        ++shown;
        QEventLoop loop; // as a real box: posted events, deferred deletions among them, run here
        QTimer::singleShot(0, &loop, &QEventLoop::quit);
        loop.exec();
    });
    Open();
    QVERIFY(shown >= 1);
    const int before = shown;
    QCOMPARE(Form2->AnswerButtonMode(), TForm2::kModeLeave);
    const QPointer<TForm2> screen = Form2.data();
    Form2->Button1Click();
    QVERIFY(screen && !screen->isVisible()); // closed, its deletion queued

    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(screen, &activate);
    QCOMPARE(shown, before);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(screen.isNull());
    QVERIFY(form12->isVisible());
    QCOMPARE(form12->TestingMode, quint8(0));
}

void TrainingScreenTest::windowSystemCloseLeavesTheTest_data() {
    QTest::addColumn<int>("answers"); // -1: the opening display; 2: the result display
    QTest::newRow("opening display") << -1;
    QTest::newRow("question") << 0;
    QTest::newRow("after a help visit") << 1;
    QTest::newRow("result display") << 2;
}

// Alt+F4 or the title bar's close button: the student leaves as with the leave button.
void TrainingScreenTest::windowSystemCloseLeavesTheTest() {
    QFETCH(int, answers);
    WriteTest(Repeat(Item({100, 0}), 4));
    Settings(QStringLiteral("2"), QStringLiteral("900"));
    if (answers < 0) {
        Open();
    } else {
        Start();
        for (int k = 0; k < answers; ++k) {
            Tick(100);
            Next();
        }
        if (answers == 1) { // away to the textbook and back through the start bar
            Tick(100);
            Form2->SpeedButton2Click();
            Form5->abcToggleBtn1Click();
        }
    }
    Form1->hide();
    const QPointer<TForm2> screen = Form2.data();
    CloseByWindowSystem(screen);
    QVERIFY(!screen->isVisible());
    QCOMPARE(form12->TestingMode, quint8(0));
    QCOMPARE(Shell().StartBarLocked, 0);
    QCOMPARE(Shell().TrainingActive, 0);
    QCOMPARE(Shell().RecreateTrainingScreen, 1);
    QVERIFY(Control<TabcToggleBtn>(Form5, "abcToggleBtn1")->isEnabled() &&
            Control<TabcToggleBtn>(Form5, "abcToggleBtn2")->isEnabled());
    QVERIFY(Form1->isVisible());
    QVERIFY(form12->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(screen.isNull());
    // "Тестирование..." leads to the menu again.
    form12->hide();
    Form5->abcToggleBtn1Click();
    QVERIFY(form12->isVisible());
}

// "Тестирование..." brings the screen back after a visit elsewhere; the clock goes on only with a
// question on screen.
void TrainingScreenTest::clockStandsStillOffTheQuestions() {
    WriteTest(Repeat(Item({100, 0}), 3));
    Settings(QStringLiteral("1"), QStringLiteral("2"));
    Open();
    Form5->abcToggleBtn2Click(); // "О программе..." hides the opening display
    QVERIFY(!Form2->isVisible());
    Form5->abcToggleBtn1Click();
    QVERIFY(Form2->isVisible());
    QVERIFY(!Control<QTimer>(Form2, "Timer1")->isActive());
    for (int s = 0; s < 3; ++s)
        Form2->Timer1Timer();
    QCOMPARE(Form2->Session().Clock().TimeLeft, 2);
    QVERIFY(m_recorder->messages.isEmpty());

    Form2->Button1Click(); // the first question: now the clock runs
    QVERIFY(Control<QTimer>(Form2, "Timer1")->isActive());
    Form2->Timer1Timer();
    QCOMPARE(Form2->Session().Clock().TimeLeft, 1);
    Form2->Timer4Timer();
    Next(); // the result display
    Form2->Timer1Timer();
    QCOMPARE(Form2->Session().Clock().TimeLeft, 1);
    QVERIFY(m_recorder->messages.isEmpty());
}


// A screen reader learns each tick box's option from the box itself, and is handed every verdict
// and the result as a notification, without looking for the labels that show them.
void TrainingScreenTest::screenReaderHearsBoxesVerdictsAndResult() {
    WriteTest({Item({50, 0, 50})});
    Start();
    for (int row = 1; row <= 3; ++row) {
        QAccessibleInterface* box = QAccessible::queryAccessibleInterface(Form2->Box(row));
        QCOMPARE(box->text(QAccessible::Name), Form2->Area()->RowLabel(row)->text().trimmed());
        QVERIFY(box->text(QAccessible::Name).startsWith(QStringLiteral("%1) ").arg(row)));
    }
    QAccessibleInterface* said =
        QAccessible::queryAccessibleInterface(Form2->findChild<QWidget*>("Announcement"));
    QVERIFY(said != nullptr);
    QCOMPARE(said->role(), QAccessible::Notification);
    Tick(50);
    QCOMPARE(said->text(QAccessible::Name), QStringLiteral("Ответ неполный"));
    QVERIFY(!said->state().invisible);
    Tick(0);
    QCOMPARE(said->text(QAccessible::Name), QStringLiteral("Ответ неправильный"));
    Form2->Button1Click();
    QCOMPARE(said->text(QAccessible::Name), Control<QLabel>(Form2, "Label5")->text());
}

// A student on the keyboard answers from a tick box: the next question is handed to the screen
// reader and its first box has the keyboard (not the last, which the hiding of the old rows
// passed it to). The screen's panels are panes, not frames a reader takes for windows.
void TrainingScreenTest::nextQuestionReadAndFocusedFromItsFirstBox() {
    WriteTest({Item({50, 0, 50}), Item({0, 50, 50})});
    Start();
    QAccessibleInterface* said =
        QAccessible::queryAccessibleInterface(Form2->findChild<QWidget*>("Announcement"));
    QCOMPARE(said->text(QAccessible::Name), Control<QLabel>(Form2, "Label5")->text().trimmed());
    Form2->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(Form2));
    Form2->Box(3)->setFocus();
    QVERIFY(Form2->Box(3)->hasFocus());
    Tick(50);
    Next();
    QVERIFY(Form2->Box(1)->hasFocus());
    QCOMPARE(said->text(QAccessible::Name), Control<QLabel>(Form2, "Label5")->text().trimmed());
    QAccessibleInterface* panel = QAccessible::queryAccessibleInterface(
        Form2->findChild<QFrame*>("Panel1", Qt::FindDirectChildrenOnly));
    QVERIFY(panel != nullptr);
    QCOMPARE(panel->role(), QAccessible::Pane);
}

QTEST_MAIN(TrainingScreenTest)
#include "tst_training_screen.moc"
