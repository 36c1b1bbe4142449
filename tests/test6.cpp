// Control test screen.
#include "tests/test6.h"

#include "app/test.h"

#include <QCloseEvent>
#include <QTimer>

QPointer<TForm6> Form6;

TForm6::TForm6(QWidget* parent) : Screen(parent)
{
    setObjectName(QStringLiteral("Form6"));
}

void TForm6::closeEvent(QCloseEvent* event)
{
    // The screen frees itself when closed; the screen that opens it next makes a new one.
    Shell().RecreateControlScreen = 1;
    setAttribute(Qt::WA_DeleteOnClose, true);
    Screen::closeEvent(event);
}
