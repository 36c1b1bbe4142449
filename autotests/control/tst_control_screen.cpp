// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The control screen driven through its handlers and timer ticks, on small question files in a
// temporary program folder, with its result files written there.
#include "app/program_shell.h"
#include "app/startup.h"
#include "app/test.h"
#include "app/test1.h"
#include "app/test5.h"
#include "autotests/support/fake_media_player.h"
#include "autotests/support/screens_fixture.h"
#include "keeper/keeper_client.h"
#include "materials/test3.h"
#include "materials/test7.h"
#include "materials/test94.h"
#include "materials/test99.h"
#include "platform/desktop_cover.h"
#include "platform/exam_input_guard.h"
#include "platform/regular_file.h"
#include "platform/rounding.h"
#include "platform/screen.h"
#include "platform/text_file.h"
#include "questions/question_area.h"
#include "tests/supervisor_check.h"
#include "tests/supervisor_code.h"
#include "tests/test2.h"
#include "tests/test4.h"
#include "tests/test6.h"
#include "widgets/toggle_button.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <cerrno>
#include <chrono>
#include <future>
#include <memory>
#include <optional>

#ifdef Q_OS_LINUX
#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

using Item = TestQuestion;

QByteArray TestFile(const QString& title, const QList<Item>& items) {
    return QuestionFileBytes(title, items);
}

const QString kTitle = QStringLiteral("Итоговое тестирование по курсу");
const QString kName = QStringLiteral("Сидоров С. С.");
const QDateTime kMoment(QDate(2026, 12, 7), QTime(9, 5, 3));

// The window system's grab as the guard asks for it: which window holds it, and refusals on
// request.
struct GrabRecord {
    QPointer<QWindow> holder;
    int refusals = 0; // the next grabs refused
    int grabs = 0;
};
GrabRecord g_grab;

class RecordedGrab : public InputGrab {
public:
    bool Grab(QWindow* window) override {
        ++g_grab.grabs;
        if (g_grab.refusals > 0) {
            --g_grab.refusals;
            return false;
        }
        g_grab.holder = window; // a new grab replaces the program's earlier one
        return true;
    }
    void Release(QWindow* window) override {
        if (g_grab.holder == window)
            g_grab.holder = nullptr;
    }
};

} // namespace

class ControlScreenTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void openingDisplayWritesHeadersAndCount();
    void scoring_data();
    void scoring();
    void countdownReachingZeroLocksTheBoxes();
    void timersAndButtonsRunTheTestAsConnected();
    void wholeTestWritesBothFilesAndTheResult();
    void supervisorCodeHandsBackToTheMenu();
    void supervisorCodeIsTheCourses_data();
    void supervisorCodeIsTheCourses();
    void supervisorCodeChecksTakeTurns();
    void reopenedScreenIsFreshAndAddsABlock();
    void activationDuringTheTestChangesNothing();
    void videoQuestionStartsItsCountdownAfterPlayback();
    void missingQuestionFileEndsTheProgram();
    void testThatCannotBePreparedLeadsBack_data();
    void testThatCannotBePreparedLeadsBack();
    void writeFailureStopsTheTestWithAMessage();
    void testWithoutItsKeeperNeverStarts();
    void removedFoldersStopTheTestAtOnce();
    void runningTestCoversTheDesktopAndComesBackWhenMinimised();
    void okPutsAwayTheProgramsOtherWindows();
    void keyboardAndPointerHeldFromOkUntilTheCode();
    void windowSystemClose_data();
    void windowSystemClose();

private:
    void WriteTest(const QList<Item>& items);
    void Settings(const QString& count, const QString& seconds);
    void Open();
    void Start();
    void Next();
    void Tick(int points);
    int RowWith(int points, bool ticked) const;
    QString ResultLine(int index) const;
    QString DataFile() const;
    QString ReportFile() const;
    QStringList DataLines() const;

    std::unique_ptr<QTemporaryDir> m_folder;
    std::unique_ptr<MessageRecorder> m_recorder;
    std::optional<ScreensFixture> m_screens;
};

void ControlScreenTest::init() {
    PrepareScreenTests(MediaPlayers::Fake);
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    SetReportClockForTesting(kMoment);
    m_recorder = std::make_unique<MessageRecorder>();
    m_folder = std::make_unique<QTemporaryDir>();
    QVERIFY(m_folder->isValid());
    for (const char* sub : {"ortu", "otchet/print otchet", "otchet/data1"})
        QVERIFY(QDir(m_folder->path()).mkpath(QString::fromLatin1(sub)));
    m_screens.emplace();
    Control<QTimer>(Form1, "Timer1")->stop(); // no splash in these tests
    Shell().ProgramFolder = m_folder->path();
    form12->Panel5Click();
    Control<QLineEdit>(form12, "Edit1")->setText(kName);
    Control<QLineEdit>(form12, "Edit5")->setText(QStringLiteral("ФК-11"));
    Control<QComboBox>(form12, "ComboBox1")->setEditText(QStringLiteral("Плавание"));
    Control<QComboBox>(form12, "ComboBox2")->setCurrentIndex(4); // "КМС"
}

void ControlScreenTest::cleanup() {
    m_screens.reset();
    ExamInputGuard::SetGrabFactoryForTesting(nullptr);
    m_recorder.reset();
    m_folder.reset();
    SetReportClockForTesting(std::nullopt);
    QLocale::setDefault(QLocale::system());
    FakeMediaPlayer::Uninstall();
}

void ControlScreenTest::WriteTest(const QList<Item>& items) {
    QFile file(m_folder->filePath(QStringLiteral("ortu/pdb12.db")));
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(TestFile(kTitle, items));
}

void ControlScreenTest::Settings(const QString& count, const QString& seconds) {
    Control<QLineEdit>(Form4, "Edit5")->setText(count);
    Control<QLineEdit>(Form4, "Edit6")->setText(seconds);
}

// As the menu opens the screen, then the activation that follows.
void ControlScreenTest::Open() {
    RecreateIfFreed<TForm6>(Shell().RecreateControlScreen, Form6, ProgramShell());
    Control<QLabel>(Form6, "Image2")->setVisible(true);
    Form6->ShowScreen();
    Form6->FormActivate();
}

void ControlScreenTest::Start() {
    Open();
    QCOMPARE(Form6->AnswerButtonMode(), TForm6::kModeStart);
    Form6->Button1Click();
    Form6->Timer4Timer();
}

void ControlScreenTest::Next() {
    QVERIFY(Control<QPushButton>(Form6, "Button1")->isEnabled());
    Form6->Button1Click();
    QCOMPARE(Control<QTimer>(Form6, "Timer4")->timerType(), Qt::PreciseTimer);
    Form6->Timer4Timer();
}

// The screen never knows an option's points: the test reads them from the option's text,
// "- вариант i на P баллов".
int ControlScreenTest::RowWith(int points, bool ticked) const {
    const QString worth = QStringLiteral(" на %1 баллов").arg(points);
    for (int row = 1; row <= 5; ++row) {
        if (Form6->Area()->RowUsed(row) &&
            Form6->Area()->View.DisplayOptions[row - 1].Text.contains(worth) &&
            Form6->Box(row)->isChecked() == ticked)
            return row;
    }
    return 0;
}

void ControlScreenTest::Tick(int points) {
    const int row = RowWith(points, false);
    QVERIFY2(row != 0, qPrintable(QStringLiteral("no unticked row with %1").arg(points)));
    QVERIFY(Form6->Box(row)->isEnabled());
    Form6->Box(row)->click();
    QVERIFY(Form6->Session().Ticked()[row - 1]);
}

QString ControlScreenTest::ResultLine(int index) const {
    return Control<AutoSizeLabel>(Form6, "Label5")->text().split(QLatin1Char('\r')).value(index);
}

QString ControlScreenTest::DataFile() const {
    return m_folder->filePath(QStringLiteral("otchet/data1/") + kName + QStringLiteral(".txt"));
}

QString ControlScreenTest::ReportFile() const {
    return m_folder->filePath(QStringLiteral("otchet/print otchet/") + kName +
                              QStringLiteral(".txt"));
}

QStringList ControlScreenTest::DataLines() const {
    QStringList lines;
    ReadCp1251Lines(DataFile(), &lines);
    return lines;
}

void ControlScreenTest::openingDisplayWritesHeadersAndCount() {
    WriteTest(QList<Item>(3, Item({100, 0})));
    Open();
    QCOMPARE(Form6->size(), QSize(775, 534));
    QVERIFY(Form6->windowFlags() & Qt::WindowStaysOnTopHint);
    QCOMPARE(Form6->palette().color(QPalette::Window), QColor(0xC6, 0xFF, 0xD1));
    QCOMPARE(Form6->windowTitle(), QStringLiteral("Внимание!"));
    QRect frame = Form6->frameGeometry();
    QCOMPARE(frame.topLeft(), QPoint(HalfOf(1024 - frame.width()), HalfOf(768 - frame.height())));
    QCOMPARE(Control<AutoSizeLabel>(Form6, "Label5")->text(), kTitle + QLatin1Char(' '));
    QCOMPARE(Control<AutoSizeLabel>(Form6, "Label5")->pos(), QPoint(32, 0));
    QVERIFY(Form6->findChild<QFrame*>(QStringLiteral("Panel3")) != nullptr); // picture frame
    QCOMPARE(Control<QPushButton>(Form6, "Button1")->text(), QStringLiteral("OK"));
    QVERIFY(Control<QPushButton>(Form6, "Button1")->isEnabled());
    QVERIFY(!Control<QFrame>(Form6, "Panel2")->isHidden() &&
            !Control<QLabel>(Form6, "Image2")->isHidden());
    QVERIFY(Control<QLabel>(Form6, "Label7")->isHidden() &&
            Control<QLabel>(Form6, "Label8")->isHidden());
    QVERIFY(Control<QProgressBar>(Form6, "ProgressBar1")->isHidden());
    QVERIFY(Control<QPushButton>(Form6, "Button2")->isHidden() &&
            Control<QLineEdit>(Form6, "Edit1")->isHidden());
    QCOMPARE(Form6->Session().QuestionsToAsk(), 3); // 10 asked for, 3 in the file
    QCOMPARE(Form6->Session().SecondsPerQuestion(), 60);
    QCOMPARE(Control<QProgressBar>(Form6, "ProgressBar1")->maximum(), 60);

    QCOMPARE(DataLines(),
             (QStringList{QStringLiteral("07.12.2026 09:05:03  Сидоров С. С.,  "
                                         "группа: ФК-11,  специализация: Плавание,  "
                                         "КМС,  тест: ИТОГОВОЕ ТЕСТИРОВАНИЕ"),
                          QStringLiteral("."), QStringLiteral("3"), QStringLiteral(".")}));
    QStringList report;
    QVERIFY(ReadCp1251Lines(ReportFile(), &report));
    QCOMPARE(report.size(), 4);
    QCOMPARE(report[1], QStringLiteral("07.12.2026  09:05:03"));
    QVERIFY(m_recorder->messages.isEmpty());

    // On a display lower than 624 pixels the screen stands 5 pixels from the top.
    m_screens->SetDisplay(QSize(800, 600));
    Form6->FormActivate();
    frame = Form6->frameGeometry();
    QCOMPARE(frame.topLeft(), QPoint(HalfOf(800 - frame.width()), 5));
}

void ControlScreenTest::scoring_data() {
    QTest::addColumn<QList<int>>("options");
    QTest::addColumn<QList<int>>("ticks");
    QTest::addColumn<int>("points");
    QTest::addColumn<QString>("given");
    QTest::newRow("right") << QList<int>{100, 0, 0} << QList<int>{100} << 100 << QString();
    QTest::newRow("right and wrong")
        << QList<int>{100, 0, 0} << QList<int>{100, 0} << 0 << QString();
    QTest::newRow("two halves") << QList<int>{50, 50, 0} << QList<int>{50, 50} << 100 << QString();
    QTest::newRow("one half") << QList<int>{50, 50, 0} << QList<int>{50} << 50 << QString();
    QTest::newRow("negative counts")
        << QList<int>{100, -20, 0} << QList<int>{100, -20} << 80 << QString();
    QTest::newRow("nothing") << QList<int>{100, 0} << QList<int>{} << 0
                             << QStringLiteral("Ваш ответ: ответа не было,");
}

void ControlScreenTest::scoring() {
    QFETCH(QList<int>, options);
    QFETCH(QList<int>, ticks);
    QFETCH(int, points);
    QFETCH(QString, given);
    WriteTest({Item(options)});
    Start();
    QCOMPARE(Form6->windowTitle(), QStringLiteral("Вопрос 1"));
    for (int p : ticks)
        Tick(p);
    Form6->Button1Click();
    QCOMPARE(Form6->Session().TotalPoints(), qint64(points));
    QCOMPARE(ResultLine(3), QStringLiteral("Набрано баллов: %1 из 100.").arg(points));
    const QStringList lines = DataLines();
    const qsizetype answer = lines.indexOf(QStringLiteral("#")) - 1;
    QVERIFY(answer > 0);
    if (!given.isEmpty())
        QCOMPARE(lines[answer], given);
    else
        QCOMPARE(lines[answer].count(QStringLiteral("(балл за ответ: ")), ticks.size());
    QCOMPARE(lines[lines.indexOf(QStringLiteral("&")) + 1],
             QStringLiteral("Набрано баллов за ответ: %1").arg(points));
}

void ControlScreenTest::countdownReachingZeroLocksTheBoxes() {
    WriteTest(QList<Item>(2, Item({100, 0})));
    Settings(QStringLiteral("2"), QStringLiteral("3"));
    Start();
    QVERIFY(Control<QTimer>(Form6, "Timer1")->isActive());
    QCOMPARE(Control<QTimer>(Form6, "Timer1")->interval(), 1000);
    QCOMPARE(Control<QLabel>(Form6, "Label7")->text(), QStringLiteral("3"));
    Tick(100);
    Form6->Timer1Timer();
    Form6->Timer1Timer();
    QCOMPARE(Control<QLabel>(Form6, "Label7")->text(), QStringLiteral("1"));
    QCOMPARE(Control<QProgressBar>(Form6, "ProgressBar1")->value(), 2);
    for (int row = 1; row <= 2; ++row)
        QVERIFY(Form6->Box(row)->isEnabled());

    Form6->Timer1Timer();
    QCOMPARE(Control<QLabel>(Form6, "Label7")->text(), QStringLiteral("Время истекло!"));
    QCOMPARE(Control<QLabel>(Form6, "Label7")->palette().color(QPalette::WindowText),
             QColor(0xFF, 0x00, 0x00));
    QVERIFY(!Control<QTimer>(Form6, "Timer1")->isActive());
    for (int row = 1; row <= 5; ++row)
        QVERIFY(!Form6->Box(row)->isEnabled());
    QVERIFY(Form6->Box(RowWith(100, true))->isChecked()); // the tick stays and counts
    QCOMPARE(Form6->AnswerButtonMode(), TForm6::kModeAnswer);
    QVERIFY(m_recorder->messages.isEmpty());

    Next();
    QVERIFY(DataLines().contains(QStringLiteral("Набрано баллов за ответ: 100")));
    QCOMPARE(Form6->windowTitle(), QStringLiteral("Вопрос 2"));
    QCOMPARE(Control<QLabel>(Form6, "Label7")->text(), QStringLiteral("3"));
    QCOMPARE(Control<QLabel>(Form6, "Label7")->palette().color(QPalette::WindowText),
             QColor(0x00, 0x00, 0xFF));
    for (int row = 1; row <= 2; ++row)
        QVERIFY(Form6->Box(row)->isEnabled() && !Form6->Box(row)->isChecked());
    QVERIFY(Control<QTimer>(Form6, "Timer1")->isActive());

    // The second question runs out untouched: the test waits for the button all the same.
    for (int s = 0; s < 3; ++s)
        Form6->Timer1Timer();
    QVERIFY(Control<QPushButton>(Form6, "Button1")->isEnabled());
    Form6->Button1Click();
    QCOMPARE(ResultLine(3), QStringLiteral("Набрано баллов: 100 из 200."));
    QVERIFY(DataLines().contains(QStringLiteral("Ваш ответ: ответа не было,")));
}

void ControlScreenTest::timersAndButtonsRunTheTestAsConnected() {
    // The student's clicks and the screen's own timers, as the event loop delivers them.
    WriteTest(QList<Item>(2, Item({100, 0})));
    Settings(QStringLiteral("2"), QStringLiteral("2"));
    Open();
    auto* button = Control<QPushButton>(Form6, "Button1");
    auto* countdown = Control<QTimer>(Form6, "Timer1");
    auto* delay = Control<QTimer>(Form6, "Timer4");
    QTest::mouseClick(button, Qt::LeftButton); // "OK"
    QCOMPARE(Form6->windowTitle(), QStringLiteral("Вопрос 1"));
    QVERIFY(!button->isEnabled());
    QCOMPARE(delay->interval(), 700);
    QVERIFY(RunOut(delay));
    QVERIFY(button->isEnabled() && !delay->isActive());

    // The countdown runs by itself: two seconds, then the question's time is up.
    QCOMPARE(countdown->interval(), 1000);
    QVERIFY(RunOut(countdown));
    QCOMPARE(Control<QLabel>(Form6, "Label7")->text(), QStringLiteral("1"));
    QVERIFY(RunOut(countdown));
    QCOMPARE(Control<QLabel>(Form6, "Label7")->text(), QStringLiteral("Время истекло!"));
    QVERIFY(!countdown->isActive());
    QVERIFY(!Form6->Box(1)->isEnabled());

    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(Form6->windowTitle(), QStringLiteral("Вопрос 2"));
    QVERIFY(countdown->isActive());
    QVERIFY(RunOut(delay));
    Tick(100);
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(Form6->windowTitle(), QStringLiteral("Результат"));
    QVERIFY(!countdown->isActive());
    QCOMPARE(ResultLine(3), QStringLiteral("Набрано баллов: 100 из 200."));

    // The supervisor's code, typed and confirmed with Enter, hands back to the menu.
    QTest::keyClicks(Control<QLineEdit>(Form6, "Edit1"), QStringLiteral("739152"));
    QTest::keyClick(Control<QLineEdit>(Form6, "Edit1"), Qt::Key_Return);
    QVERIFY(form12->isVisible());
    QCOMPARE(Shell().RecreateControlScreen, 1);
    QVERIFY(m_recorder->messages.isEmpty());
}

void ControlScreenTest::wholeTestWritesBothFilesAndTheResult() {
    WriteTest({Item({100, 0, 0}), Item({50, 50, 0}), Item({60, 40}), Item({100, 0}, "pic.jpg")});
    Start();
    QVERIFY(!Form5->isVisible()); // no start bar during the test
    // What was shown, question by question: its text and the options in the rows' order.
    QStringList shown;
    QSet<int> asked;
    const QList<QList<int>> ticks{{100}, {50}, {60, 40}, {0}};
    for (int k = 1; k <= 4; ++k) {
        QCOMPARE(Form6->windowTitle(), QStringLiteral("Вопрос %1").arg(k));
        const QuestionView& view = Form6->Area()->View;
        const Question& question = Form6->ShownQuestion();
        for (int row = 1; row <= 5; ++row) // no points reach the screen
            QCOMPARE(view.DisplayOptions[row - 1].Points, 0);
        QString record = QStringLiteral("Вопрос %1\n.\n").arg(k) + question.Text +
                         QLatin1Char('\n') +
                         (question.Picture ? QStringLiteral("\\pic.jpg") : QStringLiteral(".")) +
                         QLatin1Char('\n');
        for (int row = 1; row <= question.OptionCount; ++row)
            record +=
                view.DisplayOptions[row - 1].Text +
                (row < question.OptionCount ? QStringLiteral("\n,\n") : QStringLiteral("\n.\n"));
        shown << record;
        asked.insert(question.Text.trimmed().section(QLatin1Char(' '), -1).toInt());
        // The record of the question on screen is already in the file.
        QVERIFY(DataLines().join(QLatin1Char('\n')).endsWith(record.chopped(1)));
        for (int p : ticks[question.Text.trimmed().section(QLatin1Char(' '), -1).toInt() - 1])
            Tick(p);
        if (k < 4)
            Next();
    }
    QVERIFY(m_recorder->sounds.isEmpty());
    QCOMPARE(asked, (QSet<int>{1, 2, 3, 4})); // 10 asked for: every question of the file once
    Form6->Button1Click();

    // 100 + 50 + 100 + 0 of 400.
    QCOMPARE(Form6->windowTitle(), QStringLiteral("Результат"));
    QCOMPARE(Control<AutoSizeLabel>(Form6, "Label5")->text(),
             QStringLiteral("РЕЗУЛЬТАТЫ ТЕСТИРОВАНИЯ\rФИО: Сидоров С. С.\rЗадано вопросов: 4\r"
                            "Набрано баллов: 250 из 400.\rЭто составляет 62.5 %"));
    QCOMPARE(m_recorder->sounds,
             QStringList{m_folder->path() + QStringLiteral("/wave/Drumroll.wav")});
    QVERIFY(!Control<QFrame>(Form6, "Panel2")->isHidden() &&
            !Control<QLabel>(Form6, "Image2")->isHidden());
    QVERIFY(Control<QPushButton>(Form6, "Button1")->isHidden());
    QVERIFY(!Control<QPushButton>(Form6, "Button2")->isHidden() &&
            !Control<QLineEdit>(Form6, "Edit1")->isHidden());
    QCOMPARE(Control<QPushButton>(Form6, "Button2")->text(), QStringLiteral("Введите код"));
    QVERIFY(!Control<QTimer>(Form6, "Timer1")->isActive());
    QVERIFY(!Form6->KeeperOpen());

    const QString data = DataLines().join(QLatin1Char('\n'));
    for (const QString& record : shown)
        QVERIFY2(data.contains(record), qPrintable(record));
    QVERIFY(data.endsWith(QStringLiteral("\n$\n, задано вопросов: 4,  набрано баллов: 250 из 400 "
                                         "возможных  это составляет 62.5%\n@")));
    QCOMPARE(data.count(QStringLiteral("\n$\n")), 4);
    QStringList report;
    QVERIFY(ReadCp1251Lines(ReportFile(), &report));
    QCOMPARE(report.size(), 4 + 4 * 5 + 3);
    QCOMPARE(report.mid(report.size() - 3, 2),
             (QStringList{QStringLiteral("--------"),
                          QStringLiteral("Задано вопросов: 4,  набрано баллов: 250 из 400 "
                                         "возможных,  это составляет 62.5%")}));
    QVERIFY(report.contains(QStringLiteral(
                "Вы ответили: [1]- (балл за ответ: 60), [2]- (балл за ответ: 40), ")) ||
            report.contains(QStringLiteral(
                "Вы ответили: [1]- (балл за ответ: 40), [2]- (балл за ответ: 60), ")));
    QVERIFY(m_recorder->messages.isEmpty());
}

void ControlScreenTest::supervisorCodeHandsBackToTheMenu() {
    WriteTest({Item({100, 0})});
    form12->ShowScreen();
    form12->abcToggleBtn5Click(); // "Контроль..."
    QVERIFY(m_recorder->messages.isEmpty());
    QVERIFY(Form6->isVisible());
    QVERIFY(!Control<QLabel>(Form6, "Image2")->isHidden());
    QVERIFY(!Form1->isVisible() && !form12->isVisible());
    Form6->FormActivate();
    Form6->Button1Click();
    QVERIFY(!Form5->isVisible());
    Form6->Timer4Timer();
    Tick(100);
    Form6->Button1Click();
    Form4->show(); // left open somewhere: the hand-back closes it

    // The window system cannot end the test; a wrong code only empties the field.
    Form6->close();
    QVERIFY(Form6->isVisible());
    // The code shows one "*" per character; after a wrong code the field keeps the focus.
    QVERIFY(QTest::qWaitForWindowActive(Form6));
    QCOMPARE(QApplication::focusWidget(), Control<QLineEdit>(Form6, "Edit1"));
    QTest::keyClicks(Control<QLineEdit>(Form6, "Edit1"), QStringLiteral("739153"));
    QCOMPARE(Control<QLineEdit>(Form6, "Edit1")->displayText(), QStringLiteral("******"));
    QTest::mouseClick(Control<QPushButton>(Form6, "Button2"), Qt::LeftButton);
    QVERIFY(Control<QLineEdit>(Form6, "Edit1")->text().isEmpty());
    QVERIFY(Form6->isVisible());
    QCOMPARE(QApplication::focusWidget(), Control<QLineEdit>(Form6, "Edit1"));
    QCOMPARE(Shell().RecreateControlScreen, 0);

    const QPointer<TForm6> screen = Form6.data();
    Control<QLineEdit>(Form6, "Edit1")->setText(QStringLiteral("739152"));
    Form6->Button2Click();
    QCOMPARE(Shell().RecreateControlScreen, 1);
    QVERIFY(Form5->isVisible());
    QVERIFY(Form1->isVisible());
    QVERIFY(form12->isVisible());
    QVERIFY(!Form4->isVisible());
    QVERIFY(
        !Control<TabcToggleBtn>(form12, "abcToggleBtn5")->isEnabled()); // one control test per run
    QVERIFY(Control<TabcToggleBtn>(form12, "abcToggleBtn4")->isEnabled());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(screen.isNull());
    QVERIFY(Form6.isNull());
}

// The code the course sets, through the helper the program runs: the default only where the course
// sets none, and a hash file that cannot be read says so instead of taking the default.
void ControlScreenTest::supervisorCodeIsTheCourses_data() {
    QTest::addColumn<QString>("courseCode"); // empty: none set; "/": the file cannot be read
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("verdict");
    const auto accepted = int(SupervisorCheck::Accepted);
    const auto refused = int(SupervisorCheck::Refused);
    const auto unreadable = int(SupervisorCheck::Unreadable);
    QTest::newRow("none set: the default") << QString() << QStringLiteral("739152") << accepted;
    QTest::newRow("none set: another") << QString() << QStringLiteral("739153") << refused;
    QTest::newRow("set: its code")
        << QStringLiteral("Kx-4417") << QStringLiteral("Kx-4417") << accepted;
    QTest::newRow("set: the default")
        << QStringLiteral("Kx-4417") << QStringLiteral("739152") << refused;
    QTest::newRow("set: a prefix")
        << QStringLiteral("Kx-4417") << QStringLiteral("Kx-441") << refused;
    QTest::newRow("unreadable") << QStringLiteral("/") << QStringLiteral("739152") << unreadable;
}

void ControlScreenTest::supervisorCodeIsTheCourses() {
    QFETCH(QString, courseCode);
    QFETCH(QString, typed);
    QFETCH(int, verdict);
    const QString hashFile =
        m_folder->filePath(QString::fromLatin1(supervisor_code::kHashFileName));
    if (courseCode == QStringLiteral("/")) {
        QVERIFY(QDir().mkpath(hashFile)); // a folder in its place: nothing to read
    } else if (!courseCode.isEmpty()) {
        const std::string hash = supervisor_code::HashCode(courseCode.toStdString());
        QVERIFY(!hash.empty());
        QVERIFY(!QString::fromStdString(hash).contains(courseCode));
        QFile file(hashFile);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray::fromStdString(hash) + "\r\n");
    }
    QCOMPARE(int(CheckSupervisorCode(m_folder->path(), typed)), verdict);

    WriteTest({Item({100, 0})});
    Start();
    Tick(100);
    Form6->Button1Click();
    // Nothing on the screen tells the code.
    for (const QWidget* widget : Form6->findChildren<QWidget*>()) {
        const QVariant text = widget->property("text");
        QVERIFY2(!text.toString().contains(QStringLiteral("739152")),
                 qPrintable(widget->objectName()));
    }
    const QPointer<TForm6> screen = Form6.data();
    Control<QLineEdit>(Form6, "Edit1")->setText(typed);
    Form6->Button2Click();
    QCOMPARE(screen.isNull() || !screen->isVisible(), verdict == int(SupervisorCheck::Accepted));
    QCOMPARE(m_recorder->messages.size(), verdict == int(SupervisorCheck::Unreadable) ? 1 : 0);
}

#ifdef Q_OS_LINUX
namespace {
// The processes that wait for a flock() on the file with inode (as /proc/locks lists them: "->"
// before a request that waits).
int LockWaitersOn(ino_t inode) {
    QFile locks(QStringLiteral("/proc/locks"));
    if (!locks.open(QIODevice::ReadOnly))
        return -1;
    int waiters = 0;
    const QByteArray file = ':' + QByteArray::number(quint64(inode)) + ' ';
    for (const QByteArray& line : locks.readAll().split('\n'))
        if (line.contains("-> FLOCK") && line.contains(file))
            ++waiters;
    return waiters;
}
} // namespace
#endif

// The checks of a course's own code take turns on its hash file (installed, on a file of the
// account's): a check waits while another holds the lock (guesses in parallel processes queue up),
// and the second every check costs comes under the lock and before the verdict (a check ended
// early tells nothing).
void ControlScreenTest::supervisorCodeChecksTakeTurns() {
#ifndef Q_OS_LINUX
    QSKIP("flock() and /proc/locks are Linux's");
#else
    const QString hashFile =
        m_folder->filePath(QString::fromLatin1(supervisor_code::kHashFileName));
    const auto writeCode = [&hashFile](const char* code) {
        QFile file(hashFile);
        return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
               file.write(QByteArray::fromStdString(supervisor_code::HashCode(code)) + '\n') > 1;
    };
    QVERIFY(writeCode("Kx-4417"));
    const QByteArray path = QFile::encodeName(hashFile);
    struct stat info {};
    QCOMPARE(::stat(path.constData(), &info), 0);
    if (LockWaitersOn(info.st_ino) < 0)
        QSKIP("no /proc/locks");

    // During the wait the lock is held, and the file is read only after it: the teacher's new code
    // counts.
    bool lockedInWait = false;
    const supervisor_code::Verdict verdict = supervisor_code::CheckCodeInTurn(
        QFile::encodeName(m_folder->path()).toStdString(), "Qz-0001", [&] {
            const int other = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
            lockedInWait =
                other >= 0 && ::flock(other, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
            if (other >= 0)
                ::close(other);
            writeCode("Qz-0001");
        });
    QVERIFY(lockedInWait);
    QCOMPARE(verdict, supervisor_code::Verdict::Accepted);

    // Installed, each account's checks take turns on a file of that account's: the hash file stays
    // free, so a check stopped with its lock held holds up no other student's.
    const QByteArray turns = QFile::encodeName(m_folder->filePath(QStringLiteral("turns-1001")));
    const auto lockedNow = [](const QByteArray& file) {
        const int other = ::open(file.constData(), O_RDONLY | O_CLOEXEC);
        const bool locked =
            other >= 0 && ::flock(other, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
        if (other >= 0)
            ::close(other);
        return locked;
    };
    bool turnLocked = false, hashLocked = true;
    QCOMPARE(supervisor_code::CheckCodeInTurn(
                 QFile::encodeName(m_folder->path()).toStdString(), "Qz-0001",
                 [&] {
                     turnLocked = lockedNow(turns);
                     hashLocked = lockedNow(path);
                 },
                 turns.toStdString()),
             supervisor_code::Verdict::Accepted);
    QVERIFY(turnLocked);
    QVERIFY(!hashLocked);

    // The helper the program runs waits while another check holds the lock, and answers after it.
    int held = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    QVERIFY(held >= 0);
    const auto release = qScopeGuard([&held] {
        if (held >= 0)
            ::close(held);
    });
    QCOMPARE(::flock(held, LOCK_EX), 0);
    std::future<SupervisorCheck> check = std::async(std::launch::async, [this] {
        return CheckSupervisorCode(m_folder->path(), QStringLiteral("Qz-0001"));
    });
    const auto answered = [&check] {
        return check.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
    };
    QTRY_VERIFY_WITH_TIMEOUT(LockWaitersOn(info.st_ino) == 1 || answered(), 30000);
    QVERIFY2(!answered(), "the helper answered while another check held the course's lock");
    ::close(held);
    held = -1;
    QCOMPARE(check.get(), SupervisorCheck::Accepted);
#endif
}

// No window of the program but the test's own stays on view after "OK": the help and the textbook
// opened at the notice, the credits, the administration screen, the video viewer, the menu, the
// start bar.
void ControlScreenTest::okPutsAwayTheProgramsOtherWindows() {
    WriteTest({Item({100, 0})});
    Open();
    for (QWidget* other : std::initializer_list<QWidget*>{Form1, form12, Form3, Form4, Form5, Form7,
                                                          Form9, Form14}) {
        QVERIFY(other != nullptr);
        other->show();
    }
    Form6->Button1Click();
    const QWidget* cover = Form6->findChild<DesktopCover*>()->Cover();
    for (const QWidget* window : QApplication::topLevelWidgets())
        QVERIFY2(!window->isVisible() || window == Form6 || window == cover,
                 qPrintable(window->objectName()));
    QVERIFY(Form6->isVisible());
}

// From "OK" to the supervisor code the keyboard and the pointer are held: on the screen, on a
// message box of the test while it is open, taken again when refused, and given back only with
// the code.
void ControlScreenTest::keyboardAndPointerHeldFromOkUntilTheCode() {
    g_grab = GrabRecord();
    ExamInputGuard::SetGrabFactoryForTesting([] { return std::make_unique<RecordedGrab>(); });
    WriteTest({Item({100, 0}), Item({100, 0})});
    Settings(QStringLiteral("2"), QStringLiteral("60"));
    Open();
    QWindow* screen = Form6->windowHandle();
    ExamInputGuard& guard = Form6->InputGuard();
    QVERIFY(!g_grab.holder); // the notice leaves the start bar in reach

    Form6->Button1Click();
    QCOMPARE(g_grab.holder, screen);

    // A message box of the test gets the keyboard and the pointer, the screen gets them back.
    {
        QDialog box;
        box.setWindowModality(Qt::ApplicationModal);
        box.show();
        QCoreApplication::sendPostedEvents(&guard, QEvent::MetaCall);
        QCOMPARE(g_grab.holder, box.windowHandle());
        box.hide();
        QCoreApplication::sendPostedEvents(&guard, QEvent::MetaCall);
        QCOMPARE(g_grab.holder, screen);
        // A box not yet on view cannot take the grab: the screen keeps it until the next tick.
        g_grab.refusals = 1;
        box.show();
        QCoreApplication::sendPostedEvents(&guard, QEvent::MetaCall);
        QCOMPARE(g_grab.holder, screen);
        guard.RetryTimerTimer(); // the timer's tick
        QCOMPARE(g_grab.holder, box.windowHandle());
        box.hide();
        QCoreApplication::sendPostedEvents(&guard, QEvent::MetaCall);
        QCOMPARE(g_grab.holder, screen);
    }

    // Another client holds a grab: refused, then taken at a later tick.
    g_grab.holder = nullptr;
    g_grab.refusals = 2;
    auto* retry = guard.findChild<QTimer*>(QStringLiteral("RetryTimer"));
    QVERIFY(retry != nullptr && retry->isActive());
    guard.RetryTimerTimer(); // the timer's tick
    QVERIFY(!g_grab.holder);
    guard.RetryTimerTimer(); // the timer's tick
    QVERIFY(!g_grab.holder);
    guard.RetryTimerTimer(); // the timer's tick
    QCOMPARE(g_grab.holder, screen);

    // The result and its code field: still held, the field being part of the screen.
    Form6->Timer4Timer();
    Tick(100);
    Next();
    Tick(100);
    Form6->Button1Click();
    QVERIFY(!Control<QLineEdit>(Form6, "Edit1")->isHidden());
    QCOMPARE(g_grab.holder, screen);
    Control<QLineEdit>(Form6, "Edit1")->setText(QStringLiteral("1111"));
    Form6->Button2Click();
    QCOMPARE(g_grab.holder, screen);
    Control<QLineEdit>(Form6, "Edit1")->setText(QStringLiteral("739152"));
    Form6->Button2Click();
    QVERIFY(!g_grab.holder);
    QVERIFY(!retry->isActive());
}

void ControlScreenTest::reopenedScreenIsFreshAndAddsABlock() {
    WriteTest(QList<Item>(3, Item({100, 0})));
    Settings(QStringLiteral("1"), QStringLiteral("60"));
    Start();
    Tick(100);
    Form6->Button1Click();
    Control<QLineEdit>(Form6, "Edit1")->setText(QStringLiteral("739152"));
    Form6->Button2Click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(Form6.isNull());

    SetReportClockForTesting(kMoment.addSecs(3600));
    Open();
    QVERIFY(Form6 != nullptr);
    QCOMPARE(Shell().RecreateControlScreen, 0);
    QCOMPARE(Form6->windowTitle(), QStringLiteral("Внимание!"));
    QCOMPARE(Form6->Session().ShownCount(), 0);
    QCOMPARE(Form6->Session().TotalPoints(), qint64(0));
    QCOMPARE(Control<QPushButton>(Form6, "Button1")->text(), QStringLiteral("OK"));
    QVERIFY(!Control<QPushButton>(Form6, "Button1")->isHidden() &&
            Control<QPushButton>(Form6, "Button2")->isHidden());
    // The report keeps the first test and starts a second block; the data file starts again.
    QStringList report;
    QVERIFY(ReadCp1251Lines(ReportFile(), &report));
    QCOMPARE(report.count(QStringLiteral("          Ваши результаты:")), 2);
    QCOMPARE(report.last(), QStringLiteral("          Ваши результаты:"));
    QCOMPARE(DataLines().size(), 4);
    QVERIFY(DataLines().first().startsWith(QStringLiteral("07.12.2026 10:05:03  ")));
}

void ControlScreenTest::activationDuringTheTestChangesNothing() {
    WriteTest(QList<Item>(5, Item({100, 0})));
    Start();
    Tick(100);
    Next();
    Tick(100);
    Form6->Timer1Timer();
    const QString question = Form6->ShownQuestion().Text;
    const qint64 written = QFileInfo(DataFile()).size();

    // Another window of the program took the focus and gave it back.
    Form6->FormActivate();
    Form6->FormActivate();
    QCOMPARE(Form6->Session().ShownCount(), 2);
    QCOMPARE(Form6->ShownQuestion().Text, question);
    QVERIFY(Form6->Box(RowWith(100, true))->isChecked());
    QCOMPARE(Form6->Session().Countdown().SecondsLeft, 59);
    QVERIFY(Control<QTimer>(Form6, "Timer1")->isActive());
    QCOMPARE(Control<QPushButton>(Form6, "Button1")->text(), QStringLiteral("Следующий вопрос"));
    QCOMPARE(Form6->windowTitle(), QStringLiteral("Вопрос 2"));
    QCOMPARE(QFileInfo(DataFile()).size(), written);
    Next();
    QCOMPARE(DataLines().count(QStringLiteral("Набрано баллов за ответ: 100")), 2);
}

void ControlScreenTest::videoQuestionStartsItsCountdownAfterPlayback() {
    // Two video questions: the second comes while the first one's countdown is running.
    WriteTest(QList<Item>(2, Item({100, 0}, QStringLiteral("$clip.avi"))));
    Open();
    auto* player = qobject_cast<FakeMediaPlayer*>(Form6->Area()->Player());
    QVERIFY(player != nullptr);
    for (int k = 1; k <= 2; ++k) {
        if (k == 1) {
            Form6->Button1Click();
        } else {
            Form6->Timer1Timer();
            QVERIFY(Control<QTimer>(Form6, "Timer1")->isActive());
            Tick(100);
            Form6->Button1Click();
        }
        QCOMPARE(Form6->windowTitle(), QStringLiteral("Вопрос %1").arg(k));
        QVERIFY(Form6->Session().ButtonDelaySkip());
        QVERIFY(!Control<QPushButton>(Form6, "Button1")->isEnabled());
        QVERIFY(
            !Control<QTimer>(Form6, "Timer1")->isActive()); // the countdown waits for the fragment
        QVERIFY(!Control<QLabel>(Form6, "Label10")->isHidden());

        Form6->Timer4Timer(); // the usual delay leaves the button off
        QVERIFY(!Control<QPushButton>(Form6, "Button1")->isEnabled());
        Form6->Timer2Timer();
        QVERIFY(Control<QFrame>(Form6, "Panel1")->isHidden());
        QVERIFY(player->openedPath.endsWith(QStringLiteral("images/$clip.avi")));
        player->Finish();
        QVERIFY(!Control<QFrame>(Form6, "Panel1")->isHidden());
        QCOMPARE(Control<QFrame>(Form6, "Panel5")->y(),
                 Control<QFrame>(Form6, "Panel1")->y() - 22 - 390);
        QVERIFY(!Control<QPushButton>(Form6, "Button1")->isEnabled());
        for (int i = 0; i < 4; ++i)
            Form6->Timer3Timer();
        QCOMPARE(Control<QFrame>(Form6, "Panel5")->x(), 252);
        QVERIFY(Control<QTimer>(Form6, "Timer1")->isActive());
        QVERIFY(Control<QPushButton>(Form6, "Button1")->isEnabled());
        QCOMPARE(Form6->Session().Countdown().SecondsLeft, 60);
        // Laid out beside the still frame, the question is not prepared again by an activation.
        Form6->FormActivate();
        QCOMPARE(Form6->Session().ShownCount(), k);
    }
    QCOMPARE(DataLines().count(QStringLiteral("\\$clip.avi")), 2);
    Tick(100);
    Form6->Button1Click();
    QCOMPARE(ResultLine(3), QStringLiteral("Набрано баллов: 200 из 200."));
}

void ControlScreenTest::missingQuestionFileEndsTheProgram() {
    Form1->show();
    Form2->show();
    Open();
    QCOMPARE(Control<AutoSizeLabel>(Form6, "Label5")->text(),
             QStringLiteral("Не задан файл вопросов теста"));
    QCOMPARE(Control<AutoSizeLabel>(Form6, "Label5")->palette().color(QPalette::WindowText),
             QColor(0xFF, 0x00, 0x00));
    QCOMPARE(Form6->AnswerButtonMode(), TForm6::kModeExit);
    QCOMPARE(Control<QPushButton>(Form6, "Button1")->text(), QStringLiteral("OK"));
    QVERIFY(Control<QPushButton>(Form6, "Button1")->isEnabled());
    QVERIFY(m_recorder->messages.isEmpty());
    // Nothing was written for a test that could not run.
    QVERIFY(!QFile::exists(DataFile()) && !QFile::exists(ReportFile()));
    Form6->Button1Click();
    QVERIFY(!Form1->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(Form2.isNull());
}

void ControlScreenTest::testThatCannotBePreparedLeadsBack_data() {
    QTest::addColumn<QString>("count");
    QTest::addColumn<QString>("seconds");
    QTest::addColumn<QString>("plant"); // what stands in the result folders
    QTest::addColumn<QString>("message");
    QTest::newRow("count") << QStringLiteral("десять") << QStringLiteral("60") << QString()
                           << QStringLiteral("'десять' is not a valid integer value");
    QTest::newRow("empty time") << QStringLiteral("10") << QString() << QString()
                                << QStringLiteral("'' is not a valid integer value");
    QTest::newRow("zero count") << QStringLiteral("0") << QStringLiteral("60") << QString()
                                << QStringLiteral("Количество вопросов должно быть не меньше 1.");
    QTest::newRow("no data folder")
        << QStringLiteral("10") << QStringLiteral("60") << QStringLiteral("no data folder")
        << QStringLiteral("Ошибка ввода-вывода: ");
    // A classmate's data file made a link to another file, the report made a pipe.
    QTest::newRow("data file a link")
        << QStringLiteral("10") << QStringLiteral("60") << QStringLiteral("link")
        << QStringLiteral("Ошибка ввода-вывода: ");
    QTest::newRow("report a pipe")
        << QStringLiteral("10") << QStringLiteral("60") << QStringLiteral("pipe")
        << QStringLiteral("Ошибка ввода-вывода: ");
}

void ControlScreenTest::testThatCannotBePreparedLeadsBack() {
    QFETCH(QString, count);
    QFETCH(QString, seconds);
    QFETCH(QString, plant);
    QFETCH(QString, message);
    WriteTest(QList<Item>(3, Item({100, 0})));
    Settings(count, seconds);
    const QString victim = m_folder->filePath(QStringLiteral("victim.txt"));
    {
        QFile file(victim);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("another file\r\n");
    }
    if (plant == QLatin1String("no data folder"))
        QVERIFY(QDir(m_folder->filePath(QStringLiteral("otchet/data1"))).removeRecursively());
    if (plant == QLatin1String("link"))
        QVERIFY(QFile::link(victim, DataFile()));
    if (plant == QLatin1String("pipe"))
        QCOMPARE(::mkfifo(QFile::encodeName(ReportFile()).constData(), 0666), 0);
    form12->ShowScreen();
    form12->abcToggleBtn5Click();
    Form6->FormActivate();
    QCOMPARE(m_recorder->messages.size(), 1);
    QVERIFY2(m_recorder->last().startsWith(message), qPrintable(m_recorder->last()));
    QCOMPARE(m_recorder->kinds.last(), MessageKind::Error);
    QCOMPARE(Control<AutoSizeLabel>(Form6, "Label5")->text(), m_recorder->last());
    QCOMPARE(Form6->AnswerButtonMode(), TForm6::kModeBack);
    if (plant == QLatin1String("link") || plant == QLatin1String("pipe"))
        QVERIFY2(
            m_recorder->last().contains(plant == QLatin1String("link") ? DataFile() : ReportFile()),
            qPrintable(m_recorder->last()));
    if (plant != QLatin1String("pipe"))
        QVERIFY(!QFile::exists(ReportFile()));
    QCOMPARE(QFileInfo(victim).size(), qint64(14)); // nothing written through a plant
    Form6->FormActivate(); // the message closing gives the focus back: nothing more happens
    QCOMPARE(m_recorder->messages.size(), 1);

    Form6->Button1Click();
    QVERIFY(form12->isVisible() && Form1->isVisible() && Form5->isVisible());
    QVERIFY(Control<TabcToggleBtn>(form12, "abcToggleBtn5")
                ->isEnabled()); // corrected, the test can be tried again
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(Form6.isNull());
}

void ControlScreenTest::testWithoutItsKeeperNeverStarts() {
    // No keeper to write the answers: the test does not start, and no result file is made.
    WriteTest(QList<Item>(2, Item({100, 0})));
    const QString missing = m_folder->filePath(QStringLiteral("course-testing-keeper"));
    KeeperClient::SetDefaultKeeperPathForTesting(missing);
    Open();
    QCOMPARE(m_recorder->messages.size(), 1);
    QVERIFY2(m_recorder->last().contains(missing), qPrintable(m_recorder->last()));
    QCOMPARE(Control<AutoSizeLabel>(Form6, "Label5")->text(), m_recorder->last());
    QCOMPARE(Form6->AnswerButtonMode(), TForm6::kModeBack);
    QVERIFY(!QFile::exists(DataFile()) && !QFile::exists(ReportFile()));
}

void ControlScreenTest::writeFailureStopsTheTestWithAMessage() {
#ifdef Q_OS_LINUX
    WriteTest(QList<Item>(3, Item({100, 0})));
    Start();
    Tick(100);
    // The disk fills up: no file the keeper writes may grow by more than a few bytes from now
    // on (the keeper ignores SIGXFSZ as it ignores every signal a write could raise).
    const qint64 largest = std::max(QFileInfo(DataFile()).size(), QFileInfo(ReportFile()).size());
    const auto keeper = pid_t(Form6->KeeperProcessId());
    QVERIFY(keeper > 0);
    rlimit full{};
    QCOMPARE(prlimit(keeper, RLIMIT_FSIZE, nullptr, &full), 0);
    full.rlim_cur = rlim_t(largest + 10);
    QCOMPARE(prlimit(keeper, RLIMIT_FSIZE, &full, nullptr), 0);
    Form6->Button1Click();

    QCOMPARE(m_recorder->messages.size(), 1);
    QVERIFY2(m_recorder->last().startsWith(QStringLiteral("Ошибка ввода-вывода: ") +
                                           m_folder->path() + QStringLiteral("/otchet/")),
             qPrintable(m_recorder->last()));
    // The system's reason, never "Unknown error".
    QVERIFY2(m_recorder->last().contains(QStringLiteral("файл слишком велик")),
             qPrintable(m_recorder->last()));
    QCOMPARE(ResultLine(0),
             QStringLiteral("Ответы, начиная с вопроса 1, сохранить не удалось, тестирование "
                            "прервано."));
    QCOMPARE(ResultLine(1), m_recorder->last());
    QVERIFY(!Control<QTimer>(Form6, "Timer1")->isActive());
    QVERIFY(Control<QPushButton>(Form6, "Button1")->isHidden());
    QVERIFY(!Control<QLineEdit>(Form6, "Edit1")->isHidden());
    for (int row = 1; row <= 5; ++row)
        QVERIFY(Form6->Box(row)->isHidden());
    QVERIFY(!Form6->KeeperOpen());
    Form6->Timer4Timer();
    Form6->Timer1Timer();
    QCOMPARE(m_recorder->messages.size(), 1);

    Control<QLineEdit>(Form6, "Edit1")->setText(QStringLiteral("739152"));
    Form6->Button2Click();
    QVERIFY(form12->isVisible() && Form5->isVisible());
#else
    QSKIP("needs a per-process file size limit");
#endif
}

void ControlScreenTest::removedFoldersStopTheTestAtOnce() {
    // The result folders deleted while question 2 is on screen: its answer has nowhere to go,
    // and the screen says so instead of going on to a result that was never saved.
    WriteTest(QList<Item>(3, Item({100, 0})));
    Start();
    Tick(100);
    Next();
    QVERIFY(QDir(m_folder->filePath(QStringLiteral("otchet"))).removeRecursively());
    Tick(100);
    Form6->Button1Click();
    QCOMPARE(ResultLine(0), QStringLiteral("Ответы, начиная с вопроса 2, сохранить не удалось, "
                                           "тестирование прервано."));
    QCOMPARE(m_recorder->messages.size(), 1);
    QVERIFY2(m_recorder->last().contains(QStringLiteral("удалена")),
             qPrintable(m_recorder->last()));
    QCOMPARE(ResultLine(1), m_recorder->last());
    QVERIFY(!Control<AutoSizeLabel>(Form6, "Label5")->text().contains(QStringLiteral("Набрано")));
    QVERIFY(Control<QPushButton>(Form6, "Button1")->isHidden());
    QVERIFY(!Control<QTimer>(Form6, "Timer1")->isActive());
}

void ControlScreenTest::runningTestCoversTheDesktopAndComesBackWhenMinimised() {
    WriteTest({Item({100, 0}), Item({100, 0})});
    Open();
    // The screen asks for no minimise, maximise or close button.
    const Qt::WindowFlags flags = Form6->windowFlags();
    QVERIFY(flags & Qt::CustomizeWindowHint);
    QVERIFY(!(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint |
                       Qt::WindowCloseButtonHint | Qt::WindowSystemMenuHint)));
    auto* cover = Form6->findChild<DesktopCover*>();
    QVERIFY(cover != nullptr);
    const QPointer<QWidget> window = cover->Cover();
    QVERIFY(!window->isVisible()); // the start bar still leads elsewhere until "OK"

    Form6->Button1Click();
    Form6->Timer4Timer();
    // A plain window over the whole display, behind the screen, that never takes the focus.
    QVERIFY(window->isVisible());
    QVERIFY(window->isFullScreen());
    QCOMPARE(window->geometry(), Form6->screen()->geometry());
    QVERIFY(window->findChildren<QWidget*>().isEmpty());
    QVERIFY(window->windowFlags() & Qt::WindowDoesNotAcceptFocus);
    QCOMPARE(Form6->windowHandle()->transientParent(), window->windowHandle());

    // Minimised from outside, screen and cover come back at once; the test goes on.
    Tick(100);
    for (QWidget* minimised : {static_cast<QWidget*>(Form6), window.data()}) {
        minimised->setWindowState(Qt::WindowMinimized);
        QCoreApplication::sendPostedEvents(cover, QEvent::MetaCall);
        QVERIFY(!(Form6->windowState() & Qt::WindowMinimized));
        QVERIFY(!(window->windowState() & Qt::WindowMinimized));
        QVERIFY(Form6->isVisible() && window->isVisible());
    }
    QCOMPARE(Form6->windowTitle(), QStringLiteral("Вопрос 1"));
    QCOMPARE(Form6->AnswerButtonMode(), TForm6::kModeAnswer);
    QVERIFY(Form6->Session().Ticked()[RowWith(100, true) - 1]);

    // The supervisor code ends the test and takes the cover away.
    Next();
    Tick(100);
    Form6->Button1Click();
    QVERIFY(window->isVisible());
    Control<QLineEdit>(Form6, "Edit1")->setText(QStringLiteral("739152"));
    Form6->Button2Click();
    QVERIFY(window.isNull() || !window->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(window.isNull());
}

void ControlScreenTest::windowSystemClose_data() {
    QTest::addColumn<int>("answers"); // -1: the opening display; 1: the result display
    QTest::addColumn<QString>("count");
    QTest::addColumn<bool>("closes");
    QTest::newRow("opening display") << -1 << QStringLiteral("1") << true;
    QTest::newRow("not prepared") << -1 << QStringLiteral("abc") << true;
    QTest::newRow("question") << 0 << QStringLiteral("1") << false;
    QTest::newRow("result") << 1 << QStringLiteral("1") << false;
}

// Alt+F4 or the title bar: before the start the student goes back to the menu (and may take the
// control test later); a started test ignores it, the result too.
void ControlScreenTest::windowSystemClose() {
    QFETCH(int, answers);
    QFETCH(QString, count);
    QFETCH(bool, closes);
    WriteTest({Item({100, 0})});
    Settings(count, QStringLiteral("60"));
    form12->ShowScreen();
    form12->abcToggleBtn5Click(); // "Контроль..."
    Form6->FormActivate();
    if (answers >= 0) {
        Form6->Button1Click();
        Form6->Timer4Timer();
    }
    if (answers >= 1)
        Next();
    const QPointer<TForm6> screen = Form6.data();
    CloseByWindowSystem(screen);
    QCOMPARE(!screen->isVisible(), closes);
    QCOMPARE(Shell().RecreateControlScreen, closes ? 1 : 0);
    if (!closes) {
        QVERIFY(!form12->isVisible());
        return;
    }
    QVERIFY(Form5->isVisible() && Form1->isVisible() && form12->isVisible());
    QVERIFY(
        Control<TabcToggleBtn>(form12, "abcToggleBtn5")->isEnabled()); // no control test was taken
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(screen.isNull());
}

QTEST_MAIN(ControlScreenTest)
#include "tst_control_screen.moc"
