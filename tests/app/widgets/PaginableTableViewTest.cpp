#include "Answers.h"
#include "platform/ui/UiTestSupport.h"

#include "app/config/Customizer.h"
#include "app/model/ModelWithPages.h"
#include "app/session/Notification.h"
#include "app/widgets/LoadingCell.h"
#include "app/widgets/PageNavView.h"
#include "app/widgets/PaginableTableView.h"
#include "app/widgets/PullRefreshTableHeaderView.h"
#include "app/widgets/ShadowedTableView.h"
#include "platform/ui/Font.h"
#include "platform/ui/Label.h"
#include "platform/ui/TableViewCell.h"

namespace {

// A list of texts written "a,b,c".
QStringList texts(const char* commaSeparated)
{
    return QString::fromUtf8(commaSeparated).split(QLatin1Char(','));
}

// A paged list whose answers the test gives by hand; it notes the pages the
// view asks for.
class HandPages : public ModelWithPages {
public:
    void fetchPage(int page) override { asked.append(page); }
    void fetchSpecialPage() override { asked.append(0); }

    // Page `page` of `total` with `rows` entries named "p<page>r<row>".
    void answer(int page, int total, int rows)
    {
        Page entries;
        for (int row = 0; row < rows; ++row)
            entries.append(entry(QStringLiteral("p%1r%2").arg(page).arg(row)));
        pages().insert(pageKey(page), entries);
        setPagenav(pageNavBlock(page, total));
        notifyChanged();
    }
    static ModelPtr entry(const QString& name)
    {
        auto row = std::make_shared<Notification>();
        row->setPhrase(name);
        return row;
    }

    QList<int> asked;
};

QString nameOf(const ModelPtr& object)
{
    const auto* row = dynamic_cast<const Notification*>(object.get());
    return row ? row->phrase() : QString();
}

// The screen behind the list.
class ListScreen : public PaginableTableDelegate {
public:
    TableViewCell* cellForObject(PaginableTableView* view, const ModelPtr& object) override
    {
        TableViewCell* cell = view->tableView()->dequeueReusableCellWithIdentifier(QStringLiteral("Row"));
        if (!cell)
            cell = new TableViewCell(TableViewCellStyle::Default, QStringLiteral("Row"));
        cell->textLabel()->setText(nameOf(object));
        return cell;
    }
    qreal heightForCellWithObject(PaginableTableView*, const ModelPtr&) override { return 50; }
    QString titleForTheFirstSection() override { return firstTitle; }
    void didSelectCell(TableViewCell* cell, const ModelPtr& object) override
    {
        chosen.append(nameOf(object));
        chosenCells.append(cell);
        if (onSelect)
            onSelect();
    }
    std::optional<QList<ModelPtr>> prependArrayOfObjects() override { return prepended; }
    std::optional<QList<ModelPtr>> appendArrayOfObjects() override { return appended; }
    std::optional<int> numberOfSectionsInTableView(PaginableTableView*) override { return ownSections; }
    View* viewForHeaderInSection(PaginableTableView*, int section) override
    {
        ++headerViewsAsked;
        return ownHeader ? new Label(QRectF(0, 0, 320, 30)) : nullptr;
    }

    QString firstTitle;
    QStringList chosen;
    QList<TableViewCell*> chosenCells;
    std::function<void()> onSelect;
    std::optional<QList<ModelPtr>> prepended;
    std::optional<QList<ModelPtr>> appended;
    std::optional<int> ownSections;
    bool ownHeader = false;
    int headerViewsAsked = 0;
};

class PaginableTableViewTest : public UiTest {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        list = new PaginableTableView(QRectF(0, 64, 320, 416));
        list->setDelegate(&screen);
        window->addSubview(list);
        model = std::make_shared<HandPages>();
    }

    QStringList rowNames(int section)
    {
        QStringList names;
        for (const ModelPtr& object : list->rowsForSection(section))
            names.append(nameOf(object));
        return names;
    }
    TableView* table() { return list->tableView(); }

    ListScreen screen;
    PaginableTableView* list = nullptr;
    std::shared_ptr<HandPages> model;
};

}  // namespace

TEST_F(PaginableTableViewTest, AModelGetsAStripABandAndPageOne)
{
    list->setModel(model);
    EXPECT_EQ(model->asked, QList<int>({1}));
    ASSERT_NE(list->navView(), nullptr);
    EXPECT_EQ(list->navView()->frame(), QRectF(0, 0, 320, 30));
    EXPECT_EQ(list->navView()->selectedPage(), 1u);
    ASSERT_NE(list->refreshHeaderView(), nullptr);
    EXPECT_EQ(list->refreshHeaderView()->frame(), QRectF(0, -416, 320, 416));
    EXPECT_EQ(list->refreshHeaderView()->superview(), table());
    EXPECT_TRUE(model->observers().contains(list));
    // The screen's colour, so that it can scroll by moving drawn pixels.
    EXPECT_EQ(table()->backgroundColor(), Customizer::getInstance().colorForKey(kColorBackground));
    EXPECT_TRUE(table()->testAttribute(Qt::WA_OpaquePaintEvent));
    EXPECT_EQ(table()->separatorStyle(), TableViewCellSeparatorStyle::None);
    EXPECT_EQ(table()->numberOfSections(), 0) << "nothing shows before the answer";

    // A list of one page: no strip, the table takes the whole view, no row
    // loads more.
    model->answer(1, 1, 3);
    EXPECT_TRUE(list->navView()->isHidden());
    EXPECT_EQ(table()->frame(), QRectF(0, 0, 320, 416));
    EXPECT_EQ(table()->numberOfSections(), 1);
    EXPECT_EQ(table()->numberOfRowsInSection(0), 3);
    EXPECT_EQ(table()->rectForRowAtIndexPath(IndexPath{0, 1}).height(), 50);
    EXPECT_EQ(table()->rectForHeaderInSection(0).height(), 0) << "no title for the first section";
    EXPECT_FALSE(list->refreshHeaderView()->lastUpdatedLabel()->text().isEmpty());

    // The same model again changes nothing; another one starts over.
    const PageNavView* strip = list->navView();
    list->setModel(model);
    EXPECT_EQ(list->navView(), strip);
    auto next = std::make_shared<HandPages>();
    list->setModel(next);
    EXPECT_NE(list->navView(), strip);
    EXPECT_FALSE(model->observers().contains(list));
    EXPECT_EQ(next->asked, QList<int>({1}));
    EXPECT_EQ(model->asked, QList<int>({1}));
}

TEST_F(PaginableTableViewTest, SectionsFollowTheChosenPageAndTheLastRowLoadsTheNextOne)
{
    list->setModel(model);
    model->answer(1, 5, 4);
    EXPECT_FALSE(list->navView()->isHidden());
    EXPECT_EQ(table()->frame(), QRectF(0, 30, 320, 386));
    EXPECT_EQ(table()->numberOfRowsInSection(0), 5) << "four rows and the one that loads more";
    // That row is on screen: showing it asked for page 2.
    EXPECT_EQ(model->asked, QList<int>({1, 2}));
    auto* loading = dynamic_cast<LoadingCell*>(table()->cellForRowAtIndexPath(IndexPath{0, 4}));
    ASSERT_NE(loading, nullptr);
    EXPECT_EQ(loading->reuseIdentifier(), QStringLiteral("LoadingCell"));
    EXPECT_EQ(loading->loadingLabel()->text(), QStringLiteral("Loading..."));
    EXPECT_EQ(table()->rectForRowAtIndexPath(IndexPath{0, 4}).height(), 44);

    // Choosing page 3 in the strip: the list empties and asks for page 3.
    list->navView()->setSelectedPage(3);
    EXPECT_EQ(model->asked.last(), 3);
    EXPECT_TRUE(model->pages().isEmpty());
    EXPECT_TRUE(model->navs().isEmpty());
    EXPECT_EQ(table()->numberOfSections(), 0);
    model->answer(3, 5, 6);
    model->answer(4, 5, 8);
    EXPECT_EQ(table()->numberOfSections(), 2);
    EXPECT_EQ(rowNames(0), texts("p3r0,p3r1,p3r2,p3r3,p3r4,p3r5"));
    EXPECT_EQ(rowNames(1).size(), 8);
    EXPECT_EQ(table()->numberOfRowsInSection(0), 6);
    EXPECT_EQ(table()->numberOfRowsInSection(1), 9);

    // Headers: the first section's only with a title; the others name their page.
    EXPECT_EQ(table()->rectForHeaderInSection(0).height(), 0);
    EXPECT_EQ(table()->rectForHeaderInSection(1).height(), 30);
    auto* header = dynamic_cast<Label*>(table()->headerViewForSection(1));
    ASSERT_NE(header, nullptr);
    EXPECT_EQ(header->text(), QStringLiteral("    Page 4"));
    EXPECT_EQ(header->font().family(), Font::installedFamily(QStringLiteral("Helvetica")));
    EXPECT_TRUE(header->font().bold());
    EXPECT_EQ(header->font().pixelSize(), 13);
    Customizer& theme = Customizer::getInstance();
    EXPECT_EQ(header->textColor(), theme.colorForKey(kColorTextCategory));
    EXPECT_EQ(header->backgroundColor(), theme.colorForKey(kColorBackground));
    screen.firstTitle = QStringLiteral("Threads");
    list->reloadData();
    EXPECT_EQ(table()->rectForHeaderInSection(0).height(), 30);
    auto* first = dynamic_cast<Label*>(table()->headerViewForSection(0));
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->text(), QStringLiteral("    Threads"));

    // The strip follows the page at the top of the list.
    EXPECT_EQ(list->navView()->currentPage(), 3u);
    table()->scrollToRowAtIndexPath(IndexPath{1, 0}, TableViewScrollPosition::Top, false);
    ASSERT_GT(table()->contentOffset().y(), 0);
    EXPECT_EQ(list->navView()->currentPage(), 4u);
    EXPECT_EQ(list->navView()->pageNav(), model->navs().value(QStringLiteral("4")));
    table()->setContentOffset(QPointF(0, 0));
    EXPECT_EQ(list->navView()->currentPage(), 3u);

    // The last page: the delegate's closing rows follow it and no row loads more.
    screen.appended = QList<ModelPtr>{HandPages::entry(QStringLiteral("end"))};
    model->answer(5, 5, 1);
    EXPECT_EQ(table()->numberOfSections(), 3);
    EXPECT_EQ(rowNames(2), texts("p5r0,end"));
    EXPECT_EQ(table()->numberOfRowsInSection(2), 2);
    EXPECT_EQ(rowNames(1).last(), QStringLiteral("p4r7")) << "only after the last section";
}

TEST_F(PaginableTableViewTest, OpeningRowsAndAHeaderOfTheScreensOwnWhileNothingIsLoaded)
{
    screen.ownSections = 1;
    screen.ownHeader = true;
    screen.firstTitle = QStringLiteral("Subforums");
    screen.prepended = QList<ModelPtr>{HandPages::entry(QStringLiteral("notice"))};
    list->setModel(model);
    EXPECT_EQ(table()->numberOfSections(), 1) << "the screen's own section before any answer";
    EXPECT_GT(screen.headerViewsAsked, 0);
    EXPECT_EQ(rowNames(0), texts("notice"));
    model->answer(1, 2, 2);
    EXPECT_EQ(rowNames(0), texts("notice,p1r0,p1r1"));
    EXPECT_EQ(table()->numberOfRowsInSection(0), 4);
    // An empty opening list adds nothing.
    screen.prepended = QList<ModelPtr>{};
    list->reloadData();
    EXPECT_EQ(rowNames(0), texts("p1r0,p1r1"));
}

TEST_F(PaginableTableViewTest, ThePageTheServerChoosesNumbersTheSections)
{
    list->setModel(model);
    model->answer(1, 9, 3);
    list->loadNewPage();
    EXPECT_EQ(model->asked.last(), 0);
    EXPECT_EQ(table()->numberOfSections(), 0) << "nothing shows until the answer comes";
    model->answer(7, 9, 2);
    EXPECT_EQ(list->navView()->selectedPage(), 7u);
    EXPECT_EQ(rowNames(0), texts("p7r0,p7r1"));
    EXPECT_EQ(list->navView()->entries().first()->curpage(), QStringLiteral("1"));
    EXPECT_EQ(list->navView()->entries().last()->curpage(), QStringLiteral("9"));
}

TEST_F(PaginableTableViewTest, WithoutAModelTheListIsEmptyAndAsksForNothing)
{
    // Never had one: no sections, a pull does nothing.
    EXPECT_EQ(list->numberOfSectionsInTableView(table()), 0);
    list->refreshModel();
    list->pullRefreshTableHeaderDidTriggerRefresh(nullptr);
    EXPECT_FALSE(list->pullRefreshTableHeaderDataSourceIsLoading(nullptr));
    clock->advance(3000);

    // Had one, then none.
    list->setModel(model);
    model->answer(1, 3, 3);
    ASSERT_EQ(table()->numberOfSections(), 1);
    list->setModel(nullptr);
    EXPECT_EQ(table()->numberOfSections(), 0);
    EXPECT_TRUE(list->navView()->isHidden());
    EXPECT_FALSE(model->observers().contains(list));
    const QList<int> asked = model->asked;
    list->navView()->setSelectedPage(2);
    list->refreshModel();
    EXPECT_EQ(model->asked, asked);
    EXPECT_EQ(table()->numberOfSections(), 0);
}

TEST_F(PaginableTableViewTest, APullReloadsTheChosenPageAndALostListIsNotCalledWhenItsBandWouldClose)
{
    list->setModel(model);
    model->answer(1, 3, 6);
    model->asked.clear();
    table()->beginDragging(QPointF(160, 200));
    table()->dragTo(QPointF(160, 340));
    table()->endDragging();
    EXPECT_EQ(model->asked, QList<int>({1})) << "the strip's chosen page";
    ASSERT_TRUE(list->isRefreshCloseScheduled());
    delete list;
    list = nullptr;
    clock->advance(PaginableTableView::kRefreshCloseDelayMs);
    Animator::shared().finishAll();
    EXPECT_TRUE(model->observers().isEmpty());
}

TEST_F(PaginableTableViewTest, ChoosingARowTellsTheScreenThenTheRowIsDeselected)
{
    list->setModel(model);
    model->answer(1, 1, 3);
    const QRectF row = table()->rectForRowAtIndexPath(IndexPath{0, 1});
    tap(table()->convertPoint(row.center(), nullptr));
    EXPECT_EQ(screen.chosen, texts("p1r1"));
    EXPECT_EQ(screen.chosenCells.value(0), table()->cellForRowAtIndexPath(IndexPath{0, 1}));
    EXPECT_FALSE(table()->indexPathForSelectedRow().isValid());

    // A screen that swaps the list's model, or takes the whole list away,
    // while it hears of the choice.
    screen.onSelect = [this] { list->setModel(std::make_shared<HandPages>()); };
    tap(table()->convertPoint(row.center(), nullptr));
    EXPECT_EQ(table()->numberOfSections(), 0);
    model->answer(1, 1, 3);
    EXPECT_EQ(table()->numberOfSections(), 0) << "the old model is no longer heard";

    auto other = std::make_shared<HandPages>();
    list->setModel(other);
    other->answer(1, 1, 2);
    screen.onSelect = [this] {
        list->removeFromSuperview();
        list = nullptr;
    };
    tap(window->convertPointFrom(QPointF(160, 64 + 25), nullptr));
    EXPECT_EQ(list, nullptr);
    turnEventLoop();
}
