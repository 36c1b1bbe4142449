// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QToolButton>

// A flat tool button of the textbook's and the video viewer's strips that the keyboard can use
// as well as the mouse: Tab reaches it (a click does not take the focus, as before), Space and
// Return press it, and the focus shows as a dotted frame in the caption's colour while the
// keyboard cues are shown (KeyboardCues). With the mouse alone it looks as a plain tool button.
class CueToolButton : public QToolButton {
    Q_OBJECT
public:
    explicit CueToolButton(QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    /// Without the style's own focus mark: the dotted frame is the one mark of the focus.
    void initStyleOption(QStyleOptionToolButton* option) const override;
};
