// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The textbook's reading of page addresses (video links, return pages) and its page history.

#include "materials/page_history.h"
#include "materials/textbook_links.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestTextbookLinks : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void interpretsAddresses_data() {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("returnPage"); // empty: none
        QTest::addColumn<QString>("videoFile");  // empty: none

        const QString course = QStringLiteral("/home/student/course");
        QTest::newRow("video link from a page in html")
            << course << course + QStringLiteral("/html/$film01.avi=012.htm")
            << course + QStringLiteral("\\html\\012.htm")
            << course + QStringLiteral("\\images\\$film01.avi");
        QTest::newRow("backslash address")
            << QStringLiteral("C:\\kurs") << QStringLiteral("C:\\kurs\\html\\$film01.avi=012.htm")
            << QStringLiteral("C:\\kurs\\html\\012.htm")
            << QStringLiteral("C:\\kurs\\images\\$film01.avi");
        QTest::newRow("full file address")
            << course << QStringLiteral("file:///home/student/course/html/$lap.avi=020.htm")
            << course + QStringLiteral("\\html\\020.htm")
            << course + QStringLiteral("\\images\\$lap.avi");
        QTest::newRow("text before the dollar")
            << course << course + QStringLiteral("/html/see$start02.avi=013.htm")
            << course + QStringLiteral("\\html\\013.htm")
            << course + QStringLiteral("\\images\\$start02.avi");
        QTest::newRow("equals sign without a dollar")
            << course << course + QStringLiteral("/html/topic=014.htm")
            << course + QStringLiteral("\\html\\014.htm") << QString();
        QTest::newRow("dollar without an equals sign")
            << course << course + QStringLiteral("/html/$clip.avi") << QString()
            << course + QStringLiteral("\\images\\$clip.avi");
        QTest::newRow("ordinary page")
            << course << course + QStringLiteral("/html/012.htm") << QString() << QString();
        QTest::newRow("dollar only in a folder")
            << course << QStringLiteral("/home/$old/html/012.htm") << QString() << QString();
        QTest::newRow("equals sign as the last character is not examined")
            << course << course + QStringLiteral("/html/$clip.avi=") << QString()
            << course + QStringLiteral("\\images\\$clip.avi=");
        QTest::newRow("no separator and no equals sign")
            << course << QStringLiteral("$clip.avi") << QString() << QString();
        QTest::newRow("no separator but an equals sign")
            << course << QStringLiteral("$clip.avi=015.htm")
            << course + QStringLiteral("\\html\\015.htm")
            << course + QStringLiteral("\\images\\$clip.avi");
        QTest::newRow("Cyrillic names")
            << course << course + QStringLiteral("/html/$бег.avi=старт.htm")
            << course + QStringLiteral("\\html\\старт.htm")
            << course + QStringLiteral("\\images\\$бег.avi");
    }

    void interpretsAddresses() {
        QFETCH(QString, folder);
        QFETCH(QString, address);
        QFETCH(QString, returnPage);
        QFETCH(QString, videoFile);

        const AddressInterpretation link = InterpretAddress(address, folder);
        QCOMPARE(link.returnPage.value_or(QString()), returnPage);
        QCOMPARE(link.returnPage.has_value(), !returnPage.isEmpty());
        QCOMPARE(link.videoFile.value_or(QString()), videoFile);
        QCOMPARE(link.videoFile.has_value(), !videoFile.isEmpty());
        // The page path is the return page when there is one, else the program folder.
        QCOMPARE(link.pagePath, returnPage.isEmpty() ? folder : returnPage);
    }

    void convertsBetweenAddressesAndText() {
        const QUrl video = QUrl::fromLocalFile(QStringLiteral("/course/html/$film01.avi=012.htm"));
        QCOMPARE(AddressText(video), QStringLiteral("/course/html/$film01.avi=012.htm"));
        QCOMPARE(AddressUrl(AddressText(video)), video);

        // The program's own literals use "\"; a part after "#" is a place in the page.
        QCOMPARE(AddressUrl(QStringLiteral("/course\\html\\012.htm")),
                 QUrl::fromLocalFile(QStringLiteral("/course/html/012.htm")));
        QUrl part = QUrl::fromLocalFile(QStringLiteral("/course/html/012.htm"));
        part.setFragment(QStringLiteral("бег"));
        QCOMPARE(AddressText(part), QStringLiteral("/course/html/012.htm#бег"));
        QCOMPARE(AddressUrl(QStringLiteral("/course\\html\\012.htm#бег")), part);

        const QUrl web(QStringLiteral("https://example.org/a?b=c"));
        QCOMPARE(AddressText(web), web.toString());
        QCOMPARE(AddressUrl(web.toString()), web);
        // A drive letter is not a scheme.
        QVERIFY(AddressUrl(QStringLiteral("C:\\kurs\\html\\012.htm")).isLocalFile());
    }

    void keepsPagesInsideTheirFolder_data() {
        QTest::addColumn<QString>("address"); // below the course folder, or a full address
        QTest::addColumn<bool>("inside");
        QTest::newRow("page") << QStringLiteral("html/001.htm") << true;
        QTest::newRow("page with a fragment") << QStringLiteral("html/001.htm#part") << true;
        QTest::newRow("missing page") << QStringLiteral("html/404.htm") << true;
        QTest::newRow("missing page in a missing folder")
            << QStringLiteral("html/nowhere/404.htm") << true;
        QTest::newRow("video link") << QStringLiteral("html/$film01.avi=012.htm") << true;
        QTest::newRow("page in a subfolder") << QStringLiteral("html/part/1.htm") << true;
        QTest::newRow("the folder itself") << QStringLiteral("html/") << false;
        QTest::newRow("a subfolder") << QStringLiteral("html/part") << false;
        QTest::newRow("up and out") << QStringLiteral("html/../otchet/data1/a.txt") << false;
        QTest::newRow("up and back in") << QStringLiteral("html/part/../001.htm") << true;
        QTest::newRow("sibling folder") << QStringLiteral("helphtml/index.htm") << false;
        QTest::newRow("folder with a longer name") << QStringLiteral("html2/001.htm") << false;
        QTest::newRow("link to a file outside") << QStringLiteral("html/passwd.htm") << false;
        QTest::newRow("link to a folder outside") << QStringLiteral("html/disk/x.htm") << false;
        QTest::newRow("system file") << QStringLiteral("file:///etc/passwd") << false;
        QTest::newRow("root") << QStringLiteral("file:///") << false;
        QTest::newRow("file on another host")
            << QStringLiteral("file://host/html/001.htm") << false;
        QTest::newRow("web page") << QStringLiteral("https://example.com/html/001.htm") << false;
        QTest::newRow("mail") << QStringLiteral("mailto:teacher@example.com") << false;
    }
    void keepsPagesInsideTheirFolder() {
        QFETCH(QString, address);
        QFETCH(bool, inside);
        QTemporaryDir course;
        QVERIFY(course.isValid());
        const QDir dir(course.path());
        for (const char* folder : {"html/part", "html2", "helphtml", "otchet/data1"})
            QVERIFY(dir.mkpath(QString::fromLatin1(folder)));
        for (const char* file : {"html/001.htm", "html/part/1.htm", "otchet/data1/a.txt"}) {
            QFile page(dir.filePath(QString::fromLatin1(file)));
            QVERIFY(page.open(QIODevice::WriteOnly));
        }
        // Links planted inside the folder that lead out of it.
        QVERIFY(QFile::link(dir.filePath(QStringLiteral("otchet/data1/a.txt")),
                            dir.filePath(QStringLiteral("html/passwd.htm"))));
        QVERIFY(QFile::link(QStringLiteral("/"), dir.filePath(QStringLiteral("html/disk"))));

        QUrl url(address);
        if (!address.contains(QLatin1Char(':'))) {
            url = QUrl::fromLocalFile(dir.filePath(address.section(QLatin1Char('#'), 0, 0)));
            url.setFragment(address.section(QLatin1Char('#'), 1), QUrl::DecodedMode);
        }
        QCOMPARE(PageInsideFolder(url, dir.filePath(QStringLiteral("html"))), inside);
    }

    void historyKeepsNewestFirstAndEnablesItsButtons() {
        PageHistory history;
        QVERIFY(!history.BackEnabled());
        QVERIFY(history.Back().isEmpty());
        for (const char* page : {"A", "B", "C"})
            QVERIFY(history.BeforeNavigate(QString::fromLatin1(page)));
        QCOMPARE(history.Entries(), QStringList({"C", "B", "A"}));
        QVERIFY(history.BackEnabled());
        QVERIFY(!history.ForwardEnabled());

        // Back and forward are not recorded; the navigation after them counts as a link again.
        QCOMPARE(history.Back(), QStringLiteral("B"));
        QVERIFY(!history.BeforeNavigate(QStringLiteral("B")));
        QCOMPARE(int(history.NavigationSource()), int(PageHistory::kFromLink));
        QCOMPARE(history.Entries().size(), 3);
        QVERIFY(history.ForwardEnabled());
        QCOMPARE(history.Back(), QStringLiteral("A"));
        QVERIFY(!history.BackEnabled());
        QVERIFY(history.Back().isEmpty()); // never past the oldest page
        QCOMPARE(history.HistoryIndex(), 2);
    }

    void linkAfterGoingBackIsInsertedAtTheCurrentPosition() {
        PageHistory history;
        for (const char* page : {"A", "B", "C"})
            history.BeforeNavigate(QString::fromLatin1(page));
        history.BeforeNavigate(history.Back());
        history.BeforeNavigate(history.Back()); // back two pages: at A
        QVERIFY(history.BeforeNavigate(QStringLiteral("D")));
        QCOMPARE(history.Entries(), QStringList({"C", "B", "D", "A"}));
        QCOMPARE(history.SelectedIndex(), 2);

        // Back returns to the page the link was followed on, forward reaches the page that was
        // ahead before.
        QCOMPARE(history.Back(), QStringLiteral("A"));
        history.BeforeNavigate(QStringLiteral("A"));
        QCOMPARE(history.Forward(), QStringLiteral("D"));
        history.BeforeNavigate(QStringLiteral("D"));
        QCOMPARE(history.Forward(), QStringLiteral("B"));
    }
};

QTEST_GUILESS_MAIN(TestTextbookLinks)
#include "tst_textbook_links.moc"
