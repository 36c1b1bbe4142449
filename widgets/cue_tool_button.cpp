// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/cue_tool_button.h"

#include "widgets/keyboard_cues.h"

#include <QKeyEvent>
#include <QPainter>
#include <QStyleOptionToolButton>

CueToolButton::CueToolButton(QWidget* parent) : QToolButton(parent) {
    setFocusPolicy(Qt::TabFocus);
    connect(&KeyboardCues::Instance(), &KeyboardCues::Changed, this, [this] {
        if (hasFocus())
            update();
    });
}

void CueToolButton::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // As Space, but at once: a held Return presses once.
        event->accept();
        if (!event->isAutoRepeat() && isEnabled())
            click();
        return;
    default:
        QToolButton::keyPressEvent(event);
    }
}

void CueToolButton::paintEvent(QPaintEvent* event) {
    QToolButton::paintEvent(event);
    if (!hasFocus() || !KeyboardCues::Instance().Shown())
        return;
    QPainter painter(this);
    painter.setPen(QPen(palette().color(QPalette::ButtonText), 1, Qt::DotLine));
    painter.drawRect(rect().adjusted(2, 2, -3, -3));
}

void CueToolButton::initStyleOption(QStyleOptionToolButton* option) const {
    QToolButton::initStyleOption(option);
    option->state.setFlag(QStyle::State_HasFocus, false);
}
