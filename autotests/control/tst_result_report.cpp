// The two result files of a control test, byte for byte, the percentage and the points of an
// answer, and what happens when a file cannot be opened or a device stops taking bytes.
#include "tests/control_core.h"
#include "tests/result_report.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

Q_DECLARE_METATYPE(PositionFlags)
Q_DECLARE_METATYPE(PositionPoints)

namespace {

QByteArray Bytes(const QString& text) {
    QStringEncoder encoder("windows-1251");
    return encoder.encode(text);
}

// Accepts `capacity` bytes, then refuses every write (a disk that fills up part-way).
class FailingDevice : public QIODevice {
public:
    explicit FailingDevice(qint64 capacity) : m_capacity(capacity) { open(QIODevice::WriteOnly); }
    QByteArray written;

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 length) override {
        const qint64 room = m_capacity - written.size();
        if (room <= 0) {
            setErrorString(QStringLiteral("device full"));
            return -1;
        }
        const qint64 n = std::min(room, length);
        written.append(data, n);
        return n;
    }

private:
    qint64 m_capacity;
};

CandidateInfo Ivanov() {
    return {QStringLiteral("Иванов И. И."), QStringLiteral("ТС-21"),
            QStringLiteral("Лёгкая атлетика"), QStringLiteral("КМС"),
            QStringLiteral("ИТОГОВОЕ ТЕСТИРОВАНИЕ")};
}

Question MakeQuestion(const QString& text, std::optional<QString> picture,
                      const QList<QPair<QString, int>>& options) {
    Question q;
    q.Text = text;
    q.Picture = std::move(picture);
    for (int i = 0; i < options.size(); ++i)
        q.Options[i] = AnswerOption{options[i].first, options[i].second,
                                    options[i].first.startsWith(QLatin1Char('!'))};
    q.OptionCount = int(options.size());
    return q;
}

// A test of two questions: a picture question answered with a right and a wrong option, and a
// video question whose options are all worth 0, left unanswered.
const Question kFirst = MakeQuestion(QStringLiteral("  1.    Сколько игроков в команде? "),
                                     QStringLiteral("\\images\\pole.jpg"),
                                     {{QStringLiteral("11 игроков "), 100},
                                      {QStringLiteral("9 игроков "), 0},
                                      {QStringLiteral("!schema.jpg "), 0}});
const Question kSecond = MakeQuestion(QStringLiteral("  2.    Что показано на видео? "),
                                      QStringLiteral("\\images\\$clip.avi"),
                                      {{QStringLiteral("да "), 0}, {QStringLiteral("нет "), 0}});

bool WriteSmallTest(ResultReport& report, QIODevice* printable, QIODevice* data) {
    bool ok =
        report.OpenReports(printable, QStringLiteral("print"), data, QStringLiteral("data"),
                           Ivanov(), QStringLiteral("07.12.2026"), QStringLiteral("09:05:03"));
    ok = report.WriteCount(2) && ok;
    // Shown in the order: picture option, 11 players, 9 players.
    ok = report.WriteQuestion(1, kFirst, {3, 1, 2}) && ok;
    const PositionFlags ticked{true, true, false, false, false};
    const PositionPoints points{0, 100, 0, 0, 0};
    ok = report.WriteAnswer(ticked, points, ControlAnswerPoints(ticked, points)) && ok;
    ok = report.WriteQuestion(2, kSecond, {2, 1}) && ok;
    ok = report.WriteAnswer({}, {}, 0) && ok;
    ok = report.WriteTotals(2, 0) && ok;
    return report.CloseReports() && ok;
}

const QString kExpectedReport = QStringLiteral(
    "=======================================================\r\n"
    "07.12.2026  09:05:03\r\n"
    "ФИО: Иванов И. И.,  группа: ТС-21,  специализация: Лёгкая атлетика,  "
    "квалификация: КМС,  тест: ИТОГОВОЕ ТЕСТИРОВАНИЕ\r\n"
    "          Ваши результаты:\r\n"
    "  Вопрос 1\r\n"
    "  1.    Сколько игроков в команде? \r\n"
    "Вы ответили: [1]- (балл за ответ: 0), [2]- (балл за ответ: 100), \r\n"
    "Правильный ответ: [2]- (балл за ответ: 100), \r\n"
    "Набрано баллов за ответ: 0\r\n"
    "  Вопрос 2\r\n"
    "  2.    Что показано на видео? \r\n"
    "Ваш ответ: ответа не было,\r\n"
    "Правильный ответ: Набрано баллов за ответ: 0\r\n"
    "--------\r\n"
    "Задано вопросов: 2,  набрано баллов: 0 из 200 возможных,  это составляет  0.0%\r\n"
    "=======================================================\r\n");

const QString kExpectedData = QStringLiteral(
    "07.12.2026 09:05:03  Иванов И. И.,  группа: ТС-21,  специализация: Лёгкая атлетика,  "
    "КМС,  тест: ИТОГОВОЕ ТЕСТИРОВАНИЕ\r\n"
    ".\r\n"
    "2\r\n"
    ".\r\n"
    "Вопрос 1\r\n"
    ".\r\n"
    "  1.    Сколько игроков в команде? \r\n"
    "\\pole.jpg\r\n"
    "!schema.jpg \r\n,\r\n11 игроков \r\n,\r\n9 игроков \r\n.\r\n"
    "Вы ответили: [1]- (балл за ответ: 0), [2]- (балл за ответ: 100), \r\n"
    "#\r\n"
    "Правильный ответ: [2]- (балл за ответ: 100), \r\n"
    "&\r\n"
    "Набрано баллов за ответ: 0\r\n"
    "$\r\n"
    "Вопрос 2\r\n"
    ".\r\n"
    "  2.    Что показано на видео? \r\n"
    "\\$clip.avi\r\n"
    "нет \r\n,\r\nда \r\n.\r\n"
    "Ваш ответ: ответа не было,\r\n"
    "#\r\n"
    "Правильный ответ: &\r\n"
    "Набрано баллов за ответ: 0\r\n"
    "$\r\n"
    ", задано вопросов: 2,  набрано баллов: 0 из 200 возможных  это составляет  0.0%\r\n"
    "@\r\n");

void MakeResultFolders(const QTemporaryDir& folder) {
    QVERIFY(QDir(folder.path()).mkpath(QStringLiteral("otchet/print otchet")));
    QVERIFY(QDir(folder.path()).mkpath(QStringLiteral("otchet/data1")));
}

QByteArray FileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

} // namespace

class ResultReportTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void bothFilesByteForByte();
    void answerLines_data();
    void answerLines();
    void percentage_data();
    void percentage();
    void answerPoints_data();
    void answerPoints();
    void deviceFailingPartWayIsNeverSilent();
    void missingFolderOrForeignNameWritesNothing();
    void dateAndTimeOfTheHeader();
};

void ResultReportTest::bothFilesByteForByte() {
    QBuffer printable;
    QBuffer data;
    printable.open(QIODevice::WriteOnly);
    data.open(QIODevice::WriteOnly);
    ResultReport report;
    QVERIFY(WriteSmallTest(report, &printable, &data));
    QVERIFY(!report.Failed());
    QCOMPARE(printable.data(), Bytes(kExpectedReport));
    QCOMPARE(data.data(), Bytes(kExpectedData));
    // Windows-1251 itself: "ФИО: Иванов" and "Вопрос" as single bytes.
    QVERIFY(printable.data().contains("\xD4\xC8\xCE: \xC8\xE2\xE0\xED\xEE\xE2"));
    QVERIFY(data.data().startsWith("07.12.2026 09:05:03  \xC8\xE2\xE0\xED\xEE\xE2"));
    QVERIFY(data.data().contains("\r\n\xC2\xEE\xEF\xF0\xEE\xF1 2\r\n.\r\n"));
}

void ResultReportTest::answerLines_data() {
    QTest::addColumn<PositionFlags>("ticked");
    QTest::addColumn<PositionPoints>("points");
    QTest::addColumn<QString>("lines");
    QTest::newRow("positions 1 and 3")
        << PositionFlags{true, false, true, false, false} << PositionPoints{50, 0, 50, 0, 0}
        << QStringLiteral("Вы ответили: [1]- (балл за ответ: 50), [3]- (балл за ответ: 50), \r\n"
                          "Правильный ответ: [1]- (балл за ответ: 50), [3]- (балл за ответ: 50), "
                          "\r\nНабрано баллов за ответ: 100\r\n");
    QTest::newRow("negative option counts as correct")
        << PositionFlags{false, false, false, false, true} << PositionPoints{100, 0, 0, 0, -20}
        << QStringLiteral("Вы ответили: [5]- (балл за ответ: -20), \r\n"
                          "Правильный ответ: [1]- (балл за ответ: 100), [5]- (балл за ответ: -20), "
                          "\r\nНабрано баллов за ответ: -20\r\n");
}

void ResultReportTest::answerLines() {
    QFETCH(PositionFlags, ticked);
    QFETCH(PositionPoints, points);
    QFETCH(QString, lines);
    QBuffer printable;
    QBuffer data;
    printable.open(QIODevice::WriteOnly);
    data.open(QIODevice::WriteOnly);
    ResultReport report;
    QVERIFY(report.OpenReports(&printable, QStringLiteral("print"), &data, QStringLiteral("data"),
                               Ivanov(), QStringLiteral("d"), QStringLiteral("t")));
    const qsizetype headerEnd = printable.data().size();
    QVERIFY(report.WriteAnswer(ticked, points, ControlAnswerPoints(ticked, points)));
    QCOMPARE(printable.data().mid(headerEnd), Bytes(lines));
}

void ResultReportTest::percentage_data() {
    QTest::addColumn<qint64>("points");
    QTest::addColumn<int>("questions");
    QTest::addColumn<QString>("text");
    QTest::newRow("750 of 10") << qint64(750) << 10 << QStringLiteral("75.0");
    QTest::newRow("75 of 10") << qint64(75) << 10 << QStringLiteral(" 7.5");
    QTest::newRow("nothing") << qint64(0) << 3 << QStringLiteral(" 0.0");
    QTest::newRow("all") << qint64(1000) << 10 << QStringLiteral("100.0");
    QTest::newRow("0.25 up") << qint64(1) << 4 << QStringLiteral(" 0.3");
    QTest::newRow("12.75 up") << qint64(51) << 4 << QStringLiteral("12.8");
    QTest::newRow("two thirds") << qint64(200) << 3 << QStringLiteral("66.7");
    QTest::newRow("one third") << qint64(100) << 3 << QStringLiteral("33.3");
    // 0.15 is 0.149999999999999994... in 18 digits: the digit after the first decimal is 4.
    QTest::newRow("0.15 as a double") << qint64(3) << 20 << QStringLiteral(" 0.1");
    QTest::newRow("negative") << qint64(-25) << 1 << QStringLiteral("-25.0");
    QTest::newRow("no questions") << qint64(0) << 0 << QStringLiteral(" 0.0");
}

void ResultReportTest::percentage() {
    QFETCH(qint64, points);
    QFETCH(int, questions);
    QFETCH(QString, text);
    QCOMPARE(ReportPercentText(points, questions), text);
}

void ResultReportTest::answerPoints_data() {
    QTest::addColumn<PositionFlags>("ticked");
    QTest::addColumn<PositionPoints>("points");
    QTest::addColumn<qint64>("expected");
    const PositionPoints halves{50, 0, 50, 0, 0};
    QTest::newRow("nothing ticked") << PositionFlags{} << halves << qint64(0);
    QTest::newRow("one half") << PositionFlags{true, false, false, false, false} << halves
                              << qint64(50);
    QTest::newRow("both halves") << PositionFlags{true, false, true, false, false} << halves
                                 << qint64(100);
    QTest::newRow("right and wrong")
        << PositionFlags{true, true, true, false, false} << halves << qint64(0);
    QTest::newRow("negative counts") << PositionFlags{true, false, false, true, false}
                                     << PositionPoints{100, 0, 0, -30, 0} << qint64(70);
    QTest::newRow("no overflow") << PositionFlags{true, true, true, true, true}
                                 << PositionPoints{2147483647, 2147483647, 2147483647, 2147483647,
                                                   2147483647}
                                 << qint64(5) * 2147483647;
}

void ResultReportTest::answerPoints() {
    QFETCH(PositionFlags, ticked);
    QFETCH(PositionPoints, points);
    QFETCH(qint64, expected);
    QCOMPARE(ControlAnswerPoints(ticked, points), expected);
}

void ResultReportTest::deviceFailingPartWayIsNeverSilent() {
    const QByteArray fullReport = Bytes(kExpectedReport);
    const QByteArray fullData = Bytes(kExpectedData);
    // The data file stops taking bytes at every point of the test in turn, and so does the
    // report: the failure is always reported, and what reached the device is what was written.
    for (const bool failData : {true, false}) {
        const qint64 total = failData ? fullData.size() : fullReport.size();
        for (qint64 capacity = 0; capacity < total; capacity += 13) {
            FailingDevice failing(capacity);
            QBuffer other;
            other.open(QIODevice::WriteOnly);
            ResultReport report;
            const bool ok = failData ? WriteSmallTest(report, &other, &failing)
                                     : WriteSmallTest(report, &failing, &other);
            const QString where =
                QStringLiteral("%1 after %2 bytes").arg(failData ? "data" : "report").arg(capacity);
            QVERIFY2(!ok, qPrintable(where));
            QVERIFY2(report.Failed(), qPrintable(where));
            QVERIFY2(report.ErrorMessage().startsWith(QStringLiteral("Ошибка ввода-вывода: ") +
                                                      (failData ? "data" : "print")),
                     qPrintable(report.ErrorMessage()));
            QVERIFY(report.ErrorMessage().contains(QStringLiteral("запись не удалась")));
            QCOMPARE(failing.written, (failData ? fullData : fullReport).left(capacity));
            // Nothing more is written once a write failed.
            QVERIFY(!report.WriteTotals(1, 1));
            QCOMPARE(failing.written.size(), capacity);
        }
    }
    // A writer that was never opened refuses too, with a message.
    ResultReport unopened;
    QVERIFY(!unopened.WriteCount(1));
    QVERIFY(unopened.ErrorMessage().startsWith(QStringLiteral("Ошибка ввода-вывода")));
}

void ResultReportTest::missingFolderOrForeignNameWritesNothing() {
    QTemporaryDir folder;
    QVERIFY(QDir(folder.path()).mkpath(QStringLiteral("otchet/data1")));
    const QString dataPath = folder.filePath(QStringLiteral("otchet/data1/Иванов И. И..txt"));
    {
        QFile earlier(dataPath);
        QVERIFY(earlier.open(QIODevice::WriteOnly));
        earlier.write("earlier test\r\n");
    }
    ResultReport report;
    QVERIFY(!report.OpenReports(folder.path(), Ivanov(), QStringLiteral("d"), QStringLiteral("t")));
    QVERIFY(!report.IsOpen());
    QCOMPARE(report.ErrorMessage(),
             QStringLiteral("Ошибка ввода-вывода: %1/otchet/print otchet/Иванов И. И..txt "
                            "(нет папки %1/otchet/print otchet)")
                 .arg(folder.path()));
    // The data file of the earlier test is left as it was.
    QCOMPARE(FileBytes(dataPath), QByteArray("earlier test\r\n"));
    QVERIFY(!report.WriteCount(1));

    // A name that climbs out of the result folders is refused before anything is opened.
    MakeResultFolders(folder);
    for (const QString& name :
         {QStringLiteral("../../escaped"), QStringLiteral("a/b"), QStringLiteral("..\\escaped")}) {
        CandidateInfo candidate = Ivanov();
        candidate.FullName = name;
        QVERIFY2(
            !report.OpenReports(folder.path(), candidate, QStringLiteral("d"), QStringLiteral("t")),
            qPrintable(name));
        QVERIFY(report.ErrorMessage().contains(QStringLiteral("недопустимое имя файла")));
    }
    QVERIFY(!QFile::exists(folder.filePath(QStringLiteral("escaped.txt"))));
    QVERIFY(!QFile::exists(folder.filePath(QStringLiteral("otchet/escaped.txt"))));
    QCOMPARE(QDir(folder.filePath(QStringLiteral("otchet/print otchet")))
                 .entryList(QDir::Files | QDir::NoDotAndDotDot),
             QStringList());
}

void ResultReportTest::dateAndTimeOfTheHeader() {
    const QDateTime moment(QDate(2026, 12, 7), QTime(9, 5, 3));
    const QLocale russian(QLocale::Russian, QLocale::Russia);
    QCOMPARE(ReportDateText(moment.date(), russian), QStringLiteral("07.12.2026"));
    QCOMPARE(ReportTimeText(moment.time(), russian), QStringLiteral("09:05:03"));
    // No time-zone name, whatever the locale's long format adds.
    const QLocale american(QLocale::English, QLocale::UnitedStates);
    QCOMPARE(ReportTimeText(moment.time(), american), QStringLiteral("9:05:03 AM"));

    // The system's formats, Russian where the system names no locale.
    QLocale::setDefault(QLocale::c());
    QCOMPARE(ReportDateText(moment.date()), QStringLiteral("07.12.2026"));
    QLocale::setDefault(american);
    QCOMPARE(ReportDateText(moment.date()), QStringLiteral("12/7/26"));
    QLocale::setDefault(QLocale::system());

    SetReportClockForTesting(moment);
    QCOMPARE(ReportNow(), moment);
    SetReportClockForTesting(std::nullopt);
    QVERIFY(ReportNow() != moment);
}

QTEST_GUILESS_MAIN(ResultReportTest)
#include "tst_result_report.moc"
