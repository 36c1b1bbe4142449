// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The textbook with the real browser engine: pages of a course folder open, count and show the
// toolbar strip, the find dialog finds Windows-1251 text, and a video link puts the placeholder
// page in place of the link.

#include "app/test.h"
#include "fake_media_player.h"
#include "materials/test7.h"
#include "materials/test94.h"
#include "materials/test99.h"
#include "materials/textbook_links.h"
#include "platform/russian_ui.h"
#include "screens_fixture.h"

#include <QApplication>
#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QToolButton>
#include <QWebEngineFindTextResult>
#include <QWebEngineLoadingInfo>
#include <QWebEnginePage>
#include <QWebEngineProfile>
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

// Stands in for the desktop's opener: every address handed to it is recorded.
class FakeOpener : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public Q_SLOTS:
    void open(const QUrl& url) { opened << url; }
};

// A page whose one link covers the whole view, so that a click anywhere follows it.
QStringList LinkPage(const QString& href, const QString& attributes) {
    return {QStringLiteral("<a id=\"link\" href=\"%1\" %2 style=\"position:fixed;left:0;top:0;"
                           "right:0;bottom:0\">Ссылка</a>")
                .arg(href, attributes)};
}

void Click(QWebEngineView* view) {
    QWidget* target = view->focusProxy() != nullptr ? view->focusProxy() : view;
    QTest::mouseClick(target, Qt::LeftButton, {}, target->rect().center());
}

// Clicks the link until the notice comes: a renderer that has not yet drawn the page drops the
// first clicks on a busy machine. Every notice shown must be the expected one.
bool ClickUntilNotice(QWebEngineView* view, const QStringList& messages, const QString& notice) {
    for (int attempt = 0; attempt < 15 && messages.isEmpty(); ++attempt) {
        Click(view);
        for (int wait = 0; wait < 20 && messages.isEmpty(); ++wait)
            QTest::qWait(100);
    }
    return !messages.isEmpty() && messages.count(notice) == messages.size();
}

} // namespace

class TestTextbookBrowser : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { PrepareScreenTests(MediaPlayers::Fake); }

    void cleanupTestCase() { FakeMediaPlayer::Uninstall(); }

    void anchorJumpsGoIntoTheHistory() {
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        QVERIFY(QDir(folder.path()).mkpath(QStringLiteral("html")));
        const QString html = folder.path() + QStringLiteral("/html/");
        WritePage(html + QStringLiteral("0000.htm"),
                  {QStringLiteral("<a id=\"down\" href=\"#part2\">Часть 2</a>"),
                   QStringLiteral("<div style=\"height:3000px\"></div>"),
                   QStringLiteral("<p id=\"part2\">Часть 2</p>"),
                   QStringLiteral("<div style=\"height:3000px\"></div>")});
        ScreensFixture screens;
        Shell().ProgramFolder = folder.path();
        QSignalSpy loads(Control<QWebEngineView>(Form14, "WebBrowser1"),
                         &QWebEngineView::loadFinished);
        Form14->ShowScreen();
        QVERIFY(NextLoad(loads));
        const QString page = html + QStringLiteral("0000.htm");
        QSignalSpy urls(Control<QWebEngineView>(Form14, "WebBrowser1"),
                        &QWebEngineView::urlChanged);
        auto waitFor = [&](const QString& address) {
            while (Control<QWebEngineView>(Form14, "WebBrowser1")->url() != AddressUrl(address))
                if (!urls.wait(30000))
                    return false;
            return true;
        };

        // The jump inside the page is a step of the history like any link.
        Control<QWebEngineView>(Form14, "WebBrowser1")
            ->page()
            ->runJavaScript(QStringLiteral("document.getElementById('down').click()"));
        QVERIFY(waitFor(page + QStringLiteral("#part2")));
        QCOMPARE(Form14->History().Entries(), (QStringList{page + QStringLiteral("#part2"), page}));
        QVERIFY(Control<QToolButton>(Form14, "ToolButton1")->isEnabled());

        // Back returns to the page as the reader left it, forward to the part again.
        Form14->ToolButton1Click();
        QVERIFY(waitFor(page));
        QVERIFY(!Control<QToolButton>(Form14, "ToolButton1")->isEnabled());
        QVERIFY(Control<QToolButton>(Form14, "ToolButton2")->isEnabled());
        Form14->ToolButton2Click();
        QVERIFY(waitFor(page + QStringLiteral("#part2")));
        QCOMPARE(Form14->History().Entries().size(), 2);
        QVERIFY(Control<QToolButton>(Form14, "ToolButton1")->isEnabled());
        QVERIFY(!Control<QToolButton>(Form14, "ToolButton2")->isEnabled());
    }

    void missingPageShowsTheEnginesErrorPageInRussian() {
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        QVERIFY(QDir(folder.path()).mkpath(QStringLiteral("html")));
        ScreensFixture screens;
        Shell().ProgramFolder = folder.path();
        QSignalSpy loads(Control<QWebEngineView>(Form14, "WebBrowser1"),
                         &QWebEngineView::loadFinished);
        MessageRecorder notices;
        Form14->ShowScreen(); // the start page is missing too
        QVERIFY(NextLoad(loads));
        QCOMPARE(Form14->History().Entries(),
                 QStringList{folder.path() + QStringLiteral("/html/0000.htm")});
        QString text;
        Control<QWebEngineView>(Form14, "WebBrowser1")
            ->page()
            ->toPlainText([&text](const QString& shown) { text = shown; });
        QTRY_VERIFY_WITH_TIMEOUT(!text.isEmpty(), 30000);
        QVERIFY2(text.contains(QRegularExpression(QStringLiteral("[а-яА-Я]{4}"))),
                 qPrintable(text));
        QCOMPARE(notices.messages, QStringList{});
    }

    void helpPagesKeepToTheirFolder() {
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        QVERIFY(QDir(folder.path()).mkpath(QStringLiteral("helphtml")));
        const QString index = folder.path() + QStringLiteral("/helphtml/index.htm");
        WritePage(index, LinkPage(QStringLiteral("file:///etc/passwd"), QString()));
        ScreensFixture screens;
        Shell().ProgramFolder = folder.path();
        Form7->BuildBrowser(); // otherwise made when the help is first shown
        QSignalSpy loads(Control<QWebEngineView>(Form7, "WebBrowser1"),
                         &QWebEngineView::loadFinished);
        Form7->ShowScreen();
        QVERIFY(NextLoad(loads));
        MessageRecorder notices;
        QVERIFY2(
            ClickUntilNotice(Control<QWebEngineView>(Form7, "WebBrowser1"), notices.messages,
                             QStringLiteral("Ссылка ведет за пределы справки и не открывается.")),
            qPrintable(notices.messages.join(u'|')));
        QCOMPARE(Control<QWebEngineView>(Form7, "WebBrowser1")->url(), QUrl::fromLocalFile(index));
    }

    void refusesLinksThatLeaveTheTextbook_data() {
        QTest::addColumn<QString>("href");
        QTest::addColumn<QString>("attributes");
        QTest::newRow("system file") << QStringLiteral("file:///etc/passwd") << QString();
        QTest::newRow("disk") << QStringLiteral("file:///") << QString();
        QTest::newRow("result file") << QStringLiteral("../otchet/data1/a.txt") << QString();
        QTest::newRow("help page") << QStringLiteral("../helphtml/index.htm") << QString();
        QTest::newRow("http") << QStringLiteral("http://example.com/") << QString();
        QTest::newRow("https") << QStringLiteral("https://example.com/") << QString();
        QTest::newRow("ftp") << QStringLiteral("ftp://example.com/file") << QString();
        QTest::newRow("mailto") << QStringLiteral("mailto:teacher@example.com") << QString();
        QTest::newRow("javascript")
            << QStringLiteral("javascript:location.href='file:///etc/passwd'") << QString();
        QTest::newRow("data") << QStringLiteral("data:text/html,<p>page</p>") << QString();
        QTest::newRow("unknown scheme") << QStringLiteral("coursetest://open") << QString();
        QTest::newRow("download") << QStringLiteral("notes.zip") << QString();
        QTest::newRow("download of a page")
            << QStringLiteral("001.htm") << QStringLiteral("download");
        QTest::newRow("new window outside")
            << QStringLiteral("file:///etc/passwd") << QStringLiteral("target=\"_blank\"");
        QTest::newRow("mail in a new window")
            << QStringLiteral("mailto:teacher@example.com") << QStringLiteral("target=\"_blank\"");
    }
    void refusesLinksThatLeaveTheTextbook() {
        QFETCH(QString, href);
        QFETCH(QString, attributes);
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        const QDir course(folder.path());
        for (const char* sub : {"html", "helphtml", "otchet/data1", "downloads"})
            QVERIFY(course.mkpath(QString::fromLatin1(sub)));
        const QString html = folder.path() + QStringLiteral("/html/");
        WritePage(html + QStringLiteral("0000.htm"), LinkPage(href, attributes));
        WritePage(html + QStringLiteral("001.htm"), {QStringLiteral("<p>Глава 1</p>")});
        WritePage(folder.path() + QStringLiteral("/helphtml/index.htm"),
                  {QStringLiteral("<p>Справка</p>")});
        QFile zip(html + QStringLiteral("notes.zip"));
        QVERIFY(zip.open(QIODevice::WriteOnly));
        QVERIFY(zip.write(QByteArray("PK\x05\x06", 4) + QByteArray(18, '\0')) > 0);
        zip.close();

        // Every way out that the desktop offers is watched: its opener and a fake program
        // called by that name first on the search path.
        FakeOpener opener;
        const QStringList schemes = {QStringLiteral("file"),       QStringLiteral("http"),
                                     QStringLiteral("https"),      QStringLiteral("ftp"),
                                     QStringLiteral("mailto"),     QStringLiteral("data"),
                                     QStringLiteral("javascript"), QStringLiteral("coursetest")};
        for (const QString& scheme : schemes)
            QDesktopServices::setUrlHandler(scheme, &opener, "open");
        const QString launched = folder.path() + QStringLiteral("/launched");
        QFile fake(folder.path() + QStringLiteral("/xdg-open"));
        QVERIFY(fake.open(QIODevice::WriteOnly));
        fake.write(QStringLiteral("#!/bin/sh\necho \"$@\" >> '%1'\n").arg(launched).toUtf8());
        fake.close();
        fake.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", folder.path().toUtf8() + ':' + path);

        ScreensFixture screens;
        Shell().ProgramFolder = folder.path();
        QWebEngineProfile* profile =
            Control<QWebEngineView>(Form14, "WebBrowser1")->page()->profile();
        profile->setDownloadPath(folder.path() + QStringLiteral("/downloads"));
        QSignalSpy loads(Control<QWebEngineView>(Form14, "WebBrowser1"),
                         &QWebEngineView::loadFinished);
        Form14->ShowScreen();
        QVERIFY(NextLoad(loads));
        const QUrl start = QUrl::fromLocalFile(html + QStringLiteral("0000.htm"));
        QCOMPARE(Control<QWebEngineView>(Form14, "WebBrowser1")->url(), start);
        const QStringList history = Form14->History().Entries();

        MessageRecorder notices;
        QVERIFY2(
            ClickUntilNotice(Control<QWebEngineView>(Form14, "WebBrowser1"), notices.messages,
                             QStringLiteral("Ссылка ведет за пределы учебника и не открывается.")),
            qPrintable(notices.messages.join(u'|')));

        // The page stays, the history is as it was, nothing was started or written.
        QCOMPARE(Control<QWebEngineView>(Form14, "WebBrowser1")->url(), start);
        QCOMPARE(Form14->History().Entries(), history);
        QCOMPARE(opener.opened, QList<QUrl>{});
        QVERIFY(!QFile::exists(launched));
        QCOMPARE(QDir(folder.path() + QStringLiteral("/downloads"))
                     .entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
                 QStringList{});

        qputenv("PATH", path);
        for (const QString& scheme : schemes)
            QDesktopServices::unsetUrlHandler(scheme);
    }

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

        ScreensFixture screens;
        Shell().ProgramFolder = folder.path();
        QSignalSpy loads(Control<QWebEngineView>(Form14, "WebBrowser1"),
                         &QWebEngineView::loadFinished);

        // The start page, shown at the end of the splash, comes without the toolbar strip. The
        // screen opens it when the window system activates it.
        Form14->ShowScreen();
        QVERIFY(NextLoad(loads));
        QCOMPARE(loads.last().at(0).toBool(), true);
        QCOMPARE(int(Shell().BookLoadCount), 1);
        QVERIFY(Control<QFrame>(Form14, "Panel2")->isHidden());
        QCOMPARE(Form14->History().Entries(), QStringList{html + QStringLiteral("0000.htm")});

        // A link followed in the page: recorded, counted, and now the strip is there.
        Control<QWebEngineView>(Form14, "WebBrowser1")
            ->page()
            ->runJavaScript(QStringLiteral("document.getElementById('next').click()"));
        QVERIFY(NextLoad(loads));
        QCOMPARE(Control<QWebEngineView>(Form14, "WebBrowser1")->url(),
                 QUrl::fromLocalFile(html + QStringLiteral("001.htm")));
        QCOMPARE(int(Shell().BookLoadCount), 2);
        QVERIFY(!Control<QFrame>(Form14, "Panel2")->isHidden());
        QCOMPARE(Form14->History().Entries().size(), 2);
        QVERIFY(Control<QToolButton>(Form14, "ToolButton1")->isEnabled());

        // Find in the page: the text is read in its code page.
        Form14->SpeedButton1Click();
        QVERIFY(Form14->FindDialog() != nullptr);
        QVERIFY(Form14->FindDialog()->isVisible());
        QSignalSpy found(Control<QWebEngineView>(Form14, "WebBrowser1")->page(),
                         &QWebEnginePage::findTextFinished);
        Control<QLineEdit>(Form14->FindDialog(), "FindText")->setText(QStringLiteral("учебник"));
        Form14->FindDialog()->FindNextClick();
        QVERIFY(found.wait(30000));
        QCOMPARE(found.last().at(0).value<QWebEngineFindTextResult>().numberOfMatches(), 1);
        Form14->FindDialog()->hide();

        // A video link: the placeholder page takes its place, the viewer opens above.
        const int before = Shell().BookLoadCount;
        loads.clear();
        Control<QWebEngineView>(Form14, "WebBrowser1")
            ->page()
            ->runJavaScript(QStringLiteral("document.getElementById('film').click()"));
        while (Control<QWebEngineView>(Form14, "WebBrowser1")->url() !=
               QUrl::fromLocalFile(html + QStringLiteral("999.htm")))
            QVERIFY(NextLoad(loads));
        QVERIFY(Form9 && Form9->isVisible());
        QVERIFY(!Form14->StaysOnTop());
        QCOMPARE(Shell().ReturnPage, folder.path() + QStringLiteral("\\html\\012.htm"));
        QCOMPARE(Shell().VideoFile, folder.path() + QStringLiteral("\\images\\$film01.avi"));
        // Only the placeholder page completed: the dropped link is no page of its own.
        QCOMPARE(int(Shell().BookLoadCount), before + 1);
        QCOMPARE(Form14->History().Entries().first(), html + QStringLiteral("999.htm"));
        QCOMPARE(Form14->History().Entries().at(1), html + QStringLiteral("$film01.avi=012.htm"));
    }
};

int main(int argc, char* argv[]) {
    PrepareWebEngineStartUp();
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    InstallRussianTranslations();
    TestTextbookBrowser test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_textbook_browser.moc"
