// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/gradient.h"

#include "platform/rounding.h"

#include <algorithm>

namespace {

// Nearest integer to numerator / denominator, ties to even. Both are integers, so the quotient
// of the two doubles is the correctly rounded value and an exact half stays an exact half.
int NearestRatio(long long numerator, long long denominator) {
    return RoundHalfEven(static_cast<double>(numerator) / static_cast<double>(denominator));
}

int StepChannel(int from, int to, int step, int steps) {
    // from + step / steps * (to - from), computed as one fraction.
    const long long numerator =
        static_cast<long long>(from) * steps + static_cast<long long>(step) * (to - from);
    return NearestRatio(numerator, steps) & 0xFF;
}

GradientBand RectBand(int left, int top, int width, int height, const QColor& color) {
    GradientBand band;
    band.rect = QRect(left, top, std::max(0, width), std::max(0, height));
    const int right = left + band.rect.width();
    const int bottom = top + band.rect.height();
    band.shape << QPoint(left, top) << QPoint(right, top) << QPoint(right, bottom)
               << QPoint(left, bottom);
    band.color = color;
    return band;
}

GradientBand QuadBand(QPoint a, QPoint b, QPoint c, QPoint d, const QColor& color) {
    GradientBand band;
    band.shape << a << b << c << d;
    band.color = color;
    return band;
}

// Bands from the top-left corner to the bottom-right corner. Coordinates are those of the
// outline: right and bottom lie one past the last pixel.
QList<GradientBand> DiagonalBands(int left, int top, int width, int height, const QColor& from,
                                  const QColor& to, int steps) {
    QList<GradientBand> bands;
    const int right = left + width;
    const int bottom = top + height;
    const int half = NearestRatio(steps, 2);

    int prevX = left;
    int prevY = top;
    for (int a = 1; a <= half; ++a) {
        const int x = left + NearestRatio(2LL * a * width, steps);
        const int y = top + NearestRatio(2LL * a * height, steps);
        bands.append(QuadBand(QPoint(prevX, top), QPoint(x, top), QPoint(left, y),
                              QPoint(left, prevY), GradientStepColor(from, to, a, steps)));
        prevX = x;
        prevY = y;
    }
    prevX = left;
    prevY = top;
    for (int b = half + 1; b <= steps; ++b) {
        const long long k = 2LL * b - steps;
        const int x = left + NearestRatio(k * width, steps);
        const int y = top + NearestRatio(k * height, steps);
        bands.append(QuadBand(QPoint(right, prevY), QPoint(right, y), QPoint(x, bottom),
                              QPoint(prevX, bottom), GradientStepColor(from, to, b, steps)));
        prevX = x;
        prevY = y;
    }
    return bands;
}

} // namespace

int ClampDrawSteps(int steps) {
    return std::clamp(steps, 1, 236);
}

QColor GradientStepColor(const QColor& from, const QColor& to, int step, int steps) {
    steps = std::max(steps, 1);
    const QColor f = from.toRgb();
    const QColor t = to.toRgb();
    return QColor(StepChannel(f.red(), t.red(), step, steps),
                  StepChannel(f.green(), t.green(), step, steps),
                  StepChannel(f.blue(), t.blue(), step, steps));
}

QList<GradientBand> GradientBands(const QRect& rect, const QColor& from, const QColor& to,
                                  int steps, DrawDirection direction) {
    steps = ClampDrawSteps(steps);
    const int left = rect.left();
    const int top = rect.top();
    const int width = std::max(0, rect.width());
    const int height = std::max(0, rect.height());
    QList<GradientBand> bands;

    switch (direction) {
    case DrawDirection::ddVertical: {
        int y0 = top;
        for (int a = 1; a <= steps; ++a) {
            const int y1 = top + NearestRatio(static_cast<long long>(a) * height, steps);
            bands.append(RectBand(left, y0, width, y1 - y0, GradientStepColor(from, to, a, steps)));
            y0 = y1;
        }
        break;
    }
    case DrawDirection::ddHorizontal: {
        int x0 = left;
        for (int a = 1; a <= steps; ++a) {
            const int x1 = left + NearestRatio(static_cast<long long>(a) * width, steps);
            bands.append(RectBand(x0, top, x1 - x0, height, GradientStepColor(from, to, a, steps)));
            x0 = x1;
        }
        break;
    }
    case DrawDirection::ddCenter:
        bands.append(RectBand(left, top, width, height, from.toRgb()));
        for (int a = 1; a <= steps; ++a) {
            const int dx = NearestRatio(static_cast<long long>(a) * width, 2LL * steps);
            const int dy = NearestRatio(static_cast<long long>(a) * height, 2LL * steps);
            bands.append(RectBand(left + dx, top + dy, width - 2 * dx, height - 2 * dy,
                                  GradientStepColor(from, to, a, steps)));
        }
        break;
    case DrawDirection::ddLRDiagonal:
        bands = DiagonalBands(left, top, width, height, from, to, steps);
        break;
    case DrawDirection::ddRLDiagonal:
        // The mirror image of the left-to-right diagonal: x runs from the right edge.
        bands = DiagonalBands(left, top, width, height, from, to, steps);
        for (GradientBand& band : bands) {
            for (QPoint& p : band.shape)
                p.setX(2 * left + width - p.x());
        }
        break;
    }
    return bands;
}
