// Answer review screen.
#include "review/test8.h"

#include "app/test.h"

#include <QCloseEvent>
#include <QTimer>

QPointer<TForm8> Form8;

TForm8::TForm8(QWidget* parent) : Screen(parent)
{
    setObjectName(QStringLiteral("Form8"));
}

void TForm8::closeEvent(QCloseEvent* event)
{
    // The screen frees itself when closed; the screen that opens it next makes a new one.
    Shell().RecreateReviewScreen = 1;
    setAttribute(Qt::WA_DeleteOnClose, true);
    Screen::closeEvent(event);
}
