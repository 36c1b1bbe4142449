// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Help pages screen.
#include "materials/test7.h"

#include "materials/course_page.h"
#include "materials/test94.h"
#include "platform/colours.h"
#include "platform/display.h"
#include "platform/paths.h"
#include "widgets/stored_picture.h"

#include <QCloseEvent>
#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QShortcut>
#include <QWebEngineView>

TForm7::TForm7(ScreenShell& shell, QWidget* parent) : Screen(parent), m_shell(shell) {
    // Back from a notice or from another application the help page being read stays.
    SetActivationSkippedOnReturn(true);
    setObjectName(QStringLiteral("Form7"));
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    setWindowTitle(QStringLiteral("О программе"));
    PrepareWindowForWebView(this);

    auto* frame =
        Named(new StoredPicture(QStringLiteral(":/pictures/book_frame.jpg"), this), "Image1");
    Image1 = frame;

    Panel1 = Named(new QFrame(this), "Panel1");
    Panel1->setFrameStyle(QFrame::Box | QFrame::Plain);
    Panel1->setLineWidth(1);
    SetFillColour(Panel1, QColor(0x00, 0x00, 0x80));
    frame->SetCoveredBy(Panel1); // the frame alone is held

    // The browser is built when the help is first shown (BuildBrowser()).
    WebBrowser1 = nullptr;

    setGeometry(LargeScreenGeometry(DisplaySize()));
    Image1->setGeometry(rect());

    // Escape puts the help away as the window system's close does: the textbook comes back.
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this, [this] {
        if (!m_shell.ChooseTextbook())
            hide();
    });
}

void TForm7::resizeEvent(QResizeEvent* event) {
    // The panel's place first, so that the frame picture is cut around it once.
    Panel1->setGeometry(18, 18, width() - 38, height() - 38);
    Image1->setGeometry(rect());
    Screen::resizeEvent(event);
}

void TForm7::BuildBrowser() {
    // A web view holds a renderer of the web engine; most runs never open the help.
    if (WebBrowser1 != nullptr)
        return;
    WebBrowser1 = Named(new QWebEngineView(Panel1), "WebBrowser1");
    WebBrowser1->setPage(new CoursePage(
        m_shell, QStringLiteral("\\helphtml\\"),
        QStringLiteral("Ссылка ведет за пределы справки и не открывается."), WebBrowser1));
    WebBrowser1->setContextMenuPolicy(Qt::NoContextMenu);
    WebBrowser1->show();
}

void TForm7::FormActivate() {
    BuildBrowser();
    setGeometry(LargeScreenGeometry(DisplaySize()));
    Image1->setGeometry(rect());
    Panel1->setGeometry(Image1->x() + 18, Image1->y() + 18, Image1->width() - 38,
                        Image1->height() - 38);
    WebBrowser1->setGeometry(Panel1->contentsRect());

    const QString folder = m_shell.ProgramFolder();
    m_openedPage = QUrl::fromLocalFile(DataPath(folder, QStringLiteral("\\helphtml\\index.htm")));
    WebBrowser1->load(m_openedPage);
}

void TForm7::closeEvent(QCloseEvent* event) {
    // Closed by the window system: "О программе..." brings the help back.
    if (!StepAsideForTextbook(event, this, m_shell))
        Screen::closeEvent(event);
}
