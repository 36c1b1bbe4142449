#include "widgets/stored_picture.h"

#include <QImage>
#include <QImageReader>
#include <QPixmap>

StoredPicture::StoredPicture(const QString& source, QWidget* parent, const char* format)
    : QLabel(parent), m_source(source), m_format(format) {}

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
}

void StoredPicture::Fit() {
    if (!isVisible() || m_unreadable || size().isEmpty())
        return;
    const qreal ratio = devicePixelRatioF();
    const QSize pixels = (QSizeF(size()) * ratio).toSize();
    if (pixmap().size() == pixels)
        return;
    // Read without QPixmap's cache, which would keep the full-size picture alive beside the
    // stretched one.
    QImageReader reader(m_source, m_format);
    reader.setAutoDetectImageFormat(m_format.isEmpty());
    QImage picture = reader.read();
    if (picture.isNull()) {
        m_unreadable = true;
        clear();
        return;
    }
    if (picture.size() != pixels)
        picture = picture.scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    QPixmap shown = QPixmap::fromImage(std::move(picture));
    shown.setDevicePixelRatio(ratio);
    setPixmap(shown);
}
