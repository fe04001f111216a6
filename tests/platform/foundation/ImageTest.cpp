#include "PlatformTest.h"

#include "platform/foundation/Image.h"

using ImageTest = PlatformTest;

TEST_F(ImageTest, DecodesPicturesAndRefusesOtherBytes)
{
    QImage bitmap(7, 3, QImage::Format_RGB32);
    bitmap.fill(Qt::red);
    const QByteArray jpeg = Image(bitmap).jpegData(0.7);
    const Image image = Image::fromData(jpeg);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.width(), 7);
    EXPECT_EQ(image.height(), 3);
    EXPECT_EQ(image.orientation(), ImageOrientation::Up);
    EXPECT_LT(Image(bitmap).jpegData(0.1).size(), Image(bitmap).jpegData(1.0).size());

    EXPECT_TRUE(Image::fromData(QByteArrayLiteral("<html>not found</html>")).isNull());
    EXPECT_TRUE(Image::fromData(jpeg.left(jpeg.size() / 3)).isNull());
    EXPECT_TRUE(Image().jpegData(0.7).isEmpty());
}
