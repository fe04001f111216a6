#pragma once

#include "platform/foundation/ImageOrientation.h"

#include <QByteArray>
#include <QImage>

// The platform's picture: the bitmap as it was stored plus the orientation
// tag that says how to show it. Nothing here applies the tag; whoever needs
// an upright bitmap turns it.
class Image {
public:
    Image() = default;
    explicit Image(const QImage& bitmap, ImageOrientation orientation = ImageOrientation::Up);

    // Decodes any picture format the platform reads; the EXIF orientation
    // becomes the tag. A null image when the bytes are no picture.
    static Image fromData(const QByteArray& data);
    static Image fromFile(const QString& path);

    bool isNull() const { return m_bitmap.isNull(); }
    // Of the stored bitmap, before the orientation is applied.
    int width() const { return m_bitmap.width(); }
    int height() const { return m_bitmap.height(); }
    ImageOrientation orientation() const { return m_orientation; }
    const QImage& qimage() const { return m_bitmap; }

    // The stored bitmap as JPEG; quality from 0.0 (smallest) to 1.0 (best).
    // Empty when it cannot be encoded.
    QByteArray jpegData(double quality) const;

private:
    QImage m_bitmap;
    ImageOrientation m_orientation = ImageOrientation::Up;
};
