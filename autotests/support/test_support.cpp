#include "test_support.h"

#include "platform/display.h"
#include "platform/sound.h"
#include "platform/text_file.h"

#include <QDir>

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
