// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Question exchange with Moodle: the sample course to Moodle XML and back, and a Moodle XML file
// written by hand for these tests.

#include "autotests/support/test_support.h"
#include "platform/text_file.h"
#include "tools/moodlexml/moodle_xml.h"
#include "tools/moodlexml/question_file_writer.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

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
    void handWrittenMoodleFileImportsAsExpected();
    void refusedQuestionsAreNamedAndTheRestIsWritten();
};

void MoodleXmlTest::sampleCourseGoesToMoodleAndBackUnchanged() {
    QuestionBank course;
    QVERIFY(course.LoadFile(SourcePath(QStringLiteral("course/ortu/pdb12.db"))).ok());
    const MoodleExport exported = ExportMoodleXml(course, SourcePath(QStringLiteral("course")));
    QCOMPARE(exported.warnings, QStringList());
    QBuffer xml;
    xml.setData(exported.xml);
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
    // Questions whose points go to several options are multiple-answer questions.
    QVERIFY(exported.xml.contains("<single>false</single>"));
    QVERIFY(exported.xml.contains("<single>true</single>"));
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

QTEST_GUILESS_MAIN(MoodleXmlTest)
#include "tst_moodle_xml.moc"
