// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Line breaking of the question and option labels.

#include "benchmarks/reference_wrap.h"
#include "platform/fonts.h"
#include "questions/auto_size_label.h"
#include "questions/question_bank.h"
#include "test_support.h"

#include <QtTest>

namespace {

WrappedText ReferenceWrap(const QString& text, int maxWidth, const QFontMetrics& metrics) {
    WrappedText wrapped;
    if (text.isEmpty()) {
        wrapped.Height = metrics.height();
        return wrapped;
    }
    QString normalised = text;
    normalised.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    normalised.replace(u'\r', u'\n');
    for (const QString& paragraph : normalised.split(u'\n'))
        ReferenceParagraph(paragraph, maxWidth, metrics, wrapped.Lines);
    for (const QString& line : wrapped.Lines)
        wrapped.Width = std::max(wrapped.Width, metrics.horizontalAdvance(line));
    wrapped.Height = int(wrapped.Lines.size()) * metrics.height();
    return wrapped;
}

// The texts the labels show for the sample course: every question text and every option row.
QStringList CourseTexts() {
    QStringList texts;
    const QDir folder(SourcePath(QStringLiteral("course/ortu")));
    for (const QString& name : folder.entryList({QStringLiteral("*.db")}, QDir::Files)) {
        QuestionBank bank;
        bank.LoadFile(folder.filePath(name));
        for (const Question& question : bank.Questions) {
            texts << question.Text.mid(9);
            for (int i = 0; i < question.OptionCount; ++i)
                texts << QStringLiteral("%1) ").arg(i + 1) + question.Options[i].Text;
        }
    }
    return texts;
}

} // namespace

class TestAutoSizeLabel : public QObject {
    Q_OBJECT

private:
    QFont m_font;

private Q_SLOTS:
    void initTestCase() {
        InstallFontSubstitutions();
        m_font = PixelFont(QStringLiteral("Arial"), 16);
    }

    void sameLinesAsTheReference_data() {
        QTest::addColumn<QStringList>("texts");
        const QStringList course = CourseTexts();
        QVERIFY(course.size() > 100);
        QTest::newRow("sample course") << course;
        QTest::newRow("breaks Unicode allows inside words")
            << QStringList{QStringLiteral("кто-то где-то и/или 1-2 так-сяк (см. стр. 12) Вот-вот"),
                           QStringLiteral("слово ? слово ! слово , слово ) и т.д. ( слово )"),
                           QStringLiteral("   в начале  и    в середине и в конце   "),
                           QStringLiteral("один переподготовка два\r\nтри\rчетыре\nпять"),
                           QStringLiteral("Вот-вот так-сяк шахмат кот сук Т-34 рук! мат? мост. ")};
    }
    void sameLinesAsTheReference() {
        QFETCH(QStringList, texts);
        const QFont bold = [this] {
            QFont font = m_font;
            font.setBold(true);
            return font;
        }();
        for (const QFont& font : {m_font, bold}) {
            const QFontMetrics fm(font);
            // The widths of the test screens' rows at both display sizes, beside the video
            // panel, and a range of narrow columns.
            QList<int> widths = {987, 744, 215, 1, 0};
            for (int w = 40; w <= 700; w += 23)
                widths << w;
            for (const QString& text : texts) {
                for (const int width : widths) {
                    const WrappedText expected = ReferenceWrap(text, width, fm);
                    const WrappedText actual = WrapText(text, width, font);
                    const QString where =
                        QStringLiteral("width %1, bold %2: [%3] broken as [%4] instead of [%5]")
                            .arg(width)
                            .arg(font.bold())
                            .arg(text, actual.Lines.join(u'|'), expected.Lines.join(u'|'));
                    QVERIFY2(actual.Lines == expected.Lines, qPrintable(where));
                    QVERIFY2(actual.Width == expected.Width, qPrintable(where));
                    QCOMPARE(actual.Height, expected.Height);
                }
            }
        }
    }

    void wrapsAtBlanksWithinTheWidth() {
        const QFontMetrics fm(m_font);
        const int width = fm.horizontalAdvance(QStringLiteral("дом и сад"));
        const WrappedText wrapped =
            WrapText(QStringLiteral("дом и сад у реки стоят"), width, m_font);
        QCOMPARE(wrapped.Lines, QStringList({QStringLiteral("дом и сад"), QStringLiteral("у реки"),
                                             QStringLiteral("стоят")}));
        QCOMPARE(wrapped.Width, width);
        QCOMPARE(wrapped.Height, 3 * fm.height());
    }

    void aLongWordWidensTheLine() {
        const QFontMetrics fm(m_font);
        const int width = fm.horizontalAdvance(QStringLiteral("один"));
        const WrappedText wrapped =
            WrapText(QStringLiteral("один переподготовка два"), width, m_font);
        QCOMPARE(wrapped.Lines,
                 QStringList({QStringLiteral("один"), QStringLiteral("переподготовка"),
                              QStringLiteral("два")}));
        QCOMPARE(wrapped.Width, fm.horizontalAdvance(QStringLiteral("переподготовка")));
        QVERIFY(wrapped.Width > width);
    }

    void lineBreakCharactersStartNewLines() {
        const QFontMetrics fm(m_font);
        const WrappedText wrapped = WrapText(QStringLiteral("А\rБББ\nВ\r\nГ"), 1000, m_font);
        QCOMPARE(wrapped.Lines, QStringList({QStringLiteral("А"), QStringLiteral("БББ"),
                                             QStringLiteral("В"), QStringLiteral("Г")}));
        QCOMPARE(wrapped.Width, fm.horizontalAdvance(QStringLiteral("БББ")));
        QCOMPARE(wrapped.Height, 4 * fm.height());
    }

    void blanksAtTheEndStayAndBreakBlanksGo() {
        const QFontMetrics fm(m_font);
        const WrappedText number = WrapText(QStringLiteral("3) "), 1000, m_font);
        QCOMPARE(number.Lines, QStringList({QStringLiteral("3) ")}));
        QCOMPARE(number.Width, fm.horizontalAdvance(QStringLiteral("3) ")));

        const int width = fm.horizontalAdvance(QStringLiteral("ааа"));
        const WrappedText broken = WrapText(QStringLiteral("ааа   ббб "), width, m_font);
        QCOMPARE(broken.Lines, QStringList({QStringLiteral("ааа"), QStringLiteral("ббб ")}));

        const WrappedText empty = WrapText(QString(), 100, m_font);
        QVERIFY(empty.Lines.isEmpty());
        QCOMPARE(empty.Height, fm.height());
    }

    void labelTakesTheSizeOfItsText() {
        AutoSizeLabel label;
        label.setFont(m_font);
        const QFontMetrics fm(m_font);
        label.move(32, 40);
        label.setText(QString());
        label.SetWidth(fm.horizontalAdvance(QStringLiteral("первая строка")));
        label.setText(QStringLiteral("первая строка вторая"));
        QCOMPARE(label.pos(), QPoint(32, 40));
        QCOMPARE(label.Lines(),
                 QStringList({QStringLiteral("первая строка"), QStringLiteral("вторая")}));
        QCOMPARE(label.width(), fm.horizontalAdvance(QStringLiteral("первая строка")));
        QCOMPARE(label.height(), 2 * fm.height());

        // Setting the width alone keeps the lines; the next text breaks at the new width.
        label.SetWidth(500);
        QCOMPARE(label.Lines().size(), 2);
        label.setText(QStringLiteral("первая строка вторая"));
        QCOMPARE(label.Lines().size(), 1);
        QCOMPARE(label.width(), fm.horizontalAdvance(QStringLiteral("первая строка вторая")));

        // An emptied label keeps its width and is one line high.
        const int before = label.width();
        label.setText(QString());
        QCOMPARE(label.width(), before);
        QCOMPARE(label.height(), fm.height());
    }

    void aHugeTextBreaksOnlyTheLinesThatCanBeSeen() {
        // A damaged data file can hold lines of megabytes; a label is never higher than the
        // display (and a line), and the lines it shows are those of the whole text.
        DisplayOverride display(QSize(1024, 768));
        const QFontMetrics fm(m_font);
        const int visible = 768 / fm.height() + 2;
        QString words;
        while (words.size() < 200'000)
            words += QStringLiteral("слово ");
        AutoSizeLabel label;
        label.setFont(m_font);
        label.SetWidth(700);
        label.setText(words);
        QCOMPARE(label.text(), words);
        QCOMPARE(label.Lines(), WrapText(words, 700, m_font).Lines.mid(0, visible));
        QCOMPARE(label.height(), visible * fm.height());

        // One word of 2 MB: a line wider than any display, not the whole word.
        label.setText(QString());
        label.SetWidth(700);
        label.setText(QString(2'000'000, QChar(0x0416)) + QStringLiteral(" конец"));
        QCOMPARE(label.Lines().size(), 2);
        QVERIFY(label.Lines().first().size() < 4096);
        QVERIFY(label.width() > 2 * 1024);
        QCOMPARE(label.Lines().last(), QStringLiteral("конец"));
    }
};

QTEST_MAIN(TestAutoSizeLabel)
#include "tst_autosizelabel.moc"
