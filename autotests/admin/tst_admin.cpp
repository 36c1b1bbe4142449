// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The administration screen: defaults, typed values kept, placement, reading by the tests. The
// screen is made alone, as it needs nothing of the others (the menu's button that shows it is
// tried with the menu).
#include "autotests/support/test_support.h"
#include "platform/display.h"
#include "tests/test4.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

class TestAdmin : public QObject {
    Q_OBJECT
    std::optional<DisplayOverride> m_display;

private Q_SLOTS:
    void initTestCase() { PrepareScreenTests(); }
    void init() {
        m_display.emplace(QSize(1024, 768));
        Form4 = new TForm4();
    }
    void cleanup() {
        delete Form4;
        m_display.reset();
    }

    void startsWithTheDefaults() {
        QCOMPARE(Control<QLineEdit>(Form4, "Edit2")->text(), QStringLiteral("10"));
        QCOMPARE(Control<QLineEdit>(Form4, "Edit3")->text(), QStringLiteral("900"));
        QCOMPARE(Control<QLineEdit>(Form4, "Edit5")->text(), QStringLiteral("10"));
        QCOMPARE(Control<QLineEdit>(Form4, "Edit6")->text(), QStringLiteral("60"));
        for (QLineEdit* field :
             {Control<QLineEdit>(Form4, "Edit2"), Control<QLineEdit>(Form4, "Edit3"),
              Control<QLineEdit>(Form4, "Edit5"), Control<QLineEdit>(Form4, "Edit6")})
            QCOMPARE(field->width(), 41);
        // The totals are never shown.
        QCOMPARE(Control<QLineEdit>(Form4, "Edit1")->text(), QStringLiteral("209"));
        QCOMPARE(Control<QLineEdit>(Form4, "Edit4")->text(), QStringLiteral("209"));
        Form4->ShowScreen();
        for (QWidget* hidden : {static_cast<QWidget*>(Control<QLineEdit>(Form4, "Edit1")),
                                static_cast<QWidget*>(Control<QLineEdit>(Form4, "Edit4")),
                                static_cast<QWidget*>(Control<QLabel>(Form4, "Label13")),
                                static_cast<QWidget*>(Control<QLabel>(Form4, "Label14"))})
            QVERIFY(!hidden->isVisible());
        QVERIFY(Control<QLineEdit>(Form4, "Edit2")->isVisible());

        QCOMPARE(Form4->windowTitle(),
                 QString(66, QLatin1Char(' ')) + QStringLiteral("Администрирование"));
        // No close box, no system menu.
        QVERIFY(!Form4->windowFlags().testFlag(Qt::WindowCloseButtonHint));
        QVERIFY(!Form4->windowFlags().testFlag(Qt::WindowSystemMenuHint));
        QVERIFY(Form4->windowFlags().testFlag(Qt::WindowTitleHint));
    }

    void continuationsFollowTheirTexts() {
        // Each fixed text keeps its words; its continuation sits on its last line, after it.
        const QString training = Control<QLabel>(Form4, "Label1")->text();
        QVERIFY(training.startsWith(QStringLiteral("Программа в тренировочном варианте")));
        QVERIFY(training.endsWith(QStringLiteral("общее время ответа на все")));
        QCOMPARE(training.count(QLatin1Char('\n')), 2);
        // Every line of it shows, and the continuation follows on its last line.
        const QRect text = Control<QLabel>(Form4, "Label1")->geometry();
        QVERIFY(text.height() >= Control<QLabel>(Form4, "Label1")->sizeHint().height());
        const QRect continuation = Control<QLabel>(Form4, "Label2")->geometry();
        QCOMPARE(Control<QLabel>(Form4, "Label2")->text(), QStringLiteral(" вопросы - 900 с."));
        QVERIFY(continuation.left() > text.left());
        const int lastLineTop = text.top() + text.height() * 2 / 3;
        QVERIFY(continuation.center().y() > lastLineTop &&
                continuation.center().y() < text.bottom());
        QVERIFY(Control<QLabel>(Form4, "Label3")->geometry().top() > continuation.bottom());
        QVERIFY(Control<QLabel>(Form4, "Label6")->geometry().bottom() <
                Control<QFrame>(Form4, "Panel1")->height());
    }

    void typedValuesStayAfterEitherButton_data() {
        QTest::addColumn<bool>("setButton");
        QTest::addColumn<bool>("escape");
        QTest::newRow("Установить") << true << false;
        QTest::newRow("Закрыть") << false << false;
        QTest::newRow("Escape in a field") << false << true;
    }
    void typedValuesStayAfterEitherButton() {
        QFETCH(bool, setButton);
        QFETCH(bool, escape);
        Form4->ShowModal(); // as "Администрирование..." shows it
        QVERIFY(Form4->isVisible());
        QTest::keyClick(Control<QLineEdit>(Form4, "Edit2"), Qt::Key_End);
        QTest::keyClick(Control<QLineEdit>(Form4, "Edit2"), Qt::Key_Backspace);
        QTest::keyClick(Control<QLineEdit>(Form4, "Edit2"), Qt::Key_Backspace);
        QTest::keyClicks(Control<QLineEdit>(Form4, "Edit2"), QStringLiteral("25"));
        Control<QLineEdit>(Form4, "Edit3")->setText(QStringLiteral("300"));
        Control<QLineEdit>(Form4, "Edit5")->setText(QStringLiteral("abc"));
        Control<QLineEdit>(Form4, "Edit6")->setText(QStringLiteral("0"));
        QPushButton* button = setButton ? Control<QPushButton>(Form4, "BitBtn1")
                                        : Control<QPushButton>(Form4, "BitBtn2");
        QCOMPARE(button->text(),
                 setButton ? QStringLiteral("Установить") : QStringLiteral("Закрыть"));
        if (escape) {
            Form4->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(Form4));
            QTest::keyClick(Control<QLineEdit>(Form4, "Edit6"), Qt::Key_Escape);
        } else {
            QTest::mouseClick(button, Qt::LeftButton);
        }
        QVERIFY(!Form4->isVisible());
        QCOMPARE(Control<QLineEdit>(Form4, "Edit2")->text(), QStringLiteral("25"));
        QCOMPARE(Control<QLineEdit>(Form4, "Edit3")->text(), QStringLiteral("300"));
        QCOMPARE(Control<QLineEdit>(Form4, "Edit5")->text(), QStringLiteral("abc"));
        QCOMPARE(Control<QLineEdit>(Form4, "Edit6")->text(), QStringLiteral("0"));

        // The tests read what was typed when they prepare their next test.
        const SettingsReading training = Form4->ReadTrainingSettings(20);
        QVERIFY(training.ok);
        QCOMPARE(training.QuestionCount, 20);
        QCOMPARE(training.Seconds, 300);
        const SettingsReading control = Form4->ReadControlSettings(20);
        QVERIFY(!control.ok);
        QCOMPARE(control.message, QStringLiteral("'abc' is not a valid integer value"));

        // Shown again, the screen still holds the values.
        Form4->ShowModal();
        QVERIFY(Form4->isVisible());
        QCOMPARE(Control<QLineEdit>(Form4, "Edit2")->text(), QStringLiteral("25"));
    }

    void isCentredAt535x350OnEveryActivation_data() {
        QTest::addColumn<QSize>("display");
        QTest::addColumn<QPoint>("topLeft");
        // 244.5 and 132.5 go to the even neighbour.
        QTest::newRow("1024x768") << QSize(1024, 768) << QPoint(244, 209);
        QTest::newRow("800x600") << QSize(800, 600) << QPoint(132, 125);
    }
    void isCentredAt535x350OnEveryActivation() {
        QFETCH(QSize, display);
        QFETCH(QPoint, topLeft);
        SetDisplaySizeForTesting(display);
        Form4->move(0, 0);
        Form4->FormActivate();
        QCOMPARE(Form4->size(), QSize(535, 350));
        QCOMPARE(Form4->frameGeometry().topLeft(), topLeft);
        // Moved away, it comes back on the next activation.
        Form4->move(5, 5);
        Form4->FormActivate();
        QCOMPARE(Form4->frameGeometry().topLeft(), topLeft);
    }
};

QTEST_MAIN(TestAdmin)
#include "tst_admin.moc"
