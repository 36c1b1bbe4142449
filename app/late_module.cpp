// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/late_module.h"

#include "materials/late_parts.h"
#include "platform/media_player.h"
#include "platform/sound.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>
#include <QOpenGLContext>

// Qt's own: the context every OpenGL context of the program shares its resources with.
Q_GUI_EXPORT void qt_gl_set_global_share_context(QOpenGLContext* context);

// The program links this file instead of the module's own sources: the player and the sound the
// screens call reach the module once it has been loaded.

namespace {
const LateParts* g_parts = nullptr;

// The web engine wants OpenGL contexts shared with its own, which Qt sets up in the application
// object when the engine is linked into the program. Loaded later, the program sets them up
// itself just before loading the engine, as Qt would have; Qt's notice that the attribute
// comes after the application object is kept from the terminal.
constexpr char kLateAttributeNotice[] = "Attribute Qt::AA_ShareOpenGLContexts must be set before";
QtMessageHandler g_previousHandler = nullptr;

void KeepLateAttributeNotice(QtMsgType type, const QMessageLogContext& context,
                             const QString& message) {
    if (type == QtWarningMsg && message.startsWith(QLatin1String(kLateAttributeNotice)))
        return;
    g_previousHandler(type, context, message);
}

void ShareOpenGLContexts() {
    if (QOpenGLContext::globalShareContext() != nullptr)
        return;
    g_previousHandler = qInstallMessageHandler(KeepLateAttributeNotice);
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    qInstallMessageHandler(g_previousHandler);
    auto* context = new QOpenGLContext(QCoreApplication::instance());
    context->setFormat(QSurfaceFormat::defaultFormat());
    context->create();
    qt_gl_set_global_share_context(context);
}
} // namespace

const LateParts* LoadLateModule(QString* error) {
    if (g_parts != nullptr)
        return g_parts;
    // Beside the program in the build folder; below the library folder in an install.
    const QDir programFolder(QCoreApplication::applicationDirPath());
    const QString name = QStringLiteral(COURSE_LATE_MODULE_NAME);
    QString path = programFolder.filePath(name);
    if (!QFileInfo::exists(path))
        path = programFolder.filePath(QStringLiteral(COURSE_LATE_MODULE_INSTALLED));
    static QLibrary module; // never unloaded
    module.setFileName(path);
    ShareOpenGLContexts();
    if (module.load()) {
        using Entry = const LateParts* (*)();
        if (auto entry = reinterpret_cast<Entry>(module.resolve(kLatePartsEntry)))
            g_parts = entry();
    }
    if (g_parts == nullptr && error != nullptr)
        *error = module.errorString();
    return g_parts;
}

MediaPlayer* CreateMediaPlayer(QObject* parent) {
    return g_parts != nullptr ? g_parts->makeMediaPlayer(parent) : nullptr;
}

void PlaySoundAsync(const QString& path) {
    if (g_parts != nullptr)
        g_parts->playSound(path);
}
