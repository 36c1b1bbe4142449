#include "platform/russian_ui.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QLoggingCategory>
#include <QTranslator>

namespace {
// The engine's own pages follow its "--lang" switch; the rest of the program keeps the system's
// locale (the result report writes the system's date and time formats).
constexpr char kEngineFlags[] = "QTWEBENGINE_CHROMIUM_FLAGS";
constexpr char kRussian[] = "--lang=ru";
} // namespace

void PrepareWebEngineStartUp() {
    QLoggingCategory::setFilterRules(QStringLiteral("qt.webenginecontext.debug=false\n"
                                                    "qt.webenginecontext.info=false"));
    QByteArray flags = qgetenv(kEngineFlags);
    if (!flags.contains("--lang=")) {
        if (!flags.isEmpty())
            flags += ' ';
        flags += kRussian;
        qputenv(kEngineFlags, flags);
    }
    // The pages reach screen readers (the engine builds their tree only while one listens).
    if (!qEnvironmentVariableIsSet("QTWEBENGINE_ENABLE_LINUX_ACCESSIBILITY"))
        qputenv("QTWEBENGINE_ENABLE_LINUX_ACCESSIBILITY", "1");
}

QStringList InstallRussianTranslations() {
    QStringList installed;
    QCoreApplication* app = QCoreApplication::instance();
    if (app == nullptr)
        return installed;
    // Qt's own folder first, then a "translations" folder beside the program (a copied install).
    const QStringList folders = {QLibraryInfo::path(QLibraryInfo::TranslationsPath),
                                 QCoreApplication::applicationDirPath() +
                                     QStringLiteral("/translations")};
    const QLocale russian(QLocale::Russian, QLocale::Russia);
    for (const char* catalogue : {"qtbase", "qtmultimedia", "qtwebengine"}) {
        const QString name = QString::fromLatin1(catalogue);
        for (const QString& folder : folders) {
            auto* translator = new QTranslator(app);
            if (translator->load(russian, name, QStringLiteral("_"), folder) &&
                QCoreApplication::installTranslator(translator)) {
                installed << name;
                break;
            }
            delete translator;
        }
    }
    return installed;
}
