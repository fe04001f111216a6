#include "app/media/ImageToUpload.h"

#include "platform/foundation/Clock.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/Paths.h"

#include <QDateTime>
#include <QFile>
#include <QSaveFile>
#include <QSet>
#include <QTimeZone>
#include <QTransform>

namespace {

// Paths of the files live objects own, so that two pictures prepared in the
// same second never share (and then delete) one file.
QSet<QString>& heldPaths()
{
    static QSet<QString> paths;
    return paths;
}

// Whole seconds since 2001-01-01 00:00:00 UTC; a suffix when that name is
// taken on disk or by another object.
QString newFilePath()
{
    static const QDateTime referenceDate(QDate(2001, 1, 1), QTime(0, 0), QTimeZone::utc());
    const qint64 seconds = referenceDate.secsTo(Clock::current().now());
    const QString base = Paths::tempDir() + u'/' + QString::number(seconds);
    QString path = base;
    for (int suffix = 2; heldPaths().contains(path) || QFile::exists(path); ++suffix)
        path = base + u'-' + QString::number(suffix);
    return path;
}

bool swapsSides(ImageOrientation orientation)
{
    switch (orientation) {
    case ImageOrientation::Left:
    case ImageOrientation::Right:
    case ImageOrientation::LeftMirrored:
    case ImageOrientation::RightMirrored: return true;
    default: return false;
    }
}

QImage quarterTurn(const QImage& bitmap, int degrees)
{
    return bitmap.transformed(QTransform().rotate(degrees));
}

// The exact pixel mapping of each tag, so nothing is cut off or shifted.
QImage upright(const QImage& bitmap, ImageOrientation orientation)
{
    switch (orientation) {
    case ImageOrientation::Up: return bitmap;
    case ImageOrientation::Down: return bitmap.mirrored(true, true);
    case ImageOrientation::Left: return quarterTurn(bitmap, 270);
    case ImageOrientation::Right: return quarterTurn(bitmap, 90);
    case ImageOrientation::UpMirrored: return bitmap.mirrored(true, false);
    case ImageOrientation::DownMirrored: return bitmap.mirrored(false, true);
    // The transpose and the transverse: a quarter turn, then a mirror.
    case ImageOrientation::LeftMirrored: return quarterTurn(bitmap, 90).mirrored(true, false);
    case ImageOrientation::RightMirrored: return quarterTurn(bitmap, 270).mirrored(true, false);
    }
    return bitmap;
}

}  // namespace

ImageToUpload::ImageToUpload(const Image& image, float height)
    : m_maxHeight(height > 0.0f ? height : 50.0f)
{
    setImage(image);
}

ImageToUpload::~ImageToUpload()
{
    releaseFile();
}

void ImageToUpload::releaseFile()
{
    if (m_path.isNull())
        return;
    QFile::remove(m_path);
    heldPaths().remove(m_path);
    m_path.clear();
}

void ImageToUpload::setImage(const Image& image)
{
    if (image.isNull())
        return;
    releaseFile();
    m_path = newFilePath();
    heldPaths().insert(m_path);
    m_thumbnail = Image();

    const QByteArray jpeg = rotateImage(image).jpegData(JpegQuality);
    QSaveFile file(m_path);
    const bool written = !jpeg.isEmpty() && file.open(QIODevice::WriteOnly)
                         && file.write(jpeg) == jpeg.size() && file.commit();
    if (written)
        m_thumbnail = scaleAndRotateImage(image, ThumbnailMaximum);
    else
        MU_LOG(Log::session, QStringLiteral("Error saving the image ") + m_path);
}

Image ImageToUpload::rotateImage(const Image& image)
{
    return scaleAndRotateImage(image, 0.0f);
}

Image ImageToUpload::scaleAndRotateImage(const Image& image, float maxResolution)
{
    if (image.isNull())
        return Image();
    const double w = image.width();
    const double h = image.height();
    double targetWidth = w;
    double targetHeight = h;
    if (maxResolution > 0 && (w > maxResolution || h > maxResolution)) {
        const double ratio = w / h;
        if (ratio > 1) {
            targetWidth = maxResolution;
            targetHeight = maxResolution / ratio;
        } else {
            targetWidth = ratio * maxResolution;
            targetHeight = maxResolution;
        }
    }
    if (swapsSides(image.orientation()))
        std::swap(targetWidth, targetHeight);

    QImage turned = upright(image.qimage(), image.orientation());
    const QSize size(qMax(1, qRound(targetWidth)), qMax(1, qRound(targetHeight)));
    if (turned.size() != size)
        turned = turned.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return Image(turned, ImageOrientation::Up);
}
