// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
// htmlshot: renders a local HTML page (a groupreport page) to a PNG with Qt WebEngine, for the
// screenshots of the documentation.
//
//   htmlshot PAGE.html OUT.png [WIDTH HEIGHT [ANCHOR]]
//
// Needs a display (Xvfb will do). Exit status 0 written, 2 not.

#include <QApplication>
#include <QFileInfo>
#include <QTimer>
#include <QUrl>
#include <QWebEngineView>

#include <cstdio>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() < 3) {
        std::fputs("htmlshot PAGE.html OUT.png [WIDTH HEIGHT [ANCHOR]]\n", stderr);
        return 2;
    }
    const QString out = args[2];
    const int width = args.size() > 3 ? args[3].toInt() : 1024;
    const int height = args.size() > 4 ? args[4].toInt() : 768;
    QUrl url = QUrl::fromLocalFile(QFileInfo(args[1]).absoluteFilePath());
    if (args.size() > 5)
        url.setFragment(args[5]);

    QWebEngineView view;
    view.setWindowFlag(Qt::FramelessWindowHint);
    view.resize(width, height);
    view.move(0, 0);
    view.show();
    int status = 2;
    QObject::connect(&view, &QWebEngineView::loadFinished, &app, [&](bool ok) {
        if (!ok) {
            QApplication::exit(2);
            return;
        }
        // The page has no script; give the compositor a moment to paint what it laid out.
        QTimer::singleShot(1500, &app, [&] {
            status = view.grab().save(out) ? 0 : 2;
            QApplication::exit(status);
        });
    });
    view.load(url);
    return QApplication::exec();
}
