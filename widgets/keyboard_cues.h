// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

// Whether the program shows its keyboard cues (the underlined shortcut letters of the toggle
// buttons and the dotted frame of the one with the focus). As on a desktop whose programs hide
// them until the keyboard is used, they appear while Alt is held and once the student moves
// around with Tab (or uses an Alt letter), and disappear again at the next mouse click: a screen
// used with the mouse alone looks as it always did.
class KeyboardCues : public QObject {
    Q_OBJECT
public:
    /// The one instance, watching the application's input from its first use on.
    static KeyboardCues& Instance();

    bool Shown() const { return m_altHeld || m_navigated; }

Q_SIGNALS:
    void Changed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    KeyboardCues();
    void Set(bool& flag, bool value);

    bool m_altHeld = false;
    bool m_navigated = false;
};
