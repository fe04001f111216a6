#include "platform/ui/UiTestSupport.h"

#include "app/widgets/PullRefreshTableHeaderView.h"
#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TableViewCell.h"

#include "platform/foundation/UserDefaults.h"

#include <cmath>

namespace {

// A list with a band above it, as the paged table has one: twenty rows, the
// scroll events passed on to the band, and a reload that runs until the
// test says it is done.
class BandOwner : public TableViewDataSource, public TableViewDelegate, public PullRefreshTableHeaderDelegate {
public:
    int numberOfRowsInSection(TableView*, int) override { return 20; }
    TableViewCell* cellForRowAtIndexPath(TableView*, const IndexPath& path) override
    {
        auto* cell = new TableViewCell();
        cell->textLabel()->setText(QStringLiteral("Row %1").arg(path.row));
        return cell;
    }
    void scrollViewDidScroll(ScrollView* scrollView) override { band->pullRefreshScrollViewDidScroll(scrollView); }
    void scrollViewDidEndDragging(ScrollView* scrollView, bool) override
    {
        band->pullRefreshScrollViewDidEndDragging(scrollView);
    }
    void pullRefreshTableHeaderDidTriggerRefresh(PullRefreshTableHeaderView*) override
    {
        ++triggered;
        loading = true;
    }
    bool pullRefreshTableHeaderDataSourceIsLoading(PullRefreshTableHeaderView*) override { return loading; }
    std::optional<QDateTime> pullRefreshTableHeaderDataSourceLastUpdated(PullRefreshTableHeaderView*) override
    {
        return lastUpdated;
    }

    PullRefreshTableHeaderView* band = nullptr;
    int triggered = 0;
    bool loading = false;
    std::optional<QDateTime> lastUpdated;
};

class PullRefreshHeaderTest : public UiTest {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        table = new TableView(QRectF(0, 20, 320, 400));
        table->setDataSource(&owner);
        table->setDelegate(&owner);
        window->addSubview(table);
        owner.band = new PullRefreshTableHeaderView(QRectF(0, -400, 320, 400));
        owner.band->setDelegate(&owner);
        table->addSubview(owner.band);
        table->reloadData();
    }

    // Pulls the list down by the pointer's travel (past the top the content
    // stays under the pointer) and holds it there.
    void pull(qreal travel)
    {
        table->beginDragging(QPointF(160, 100));
        table->dragTo(QPointF(160, 100 + travel / 2));
        table->dragTo(QPointF(160, 100 + travel));
    }
    void settle()
    {
        clock->advance(1000);
        Animator::shared().finishAll();
    }

    BandOwner owner;
    TableView* table = nullptr;
};

}  // namespace

TEST_F(PullRefreshHeaderTest, TheBandIsLaidOutFromItsBottomEdge)
{
    PullRefreshTableHeaderView* band = owner.band;
    EXPECT_EQ(band->backgroundColor(), QColor(226, 231, 237));
    EXPECT_TRUE(band->autoresizingMask() & Autoresizing::FlexibleWidth);
    EXPECT_EQ(band->lastUpdatedLabel()->frame(), QRectF(0, 370, 320, 20));
    EXPECT_EQ(band->statusLabel()->frame(), QRectF(0, 352, 320, 20));
    EXPECT_EQ(band->arrowImage()->frame(), QRectF(25, 335, 30, 55));
    EXPECT_EQ(band->activityView()->frame(), QRectF(25, 362, 20, 20));
    EXPECT_EQ(band->activityView()->style(), ActivityIndicatorStyle::Gray);
    EXPECT_FALSE(band->arrowImage()->image().isNull()) << "the bundle carries blueArrow.png";
    for (Label* label : {band->lastUpdatedLabel(), band->statusLabel()}) {
        EXPECT_EQ(label->textColor(), QColor(87, 108, 137));
        EXPECT_EQ(label->textAlignment(), TextAlignment::Center);
        EXPECT_EQ(label->shadowOffset(), QSizeF(0, 1));
    }
    EXPECT_EQ(band->lastUpdatedLabel()->font().pixelSize(), 12);
    EXPECT_EQ(band->statusLabel()->font().pixelSize(), 13);
    EXPECT_TRUE(band->statusLabel()->font().bold());
    EXPECT_EQ(band->state(), PullRefreshTableHeaderView::Normal);
    EXPECT_EQ(band->statusLabel()->text(), QStringLiteral("Pull down to refresh..."));

    // Another arrow and colour.
    PullRefreshTableHeaderView other(QRectF(0, -100, 200, 100), QStringLiteral("bt_menu.png"), Qt::red);
    EXPECT_EQ(other.statusLabel()->textColor(), QColor(Qt::red));
    EXPECT_EQ(other.arrowImage()->frame(), QRectF(25, 35, 30, 55));
}

TEST_F(PullRefreshHeaderTest, LettingGoAtSixtyFivePointsReloadsAndSixtyFourDoesNot)
{
    PullRefreshTableHeaderView* band = owner.band;
    pull(64);
    EXPECT_EQ(table->contentOffset().y(), -64);
    EXPECT_EQ(band->state(), PullRefreshTableHeaderView::Normal);
    table->endDragging();
    EXPECT_EQ(owner.triggered, 0);
    settle();
    EXPECT_EQ(table->contentOffset().y(), 0) << "the list springs back";

    // Past the threshold the arrow turns up; back above it, down again.
    pull(70);
    EXPECT_EQ(band->state(), PullRefreshTableHeaderView::Pulling);
    EXPECT_EQ(band->statusLabel()->text(), QStringLiteral("Release to refresh..."));
    clock->advance(180);
    EXPECT_NEAR(band->arrowImage()->transform().rotation, M_PI, 1e-9);
    table->dragTo(QPointF(160, 160));
    EXPECT_EQ(band->state(), PullRefreshTableHeaderView::Normal);
    clock->advance(180);
    EXPECT_TRUE(band->arrowImage()->transform().isIdentity());
    table->endDragging();
    settle();

    // Exactly at the threshold.
    pull(65);
    EXPECT_EQ(table->contentOffset().y(), -65);
    table->endDragging();
    EXPECT_EQ(owner.triggered, 1);
    EXPECT_EQ(band->state(), PullRefreshTableHeaderView::Loading);
    EXPECT_EQ(band->statusLabel()->text(), QStringLiteral("Loading..."));
    EXPECT_TRUE(band->arrowImage()->isHidden());
    EXPECT_TRUE(band->activityView()->isAnimating());
    settle();
    EXPECT_EQ(table->contentInset().top, 60);
    EXPECT_EQ(table->contentOffset().y(), -60) << "the band stays open while the reload runs";

    // A second pull while the reload runs starts nothing.
    pull(200);
    table->endDragging();
    EXPECT_EQ(owner.triggered, 1);
    EXPECT_EQ(band->state(), PullRefreshTableHeaderView::Loading);
}

TEST_F(PullRefreshHeaderTest, WhileLoadingTheOpenBandFollowsTheListBetweenNoneAndSixtyPoints)
{
    PullRefreshTableHeaderView* band = owner.band;
    band->setState(PullRefreshTableHeaderView::Loading);
    table->setContentOffset(QPointF(0, -90));
    EXPECT_EQ(table->contentInset().top, 60);
    table->setContentOffset(QPointF(0, -25));
    EXPECT_EQ(table->contentInset().top, 25);
    table->setContentOffset(QPointF(0, 140));
    EXPECT_EQ(table->contentInset().top, 0);
    EXPECT_EQ(table->contentInset().bottom, 0);
}

TEST_F(PullRefreshHeaderTest, ADelegateThatIsLoadingAlreadyGetsNoSecondReload)
{
    owner.loading = true;
    pull(160);
    EXPECT_EQ(owner.band->state(), PullRefreshTableHeaderView::Normal) << "the arrow does not turn either";
    table->endDragging();
    EXPECT_EQ(owner.triggered, 0);
    EXPECT_EQ(owner.band->state(), PullRefreshTableHeaderView::Normal);
}

TEST_F(PullRefreshHeaderTest, FinishingClosesTheBandAndWritesTheLastUpdatedLine)
{
    PullRefreshTableHeaderView* band = owner.band;
    owner.lastUpdated = QDateTime(QDate(2011, 3, 4), QTime(17, 5), Qt::UTC);
    pull(140);
    table->endDragging();
    settle();
    ASSERT_EQ(table->contentInset().top, 60);

    band->pullRefreshScrollViewDataSourceDidFinishedLoading(table);
    EXPECT_EQ(band->state(), PullRefreshTableHeaderView::Normal);
    EXPECT_FALSE(band->activityView()->isAnimating());
    EXPECT_FALSE(band->arrowImage()->isHidden());
    clock->advance(150);
    EXPECT_LT(table->contentOffset().y(), 0) << "it closes over 0.3 s";
    clock->advance(200);
    Animator::shared().finishAll();
    EXPECT_EQ(table->contentInset().top, 0);
    EXPECT_EQ(table->contentOffset().y(), 0);

    const QString line = band->lastUpdatedLabel()->text();
    EXPECT_TRUE(line.startsWith(QStringLiteral("Last Updated: "))) << line.toStdString();
    EXPECT_GT(line.size(), 20);
    EXPECT_EQ(UserDefaults::standard().objectForKey(PullRefreshTableHeaderView::kLastRefreshKey).toString(), line);

    // Every return to normal writes it again; without the optional answer
    // the line is empty.
    owner.lastUpdated = QDateTime(QDate(2012, 1, 2), QTime(8, 0), Qt::UTC);
    band->setState(PullRefreshTableHeaderView::Normal);
    EXPECT_NE(band->lastUpdatedLabel()->text(), line);
    EXPECT_EQ(UserDefaults::standard().objectForKey(PullRefreshTableHeaderView::kLastRefreshKey).toString(),
              band->lastUpdatedLabel()->text());
    owner.lastUpdated.reset();
    band->refreshLastUpdatedDate();
    EXPECT_EQ(band->lastUpdatedLabel()->text(), QString());
}
