#include "UiTestSupport.h"

#include "platform/ui/Label.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TableViewCell.h"

namespace {

class Sections : public TableViewDataSource, public TableViewDelegate {
public:
    QList<int> rows{4, 10, 10};
    QList<IndexPath> displayed;
    int scrollAnimationsEnded = 0;
    int numberOfSectionsInTableView(TableView*) override { return int(rows.size()); }
    int numberOfRowsInSection(TableView*, int section) override { return rows[section]; }
    TableViewCell* cellForRowAtIndexPath(TableView*, const IndexPath& path) override
    {
        // No reuse identifier: such cells are dropped when they scroll away.
        auto* cell = new TableViewCell(TableViewCellStyle::Value1);
        cell->textLabel()->setText(QStringLiteral("%1-%2").arg(path.section).arg(path.row));
        return cell;
    }
    QString titleForHeaderInSection(TableView*, int section) override
    {
        return QStringLiteral("Section %1").arg(section);
    }
    void willDisplayCell(TableView*, TableViewCell*, const IndexPath& path) override { displayed.append(path); }
    void scrollViewDidEndScrollingAnimation(ScrollView*) override { ++scrollAnimationsEnded; }
};

class TableDetailsTest : public UiTest {};

}  // namespace

TEST_F(TableDetailsTest, PlainHeadersStayOnTopWhileTheirRowsPassUnder)
{
    Sections source;
    auto* table = new TableView(QRectF(0, 20, 320, 460));
    table->setDataSource(&source);
    table->setDelegate(&source);
    window->addSubview(table);
    table->reloadData();
    // Default plain headers with a title are 22 high.
    EXPECT_EQ(table->rectForHeaderInSection(1), QRectF(0, 22 + 4 * 44, 320, 22));
    EXPECT_EQ(source.displayed.first(), (IndexPath{0, 0}));

    const qreal section1Top = table->rectForSection(1).top();
    table->setContentOffset(QPointF(0, section1Top + 100));
    View* header = table->headerViewForSection(1);
    ASSERT_NE(header, nullptr);
    EXPECT_EQ(header->frame().y(), section1Top + 100) << "pinned to the top of the visible area";
    // At the end of its section the header is pushed up by the next one.
    const QRectF section1 = table->rectForSection(1);
    table->setContentOffset(QPointF(0, section1.bottom() - 10));
    EXPECT_EQ(header->frame().y(), section1.bottom() - 22);

    // Rows dropped off screen without an identifier are deleted, not queued.
    QPointer<TableViewCell> first = table->cellForRowAtIndexPath({2, 5});
    ASSERT_FALSE(first.isNull());
    table->setContentOffset(QPointF(0, 0));
    turnEventLoop();
    EXPECT_TRUE(first.isNull());
    EXPECT_EQ(table->dequeueReusableCellWithIdentifier(QString()), nullptr);

    // Scrolling to a row, animated, ends with the delegate told.
    table->scrollToRowAtIndexPath({2, 9}, TableViewScrollPosition::Bottom, true);
    clock->runOneShots();
    EXPECT_EQ(table->contentOffset().y(), table->maximumContentOffset().y());
    EXPECT_EQ(source.scrollAnimationsEnded, 1);
}

TEST_F(TableDetailsTest, GroupedSectionsHeaderViewsAndAReloadThatShortensTheList)
{
    Sections source;
    auto* table = new TableView(QRectF(0, 20, 320, 460), TableViewStyle::Grouped);
    table->setDataSource(&source);
    table->setDelegate(&source);
    auto* header = new Label(QRectF(0, 0, 320, 180));
    table->setTableHeaderView(header);
    window->addSubview(table);
    table->reloadData();
    // Grouped rows are inset by 10 on each side, below the table's header view.
    const QRectF first = table->rectForRowAtIndexPath({0, 0});
    EXPECT_EQ(first.x(), 10);
    EXPECT_EQ(first.width(), 300);
    EXPECT_GE(first.y(), 180);
    EXPECT_EQ(header->frame(), QRectF(0, 0, 320, 180));

    table->setContentOffset(table->maximumContentOffset());
    source.rows = {2};
    table->reloadData();
    EXPECT_EQ(table->numberOfSections(), 1);
    EXPECT_EQ(table->contentOffset(), table->clampedOffset(table->contentOffset()))
        << "the offset comes back inside the shorter list";
    EXPECT_EQ(table->cellForRowAtIndexPath({1, 0}), nullptr);
    ASSERT_NE(table->cellForRowAtIndexPath({0, 1}), nullptr);
}

TEST_F(TableDetailsTest, ADataSourceThatGoesLeavesAnEmptyTable)
{
    auto source = std::make_unique<Sections>();
    auto* table = new TableView(QRectF(0, 20, 320, 460));
    table->setDataSource(source.get());
    table->setDelegate(source.get());
    window->addSubview(table);
    table->reloadData();
    source.reset();
    table->reloadData();
    EXPECT_EQ(table->numberOfSections(), 0);
    EXPECT_TRUE(table->indexPathsForVisibleRows().isEmpty());
    drag(QPointF(100, 100), QPointF(100, 200));
    mouse(QEvent::MouseButtonRelease, QPointF(100, 200));
    clock->runOneShots();
    EXPECT_EQ(table->contentOffset().y(), 0) << "an empty table still bounces back";
}

TEST_F(TableDetailsTest, WithoutBouncingADragStopsAtTheEdges)
{
    Sections source;
    auto* table = new TableView(QRectF(0, 20, 320, 460));
    table->setDataSource(&source);
    table->setBounces(false);
    window->addSubview(table);
    table->reloadData();
    table->beginDragging(QPointF(100, 100));
    table->dragTo(QPointF(100, 300));
    EXPECT_EQ(table->contentOffset().y(), 0);
    table->dragTo(QPointF(100, 0));
    EXPECT_EQ(table->contentOffset().y(), 100);
    table->endDragging();
    EXPECT_FALSE(table->isDragging());
}
