#pragma once

#include <QLabel>
#include <QString>

/// A label showing a picture stored with the program (a resource path or a file), stretched over
/// the whole label as a QLabel with scaled contents draws it, pixel for pixel.
///
/// The picture is read when the label is shown and kept only while it is shown, at the size it is
/// shown at: a screen that is not open holds no picture, and an open one holds one copy of it,
/// not the picture and its stretched copy besides. (Reading it again takes a few milliseconds.)
/// A picture that cannot be read leaves the label empty (its parent's colour shows).
class StoredPicture : public QLabel {
public:
    /// format names the picture's format ("bmp"), so that the image plug-ins are not asked
    /// about it first; null: found out from the picture.
    StoredPicture(const QString& source, QWidget* parent, const char* format = nullptr);

    const QString& Source() const { return m_source; }

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    /// Reads and stretches the picture if the label is visible and the picture held is not of
    /// the label's size.
    void Fit();

    QString m_source;
    QByteArray m_format;
    bool m_unreadable = false;
};
