// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The registration and testing menu: layout by display, registration check, opening screens.
#include "app/test.h"
#include "app/test1.h"
#include "app/test5.h"
#include "autotests/support/screens_fixture.h"
#include "materials/test3.h"
#include "review/test8.h"
#include "tests/result_lock.h"
#include "tests/test2.h"
#include "tests/test4.h"
#include "tests/test6.h"
#include "widgets/toggle_button.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

namespace {
const QString kIncomplete = QStringLiteral("Заполните все поля формы и укажите тему!");

enum class TestButton { Training, Control };

void ProcessDeferredDeletes() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

/// Types text key by key, Cyrillic letters included.
void Type(QWidget* widget, const QString& text) {
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
}
} // namespace

Q_DECLARE_METATYPE(TestButton)

class TestMenu : public QObject {
    Q_OBJECT
    std::unique_ptr<MessageRecorder> m_messages;
    std::optional<ScreensFixture> m_screens;

    /// Uncovers the fields and fills every one of them as a student would.
    static void Register(const QString& name = QStringLiteral("Иванов И. И.")) {
        form12->Panel5Click();
        Control<QLineEdit>(form12, "Edit1")->setText(name);
        Control<QLineEdit>(form12, "Edit5")->setText(QStringLiteral("ТС-21"));
        Control<QComboBox>(form12, "ComboBox1")->setEditText(QStringLiteral("Лёгкая атлетика"));
        Control<QComboBox>(form12, "ComboBox2")->setCurrentIndex(4); // "КМС"
    }

    /// A click on "Тренировка..." or "Контроль...", as the student gives it.
    static void Press(TestButton button) {
        QTest::mouseClick(Control<TabcToggleBtn>(form12, button == TestButton::Training
                                                             ? "abcToggleBtn4"
                                                             : "abcToggleBtn5"),
                          Qt::LeftButton);
    }

    static QWidget* TestScreen(TestButton button) {
        return button == TestButton::Training ? static_cast<QWidget*>(Form2)
                                              : static_cast<QWidget*>(Form6);
    }

    static void VerifyFieldsEnabled(bool enabled) {
        QCOMPARE(Control<QLineEdit>(form12, "Edit1")->isEnabled(), enabled);
        QCOMPARE(Control<QLineEdit>(form12, "Edit5")->isEnabled(), enabled);
        QCOMPARE(Control<QComboBox>(form12, "ComboBox1")->isEnabled(), enabled);
        QCOMPARE(Control<QComboBox>(form12, "ComboBox2")->isEnabled(), enabled);
    }

    /// The menu stays, alone: no test screen opened, nothing hidden, nothing locked.
    static void VerifyNothingOpened() {
        QVERIFY(form12->isVisible());
        QVERIFY(Form1->isVisible());
        QVERIFY(!Form2 || !Form2->isVisible());
        QVERIFY(!Form6 || !Form6->isVisible());
        QCOMPARE(int(form12->TestingMode), 0);
        VerifyFieldsEnabled(true);
    }

private Q_SLOTS:
    void initTestCase() { PrepareScreenTests(); }

    void init() {
        m_messages = std::make_unique<MessageRecorder>();
        m_screens.emplace();
        Control<QTimer>(Form1, "Timer1")->stop();
        Form1->show();
        form12->ShowScreen();
        form12->FormActivate();
    }

    void cleanup() {
        m_screens.reset();
        m_messages.reset();
    }

    void sizesAndCentresItselfByTheDisplay_data() {
        QTest::addColumn<QSize>("display");
        QTest::addColumn<QRect>("window");
        QTest::addColumn<QRect>("frame");
        QTest::addColumn<QPoint>("panel");
        QTest::newRow("1024x768") << QSize(1024, 768) << QRect(50, 35, 924, 698)
                                  << QRect(18, 18, 886, 660) << QPoint(128, 146);
        QTest::newRow("800x600") << QSize(800, 600) << QRect(10, 35, 781, 530)
                                 << QRect(18, 18, 743, 492) << QPoint(56, 62);
        // Halves go to the even neighbour: 128.5 -> 128, 121.5 -> 122, 46.5 -> 46.
        QTest::newRow("1025x768") << QSize(1025, 768) << QRect(50, 35, 925, 698)
                                  << QRect(18, 18, 887, 660) << QPoint(128, 146);
        QTest::newRow("623 high") << QSize(1024, 623) << QRect(122, 46, 781, 530)
                                  << QRect(18, 18, 743, 492) << QPoint(56, 62);
        QTest::newRow("624 high") << QSize(1024, 624) << QRect(50, 35, 924, 554)
                                  << QRect(18, 18, 886, 516) << QPoint(128, 74);
    }
    void sizesAndCentresItselfByTheDisplay() {
        QFETCH(QSize, display);
        QFETCH(QRect, window);
        QFETCH(QRect, frame);
        QFETCH(QPoint, panel);
        m_screens->SetDisplay(display);
        form12->FormActivate();
        QCOMPARE(form12->geometry(), window);
        QCOMPARE(Control<QFrame>(form12, "Panel10")->geometry(), frame);
        QCOMPARE(Control<QFrame>(form12, "Panel11")->geometry(), QRect(panel, QSize(630, 368)));
        QCOMPARE(Control<QLabel>(form12, "Image1")->geometry(), QRect(QPoint(0, 0), window.size()));
        // Borderless and above the other windows.
        QVERIFY(form12->windowFlags().testFlag(Qt::FramelessWindowHint));
        QVERIFY(form12->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    }

    void activationResetsTheModeAndPutsTestingDown() {
        form12->TestingMode = 2;
        Control<QComboBox>(form12, "ComboBox3")->show();
        Form5->Raise(Control<TabcToggleBtn>(Form5, "abcToggleBtn1"));
        form12->FormActivate();
        QCOMPARE(int(form12->TestingMode), 0);
        QVERIFY(!Control<QComboBox>(form12, "ComboBox3")->isVisible());
        QVERIFY(Control<TabcToggleBtn>(Form5, "abcToggleBtn1")->Down());
        // A second activation leaves the button down.
        form12->FormActivate();
        QVERIFY(Control<TabcToggleBtn>(Form5, "abcToggleBtn1")->Down());
    }

    void entryPanelUncoversTheFieldsAndEnablesTheTests() {
        QVERIFY(Control<QLabel>(form12, "Panel5")->isVisible());
        QCOMPARE(Control<QLabel>(form12, "Panel5")->geometry(),
                 Control<QFrame>(form12, "Panel3")->geometry());
        QVERIFY(!Control<TabcToggleBtn>(form12, "abcToggleBtn4")->isEnabled());
        QVERIFY(!Control<TabcToggleBtn>(form12, "abcToggleBtn5")->isEnabled());
        QVERIFY(Control<TabcToggleBtn>(form12, "abcToggleBtn6")->isEnabled());
        QVERIFY(
            !Control<QLineEdit>(form12, "Edit1")->isEnabled()); // no typing into the covered fields

        QTest::mouseClick(Control<QLabel>(form12, "Panel5"), Qt::LeftButton);
        QVERIFY(!Control<QLabel>(form12, "Panel5")->isVisible());
        QVERIFY(Control<QFrame>(form12, "Panel3")->isVisible());
        QVERIFY(Control<QLineEdit>(form12, "Edit1")->isEnabled());
        QVERIFY(Control<TabcToggleBtn>(form12, "abcToggleBtn4")->isEnabled());
        QVERIFY(Control<TabcToggleBtn>(form12, "abcToggleBtn5")->isEnabled());
        QVERIFY(Control<TabcToggleBtn>(form12, "abcToggleBtn6")->isEnabled());
    }

    void incompleteRegistrationIsRefused_data() {
        QTest::addColumn<int>("missing");
        QTest::addColumn<TestButton>("button");
        const char* fields[] = {"name", "group", "specialization", "qualification", "topic"};
        for (int i = 0; i < 5; ++i) {
            QTest::addRow("%s, training", fields[i]) << i << TestButton::Training;
            QTest::addRow("%s, control", fields[i]) << i << TestButton::Control;
        }
    }
    void incompleteRegistrationIsRefused() {
        QFETCH(int, missing);
        QFETCH(TestButton, button);
        Register();
        switch (missing) {
        case 0:
            Control<QLineEdit>(form12, "Edit1")->clear();
            break;
        case 1:
            Control<QLineEdit>(form12, "Edit5")->clear();
            break;
        case 2:
            Control<QComboBox>(form12, "ComboBox1")->setEditText(QString());
            break;
        case 3:
            Control<QComboBox>(form12, "ComboBox2")->setCurrentIndex(0);
            break;
        default:
            Control<QComboBox>(form12, "ComboBox3")
                ->insertItem(
                    0, QStringLiteral("     У к а ж и т е      н а з в а н и е      т е м ы"));
            Control<QComboBox>(form12, "ComboBox3")->setCurrentIndex(0);
            break;
        }
        Press(button);
        QCOMPARE(m_messages->messages, QStringList{kIncomplete});
        VerifyNothingOpened();
    }

    void nameOfBlanksPasses() {
        Register(QStringLiteral("   "));
        Press(TestButton::Training);
        QVERIFY(m_messages->messages.isEmpty());
        QVERIFY(Form2->isVisible());
        QVERIFY(!form12->isVisible());
        QVERIFY(!Form1->isVisible());
        QCOMPARE(int(form12->TestingMode), 1);
        QVERIFY(Form2->PauseAllowed);
        QVERIFY(!Control<QLabel>(Form2, "Image2")->isHidden());
        VerifyFieldsEnabled(false);
    }

    void hostileNamesAreRefused_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<TestButton>("button");
        for (const QString& name : {QStringLiteral("..\\x"), QStringLiteral("a/b"),
                                    QStringLiteral("c:d"), QStringLiteral("..")}) {
            QTest::addRow("%s, training", qPrintable(name)) << name << TestButton::Training;
            QTest::addRow("%s, control", qPrintable(name)) << name << TestButton::Control;
        }
        const QList<QPair<const char*, QString>> named{
            {"right-to-left mark", QStringLiteral("Иванов\u200F И. И.")},
            {"device name", QStringLiteral("con.Иванов")},
            {"too long for a file name", QString(200, QChar(0x0416))}};
        for (const auto& [label, name] : named) {
            QTest::addRow("%s, training", label) << name << TestButton::Training;
            QTest::addRow("%s, control", label) << name << TestButton::Control;
        }
    }
    void hostileNamesAreRefused() {
        QFETCH(QString, name);
        QFETCH(TestButton, button);
        Register(name);
        Press(button);
        QCOMPARE(m_messages->messages.size(), 1);
        QVERIFY(m_messages->last().startsWith(QStringLiteral("Фамилия И. О. не может")));
        VerifyNothingOpened();
        // The student corrects the name and goes on.
        Control<QLineEdit>(form12, "Edit1")->setText(QStringLiteral("Петров П. П."));
        Press(button);
        QVERIFY(TestScreen(button)->isVisible());
        QCOMPARE(m_messages->messages.size(), 1);
    }

    void controlTestOpensWithoutChangingTheMode() {
        Register();
        Press(TestButton::Control);
        QVERIFY(m_messages->messages.isEmpty());
        QVERIFY(Form6->isVisible());
        QVERIFY(!form12->isVisible());
        QVERIFY(!Form1->isVisible());
        QCOMPARE(int(form12->TestingMode), 0);
        VerifyFieldsEnabled(false);
        // After the one control test of a run its button stays disabled.
        form12->DisableControlButton();
        QVERIFY(!Control<TabcToggleBtn>(form12, "abcToggleBtn5")->isEnabled());
    }

    void nameInUseElsewhereIsRefusedBeforeAnyFile() {
        // Another control test (this PC or another of the lab) holds the name in the shared
        // data folder.
        QTemporaryDir course;
        QVERIFY(QDir(course.path()).mkpath(QStringLiteral("otchet/data1")));
        QVERIFY(QDir(course.path()).mkpath(QStringLiteral("otchet/print otchet")));
        Shell().ProgramFolder = course.path();
        const QString dataFile = course.filePath(QStringLiteral("otchet/data1/Иванов И. И..txt"));
        {
            QFile running(dataFile);
            QVERIFY(running.open(QIODevice::WriteOnly));
            running.write("the running test\r\n");
        }
        ResultNameLock::Attempt elsewhere =
            ResultNameLock::Acquire(course.path(), QStringLiteral("Иванов И. И."));
        QVERIFY(elsewhere.lock);
        Register();
        Press(TestButton::Control);
        QCOMPARE(m_messages->messages,
                 QStringList{ResultNameLock::InUseMessage(QStringLiteral("Иванов И. И."))});
        VerifyNothingOpened();
        QVERIFY(Control<TabcToggleBtn>(form12, "abcToggleBtn5")->isEnabled());
        QCOMPARE(
            QDir(course.filePath(QStringLiteral("otchet/print otchet"))).entryList(QDir::Files),
            QStringList());
        QFile running(dataFile);
        QVERIFY(running.open(QIODevice::ReadOnly));
        QCOMPARE(running.readAll(), QByteArray("the running test\r\n"));

        // Under another name the test opens and holds that name for itself.
        Control<QLineEdit>(form12, "Edit1")->setText(QStringLiteral("Иванов И. И. (2)"));
        Press(TestButton::Control);
        QVERIFY(Form6->isVisible());
        QVERIFY(Form6->KeeperOpen());
        QVERIFY(ResultNameLock::Acquire(course.path(), QStringLiteral("Иванов И. И. (2)")).inUse);

        // Before "OK" the start bar brings the menu back over the control screen; "Контроль..."
        // shows that screen again under the name it holds, not the name's own lock.
        const QPointer<TForm6> screen = Form6;
        Form5->show();
        QTest::mouseClick(Control<TabcToggleBtn>(Form5, "abcToggleBtn1"), Qt::LeftButton);
        QVERIFY(form12->isVisible());
        Press(TestButton::Control);
        QCOMPARE(m_messages->messages.size(), 1);
        QCOMPARE(Form6, screen);
        QVERIFY(Form6->isVisible());
        QVERIFY(!form12->isVisible());
        QVERIFY(Form6->KeeperOpen());
        QVERIFY(ResultNameLock::Acquire(course.path(), QStringLiteral("Иванов И. И. (2)")).inUse);
    }

    void reviewOpensBeforeAnyRegistration() {
        QVERIFY(Control<QLabel>(form12, "Panel5")->isVisible());
        QTest::mouseClick(Control<TabcToggleBtn>(form12, "abcToggleBtn6"), Qt::LeftButton);
        QVERIFY(!Control<TabcToggleBtn>(form12, "abcToggleBtn6")->Down());
        QVERIFY(m_messages->messages.isEmpty());
        QVERIFY(Form8->isVisible());
        QVERIFY(!form12->isVisible());
        QCOMPARE(int(form12->TestingMode), 2);
    }

    void afterATrainingTestTheSameRegistrationServesAgain() {
        Register();
        Press(TestButton::Training);
        QVERIFY(Form2->isVisible());
        // The training test ends: its screen closes itself and the menu comes back.
        Form2->close();
        Form1->show();
        form12->ShowScreen();
        form12->FormActivate();
        QCOMPARE(int(form12->TestingMode), 0);
        VerifyFieldsEnabled(false);
        QCOMPARE(form12->FullName(), QStringLiteral("Иванов И. И."));
        QCOMPARE(form12->Group(), QStringLiteral("ТС-21"));
        QCOMPARE(form12->Specialization(), QStringLiteral("Лёгкая атлетика"));
        QCOMPARE(form12->Qualification(), QStringLiteral("КМС"));
        QCOMPARE(form12->Topic(), QStringLiteral("ИТОГОВОЕ ТЕСТИРОВАНИЕ"));

        Press(TestButton::Control);
        QVERIFY(Form6->isVisible());
        Form6->close();
        form12->ShowScreen();
        Press(TestButton::Training);
        QVERIFY(Form2->isVisible());
        QCOMPARE(int(form12->TestingMode), 1);
        QVERIFY(m_messages->messages.isEmpty());
    }

    void reopenedScreenIsANewInstance_data() {
        QTest::addColumn<int>("screen");
        QTest::newRow("training") << 0;
        QTest::newRow("control") << 1;
        QTest::newRow("review") << 2;
    }
    void reopenedScreenIsANewInstance() {
        QFETCH(int, screen);
        Register();
        auto open = [screen]() -> QWidget* {
            switch (screen) {
            case 0:
                form12->abcToggleBtn4Click();
                return Form2;
            case 1:
                form12->abcToggleBtn5Click();
                return Form6;
            default:
                form12->abcToggleBtn6Click();
                return Form8;
            }
        };
        auto flag = [screen]() -> int& {
            ShellState& s = Shell();
            return screen == 0   ? s.RecreateTrainingScreen
                   : screen == 1 ? s.RecreateControlScreen
                                 : s.RecreateReviewScreen;
        };
        QPointer<QWidget> first = open();
        QVERIFY(first && first->isVisible());
        first->close();
        QCOMPARE(flag(), 1);
        form12->ShowScreen();

        // The closed screen still waits to be freed, so the new one is surely another object.
        QPointer<QWidget> second = open();
        QCOMPARE(flag(), 0);
        QVERIFY(second != first);
        QVERIFY(second->isVisible());
        ProcessDeferredDeletes();
        QVERIFY(first.isNull());
        QVERIFY(!second.isNull());
    }

    void qualificationIsAChoiceFromItsList() {
        const QStringList entries =
            QStringLiteral("Укажите квалификацию|ЗМС|МСМК|МС|КМС|I разряд|II разряд|III разряд|"
                           "без разряда")
                .split(QLatin1Char('|'));
        QStringList shown;
        for (int i = 0; i < Control<QComboBox>(form12, "ComboBox2")->count(); ++i)
            shown.append(Control<QComboBox>(form12, "ComboBox2")->itemText(i));
        QCOMPARE(shown, entries);
        QCOMPARE(Control<QComboBox>(form12, "ComboBox2")->maxVisibleItems(), 9);
        QCOMPARE(form12->Qualification(), entries.first());

        // Typing never leaves a text of its own in the box, nor chooses the entry that starts
        // with the typed letter: the prompt comes back at once. The arrow keys choose.
        form12->Panel5Click();
        QComboBox* box = Control<QComboBox>(form12, "ComboBox2");
        Type(box, QStringLiteral("Мастер"));
        QVERIFY(entries.contains(form12->Qualification()));
        QCOMPARE(form12->Qualification(), entries.first());
        for (int i = 0; i < 4; ++i)
            QTest::keyClick(box, Qt::Key_Down);
        QCOMPARE(form12->Qualification(), QStringLiteral("КМС"));
        Type(box, QStringLiteral("zz"));
        QVERIFY(entries.contains(form12->Qualification()));
        QCOMPARE(form12->Qualification(), entries.first());
        box->setCurrentIndex(2);
        box->showPopup();
        Type(box->view(), QStringLiteral("К"));
        QCOMPARE(form12->Qualification(), entries.first());
        QVERIFY(!box->view()->isVisible());

        // The face is the fields' colour, flat, as the entry fields beside it.
        const QImage face = box->grab().toImage();
        QCOMPARE(face.pixelColor(3, 3), QColor(0xCA, 0xF4, 0xFF));
        QCOMPARE(face.pixelColor(3, face.height() - 4), QColor(0xCA, 0xF4, 0xFF));
        Type(Control<QComboBox>(form12, "ComboBox3"), QStringLiteral("Другая тема"));
        QCOMPARE(form12->Topic(), QStringLiteral("ИТОГОВОЕ ТЕСТИРОВАНИЕ"));
    }

    void topRowButtonsActAsPushButtons() {
        // "Администрирование..." keeps the menu under its modal screen.
        QTest::mouseClick(Control<TabcToggleBtn>(form12, "abcToggleBtn1"), Qt::LeftButton);
        QVERIFY(!Control<TabcToggleBtn>(form12, "abcToggleBtn1")->Down());
        QVERIFY(Form4->isVisible());
        QCOMPARE(Form4->windowModality(), Qt::ApplicationModal);
        QVERIFY(form12->isVisible());
        Form4->close();
        // "Об авторах..." takes the menu's place.
        QTest::mouseClick(Control<TabcToggleBtn>(form12, "abcToggleBtn2"), Qt::LeftButton);
        QVERIFY(!Control<TabcToggleBtn>(form12, "abcToggleBtn2")->Down());
        QVERIFY(Form3->isVisible());
        QVERIFY(!form12->isVisible());
        // "Выход" closes the main screen, which ends the program.
        form12->ShowScreen();
        QTest::mouseClick(Control<TabcToggleBtn>(form12, "abcToggleBtn3"), Qt::LeftButton);
        QVERIFY(!Form1->isVisible());
    }

    void buttonsLightUpUnderTheMouse() {
        for (TabcToggleBtn* button : {Control<TabcToggleBtn>(form12, "abcToggleBtn1"),
                                      Control<TabcToggleBtn>(form12, "abcToggleBtn2"),
                                      Control<TabcToggleBtn>(form12, "abcToggleBtn3"),
                                      Control<TabcToggleBtn>(form12, "abcToggleBtn4"),
                                      Control<TabcToggleBtn>(form12, "abcToggleBtn5"),
                                      Control<TabcToggleBtn>(form12, "abcToggleBtn6")}) {
            QCOMPARE(button->Color(), QColor(0x56, 0xE6, 0x00));
            Q_EMIT button->MouseEnter();
            QCOMPARE(button->Color(), QColor(0x66, 0xE2, 0xFD));
            Q_EMIT button->MouseLeave();
            QCOMPARE(button->Color(), QColor(0x56, 0xE6, 0x00));
        }
    }
};

QTEST_MAIN(TestMenu)
#include "tst_menu.moc"
