// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/ring.h"

#include <algorithm>

namespace {

// Whether pixel (i, j) of an r x r corner square lies in the disc of radius r whose centre is
// the square's inner corner (r - 0.5, r - 0.5). Doubled coordinates keep it in integers.
bool InCornerDisc(int i, int j, int r) {
    const long long di = 2LL * i - (2LL * r - 1);
    const long long dj = 2LL * j - (2LL * r - 1);
    return di * di + dj * dj <= 4LL * r * r;
}

// Offsets (i, j) of the top-left arc inside its r x r square: the disc pixels whose left or
// upper neighbour is outside the disc. This gives an 8-connected line one pixel thin.
QList<QPoint> CornerArc(int r) {
    QList<QPoint> arc;
    for (int j = 0; j < r; ++j) {
        for (int i = 0; i < r; ++i) {
            if (InCornerDisc(i, j, r) && (!InCornerDisc(i - 1, j, r) || !InCornerDisc(i, j - 1, r)))
                arc.append(QPoint(i, j));
        }
    }
    return arc;
}

} // namespace

RingPixels RingOutline(const QRect& rect, int radius) {
    RingPixels ring;
    if (rect.width() <= 0 || rect.height() <= 0)
        return ring;
    const int l = rect.left();
    const int t = rect.top();
    const int r = rect.right();
    const int b = rect.bottom();
    const int rad = std::clamp(radius, 0, std::min(rect.width() / 2, rect.height() / 2));

    for (int y = t + rad; y <= b - rad; ++y)
        ring.first.append(QPoint(l, y));
    for (int x = l + rad; x <= r - rad - 1; ++x)
        ring.first.append(QPoint(x, t));
    for (int y = t + rad; y <= b - rad; ++y)
        ring.second.append(QPoint(r, y));
    for (int x = l + rad + 1; x <= r - rad; ++x)
        ring.second.append(QPoint(x, b));
    if (rad == 0)
        return ring;

    // The ends where a straight side meets an arc belong to the arc's half.
    ring.first.append(QPoint(l + rad, b));
    ring.second.append(QPoint(r - rad, t));
    for (const QPoint& p : CornerArc(rad)) {
        ring.first.append(QPoint(l + p.x(), t + p.y()));
        ring.first.append(QPoint(l + p.x(), b - p.y()));
        ring.second.append(QPoint(r - p.x(), t + p.y()));
        ring.second.append(QPoint(r - p.x(), b - p.y()));
    }
    return ring;
}
