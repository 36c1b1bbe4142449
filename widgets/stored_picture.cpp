// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/stored_picture.h"

#include <QImage>
#include <QImageReader>
#include <QPaintEvent>
#include <QPainter>
#include <QPixmap>

QImage ReadStoredImage(const QString& source, const char* format) {
    QImageReader reader(source, format);
    reader.setAutoDetectImageFormat(format == nullptr || *format == '\0');
    return reader.read();
}

StoredPicture::StoredPicture(const QString& source, QWidget* parent, const char* format)
    : QLabel(parent), m_source(source), m_format(format) {}

void StoredPicture::SetCoveredBy(const QWidget* cover) {
    m_cover = cover;
    clear();
    m_pieces.clear();
    update();
}

QRegion StoredPicture::HeldArea() const {
    if (!pixmap().isNull())
        return QRegion(rect());
    QRegion held;
    for (const Piece& piece : m_pieces)
        held += piece.area;
    return held;
}

void StoredPicture::showEvent(QShowEvent* event) {
    QLabel::showEvent(event);
    Fit();
}

void StoredPicture::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    Fit();
}

void StoredPicture::hideEvent(QHideEvent* event) {
    QLabel::hideEvent(event);
    clear();
    m_pieces.clear();
    m_piecesSize = QSize();
}

void StoredPicture::paintEvent(QPaintEvent* event) {
    if (m_cover.isNull()) {
        QLabel::paintEvent(event);
        return;
    }
    if (m_piecesSize != size() || m_piecesCover != CoveredArea())
        FitAroundCover();
    QPainter painter(this);
    for (const Piece& piece : m_pieces)
        if (event->region().intersects(piece.area))
            painter.drawPixmap(piece.area.topLeft(), piece.picture);
}

void StoredPicture::Fit() {
    if (!isVisible() || m_unreadable || size().isEmpty())
        return;
    if (!m_cover.isNull()) {
        // Cut now, before the screen's first painting needs its buffers; a cover that moves
        // later is followed when the label is painted next.
        if (m_piecesSize != size() || m_piecesCover != CoveredArea())
            FitAroundCover();
        return;
    }
    const qreal ratio = devicePixelRatioF();
    const QSize pixels = (QSizeF(size()) * ratio).toSize();
    if (pixmap().size() == pixels)
        return;
    QImage picture = ReadStretched(pixels);
    if (picture.isNull()) {
        clear();
        return;
    }
    QPixmap shown = QPixmap::fromImage(std::move(picture));
    shown.setDevicePixelRatio(ratio);
    setPixmap(shown);
}

QImage StoredPicture::ReadStretched(QSize pixels) {
    // Read without QPixmap's cache, which would keep the full-size picture alive beside the
    // stretched one.
    QImage picture = ReadStoredImage(m_source, m_format.constData());
    if (picture.isNull()) {
        m_unreadable = true;
        return picture;
    }
    if (picture.size() != pixels)
        picture = picture.scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return picture;
}

QRect StoredPicture::CoveredArea() const {
    if (m_cover.isNull() || m_cover->parentWidget() != parentWidget() || m_cover->isHidden())
        return QRect();
    return m_cover->geometry().translated(-pos()).intersected(rect());
}

void StoredPicture::FitAroundCover() {
    m_pieces.clear();
    m_piecesSize = size();
    m_piecesCover = CoveredArea();
    if (m_unreadable || size().isEmpty())
        return;
    const qreal ratio = devicePixelRatioF();
    const QImage picture = ReadStretched((QSizeF(size()) * ratio).toSize());
    if (picture.isNull())
        return;
    for (const QRect& area : QRegion(rect()).subtracted(m_piecesCover)) {
        const QRect pixels(area.topLeft() * ratio, area.size() * ratio);
        QPixmap part = QPixmap::fromImage(picture.copy(pixels));
        part.setDevicePixelRatio(ratio);
        m_pieces.push_back({area, std::move(part)});
    }
}
