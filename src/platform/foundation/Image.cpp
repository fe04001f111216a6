#include "platform/foundation/Image.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QImageWriter>

#include <algorithm>
#include <cmath>

namespace {

// The reader reports the EXIF orientation as the turn that makes the picture
// upright: EXIF 1..8 are None, Mirror, Rotate180, Flip, FlipAndRotate90,
// Rotate90, MirrorAndRotate90, Rotate270.
ImageOrientation orientationOf(QImageIOHandler::Transformations transformation)
{
    switch (transformation.toInt()) {
    case QImageIOHandler::TransformationMirror: return ImageOrientation::UpMirrored;        // EXIF 2
    case QImageIOHandler::TransformationRotate180: return ImageOrientation::Down;           // EXIF 3
    case QImageIOHandler::TransformationFlip: return ImageOrientation::DownMirrored;        // EXIF 4
    case QImageIOHandler::TransformationFlipAndRotate90: return ImageOrientation::LeftMirrored;  // EXIF 5
    case QImageIOHandler::TransformationRotate90: return ImageOrientation::Right;           // EXIF 6
    case QImageIOHandler::TransformationMirrorAndRotate90: return ImageOrientation::RightMirrored;  // EXIF 7
    case QImageIOHandler::TransformationRotate270: return ImageOrientation::Left;           // EXIF 8
    default: return ImageOrientation::Up;                                                  // EXIF 1 or none
    }
}

Image readFrom(QIODevice* device)
{
    QImageReader reader(device);
    reader.setAutoTransform(false);
    reader.setDecideFormatFromContent(true);
    const QImage bitmap = reader.read();
    if (bitmap.isNull())
        return Image();
    return Image(bitmap, orientationOf(reader.transformation()));
}

}  // namespace

Image::Image(const QImage& bitmap, ImageOrientation orientation)
    : m_bitmap(bitmap), m_orientation(orientation)
{
}

Image Image::fromData(const QByteArray& data)
{
    if (data.isEmpty())
        return Image();
    QBuffer buffer;
    buffer.setData(data);
    if (!buffer.open(QIODevice::ReadOnly))
        return Image();
    return readFrom(&buffer);
}

Image Image::fromFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Image();
    return readFrom(&file);
}

QByteArray Image::jpegData(double quality) const
{
    if (m_bitmap.isNull())
        return QByteArray();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(static_cast<int>(std::lround(std::clamp(quality, 0.0, 1.0) * 100.0)));
    if (!writer.write(m_bitmap))
        return QByteArray();
    return bytes;
}
