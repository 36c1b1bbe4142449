// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/russian_ui.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QLoggingCategory>
#include <QRegularExpression>
#include <QTranslator>

namespace {
// The engine's own pages follow its "--lang" switch; the rest of the program keeps the system's
// locale (the result report writes the system's date and time formats).
constexpr char kEngineFlags[] = "QTWEBENGINE_CHROMIUM_FLAGS";
constexpr char kRussian[] = "--lang=ru";

// Qt's own catalogue of the Russian texts, and the folders it is looked for in: Qt's own first,
// then a "translations" folder beside the program (a copied install).
constexpr char kQtBase[] = "qtbase";
QStringList TranslationFolders() {
    QStringList folders = {QLibraryInfo::path(QLibraryInfo::TranslationsPath)};
    if (QCoreApplication::instance() != nullptr)
        folders << QCoreApplication::applicationDirPath() + QStringLiteral("/translations");
    return folders;
}
bool LoadRussian(QTranslator* translator, const QString& catalogue) {
    const QLocale russian(QLocale::Russian, QLocale::Russia);
    for (const QString& folder : TranslationFolders()) {
        if (translator->load(russian, catalogue, QStringLiteral("_"), folder))
            return true;
    }
    return false;
}
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
    for (const char* catalogue : {kQtBase, "qtmultimedia", "qtwebengine"}) {
        const QString name = QString::fromLatin1(catalogue);
        auto* translator = new QTranslator(app);
        if (LoadRussian(translator, name) && QCoreApplication::installTranslator(translator))
            installed << name;
        else
            delete translator;
    }
    return installed;
}

QString RussianCommandLineError(const QString& error) {
    // The parser's errors, each with the option it names.
    static const char* const kErrors[] = {"Unknown option '%1'.", "Unknown options: %1.",
                                          "Missing value after '%1'.",
                                          "Unexpected value after '%1'."};
    QTranslator translator;
    if (!LoadRussian(&translator, QString::fromLatin1(kQtBase)))
        return error;
    for (const char* source : kErrors) {
        const QStringList parts = QString::fromLatin1(source).split(QStringLiteral("%1"));
        const QRegularExpression pattern(QRegularExpression::anchoredPattern(
            QRegularExpression::escape(parts[0]) + QStringLiteral("(.*)") +
            QRegularExpression::escape(parts[1])));
        const QRegularExpressionMatch match = pattern.match(error);
        const QString russian = translator.translate("QCommandLineParser", source);
        if (match.hasMatch() && !russian.isEmpty())
            return russian.arg(match.captured(1));
    }
    return error;
}
