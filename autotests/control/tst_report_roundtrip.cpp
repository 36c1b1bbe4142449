// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
// What the control test writes into its data file is what the answer review reads back.
#include "review/data_file_reader.h"
#include "tests/control_core.h"
#include "tests/result_report.h"

#include "autotests/support/test_support.h"

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

// Writes the questions to a data file, each with its options in file order, and reads it back.
ReviewData WriteAndRead(const QList<Question>& questions) {
    QBuffer printable;
    QBuffer data;
    printable.open(QIODevice::WriteOnly);
    data.open(QIODevice::WriteOnly);
    ResultReport report;
    const CandidateInfo candidate{QStringLiteral("Петров П. П."), QStringLiteral("ТС-22"),
                                  QStringLiteral("Бег"), QStringLiteral("МС"),
                                  QStringLiteral("ИТОГОВОЕ ТЕСТИРОВАНИЕ")};
    bool ok =
        report.OpenReports(&printable, QStringLiteral("print"), &data, QStringLiteral("data"),
                           candidate, QStringLiteral("07.12.2026"), QStringLiteral("09:05:03")) &&
        report.WriteCount(int(questions.size()));
    for (int q = 1; ok && q <= questions.size(); ++q) {
        QList<int> order;
        for (int i = 1; i <= questions[q - 1].OptionCount; ++i)
            order << i;
        ok = report.WriteQuestion(q, questions[q - 1], order) &&
             report.WriteAnswer({true}, {100}, 100);
    }
    ok = ok && report.WriteTotals(int(questions.size()), 100) && report.CloseReports();
    ReviewData review;
    if (!ok) {
        qWarning("writing failed: %s", qPrintable(report.ErrorMessage()));
        return review;
    }
    QBuffer back(&data.buffer());
    back.open(QIODevice::ReadOnly);
    const DataFileResult result = ReadDataFile(&back, QStringLiteral("data"), &review);
    if (!result.ok())
        qWarning("reading failed: %s", qPrintable(result.message));
    return review;
}

// Every text of every question comes back as the test showed it (with the blank that joins a
// read line), in the same places.
void CompareTexts(const QList<Question>& questions, const ReviewData& review) {
    QCOMPARE(review.ReviewCount, questions.size());
    for (int q = 1; q <= questions.size(); ++q) {
        const Question& question = questions[q - 1];
        const ReviewItem& item = review.Item(q);
        const QByteArray where = QByteArray::number(q);
        QVERIFY2(item.QuestionText == question.Text + u' ', where);
        QVERIFY2(item.Media == (question.Picture ? question.Picture->mid(7) : QStringLiteral("0")),
                 where);
        QVERIFY2(item.OptionCount() == question.OptionCount, where);
        for (int i = 0; i < question.OptionCount; ++i) {
            QVERIFY2(item.OptionText[i] == question.Options[i].Text + u' ', where);
            QVERIFY2(item.OptionIsPicture[i] == question.Options[i].IsPicture, where);
        }
        QVERIFY2(item.AnswerPoints == QStringLiteral("Набрано баллов за ответ: 100 "), where);
    }
}

} // namespace

class ReportRoundTripTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void reviewReadsEveryRecordAsWritten();
    void everyTextOfTheSampleCourseComesBack();
    void textsWithMarkersComeBack_data();
    void textsWithMarkersComeBack();
};

void ReportRoundTripTest::everyTextOfTheSampleCourseComesBack() {
    QuestionBank bank;
    const LoadResult load = bank.LoadFile(SourcePath(QStringLiteral("course/ortu/pdb12.db")));
    QVERIFY2(load.ok(), qPrintable(load.message));
    QVERIFY(bank.QuestionCount > 0);
    CompareTexts(bank.Questions, WriteAndRead(bank.Questions));
}

void ReportRoundTripTest::textsWithMarkersComeBack_data() {
    QTest::addColumn<QString>("marker");
    for (const char* marker : {".", "\\", ",", "#", "&", "$", "@"})
        QTest::newRow(marker) << QString::fromLatin1(marker);
    QTest::newRow("lone CR") << QStringLiteral("\r");
}

void ReportRoundTripTest::textsWithMarkersComeBack() {
    QFETCH(QString, marker);
    const QString m = marker;
    // A question file whose texts begin and end with the character: the question text from its
    // 7th character, the options from their 3rd.
    const QStringList lines{QStringLiteral("Заголовок"),
                            QStringLiteral("."),
                            QStringLiteral("."),
                            QStringLiteral("1"),
                            QStringLiteral("."),
                            QStringLiteral("Вопрос") + m + QStringLiteral("текст вопроса") + m,
                            QStringLiteral("."),
                            QStringLiteral("примечание"),
                            QStringLiteral("."),
                            QStringLiteral(">011.htm"),
                            QStringLiteral("\\q_spheres.jpg"),
                            QStringLiteral("1 ") + m + QStringLiteral("..все перечисленное"),
                            QStringLiteral(",100"),
                            QStringLiteral("2 вариант") + m,
                            QStringLiteral(",0"),
                            QStringLiteral("3 ") + m,
                            QStringLiteral(".0")};
    QByteArray bytes = Cp1251File(lines);
    QBuffer file(&bytes);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QuestionBank bank;
    const LoadResult load = bank.LoadFrom(&file, QStringLiteral("pdb.db"));
    QVERIFY2(load.ok(), qPrintable(load.message));
    QCOMPARE(bank.At(1).Text, m + QStringLiteral("текст вопроса") + m + u' ');
    QCOMPARE(bank.At(1).Options[0].Text, m + QStringLiteral("..все перечисленное "));

    // Texts that are the character alone or end with it, with no joining blank after it.
    QList<Question> questions = bank.Questions;
    questions << MakeQuestion(
        m, std::nullopt,
        {{m, 100}, {QStringLiteral("ответ") + m, 0}, {m + QStringLiteral("ответ") + m, 0}});
    CompareTexts(questions, WriteAndRead(questions));
}

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
