#include "UiTestSupport.h"

#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TableViewCell.h"

namespace {

// Sections of rows with per-row heights and custom headers; writes down the
// scroll events it hears.
class Source : public TableViewDataSource, public TableViewDelegate {
public:
    QList<int> rows{3, 5};
    int made = 0;
    QStringList events;
    QList<IndexPath> selected;
    IndexPath refused;

    int numberOfSectionsInTableView(TableView*) override { return int(rows.size()); }
    int numberOfRowsInSection(TableView*, int section) override { return rows[section]; }
    TableViewCell* cellForRowAtIndexPath(TableView* table, const IndexPath& path) override
    {
        auto* cell = table->dequeueReusableCellWithIdentifier(QStringLiteral("Row"));
        if (!cell) {
            cell = new TableViewCell(TableViewCellStyle::Default, QStringLiteral("Row"));
            ++made;
        }
        cell->textLabel()->setText(QStringLiteral("Row %1.%2").arg(path.section).arg(path.row));
        return cell;
    }
    std::optional<qreal> heightForRowAtIndexPath(TableView*, const IndexPath& path) override
    {
        return path.section == 0 ? 60.0 : 44.0;
    }
    std::optional<qreal> heightForHeaderInSection(TableView*, int section) override { return section == 0 ? 0 : 30; }
    View* viewForHeaderInSection(TableView*, int section) override
    {
        auto* label = new Label(QRectF(0, 0, 300, 30));
        label->setText(QStringLiteral("    Section %1").arg(section));
        return label;
    }
    IndexPath willSelectRowAtIndexPath(TableView*, const IndexPath& path) override
    {
        return path == refused ? IndexPath() : path;
    }
    void didSelectRowAtIndexPath(TableView*, const IndexPath& path) override { selected.append(path); }
    void scrollViewWillBeginDragging(ScrollView*) override { events.append(QStringLiteral("begin")); }
    void scrollViewDidEndDragging(ScrollView* s, bool decelerate) override
    {
        events.append(QStringLiteral("end:%1:%2").arg(s->contentOffset().y()).arg(decelerate));
    }
    void scrollViewDidEndDecelerating(ScrollView* s) override
    {
        events.append(QStringLiteral("settled:%1").arg(s->contentOffset().y()));
    }
};

class TableTest : public UiTest {
protected:
    TableView* makeTable(TableViewStyle style = TableViewStyle::Plain)
    {
        auto* table = new TableView(QRectF(0, 20, 320, 460), style);
        table->setDataSource(&source);
        table->setDelegate(&source);
        window->addSubview(table);
        table->reloadData();
        return table;
    }
    Source source;
};

}  // namespace

TEST_F(TableTest, SectionsHeightsHeadersAndRowsOnScreen)
{
    TableView* table = makeTable();
    EXPECT_EQ(table->numberOfSections(), 2);
    EXPECT_EQ(table->numberOfRowsInSection(1), 5);
    // 3 rows of 60, a header of 30, 5 rows of 44.
    EXPECT_EQ(table->contentSize().height(), 3 * 60 + 30 + 5 * 44);
    EXPECT_EQ(table->rectForRowAtIndexPath({1, 0}), QRectF(0, 210, 320, 44));
    EXPECT_EQ(table->rectForHeaderInSection(1), QRectF(0, 180, 320, 30));
    EXPECT_EQ(table->headerViewForSection(0), nullptr) << "a zero-high header is not shown";
    ASSERT_NE(table->headerViewForSection(1), nullptr);
    EXPECT_EQ(table->indexPathsForVisibleRows().size(), 8);
    EXPECT_EQ(table->cellForRowAtIndexPath({1, 4})->textLabel()->text(), QStringLiteral("Row 1.4"));
    EXPECT_EQ(table->indexPathForRowAtPoint(QPointF(5, 215)), (IndexPath{1, 0}));

    // Tapping a row selects it; a refused row stays unselected.
    source.refused = IndexPath{0, 1};
    tap(QPointF(100, 20 + 30));
    tap(QPointF(100, 20 + 90));
    EXPECT_EQ(source.selected, QList<IndexPath>({IndexPath{0, 0}}));
    EXPECT_EQ(table->indexPathForSelectedRow(), (IndexPath{0, 0}));
    EXPECT_TRUE(table->cellForRowAtIndexPath({0, 0})->isSelected());
    table->deselectRowAtIndexPath({0, 0}, true);
    EXPECT_FALSE(table->cellForRowAtIndexPath({0, 0})->isSelected());
}

TEST_F(TableTest, AThousandRowsCostOnlyTheVisibleCellsAndScrollingReusesThem)
{
    source.rows = {1000};
    TableView* table = makeTable();
    // 460 points of 60-point rows: 8 rows on screen.
    EXPECT_EQ(table->indexPathsForVisibleRows().size(), 8);
    EXPECT_EQ(source.made, 8);
    TableViewCell* first = table->cellForRowAtIndexPath({0, 0});
    table->scrollToRowAtIndexPath({0, 500}, TableViewScrollPosition::Top, false);
    EXPECT_EQ(table->contentOffset().y(), 500 * 60);
    EXPECT_EQ(table->indexPathsForVisibleRows().first(), (IndexPath{0, 500}));
    EXPECT_LE(table->cellCount(), 9);
    EXPECT_LE(source.made, 9) << "cells scrolled away come back from the queue";
    EXPECT_EQ(table->cellForRowAtIndexPath({0, 0}), nullptr);
    bool reused = false;
    for (TableViewCell* cell : table->visibleCells())
        reused = reused || cell == first;
    EXPECT_TRUE(reused);
    table->scrollToRowAtIndexPath({0, 999}, TableViewScrollPosition::Bottom, false);
    EXPECT_EQ(table->contentOffset().y(), 1000 * 60 - 460);
    table->scrollToRowAtIndexPath({0, 10}, TableViewScrollPosition::Middle, true);
    clock->runOneShots();
    EXPECT_EQ(table->contentOffset().y(), 10 * 60 + 30 - 230);
}

TEST_F(TableTest, DraggingPastTheTopGoesNegativeAndSpringsBackToTheInset)
{
    TableView* table = makeTable();
    // A mouse drag is a touch drag, even when it starts on a row.
    drag(QPointF(160, 100), QPointF(160, 240));
    EXPECT_TRUE(table->isDragging());
    EXPECT_EQ(table->contentOffset().y(), -140) << "past the edge the content stays under the pointer";
    EXPECT_EQ(source.events, QStringList({QStringLiteral("begin")}));
    EXPECT_TRUE(source.selected.isEmpty()) << "a drag selects nothing";

    // The delegate opens a band of 60 as the drag ends; the content springs
    // back to the band, not to 0.
    struct Opener : ScrollViewDelegate {
        Source* inner;
        void scrollViewDidEndDragging(ScrollView* s, bool decelerate) override
        {
            inner->scrollViewDidEndDragging(s, decelerate);
            View::animate(0.2, [s]() { s->setContentInset(EdgeInsets{60, 0, 0, 0}); });
        }
        void scrollViewDidEndDecelerating(ScrollView* s) override { inner->scrollViewDidEndDecelerating(s); }
    } opener;
    opener.inner = &source;
    table->ScrollView::setDelegate(&opener);
    mouse(QEvent::MouseButtonRelease, QPointF(160, 240));
    EXPECT_FALSE(table->isDragging());
    clock->runOneShots();
    EXPECT_EQ(source.events, QStringList({QStringLiteral("begin"), QStringLiteral("end:-140:1"),
                                          QStringLiteral("settled:-60")}));
    EXPECT_EQ(table->contentOffset().y(), -60);
    EXPECT_EQ(table->contentInset().top, 60);

    // Closing the band moves the content back to the top.
    View::animate(0.3, [table]() { table->setContentInset(EdgeInsets{}); });
    clock->runOneShots();
    EXPECT_EQ(table->contentOffset().y(), 0);
}

TEST_F(TableTest, WheelAndKeysScrollWithinTheRange)
{
    source.rows = {40};
    TableView* table = makeTable();
    UserInput::wheel(window.get(), QPointF(100, 100), QPoint(0, -240));
    EXPECT_EQ(table->contentOffset().y(), 80);
    UserInput::wheel(window.get(), QPointF(100, 100), QPoint(0, 2400));
    EXPECT_EQ(table->contentOffset().y(), 0) << "the wheel never pulls past the top";
    // The keys reach the table a click went to.
    UserInput::click(window.get(), QPointF(100, 100));
    UserInput::key(Qt::Key_End);
    EXPECT_EQ(table->contentOffset().y(), table->maximumContentOffset().y());
    UserInput::key(Qt::Key_PageUp);
    EXPECT_EQ(table->contentOffset().y(), table->maximumContentOffset().y() - (460 - 44));
}

TEST_F(TableTest, AButtonInARowLosesItsTouchToADrag)
{
    struct ButtonSource : Source {
        int pressed = 0;
        TableViewCell* cellForRowAtIndexPath(TableView* table, const IndexPath& path) override
        {
            TableViewCell* cell = Source::cellForRowAtIndexPath(table, path);
            if (!cell->contentView()->viewWithTag(7)) {
                auto* b = new Button(QRectF(200, 10, 100, 40), ButtonType::RoundedRect);
                b->setTag(7);
                b->addAction([this](Control*) { ++pressed; }, ControlEvent::TouchUpInside);
                cell->contentView()->addSubview(b);
            }
            return cell;
        }
    } buttons;
    auto* table = new TableView(QRectF(0, 20, 320, 460));
    table->setDataSource(&buttons);
    table->setDelegate(&buttons);
    window->addSubview(table);
    table->reloadData();
    tap(QPointF(250, 20 + 30));
    EXPECT_EQ(buttons.pressed, 1);
    drag(QPointF(250, 20 + 30), QPointF(250, 20 + 200));
    mouse(QEvent::MouseButtonRelease, QPointF(250, 20 + 200));
    EXPECT_EQ(buttons.pressed, 1) << "the drag took the touch over";
    EXPECT_EQ(buttons.events.first(), QStringLiteral("begin"));
}
