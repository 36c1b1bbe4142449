// Video fragment viewer.
#include "materials/test99.h"

#include "app/test.h"

#include <QCloseEvent>
#include <QTimer>

QPointer<TForm9> Form9;

TForm9::TForm9(QWidget* parent) : Screen(parent)
{
    setObjectName(QStringLiteral("Form9"));
}

void TForm9::closeEvent(QCloseEvent* event)
{
    // The screen frees itself when closed; the screen that opens it next makes a new one.
    Shell().RecreateVideoScreen = 1;
    setAttribute(Qt::WA_DeleteOnClose, true);
    Screen::closeEvent(event);
}
