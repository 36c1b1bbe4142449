// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

// Qt's own texts in Russian (standard buttons, the file and print dialogs) and the web engine's
// start-up settings: its own pages in Russian and no configuration report on the terminal.

/// Before the application object and the first web view: the engine's pages (the error page of a
/// missing page) use the Russian locale, and its start-up report stays off the terminal (the
/// QT_LOGGING_RULES environment variable can still bring it back).
void PrepareWebEngineStartUp();

/// After the application object: installs Qt's own Russian translations (qtbase, and the web
/// engine's and multimedia's when present). Returns the catalogues installed.
QStringList InstallRussianTranslations();

/// An error of QCommandLineParser made before the application object exists (so in English) in
/// Russian, from Qt's own catalogue; any other text is returned as it is.
QString RussianCommandLineError(const QString& error);
