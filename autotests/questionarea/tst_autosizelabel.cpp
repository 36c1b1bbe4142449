// Line breaking of the question and option labels.

#include "platform/fonts.h"
#include "questions/auto_size_label.h"

#include <QtTest>

class TestAutoSizeLabel : public QObject {
    Q_OBJECT

private:
    QFont m_font;

private Q_SLOTS:
    void initTestCase() {
        InstallFontSubstitutions();
        m_font = PixelFont(QStringLiteral("Arial"), 16);
    }

    void wrapsAtBlanksWithinTheWidth() {
        const QFontMetrics fm(m_font);
        const int width = fm.horizontalAdvance(QStringLiteral("дом и сад"));
        const WrappedText wrapped = WrapText(QStringLiteral("дом и сад у реки стоят"), width, fm);
        QCOMPARE(wrapped.Lines, QStringList({QStringLiteral("дом и сад"), QStringLiteral("у реки"),
                                             QStringLiteral("стоят")}));
        QCOMPARE(wrapped.Width, width);
        QCOMPARE(wrapped.Height, 3 * fm.height());
    }

    void aLongWordWidensTheLine() {
        const QFontMetrics fm(m_font);
        const int width = fm.horizontalAdvance(QStringLiteral("один"));
        const WrappedText wrapped = WrapText(QStringLiteral("один переподготовка два"), width, fm);
        QCOMPARE(wrapped.Lines,
                 QStringList({QStringLiteral("один"), QStringLiteral("переподготовка"),
                              QStringLiteral("два")}));
        QCOMPARE(wrapped.Width, fm.horizontalAdvance(QStringLiteral("переподготовка")));
        QVERIFY(wrapped.Width > width);
    }

    void lineBreakCharactersStartNewLines() {
        const QFontMetrics fm(m_font);
        const WrappedText wrapped = WrapText(QStringLiteral("А\rБББ\nВ\r\nГ"), 1000, fm);
        QCOMPARE(wrapped.Lines, QStringList({QStringLiteral("А"), QStringLiteral("БББ"),
                                             QStringLiteral("В"), QStringLiteral("Г")}));
        QCOMPARE(wrapped.Width, fm.horizontalAdvance(QStringLiteral("БББ")));
        QCOMPARE(wrapped.Height, 4 * fm.height());
    }

    void blanksAtTheEndStayAndBreakBlanksGo() {
        const QFontMetrics fm(m_font);
        const WrappedText number = WrapText(QStringLiteral("3) "), 1000, fm);
        QCOMPARE(number.Lines, QStringList({QStringLiteral("3) ")}));
        QCOMPARE(number.Width, fm.horizontalAdvance(QStringLiteral("3) ")));

        const int width = fm.horizontalAdvance(QStringLiteral("ааа"));
        const WrappedText broken = WrapText(QStringLiteral("ааа   ббб "), width, fm);
        QCOMPARE(broken.Lines, QStringList({QStringLiteral("ааа"), QStringLiteral("ббб ")}));

        const WrappedText empty = WrapText(QString(), 100, fm);
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
};

QTEST_MAIN(TestAutoSizeLabel)
#include "tst_autosizelabel.moc"
