// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "test_support.h"

#include "fake_media_player.h"
#include "platform/display.h"
#include "platform/fonts.h"
#include "platform/screen.h"
#include "platform/sound.h"
#include "platform/text_file.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QTest>
#include <QTimer>
#include <QTimerEvent>
#include <QWidget>
#include <QWindow>
#include <stdexcept>

MessageRecorder::MessageRecorder() {
    SetMessageBoxHook([this](MessageKind kind, const QString& text) {
        messages.append(text);
        kinds.append(kind);
    });
    SetSoundHook([this](const QString& path) { sounds.append(path); });
}

MessageRecorder::~MessageRecorder() {
    SetMessageBoxHook({});
    SetSoundHook({});
}

void CloseByWindowSystem(QWidget* window) {
    // The platform delivers the window system's close to the native window, which hands the
    // screen a spontaneous close event.
    window->winId();
    QCloseEvent event;
    QCoreApplication::sendEvent(window->windowHandle(), &event);
}

bool RunOut(QTimer* timer) {
    if (timer == nullptr || !timer->isActive())
        return false;
    QTimerEvent event(timer->timerId());
    QCoreApplication::sendEvent(timer, &event);
    return true;
}

DisplayOverride::DisplayOverride(QSize size) {
    SetDisplaySizeForTesting(size);
}
DisplayOverride::~DisplayOverride() {
    SetDisplaySizeForTesting(std::nullopt);
}

QString SourcePath(const QString& relative) {
    QString root = qEnvironmentVariable("COURSE_SOURCE_DIR");
    if (root.isEmpty())
        root = QStringLiteral(COURSE_SOURCE_DIR_FALLBACK);
    return QDir(root).filePath(relative);
}

QByteArray Cp1251File(const QStringList& lines) {
    QByteArray out;
    for (const QString& line : lines)
        out += EncodeCp1251(line) + "\r\n";
    return out;
}

QByteArray QuestionFileBytes(const QString& title, const QList<TestQuestion>& questions) {
    QStringList lines{title, QStringLiteral("."), QStringLiteral("."),
                      QString::number(questions.size()), QStringLiteral(".")};
    for (int q = 1; q <= questions.size(); ++q) {
        const TestQuestion& item = questions[q - 1];
        // The screens show a question without its first 6 + 9 characters.
        lines << QStringLiteral("000000") + QStringLiteral("%1.").arg(q, 8) +
                     QStringLiteral("Вопрос номер %1").arg(q)
              << QStringLiteral(".") << QStringLiteral("примечание") << QStringLiteral(".")
              << QStringLiteral("#") + item.page
              << (item.picture.isEmpty() ? QStringLiteral(".")
                                         : QStringLiteral("\\") + item.picture);
        for (int i = 0; i < item.points.size(); ++i) {
            lines << QStringLiteral("- вариант %1 на %2 баллов").arg(i + 1).arg(item.points[i]);
            lines << (i + 1 == item.points.size() ? QStringLiteral(".") : QStringLiteral(",")) +
                         QString::number(item.points[i]);
        }
    }
    return Cp1251File(lines);
}

void PrepareScreenTests(MediaPlayers players) {
    QApplication::setQuitOnLastWindowClosed(false);
    InstallFontSubstitutions();
    Screen::SetModalLoopsEnabled(false);
    if (players == MediaPlayers::Fake)
        FakeMediaPlayer::Install();
}

namespace {

QString ScreenName(const QObject* screen) {
    return screen->objectName().isEmpty() ? QString::fromLatin1(screen->metaObject()->className())
                                          : screen->objectName();
}

[[noreturn]] void FailControlLookup(const QString& message, const std::source_location& where) {
    const QByteArray text = message.toUtf8();
    QTest::qFail(text.constData(), where.file_name(), int(where.line()));
    // The test function cannot go on without the control: Qt Test reports the exception and the
    // test program ends.
    throw std::logic_error(text.toStdString());
}

} // namespace

QObject* FindControl(const QObject* screen, const char* name, std::source_location where) {
    if (screen == nullptr)
        FailControlLookup(QStringLiteral("no screen to find %1 on").arg(QString::fromLatin1(name)),
                          where);
    const QList<QObject*> found = screen->findChildren<QObject*>(QString::fromLatin1(name));
    if (found.size() != 1)
        FailControlLookup(QStringLiteral("%1 has %2 controls named %3")
                              .arg(ScreenName(screen))
                              .arg(found.size())
                              .arg(QString::fromLatin1(name)),
                          where);
    return found.first();
}

void FailControlClass(const QObject* screen, const char* name, const QObject* found,
                      const std::source_location& where) {
    FailControlLookup(QStringLiteral("%1 of %2 is a %3, not the class the test expects")
                          .arg(QString::fromLatin1(name), ScreenName(screen),
                               QString::fromLatin1(found->metaObject()->className())),
                      where);
}

bool HasControl(const QObject* screen, const char* name) {
    return !screen->findChildren<QObject*>(QString::fromLatin1(name)).isEmpty();
}
