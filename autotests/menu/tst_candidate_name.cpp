// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The candidate's name as part of the result files' names.
#include "tests/candidate_name.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

class TestCandidateName : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void refusesWhatAFileNameCannotHold_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("refused");
        QTest::newRow("ordinary") << QStringLiteral("Иванов И. И.") << false;
        QTest::newRow("blanks only") << QStringLiteral("   ") << false;
        QTest::newRow("dots inside") << QStringLiteral("А.Б.") << false;
        QTest::newRow("dot and blank") << QStringLiteral(". .") << false;
        QTest::newRow("back slash climbing up") << QStringLiteral("..\\x") << true;
        QTest::newRow("slash") << QStringLiteral("a/b") << true;
        QTest::newRow("drive colon") << QStringLiteral("c:d") << true;
        QTest::newRow("two dots") << QStringLiteral("..") << true;
        QTest::newRow("one dot") << QStringLiteral(".") << true;
        QTest::newRow("star") << QStringLiteral("Иванов*") << true;
        QTest::newRow("question mark") << QStringLiteral("Кто?") << true;
        QTest::newRow("quote") << QStringLiteral("\"Иванов\"") << true;
        QTest::newRow("bar") << QStringLiteral("a|b") << true;
        QTest::newRow("tab") << QStringLiteral("Иванов\tИ.") << true;
        QTest::newRow("nul") << QString(QChar(0)) + QStringLiteral("x") << true;
        QTest::newRow("delete") << QStringLiteral("x") + QChar(0x7F) << true;
        QTest::newRow("line separator") << QStringLiteral("Иванов") + QChar(0x2028) << true;
        // Invisible format characters: the name looks like another one.
        QTest::newRow("right-to-left mark") << QStringLiteral("Иванов\u200F И. И.") << true;
        QTest::newRow("zero width space") << QStringLiteral("Ива\u200Bнов") << true;
        QTest::newRow("byte order mark") << QStringLiteral("\uFEFFИванов") << true;
        QTest::newRow("soft hyphen") << QStringLiteral("Ива\u00ADнов") << true;
        // The file would hold another name than its own.
        QTest::newRow("letter outside Windows-1251") << QStringLiteral("Müller") << true;
        QTest::newRow("emoji") << QStringLiteral("Иванов \U0001F600") << true;
        QTest::newRow("lone surrogate") << QStringLiteral("Иванов") + QChar(0xD800) << true;
        QTest::newRow("numero sign") << QStringLiteral("Иванов №2") << false;
        // Windows device names, with or without an extension, any case, blanks and dots after.
        QTest::newRow("CON") << QStringLiteral("CON") << true;
        QTest::newRow("nul lower case") << QStringLiteral("nul") << true;
        QTest::newRow("aux with extension") << QStringLiteral("Aux.Иванов") << true;
        QTest::newRow("COM1 with blank and dot") << QStringLiteral("COM1 .") << true;
        QTest::newRow("LPT9 with dots") << QStringLiteral("lpt9..") << true;
        QTest::newRow("PRN with blanks") << QStringLiteral("PRN  ") << true;
        QTest::newRow("COM superscript") << QStringLiteral("COM\u00B9") << true;
        QTest::newRow("COM0") << QStringLiteral("COM0") << false;
        QTest::newRow("longer word") << QStringLiteral("Conan") << false;
        QTest::newRow("blank before") << QStringLiteral(" CON И.") << false;
        // The longest name made for a student, "<name>.lock.rmlock" (the name lock while a stale
        // one is removed), in UTF-8 against the folder's 255 bytes.
        QTest::newRow("longest Cyrillic") << QString(121, QChar(0x0416)) << false;
        QTest::newRow("Cyrillic a byte too long") << QString(122, QChar(0x0416)) << true;
        QTest::newRow("longest Latin") << QString(243, u'a') << false;
        QTest::newRow("Latin a byte too long") << QString(244, u'a') << true;
    }
    void refusesWhatAFileNameCannotHold() {
        QFETCH(QString, name);
        QFETCH(bool, refused);
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        const QString problem = CandidateNameProblem(name, {folder.path()});
        QCOMPARE(!problem.isEmpty(), refused);
        if (refused) {
            QVERIFY(problem.startsWith(QStringLiteral("Фамилия И. О. не может")));
            return;
        }
        // A name that passes opens its file.
        QFile file(folder.filePath(name + QStringLiteral(".txt")));
        QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(file.errorString()));
        QCOMPARE(QFileInfo(file).fileName(), name + QStringLiteral(".txt"));
    }

    void namesTheRefusedCharactersOrTheDots() {
        // The student must learn what to change from the message alone.
        const QString characters = CandidateNameProblem(QStringLiteral("a/b"));
        for (const char* c : {"\\", "/", ":", "*", "?", "\"", "<", ">", "|"})
            QVERIFY2(characters.contains(QLatin1String(c)), c);
        QVERIFY(CandidateNameProblem(QStringLiteral("..")).contains(QStringLiteral("точек")));
    }
};

QTEST_GUILESS_MAIN(TestCandidateName)
#include "tst_candidate_name.moc"
