// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QKeySequence>
#include <QPixmap>
#include <QWidget>

// TabcToggleBtn: a flat toggle button drawn by the program (style absWin31): a black outer
// edge, raised bevels when up, a chequered face when down, a caption moved by one pixel when
// pressed or down. Clicking toggles Down and fires Click; hover fires MouseEnter/MouseLeave
// only on an enabled button.
//
// SetDown(v): v counts as false when GroupIndex is 0; nothing happens when v equals Down or
// when the button is down and AllowAllUp is false. Otherwise Down changes, the button repaints
// and, when it went down, every other down button of the same group under the same parent is
// raised. A new button gets a nonzero group of its own.
//
// From the keyboard the button is reached with Tab (a click does not take the focus) and pressed
// with Space or Return as with a click. A caption given with "&" before a letter ("&Выход") gets
// that letter as its Alt shortcut, underlined while the keyboard cues are shown (KeyboardCues);
// with a Latin layout on, Alt with the key that carries a Russian letter acts as well (Alt+N for
// "Т"). The dotted focus frame shows under the same rule as the underline.
class TabcToggleBtn : public QWidget {
    Q_OBJECT
public:
    enum class Look { Up, Disabled, Pressed, Down, Hot };

    explicit TabcToggleBtn(QWidget* parent = nullptr);

    /// The caption as shown, without the "&" of its shortcut letter.
    QString Caption() const { return m_caption; }
    void SetCaption(const QString& caption);
    /// The Alt shortcut of the caption's marked letter, empty when it has none.
    QKeySequence Shortcut() const { return m_shortcut; }
    /// Where the shortcut acts: the button's window (the default) or the whole program.
    void SetShortcutContext(Qt::ShortcutContext context);
    /// The press of a click, as Space, Return and the shortcut give it.
    void Press();
    QColor Color() const { return m_color; }
    void SetColor(const QColor& color);
    bool Down() const { return m_down; }
    /// Setting Down to its current value does nothing (see the class comment for the rules).
    void SetDown(bool down);
    int GroupIndex() const { return m_groupIndex; }
    void SetGroupIndex(int group) { m_groupIndex = group; }
    bool AllowAllUp() const { return m_allowAllUp; }
    void SetAllowAllUp(bool allow) { m_allowAllUp = allow; }
    bool Hot() const { return m_hot; }
    Look CurrentLook() const;

    /// Colour of the caption (the palette's ButtonText).
    QColor FontColor() const;
    void SetFontColor(const QColor& color);

    QSize sizeHint() const override { return QSize(22, 23); }

Q_SIGNALS:
    void Click();
    void MouseEnter();
    void MouseLeave();

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    Look RestingLook() const;
    void SetLook(Look look);
    void RaiseOthersInGroup();
    void RebuildDownTile();
    bool HoverAllowed() const;
    void GrabShortcut();

    QString m_caption;
    int m_shortcutLetter = -1; // index in m_caption of the underlined letter
    QKeySequence m_shortcut;
    Qt::ShortcutContext m_shortcutContext = Qt::WindowShortcut;
    int m_shortcutId = 0;
    int m_latinShortcutId = 0; // the same key in a Latin layout
    QColor m_color{0xC0, 0xC0, 0xC0};
    bool m_down = false;
    int m_groupIndex = 0;
    bool m_allowAllUp = true;
    bool m_hot = false;
    bool m_pressing = false;
    bool m_pressedInside = false;
    Look m_look = Look::Up;
    QPixmap m_downTile;
};
