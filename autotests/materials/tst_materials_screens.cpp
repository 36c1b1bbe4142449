// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The textbook, help and credits screens, driven through their handlers as the browser and the
// user would drive them.

#include "app/test.h"
#include "app/test1.h"
#include "app/test5.h"
#include "fake_media_player.h"
#include "materials/test3.h"
#include "materials/test7.h"
#include "materials/test94.h"
#include "materials/test99.h"
#include "screens_fixture.h"
#include "tests/test2.h"
#include "widgets/background.h"
#include "widgets/frame.h"
#include "widgets/multiline_label.h"
#include "widgets/toggle_button.h"

#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QPrintDialog>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QWebEngineView>
#include <QtTest>

namespace {
const QString kFolder = QStringLiteral("/srv/course");

QString Page(const QString& name) {
    return kFolder + QStringLiteral("/html/") + name;
}
int ImageIndex(const QToolButton* button) {
    return button->property("ImageIndex").toInt();
}
// The labels named prefix1, prefix2, ... on screen, as far as the numbers go.
QList<QLabel*> Numbered(const QObject* screen, const QByteArray& prefix) {
    QList<QLabel*> labels;
    for (;;) {
        const QByteArray name = prefix + QByteArray::number(labels.size() + 1);
        if (!HasControl(screen, name.constData()))
            return labels;
        labels.append(Control<QLabel>(screen, name.constData()));
    }
}

// Moves the application's activation as the window system would, to another screen or (nullptr)
// to another application. Qt 6.5 deprecated this call for programs; a test on the offscreen
// platform has no other way to take the activation away from every window.
void SetActiveWindow(QWidget* window) {
    QT_WARNING_PUSH
    QT_WARNING_DISABLE_DEPRECATED
    QApplication::setActiveWindow(window);
    QT_WARNING_POP
}
} // namespace

class TestMaterialsScreens : public QObject {
    Q_OBJECT
    std::optional<ScreensFixture> m_screens;

    void Create(QSize display) {
        m_screens.emplace(display);
        Shell().ProgramFolder = kFolder;
    }

private Q_SLOTS:
    void initTestCase() { PrepareScreenTests(MediaPlayers::Fake); }

    void cleanupTestCase() { FakeMediaPlayer::Uninstall(); }

    void cleanup() { m_screens.reset(); }

    void textbookLaysItselfOutAndOpensItsStartPage_data() {
        QTest::addColumn<QSize>("display");
        QTest::addColumn<QRect>("geometry");
        QTest::addColumn<QString>("startPage");
        QTest::addColumn<int>("barWidth");
        QTest::newRow("800x600") << QSize(800, 600) << QRect(10, 35, 781, 530)
                                 << QStringLiteral("\\html\\000.htm") << 741;
        QTest::newRow("1024x768") << QSize(1024, 768) << QRect(50, 35, 924, 698)
                                  << QStringLiteral("\\html\\0000.htm") << 884;
        QTest::newRow("odd sizes") << QSize(1025, 769) << QRect(50, 35, 925, 699)
                                   << QStringLiteral("\\html\\0000.htm") << 885;
    }
    void textbookLaysItselfOutAndOpensItsStartPage() {
        QFETCH(QSize, display);
        QFETCH(QRect, geometry);
        QFETCH(QString, startPage);
        QFETCH(int, barWidth);
        Create(display);
        QVERIFY(!Control<TabcToggleBtn>(Form5, "abcToggleBtn3")->Down());

        Form14->FormActivate();
        QCOMPARE(Form14->geometry(), geometry);
        QVERIFY(Form14->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(Form14->windowFlags().testFlag(Qt::FramelessWindowHint));
        QCOMPARE(Control<QLabel>(Form14, "Image1")->geometry(),
                 QRect(QPoint(0, 0), geometry.size()));
        QCOMPARE(Control<QFrame>(Form14, "Panel1")->geometry(),
                 QRect(18, 18, geometry.width() - 38, geometry.height() - 38));
        QCOMPARE(Control<QComboBox>(Form14, "CBURL")->currentText(), kFolder + startPage);
        QVERIFY(Control<TabcToggleBtn>(Form5, "abcToggleBtn3")->Down());

        // The toolbar: "Печать..." 5 pixels from the right, "Поиск по стр..." left of it, the
        // title picture between the forward button and the search button.
        QCOMPARE(Control<QFrame>(Form14, "CoolBar1")->width(), barWidth);
        QCOMPARE(Control<QToolButton>(Form14, "SpeedButton2")->geometry(),
                 QRect(barWidth - 82, 4, 77, 20));
        QCOMPARE(Control<QToolButton>(Form14, "SpeedButton1")->geometry(),
                 QRect(barWidth - 166, 4, 84, 20));
        QCOMPARE(Control<QLabel>(Form14, "Image2")->geometry(), QRect(218, 0, barWidth - 384, 27));
        QCOMPARE(Control<QToolButton>(Form14, "SpeedButton1")->text(),
                 QStringLiteral("Поиск по стр..."));
        QCOMPARE(Control<QToolButton>(Form14, "SpeedButton2")->text(), QStringLiteral("Печать..."));
        QVERIFY(!Control<QToolButton>(Form14, "ToolButton1")->isEnabled());
        QCOMPARE(ImageIndex(Control<QToolButton>(Form14, "ToolButton1")), 0);
        QVERIFY(!Control<QToolButton>(Form14, "ToolButton2")->isEnabled());
        QCOMPARE(ImageIndex(Control<QToolButton>(Form14, "ToolButton2")), 2);
        for (const char* button : {"ToolButton1", "ToolButton2"}) // their pictures were read
            QCOMPARE(Control<QToolButton>(Form14, button)->icon().availableSizes().value(0),
                     QSize(89, 16));

        // A print button pushed out of place comes back when the browser loses the focus.
        Control<QToolButton>(Form14, "SpeedButton2")->move(0, 4);
        Form14->WebBrowser1Exit();
        QCOMPARE(Control<QToolButton>(Form14, "SpeedButton2")->x(), barWidth - 82);
    }

    void helpButtonHandsItsPageOverOnce() {
        Create(QSize(1024, 768));
        Form2->HelpPage = QStringLiteral("\\html\\012.htm");
        Form2->HelpPageRequested = 1;
        Form14->FormActivate();
        QCOMPARE(Control<QComboBox>(Form14, "CBURL")->currentText(),
                 kFolder + QStringLiteral("\\html\\012.htm"));
        QCOMPARE(Form2->HelpPageRequested, 0);
        Form14->FormActivate();
        QCOMPARE(Control<QComboBox>(Form14, "CBURL")->currentText(),
                 kFolder + QStringLiteral("\\html\\0000.htm"));
    }

    void toolbarStripShowsFromTheSecondCompletedPage() {
        Create(QSize(1024, 768));
        Form14->FormActivate();
        const int browserTop = Control<QFrame>(Form14, "Panel1")->contentsRect().top();

        Form14->WebBrowser1LoadFinished(true);
        QCOMPARE(int(Shell().BookLoadCount), 1);
        QVERIFY(Control<QFrame>(Form14, "Panel2")->isHidden());
        QCOMPARE(Control<QWebEngineView>(Form14, "WebBrowser1")->y(), browserTop);

        Form14->WebBrowser1LoadFinished(false); // an error page completes too
        QCOMPARE(int(Shell().BookLoadCount), 2);
        QVERIFY(!Control<QFrame>(Form14, "Panel2")->isHidden());
        QCOMPARE(Control<QFrame>(Form14, "Panel2")->geometry(),
                 QRect(browserTop, browserTop, Control<QFrame>(Form14, "CoolBar1")->width(), 27));
        QCOMPARE(Control<QWebEngineView>(Form14, "WebBrowser1")->y(), browserTop + 27);
        QCOMPARE(Control<QWebEngineView>(Form14, "WebBrowser1")->geometry().bottom(),
                 Control<QFrame>(Form14, "Panel1")->contentsRect().bottom());

        // "Учебник..." on the start bar starts the count again.
        Form5->abcToggleBtn3Click();
        QCOMPARE(int(Shell().BookLoadCount), 0);
        Form14->WebBrowser1DocumentComplete();
        QVERIFY(Control<QFrame>(Form14, "Panel2")->isHidden());

        // The count has 8 bits.
        Shell().BookLoadCount = 255;
        Form14->WebBrowser1DocumentComplete();
        QCOMPARE(int(Shell().BookLoadCount), 0);
        QVERIFY(Control<QFrame>(Form14, "Panel2")->isHidden());
    }

    void backAndForwardFollowTheHistory() {
        Create(QSize(1024, 768));
        Form14->show();
        Form14->FormActivate();
        for (const char* page : {"0000.htm", "001.htm", "002.htm"})
            QVERIFY(Form14->WebBrowser1BeforeNavigate2(Page(QString::fromLatin1(page))));
        QCOMPARE(Control<QComboBox>(Form14, "CBURL")->count(), 3);
        QCOMPARE(Control<QComboBox>(Form14, "CBURL")->itemText(0), Page(QStringLiteral("002.htm")));
        QVERIFY(Control<QToolButton>(Form14, "ToolButton1")->isEnabled());
        QCOMPARE(ImageIndex(Control<QToolButton>(Form14, "ToolButton1")), 1);
        QVERIFY(!Control<QToolButton>(Form14, "ToolButton2")->isEnabled());

        // Back opens the older page; the browser's report of it changes only the selection.
        QTest::mouseClick(Control<QToolButton>(Form14, "ToolButton1"), Qt::LeftButton);
        QCOMPARE(Control<QComboBox>(Form14, "CBURL")->currentText(),
                 Page(QStringLiteral("001.htm")));
        Form14->WebBrowser1BeforeNavigate2(Page(QStringLiteral("001.htm")));
        QCOMPARE(Control<QComboBox>(Form14, "CBURL")->count(), 3);
        QCOMPARE(Control<QComboBox>(Form14, "CBURL")->currentIndex(), 1);
        QVERIFY(Control<QToolButton>(Form14, "ToolButton2")->isEnabled());
        QCOMPARE(ImageIndex(Control<QToolButton>(Form14, "ToolButton2")), 3);

        QTest::mouseClick(Control<QToolButton>(Form14, "ToolButton1"), Qt::LeftButton);
        Form14->WebBrowser1BeforeNavigate2(Page(QStringLiteral("0000.htm")));
        QVERIFY(!Control<QToolButton>(Form14, "ToolButton1")->isEnabled());
        QCOMPARE(ImageIndex(Control<QToolButton>(Form14, "ToolButton1")), 0);
        QTest::mouseClick(Control<QToolButton>(Form14, "ToolButton2"), Qt::LeftButton);
        QCOMPARE(Control<QComboBox>(Form14, "CBURL")->currentText(),
                 Page(QStringLiteral("001.htm")));
    }

    void videoLinkOpensTheViewer_data() {
        QTest::addColumn<QString>("link");
        QTest::addColumn<bool>("video");
        QTest::addColumn<QString>("returnPage");
        QTest::addColumn<QString>("videoFile");
        QTest::newRow("video link") << Page(QStringLiteral("$film01.avi=012.htm")) << true
                                    << kFolder + QStringLiteral("\\html\\012.htm")
                                    << kFolder + QStringLiteral("\\images\\$film01.avi");
        QTest::newRow("equals sign without a dollar")
            << Page(QStringLiteral("topic=013.htm")) << false
            << kFolder + QStringLiteral("\\html\\013.htm") << QStringLiteral("earlier video");
        QTest::newRow("dollar without an equals sign")
            << Page(QStringLiteral("$clip.avi")) << true << QStringLiteral("earlier page")
            << kFolder + QStringLiteral("\\images\\$clip.avi");
    }
    void videoLinkOpensTheViewer() {
        QFETCH(QString, link);
        QFETCH(bool, video);
        QFETCH(QString, returnPage);
        QFETCH(QString, videoFile);
        Create(QSize(1024, 768));
        Form14->FormActivate();
        Form14->WebBrowser1BeforeNavigate2(Page(QStringLiteral("0000.htm")));
        Shell().ReturnPage = QStringLiteral("earlier page");
        Shell().VideoFile = QStringLiteral("earlier video");
        // The viewer freed itself last time: the textbook makes a new one.
        Shell().RecreateVideoScreen = 1;
        const TForm9* oldViewer = Form9;
        const quint8 loads = Shell().BookLoadCount;

        QCOMPARE(Form14->WebBrowser1BeforeNavigate2(link), !video);
        QCOMPARE(Shell().TextbookUrl, link);
        QCOMPARE(Shell().ReturnPage, returnPage);
        QCOMPARE(Shell().VideoFile, videoFile);
        QCOMPARE(Form14->History().Entries().first(), link);
        if (!video) {
            QVERIFY(Form14->StaysOnTop());
            QCOMPARE(Shell().RecreateVideoScreen, 1);
            QVERIFY(!Form9 || !Form9->isVisible());
            return;
        }

        // The placeholder page replaces the link, the textbook gives up its place on top and a
        // new viewer is shown over it.
        QCOMPARE(Form14->PlaceholderPage(), kFolder + QStringLiteral("\\html\\999.htm"));
        QCOMPARE(Control<QComboBox>(Form14, "CBURL")->currentText(), Form14->PlaceholderPage());
        QVERIFY(!Form14->StaysOnTop());
        QCOMPARE(Shell().RecreateVideoScreen, 0);
        QVERIFY(Form9);
        QVERIFY(Form9 != oldViewer);
        QVERIFY(Form9->isVisible());

        // The end of the dropped navigation is no completed page.
        Form14->WebBrowser1LoadFinished(false);
        QCOMPARE(Shell().BookLoadCount, loads);
        Form14->WebBrowser1BeforeNavigate2(Page(QStringLiteral("999.htm")));
        Form14->WebBrowser1LoadFinished(true);
        QCOMPARE(int(Shell().BookLoadCount), loads + 1);

        // Going back to the link opens it as a page: no second viewer.
        Form9->hide();
        Form14->ToolButton1Click();
        QCOMPARE(Control<QComboBox>(Form14, "CBURL")->currentText(), link);
        QVERIFY(Form14->WebBrowser1BeforeNavigate2(link));
        QVERIFY(!Form9->isVisible());
    }

    void returnPageOutlastsTheActivationAfterTheViewer() {
        Create(QSize(1024, 768));
        Form14->show();
        Form14->FormActivate();
        Form14->WebBrowser1BeforeNavigate2(Page(QStringLiteral("$film01.avi=012.htm")));
        QVERIFY(!Form14->StaysOnTop());

        Form14->ShowReturnPage(Shell().ReturnPage);
        QVERIFY(Form14->StaysOnTop());
        QVERIFY(Form14->isVisible());
        QCOMPARE(Control<QComboBox>(Form14, "CBURL")->currentText(),
                 kFolder + QStringLiteral("\\html\\012.htm"));
        Form14->FormActivate();
        QCOMPARE(Control<QComboBox>(Form14, "CBURL")->currentText(),
                 kFolder + QStringLiteral("\\html\\012.htm"));
        Form14->FormActivate();
        QCOMPARE(Control<QComboBox>(Form14, "CBURL")->currentText(),
                 kFolder + QStringLiteral("\\html\\0000.htm"));
    }

    void returningFromAnotherApplicationOrANoticeKeepsThePage() {
        Create(QSize(1024, 768));
        Form5->show();
        Form14->show();
        SetActiveWindow(Form14);
        QCOMPARE(Control<QComboBox>(Form14, "CBURL")->currentText(),
                 kFolder + QStringLiteral("\\html\\0000.htm"));
        Form14->WebBrowser1BeforeNavigate2(Page(QStringLiteral("003.htm")));

        SetActiveWindow(nullptr); // another application
        SetActiveWindow(Form14);
        QCOMPARE(Control<QComboBox>(Form14, "CBURL")->currentText(),
                 Page(QStringLiteral("003.htm")));

        // A notice (a refused link, no printer) belongs to no screen; after its OK the page stays.
        QMessageBox notice;
        notice.show();
        SetActiveWindow(&notice);
        notice.hide();
        SetActiveWindow(Form14);
        QCOMPARE(Control<QComboBox>(Form14, "CBURL")->currentText(),
                 Page(QStringLiteral("003.htm")));

        // Another screen of the program between the two: the textbook starts anew.
        notice.show();
        SetActiveWindow(&notice);
        SetActiveWindow(Form5);
        SetActiveWindow(Form14);
        QCOMPARE(Control<QComboBox>(Form14, "CBURL")->currentText(),
                 kFolder + QStringLiteral("\\html\\0000.htm"));

        // A help page handed over by the training screen stays after a notice as well.
        Form2->HelpPage = QStringLiteral("\\html\\012.htm");
        Form2->HelpPageRequested = 1;
        SetActiveWindow(Form5);
        SetActiveWindow(Form14);
        SetActiveWindow(&notice);
        SetActiveWindow(Form14);
        QCOMPARE(Control<QComboBox>(Form14, "CBURL")->currentText(),
                 kFolder + QStringLiteral("\\html\\012.htm"));
    }

    void printGoesToPrintersOnly() {
        Create(QSize(1024, 768));
        // No printer installed: a notice, and no dialog that could name a file.
        SetInstalledPrintersForTesting(QStringList{});
        MessageRecorder messages;
        bool dialogShown = false;
        QTimer::singleShot(0, this, [&] {
            if (auto* dialog = Form14->findChild<QPrintDialog*>()) {
                dialogShown = true;
                dialog->reject();
            }
        });
        Form14->show();
        QTest::mouseClick(Control<QToolButton>(Form14, "SpeedButton2"), Qt::LeftButton);
        QVERIFY(!dialogShown);
        QCOMPARE(messages.messages,
                 QStringList{QStringLiteral("Принтер не установлен. Печать невозможна.")});

        // A printer: the dialog offers printers, never printing to a file.
        SetInstalledPrintersForTesting(QStringList{QStringLiteral("Кабинет 214")});
        messages.clear();
        QStringList offered;
        bool toFile = true;
        QTimer::singleShot(0, this, [&] {
            auto* dialog = Form14->findChild<QPrintDialog*>();
            if (dialog == nullptr)
                return;
            toFile = dialog->testOption(QAbstractPrintDialog::PrintToFile);
            for (const QComboBox* box : dialog->findChildren<QComboBox*>())
                for (int i = 0; i < box->count(); ++i)
                    offered << box->itemText(i);
            dialog->reject();
        });
        Form14->SpeedButton2Click();
        SetInstalledPrintersForTesting(std::nullopt);
        QVERIFY(!toFile);
        QVERIFY2(offered.filter(QStringLiteral("PDF")).isEmpty(), qPrintable(offered.join(u'|')));
        QVERIFY2(offered.filter(QStringLiteral("файл"), Qt::CaseInsensitive).isEmpty(),
                 qPrintable(offered.join(u'|')));
        QCOMPARE(messages.messages, QStringList{});
    }

    void helpScreenOpensItsIndexOnEveryActivation_data() {
        QTest::addColumn<QSize>("display");
        QTest::addColumn<QRect>("geometry");
        QTest::newRow("800x600") << QSize(800, 600) << QRect(10, 35, 781, 530);
        QTest::newRow("1024x768") << QSize(1024, 768) << QRect(50, 35, 924, 698);
    }
    void helpScreenOpensItsIndexOnEveryActivation() {
        QFETCH(QSize, display);
        QFETCH(QRect, geometry);
        Create(display);
        Form7->FormActivate();
        QCOMPARE(Form7->geometry(), geometry);
        QVERIFY(Form7->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(Form7->windowFlags().testFlag(Qt::FramelessWindowHint));
        QCOMPARE(Control<QFrame>(Form7, "Panel1")->geometry(),
                 QRect(18, 18, geometry.width() - 38, geometry.height() - 38));
        QCOMPARE(Control<QFrame>(Form7, "Panel1")->palette().color(QPalette::Window),
                 QColor(0x00, 0x00, 0x80));
        QCOMPARE(Control<QWebEngineView>(Form7, "WebBrowser1")->geometry(),
                 Control<QFrame>(Form7, "Panel1")->contentsRect());
        const QUrl index = QUrl::fromLocalFile(kFolder + QStringLiteral("/helphtml/index.htm"));
        QCOMPARE(Form7->OpenedPage(), index);
    }

    void creditsScreenSitsCentredAndGoesBackToTheMenu_data() {
        QTest::addColumn<QSize>("display");
        QTest::addColumn<QPoint>("position");
        QTest::newRow("1024x768") << QSize(1024, 768) << QPoint(109, 122);
        QTest::newRow("800x600") << QSize(800, 600) << QPoint(-3, 38);
    }
    void creditsScreenSitsCentredAndGoesBackToTheMenu() {
        QFETCH(QSize, display);
        QFETCH(QPoint, position);
        Create(display);
        Form3->move(0, 0);
        Form3->FormActivate();
        QCOMPARE(Form3->geometry(), QRect(position, QSize(806, 525)));
        QCOMPARE(Control<QFrame>(Form3, "Panel1")->geometry(), QRect(3, 3, 800, 519));
        QVERIFY(Form3->windowFlags().testFlag(Qt::FramelessWindowHint));
        QCOMPARE(Form3->palette().color(QPalette::Window), QColor(0xDD, 0xEF, 0xFF));

        QCOMPARE(Control<TabcMultilineLabel>(Form3, "abcMultilineLabel1")->Lines(),
                 QStringList{QStringLiteral("Разработчики")});
        QCOMPARE(Control<TabcMultilineLabel>(Form3, "abcMultilineLabel2")->Lines(),
                 QStringList{QStringLiteral("Технический редактор :")});
        QCOMPARE(Control<TabcFrame>(Form3, "abcFrame1")->geometry(), QRect(288, 24, 257, 33));
        QCOMPARE(Control<TabcFrame>(Form3, "abcFrame1")->CornerWidth(), 5);
        QCOMPARE(Control<QPushButton>(Form3, "BitBtn1")->text(), QStringLiteral("Закрыть"));
        QCOMPARE(Control<QPushButton>(Form3, "BitBtn1")->geometry(), QRect(616, 464, 107, 25));

        // Four pictures of 81 x 97, each with a name under it; nothing leaves the panel or
        // overlaps another caption.
        const QList<QLabel*> pictures = Numbered(Form3, "Image");
        const QList<QLabel*> captions = Numbered(Form3, "Label");
        QCOMPARE(pictures.size(), 4);
        for (const QLabel* picture : pictures)
            QCOMPARE(picture->size(), QSize(81, 97));
        const QRect inside = Control<TabcBackground>(Form3, "abcBackground1")->geometry();
        QVERIFY(captions.size() >= 4 * 2);
        for (int i = 0; i < captions.size(); ++i) {
            const QLabel* caption = captions.at(i);
            QVERIFY2(inside.contains(caption->geometry()), qPrintable(caption->text()));
            QVERIFY(caption->fontMetrics().horizontalAdvance(caption->text()) <= caption->width());
            for (int j = i + 1; j < captions.size(); ++j)
                QVERIFY(!caption->geometry().intersects(captions.at(j)->geometry()));
        }

        form12->hide();
        Form3->ShowModal();
        QVERIFY(Form3->isVisible());
        for (const QLabel* picture : pictures) // read once shown
            QCOMPARE(picture->pixmap().size(), QSize(81, 97));
        QTest::mouseClick(Control<QPushButton>(Form3, "BitBtn1"), Qt::LeftButton);
        QVERIFY(!Form3->isVisible());
        QVERIFY(form12->isVisible());
    }

    // The keyboard's ways out: Escape puts the help away for the textbook, closes the credits
    // (Return too: the focus on the screen's one button or not) and leaves the video viewer by
    // "Выход", whose buttons Tab reaches.
    void keysLeaveTheScreens_data() {
        QTest::addColumn<QString>("screen");
        QTest::addColumn<int>("key");
        QTest::newRow("help, Escape") << QStringLiteral("help") << int(Qt::Key_Escape);
        QTest::newRow("credits, Escape") << QStringLiteral("credits") << int(Qt::Key_Escape);
        QTest::newRow("credits, Return") << QStringLiteral("credits") << int(Qt::Key_Return);
        QTest::newRow("viewer, Escape") << QStringLiteral("viewer") << int(Qt::Key_Escape);
    }
    void keysLeaveTheScreens() {
        QFETCH(QString, screen);
        QFETCH(int, key);
        Create(QSize(1024, 768));
        QPointer<QWidget> left;
        QWidget* back = Form14;
        if (screen == QStringLiteral("help")) {
            Form7->ShowScreen();
            Form7->FormActivate();
            left = Form7;
        } else if (screen == QStringLiteral("credits")) {
            form12->ShowScreen();
            Form3->ShowModal();
            Form3->FormActivate();
            left = Form3;
            back = form12;
        } else {
            Form14->show();
            Form14->FormActivate();
            QVERIFY(
                !Form14->WebBrowser1BeforeNavigate2(Page(QStringLiteral("$film01.avi=012.htm"))));
            QVERIFY(Form9 && Form9->isVisible());
            left = Form9;
        }
        SetActiveWindow(left);
        if (screen == QStringLiteral("viewer")) {
            QTest::keyClick(left, Qt::Key_Tab);
            QVERIFY(qobject_cast<QToolButton*>(QApplication::focusWidget()));
        }
        QTest::keyClick(left->focusWidget() ? left->focusWidget() : left.data(), Qt::Key(key));
        QVERIFY(!left || !left->isVisible());
        QVERIFY(back->isVisible());
    }

    // The textbook's strip from the keyboard: Alt+Left and Alt+Right go through the history as
    // "Назад" and "Вперед" do, Ctrl+F opens the search.
    void textbookStripKeys() {
        Create(QSize(1024, 768));
        Form14->show();
        Form14->FormActivate();
        Form14->WebBrowser1LoadFinished(true);
        Form14->WebBrowser1LoadFinished(true); // the strip shows from the second page on
        SetActiveWindow(Form14);
        for (const char* page : {"0000.htm", "001.htm", "002.htm"})
            QVERIFY(Form14->WebBrowser1BeforeNavigate2(Page(QString::fromLatin1(page))));
        auto* url = Control<QComboBox>(Form14, "CBURL");
        QTest::keyClick(Form14, Qt::Key_Left, Qt::AltModifier);
        QCOMPARE(url->currentText(), Page(QStringLiteral("001.htm")));
        Form14->WebBrowser1BeforeNavigate2(Page(QStringLiteral("001.htm")));
        QTest::keyClick(Form14, Qt::Key_Right, Qt::AltModifier);
        QCOMPARE(url->currentText(), Page(QStringLiteral("002.htm")));
        QVERIFY(!Form14->FindDialog());
        Control<QWebEngineView>(Form14, "WebBrowser1")->setUrl(QUrl(QStringLiteral("about:blank")));
        QTest::keyClick(Form14, Qt::Key_F, Qt::ControlModifier);
        QVERIFY(Form14->FindDialog() && Form14->FindDialog()->isVisible());
    }
};

QTEST_MAIN(TestMaterialsScreens)
#include "tst_materials_screens.moc"
