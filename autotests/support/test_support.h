// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QObject>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QTest>
#include <source_location>

#include "platform/message_box.h"

// Helpers shared by the autotests: a recorder for message boxes and sounds, a fixed display,
// the way to reach files of the source tree, and the lookup of a screen's controls by name.

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

enum class MediaPlayers { Real, Fake };

/// For initTestCase (or init) of a test that makes screens: the application keeps running without
/// windows, the fonts are substituted, modal screens return at once; with MediaPlayers::Fake every
/// media player made is a FakeMediaPlayer (FakeMediaPlayer::Uninstall() undoes that).
void PrepareScreenTests(MediaPlayers players = MediaPlayers::Real);

class QWidget;
/// Closes a window as the window system does (Alt+F4, the title bar, WM_DELETE_WINDOW): the
/// screen gets a spontaneous close event, unlike a close() of the program's own.
void CloseByWindowSystem(QWidget* window);

class QTimer;
/// Lets a running timer run out once, as the event loop does when its interval has passed (the
/// timer's own timer event, so a single-shot timer stops): whatever its timeout() is connected
/// to runs. False, with nothing run, when the timer is not running.
[[nodiscard]] bool RunOut(QTimer* timer);

/// Sets the display size for the lifetime of the object.
class DisplayOverride {
public:
    explicit DisplayOverride(QSize size);
    ~DisplayOverride();
};

/// Path of a file in the source tree ("course/ortu/pdb12.db").
QString SourcePath(const QString& relative);

/// One question of a question file made for a test: the points of its options in file order,
/// an optional picture ("$clip.avi" makes it a video question) and its textbook page.
struct TestQuestion {
    explicit TestQuestion(QList<int> optionPoints, QString pictureName = QString(),
                          QString textbookPage = QStringLiteral("012.htm"))
        : points(std::move(optionPoints)), picture(std::move(pictureName)),
          page(std::move(textbookPage)) {}
    QList<int> points;
    QString picture;
    QString page;
};

/// A question file (Windows-1251, CR LF) with the title, no parameters and the questions.
/// Question q shows as "Вопрос номер q"; option i of it as "- вариант i на P баллов".
QByteArray QuestionFileBytes(const QString& title, const QList<TestQuestion>& questions);

/// Runs a table of steps through flow: each line "step: outcome" (or "step" for no outcome) is
/// handed to flow.Step(step), whose answer must be the outcome; a failure names the step.
template <typename Flow> void CheckFlow(Flow& flow, const QStringList& lines) {
    for (const QString& line : lines) {
        const qsizetype colon = line.indexOf(QStringLiteral(": "));
        const QString step = colon < 0 ? line : line.left(colon);
        const QString expected = colon < 0 ? QString() : line.mid(colon + 2);
        QCOMPARE(flow.Step(step) + QStringLiteral("  <- ") + step,
                 expected + QStringLiteral("  <- ") + step);
    }
}

/// Windows-1251 bytes of text whose lines are joined with CR LF (and end with one).
QByteArray Cp1251File(const QStringList& lines);

/// The one object among the children of screen, at any depth, with the object name (the
/// program's name of the control). When there is none or more than one, the test fails with a
/// message naming the screen and the control, and the test program ends: no test goes on with a
/// control it could not find.
QObject* FindControl(const QObject* screen, const char* name,
                     std::source_location where = std::source_location::current());
/// True when screen has a child, at any depth, with the object name (a control made on first use).
bool HasControl(const QObject* screen, const char* name);
[[noreturn]] void FailControlClass(const QObject* screen, const char* name, const QObject* found,
                                   const std::source_location& where);

/// The control of the class T named name on screen (see FindControl); a control of another
/// class fails the test as well.
template <typename T>
T* Control(const QObject* screen, const char* name,
           std::source_location where = std::source_location::current()) {
    QObject* found = FindControl(screen, name, where);
    T* control = dynamic_cast<T*>(found);
    if (control == nullptr)
        FailControlClass(screen, name, found, where);
    return control;
}
