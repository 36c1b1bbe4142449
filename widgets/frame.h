// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QWidget>

// TabcFrame: rings of bevels and borders with curved corners; the inside is not filled.
class TabcFrame : public QWidget {
    Q_OBJECT
public:
    enum class Bevel { None, Lowered, Raised, Space };
    enum class BorderStyle { None, Single };

    explicit TabcFrame(QWidget* parent = nullptr);

    void SetBevelOuter(Bevel bevel);
    void SetBevelInner(Bevel bevel);
    void SetBevelWidth(int width);
    void SetBorderWidth(int width);
    void SetBorderStyle(BorderStyle style);
    void SetColorHighlight(const QColor& color);
    void SetColorShadow(const QColor& color);
    void SetColor(const QColor& color);
    /// Stores min(requested, height / 2, width / 2) with integer halves; every resize applies
    /// the rule again to the stored value, so a frame that grows keeps its corner. A negative
    /// request counts as 0.
    void SetCornerWidth(int width);
    int CornerWidth() const;

    Bevel BevelOuter() const { return m_bevelOuter; }
    Bevel BevelInner() const { return m_bevelInner; }
    int BevelWidth() const { return m_bevelWidth; }
    int BorderWidth() const { return m_borderWidth; }
    BorderStyle Border() const { return m_borderStyle; }
    QColor ColorHighlight() const { return m_highlight; }
    QColor ColorShadow() const { return m_shadow; }
    QColor Color() const { return m_color; }

    /// One ring of the frame: its rectangle (right and bottom are the last pixel column and
    /// row), the colours of its two halves (left and top, right and bottom) and its corner
    /// radius, which is the corner width unless the ring is too small for it.
    struct Ring {
        QRect rect;
        QColor first;
        QColor second;
        int radius = 0;
    };
    /// The rings from the outside in, as painted.
    QList<Ring> Rings() const;

    QSize sizeHint() const override { return QSize(185, 41); }

Q_SIGNALS:
    /// Left button pressed and released over the frame.
    void Click();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void ApplyCornerWidth();

    Bevel m_bevelOuter = Bevel::Raised;
    Bevel m_bevelInner = Bevel::Lowered;
    int m_bevelWidth = 1;
    int m_borderWidth = 0;
    BorderStyle m_borderStyle = BorderStyle::None;
    QColor m_highlight;
    QColor m_shadow;
    QColor m_color;
    int m_cornerWidth = 0; // the stored corner width
    bool m_pressing = false;
};
