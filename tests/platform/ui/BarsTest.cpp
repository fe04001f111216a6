#include "UiTestSupport.h"

#include "platform/ui/BarButtonView.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationBar.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/TabBar.h"
#include "platform/ui/Toolbar.h"

namespace {

class Chooser : public TabBarDelegate {
public:
    QList<int> tags;
    void didSelectItem(TabBar*, const TabBarItemPtr& item) override { tags.append(item->tag()); }
};

class BarsTest : public UiTest {};

}  // namespace

TEST_F(BarsTest, TheNavigationBarShowsTheTopItem)
{
    auto first = std::make_shared<ViewController>();
    first->setTitle(QStringLiteral("Forums"));
    auto second = std::make_shared<ViewController>();
    second->setTitle(QStringLiteral("A long thread title that cannot fit"));
    auto nav = NavigationController::create(first);
    window->setRootViewController(nav);
    nav->pushViewController(second, false);
    NavigationBar* bar = nav->navigationBar();
    EXPECT_EQ(bar->backButtonView()->shownTitle(), QStringLiteral("Forums"));

    // A back item of the screen below names the way back.
    first->navigationItem()->setBackBarButtonItem(
        BarButtonItem::withTitle(QStringLiteral("login"), BarButtonItemStyle::Bordered));
    nav->setViewControllers({first, second}, false);
    EXPECT_EQ(bar->backButtonView()->shownTitle(), QStringLiteral("login"));

    // A left item replaces the back button; hiding the back button leaves none.
    second->navigationItem()->setLeftBarButtonItem(BarButtonItem::withSystemItem(BarButtonSystemItem::Cancel));
    EXPECT_EQ(bar->backButtonView(), nullptr);
    EXPECT_EQ(bar->leftButtonView()->shownTitle(), QStringLiteral("Cancel"));
    second->navigationItem()->setLeftBarButtonItem(nullptr);
    second->navigationItem()->setHidesBackButton(true);
    EXPECT_EQ(bar->backButtonView(), nullptr);
    EXPECT_EQ(bar->leftButtonView(), nullptr);

    // The title follows the screen's; a right button can come and go.
    second->setTitle(QStringLiteral("Reply"));
    EXPECT_EQ(bar->shownTitle(), QStringLiteral("Reply"));
    auto submit = BarButtonItem::withTitle(QStringLiteral("submit"), BarButtonItemStyle::Done);
    second->navigationItem()->setRightBarButtonItem(submit);
    ASSERT_NE(bar->rightButtonView(), nullptr);
    EXPECT_GT(bar->rightButtonView()->frame().x(), 200);
    submit->setEnabled(false);
    EXPECT_FALSE(bar->rightButtonView()->isEnabled());
    second->navigationItem()->setRightBarButtonItem(nullptr);
    EXPECT_EQ(bar->rightButtonView(), nullptr);

    // Views may be put on the bar (the menu's button).
    auto* extra = new View(QRectF(110, 7, 100, 30));
    bar->addSubview(extra);
    EXPECT_EQ(extra->superview(), bar);
    bar->setTintColor(QColor(120, 20, 20));
    EXPECT_EQ(bar->tintColor(), QColor(120, 20, 20));
}

TEST_F(BarsTest, ATitleTooLongToCentreTakesTheRoomBesideTheButtons)
{
    auto list = std::make_shared<ViewController>();
    list->setTitle(QStringLiteral("Using the App"));
    auto page = std::make_shared<ViewController>();
    page->setTitle(QStringLiteral("Reply"));
    auto nav = NavigationController::create(list);
    window->setRootViewController(nav);
    nav->pushViewController(page, false);
    NavigationBar* bar = nav->navigationBar();
    Label* title = bar->titleLabel();
    const QRectF back = bar->backButtonView()->frame();
    const auto textWidth = [title] { return title->sizeThatFits(QSizeF()).width(); };

    // A short title stands in the middle of the bar.
    EXPECT_NEAR(title->frame().center().x(), 160, 0.5);

    // One that does not fit there moves over to the empty side, whole.
    page->setTitle(QStringLiteral("Tips & tricks here"));
    ASSERT_LT(textWidth(), 320 - 10 - back.width() - 6);
    EXPECT_GE(title->frame().left(), back.right());
    EXPECT_GE(title->frame().width(), textWidth());
    EXPECT_LE(title->frame().right(), 320);

    // One too long even for that takes all the room there is.
    page->setTitle(QStringLiteral("The big tips & tricks thread, with more"));
    EXPECT_GE(title->frame().left(), back.right());
    EXPECT_GE(title->frame().width(), 320 - back.right() - 12);

    // A button on either side: the room between them.
    page->navigationItem()->setRightBarButtonItem(BarButtonItem::withSystemItem(BarButtonSystemItem::Add));
    const QRectF right = bar->rightButtonView()->frame();
    EXPECT_GE(title->frame().left(), back.right());
    EXPECT_LE(title->frame().right(), right.left());
    EXPECT_GE(title->frame().width(), right.left() - back.right() - 12);
}

TEST_F(BarsTest, ToolbarsShareTheirRoomAmongFlexibleSpaces)
{
    auto* toolbar = new Toolbar(QRectF(0, 20, 320, 44));
    window->addSubview(toolbar);
    auto left = BarButtonItem::withTitle(QStringLiteral("Sort"), BarButtonItemStyle::Bordered);
    auto right = BarButtonItem::withSystemItem(BarButtonSystemItem::Search);
    auto middle = BarButtonItem::withTitle(QStringLiteral("Filter"), BarButtonItemStyle::Bordered);
    toolbar->setItems({left, BarButtonItem::withSystemItem(BarButtonSystemItem::FlexibleSpace), middle,
                       BarButtonItem::withSystemItem(BarButtonSystemItem::FlexibleSpace), right});
    BarButtonView* l = toolbar->viewForItem(left.get());
    BarButtonView* m = toolbar->viewForItem(middle.get());
    BarButtonView* r = toolbar->viewForItem(right.get());
    ASSERT_NE(l, nullptr);
    ASSERT_NE(m, nullptr);
    ASSERT_NE(r, nullptr);
    EXPECT_NEAR(l->frame().left(), 6, 0.5);
    EXPECT_NEAR(r->frame().right(), 314, 1);
    EXPECT_NEAR(m->frame().center().x(), 160, 25);
    int searched = 0;
    right->setAction([&searched]() { ++searched; });
    tap(r->convertRect(r->bounds(), nullptr).center());
    EXPECT_EQ(searched, 1);
    // Taking one item out leaves the others.
    toolbar->setItems({left, right});
    EXPECT_EQ(toolbar->viewForItem(middle.get()), nullptr);
    EXPECT_EQ(toolbar->items().size(), 2);
}

TEST_F(BarsTest, DisabledTabItemsCannotBeChosen)
{
    auto* bar = new TabBar(QRectF(0, 431, 320, 49));
    window->addSubview(bar);
    auto a = std::make_shared<TabBarItem>(QStringLiteral("Reply"), QImage(), 1);
    auto b = std::make_shared<TabBarItem>(QStringLiteral("Moderate"), QImage(), 2);
    b->setEnabled(false);
    bar->setItems({a, b});
    Chooser chooser;
    bar->setDelegate(&chooser);
    tap(bar->convertRect(bar->rectForItemAtIndex(1), nullptr).center());
    EXPECT_TRUE(chooser.tags.isEmpty());
    EXPECT_EQ(bar->selectedItem(), nullptr);
    tap(bar->convertRect(bar->rectForItemAtIndex(0), nullptr).center());
    EXPECT_EQ(chooser.tags, QList<int>({1}));
    EXPECT_EQ(bar->selectedItem(), a);
    bar->setSelectedItem(nullptr);
    EXPECT_EQ(bar->selectedItem(), nullptr);
    bar->setItems({b});
    EXPECT_EQ(bar->selectedItem(), nullptr);
}
