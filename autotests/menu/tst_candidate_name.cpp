// The candidate's name as part of the result files' names.
#include "app/candidate_name.h"

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
    }
    void refusesWhatAFileNameCannotHold() {
        QFETCH(QString, name);
        QFETCH(bool, refused);
        const QString problem = CandidateNameProblem(name);
        QCOMPARE(!problem.isEmpty(), refused);
        if (refused)
            QVERIFY(problem.startsWith(QStringLiteral("Фамилия И. О. не может")));
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
