// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/keyboard_cues.h"

#include <QCoreApplication>
#include <QEvent>
#include <QKeyEvent>

KeyboardCues& KeyboardCues::Instance() {
    static KeyboardCues* cues = new KeyboardCues; // lives as long as the application
    return *cues;
}

KeyboardCues::KeyboardCues() {
    if (QCoreApplication* app = QCoreApplication::instance()) {
        setParent(app);
        app->installEventFilter(this);
    }
}

void KeyboardCues::Set(bool& flag, bool value) {
    if (flag == value)
        return;
    const bool before = Shown();
    flag = value;
    if (Shown() != before)
        Q_EMIT Changed();
}

bool KeyboardCues::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress: {
        const auto* key = static_cast<QKeyEvent*>(event);
        switch (key->key()) {
        case Qt::Key_Alt:
            Set(m_altHeld, true);
            break;
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            // Arrows choose in lists and move in texts, which mouse users do as well: only Tab
            // says the keyboard is what moves the focus.
            Set(m_navigated, true);
            break;
        default:
            // A shortcut letter pressed with Alt leaves the cues on, as the letter was shown.
            if (key->modifiers() & Qt::AltModifier)
                Set(m_navigated, true);
            break;
        }
        break;
    }
    case QEvent::KeyRelease:
        if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Alt)
            Set(m_altHeld, false);
        break;
    case QEvent::MouseButtonPress:
        Set(m_navigated, false);
        Set(m_altHeld, false);
        break;
    case QEvent::ApplicationStateChange:
        Set(m_altHeld, false); // an Alt released in another program is never seen here
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
