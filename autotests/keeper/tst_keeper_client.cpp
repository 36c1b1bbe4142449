// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The program's side of the keeper's protocol against the real keeper: a control test as the
// control screen will run it, a result file deleted in the middle, and the review's reading.

#include "autotests/keeper/keeper_course.h"
#include "keeper/keeper_client.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

const CandidateInfo kCandidate{QStringLiteral("Сидоров С. С."), QStringLiteral("ФК-1"),
                               QStringLiteral("Плавание"), QStringLiteral("КМС"),
                               QStringLiteral("ИТОГОВОЕ ТЕСТИРОВАНИЕ")};

// The ticks of every option the test file says is worth points ("… на P баллов", P > 0).
PositionFlags RightTicks(const Question& question) {
    PositionFlags ticked{};
    for (int p = 1; p <= question.OptionCount; ++p)
        ticked[p - 1] = !question.Options[p - 1].Text.contains(QStringLiteral(" на 0 "));
    return ticked;
}

} // namespace

class KeeperClientTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void controlTestAndTheReview();
    void deletedDataFileStopsTheTest();
};

void KeeperClientTest::controlTestAndTheReview() {
    KeeperCourse course;
    KeeperClient keeper(course.Path(), QStringLiteral(KEEPER_PATH));
    QString problem;
    QVERIFY2(keeper.Start(&problem), qPrintable(problem));
    QVERIFY(keeper.Take(kCandidate.FullName).ready);
    const KeeperStart start = keeper.Control(kCandidate, 5);
    QVERIFY(start.ready);
    QCOMPARE(start.questions, 2);
    QCOMPARE(start.title, QStringLiteral("Тест "));
    KeeperAnswer answer;
    for (int n = 1; n <= 2; ++n) {
        const std::optional<KeeperQuestion> shown = keeper.Next(&answer);
        QVERIFY(shown);
        QCOMPARE(shown->number, n);
        for (int p = 1; p <= shown->question.OptionCount; ++p)
            QCOMPARE(shown->question.Options[p - 1].Points, 0); // the key stays with the keeper
        answer = keeper.Answer(RightTicks(shown->question));
        QCOMPARE(int(answer.kind),
                 int(n == 1 ? KeeperAnswer::Kind::Saved : KeeperAnswer::Kind::Result));
    }
    QCOMPARE(answer.points, 200);
    QCOMPARE(answer.maximum, 200);
    QCOMPARE(answer.percent, QStringLiteral("100.0"));

    QCOMPARE(keeper.DataFileNames(), QStringList{kCandidate.FullName});
    QFile data(course.Data(kCandidate.FullName));
    QVERIFY(data.open(QIODevice::ReadOnly));
    QCOMPARE(keeper.DataFile(kCandidate.FullName), std::optional<QByteArray>(data.readAll()));
    QVERIFY(!keeper.DataFile(QStringLiteral("../ortu/pdb12")));
}

void KeeperClientTest::deletedDataFileStopsTheTest() {
    KeeperCourse course;
    KeeperClient keeper(course.Path(), QStringLiteral(KEEPER_PATH));
    QString problem;
    QVERIFY2(keeper.Start(&problem), qPrintable(problem));
    QVERIFY(keeper.Control(kCandidate, 2).ready);
    KeeperAnswer answer;
    const std::optional<KeeperQuestion> shown = keeper.Next(&answer);
    QVERIFY(shown);
    QVERIFY(QFile::remove(course.Data(kCandidate.FullName)));
    answer = keeper.Answer(RightTicks(shown->question));
    QCOMPARE(int(answer.kind), int(KeeperAnswer::Kind::Stopped));
    QCOMPARE(answer.firstLost, 1);
    QVERIFY2(answer.message.contains(QStringLiteral("файл удалён")), qPrintable(answer.message));
    QVERIFY(!keeper.Next(&answer));
    QCOMPARE(int(answer.kind), int(KeeperAnswer::Kind::Failed));
}

QTEST_GUILESS_MAIN(KeeperClientTest)
#include "tst_keeper_client.moc"
