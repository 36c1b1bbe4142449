// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The baseline of the idle and memory measurements: one web view, alone in a window of the
// textbook's size, showing a page given on the command line (the textbook's start page).
#include <QApplication>
#include <QScreen>
#include <QUrl>
#include <QWebEngineView>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWebEngineView view;
    view.setWindowFlag(Qt::FramelessWindowHint, true);
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    view.setGeometry(screen.adjusted(68, 53, -68, -53)); // the textbook's browser at 1024 x 768
    if (argc > 1)
        view.load(QUrl::fromUserInput(QString::fromLocal8Bit(argv[1])));
    view.show();
    return QApplication::exec();
}
