// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Toggle button: clicking, groups, hover events and the drawn look; the strips' tool button.

#include "widgets/cue_tool_button.h"
#include "widgets/keyboard_cues.h"
#include "widgets/toggle_button.h"

#include <QApplication>
#include <QEnterEvent>
#include <QImage>
#include <QSignalSpy>
#include <QTest>

using Look = TabcToggleBtn::Look;

namespace {

const QColor kFace(0xFF, 0xB7, 0x6F);
const QRgb kBlack = qRgb(0, 0, 0);
const QRgb kWhite = qRgb(0xFF, 0xFF, 0xFF);
const QRgb kGrey = qRgb(0x80, 0x80, 0x80);

void SendEnter(QWidget* widget) {
    const QPointF inside(2, 2);
    QEnterEvent event(inside, inside, widget->mapToGlobal(inside));
    QCoreApplication::sendEvent(widget, &event);
}

void SendLeave(QWidget* widget) {
    QEvent event(QEvent::Leave);
    QCoreApplication::sendEvent(widget, &event);
}

// Bounding box of the pixels of one colour inside the edge and the bevels.
QRect BoxOf(const QImage& image, QRgb colour) {
    QRect box;
    for (int y = 3; y < image.height() - 3; ++y)
        for (int x = 3; x < image.width() - 3; ++x)
            if (image.pixel(x, y) == colour)
                box |= QRect(x, y, 1, 1);
    return box;
}

} // namespace

class ToggleButtonTest : public QObject {
    Q_OBJECT

    QWidget* m_window = nullptr;
    TabcToggleBtn* MakeButton() {
        auto* button = new TabcToggleBtn(m_window);
        button->setGeometry(10, 10, 80, 22);
        button->SetColor(kFace);
        button->show();
        return button;
    }

private Q_SLOTS:
    void init() {
        m_window = new QWidget;
        m_window->resize(300, 200);
        m_window->show();
        m_window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_window)); // hover needs the foreground
    }
    void cleanup() { delete m_window; }

    void clickToggles() {
        TabcToggleBtn* button = MakeButton();
        QSignalSpy clicks(button, &TabcToggleBtn::Click);
        QTest::mousePress(button, Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(button->CurrentLook(), Look::Pressed);
        QCOMPARE(clicks.count(), 0);
        QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(5, 5));
        QVERIFY(button->Down());
        QCOMPARE(button->CurrentLook(), Look::Down);
        QCOMPARE(clicks.count(), 1);
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(5, 5));
        QVERIFY(!button->Down());
        QCOMPARE(clicks.count(), 2);

        // Pressed inside, released outside: nothing changes, nothing fires.
        QTest::mousePress(button, Qt::LeftButton, {}, QPoint(5, 5));
        QTest::mouseMove(button, QPoint(200, 5));
        QCOMPARE(button->CurrentLook(), Look::Up);
        QTest::mouseMove(button, QPoint(6, 6));
        QCOMPARE(button->CurrentLook(), Look::Pressed);
        QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(200, 5));
        QVERIFY(!button->Down());
        QCOMPARE(button->CurrentLook(), Look::Up);
        QCOMPARE(clicks.count(), 2);

        // A down button that may not rise stays down but still reports the click.
        button->SetDown(true);
        button->SetAllowAllUp(false);
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(5, 5));
        QVERIFY(button->Down());
        QCOMPARE(clicks.count(), 3);
    }

    void setDownRules_data() {
        QTest::addColumn<int>("group");
        QTest::addColumn<bool>("allowAllUp");
        QTest::addColumn<bool>("startDown");
        QTest::addColumn<bool>("request");
        QTest::addColumn<bool>("expected");
        QTest::newRow("down") << 7 << true << false << true << true;
        QTest::newRow("up again") << 7 << true << true << false << false;
        QTest::newRow("group 0 never goes down") << 0 << true << false << true << false;
        QTest::newRow("may not rise") << 7 << false << true << false << true;
    }
    void setDownRules() {
        QFETCH(int, group);
        QFETCH(bool, allowAllUp);
        QFETCH(bool, startDown);
        QFETCH(bool, request);
        QFETCH(bool, expected);
        TabcToggleBtn* button = MakeButton();
        button->SetGroupIndex(group);
        button->SetDown(startDown);
        button->SetAllowAllUp(allowAllUp);
        button->SetDown(request);
        QCOMPARE(button->Down(), expected);
    }

    void groups() {
        TabcToggleBtn* a = MakeButton();
        TabcToggleBtn* b = MakeButton();
        TabcToggleBtn* other = MakeButton();
        QVERIFY(a->GroupIndex() != 0 && a->GroupIndex() != b->GroupIndex());
        QWidget otherParent;
        auto* elsewhere = new TabcToggleBtn(&otherParent);
        for (TabcToggleBtn* button : {a, b, elsewhere})
            button->SetGroupIndex(5);
        b->SetAllowAllUp(false);
        for (TabcToggleBtn* button : {b, other, elsewhere})
            button->SetDown(true);
        a->SetDown(true);
        QVERIFY(a->Down() && !b->Down() && other->Down() && elsewhere->Down());
        QCOMPARE(b->CurrentLook(), Look::Up);
    }

    void hoverOnEnabledButtonsOnly() {
        TabcToggleBtn* button = MakeButton();
        QSignalSpy enters(button, &TabcToggleBtn::MouseEnter);
        QSignalSpy leaves(button, &TabcToggleBtn::MouseLeave);
        SendEnter(button);
        SendEnter(button);
        QVERIFY(button->Hot());
        QCOMPARE(button->CurrentLook(), Look::Hot);
        QCOMPARE(enters.count(), 1);
        SendLeave(button);
        QVERIFY(!button->Hot());
        QCOMPARE(leaves.count(), 1);

        button->setEnabled(false);
        SendEnter(button);
        QVERIFY(!button->Hot());
        SendLeave(button);
        // Disabled while hot: leaving clears the flag but reports nothing.
        button->setEnabled(true);
        SendEnter(button);
        button->setEnabled(false);
        SendLeave(button);
        QVERIFY(!button->Hot());
        QCOMPARE(enters.count(), 2);
        QCOMPARE(leaves.count(), 1);

        button->SetDown(true);
        QCOMPARE(button->CurrentLook(), Look::Disabled);
        button->setEnabled(true);
        QCOMPARE(button->CurrentLook(), Look::Down);
    }

    void paintedLooks() {
        TabcToggleBtn* button = MakeButton();
        QImage image = button->grab().toImage();
        const int r = image.width() - 1, b = image.height() - 1;
        for (QPoint p : {QPoint(0, 0), QPoint(r, 0), QPoint(0, b), QPoint(r, b), QPoint(40, 0)})
            QCOMPARE(image.pixel(p), kBlack);
        for (QPoint p : {QPoint(1, 1), QPoint(2, 2), QPoint(1, b - 1), QPoint(40, 2)})
            QCOMPARE(image.pixel(p), kWhite);
        for (QPoint p : {QPoint(r - 1, 1), QPoint(r - 2, b - 2), QPoint(40, b - 1)})
            QCOMPARE(image.pixel(p), kGrey);
        QCOMPARE(image.pixel(40, 11), kFace.rgb());

        // Down: a chequer of face colour and white, one shadow line at the top and left.
        button->SetColor(Qt::green);
        button->SetDown(true);
        button->SetColor(kFace); // the chequer follows the colour
        image = button->grab().toImage();
        QCOMPARE(image.pixel(1, 5), kGrey);
        QCOMPARE(image.pixel(30, 1), kGrey);
        QCOMPARE(image.pixel(r - 1, 11), kFace.rgb());
        for (int y = 2; y < 10; ++y)
            for (int x = 2; x < 10; ++x)
                QCOMPARE(image.pixel(x, y), (x % 2 == y % 2) ? kWhite : kFace.rgb());
    }

    void captionPlacement() {
        TabcToggleBtn* button = MakeButton();
        button->SetCaption(QStringLiteral("Выход"));
        QFont font = button->font();
        font.setBold(true);
        font.setPixelSize(13);
        font.setStyleStrategy(QFont::NoAntialias);
        button->setFont(font);
        button->SetFontColor(Qt::black);

        const QRect up = BoxOf(button->grab().toImage(), kBlack);
        QVERIFY(!up.isEmpty());
        QVERIFY(qAbs((up.left() - 1) - (button->width() - 2 - up.right())) <= 1); // centred
        button->SetDown(true);
        QCOMPARE(BoxOf(button->grab().toImage(), kBlack), up.translated(1, 1));

        // Disabled: white one pixel right and down, then grey in place.
        button->SetDown(false);
        button->setEnabled(false);
        const QImage disabled = button->grab().toImage();
        QVERIFY(BoxOf(disabled, kBlack).isEmpty());
        QCOMPARE(BoxOf(disabled, kGrey), up);
        QCOMPARE(BoxOf(disabled, kWhite).bottomRight(), up.bottomRight() + QPoint(1, 1));
    }

    // The keyboard: Tab reaches the button (a click does not take the focus), Space and Return
    // press it as a click does, the caption's marked letter with Alt too; a disabled one ignores
    // them all.
    void keyboard_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<int>("clicks");
        QTest::newRow("Space") << int(Qt::Key_Space) << 0 << true << 1;
        QTest::newRow("Return") << int(Qt::Key_Return) << 0 << true << 1;
        QTest::newRow("Enter") << int(Qt::Key_Enter) << 0 << true << 1;
        QTest::newRow("Alt+letter") << int(0x0412) << int(Qt::AltModifier) << true << 1; // В
        QTest::newRow("Alt+letter's key, Latin layout") << int(Qt::Key_D) << int(Qt::AltModifier)
                                                        << true << 1; // В is on D
        QTest::newRow("letter alone") << int(0x0412) << 0 << true << 0;
        QTest::newRow("Alt+other letter") << int(0x0410) << int(Qt::AltModifier) << true << 0;
        QTest::newRow("Space, disabled") << int(Qt::Key_Space) << 0 << false << 0;
        QTest::newRow("Alt+letter, disabled") << int(0x0412) << int(Qt::AltModifier) << false << 0;
    }
    void keyboard() {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(bool, enabled);
        QFETCH(int, clicks);
        TabcToggleBtn* button = MakeButton();
        button->SetCaption(QStringLiteral("&Выход"));
        QCOMPARE(button->Caption(), QStringLiteral("Выход"));
        QCOMPARE(button->focusPolicy(), Qt::TabFocus);
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(5, 5));
        QVERIFY(!button->hasFocus());
        button->SetDown(false);
        button->setFocus(Qt::TabFocusReason);
        QVERIFY(button->hasFocus());
        button->setEnabled(enabled);
        QSignalSpy spy(button, &TabcToggleBtn::Click);
        const QString text = key >= 0x0400 ? QString(QChar(key))
                             : key == Qt::Key_D ? QStringLiteral("d") : QString();
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : m_window;
        QTest::sendKeyEvent(QTest::Click, target, Qt::Key(key), text,
                            Qt::KeyboardModifiers(modifiers));
        QCOMPARE(spy.count(), clicks);
        QCOMPARE(button->Down(), clicks == 1);
    }

    // The underlined letter and the focus frame show only once the keyboard is used: with the
    // mouse alone a marked caption looks exactly like a plain one.
    void cuesOnlyWithTheKeyboard() {
        TabcToggleBtn* plain = MakeButton();
        plain->SetCaption(QStringLiteral("Выход"));
        TabcToggleBtn* marked = MakeButton();
        marked->SetCaption(QStringLiteral("&Выход"));
        marked->setFocus(Qt::OtherFocusReason);
        QTest::mouseClick(m_window, Qt::LeftButton, {}, QPoint(200, 150));
        QVERIFY(!KeyboardCues::Instance().Shown());
        QCOMPARE(marked->grab().toImage(), plain->grab().toImage());
        QTest::keyPress(m_window, Qt::Key_Alt, Qt::AltModifier);
        QVERIFY(KeyboardCues::Instance().Shown());
        QVERIFY(marked->grab().toImage() != plain->grab().toImage());
        QTest::keyRelease(m_window, Qt::Key_Alt);
        QVERIFY(!KeyboardCues::Instance().Shown());
        QTest::keyClick(m_window, Qt::Key_Tab);
        QVERIFY(KeyboardCues::Instance().Shown());
        QTest::mouseClick(m_window, Qt::LeftButton, {}, QPoint(200, 150));
        QVERIFY(!KeyboardCues::Instance().Shown());
    }

    // The tool buttons of the textbook's and the viewer's strips: a click leaves the focus where
    // it was, Tab reaches them, Return presses as Space does, and the focus shows only with the
    // keyboard cues.
    void toolButtonFromTheKeyboard() {
        auto* button = new CueToolButton(m_window);
        button->setText(QStringLiteral("Выход"));
        button->setAutoRaise(true);
        button->setGeometry(10, 10, 80, 22);
        button->show();
        QSignalSpy clicks(button, &QToolButton::clicked);
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(clicks.count(), 1);
        QVERIFY(!button->hasFocus());
        const QImage unfocused = button->grab().toImage();
        QTest::keyClick(m_window, Qt::Key_Tab);
        QVERIFY(button->hasFocus());
        QVERIFY(button->grab().toImage() != unfocused);
        QTest::keyClick(button, Qt::Key_Return);
        QTest::keyClick(button, Qt::Key_Space);
        QCOMPARE(clicks.count(), 3);
        QTest::mouseClick(m_window, Qt::LeftButton, {}, QPoint(200, 150));
        QVERIFY(button->hasFocus());
        QCOMPARE(button->grab().toImage(), unfocused);
    }
};

QTEST_MAIN(ToggleButtonTest)
#include "tst_toggle_button.moc"
