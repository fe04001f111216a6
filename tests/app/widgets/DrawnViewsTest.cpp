#include "ShownPixels.h"
#include "platform/ui/UiTestSupport.h"

#include "app/widgets/GradientView.h"
#include "app/widgets/RoundedRectView.h"
#include "app/widgets/ShadowedTableView.h"
#include "platform/ui/Screenshot.h"
#include "platform/ui/TableViewCell.h"

namespace {

class Rows : public TableViewDataSource {
public:
    int rows = 30;
    int numberOfRowsInSection(TableView*, int) override { return rows; }
    TableViewCell* cellForRowAtIndexPath(TableView* table, const IndexPath&) override
    {
        auto* cell = table->dequeueReusableCellWithIdentifier(QStringLiteral("c"));
        if (!cell) {
            cell = new TableViewCell(TableViewCellStyle::Default, QStringLiteral("c"));
            // Rows that paint every pixel, as a post row does.
            cell->setBackgroundColor(Qt::white);
        }
        return cell;
    }
};

class DrawnViewsTest : public UiTest {};

}  // namespace

TEST_F(DrawnViewsTest, RoundedRectRadiusFitsTheBoxAndItKeepsNoBackground)
{
    RoundedRectView wide(QRectF(0, 0, 100, 40));
    EXPECT_EQ(wide.cornerRadius(), 30.0);
    EXPECT_EQ(wide.effectiveRadius(), 20.0);
    RoundedRectView tall(QRectF(0, 0, 30, 100));
    EXPECT_EQ(tall.effectiveRadius(), 15.0);

    auto* box = new RoundedRectView(QRectF(40, 60, 100, 40));
    box->setRectColor(QColor(51, 51, 51));
    box->setStrokeColor(QColor(51, 51, 51));
    box->setBackgroundColor(Qt::red);
    box->setOpaque(true);
    EXPECT_FALSE(box->isOpaque());
    window->addSubview(box);
    const QImage image = Screenshot::render(box, 1);
    EXPECT_EQ(qAlpha(image.pixel(1, 1)), 0) << "the corner outside the rounding stays clear";
    EXPECT_EQ(image.pixelColor(50, 20), QColor(51, 51, 51));

    GradientView backdrop(QRectF(0, 0, 320, 44));
    EXPECT_EQ(backdrop.topColor(), QColor(Qt::white));
    EXPECT_EQ(qRound(backdrop.bottomColor().redF() * 100), 85);
}

TEST_F(DrawnViewsTest, ShadowsFollowTheFirstAndLastRows)
{
    Rows rows;
    auto* table = new ShadowedTableView(QRectF(0, 20, 320, 460));
    table->setDataSource(&rows);
    window->addSubview(table);
    table->reloadData();
    EXPECT_TRUE(table->hasTopShadow());
    EXPECT_EQ(table->topShadowRect(), QRectF(0, -10, 320, 10));
    EXPECT_FALSE(table->hasBottomShadow());
    EXPECT_EQ(table->originShadowRect(), QRectF(0, 0, 320, 10));

    table->setContentOffset(QPointF(0, 200));
    EXPECT_FALSE(table->hasTopShadow()) << "the first row is off screen";
    EXPECT_EQ(table->originShadowRect().y(), 200);
    table->setContentOffset(table->maximumContentOffset());
    EXPECT_TRUE(table->hasBottomShadow());
    EXPECT_EQ(table->bottomShadowRect().y(), 30 * 44);
    table->setContentOffset(QPointF(0, 0));
    EXPECT_TRUE(table->hasTopShadow());

    // Opaque, the table moves its drawn pixels as it scrolls by whole points:
    // the shadow under the top edge and the ones by the first and last rows
    // are drawn again where they show, above the first row and below the
    // last, and left alone under the rows.
    table->setBackgroundColor(QColor(238, 242, 247));
    ASSERT_TRUE(table->testAttribute(Qt::WA_OpaquePaintEvent));
    const auto judged = [&](qreal y) {
        table->setContentOffset(QPointF(0, y));
        turnEventLoop();
        ShownPixels::drawFrame(window.get());
        const int stale = ShownPixels::stale(window.get());
        EXPECT_EQ(stale, 0) << "at " << y;
        return stale == 0;
    };
    const qreal bottom = table->maximumContentOffset().y();
    QList<qreal> offsets;
    for (qreal y = -60; y <= 120; y += 15)
        offsets.append(y);
    for (qreal y = 120; y >= -60; y -= 20)
        offsets.append(y);
    for (qreal y = bottom - 90; y <= bottom + 60; y += 15)
        offsets.append(y);
    for (qreal y = bottom + 60; y >= bottom - 90; y -= 20)
        offsets.append(y);
    for (const qreal y : offsets) {
        if (!judged(y))
            break;
    }

    rows.rows = 0;
    table->reloadData();
    EXPECT_FALSE(table->hasTopShadow());
    EXPECT_FALSE(table->hasBottomShadow());
    EXPECT_FALSE(table->originShadowRect().isNull()) << "an empty table shows only the origin shadow";
}

TEST_F(DrawnViewsTest, ABoxOverOneColourPutsDownThePixelsItWouldDraw)
{
    // Quote boxes as rows show them: over the row's white, and one within
    // another's fill, of a height no row repeats.
    View row(QRectF(0, 0, 300, 140));
    row.setBackgroundColor(Qt::white);
    auto* outer = new RoundedRectView(QRectF(10, 4, 280, 131));
    outer->setCornerRadius(8);
    outer->setStrokeColor(QColor(51, 51, 51));
    outer->setRectColor(QColor(238, 238, 238));
    row.addSubview(outer);
    auto* inner = new RoundedRectView(QRectF(10, 23, 260, 57));
    inner->setCornerRadius(8);
    inner->setStrokeColor(QColor(51, 51, 51));
    inner->setRectColor(QColor(238, 238, 238));
    outer->addSubview(inner);
    const auto drawn = [&](QImage::Format format, qreal scale) {
        QImage image(QSize(300, 140) * scale, format);
        image.setDevicePixelRatio(scale);
        image.fill(Qt::black);
        row.render(&image);
        return image;
    };
    for (const QImage::Format format : {QImage::Format_RGB32, QImage::Format_ARGB32_Premultiplied}) {
        for (const qreal scale : {1.0, 2.0}) {
            outer->setBackdropColor(QColor());
            inner->setBackdropColor(QColor());
            const QImage direct = drawn(format, scale);
            outer->setBackdropColor(Qt::white);
            inner->setBackdropColor(outer->rectColor());
            EXPECT_EQ(drawn(format, scale), direct) << "format " << format << " at " << scale;
            EXPECT_EQ(drawn(format, scale), direct) << "drawn again from the kept picture";
            // The corners outside the rounding hold the colour said to be beneath.
            outer->setBackdropColor(Qt::red);
            EXPECT_NE(drawn(format, scale), direct) << "format " << format << " at " << scale;
        }
    }
}
