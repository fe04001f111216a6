#include "HomeScreenTest.h"
#include "NamedView.h"
#include "ControlClicks.h"

#include "app/model/Config.h"
#include "app/config/Customizer.h"
#include "app/widgets/GradientButton.h"
#include "app/widgets/PaginableTableView.h"
#include "app/widgets/PullRefreshTableHeaderView.h"
#include "app/widgets/ShadowedTableView.h"
#include "forum/cells/HomeCell.h"
#include "forum/model/HomeState.h"
#include "forum/screens/HomeNotices.h"
#include "forum/screens/PostController.h"
#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/PickerView.h"
#include "platform/ui/ResourceImages.h"
#include "platform/ui/SegmentedControl.h"
#include "platform/ui/Toolbar.h"

#include <QWheelEvent>

// The home screen on the loopback forum: its greeting, notifications and
// notices, its sorts and content filter, and its rows.
namespace hometest {
// Screens of the libraries above, under their class names.
class ArticleDetails : public UIViewControllerCommon {
public:
    void setArticle(const ArticlePtr& a) { article = a; }
    ArticlePtr article;
};
class BlogPostExpanded : public UIViewControllerCommon {
public:
    void setModel(const BlogModelPtr& m) { model = m; }
    BlogModelPtr model;
};
class MyProfile : public UIViewControllerCommon {
public:
    void setUser(const FriendPtr& f) { user = f; }
    FriendPtr user;
};
class NotificationsController : public UIViewControllerCommon {};
}  // namespace hometest

namespace {

class HomeTest : public HomeScreenTest {
protected:
    // The logout question on screen, if any.
    static std::shared_ptr<AlertView> logoutQuestion()
    {
        const QList<std::shared_ptr<AlertView>> alerts = visibleAlerts(QStringLiteral("Do you really want to log out?"));
        return alerts.isEmpty() ? nullptr : alerts.last();
    }
    void TearDown() override
    {
        for (const char* name : {"ArticleDetails", "BlogPostExpanded", "MyProfile", "NotificationsController"}) {
            ViewControllerRegistry::unregisterClass(QString::fromLatin1(name));
            ScreenInputs::unregisterSetter(QString::fromLatin1(name));
        }
        HomeScreenTest::TearDown();
    }
    void registerNeighbourScreens()
    {
        using namespace hometest;
        ViewControllerRegistry::registerClass<ArticleDetails>(QStringLiteral("ArticleDetails"));
        ScreenInputs::registerSetter(QStringLiteral("ArticleDetails"), &ArticleDetails::setArticle);
        ViewControllerRegistry::registerClass<BlogPostExpanded>(QStringLiteral("BlogPostExpanded"));
        ScreenInputs::registerSetter(QStringLiteral("BlogPostExpanded"), &BlogPostExpanded::setModel);
        ViewControllerRegistry::registerClass<MyProfile>(QStringLiteral("MyProfile"));
        ScreenInputs::registerSetter(QStringLiteral("MyProfile"), &MyProfile::setUser);
        ViewControllerRegistry::registerClass<NotificationsController>(QStringLiteral("NotificationsController"));
    }
    static QList<ModelPtr> rows(HomeController* home) { return named<PaginableTableView>(home, "news")->rowsForSection(0); }
    static QRectF onScreen(View* view) { return view->convertRect(view->bounds(), view->rootView()); }
    // The frame in the home screen's own coordinates.
    static QRectF inHome(HomeController* home, View* view)
    {
        return view->convertRect(view->bounds(), home->view());
    }
    void waitForRows(HomeController* home)
    {
        ASSERT_TRUE(waitFor([&] { return !rows(home).isEmpty(); }));
        settleAll();
    }
    HomeCell* cellAt(HomeController* home, int row)
    {
        TableView* table = named<PaginableTableView>(home, "news")->tableView();
        table->scrollToRowAtIndexPath(IndexPath{0, row}, TableViewScrollPosition::Middle, false);
        finishMoving();
        return dynamic_cast<HomeCell*>(table->cellForRowAtIndexPath(IndexPath{0, row}));
    }
};

}  // namespace

TEST_F(HomeTest, AMembersHomeGreetsCountsNotificationsStacksNoticesAndListsTheNewestOfAll)
{
    const CurrentUserPtr alice = signIn(QStringLiteral("alice"), QStringLiteral("secret1"));
    forum().clearLog();
    const auto home = openHome();
    waitForRows(home.get());
    EXPECT_EQ(requestsOf("forum").size(), 1);
    EXPECT_EQ(requestsOf("api_getnewtop").size(), 1) << "once, though the screen loaded and appeared";
    EXPECT_EQ(requestsOf("member").size(), 1) << "the member's profile refreshed";
    EXPECT_EQ(home->getBarTitle(), QStringLiteral("Home"));
    EXPECT_NE(home->navButton(), nullptr) << "the home screen has the menu, whatever its place";

    // The member's greeting; a guest's is hidden.
    EXPECT_FALSE(named<View>(home, "memberGreeting")->isHidden());
    EXPECT_TRUE(named<View>(home, "guestGreeting")->isHidden());
    EXPECT_EQ(named<Button>(home, "welcome")->titleForState(ControlState::Normal), QStringLiteral("Welcome, alice"));
    ASSERT_NE(home->navigationItem()->leftBarButtonItem(), nullptr);
    EXPECT_EQ(home->navigationItem()->leftBarButtonItem()->title(), QStringLiteral("Log out"));
    EXPECT_EQ(home->navigationItem()->leftBarButtonItem()->style(), BarButtonItemStyle::Done);
    EXPECT_EQ(home->navigationItem()->rightBarButtonItem(), nullptr) << "composing comes later";

    // Two unread messages: the strip on top, the rest below it.
    const int count = ForumInfo::getInstance()->numberOfNotifications();
    ASSERT_EQ(count, 2);
    EXPECT_FALSE(named<View>(home, "notificationStrip")->isHidden());
    EXPECT_EQ(named<Button>(home, "notificationsText")->titleForState(ControlState::Normal), QStringLiteral("2 new notifications"));
    EXPECT_EQ(named<Toolbar>(home, "notificationsBackground")->frame(), named<View>(home, "notificationStrip")->bounds());
    EXPECT_EQ(named<View>(home, "greeting")->frame().y(), 28.0);

    // The notices for members and for all, stacked under the greeting.
    ASSERT_EQ(named<HomeNotices>(home, "notices")->controllers().size(), 2);
    EXPECT_EQ(named<HomeNotices>(home, "notices")->controllers().at(0)->notice()->_noticeid(), 2);
    EXPECT_EQ(named<HomeNotices>(home, "notices")->controllers().at(1)->notice()->_noticeid(), 3);
    EXPECT_EQ(named<HomeNotices>(home, "notices")->controllers().at(0)->noticesBg()->frame(), QRectF(0, 0, 320, 24));
    EXPECT_EQ(named<HomeNotices>(home, "notices")->controllers().at(0)->noticesBg()->tintColor(),
              Customizer::getInstance().colorForKey(kColorBackgroundNotification));
    EXPECT_EQ(named<HomeNotices>(home, "notices")->controllers().at(0)->noticesText()->titleColorForState(ControlState::Normal),
              Customizer::getInstance().colorForKey(kColorTextNotification));
    const qreal notices = 48;
    EXPECT_EQ(named<View>(home, "notices")->frame(), QRectF(0, 20 + 60, 320, notices));
    EXPECT_EQ(named<Toolbar>(home, "topBar")->frame(), QRectF(0, 20 + notices + 60, 320, 35));
    EXPECT_EQ(inHome(home.get(), named<View>(home, "selectedFilter")).y(), 20 + notices + 60);
    EXPECT_EQ(inHome(home.get(), named<View>(home, "selectedFilter")).size(), QSizeF(160, 35));
    EXPECT_EQ(named<PaginableTableView>(home, "news")->frame(), QRectF(0, 20 + notices + 95, 320, 278 - (20 + notices)));
    EXPECT_EQ(named<PaginableTableView>(home, "news")->frame().bottom(), named<Toolbar>(home, "bottomBar")->frame().y());

    // Newest first, of all content; every row 50 points high, no header.
    EXPECT_EQ(named<PaginableTableView>(home, "news")->model(), home->state().newTop());
    EXPECT_EQ(home->state().newTop()->searchType(), NewTopSearch::AllTypes);
    EXPECT_EQ(named<SegmentedControl>(home, "filter")->titleForSegmentAtIndex(0), QStringLiteral("All"));
    EXPECT_EQ(named<Label>(home, "listTitle")->text(), QStringLiteral("Newest"));
    EXPECT_EQ(named<ImageView>(home, "listIcon")->image(), ResourceImages::named(QStringLiteral("star.png")));
    EXPECT_TRUE(named<ActivityIndicatorView>(home, "loading")->isHidden());
    TableView* table = named<PaginableTableView>(home, "news")->tableView();
    EXPECT_EQ(table->rectForRowAtIndexPath(IndexPath{0, 0}).height(), 50.0);
    EXPECT_EQ(table->rectForHeaderInSection(0).height(), 0.0);

    // A thread's row: title, replies, starter and date, the thread icon.
    const auto thread = std::dynamic_pointer_cast<Thread>(rows(home.get()).first());
    ASSERT_NE(thread, nullptr);
    HomeCell* cell = cellAt(home.get(), 0);
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->title()->text(), thread->threadtitle());
    EXPECT_EQ(cell->number()->text(), QString::number(thread->replies()));
    EXPECT_TRUE(cell->short_description()->text().startsWith(QStringLiteral("By %1, ").arg(thread->user()->username())));
    EXPECT_EQ(cell->icon()->image(), ResourceImages::named(QStringLiteral("icon_thread.png")));
    EXPECT_EQ(cell->originalThumbRect(), cell->thumb()->frame());

    // It opens the thread page, given the thread; back, the list is asked again.
    tapRow(table, IndexPath{0, 0});
    auto* page = topAs<PostController>();
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->thread(), thread);
    settleAll();
    back();
    settleAll();
    EXPECT_EQ(requestsOf("api_getnewtop").size(), 2);
    EXPECT_EQ(requestsOf("forum").size(), 2);
    EXPECT_EQ(alice->userid(), forum().memberId(QStringLiteral("alice")));
}

TEST_F(HomeTest, SortsSwitchBetweenTheFeedAndTheSubscribedThreadsAndTheFilterNamesWhatItShows)
{
    signIn(QStringLiteral("alice"), QStringLiteral("secret1"));
    const auto home = openHome();
    waitForRows(home.get());
    const int feeds = int(requestsOf("api_getnewtop").size());

    // Top: the same answer in the other order, without asking again.
    clickSegment(home->sort(), HomeController::Top);
    finishMoving();
    EXPECT_EQ(requestsOf("api_getnewtop").size(), feeds);
    EXPECT_EQ(home->state().newTop()->searchOrder(), NewTopSearch::TopOrder);
    EXPECT_EQ(named<Label>(home, "listTitle")->text(), QStringLiteral("Top"));
    EXPECT_EQ(named<ImageView>(home, "listIcon")->image(), ResourceImages::named(QStringLiteral("icon_top.png")));
    const auto first = std::dynamic_pointer_cast<Thread>(rows(home.get()).first());
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->threadid(), 1101) << "the busiest thread first";

    // Subscribed: the member's threads, with no filter.
    clickSegment(home->sort(), HomeController::Subscribed);
    EXPECT_FALSE(named<ActivityIndicatorView>(home, "loading")->isHidden());
    settleAll();
    EXPECT_TRUE(named<ActivityIndicatorView>(home, "loading")->isHidden());
    EXPECT_EQ(named<PaginableTableView>(home, "news")->model(), home->state().subscribed());
    EXPECT_EQ(home->state().subscribed()->order(), SearchAll::SubscribedOrder);
    EXPECT_EQ(home->state().subscribed()->type(), 63);
    const TestForumRequest subscribed = lastRequest(QStringLiteral("subscription_viewsubscription"));
    EXPECT_EQ(subscribed.field(QStringLiteral("perpage")), QStringLiteral("20"));
    EXPECT_EQ(subscribed.field(QStringLiteral("sortfield")), QStringLiteral("lastpost"));
    EXPECT_EQ(subscribed.field(QStringLiteral("sortorder")), QStringLiteral("desc"));
    EXPECT_EQ(subscribed.field(QStringLiteral("folderid")), QStringLiteral("all"));
    QList<qint32> ids;
    for (const ModelPtr& row : rows(home.get()))
        ids.append(std::dynamic_pointer_cast<Thread>(row)->threadid());
    std::sort(ids.begin(), ids.end());
    EXPECT_EQ(ids, QList<qint32>({302, 1101}));
    EXPECT_EQ(named<Label>(home, "listTitle")->text(), QStringLiteral("Subscribed"));
    EXPECT_EQ(named<ImageView>(home, "listIcon")->image(), ResourceImages::named(QStringLiteral("icon_suscribed.png")));
    EXPECT_TRUE(named<View>(home, "filterBox")->isHidden());
    HomeCell* cell = cellAt(home.get(), 0);
    ASSERT_NE(cell, nullptr);
    EXPECT_FALSE(cell->title()->text().contains(QStringLiteral("&amp;")));

    // Back to the newest: the feed again, the filter again.
    clickSegment(home->sort(), HomeController::Newest);
    settleAll();
    EXPECT_EQ(named<PaginableTableView>(home, "news")->model(), home->state().newTop());
    EXPECT_EQ(requestsOf("api_getnewtop").size(), feeds + 1);
    EXPECT_FALSE(named<View>(home, "filterBox")->isHidden());

    // The filter: its panel rises; a row chooses the kind and names it.
    EXPECT_EQ(named<View>(home, "filterPanel")->frame().y(), 480.0);
    clickSegment(named<SegmentedControl>(home, "filter"), 0);
    EXPECT_EQ(named<View>(home, "filterPanel")->frame(), QRectF(0, 0, 320, 460));
    EXPECT_EQ(named<SegmentedControl>(home, "filter")->selectedSegmentIndex(), SegmentedControl::NoSegment);
    ASSERT_EQ(named<PickerView>(home, "filterPicker")->numberOfRowsInComponent(0), 4);
    named<PickerView>(home, "filterPicker")->pickRow(2, 0);
    EXPECT_EQ(home->state().newTop()->searchType(), NewTopSearch::BlogEntries);
    EXPECT_EQ(named<SegmentedControl>(home, "filter")->titleForSegmentAtIndex(0), QStringLiteral("Blogs"));
    EXPECT_EQ(named<View>(home, "filterPanel")->frame().y(), 460.0);
    EXPECT_EQ(requestsOf("api_getnewtop").size(), feeds + 1) << "a kind needs no request";
    ASSERT_FALSE(rows(home.get()).isEmpty());
    for (const ModelPtr& row : rows(home.get()))
        EXPECT_NE(std::dynamic_pointer_cast<BlogModel>(row), nullptr);
    // Closing the panel keeps the filter.
    clickSegment(named<SegmentedControl>(home, "filter"), 0);
    home->closeFilter();
    EXPECT_EQ(named<View>(home, "filterPanel")->frame().y(), 460.0);
    EXPECT_EQ(home->state().newTop()->searchType(), NewTopSearch::BlogEntries);
}

TEST_F(HomeTest, BlogEntriesAndArticlesReadAndOpenAsTheirKindsAndAPictureOpensTheAuthor)
{
    registerNeighbourScreens();
    signIn(QStringLiteral("alice"), QStringLiteral("secret1"));
    const auto home = openHome();
    waitForRows(home.get());
    TableView* table = named<PaginableTableView>(home, "news")->tableView();

    // Blog entries: title, comments, "Blog by", the pen; the entry opens
    // fetched afresh by its id.
    home->state().newTop()->setSearchType(NewTopSearch::BlogEntries);
    finishMoving();
    const auto entry = std::dynamic_pointer_cast<BlogModel>(rows(home.get()).first());
    ASSERT_NE(entry, nullptr);
    HomeCell* cell = cellAt(home.get(), 0);
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->title()->text(), entry->title());
    EXPECT_EQ(cell->number()->text(), QString::number(entry->comments_total()));
    EXPECT_TRUE(cell->short_description()->text().startsWith(QStringLiteral("Blog by %1, ").arg(entry->user()->username())));
    EXPECT_EQ(cell->icon()->image(), ResourceImages::named(QStringLiteral("icon_blog.png")));
    tapRow(table, IndexPath{0, 0});
    auto* blog = topAs<hometest::BlogPostExpanded>();
    ASSERT_NE(blog, nullptr);
    ASSERT_NE(blog->model, nullptr);
    EXPECT_NE(blog->model, entry);
    settleAll();
    EXPECT_EQ(lastRequest(QStringLiteral("blog_blog")).field(QStringLiteral("blogid")), entry->blogid());
    EXPECT_EQ(blog->model->title(), entry->title());
    back();
    settleAll();

    // Articles: "Article by", the page; the article itself opens.
    home->state().newTop()->setSearchType(NewTopSearch::Articles);
    finishMoving();
    const auto article = std::dynamic_pointer_cast<Article>(rows(home.get()).first());
    ASSERT_NE(article, nullptr);
    cell = cellAt(home.get(), 0);
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->title()->text(), article->clean_title());
    EXPECT_EQ(cell->number()->text(), QString::number(article->comment_count()));
    EXPECT_TRUE(cell->short_description()->text().startsWith(QStringLiteral("Article by %1, ").arg(article->user()->username())));
    EXPECT_EQ(cell->icon()->image(), ResourceImages::named(QStringLiteral("icon_article.png")));
    tapRow(table, IndexPath{0, 0});
    ASSERT_NE(topAs<hometest::ArticleDetails>(), nullptr);
    EXPECT_EQ(topAs<hometest::ArticleDetails>()->article, article);
    back();
    settleAll();

    // A thread's starter: the picture comes and opens the member's profile.
    home->state().newTop()->setSearchType(NewTopSearch::Threads);
    finishMoving();
    int withPicture = -1;
    for (int row = 0; row < rows(home.get()).size() && withPicture < 0; ++row) {
        const auto thread = std::dynamic_pointer_cast<Thread>(rows(home.get())[row]);
        if (thread && thread->user()->username() == u"kenji")
            withPicture = row;
    }
    ASSERT_GE(withPicture, 0);
    cell = cellAt(home.get(), withPicture);
    ASSERT_NE(cell, nullptr);
    ASSERT_TRUE(waitFor([&] { return !cell->thumb()->isHidden(); }));
    EXPECT_FALSE(cell->thumb()->image().isNull());
    tapView(cell->thumbButton());
    finishMoving();
    auto* profile = topAs<hometest::MyProfile>();
    ASSERT_NE(profile, nullptr);
    ASSERT_NE(profile->user, nullptr);
    EXPECT_EQ(profile->user->username(), QStringLiteral("kenji"));
    back();

    // The strip of notifications opens the notifications.
    tapView(named<Button>(home, "notificationsText"));
    finishMoving();
    EXPECT_NE(topAs<hometest::NotificationsController>(), nullptr);
}

TEST_F(HomeTest, ADismissedNoticeGoesAtOnceAndStaysGoneAfterTheNextLoad)
{
    signIn(QStringLiteral("alice"), QStringLiteral("secret1"));
    const auto home = openHome();
    waitForRows(home.get());
    ASSERT_EQ(named<HomeNotices>(home, "notices")->controllers().size(), 2);
    NoticeController* first = named<HomeNotices>(home, "notices")->controllers().first().get();
    EXPECT_EQ(first->noticesText()->titleForState(ControlState::Normal),
              QStringLiteral("The photo contest ends on Friday - post your best shot in General Discussion."));

    // The whole text in an alert.
    tapView(first->noticesText());
    ASSERT_EQ(AlertView::visibleAlerts().size(), 1);
    EXPECT_EQ(AlertView::visibleAlerts().first()->title(), QStringLiteral("Notice"));
    EXPECT_EQ(AlertView::visibleAlerts().first()->message(), first->notice()->notice_plain());
    AlertView::visibleAlerts().first()->dismissWithClickedButtonIndex(0);

    // Dismissed: gone from the screen at once, the forum told.
    const QRectF topBefore = named<Toolbar>(home, "topBar")->frame();
    tapView(first->dismissButton());
    settleAll();
    ASSERT_EQ(named<HomeNotices>(home, "notices")->controllers().size(), 1);
    EXPECT_EQ(named<HomeNotices>(home, "notices")->controllers().first()->notice()->_noticeid(), 3);
    EXPECT_EQ(named<Toolbar>(home, "topBar")->frame().y(), topBefore.y() - 24);
    EXPECT_EQ(lastRequest(QStringLiteral("ajax_dismissnotice")).field(QStringLiteral("noticeid")), QStringLiteral("2"));
    EXPECT_EQ(ForumInfo::dismissedNoticesList(), QStringList{QStringLiteral("2")});

    // The next load leaves it out (the forum no longer sends it, and the
    // device forgets what it need not hide any more).
    home->viewWillAppear(false);
    settleAll();
    ASSERT_EQ(named<HomeNotices>(home, "notices")->controllers().size(), 1);
    EXPECT_EQ(named<HomeNotices>(home, "notices")->controllers().first()->notice()->_noticeid(), 3);
    EXPECT_TRUE(ForumInfo::dismissedNoticesList().isEmpty());
}

TEST_F(HomeTest, OnlyAPressOfYesSignsOutAndAGuestLeavesTheSubscribedList)
{
    signIn(QStringLiteral("alice"), QStringLiteral("secret1"));
    const auto home = openHome();
    waitForRows(home.get());
    clickSegment(home->sort(), HomeController::Subscribed);
    settleAll();
    ASSERT_EQ(named<PaginableTableView>(home, "news")->model(), home->state().subscribed());

    // Closed without a button, or "No": still signed in.
    clickBarButton(window.get(), home->navigationItem()->leftBarButtonItem());
    ASSERT_NE(logoutQuestion(), nullptr);
    EXPECT_EQ(logoutQuestion()->title(), QStringLiteral("Log out"));
    EXPECT_EQ(logoutQuestion()->message(), QStringLiteral("Do you really want to log out?"));
    EXPECT_EQ(logoutQuestion()->buttonTitles(), QStringList({QStringLiteral("Yes"), QStringLiteral("No")}));
    logoutQuestion()->dismissWithoutButton();
    EXPECT_FALSE(CurrentUser::currentUser()->anonymous());
    clickBarButton(window.get(), home->navigationItem()->leftBarButtonItem());
    logoutQuestion()->dismissWithClickedButtonIndex(1);
    EXPECT_FALSE(CurrentUser::currentUser()->anonymous());
    EXPECT_TRUE(requestsOf("login_logout").isEmpty());

    // "Yes": a guest, back on the newest, with the feed as the list.
    clickBarButton(window.get(), home->navigationItem()->leftBarButtonItem());
    logoutQuestion()->dismissWithClickedButtonIndex(0);
    settleAll();
    EXPECT_TRUE(CurrentUser::currentUser()->anonymous());
    EXPECT_EQ(requestsOf("login_logout").size(), 1);
    EXPECT_EQ(home->sort()->selectedSegmentIndex(), HomeController::Newest);
    EXPECT_EQ(named<PaginableTableView>(home, "news")->model(), home->state().newTop());
    EXPECT_EQ(named<Label>(home, "listTitle")->text(), QStringLiteral("Newest"));
    EXPECT_FALSE(home->sort()->isEnabledForSegmentAtIndex(HomeController::Subscribed));
    EXPECT_TRUE(named<View>(home, "memberGreeting")->isHidden());
    EXPECT_FALSE(named<View>(home, "guestGreeting")->isHidden());
    EXPECT_TRUE(named<View>(home, "notificationStrip")->isHidden());
}

TEST_F(HomeTest, ASignOutEmptiesTheMembersListAtOnceAndReadsTheGuestsOwn)
{
    signIn(QStringLiteral("alice"), QStringLiteral("secret1"));
    const auto home = openHome();
    waitForRows(home.get());
    ASSERT_EQ(named<PaginableTableView>(home, "news")->model(), home->state().newTop());
    ASSERT_FALSE(named<PaginableTableView>(home, "news")->rowsForSection(0).isEmpty());
    const qsizetype feeds = requestsOf("api_getnewtop").size();

    // Signed out, the member's newest list goes at once, before the guest's comes.
    forum().holdAtGate(QStringLiteral("api_getnewtop"), QStringLiteral("guest"));
    clickBarButton(window.get(), home->navigationItem()->leftBarButtonItem());
    logoutQuestion()->dismissWithClickedButtonIndex(0);
    ASSERT_TRUE(waitFor([&] { return CurrentUser::currentUser()->anonymous(); }));
    finishMoving();
    EXPECT_EQ(named<PaginableTableView>(home, "news")->tableView()->numberOfSections(), 0) << "nothing of the member's list stays";
    ASSERT_TRUE(waitFor([&] { return forum().arrivedAtGate(QStringLiteral("guest")) == 1; })) << "the guest's list is asked for";

    // The guest's own list, read as a guest.
    forum().openGate(QStringLiteral("guest"));
    waitForRows(home.get());
    EXPECT_FALSE(named<PaginableTableView>(home, "news")->rowsForSection(0).isEmpty());
    EXPECT_EQ(named<PaginableTableView>(home, "news")->model(), home->state().newTop());
    EXPECT_EQ(requestsOf("api_getnewtop").size(), feeds + 1);
}

TEST_F(HomeTest, AGuestIsWelcomedToTheForumAndLogsInBelow)
{
    openGuestSession();
    const auto home = openHome();
    waitForRows(home.get());
    EXPECT_TRUE(named<View>(home, "memberGreeting")->isHidden());
    EXPECT_FALSE(named<View>(home, "guestGreeting")->isHidden());
    EXPECT_EQ(named<View>(home, "greeting")->frame().y(), 5.0);
    EXPECT_EQ(named<Label>(home, "guestWelcome")->text(), QStringLiteral("Welcome to %1").arg(Customizer::getInstance().appLabel()));
    EXPECT_EQ(named<Button>(home, "notLoggedIn")->titleForState(ControlState::Normal), QStringLiteral("You are not logged in."));
    EXPECT_TRUE(named<View>(home, "notificationStrip")->isHidden());
    EXPECT_TRUE(named<GradientButton>(home, "signUp")->isHidden()) << "signing up comes with its own screen";
    EXPECT_EQ(named<SegmentedControl>(home, "search"), nullptr) << "searching comes with its own screen";
    EXPECT_FALSE(home->sort()->isEnabledForSegmentAtIndex(HomeController::Subscribed));
    // The guests' notice and the one for all.
    ASSERT_EQ(named<HomeNotices>(home, "notices")->controllers().size(), 2);
    EXPECT_EQ(named<HomeNotices>(home, "notices")->controllers().first()->notice()->_noticeid(), 1);
    EXPECT_EQ(named<View>(home, "notices")->frame().y(), 60.0);
    EXPECT_EQ(named<PaginableTableView>(home, "news")->frame(), QRectF(0, 48 + 95, 320, 278 - 48));

    // "Log in" goes back to the screen below (the login screen).
    ASSERT_NE(home->navigationItem()->leftBarButtonItem(), nullptr);
    EXPECT_EQ(home->navigationItem()->leftBarButtonItem()->title(), QStringLiteral("Log in"));
    clickBarButton(window.get(), home->navigationItem()->leftBarButtonItem());
    finishMoving();
    EXPECT_EQ(navigation()->viewControllers().size(), 1);
    EXPECT_EQ(topAs<HomeController>(), nullptr);
}

TEST_F(HomeTest, ThePickersRowsFollowTheForumsFeaturesAndTheFilterNamesTheOneInForce)
{
    openGuestSession();
    using Rows = QList<QPair<QString, qint32>>;
    auto rowsNow = [this] {
        Rows found;
        for (const HomeState::FilterRow& row : HomeState::filterRowsOfForum(context().config()))
            found.append({row.titleKey, row.searchType});
        return found;
    };
    Config& config = Config::getInstance();
    config.setFeaturesInt(Config::BlogEnabled | Config::CmsEnabled | Config::MultiTypeSearch);
    EXPECT_EQ(rowsNow(), Rows({{QStringLiteral("nav_forums"), 1}, {QStringLiteral("nav_articles"), 3},
                               {QStringLiteral("nav_blogs"), 2}, {QStringLiteral("home_all"), 0}}));
    config.setFeaturesInt(Config::BlogEnabled);
    EXPECT_EQ(rowsNow(), Rows({{QStringLiteral("nav_forums"), 1}, {QStringLiteral("nav_blogs"), 2},
                               {QStringLiteral("home_all"), 0}}));
    config.setFeaturesInt(Config::MultiTypeSearch);
    EXPECT_EQ(rowsNow(), Rows({{QStringLiteral("nav_forums"), 1}, {QStringLiteral("home_all"), 0}}));

    // Blogs without a search across kinds: the list starts with the forums'
    // threads, and the filter says so.
    config.setFeaturesInt(Config::BlogEnabled);
    auto home = openHome();
    waitForRows(home.get());
    EXPECT_EQ(home->state().newTop()->searchType(), NewTopSearch::Threads);
    EXPECT_EQ(named<SegmentedControl>(home, "filter")->titleForSegmentAtIndex(0), QStringLiteral("Forums"));
    EXPECT_EQ(named<PickerView>(home, "filterPicker")->selectedRowInComponent(0), 0);
    ASSERT_FALSE(named<Toolbar>(home, "topBar")->items().isEmpty());

    // None of them: nothing to choose, the filter is off the bar.
    config.setFeaturesInt(Config::SearchesEnabled);
    home = openHome();
    EXPECT_TRUE(named<Toolbar>(home, "topBar")->items().isEmpty());
}

TEST_F(HomeTest, TheWheelTurnsTheFilterPickerWithoutClosingItAndAClickChooses)
{
    openGuestSession();
    const auto home = openHome();
    waitForRows(home.get());
    PickerView* picker = named<PickerView>(home, "filterPicker");
    ASSERT_EQ(picker->numberOfRowsInComponent(0), 4);
    ASSERT_EQ(picker->selectedRowInComponent(0), 3);
    ASSERT_EQ(home->state().newTop()->searchType(), NewTopSearch::AllTypes);
    clickSegment(named<SegmentedControl>(home, "filter"), 0);
    finishMoving();
    ASSERT_EQ(named<View>(home, "filterPanel")->frame().y(), 0.0);

    // One notch up over the picker, as the mouse sends it to what is under it.
    const QPointF band = picker->convertPoint(picker->bounds().center(), nullptr);
    QWidget* under = window->childAt(band.toPoint());
    ASSERT_EQ(under, picker);
    UserInput::wheel(window.get(), band, QPoint(0, 120));
    EXPECT_EQ(picker->selectedRowInComponent(0), 2);
    EXPECT_EQ(named<View>(home, "filterPanel")->frame().y(), 0.0) << "the panel stays open under the wheel";
    EXPECT_EQ(home->state().newTop()->searchType(), NewTopSearch::AllTypes);

    // The wheel rests: the row shows, the panel stays for more turns.
    clock()->advance(PickerView::kWheelRestMs);
    EXPECT_EQ(home->state().newTop()->searchType(), NewTopSearch::BlogEntries);
    EXPECT_EQ(named<SegmentedControl>(home, "filter")->titleForSegmentAtIndex(0), QStringLiteral("Blogs"));
    EXPECT_EQ(named<View>(home, "filterPanel")->frame().y(), 0.0);

    // A click on the row in the band chooses it and closes the panel.
    tap(band);
    finishMoving();
    EXPECT_EQ(named<View>(home, "filterPanel")->frame().y(), 460.0);
    EXPECT_EQ(home->state().newTop()->searchType(), NewTopSearch::BlogEntries);
}

TEST_F(HomeTest, AMouseDragOf65PointsPullsTheListToRefresh)
{
    openGuestSession();
    const auto home = openHome();
    waitForRows(home.get());
    const int feeds = int(requestsOf("api_getnewtop").size());
    ShadowedTableView* table = named<PaginableTableView>(home, "news")->tableView();
    const QPointF from = table->convertPoint(QPointF(160, 40), nullptr);

    // The mouse, pressed on a row and moved down: the content stays under
    // the pointer, and 65 points are the band's threshold.
    const auto drag = [&](qreal distance) {
        UserInput::press(window.get(), from);
        for (int step = 1; step <= 10; ++step) {
            clock()->advance(16);
            UserInput::move(window.get(), from + QPointF(0, distance * step / 10));
        }
        EXPECT_EQ(table->contentOffset().y(), -distance);
        clock()->advance(200);
        UserInput::release(window.get(), from + QPointF(0, distance));
    };
    drag(60);
    settleAll();
    EXPECT_EQ(requestsOf("api_getnewtop").size(), feeds) << "60 points are short of the band";
    EXPECT_EQ(named<PaginableTableView>(home, "news")->refreshHeaderView()->state(), PullRefreshTableHeaderView::Normal);
    drag(65);
    EXPECT_EQ(named<PaginableTableView>(home, "news")->refreshHeaderView()->state(), PullRefreshTableHeaderView::Loading);
    settleAll();
    EXPECT_EQ(requestsOf("api_getnewtop").size(), feeds + 1);
}
