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
#include <QWidget>
#include <QWindow>

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
