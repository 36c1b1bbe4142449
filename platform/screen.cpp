#include "platform/screen.h"

#include "platform/display.h"
#include "platform/rounding.h"

#include <QEvent>
#include <QEventLoop>

namespace {
bool g_modalLoops = true;
}

void Screen::SetModalLoopsEnabled(bool enabled) { g_modalLoops = enabled; }

Screen::Screen(QWidget* parent) : QWidget(parent, Qt::Window) {}

void Screen::ShowScreen()
{
    show();
    raise();
    activateWindow();
}

void Screen::ShowModal()
{
    setWindowModality(Qt::ApplicationModal);
    ShowScreen();
    if (!g_modalLoops)
        return;
    QEventLoop loop;
    m_modalLoop = &loop;
    loop.exec();
    m_modalLoop = nullptr;
    setWindowModality(Qt::NonModal);
}

void Screen::SetClientSize(int width, int height) { resize(width, height); }

void Screen::CentreOnDisplay()
{
    const QSize display = DisplaySize();
    const QRect frame = frameGeometry();
    const int frameWidth = std::max(frame.width(), width());
    const int frameHeight = std::max(frame.height(), height());
    move(CentredOffset(display.width(), frameWidth), CentredOffset(display.height(), frameHeight));
}

bool Screen::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate && !m_inActivate) {
        m_inActivate = true;
        FormActivate();
        m_inActivate = false;
    } else if (event->type() == QEvent::WindowDeactivate) {
        FormDeactivate();
    }
    return QWidget::event(event);
}

void Screen::hideEvent(QHideEvent* event)
{
    if (m_modalLoop != nullptr)
        m_modalLoop->quit();
    if (!g_modalLoops)
        setWindowModality(Qt::NonModal);
    QWidget::hideEvent(event);
}
