// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/display_scale.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>
#include <algorithm>
#include <cstdio>
#include <unistd.h>

namespace {
// Set for the program started again, which takes its scaling as it is.
constexpr char kScaledAgain[] = "COURSE_TESTING_SCALED";
} // namespace

double ScaleShrink(QSize logical, double scale) {
    if (logical.isEmpty() || scale <= 1.0)
        return 1.0;
    const double fit = std::min(double(logical.width()) / kSmallestDisplay.width(),
                                double(logical.height()) / kSmallestDisplay.height());
    return std::clamp(fit, 1.0 / scale, 1.0);
}

void KeepDisplayLargeEnough(char* argv[]) {
    QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr || qEnvironmentVariableIsSet(kScaledAgain))
        return;
    const double shrink = ScaleShrink(screen->geometry().size(), screen->devicePixelRatio());
    if (shrink >= 1.0)
        return;
    // The program's own factor multiplies the one the desktop gives the screen (its DPI).
    bool given = false;
    double global = qEnvironmentVariable("QT_SCALE_FACTOR").toDouble(&given);
    if (!given || global <= 0)
        global = 1.0;
    // Qt reads its factor when the application object is made: the program starts again with it.
    qputenv("QT_SCALE_FACTOR", QByteArray::number(global * shrink, 'g', 6));
    qputenv(kScaledAgain, "1");
    const QByteArray program = QCoreApplication::applicationFilePath().toLocal8Bit();
    std::fflush(nullptr);
    execv(program.constData(), argv);
    // Could not start again: the program goes on at the scaling it has.
}
