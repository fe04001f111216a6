#include "AppTest.h"

#include "platform/foundation/ManualClock.h"

#include "app/media/ImageToUpload.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/Paths.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <memory>

using ImageToUploadTest = AppTest;

namespace {

// Six colours, a b c over d e f in the stored bitmap.
const QList<QRgb> kColours = {qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(0, 0, 255),
                              qRgb(255, 255, 0), qRgb(255, 0, 255), qRgb(0, 255, 255)};

// How each EXIF orientation shows the stored 3x2 blocks upright, row by row,
// worked out by hand from the EXIF definition (6: turn a quarter clockwise;
// 5: transpose; 7: transverse).
struct Layout {
    int exif;
    ImageOrientation orientation;
    QStringList rows;
};
const QList<Layout> kLayouts = {
    {1, ImageOrientation::Up, {u"abc"_qs, u"def"_qs}},
    {2, ImageOrientation::UpMirrored, {u"cba"_qs, u"fed"_qs}},
    {3, ImageOrientation::Down, {u"fed"_qs, u"cba"_qs}},
    {4, ImageOrientation::DownMirrored, {u"def"_qs, u"abc"_qs}},
    {5, ImageOrientation::LeftMirrored, {u"ad"_qs, u"be"_qs, u"cf"_qs}},
    {6, ImageOrientation::Right, {u"da"_qs, u"eb"_qs, u"fc"_qs}},
    {7, ImageOrientation::RightMirrored, {u"fc"_qs, u"eb"_qs, u"da"_qs}},
    {8, ImageOrientation::Left, {u"cf"_qs, u"be"_qs, u"ad"_qs}},
};

QImage blocks(int side)
{
    QImage bitmap(3 * side, 2 * side, QImage::Format_RGB32);
    for (int y = 0; y < bitmap.height(); ++y)
        for (int x = 0; x < bitmap.width(); ++x)
            bitmap.setPixel(x, y, kColours[(y / side) * 3 + x / side]);
    return bitmap;
}

// The blocks' centres read back as the letters of their nearest colours.
QStringList rowsOf(const Image& image, int side)
{
    QStringList rows;
    for (int y = side / 2; y < image.height(); y += side) {
        rows.append(QString());
        for (int x = side / 2; x < image.width(); x += side) {
            const QRgb p = image.qimage().pixel(x, y);
            const auto distance = [p](QRgb c) {
                return std::abs(qRed(p) - qRed(c)) + std::abs(qGreen(p) - qGreen(c)) + std::abs(qBlue(p) - qBlue(c));
            };
            const auto nearest = std::min_element(kColours.begin(), kColours.end(),
                                                  [&](QRgb a, QRgb b) { return distance(a) < distance(b); });
            rows.last() += QChar(u'a' + int(nearest - kColours.begin()));
        }
    }
    return rows;
}

// A JPEG with an EXIF block: APP1 "Exif", a big-endian TIFF header and one
// IFD entry 0x0112 (SHORT, count 1) holding the orientation.
QByteArray jpegWithExif(const QImage& bitmap, int orientation)
{
    const QByteArray jpeg = Image(bitmap).jpegData(1.0);
    const QByteArray app1 = QByteArray::fromHex("ffe10022") + QByteArray("Exif\0\0", 6)
                            + QByteArray::fromHex("4d4d002a000000080001011200030000000100") + char(orientation)
                            + QByteArray(6, '\0');
    return jpeg.left(2) + app1 + jpeg.mid(2);
}

Image solid(int width, int height, ImageOrientation orientation = ImageOrientation::Up)
{
    QImage bitmap(width, height, QImage::Format_RGB32);
    bitmap.fill(Qt::darkCyan);
    return Image(bitmap, orientation);
}

}  // namespace

TEST_F(ImageToUploadTest, EveryOrientationComesOutUprightAndWhole)
{
    for (const Layout& layout : kLayouts) {
        EXPECT_EQ(rowsOf(ImageToUpload::rotateImage(Image(blocks(1), layout.orientation)), 1), layout.rows)
            << "EXIF " << layout.exif;

        const Image camera = Image::fromData(jpegWithExif(blocks(16), layout.exif));
        EXPECT_EQ(camera.orientation(), layout.orientation) << "EXIF " << layout.exif;
        EXPECT_EQ(camera.width(), 48);  // the tag is not applied on reading
        const ImageToUpload upload(camera);
        EXPECT_EQ(rowsOf(Image::fromFile(upload.path()), 16), layout.rows) << "EXIF " << layout.exif;
    }
}

TEST_F(ImageToUploadTest, ThumbnailKeepsTheLongerSideAtMost320)
{
    struct Case {
        Image image;
        QSize thumbnail, file;
    };
    const QList<Case> cases = {
        {solid(640, 480), {320, 240}, {640, 480}},
        {solid(480, 640), {240, 320}, {480, 640}},
        {solid(300, 200), {300, 200}, {300, 200}},
        {solid(640, 480, ImageOrientation::Right), {240, 320}, {480, 640}},
        {solid(1000, 333, ImageOrientation::LeftMirrored), {107, 320}, {333, 1000}},
    };
    for (const Case& c : cases) {
        const ImageToUpload upload(c.image);
        EXPECT_EQ(upload.thumbnail().qimage().size(), c.thumbnail) << c.image.width();
        EXPECT_EQ(Image::fromFile(upload.path()).qimage().size(), c.file) << c.image.width();
    }
    EXPECT_EQ(ImageToUpload::scaleAndRotateImage(solid(640, 480), 0).qimage().size(), QSize(640, 480));
}

TEST_F(ImageToUploadTest, EachObjectOwnsItsOwnFile)
{
    // A file already named like this second's picture stays untouched.
    clock()->setNow(QDateTime(QDate(2024, 5, 1), QTime(12, 0, 7), Qt::UTC));
    const qint64 seconds = QDateTime(QDate(2001, 1, 1), QTime(0, 0), Qt::UTC).secsTo(clock()->now());
    QFile taken(Paths::tempDir() + u'/' + QString::number(seconds));
    ASSERT_TRUE(taken.open(QIODevice::WriteOnly));
    taken.write("someone else's");
    taken.close();

    auto first = std::make_unique<ImageToUpload>(solid(10, 10));
    const ImageToUpload second(solid(20, 10));
    const qint64 named = QFileInfo(first->path()).fileName().section(u'-', 0, 0).toLongLong();
    EXPECT_EQ(named, seconds) << qPrintable(first->path());
    EXPECT_NE(first->path(), second.path());

    const QString earlier = first->path();
    first->setImage(Image());
    EXPECT_EQ(first->thumbnail().width(), 10);
    first->setImage(solid(30, 10));
    if (first->path() != earlier) {
        EXPECT_FALSE(QFile::exists(earlier));
    }
    EXPECT_EQ(Image::fromFile(first->path()).width(), 30);

    const QString gone = first->path();
    first.reset();
    EXPECT_FALSE(QFile::exists(gone));
    EXPECT_EQ(Image::fromFile(second.path()).width(), 20);
    ASSERT_TRUE(taken.open(QIODevice::ReadOnly));
    EXPECT_EQ(taken.readAll(), QByteArray("someone else's"));
}

TEST_F(ImageToUploadTest, FailedWriteIsLoggedAndLeavesNoThumbnail)
{
    // A plain file where the temporary folder should be: nothing goes in.
    const QString folder = Paths::tempDir();
    ASSERT_TRUE(QDir(folder).removeRecursively());
    QFile blocker(folder);
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();

    Log::clearRecent();
    const ImageToUpload upload(solid(10, 10), 0.0f);
    EXPECT_EQ(upload.maxHeight(), 50.0f);
    EXPECT_TRUE(upload.thumbnail().isNull());
    ASSERT_FALSE(Log::recent().isEmpty());
    const QRegularExpression line(u"^.+setImage.* \\[Line \\d+\\] Error saving the image "_qs
                                  + QRegularExpression::escape(upload.path()) + u'$');
    EXPECT_TRUE(line.match(Log::recent().last()).hasMatch()) << qPrintable(Log::recent().last());
}
