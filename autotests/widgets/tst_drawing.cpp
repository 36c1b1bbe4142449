// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Gradient colours and bands, the background painter, frame rings and the multi-line label.

#include "widgets/background.h"
#include "widgets/frame.h"
#include "widgets/gradient.h"
#include "widgets/multiline_label.h"
#include "widgets/ring.h"
#include "widgets/stored_picture.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QSet>
#include <QTest>

using Bevel = TabcFrame::Bevel;

namespace {

QSet<QPoint> ToSet(const QList<QPoint>& points) {
    return QSet<QPoint>(points.begin(), points.end());
}

// A parent filled with one colour, to show what a child leaves unpainted.
void FillWith(QWidget& widget, const QColor& colour) {
    widget.setAutoFillBackground(true);
    QPalette palette = widget.palette();
    palette.setColor(QPalette::Window, colour);
    widget.setPalette(palette);
}

// A 40 x 30 picture of distinct colours saved as a PNG file in the temporary folder; its path, or
// nothing when it could not be saved.
QString SaveTestPicture(const QString& name) {
    QImage stored(40, 30, QImage::Format_RGB32);
    for (int y = 0; y < stored.height(); ++y)
        for (int x = 0; x < stored.width(); ++x)
            stored.setPixelColor(x, y, QColor(x * 6, y * 8, (x * y) % 256));
    const QString file = QDir::temp().filePath(name);
    return stored.save(file) ? file : QString();
}

} // namespace

class DrawingTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void clampSteps_data() {
        QTest::addColumn<int>("steps");
        QTest::addColumn<int>("expected");
        QTest::newRow("0") << 0 << 1;
        QTest::newRow("negative") << -3 << 1;
        QTest::newRow("236") << 236 << 236;
        QTest::newRow("237") << 237 << 236;
    }
    void clampSteps() {
        QFETCH(int, steps);
        QFETCH(int, expected);
        TabcBackground background;
        background.SetDrawSteps(steps);
        QCOMPARE(background.DrawSteps(), expected);
    }

    void stepColour_data() {
        QTest::addColumn<QColor>("from");
        QTest::addColumn<QColor>("to");
        QTest::addColumn<int>("step");
        QTest::addColumn<int>("steps");
        QTest::addColumn<QColor>("expected");
        QTest::newRow("first step moves")
            << QColor(0, 0, 255) << QColor(0, 0, 0) << 1 << 236 << QColor(0, 0, 254);
        QTest::newRow("last step is ColorTo")
            << QColor(0xDF, 0xDF, 0xFF) << QColor(0, 0, 255) << 236 << 236 << QColor(0, 0, 255);
        QTest::newRow("ties to even")
            << QColor(0, 0, 0) << QColor(253, 5, 3) << 1 << 2 << QColor(126, 2, 2);
        QTest::newRow("falling channel") << QColor(0xFE, 0xFF, 0xF4) << QColor(0xFF, 0x80, 0x00)
                                         << 118 << 236 << QColor(0xFE, 0xC0, 0x7A);
    }
    void stepColour() {
        QFETCH(QColor, from);
        QFETCH(QColor, to);
        QFETCH(int, step);
        QFETCH(int, steps);
        QFETCH(QColor, expected);
        QCOMPARE(GradientStepColor(from, to, step, steps), expected);
    }

    void verticalBands() {
        const QColor to(0, 0, 0);
        const auto bands =
            GradientBands(QRect(0, 0, 105, 105), Qt::blue, to, 236, DrawDirection::ddVertical);
        QCOMPARE(bands.size(), 236);
        QCOMPARE(bands[0].rect, QRect(0, 0, 105, 0));
        QCOMPARE(bands[1].rect, QRect(0, 0, 105, 1));
        QCOMPARE(bands[2].rect, QRect(0, 1, 105, 0));
        QCOMPARE(bands.last().color, to);
        int next = 0; // the bands tile the height without gaps or overlaps
        for (const GradientBand& band : bands) {
            QCOMPARE(band.rect.top(), next);
            next += band.rect.height();
        }
        QCOMPARE(next, 105);
    }

    void singleStep_data() {
        QTest::addColumn<int>("size");
        QTest::addColumn<QRect>("centreInset");
        QTest::newRow("even") << 104 << QRect(52, 52, 0, 0);
        QTest::newRow("odd") << 105 << QRect(52, 52, 1, 1);
    }
    void singleStep() {
        QFETCH(int, size);
        QFETCH(QRect, centreInset);
        const QColor from(0xDF, 0xDF, 0xFF), to(0, 0, 255);
        const QRect area(0, 0, size, size);
        const auto vertical = GradientBands(area, from, to, 0, DrawDirection::ddVertical);
        QCOMPARE(vertical.size(), 1);
        QCOMPARE(vertical[0].rect, area);
        QCOMPARE(vertical[0].color, to);
        const auto centre = GradientBands(area, from, to, 0, DrawDirection::ddCenter);
        QCOMPARE(centre.size(), 2);
        QCOMPARE(centre[0].rect, area);
        QCOMPARE(centre[0].color, from);
        QCOMPARE(centre[1].rect, centreInset);
    }

    void diagonalBands() {
        const QRect area(0, 0, 200, 100);
        const auto lr = GradientBands(area, Qt::white, Qt::black, 236, DrawDirection::ddLRDiagonal);
        QCOMPARE(lr.size(), 236);
        // The first half ends on the line from top-right to bottom-left; the second starts there.
        QCOMPARE(lr[117].shape, QPolygon({{198, 0}, {200, 0}, {0, 100}, {0, 99}}));
        QCOMPARE(lr[118].shape, QPolygon({{200, 0}, {200, 1}, {2, 100}, {0, 100}}));
        QCOMPARE(lr.last().shape[1], QPoint(200, 100));
        const auto rl = GradientBands(area, Qt::white, Qt::black, 236, DrawDirection::ddRLDiagonal);
        for (int i = 0; i < lr.size(); ++i)
            for (int k = 0; k < 4; ++k)
                QCOMPARE(rl[i].shape[k], QPoint(200 - lr[i].shape[k].x(), lr[i].shape[k].y()));
    }

    void backgroundPaintsTheBands() {
        QWidget parent;
        parent.resize(200, 200);
        FillWith(parent, Qt::red);
        auto* background = new TabcBackground(&parent);
        QImage image = parent.grab().toImage();
        // Row 0 is band 2; the last row is band 235 (band 236 is empty).
        QCOMPARE(image.pixelColor(50, 0), GradientStepColor(Qt::blue, Qt::black, 2, 236));
        QCOMPARE(image.pixelColor(50, 104), QColor(0, 0, 1));
        QCOMPARE(image.pixelColor(50, 105), QColor(Qt::red));

        background->SetDrawDirection(DrawDirection::ddRLDiagonal);
        background->SetColorFrom(Qt::white);
        image = parent.grab().toImage();
        QVERIFY(image.pixelColor(104, 0).red() >= 0xFD); // from the top-right corner
        QVERIFY(image.pixelColor(0, 104).red() <= 2);

        background->SetActive(false);
        QCOMPARE(parent.grab().toImage().pixelColor(50, 50), QColor(Qt::red));
    }

    void bufferedBackgroundRendersOnlyAfterChanges() {
        TabcBackground background;
        background.SetDrawBuffered(true);
        const QImage first = background.grab().toImage();
        QCOMPARE(background.grab().toImage(), first);
        background.SetColorTo(Qt::black); // unchanged
        background.grab();
        QCOMPARE(background.RenderCount(), 1);
        background.SetColorTo(Qt::yellow);
        QCOMPARE(background.grab().toImage().pixelColor(0, 104),
                 GradientStepColor(Qt::blue, Qt::yellow, 235, 236));
        QCOMPARE(background.RenderCount(), 2);
        background.resize(50, 60);
        QCOMPARE(background.grab().toImage().size(), QSize(50, 60));
        QCOMPARE(background.RenderCount(), 3);
    }

    void cornerWidth_data() {
        QTest::addColumn<QSize>("initial");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("requested");
        QTest::addColumn<int>("expected");
        const QSize tall(257, 300);
        QTest::newRow("kept") << tall << QSize(257, 33) << 5 << 5;
        QTest::newRow("half the height") << tall << QSize(257, 33) << 40 << 16;
        QTest::newRow("half the width") << tall << QSize(21, 100) << 40 << 10;
        QTest::newRow("negative") << tall << QSize(257, 33) << -2 << 0;
        // The stored value is what a resize applies again: a frame that grows keeps it.
        QTest::newRow("grown") << QSize(257, 33) << tall << 40 << 16;
    }
    void cornerWidth() {
        QFETCH(QSize, initial);
        QFETCH(QSize, size);
        QFETCH(int, requested);
        QFETCH(int, expected);
        TabcFrame frame;
        frame.resize(initial);
        frame.SetCornerWidth(requested);
        frame.resize(size); // the rule applies again on every resize
        QCOMPARE(frame.CornerWidth(), expected);
    }

    void ringOrder_data() {
        QTest::addColumn<int>("inner");
        QTest::addColumn<bool>("innerSwapped");
        QTest::newRow("raised inner") << int(Bevel::Raised) << false;
        QTest::newRow("lowered inner") << int(Bevel::Lowered) << true;
    }
    void ringOrder() {
        QFETCH(int, inner);
        QFETCH(bool, innerSwapped);
        const QColor light(0xFF, 0xFF, 0xFF), dark(0x80, 0x80, 0x80), face(0xC0, 0xC0, 0xC0);
        const QColor under(0xFF, 0x00, 0xFF);
        QWidget parent;
        parent.resize(300, 50);
        FillWith(parent, under);
        auto& frame = *new TabcFrame(&parent);
        frame.setGeometry(0, 0, 257, 33);
        frame.SetColorHighlight(light);
        frame.SetColorShadow(dark);
        frame.SetColor(face);
        frame.SetBorderStyle(TabcFrame::BorderStyle::Single);
        frame.SetBevelInner(static_cast<Bevel>(inner));
        frame.SetBorderWidth(1);
        frame.SetCornerWidth(5);

        const QList<QPair<QColor, QColor>> colours = {{Qt::black, Qt::black},
                                                      {light, dark},
                                                      {face, face},
                                                      innerSwapped ? qMakePair(dark, light)
                                                                   : qMakePair(light, dark)};
        const auto rings = frame.Rings();
        QCOMPARE(rings.size(), 4);
        const QImage image = parent.grab().toImage();
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(rings[i].rect, QRect(QPoint(i, i), QPoint(256 - i, 32 - i)));
            QCOMPARE(rings[i].radius, 5);
            QCOMPARE(image.pixelColor(i, 16), colours[i].first);
            QCOMPARE(image.pixelColor(128, i), colours[i].first);
            QCOMPARE(image.pixelColor(256 - i, 16), colours[i].second);
            QCOMPARE(image.pixelColor(128, 32 - i), colours[i].second);
        }
        // Curved corners and an unfilled inside.
        QCOMPARE(image.pixelColor(0, 0), under);
        QCOMPARE(image.pixelColor(1, 1), QColor(Qt::black));
        QCOMPARE(image.pixelColor(128, 16), under);
    }

    void curvedRing_data() {
        QTest::addColumn<int>("radius");
        for (int r : {1, 2, 5, 16})
            QTest::addRow("r=%d", r) << r;
    }
    void curvedRing() {
        QFETCH(int, radius);
        const QRect rect(QPoint(2, 3), QPoint(60, 35));
        const RingPixels ring = RingOutline(rect, radius);
        const QSet<QPoint> first = ToSet(ring.first), second = ToSet(ring.second);
        QVERIFY(!first.intersects(second));
        const QSet<QPoint> all = first | second;
        for (const QPoint& p : all) {
            QVERIFY(rect.contains(p));
            QVERIFY(all.contains(QPoint(rect.left() + rect.right() - p.x(), p.y())));
            QVERIFY(all.contains(QPoint(p.x(), rect.top() + rect.bottom() - p.y())));
            int neighbours = 0; // a closed line without gaps
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx)
                    neighbours += (dx || dy) && all.contains(p + QPoint(dx, dy));
            QVERIFY(neighbours >= 2);
        }
        QVERIFY(first.contains(QPoint(rect.left(), rect.top() + radius)));
        QVERIFY(first.contains(QPoint(rect.left() + radius, rect.top())));
        QVERIFY(second.contains(QPoint(rect.right() - radius, rect.bottom())));
        QCOMPARE(all.contains(rect.topLeft()), radius == 1);
    }

    void multilineLabel() {
        TabcMultilineLabel label;
        label.SetLines({QStringLiteral("Автор"), QString(), QStringLiteral("<b>")});
        QCOMPARE(label.text(), QStringLiteral("Автор\n\n<b>")); // no break after the last line
        QCOMPARE(label.textFormat(), Qt::PlainText);
        label.SetLines({});
        QCOMPARE(label.text(), QString());
    }

    // A stored picture is read only once shown, holds it only at its own size, and draws exactly
    // what a label stretching the whole picture draws.
    void storedPictureIsReadWhenShownAndDrawnAsStretched() {
        const QString file = SaveTestPicture(QStringLiteral("stored_picture_test.png"));
        QVERIFY(!file.isEmpty());

        QWidget window;
        StoredPicture picture(file, &window);
        QLabel stretched(&window);
        stretched.setScaledContents(true);
        stretched.setPixmap(QPixmap(file));
        for (const QSize size : {QSize(97, 61), QSize(23, 17)}) {
            picture.setGeometry(QRect(QPoint(0, 0), size));
            stretched.setGeometry(QRect(QPoint(0, 0), size));
            if (!window.isVisible()) {
                QVERIFY(picture.pixmap().isNull());
                window.show();
            }
            QCOMPARE(picture.pixmap().size(), size);
            QCOMPARE(picture.grab().toImage(), stretched.grab().toImage());
        }
        window.hide(); // a closed screen holds no picture; shown again, it has it at once
        QVERIFY(picture.pixmap().isNull());
        window.show();
        QCOMPARE(picture.grab().toImage(), stretched.grab().toImage());
        QFile::remove(file);
    }

    void storedPictureUnderACoverKeepsOnlyItsEdge() {
        const QString file = SaveTestPicture(QStringLiteral("stored_picture_cover.png"));
        QVERIFY(!file.isEmpty());

        // The same window twice: a stretching label and the stored picture, each under a panel.
        const auto makeWindow = [](QWidget& window, QLabel* picture) {
            window.resize(97, 61);
            picture->setGeometry(window.rect());
            auto* panel = new QFrame(&window);
            FillWith(*panel, Qt::darkBlue);
            panel->setGeometry(9, 7, 70, 40);
            return panel;
        };
        QWidget expectedWindow;
        auto* stretched = new QLabel(&expectedWindow);
        stretched->setScaledContents(true);
        stretched->setPixmap(QPixmap(file));
        makeWindow(expectedWindow, stretched);
        QWidget window;
        auto* picture = new StoredPicture(file, &window);
        picture->SetCoveredBy(makeWindow(window, picture));
        window.show();
        expectedWindow.show();

        QCOMPARE(window.grab().toImage(), expectedWindow.grab().toImage());
        const QRegion held = picture->HeldArea();
        QCOMPARE(held, QRegion(window.rect()).subtracted(QRect(9, 7, 70, 40)));
        window.hide();
        QVERIFY(picture->HeldArea().isEmpty());
        QFile::remove(file);
    }
};

QTEST_MAIN(DrawingTest)
#include "tst_drawing.moc"
