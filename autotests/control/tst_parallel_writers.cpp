// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Many PCs of a lab writing into one shared result folder at once, each a process of its own:
// every file is whole and unmixed, and a second control test under a name in use is refused
// without touching the files of the first.
#include "autotests/control/whole_test.h"
#include "tests/result_lock.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <vector>

namespace {

const QString kShared = QStringLiteral("Смирнов А. А.");
constexpr int kWaitMs = 120000; // a generous bound for a loaded machine, not a timing

QString Helper() {
    return QCoreApplication::applicationDirPath() + QStringLiteral("/result_writer_process");
}

CandidateInfo Candidate(const QString& name) {
    return {name, QStringLiteral("ТС-21"), QStringLiteral("Лёгкая атлетика"), QStringLiteral("КМС"),
            QStringLiteral("ИТОГОВОЕ ТЕСТИРОВАНИЕ")};
}

// The report and the data file of one whole test as a single writer produces them.
std::pair<QByteArray, QByteArray> Expected(const QString& name, int questions) {
    QBuffer report;
    QBuffer data;
    report.open(QIODevice::WriteOnly);
    data.open(QIODevice::WriteOnly);
    ResultReport writer;
    writer.OpenReports(&report, QStringLiteral("report"), &data, QStringLiteral("data"),
                       Candidate(name), QStringLiteral("07.12.2026"), QStringLiteral("09:05:03"));
    WriteWholeTest(writer, questions);
    writer.CloseReports();
    return {report.data(), data.data()};
}

QByteArray FileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

std::unique_ptr<QProcess> StartWriter(const QString& folder, const QString& name, int questions,
                                      bool hold = false) {
    auto process = std::make_unique<QProcess>();
    QStringList args{folder, name, QString::number(questions)};
    if (hold)
        args << QStringLiteral("hold");
    process->start(Helper(), args);
    return process;
}

// Waits until a holding writer has answered its first question and holds the name.
bool WaitUntilHolding(QProcess& process) {
    while (!process.canReadLine()) {
        if (!process.waitForReadyRead(kWaitMs))
            return false;
    }
    return process.readLine().trimmed() == "holding";
}

} // namespace

class ParallelWritersTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QVERIFY2(QFile::exists(Helper()), qPrintable(Helper())); }
    void sharedFolderUnderManyWriters();
    void crashedWriterFreesItsNameOnThisPc();
};

void ParallelWritersTest::sharedFolderUnderManyWriters() {
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("otchet/data1")));
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("otchet/print otchet")));

    // The first test under the shared name is running.
    auto first = StartWriter(dir.path(), kShared, 12, true);
    QVERIFY(WaitUntilHolding(*first));

    // Eight PCs start their tests at once, and one more student registers under the same name.
    QStringList names;
    std::vector<std::unique_ptr<QProcess>> writers;
    for (int i = 1; i <= 8; ++i) {
        names << QStringLiteral("Студент %1 Б. В.").arg(i);
        writers.push_back(StartWriter(dir.path(), names.last(), 20 + i));
    }
    auto second = StartWriter(dir.path(), kShared, 5);
    for (auto& writer : writers) {
        QVERIFY(writer->waitForFinished(kWaitMs));
        QCOMPARE(writer->exitStatus(), QProcess::NormalExit);
        QCOMPARE(writer->exitCode(), 0);
    }
    QVERIFY(second->waitForFinished(kWaitMs));
    QCOMPARE(second->exitCode(), 3);
    QCOMPARE(QString::fromUtf8(second->readAllStandardOutput()).trimmed(),
             ResultNameLock::InUseMessage(kShared));

    // The first test goes on undisturbed and ends.
    first->write("go\n");
    first->closeWriteChannel();
    QVERIFY(first->waitForFinished(kWaitMs));
    QCOMPARE(first->exitCode(), 0);

    // Every file whole, unmixed and exactly one test long; no lock left behind.
    names << kShared;
    for (int i = 0; i < names.size(); ++i) {
        const int questions = names[i] == kShared ? 12 : 21 + i;
        const auto [report, data] = Expected(names[i], questions);
        QCOMPARE(FileBytes(dir.filePath(QStringLiteral("otchet/print otchet/") + names[i] +
                                        QStringLiteral(".txt"))),
                 report);
        QCOMPARE(FileBytes(dir.filePath(QStringLiteral("otchet/data1/") + names[i] +
                                        QStringLiteral(".txt"))),
                 data);
    }
    QStringList files;
    for (const QString& name : names)
        files << name + QStringLiteral(".txt");
    files.sort();
    QCOMPARE(QDir(dir.filePath(QStringLiteral("otchet/data1"))).entryList(QDir::Files, QDir::Name),
             files);
    QCOMPARE(QDir(dir.filePath(QStringLiteral("otchet/print otchet")))
                 .entryList(QDir::Files, QDir::Name),
             files);
}

void ParallelWritersTest::crashedWriterFreesItsNameOnThisPc() {
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("otchet/data1")));
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("otchet/print otchet")));
    auto crashed = StartWriter(dir.path(), kShared, 12, true);
    QVERIFY(WaitUntilHolding(*crashed));
    crashed->kill(); // the PC loses power in the middle of the test
    QVERIFY(crashed->waitForFinished(kWaitMs));
    QVERIFY(QFile::exists(
        dir.filePath(QStringLiteral("otchet/data1/") + kShared + QStringLiteral(".lock"))));
    // The student starts again on the same PC: the name is free at once, and the new test
    // replaces the broken data file.
    auto again = StartWriter(dir.path(), kShared, 3);
    QVERIFY(again->waitForFinished(kWaitMs));
    QCOMPARE(again->exitCode(), 0);
    QCOMPARE(
        FileBytes(dir.filePath(QStringLiteral("otchet/data1/") + kShared + QStringLiteral(".txt"))),
        Expected(kShared, 3).second);
}

QTEST_GUILESS_MAIN(ParallelWritersTest)
#include "tst_parallel_writers.moc"
