// The textbook with the real browser engine: pages of a course folder open, count and show the
// toolbar strip, the find dialog finds Windows-1251 text, and a video link puts the placeholder
// page in place of the link.

#include "app/startup.h"
#include "app/test.h"
#include "fake_media_player.h"
#include "materials/test94.h"
#include "materials/test99.h"
#include "platform/fonts.h"
#include "test_support.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QToolButton>
#include <QWebEngineFindTextResult>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <QtTest>

namespace {

void WritePage(const QString& path, const QStringList& body) {
    QStringList lines = {QStringLiteral("<html><head>"),
                         QStringLiteral("<meta http-equiv=\"Content-Type\" "
                                        "content=\"text/html; charset=windows-1251\">"),
                         QStringLiteral("</head><body>")};
    lines += body;
    lines += QStringLiteral("</body></html>");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QVERIFY(file.write(Cp1251File(lines)) > 0);
}

// Waits for the next completed load of the textbook's browser (an event wait, not a clock).
bool NextLoad(QSignalSpy& spy) {
    return spy.wait(30000);
}

} // namespace

class TestTextbookBrowser : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() {
        QApplication::setQuitOnLastWindowClosed(false);
        InstallFontSubstitutions();
        FakeMediaPlayer::Install();
    }

    void cleanupTestCase() { FakeMediaPlayer::Uninstall(); }

    void opensCountsFindsAndHandsVideoLinksOver() {
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        QVERIFY(QDir(folder.path()).mkpath(QStringLiteral("html")));
        const QString html = folder.path() + QStringLiteral("/html/");
        WritePage(html + QStringLiteral("0000.htm"),
                  {QStringLiteral("<p>Оглавление</p>"),
                   QStringLiteral("<a id=\"next\" href=\"001.htm\">Глава 1</a>")});
        WritePage(html + QStringLiteral("001.htm"),
                  {QStringLiteral("<p>Разминка перед стартом. Учебник спринтера.</p>"),
                   QStringLiteral("<a id=\"film\" href=\"$film01.avi=012.htm\">Старт</a>")});
        WritePage(html + QStringLiteral("999.htm"), {QStringLiteral("<p>Видеофрагмент</p>")});

        DisplayOverride display(QSize(1024, 768));
        CreateScreens();
        Shell().ProgramFolder = folder.path();
        QSignalSpy loads(Form14->WebBrowser1, &QWebEngineView::loadFinished);

        // The start page, shown at the end of the splash, comes without the toolbar strip. The
        // screen opens it when the window system activates it.
        Form14->ShowScreen();
        QVERIFY(NextLoad(loads));
        QCOMPARE(loads.last().at(0).toBool(), true);
        QCOMPARE(int(Shell().BookLoadCount), 1);
        QVERIFY(Form14->Panel2->isHidden());
        QCOMPARE(Form14->History().Entries(), QStringList{html + QStringLiteral("0000.htm")});

        // A link followed in the page: recorded, counted, and now the strip is there.
        Form14->WebBrowser1->page()->runJavaScript(
            QStringLiteral("document.getElementById('next').click()"));
        QVERIFY(NextLoad(loads));
        QCOMPARE(Form14->WebBrowser1->url(), QUrl::fromLocalFile(html + QStringLiteral("001.htm")));
        QCOMPARE(int(Shell().BookLoadCount), 2);
        QVERIFY(!Form14->Panel2->isHidden());
        QCOMPARE(Form14->History().Entries().size(), 2);
        QVERIFY(Form14->ToolButton1->isEnabled());

        // Find in the page: the text is read in its code page.
        Form14->SpeedButton1Click();
        QVERIFY(Form14->FindDialog() != nullptr);
        QVERIFY(Form14->FindDialog()->isVisible());
        QSignalSpy found(Form14->WebBrowser1->page(), &QWebEnginePage::findTextFinished);
        Form14->FindDialog()->FindText->setText(QStringLiteral("учебник"));
        Form14->FindDialog()->FindNextClick();
        QVERIFY(found.wait(30000));
        QCOMPARE(found.last().at(0).value<QWebEngineFindTextResult>().numberOfMatches(), 1);
        Form14->FindDialog()->hide();

        // A video link: the placeholder page takes its place, the viewer opens above.
        const int before = Shell().BookLoadCount;
        loads.clear();
        Form14->WebBrowser1->page()->runJavaScript(
            QStringLiteral("document.getElementById('film').click()"));
        while (Form14->WebBrowser1->url() != QUrl::fromLocalFile(html + QStringLiteral("999.htm")))
            QVERIFY(NextLoad(loads));
        QVERIFY(Form9 && Form9->isVisible());
        QVERIFY(!Form14->StaysOnTop());
        QCOMPARE(Shell().ReturnPage, folder.path() + QStringLiteral("\\html\\012.htm"));
        QCOMPARE(Shell().VideoFile, folder.path() + QStringLiteral("\\images\\$film01.avi"));
        // Only the placeholder page completed: the dropped link is no page of its own.
        QCOMPARE(int(Shell().BookLoadCount), before + 1);
        QCOMPARE(Form14->History().Entries().first(), html + QStringLiteral("999.htm"));
        QCOMPARE(Form14->History().Entries().at(1), html + QStringLiteral("$film01.avi=012.htm"));

        DestroyScreens();
    }
};

int main(int argc, char* argv[]) {
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    TestTextbookBrowser test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_textbook_browser.moc"
