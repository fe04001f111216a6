#include "platform/ui/UiTestSupport.h"

#include "app/config/Customizer.h"
#include "app/model/PageNav.h"
#include "app/widgets/GradientButton.h"
#include "app/widgets/LoadMoreButtonCell.h"
#include "app/widgets/PageNavView.h"
#include "app/widgets/PageSelector.h"
#include "app/widgets/PaginationCell.h"
#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/ScrollView.h"

namespace {

// A list of texts written "a,b,c".
QStringList texts(const char* commaSeparated)
{
    return QString::fromUtf8(commaSeparated).split(QLatin1Char(','));
}

PageNavPtr block(const QString& pagenumber, const QString& totalpages, const QStringList& pages)
{
    ValueList items;
    for (const QString& page : pages)
        items.push_back(Value(ValueDict{{QStringLiteral("curpage"), Value(page)}}));
    ValueDict dict{{QStringLiteral("pagenumber"), Value(pagenumber)}};
    if (!totalpages.isNull())
        dict.insert(QStringLiteral("totalpages"), Value(totalpages));
    if (!pages.isEmpty())
        dict.insert(QStringLiteral("pagenav"), Value(items));
    return Model::createWithDictionary<PageNav>(Value(dict));
}

class Chooser : public PageNavViewDelegate {
public:
    void pageNavViewDidSelectPage(PageNavView*, unsigned page) override { chosen.append(page); }
    QList<unsigned> chosen;
};

class Reader : public PageSelectorObserver {
public:
    explicit Reader(PageSelector* selector) : selector(selector) {}
    void currentPageHasChanged() override { seen.append(selector->currPage()); }
    PageSelector* selector;
    QList<int> seen;
};

class PagingControlsTest : public UiTest {
protected:
    PageNavView* strip()
    {
        auto* view = new PageNavView(QRectF(0, 64, 320, 30));
        view->setDelegate(&chooser);
        window->addSubview(view);
        return view;
    }
    static QStringList numbers(PageNavView* view)
    {
        QStringList shown;
        for (int row = 0; row < view->numberOfRows(); ++row)
            shown.append(view->cellForRow(row)->number()->text());
        return shown;
    }
    void tapRow(PageNavView* view, int row)
    {
        const QPointF inStrip = view->table()->convertPoint(
            QPointF(row * PageNavView::kRowWidth + 25, 15), nullptr);
        tap(inStrip);
    }

    Chooser chooser;
};

}  // namespace

TEST_F(PagingControlsTest, TheStripOffersTheFirstAndLastPageAndMarksThePageOnScreen)
{
    PageNavView* view = strip();
    EXPECT_FALSE(view->background()->image().isNull());
    EXPECT_TRUE(view->leftArrow()->isHidden());
    EXPECT_TRUE(view->rightArrow()->isHidden());

    // Pages 3, 4 and 5 of 9, page 4 on screen.
    const PageNavPtr nav = block(QStringLiteral("4"), QStringLiteral("9"),
                                 {QStringLiteral("3"), QStringLiteral("4"), QStringLiteral("5")});
    view->setCurrentPage(4);
    view->setPageNav(nav);
    EXPECT_EQ(numbers(view), texts("1,3,4,5,9"));
    EXPECT_EQ(nav->pagenav().size(), 3) << "the model's block keeps its own list";
    EXPECT_EQ(view->selectedRow(), 2);
    EXPECT_EQ(view->selectedPage(), 4u) << "a strip with no chosen page learns it from the block";
    EXPECT_TRUE(chooser.chosen.isEmpty()) << "without telling the delegate";
    const QColor title = Customizer::getInstance().colorForKey(kColorTextTitle);
    EXPECT_EQ(view->cellForRow(2)->number()->textColor(), title);
    EXPECT_EQ(view->cellForRow(1)->number()->textColor(), QColor(Qt::black));
    EXPECT_EQ(view->cellForRow(0)->reuseIdentifier(), QStringLiteral("pagination_cell"));
    EXPECT_EQ(view->cellForRow(0)->number()->frame().size(), QSizeF(30, 30));
    EXPECT_EQ(view->cellForRow(0)->number()->textAlignment(), TextAlignment::Center);
    EXPECT_EQ(view->cellForRow(3)->frame(), QRectF(150, 0, 50, 30));
    EXPECT_EQ(view->table()->contentSize().width(), 250);
    EXPECT_TRUE(view->leftArrow()->isHidden() && view->rightArrow()->isHidden()) << "five pages fit";

    // Tapping a page chooses it, also the one already shown.
    tapRow(view, 3);
    EXPECT_EQ(chooser.chosen, QList<unsigned>({5}));
    EXPECT_EQ(view->currentPage(), 5u);
    EXPECT_EQ(view->cellForRow(3)->number()->textColor(), title);
    EXPECT_EQ(view->cellForRow(2)->number()->textColor(), QColor(Qt::black));
    tapRow(view, 3);
    EXPECT_EQ(chooser.chosen, QList<unsigned>({5, 5}));

    // A page number the list does not hold marks the last entry.
    view->setPageNav(block(QStringLiteral("7"), QStringLiteral("9"), {QStringLiteral("2"), QStringLiteral("3")}));
    EXPECT_EQ(numbers(view), texts("1,2,3,9"));
    EXPECT_EQ(view->selectedRow(), 3);

    // One page of one: one number, no arrows.
    view->setPageNav(block(QStringLiteral("1"), QStringLiteral("1"), {QStringLiteral("1")}));
    EXPECT_EQ(numbers(view), texts("1"));
    EXPECT_TRUE(view->leftArrow()->isHidden() && view->rightArrow()->isHidden());
}

TEST_F(PagingControlsTest, ArrowsShowWhereMorePagesLie)
{
    PageNavView* view = strip();
    QStringList pages;
    for (int page = 1; page <= 12; ++page)
        pages.append(QString::number(page));
    view->setPageNav(block(QStringLiteral("1"), QStringLiteral("12"), pages));
    Animator::shared().finishAll();
    EXPECT_EQ(view->table()->contentOffset().x(), 0);
    EXPECT_TRUE(view->leftArrow()->isHidden());
    EXPECT_FALSE(view->rightArrow()->isHidden());
    EXPECT_EQ(view->rightArrow()->center().x(), 320 - view->rightArrow()->frame().width() / 2);
    EXPECT_EQ(view->leftArrow()->center(), QPointF(view->leftArrow()->frame().width() / 2, 15));

    // Page 6 in the middle of the strip: both arrows.
    view->setPageNav(block(QStringLiteral("6"), QStringLiteral("12"), pages));
    Animator::shared().finishAll();
    EXPECT_EQ(view->table()->contentOffset().x(), 5 * 50 + 25 - 160);
    EXPECT_FALSE(view->leftArrow()->isHidden());
    EXPECT_FALSE(view->rightArrow()->isHidden());

    // The last page: as far as the strip goes.
    view->setPageNav(block(QStringLiteral("12"), QStringLiteral("12"), pages));
    Animator::shared().finishAll();
    EXPECT_EQ(view->table()->contentOffset().x(), 600 - 320);
    EXPECT_FALSE(view->leftArrow()->isHidden());
    EXPECT_TRUE(view->rightArrow()->isHidden());
}

TEST_F(PagingControlsTest, ABlockWithoutAPageListStillOffersTheFirstAndLastPage)
{
    PageNavView* view = strip();
    view->setPageNav(block(QStringLiteral("2"), QStringLiteral("3"), {}));
    EXPECT_EQ(numbers(view), texts("1,3"));
    EXPECT_EQ(view->selectedRow(), 1) << "no entry is page 2: the last one is marked";

    view->setPageNav(block(QStringLiteral("1"), QString(), {}));
    EXPECT_EQ(numbers(view), texts("1")) << "no last page without a page count";
    view->setPageNav(block(QStringLiteral("1"), QStringLiteral("0"), {}));
    EXPECT_EQ(numbers(view), texts("1"));

    // An entry without a page number is blank, and a tap on it does nothing.
    ValueDict dict{{QStringLiteral("pagenumber"), Value(QStringLiteral("1"))},
                   {QStringLiteral("totalpages"), Value(QStringLiteral("4"))},
                   {QStringLiteral("pagenav"),
                    Value(ValueList{Value(ValueDict{{QStringLiteral("curpage"), Value(QStringLiteral("1"))}}),
                                    Value(ValueDict{{QStringLiteral("pagenumbers"), Value(ValueDict())}})})}};
    view->setPageNav(Model::createWithDictionary<PageNav>(Value(dict)));
    EXPECT_EQ(numbers(view), texts("1,,4"));
    tapRow(view, 1);
    EXPECT_TRUE(chooser.chosen.isEmpty());
    tapRow(view, 2);
    EXPECT_EQ(chooser.chosen, QList<unsigned>({4}));

    // No block at all: nothing to offer.
    view->setPageNav(nullptr);
    EXPECT_EQ(view->numberOfRows(), 0);
    EXPECT_EQ(view->selectedRow(), -1);
}

TEST_F(PagingControlsTest, TheStripIsOneTabStopWhoseMarkTheArrowsMoveOverItsNumbers)
{
    // On a screen of its own, as Tab goes round a screen's stops.
    auto* screen = new View(QRectF(0, 0, 320, 480));
    window->addSubview(screen);
    PageNavView* view = strip();
    screen->addSubview(view);
    QStringList pages;
    for (int page = 1; page <= 12; ++page)
        pages.append(QString::number(page));
    view->setCurrentPage(12);
    view->setPageNav(block(QStringLiteral("12"), QStringLiteral("12"), pages));
    Animator::shared().finishAll();
    ASSERT_EQ(view->table()->contentOffset().x(), 600 - 320);
    const auto marked = [&] {
        QStringList shown;
        for (int row = 0; row < view->numberOfRows(); ++row) {
            if (view->cellForRow(row)->isKeyboardMarked())
                shown.append(view->cellForRow(row)->number()->text());
        }
        return shown.join(u',');
    };
    EXPECT_EQ(marked(), QString()) << "no mark before the keyboard comes";

    // Tab: the mark on the page on screen. Left walks it to the first
    // number, the strip scrolling along, and stops there.
    UserInput::key(Qt::Key_Tab, Qt::NoModifier, QString(), window.get());
    ASSERT_TRUE(view->hasFocus());
    EXPECT_TRUE(view->showsFocusMark());
    EXPECT_EQ(marked(), QStringLiteral("12"));
    for (int press = 0; press < 12; ++press)
        UserInput::key(Qt::Key_Left, Qt::NoModifier, QString(), window.get());
    EXPECT_EQ(view->keyboardPage(), 1u);
    EXPECT_EQ(marked(), QStringLiteral("1"));
    EXPECT_EQ(view->table()->contentOffset().x(), 0) << "the marked number is in sight";
    EXPECT_TRUE(chooser.chosen.isEmpty()) << "moving the mark chooses nothing";
    UserInput::key(Qt::Key_Right, Qt::NoModifier, QString(), window.get());
    UserInput::key(Qt::Key_Return, Qt::NoModifier, QString(), window.get());
    EXPECT_EQ(chooser.chosen, QList<unsigned>({2}));

    // A blank entry is passed over; Space chooses too.
    ValueDict dict{{QStringLiteral("pagenumber"), Value(QStringLiteral("1"))},
                   {QStringLiteral("totalpages"), Value(QStringLiteral("4"))},
                   {QStringLiteral("pagenav"),
                    Value(ValueList{Value(ValueDict{{QStringLiteral("curpage"), Value(QStringLiteral("1"))}}),
                                    Value(ValueDict{{QStringLiteral("pagenumbers"), Value(ValueDict())}})})}};
    view->setCurrentPage(1);
    view->setPageNav(Model::createWithDictionary<PageNav>(Value(dict)));
    ASSERT_EQ(numbers(view), texts("1,,4"));
    UserInput::key(Qt::Key_Right, Qt::NoModifier, QString(), window.get());
    EXPECT_EQ(view->keyboardPage(), 4u);
    EXPECT_EQ(marked(), QStringLiteral("4"));
    UserInput::key(Qt::Key_Space, Qt::NoModifier, QString(), window.get());
    EXPECT_EQ(chooser.chosen, QList<unsigned>({2, 4}));

    // The focus gone, so is the mark.
    view->clearFocus();
    EXPECT_EQ(marked(), QString());
}

TEST_F(PagingControlsTest, ThePageSelectorShowsOnlyTheButtonsThatLeadSomewhere)
{
    PageSelector alone(1, 1);
    alone.view();
    EXPECT_EQ(alone.page()->text(), QStringLiteral("1")) << "the label names its page from the start";
    EXPECT_TRUE(alone.prev()->isHidden());
    EXPECT_TRUE(alone.next()->isHidden());
    EXPECT_FALSE(alone.next()->isEnabled());

    auto selector = std::make_shared<PageSelector>(3, 2);
    window->addSubview(selector->view());
    EXPECT_EQ(selector->page()->text(), QStringLiteral("2"));
    EXPECT_FALSE(selector->prev()->isHidden());
    EXPECT_FALSE(selector->next()->isHidden());
    Reader first(selector.get());
    auto second = std::make_unique<Reader>(selector.get());
    selector->addObserver(&first);
    selector->addObserver(second.get());

    tap(selector->next()->convertPoint(QPointF(20, 15), nullptr));
    EXPECT_EQ(selector->currPage(), 3);
    EXPECT_EQ(selector->page()->text(), QStringLiteral("3"));
    EXPECT_TRUE(selector->next()->isHidden()) << "the last page";
    EXPECT_EQ(first.seen, QList<int>({3}));
    EXPECT_EQ(second->seen, QList<int>({3}));
    selector->nextPage();
    EXPECT_EQ(selector->currPage(), 3) << "there is no page after the last";

    second.reset();  // an observer that went is not told
    selector->prevPage();
    selector->prevPage();
    EXPECT_EQ(selector->currPage(), 1);
    EXPECT_TRUE(selector->prev()->isHidden()) << "stepping from 2 to 1 hides the previous button";
    EXPECT_FALSE(selector->next()->isHidden());
    EXPECT_EQ(first.seen, QList<int>({3, 2, 1}));
    selector->disable();
    EXPECT_TRUE(selector->prev()->isHidden() && selector->next()->isHidden());
    selector->enable();
    EXPECT_FALSE(selector->next()->isHidden());
    EXPECT_TRUE(selector->prev()->isHidden());
}

TEST_F(PagingControlsTest, TheLoadMoreCellTurnsIntoALoadingSignAndCallsBack)
{
    struct Target : public Trackable {
        void more() { ++calls; }
        int calls = 0;
    };
    auto* cell = new LoadMoreButtonCell();
    cell->setFrame(QRectF(0, 100, 320, LoadMoreButtonCell::kHeight));
    window->addSubview(cell);
    EXPECT_FALSE(cell->loadMoreButton()->isHidden());
    EXPECT_EQ(cell->loadMoreButton()->titleForState(ControlState::Normal), QStringLiteral("Load more"));
    EXPECT_FALSE(cell->loadMoreButton()->normalGradientColors().isEmpty()) << "the preset style";
    EXPECT_TRUE(cell->loadingLabel()->isHidden());
    EXPECT_FALSE(cell->activityIndicator()->isAnimating());

    auto target = std::make_unique<Target>();
    cell->onLoadMoreCallSelector(target.get(), &Target::more);
    EXPECT_EQ(cell->callbackObject(), target.get());
    tap(cell->loadMoreButton()->convertPoint(QPointF(150, 15), nullptr));
    EXPECT_EQ(target->calls, 1);
    EXPECT_TRUE(cell->loadMoreButton()->isHidden());
    EXPECT_FALSE(cell->loadingLabel()->isHidden());
    EXPECT_EQ(cell->loadingLabel()->text(), QStringLiteral("Loading..."));
    EXPECT_TRUE(cell->activityIndicator()->isAnimating());
    EXPECT_FALSE(cell->loadingLabel()->frame().intersects(cell->activityIndicator()->frame()));

    cell->showLoading(false);
    EXPECT_FALSE(cell->loadMoreButton()->isHidden());
    EXPECT_TRUE(cell->loadingLabel()->isHidden());
    EXPECT_FALSE(cell->activityIndicator()->isAnimating());

    // A callback object that has gone is not called.
    target.reset();
    EXPECT_EQ(cell->callbackObject(), nullptr);
    cell->loadMore();
    EXPECT_TRUE(cell->activityIndicator()->isAnimating());
}
