// Program entry: creates the screens in their order and runs until the main screen closes.
#include "app/startup.h"
#include "app/test.h"
#include "platform/fonts.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("Тестирование"));
    QApplication::setQuitOnLastWindowClosed(false);
    InstallFontSubstitutions();

    StartScreens();
    const int code = QApplication::exec();
    DestroyScreens();
    return code;
}
