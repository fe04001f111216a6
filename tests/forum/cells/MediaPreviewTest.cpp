#include "AppTest.h"

#include "app/media/ImageToUpload.h"
#include "forum/cells/CreateContentMediaPreview.h"
#include "platform/ui/ImageView.h"

#include "platform/foundation/Paths.h"

#include <QDir>
#include <QFile>

#include <cmath>

// A row of the editor's pictures to send: the thumbnail 50 points high in
// its own proportions, a little left of the middle; nothing without one.
namespace {

class MediaPreviewTest : public AppTest {
protected:
    static std::shared_ptr<ImageToUpload> upload(int width, int height)
    {
        QImage bitmap(width, height, QImage::Format_RGB32);
        bitmap.fill(Qt::darkCyan);
        return std::make_shared<ImageToUpload>(Image(bitmap));
    }
};

}  // namespace

TEST_F(MediaPreviewTest, TheThumbnailKeepsItsProportionsAndAMissingOneShowsNothing)
{
    CreateContentMediaPreview cell;
    cell.setFrame(QRectF(0, 0, 296, 60));
    cell.setPreview(upload(400, 400));
    EXPECT_FALSE(cell.thumbnail()->isHidden());
    EXPECT_EQ(cell.thumbnail()->frame(), QRectF(113, 5, 50, 50));
    // Twice as wide as high; the row's layout keeps the place.
    cell.setPreview(upload(640, 320));
    cell.layoutSubviews();
    EXPECT_EQ(cell.thumbnail()->frame(), QRectF(88, 5, 100, 50));
    // Given before the row has its size, the place follows the size.
    CreateContentMediaPreview early;
    early.setPreview(upload(300, 600));
    early.setFrame(QRectF(0, 0, 296, 60));
    early.layoutSubviews();
    EXPECT_EQ(early.thumbnail()->frame(), QRectF(125.5, 5, 25, 50));

    // A picture whose file could not be written has no thumbnail (and no
    // height to divide by): the row shows nothing, wherever it was used before.
    const QString folder = Paths::tempDir();
    ASSERT_TRUE(QDir(folder).removeRecursively());
    QFile blocker(folder);
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const auto unwritten = upload(50, 50);
    ASSERT_TRUE(unwritten->thumbnail().isNull());
    cell.setPreview(unwritten);
    cell.layoutSubviews();
    EXPECT_TRUE(cell.thumbnail()->isHidden());
    EXPECT_TRUE(cell.thumbnail()->image().isNull());
    const QRectF frame = cell.thumbnail()->frame();
    EXPECT_TRUE(std::isfinite(frame.x()) && std::isfinite(frame.width()));
    cell.setPreview(nullptr);
    EXPECT_TRUE(cell.thumbnail()->isHidden());
}
