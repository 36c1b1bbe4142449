#pragma once

#include <QByteArray>
#include <QSize>
#include <QString>
#include <QStringList>

#include "platform/message_box.h"

// Helpers shared by the autotests: a recorder for message boxes and sounds, a fixed display,
// and the way to reach files of the source tree.

/// Records every message box and every sound while it lives, and restores the real ones after.
class MessageRecorder {
public:
    MessageRecorder();
    ~MessageRecorder();
    QStringList messages;
    QList<MessageKind> kinds;
    QStringList sounds;
    QString last() const { return messages.isEmpty() ? QString() : messages.last(); }
    void clear() { messages.clear(), kinds.clear(), sounds.clear(); }
};

/// Sets the display size for the lifetime of the object.
class DisplayOverride {
public:
    explicit DisplayOverride(QSize size);
    ~DisplayOverride();
};

/// Path of a file in the source tree ("course/ortu/pdb12.db").
QString SourcePath(const QString& relative);

/// Windows-1251 bytes of text whose lines are joined with CR LF (and end with one).
QByteArray Cp1251File(const QStringList& lines);
