// Program entry: creates the screens in their order and runs until the main screen closes.
#include "app/startup.h"
#include "app/test.h"
#include "platform/fonts.h"
#include "platform/russian_ui.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    PrepareWebEngineStartUp();
    QApplication app(argc, argv);
    InstallRussianTranslations();
    QApplication::setQuitOnLastWindowClosed(false);
    InstallFontSubstitutions();

    CreateScreens();
    Form1->show();
    Form1->activateWindow();
    const int code = QApplication::exec();
    DestroyScreens();
    return code;
}
