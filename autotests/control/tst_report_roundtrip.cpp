// What the control test writes into its data file is what the answer review reads back.
#include "review/data_file_reader.h"
#include "tests/control_core.h"
#include "tests/result_report.h"

#include <QBuffer>
#include <QTest>

namespace {

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

} // namespace

class ReportRoundTripTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void reviewReadsEveryRecordAsWritten();
};

void ReportRoundTripTest::reviewReadsEveryRecordAsWritten() {
    const CandidateInfo candidate{QStringLiteral("Иванов И. И."), QStringLiteral("ТС-21"),
                                  QStringLiteral("Плавание"), QStringLiteral("КМС"),
                                  QStringLiteral("ИТОГОВОЕ ТЕСТИРОВАНИЕ")};
    const Question picture = MakeQuestion(
        QStringLiteral("  1.    Сколько игроков в команде? "), QStringLiteral("\\images\\pole.jpg"),
        {{QStringLiteral("11 игроков "), 100}, {QStringLiteral("!schema.jpg "), 0}});
    // Every option worth nothing: the correct-answer line stays open and takes the "&".
    const Question video = MakeQuestion(QStringLiteral("  2.    Что показано на видео? "),
                                        QStringLiteral("\\images\\$clip.avi"),
                                        {{QStringLiteral("да "), 0}, {QStringLiteral("нет "), 0}});
    const Question plain = MakeQuestion(QStringLiteral("  3.    Столица Франции? "), std::nullopt,
                                        {{QStringLiteral("Париж "), 100}});

    QBuffer printable;
    QBuffer data;
    printable.open(QIODevice::WriteOnly);
    data.open(QIODevice::WriteOnly);
    ResultReport report;
    QVERIFY(report.OpenReports(&printable, QStringLiteral("print"), &data, QStringLiteral("data"),
                               candidate, QStringLiteral("07.12.2026"),
                               QStringLiteral("09:05:03")));
    QVERIFY(report.WriteCount(3));
    QVERIFY(report.WriteQuestion(1, picture, {2, 1}));
    QVERIFY(report.WriteAnswer({true, false, false, false, false}, {0, 100, 0, 0, 0}, 0));
    QVERIFY(report.WriteQuestion(2, video, {1, 2}));
    QVERIFY(report.WriteAnswer({}, {}, 0));
    QVERIFY(report.WriteQuestion(3, plain, {1}));
    QVERIFY(report.WriteAnswer({true, false, false, false, false}, {100, 0, 0, 0, 0}, 100));
    QVERIFY(report.WriteTotals(3, 100));
    QVERIFY(report.CloseReports());

    QBuffer back(&data.buffer());
    QVERIFY(back.open(QIODevice::ReadOnly));
    ReviewData review;
    const DataFileResult result = ReadDataFile(&back, QStringLiteral("data"), &review);
    QVERIFY2(result.ok(), qPrintable(result.message));
    QCOMPARE(review.ReviewCount, 3);
    QCOMPARE(review.ReviewHeader,
             QStringLiteral("07.12.2026 09:05:03  Иванов И. И.,  группа: ТС-21,  специализация: "
                            "Плавание,  КМС,  тест: ИТОГОВОЕ ТЕСТИРОВАНИЕ , задано вопросов: 3,  "
                            "набрано баллов: 100 из 300 возможных  это составляет 33.3% "));

    const ReviewItem& first = review.Item(1);
    QCOMPARE(first.Heading, QStringLiteral("Вопрос 1 "));
    QCOMPARE(first.QuestionText, picture.Text + QLatin1Char(' '));
    QCOMPARE(first.Media, QStringLiteral("\\pole.jpg"));
    QCOMPARE(first.OptionCount(), 2);
    QCOMPARE(first.OptionText[0], QStringLiteral("!schema.jpg  "));
    QVERIFY(first.OptionIsPicture[0] && !first.OptionIsPicture[1]);
    QCOMPARE(first.OptionText[1], QStringLiteral("11 игроков  "));
    QCOMPARE(first.GivenAnswer, QStringLiteral("Вы ответили: [1]- (балл за ответ: 0),  "));
    QCOMPARE(first.CorrectAnswer, QStringLiteral("Правильный ответ: [2]- (балл за ответ: 100),  "));
    QCOMPARE(first.AnswerPoints, QStringLiteral("Набрано баллов за ответ: 0 "));

    const ReviewItem& second = review.Item(2);
    QVERIFY(second.IsVideo());
    QCOMPARE(second.Media, QStringLiteral("\\$clip.avi"));
    QCOMPARE(second.GivenAnswer, QStringLiteral("Ваш ответ: ответа не было, "));
    QVERIFY(second.CorrectAnswer.startsWith(QStringLiteral("Правильный ответ: ")));
    QCOMPARE(second.AnswerPoints, QStringLiteral("Набрано баллов за ответ: 0 "));

    const ReviewItem& third = review.Item(3);
    QCOMPARE(third.Heading, QStringLiteral("Вопрос 3 "));
    QVERIFY(!third.HasMedia());
    QCOMPARE(third.OptionCount(), 1);
    QCOMPARE(third.AnswerPoints, QStringLiteral("Набрано баллов за ответ: 100 "));
}

QTEST_GUILESS_MAIN(ReportRoundTripTest)
#include "tst_report_roundtrip.moc"
