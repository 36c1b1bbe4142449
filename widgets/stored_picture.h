// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QPointer>
#include <QString>
#include <vector>

/// A label showing a picture stored with the program (a resource path or a file), stretched over
/// the whole label as a QLabel with scaled contents draws it, pixel for pixel.
///
/// The picture is read when the label is shown and kept only while it is shown, at the size it is
/// shown at: a screen that is not open holds no picture, and an open one holds one copy of it,
/// not the picture and its stretched copy besides. (Reading it again takes a few milliseconds.)
/// A picture that cannot be read leaves the label empty (its parent's colour shows).
/// Reads a picture stored with the program in the format named ("bmp"), without asking every
/// image plug-in about it first, as Qt does for any picture read without a reader of its own
/// (loading each plug-in and the libraries behind it for good); a null or empty format: found
/// out from the picture. Null when it cannot be read.
QImage ReadStoredImage(const QString& source, const char* format);

class StoredPicture : public QLabel {
public:
    /// format names the picture's format ("bmp"), so that the image plug-ins are not asked
    /// about it first; null: found out from the picture.
    StoredPicture(const QString& source, QWidget* parent, const char* format = nullptr);

    const QString& Source() const { return m_source; }

    /// cover, a control of the same parent in front of the label that paints all of its area
    /// (a panel filled with a colour), hides the picture there: only the parts of the picture
    /// around it are kept, cut when the label is shown or resized and again when it is painted
    /// after the cover has moved. A frame picture around a panel then holds its frame alone.
    void SetCoveredBy(const QWidget* cover);
    /// The parts of the picture held now, in the label's coordinates (empty when nothing is
    /// held, or the whole label when no cover is set and the picture is held as the pixmap).
    QRegion HeldArea() const;

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    /// Reads and stretches the picture if the label is visible and the picture held is not of
    /// the label's size.
    void Fit();
    /// Reads the picture stretched to the label's size; null when it cannot be read.
    QImage ReadStretched(QSize pixels);
    /// The area of the label the cover hides now.
    QRect CoveredArea() const;
    /// Keeps the parts of the stretched picture around the cover.
    void FitAroundCover();

    struct Piece {
        QRect area; // in the label's coordinates
        QPixmap picture;
    };

    QString m_source;
    QByteArray m_format;
    bool m_unreadable = false;
    QPointer<const QWidget> m_cover;
    std::vector<Piece> m_pieces;
    QSize m_piecesSize;  // the label's size the pieces were cut at
    QRect m_piecesCover; // and the covered area
};
