#include "platform/display_scale.h"

#include <QGuiApplication>
#include <QScreen>
#include <QtGui/private/qhighdpiscaling_p.h>
#include <algorithm>

double ScaleShrink(QSize logical, double scale) {
    if (logical.isEmpty() || scale <= 1.0)
        return 1.0;
    const double fit = std::min(double(logical.width()) / kSmallestDisplay.width(),
                                double(logical.height()) / kSmallestDisplay.height());
    return std::clamp(fit, 1.0 / scale, 1.0);
}

void KeepDisplayLargeEnough() {
    QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return;
    const double shrink = ScaleShrink(screen->geometry().size(), screen->devicePixelRatio());
    if (shrink >= 1.0)
        return;
    // The program's own factor multiplies the one the desktop gives the screen (its DPI).
    bool given = false;
    double global = qEnvironmentVariable("QT_SCALE_FACTOR").toDouble(&given);
    if (!given || global <= 0)
        global = 1.0;
    QHighDpiScaling::setGlobalFactor(global * shrink);
}
