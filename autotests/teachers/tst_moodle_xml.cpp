// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Question exchange with Moodle: the sample course to Moodle XML and back, and a Moodle XML file
// written by hand for these tests.

#include "autotests/support/test_support.h"
#include "platform/text_file.h"
#include "tools/moodlexml/html_text.h"
#include "tools/moodlexml/moodle_xml.h"
#include "tools/moodlexml/question_file_writer.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

#include "questions/answer_points.h"

#include <algorithm>
#include <limits>
#include <optional>

namespace {

void CompareBanks(const QuestionBank& a, const QuestionBank& b) {
    QCOMPARE(a.Title, b.Title);
    QCOMPARE(a.Parameters, b.Parameters);
    QCOMPARE(a.QuestionCount, b.QuestionCount);
    for (int q = 1; q <= a.QuestionCount; ++q) {
        const Question& x = a.At(q);
        const Question& y = b.At(q);
        QCOMPARE(x.Text, y.Text);
        QCOMPARE(x.Note, y.Note);
        QCOMPARE(x.TextbookPage, y.TextbookPage);
        QCOMPARE(x.Picture, y.Picture);
        QCOMPARE(x.OptionCount, y.OptionCount);
        for (int i = 0; i < x.OptionCount; ++i) {
            QCOMPARE(x.Options[i].Text, y.Options[i].Text);
            QCOMPARE(x.Options[i].Points, y.Options[i].Points);
            QCOMPARE(x.Options[i].IsPicture, y.Options[i].IsPicture);
        }
    }
}

// The question file the importer writes, loaded back by the program's loader.
QuestionBank Reloaded(const QuestionBank& bank) {
    QBuffer file;
    file.open(QIODevice::WriteOnly);
    QString error;
    if (!WriteQuestionFile(bank, &file, &error))
        qFatal("%s", qPrintable(error));
    file.close();
    file.open(QIODevice::ReadOnly);
    QuestionBank loaded;
    const LoadResult load = loaded.LoadFrom(&file, QStringLiteral("written"));
    if (!load.ok())
        qFatal("%s", qPrintable(load.message));
    return loaded;
}

MoodleExport Exported(const QuestionBank& bank, QByteArray* xml,
                      qint64 cacheBudget = kMoodleExportCacheBytes) {
    QBuffer out(xml);
    out.open(QIODevice::WriteOnly);
    return ExportMoodleXml(bank, SourcePath(QStringLiteral("course")), &out, cacheBudget);
}

// One exported question as Moodle reads it: check boxes or radio buttons, and the fractions.
struct MoodleQuestion {
    bool single = true;
    QList<double> fractions;
};

QList<MoodleQuestion> MoodleQuestions(const QByteArray& xml) {
    QList<MoodleQuestion> questions;
    QXmlStreamReader reader(xml);
    while (reader.readNextStartElement() || !reader.atEnd()) {
        if (!reader.isStartElement())
            continue;
        if (reader.name() == u"question" &&
            reader.attributes().value(QStringLiteral("type")) == u"multichoice")
            questions.append(MoodleQuestion());
        else if (reader.name() == u"single")
            questions.last().single = reader.readElementText() == u"true";
        else if (reader.name() == u"answer")
            questions.last().fractions
                << reader.attributes().value(QStringLiteral("fraction")).toDouble();
    }
    return questions;
}

// Moodle's rule, written here from its description: radio buttons give the fraction of the one
// answer chosen; check boxes the sum of the ticked fractions held to 0..100 %.
std::optional<double> MoodleRule(const MoodleQuestion& question, const PositionFlags& ticked) {
    double sum = 0;
    int count = 0;
    for (int i = 0; i < question.fractions.size(); ++i) {
        if (ticked[i]) {
            sum += question.fractions[i];
            ++count;
        }
    }
    if (question.single)
        return count > 1 ? std::nullopt : std::optional<double>(sum);
    return std::clamp(sum, 0.0, 100.0);
}

MoodleImport ImportFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot open %s", qPrintable(path));
    return ImportMoodleXml(&file);
}

} // namespace

class MoodleXmlTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void sampleCourseGoesToMoodleAndBackUnchanged();
    void aStreamedFileIsWrittenAsAKeptOne_data();
    void aStreamedFileIsWrittenAsAKeptOne();
    void moodleScoresEveryTickSetAsTheProgramDoes();
    void exportNamesWhatMoodleCannotMatchOrTake_data();
    void exportNamesWhatMoodleCannotMatchOrTake();
    void handWrittenMoodleFileImportsAsExpected();
    void refusedQuestionsAreNamedAndTheRestIsWritten();
    void importReadsTheTextAndNamesWhatItDrops();
    void namedReferencesReadAsABrowserReadsThem_data();
    void namedReferencesReadAsABrowserReadsThem();
    void theLargestFileGoesToMoodleAndBack_data();
    void theLargestFileGoesToMoodleAndBack();
};

void MoodleXmlTest::sampleCourseGoesToMoodleAndBackUnchanged() {
    QuestionBank course;
    QVERIFY(course.LoadFile(SourcePath(QStringLiteral("course/ortu/pdb12.db"))).ok());
    QByteArray bytes;
    const MoodleExport exported = Exported(course, &bytes);
    QVERIFY(exported.ok());
    QCOMPARE(exported.exported, course.QuestionCount);
    QBuffer xml;
    xml.setData(bytes);
    xml.open(QIODevice::ReadOnly);
    const MoodleImport imported = ImportMoodleXml(&xml);
    QVERIFY2(imported.ok(), qPrintable(imported.error));
    QCOMPARE(imported.refused, QStringList());
    CompareBanks(Reloaded(imported.bank), course);

    // Every picture, option picture and video fragment travels inside the XML.
    QStringList names;
    for (const EmbeddedFile& file : imported.files) {
        names << file.name;
        QFile original(SourcePath(QStringLiteral("course/images/") + file.name));
        QVERIFY(original.open(QIODevice::ReadOnly));
        QVERIFY2(original.readAll() == file.bytes, qPrintable(file.name));
    }
    names.removeDuplicates();
    QCOMPARE(names.size(),
             QDir(SourcePath(QStringLiteral("course/images"))).entryList(QDir::Files).size());
    // Each file is embedded wherever it is shown: the four fragments once each, as the course
    // shows each in one question.
    QCOMPARE(bytes.count("<file name=\"$film01.avi\""), 1);
    // The AVI fragments are named once each, as browsers do not play them.
    QCOMPARE(exported.warnings.filter(QStringLiteral(".avi (вопрос ")).size(), 4);
}

void MoodleXmlTest::aStreamedFileIsWrittenAsAKeptOne_data() {
    QTest::addColumn<qint64>("budget");
    QTest::newRow("every file streamed") << qint64(0);
    // The fragments (400 to 600 KB) are streamed in many pieces, the small pictures kept.
    QTest::newRow("some kept") << qint64(64 * 1024);
}

// The course twice, so that every file is shown by two questions: with no limit every file is
// kept after its first reading; the same bytes when files are streamed instead.
void MoodleXmlTest::aStreamedFileIsWrittenAsAKeptOne() {
    QFETCH(qint64, budget);
    QuestionBank course;
    QVERIFY(course.LoadFile(SourcePath(QStringLiteral("course/ortu/pdb12.db"))).ok());
    course.Questions += course.Questions;
    course.QuestionCount *= 2;
    QByteArray kept;
    const MoodleExport allKept = Exported(course, &kept, std::numeric_limits<qint64>::max());
    QByteArray streamed;
    const MoodleExport exported = Exported(course, &streamed, budget);
    QVERIFY(allKept.ok() && exported.ok());
    QCOMPARE(exported.warnings, allKept.warnings);
    QCOMPARE(streamed.size(), kept.size());
    QVERIFY(streamed == kept);
}

void MoodleXmlTest::moodleScoresEveryTickSetAsTheProgramDoes() {
    QuestionBank course;
    QVERIFY(course.LoadFile(SourcePath(QStringLiteral("course/ortu/pdb12.db"))).ok());
    QByteArray xml;
    const MoodleExport exported = Exported(course, &xml);
    const QList<MoodleQuestion> moodle = MoodleQuestions(xml);
    QCOMPARE(moodle.size(), course.QuestionCount);
    QStringList outsideMoodle;
    for (int q = 1; q <= course.QuestionCount; ++q) {
        const Question& question = course.At(q);
        QCOMPARE(moodle[q - 1].fractions.size(), question.OptionCount);
        PositionPoints points{};
        for (int i = 0; i < question.OptionCount; ++i)
            points[i] = question.Options[i].Points;
        bool outside = false;
        for (int set = 0; set < (1 << question.OptionCount); ++set) {
            PositionFlags ticked{};
            for (int i = 0; i < question.OptionCount; ++i)
                ticked[i] = (set & (1 << i)) != 0;
            const qint64 program = AnswerPoints(ticked, points);
            const std::optional<double> grade = MoodleRule(moodle[q - 1], ticked);
            QVERIFY2(grade,
                     qPrintable(
                         QStringLiteral("question %1: Moodle cannot tick set %2").arg(q).arg(set)));
            if (program < 0 || program > 100)
                outside = true;
            else
                QVERIFY2(*grade == double(program),
                         qPrintable(QStringLiteral("question %1, set %2: %3 against %4 %")
                                        .arg(q)
                                        .arg(set)
                                        .arg(program)
                                        .arg(*grade)));
        }
        if (outside)
            outsideMoodle << QStringLiteral("вопрос %1 ").arg(q);
    }
    // The questions whose points can leave 0..100 are the ones the export warns about.
    QStringList warned;
    for (const QString& warning : exported.warnings.filter(QStringLiteral("Moodle не ставит")))
        warned << warning.section(u'(', 0, 0);
    QCOMPARE(warned, outsideMoodle);
    QCOMPARE(outsideMoodle.size(), 4); // the four questions with a -50 option
}

void MoodleXmlTest::exportNamesWhatMoodleCannotMatchOrTake_data() {
    QTest::addColumn<QList<int>>("points");
    QTest::addColumn<bool>("leftOut"); // Moodle would stop its whole import at the question
    QTest::addColumn<QString>("said");
    QTest::newRow("three halves") << QList<int>{50, 50, 50, 0} << true
                                  << QStringLiteral("доли верных вариантов в сумме 150 %");
    QTest::newRow("a penalty") << QList<int>{100, -50, 0} << false
                               << QStringLiteral("за отметку варианта 2 программа даёт -50 "
                                                 "баллов, а Moodle не ставит меньше 0 %");
    QTest::newRow("two full") << QList<int>{100, 100, 0} << true
                              << QStringLiteral("доли верных вариантов в сумме 200 %");
    QTest::newRow("not a fraction") << QList<int>{35, 65, 0} << true
                                    << QStringLiteral("вариант 1 стоит 35 баллов, а такой доли "
                                                      "оценки в Moodle нет");
    QTest::newRow("below -100") << QList<int>{100, -150, 0} << true
                                << QStringLiteral("вариант 2 стоит -150 баллов");
    QTest::newRow("-100 comes back as 0")
        << QList<int>{100, -100, 0} << false
        << QStringLiteral("вариант 2: -100 баллов уйдут в Moodle долей -100 %, а из Moodle такая "
                          "доля вернётся 0 баллами");
    QTest::newRow("one option") << QList<int>{100} << true
                                << QStringLiteral("один вариант ответа; встретив такой вопрос, "
                                                  "Moodle останавливает весь импорт");
}

void MoodleXmlTest::exportNamesWhatMoodleCannotMatchOrTake() {
    QFETCH(QList<int>, points);
    QFETCH(bool, leftOut);
    QFETCH(QString, said);
    QuestionBank bank;
    Question question;
    question.Text = QStringLiteral(" №1.     Вопрос? ");
    for (int i = 0; i < points.size(); ++i)
        question.Options[i] = {QStringLiteral("Вариант %1 ").arg(i + 1), points[i], false};
    question.OptionCount = int(points.size());
    bank.Questions = {question};
    bank.QuestionCount = 1;
    QByteArray xml;
    const MoodleExport exported = Exported(bank, &xml);
    const QString reported = (leftOut ? exported.skipped : exported.warnings).join(u'\n');
    QVERIFY2(reported.contains(said), qPrintable(reported));
    QCOMPARE(exported.exported, leftOut ? 0 : 1);
    QCOMPARE(exported.skipped.size(), leftOut ? 1 : 0);
    QCOMPARE(MoodleQuestions(xml).size(), exported.exported);
}

void MoodleXmlTest::handWrittenMoodleFileImportsAsExpected() {
    const MoodleImport imported =
        ImportFile(SourcePath(QStringLiteral("autotests/teachers/data/moodle_questions.xml")));
    QVERIFY2(imported.ok(), qPrintable(imported.error));
    const QuestionBank& bank = imported.bank;
    QCOMPARE(bank.Title, QStringLiteral("Проверочный тест по геополитике "));
    QCOMPARE(bank.Parameters,
             (QList<QPair<QString, int>>{{QStringLiteral("Рекомендуемое время на один вопрос, "
                                                         "секунд"),
                                          45}}));
    QCOMPARE(bank.QuestionCount, 3);

    // The name stands in the nine characters the screens hide; the picture is embedded.
    const Question& capital = bank.At(1);
    QCOMPARE(capital.Text, QStringLiteral(" Столица Какой город — столица Российской Федерации? "));
    QCOMPARE(capital.Picture, QStringLiteral("\\images\\map ru.gif"));
    QCOMPARE(capital.Note, QStringLiteral("Тема 8. Российская геополитика "));
    QCOMPARE(capital.TextbookPage, QStringLiteral("\\html\\"));
    QCOMPARE(capital.OptionCount, 3);
    QCOMPARE(capital.Options[0].Text, QStringLiteral("Москва "));
    QCOMPARE(capital.Options[0].Points, 100);
    QCOMPARE(capital.Options[2].Text, QStringLiteral("Казань & Самара "));

    // A name longer than nine characters gives the question's place instead.
    const Question& global = bank.At(2);
    QCOMPARE(global.Text, QStringLiteral(" 2.      Какие проблемы относятся к глобальным? "));
    QVERIFY(!global.Picture);
    QCOMPARE(global.OptionCount, 4);
    const QList<int> points{global.Options[0].Points, global.Options[1].Points,
                            global.Options[2].Points, global.Options[3].Points};
    QCOMPARE(points, (QList<int>{50, 50, -50, 0}));
    QCOMPARE(global.Options[3].Text, QStringLiteral("!chart.png "));
    QVERIFY(global.Options[3].IsPicture);

    const Question& heartland = bank.At(3);
    // Eight characters fill the hidden part with one blank after them.
    QCOMPARE(heartland.Text, QStringLiteral("Хартленд Хартленд — центральная часть Евразии. "));
    QCOMPARE(heartland.OptionCount, 2);
    QCOMPARE(heartland.Options[0].Text, QStringLiteral("Верно "));
    QCOMPARE(heartland.Options[0].Points, 100);
    QCOMPARE(heartland.Options[1].Text, QStringLiteral("Неверно "));

    // The picture option's file takes the "!" the question file needs.
    QCOMPARE(imported.files.size(), 2);
    QCOMPARE(imported.files[0].name, QStringLiteral("map ru.gif"));
    QCOMPARE(imported.files[1].name, QStringLiteral("!chart.png"));
    QVERIFY(imported.files[1].bytes.startsWith("\x89PNG"));
    CompareBanks(Reloaded(bank), bank);
}

void MoodleXmlTest::refusedQuestionsAreNamedAndTheRestIsWritten() {
    QTemporaryDir course;
    const QString questions = course.filePath(QStringLiteral("ortu/pdb1.db"));
    QDir().mkpath(course.filePath(QStringLiteral("ortu")));
    QProcess process;
    process.start(QStringLiteral(MOODLEXML_PATH),
                  {QStringLiteral("import"),
                   SourcePath(QStringLiteral("autotests/teachers/data/moodle_questions.xml")),
                   questions});
    QVERIFY(process.waitForFinished(60000));
    QCOMPARE(process.exitCode(), 1);
    const QStringList lines = QString::fromUtf8(process.readAllStandardOutput()).split(u'\n');
    const QStringList expected{
        QStringLiteral("Не перенесён вопрос «Эссе о многополярности»: вопросы типа «essay»"),
        QStringLiteral("Не перенесён вопрос «Шесть вариантов»: вариантов ответа 6"),
        QStringLiteral("Не перенесён вопрос «Треть»: доля варианта 1 («33.33333») не выражается"),
        QStringLiteral("Не перенесён вопрос «Формула»: знаки, которых нет в кодировке "
                       "Windows-1251: ∑"),
        QStringLiteral("Не перенесён вопрос «Один ответ, два верных»: вопрос с одним ответом"),
        QStringLiteral("Не перенесён вопрос «Чужой путь»: недопустимое имя файла "
                       "«../../ortu/pdb12.db»"),
    };
    for (const QString& start : expected) {
        QVERIFY2(std::any_of(lines.begin(), lines.end(),
                             [&](const QString& line) { return line.startsWith(start); }),
                 qPrintable(start + QStringLiteral("\n---\n") + lines.join(u'\n')));
    }
    // The three questions it can carry are written, and their pictures beside the file.
    QuestionBank written;
    QVERIFY(written.LoadFile(questions).ok());
    QCOMPARE(written.QuestionCount, 3);
    QVERIFY(QFile::exists(course.filePath(QStringLiteral("images/map ru.gif"))));
    QVERIFY(QFile::exists(course.filePath(QStringLiteral("images/!chart.png"))));
    QCOMPARE(QDir(course.filePath(QStringLiteral("images"))).entryList(QDir::Files).size(), 2);
    QVERIFY(!QFile::exists(course.filePath(QStringLiteral("../ortu/pdb12.db"))));
    QFile raw(questions);
    QVERIFY(raw.open(QIODevice::ReadOnly));
    const QByteArray bytes = raw.readAll();
    QVERIFY(bytes.contains(EncodeCp1251(QStringLiteral("Вопрос Столица Какой город — столица "
                                                       "Российской Федерации?\r\n"))));
    QCOMPARE(bytes.count("\r\n"), bytes.count("\n"));
}

void MoodleXmlTest::importReadsTheTextAndNamesWhatItDrops() {
    QBuffer xml;
    xml.setData(R"(<?xml version="1.0" encoding="UTF-8"?>
<quiz>
  <question type="multichoice">
    <name><text>Знаки</text></name>
    <questiontext format="html"><text><![CDATA[<p>Цена 5&nbsp;&euro;, it&rsquo;s &minus;2 &le; x,
      &frac12; &hellip; 10<sup>3</sup>, 10<sup>-3</sup>, H<sub>2</sub>O, строка&#10;вторая&#9;&#1;конец</p>
      <table><tr><th>Страна</th><th>Столица</th></tr><tr><td>Франция</td><td>Париж</td></tr></table>]]></text></questiontext>
    <defaultgrade>2.0000000</defaultgrade>
    <hidden>1</hidden>
    <single>false</single>
    <shuffleanswers>0</shuffleanswers>
    <correctfeedback format="html"><text>Молодец!</text></correctfeedback>
    <answer fraction="100"><text>Да&#13;&#10;нет</text><feedback><text>Верно</text></feedback></answer>
    <answer fraction="-100"><text>Нет</text></answer>
    <hint format="html"><text>Подумайте о цене.</text></hint>
  </question>
</quiz>)");
    xml.open(QIODevice::ReadOnly);
    const MoodleImport imported = ImportMoodleXml(&xml);
    QVERIFY2(imported.ok(), qPrintable(imported.error));
    QCOMPARE(imported.refused, QStringList());
    const Question& question = imported.bank.At(1);
    QCOMPARE(question.Text.mid(9),
             QStringLiteral("Цена 5 €, it’s -2 <= x, 1/2 … 10^3, 10^(-3), H_2O, строка вторая "
                            "конец Страна | Столица; Франция | Париж "));
    QCOMPARE(question.Options[0].Text, QStringLiteral("Да нет "));
    QCOMPARE(question.Options[1].Points, 0); // -100 % in a question with check boxes
    const QString warnings = imported.warnings.join(u'\n');
    for (const char* dropped :
         {"отзывы к вариантам (1)", "отзывы за верный, частично верный и неверный ответ",
          "подсказки (1)", "оценка 2.0000000", "скрытость", "постоянный порядок вариантов",
          "«−» записан как «-»"})
        QVERIFY2(warnings.contains(QString::fromUtf8(dropped)), qPrintable(warnings));

    // No control character reaches the question file, and it loads back whole.
    QBuffer file;
    file.open(QIODevice::WriteOnly);
    QString error;
    QVERIFY(WriteQuestionFile(imported.bank, &file, &error));
    const QByteArray bytes = file.data();
    QVERIFY(std::none_of(bytes.begin(), bytes.end(), [](char c) {
        return (uchar(c) < 0x20 && c != '\r' && c != '\n') || uchar(c) == 0x7F;
    }));
    QCOMPARE(bytes.count("\r\n"), bytes.count('\n'));
    CompareBanks(Reloaded(imported.bank), imported.bank);
}

void MoodleXmlTest::namedReferencesReadAsABrowserReadsThem_data() {
    QTest::addColumn<QString>("html");
    QTest::addColumn<QString>("text");
    QTest::newRow("names of HTML5")
        << QStringLiteral("&half; &check; &hyphen; &fjlig; &NotEqualTilde;")
        << QStringLiteral("½ ✓ ‐ fj ≂̸");
    QTest::newRow("line break and tab by name")
        << QStringLiteral("a&NewLine;&NewLine;b&Tab;c") << QStringLiteral("a b c");
    QTest::newRow("old names without ;")
        << QStringLiteral("&copy 2026, &copy2026, 3&lt4") << QStringLiteral("© 2026, ©2026, 3<4");
    QTest::newRow("not references")
        << QStringLiteral("AT&T &unknown; &;") << QStringLiteral("AT&T &unknown; &;");
    QTest::newRow("no blank collapses after &nbsp")
        << QStringLiteral("a&nbsp; &NonBreakingSpace;b") << QStringLiteral("a   b");
}

void MoodleXmlTest::namedReferencesReadAsABrowserReadsThem() {
    QFETCH(QString, html);
    QFETCH(QString, text);
    QCOMPARE(ParseHtml(html).Text(), text);
}

void MoodleXmlTest::theLargestFileGoesToMoodleAndBack_data() {
    QTest::addColumn<int>("count");
    QTest::newRow("2700") << kMaxQuestions;
    QTest::newRow("2701") << kMaxQuestions + 1;
}

void MoodleXmlTest::theLargestFileGoesToMoodleAndBack() {
    QFETCH(int, count);
    QuestionBank bank;
    bank.Title = QStringLiteral("Большой файл ");
    for (int q = 1; q <= count; ++q) {
        Question question;
        question.Text =
            QStringLiteral(" №%1.").arg(q).leftJustified(9) + QStringLiteral("Вопрос %1? ").arg(q);
        question.TextbookPage = QStringLiteral("\\html\\");
        question.Options[0] = {QStringLiteral("Да "), 100, false};
        question.Options[1] = {QStringLiteral("Нет "), 0, false};
        question.OptionCount = 2;
        bank.Questions << question;
    }
    bank.QuestionCount = count;
    QByteArray bytes;
    QCOMPARE(Exported(bank, &bytes).exported, count);
    QBuffer xml(&bytes);
    xml.open(QIODevice::ReadOnly);
    const MoodleImport imported = ImportMoodleXml(&xml);
    QVERIFY(imported.ok());
    // The question file holds at most 2700 questions: the rest are named, the file still loads.
    QCOMPARE(imported.bank.QuestionCount, kMaxQuestions);
    QCOMPARE(imported.refused.size(), count - kMaxQuestions);
    if (count > kMaxQuestions)
        QVERIFY(imported.refused.first().startsWith(QStringLiteral("«№2701.»: в файле вопросов "
                                                                   "не больше 2700 вопросов")));
    bank.Questions.resize(kMaxQuestions);
    bank.QuestionCount = kMaxQuestions;
    CompareBanks(Reloaded(imported.bank), bank);
}

QTEST_GUILESS_MAIN(MoodleXmlTest)
#include "tst_moodle_xml.moc"
