// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "widgets/gradient.h"

#include <QPixmap>
#include <QWidget>

// TabcBackground: fills its whole area with a gradient (blue to black, vertical, 236 steps by
// default). A buffered background renders into an off-screen picture that is re-rendered only
// after a property or size change, and dropped while the background is hidden.
class TabcBackground : public QWidget {
    Q_OBJECT
public:
    explicit TabcBackground(QWidget* parent = nullptr);

    bool Active() const { return m_active; }
    void SetActive(bool active);
    QColor ColorFrom() const { return m_from; }
    void SetColorFrom(const QColor& color);
    QColor ColorTo() const { return m_to; }
    void SetColorTo(const QColor& color);
    DrawDirection Direction() const { return m_direction; }
    void SetDrawDirection(DrawDirection direction);
    int DrawSteps() const { return m_steps; }
    void SetDrawSteps(int steps);
    bool DrawBuffered() const { return m_buffered; }
    void SetDrawBuffered(bool buffered);
    /// Times the buffered picture was rendered (to check that paints reuse it).
    int RenderCount() const { return m_renderCount; }

    QSize sizeHint() const override { return QSize(105, 105); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void Changed();
    void Render(class QPainter& painter, const QRect& rect) const;

    bool m_active = true;
    QColor m_from{0, 0, 255};
    QColor m_to{0, 0, 0};
    DrawDirection m_direction = DrawDirection::ddVertical;
    int m_steps = 236;
    bool m_buffered = false;
    QPixmap m_buffer;
    bool m_bufferValid = false;
    int m_renderCount = 0;
};
