#include "AppScenario.h"
#include "NamedView.h"
#include "forum/screens/EditorButtonStrip.h"
#include "forum/screens/EditorFormatBar.h"
#include "forum/screens/EditorFormatting.h"
#include "ControlClicks.h"

#include "app/screens/AppDelegate.h"
#include "app/screens/GlobalNavigationViewController.h"
#include "app/screens/LoginController.h"
#include "app/widgets/GradientButton.h"
#include "app/widgets/PageNavView.h"
#include "app/widgets/PageSelector.h"
#include "app/widgets/PaginableTableView.h"
#include "app/widgets/PullRefreshTableHeaderView.h"
#include "app/widgets/SegmentControlHidding.h"
#include "app/widgets/ShadowedTableView.h"
#include "app/widgets/TabBarHidding.h"
#include "forum/cells/QuickReplyCell.h"
#include "forum/cells/SearchPostCell.h"
#include "forum/cells/SelectPostCell.h"
#include "forum/cells/SelectThreadCell.h"
#include "forum/cells/SubforumsHeader.h"
#include "forum/model/QuickReply.h"
#include "forum/model/ForumInfo.h"
#include "forum/model/Notice.h"
#include "forum/screens/CreateContent.h"
#include "forum/screens/EditorButtonStrip.h"
#include "forum/screens/EditorPublishArea.h"
#include "forum/screens/ForumController.h"
#include "forum/screens/HomeController.h"
#include "forum/screens/PostController.h"
#include "forum/screens/PostDetailsController.h"
#include "forum/screens/PostModerateController.h"
#include "forum/screens/Reply.h"
#include "forum/screens/SearchController.h"
#include "forum/screens/SearchPostController.h"
#include "forum/screens/SelectForumController.h"
#include "forum/screens/ThreadController.h"
#include "forum/screens/ThreadModerateController.h"
#include "neighbours/blogs/Article.h"
#include "neighbours/blogs/BlogModel.h"
#include "neighbours/screens/ArticleDetails.h"
#include "neighbours/screens/BlogPostExpanded.h"
#include "neighbours/screens/NotificationsController.h"
#include "platform/ui/ActionSheet.h"
#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/AlertPresenter.h"
#include "platform/ui/Button.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/Screenshot.h"
#include "platform/ui/SearchBar.h"
#include "platform/ui/SegmentedControl.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TextView.h"
#include "platform/ui/Toolbar.h"
#include "platform/ui/Window.h"
#include "wiring/AppWiring.h"

#include "platform/foundation/Bundle.h"
#include "platform/foundation/ManualClock.h"

#include <QApplication>
#include <QJsonArray>
#include <QJsonObject>

// The real application, as main puts it together, on the loopback forum:
// a member signs in and reads the forum from the home screen through the
// menu, the index, a forum's pages and a thread; a guest meets what guests
// may not do. The pictures it takes are the README's.
using AppScenarioTest = AppScenario;

TEST_F(AppScenarioTest, AMemberSignsInAndReadsTheForumFromHomeToAThread)
{
    // Home, above the login screen.
    HomeController* homeScreen = signInAs(QStringLiteral("alice"), QStringLiteral("secret1"));
    ASSERT_NE(homeScreen, nullptr);
    ASSERT_EQ(screens().size(), 2);
    EXPECT_EQ(named<Button>(homeScreen, "welcome")->titleForState(ControlState::Normal), QStringLiteral("Welcome, alice"));
    EXPECT_FALSE(named<View>(homeScreen, "notificationStrip")->isHidden());
    picture(QStringLiteral("app-home.png"));

    // The notifications, and an article and a blog entry from the feed, on
    // the screens of the libraries above.
    tap(named<Button>(homeScreen, "notificationsText"));
    ASSERT_NE(topScreenAs<NotificationsController>(), nullptr);
    back();
    // The feed narrowed to one kind, and its newest entry opened from its row.
    const auto openNewest = [&](qint32 kind) {
        homeScreen->state().newTop()->setSearchType(kind);
        finishAnimations();
        PaginableTableView* news = named<PaginableTableView>(homeScreen, "news");
        const ModelPtr newest = news->rowsForSection(0).first();
        tapRow(news->tableView(), IndexPath{0, 0});
        return newest;
    };
    const auto article = std::dynamic_pointer_cast<Article>(openNewest(NewTopSearch::Articles));
    ASSERT_NE(article, nullptr);
    auto* articleScreen = topScreenAs<ArticleDetails>();
    ASSERT_NE(articleScreen, nullptr);
    settleAndFinish();
    EXPECT_EQ(articleScreen->article(), article);
    // The newest article has two pages, read one after the other.
    EXPECT_TRUE(articleScreen->webView()->shownText().startsWith(QStringLiteral("Before you shoot")));
    ASSERT_NE(articleScreen->pageSelector(), nullptr);
    EXPECT_EQ(articleScreen->pageSelector()->totalPages(), 2);
    picture(QStringLiteral("app-article-pages.png"));
    tap(articleScreen->pageSelector()->next());
    EXPECT_TRUE(articleScreen->webView()->shownText().startsWith(QStringLiteral("After the shot")));
    EXPECT_TRUE(articleScreen->pageSelector()->next()->isHidden());
    picture(QStringLiteral("app-article-page-2.png"));
    back();
    const auto entry = std::dynamic_pointer_cast<BlogModel>(openNewest(NewTopSearch::BlogEntries));
    ASSERT_NE(entry, nullptr);
    auto* blogScreen = topScreenAs<BlogPostExpanded>();
    ASSERT_NE(blogScreen, nullptr);
    ASSERT_TRUE(waitUntil([&] { return !blogScreen->webView()->shownText().isEmpty(); }));
    EXPECT_EQ(forum().requests(QStringLiteral("blog_blog")).last().field(QStringLiteral("blogid")), entry->blogid());
    back();
    homeScreen->state().newTop()->setSearchType(NewTopSearch::AllTypes);

    // The menu: the forum index as the new root, asked for as it appears.
    const int lists = int(asked("api_forumlist").size());
    openSection(&GlobalNavigationViewController::forumsButton);
    auto* index = topScreenAs<ForumController>();
    ASSERT_NE(index, nullptr);
    ASSERT_EQ(screens().size(), 1);
    EXPECT_EQ(asked("api_forumlist").size(), lists + 1);
    ASSERT_EQ(index->forumTable()->numberOfSections(), 4);
    picture(QStringLiteral("app-forum-index.png"));

    // General Discussion: its threads, its subforum behind the header.
    tapRow(index->forumTable(), IndexPath{0, 1});
    auto* threads = topScreenAs<ThreadController>();
    ASSERT_NE(threads, nullptr);
    settleAndFinish();
    EXPECT_EQ(threads->forum()->forumid(), 3);
    EXPECT_EQ(threads->threadTable()->rowsForSection(0).size(),
              20 + threads->forum()->announcements().size() + threads->forum()->stickies().size());
    picture(QStringLiteral("app-thread-list.png"));
    tap(threads->header()->collapseExpandBtn());
    tapRow(threads->threadTable()->tableView(), IndexPath{0, 0});
    auto* offTopic = topScreenAs<ThreadController>();
    ASSERT_NE(offTopic, nullptr);
    ASSERT_NE(offTopic, threads);
    settleAndFinish();
    EXPECT_EQ(offTopic->forum()->title_clean(), QStringLiteral("Off-topic"));
    back();

    // The next page by scrolling to the end, then pull to refresh.
    ShadowedTableView* table = threads->threadTable()->tableView();
    table->setContentOffset(table->maximumContentOffset());
    ASSERT_TRUE(waitUntil([&] { return table->numberOfSections() == 2; }));
    settleAndFinish();
    EXPECT_EQ(forum().requests(QStringLiteral("forumdisplay")).last().field(QStringLiteral("pagenumber")),
              QStringLiteral("2"));
    table->setContentOffset(QPointF(0, 0));
    const int before = int(asked("forumdisplay").size());
    table->beginDragging(QPointF(160, 100));
    table->dragTo(QPointF(160, 260));
    table->endDragging();
    settleAndFinish();
    EXPECT_EQ(asked("forumdisplay").size(), before + 1);
    clock()->advance(3000);
    finishAnimations();
    EXPECT_EQ(threads->threadTable()->refreshHeaderView()->state(), PullRefreshTableHeaderView::Normal);

    // A thread, page 1.
    tapRow(table, firstThreadRow(threads));
    auto* page = topScreenAs<PostController>();
    ASSERT_NE(page, nullptr);
    ASSERT_TRUE(waitUntil([&] { return !page->thread()->pages().isEmpty(); }));
    settleAndFinish();
    picture(QStringLiteral("app-thread-page.png"));
    back();
    back();

    // The password-protected forum, once its password is given.
    tapRow(index->forumTable(), IndexPath{2, 0});
    auto* lounge = topScreenAs<ThreadController>();
    ASSERT_NE(lounge, nullptr);
    ASSERT_TRUE(waitUntil([] { return !alertsOnScreen().isEmpty(); }));
    const std::shared_ptr<AlertView> prompt = alertsOnScreen().last();
    ASSERT_TRUE(prompt->hasTextField());
    type(AlertPresenter::textFieldFor(prompt.get()), QStringLiteral("letmein"));
    tapAlertButton(1);
    ASSERT_TRUE(waitUntil([&] { return !lounge->threadTable()->rowsForSection(0).isEmpty(); }));
    EXPECT_TRUE(alertsOnScreen().isEmpty());

    // Home again from the menu, above a login screen.
    back();
    openSection(&GlobalNavigationViewController::homeButton);
    ASSERT_NE(home(), nullptr);
    ASSERT_EQ(screens().size(), 2);
    EXPECT_NE(dynamic_cast<LoginController*>(screens().first().get()), nullptr);
}

TEST_F(AppScenarioTest, AGuestReadsButMaySubscribeToNothingAndIsToldWhatNeedsAMember)
{
    HomeController* homeScreen = enterAsGuest();
    ASSERT_NE(homeScreen, nullptr);
    EXPECT_FALSE(named<View>(homeScreen, "guestGreeting")->isHidden());
    EXPECT_EQ(homeScreen->navigationItem()->leftBarButtonItem()->title(), QStringLiteral("Log in"));
    EXPECT_FALSE(homeScreen->sort()->isEnabledForSegmentAtIndex(HomeController::Subscribed));
    clickSegment(homeScreen->sort(), HomeController::Subscribed);
    EXPECT_NE(named<PaginableTableView>(homeScreen, "news")->model(), homeScreen->state().subscribed()) << "a disabled sort does nothing";
    picture(QStringLiteral("app-home-guest.png"));

    // The index and a forum: reading and searching only.
    openSection(&GlobalNavigationViewController::forumsButton);
    auto* index = topScreenAs<ForumController>();
    ASSERT_NE(index, nullptr);
    tapRow(index->forumTable(), IndexPath{1, 0});
    auto* threads = topScreenAs<ThreadController>();
    ASSERT_NE(threads, nullptr);
    settleAndFinish();
    ASSERT_EQ(threads->actions()->items().size(), 2);
    EXPECT_EQ(threads->actions()->items().first(), threads->refresh());
    EXPECT_EQ(threads->actions()->items().last(), threads->search());
    EXPECT_FALSE(threads->threadTable()->rowsForSection(0).isEmpty());
    back();

    // The members' forum says why it stays empty.
    tapRow(index->forumTable(), IndexPath{1, 1});
    ASSERT_NE(topScreenAs<ThreadController>(), nullptr);
    ASSERT_TRUE(waitUntil([] { return !alertsOnScreen().isEmpty(); }));
    EXPECT_EQ(alertsOnScreen().last()->message(), tableText(QStringLiteral("nopermission_loggedout")));
    EXPECT_TRUE(topScreenAs<ThreadController>()->threadTable()->rowsForSection(0).isEmpty());
    EXPECT_TRUE(topScreenAs<ThreadController>()->loadingWrapper()->isHidden());
}

TEST_F(AppScenarioTest, TheFirstSignInOnAFreshInstallShowsTheMembersPictureInTheHomeHeader)
{
    // Her picture is her avatar and her profile picture at one address, and
    // it comes only after her profile has named it a second time.
    forum().failPicture(QStringLiteral("alice.png"), 503);
    // Her profile answers once the first fetch has failed, as it does on a
    // quick connection.
    forum().holdAtGate(QStringLiteral("member"), QStringLiteral("profile"));
    HomeController* homeScreen = signInAs(QStringLiteral("alice"), QStringLiteral("secret1"));
    ASSERT_NE(homeScreen, nullptr);
    const auto picturesServed = [this] {
        int served = 0;
        for (const TestForumRequest& request : forum().requests())
            served += request.path.endsWith(QStringLiteral("/alice.png")) && request.status == 200 ? 1 : 0;
        return served;
    };
    ASSERT_TRUE(waitUntil([&] {
        for (const TestForumRequest& request : forum().requests())
            if (request.path.endsWith(QStringLiteral("/alice.png")) && request.status == 503)
                return true;
        return false;
    }));
    forum().openGate(QStringLiteral("profile"));
    ASSERT_TRUE(waitUntil([&] { return picturesServed() == 1; }));
    settleAndFinish();
    EXPECT_FALSE(CurrentUser::currentUser()->image().isNull());
    EXPECT_FALSE(CurrentUser::currentUser()->avatar().isNull()) << "the member's picture arrived";
    EXPECT_FALSE(named<ImageView>(homeScreen, "avatar")->isHidden());
    EXPECT_FALSE(named<ImageView>(homeScreen, "avatar")->image().isNull());
    picture(QStringLiteral("app-home-first-sign-in.png"));
}

TEST_F(AppScenarioTest, ASignedOutMemberReadsOnAsAGuestWithoutEverCallingWithoutASession)
{
    HomeController* homeScreen = signInAs(QStringLiteral("alice"), QStringLiteral("secret1"));
    ASSERT_NE(homeScreen, nullptr);

    // Log out: Escape answers no; then Yes.
    clickBarButton(Window::keyWindow(), homeScreen->navigationItem()->leftBarButtonItem());
    finishAnimations();
    key(Qt::Key_Escape);
    settleAndFinish();
    EXPECT_TRUE(alertsOnScreen().isEmpty());
    EXPECT_FALSE(CurrentUser::currentUser()->anonymous()) << "Escape is no";
    signOut(homeScreen);
    EXPECT_FALSE(named<View>(homeScreen, "guestGreeting")->isHidden());
    const int alertsAtSignOut = alertsShown();

    // The index, a forum and home again from the menu, read as a guest.
    openSection(&GlobalNavigationViewController::forumsButton);
    auto* index = topScreenAs<ForumController>();
    ASSERT_NE(index, nullptr);
    ASSERT_EQ(index->forumTable()->numberOfSections(), 4);
    tapRow(index->forumTable(), IndexPath{1, 0});
    auto* threads = topScreenAs<ThreadController>();
    ASSERT_NE(threads, nullptr);
    settleAndFinish();
    EXPECT_FALSE(threads->threadTable()->rowsForSection(0).isEmpty());
    back();
    openSection(&GlobalNavigationViewController::homeButton);
    homeScreen = home();
    ASSERT_NE(homeScreen, nullptr);
    EXPECT_FALSE(named<View>(homeScreen, "guestGreeting")->isHidden());
    EXPECT_EQ(alertsShown(), alertsAtSignOut);

    // One guest session opened at once; every other call went out on it.
    const QList<TestForumRequest> log = forum().requests();
    qsizetype signedOutAt = log.size();
    while (signedOutAt > 0 && log.at(signedOutAt - 1).apiMethod != u"login_logout")
        --signedOutAt;
    ASSERT_GT(signedOutAt, 0);
    const QList<TestForumRequest> since = log.mid(signedOutAt - 1);
    ASSERT_GE(since.size(), 2);
    int openings = 0;
    for (const TestForumRequest& request : since.mid(1)) {
        if (request.apiMethod.isEmpty())
            continue;
        if (request.apiMethod == u"api_init") {
            ++openings;
            continue;
        }
        EXPECT_FALSE(request.token.isEmpty()) << qPrintable(request.apiMethod);
        EXPECT_EQ(request.memberId, 0) << qPrintable(request.apiMethod);
    }
    // The guest's session, and each login screen's own question for the
    // forum's features.
    EXPECT_EQ(openings, 2);
    EXPECT_EQ(since.at(1).apiMethod, QStringLiteral("api_init"));
}

TEST_F(AppScenarioTest, AfterSigningOutTheLoginFormHoldsNeitherTheNameNorThePassword)
{
    LoginController* login = launchToLogin();
    ASSERT_NE(login, nullptr);
    type(login->fieldWithTag(1), QStringLiteral("alice"));
    type(login->fieldWithTag(2), QStringLiteral("secret1"));
    tap(login->loginButton());
    HomeController* homeScreen = home();
    ASSERT_NE(homeScreen, nullptr);
    signOut(homeScreen);

    // "Log in" leads back to the same login screen.
    clickBarButton(Window::keyWindow(), homeScreen->navigationItem()->leftBarButtonItem());
    finishAnimations();
    ASSERT_EQ(topScreenAs<LoginController>(), login);
    EXPECT_TRUE(login->fieldWithTag(2)->text().isEmpty());
    EXPECT_TRUE(displayedText(login->fieldWithTag(2)).isEmpty());
    EXPECT_TRUE(login->fieldWithTag(1)->text().isEmpty());
    picture(QStringLiteral("login-after-sign-out.png"));

    // Another member signs in with what is typed now, nothing else.
    type(login->fieldWithTag(1), QStringLiteral("bob"));
    type(login->fieldWithTag(2), QStringLiteral("secret2"));
    EXPECT_EQ(login->fieldWithTag(1)->text(), QStringLiteral("bob"));
    tap(login->loginButton());
    homeScreen = home();
    ASSERT_NE(homeScreen, nullptr);
    EXPECT_EQ(named<Button>(homeScreen, "welcome")->titleForState(ControlState::Normal), QStringLiteral("Welcome, bob"));
}

TEST_F(AppScenarioTest, AFailedRenewalShowsOneAlertThenTheLoginScreenAndTheNextReloadWorks)
{
    ASSERT_NE(signInAs(QStringLiteral("alice"), QStringLiteral("secret1")), nullptr);
    auto* threads = openGeneralDiscussion();
    ASSERT_NE(threads, nullptr);

    // The token expires, and the forum refuses the session opening once.
    forum().expireToken();
    forum().answerHttpStatus(QStringLiteral("api_init"), 503);
    const int alertsBefore = alertsShown();
    threads->actions()->tapItem(threads->refresh());
    ASSERT_TRUE(waitUntil([] { return !alertsOnScreen().isEmpty(); }));
    settleAndFinish();
    ASSERT_EQ(alertsOnScreen().size(), 1);
    EXPECT_EQ(alertsShown(), alertsBefore + 1);
    EXPECT_EQ(alertsOnScreen().first()->message(), Bundle::main().localizedString(QStringLiteral("renovate_session")));
    picture(QStringLiteral("renewal-failed.png"));

    // Then the login screen, with the member's name and no password.
    tapAlertButton(0);
    settleAndFinish();
    auto* login = topScreenAs<LoginController>();
    ASSERT_NE(login, nullptr);
    ASSERT_EQ(screens().size(), 1);
    EXPECT_EQ(login->fieldWithTag(1)->text(), QStringLiteral("alice"));
    EXPECT_TRUE(login->fieldWithTag(2)->text().isEmpty());
    EXPECT_LT(CurrentUser::currentUser()->userid(), 1);
    picture(QStringLiteral("login-after-failed-renewal.png"));

    // Signed in again, the same forum reloads.
    type(login->fieldWithTag(2), QStringLiteral("secret1"));
    tap(login->loginButton());
    ASSERT_NE(home(), nullptr);
    threads = openGeneralDiscussion();
    ASSERT_NE(threads, nullptr);
    const int lists = int(asked("forumdisplay").size());
    const int alertsNow = alertsShown();
    threads->actions()->tapItem(threads->refresh());
    settleAndFinish();
    EXPECT_EQ(asked("forumdisplay").size(), lists + 1);
    EXPECT_EQ(asked("forumdisplay").last().status, 200);
    EXPECT_EQ(alertsShown(), alertsNow);
    EXPECT_FALSE(threads->threadTable()->rowsForSection(0).isEmpty());
}

TEST_F(AppScenarioTest, AFailedRenewalWithACallStillOnItsWaySignsOutOnceAndOpensOneSession)
{
    ASSERT_NE(signInAs(QStringLiteral("alice"), QStringLiteral("secret1")), nullptr);
    auto* threads = openGeneralDiscussion();
    ASSERT_NE(threads, nullptr);

    // The token expires and the member's password no longer signs in; a call
    // made on the member's token is still on its way when the renewal fails.
    forum().clearLog();
    forum().expireToken();
    forum().answerError(QStringLiteral("login_login"), QJsonArray{QStringLiteral("badlogin")});
    forum().delayMethod(QStringLiteral("member"), 400);
    const auto onItsWay = std::make_shared<Model>();
    RecordingObserver told;
    onItsWay->addObserver(&told);
    onItsWay->requestURL(QStringLiteral("member"), ValueDict(), RequestMethod::POST);
    threads->actions()->tapItem(threads->refresh());
    ASSERT_TRUE(waitUntil([&] { return told.changes + told.failures.size() > 0; }));
    settleAndFinish();
    ASSERT_EQ(alertsOnScreen().size(), 1);
    EXPECT_EQ(alertsOnScreen().first()->message(), Bundle::main().localizedString(QStringLiteral("renovate_session")));
    tapAlertButton(0);
    settleAndFinish();
    ASSERT_NE(topScreenAs<LoginController>(), nullptr);

    // One sign-out, then one session opening: the login screen's question
    // for the forum's features. The late call ends with the others.
    const QStringList log = apiLog();
    ASSERT_EQ(log.count(QStringLiteral("login_logout")), 1);
    const QStringList since = log.mid(log.indexOf(QStringLiteral("login_logout")) + 1);
    EXPECT_EQ(since.count(QStringLiteral("api_init")), 1) << log.join(u',').toStdString();
    EXPECT_EQ(asked("member").size(), 1);
    EXPECT_EQ(told.changes, 0);
    EXPECT_EQ(told.failures, QStringList{Bundle::main().localizedString(QStringLiteral("renovate_session"))});
    onItsWay->removeObserver(&told);
}

TEST_F(AppScenarioTest, EachFailureSaysOnceWhatWentWrong)
{
    ASSERT_NE(enterAsGuest(), nullptr);
    auto* threads = openGeneralDiscussion();
    ASSERT_NE(threads, nullptr);

    // Each Reload meets one misbehaviour and shows exactly one alert.
    const auto reloadShows = [&](const std::function<void()>& misbehave) {
        misbehave();
        const int before = alertsShown();
        threads->actions()->tapItem(threads->refresh());
        EXPECT_TRUE(waitUntil([] { return !alertsOnScreen().isEmpty(); }));
        settleAndFinish();
        EXPECT_EQ(alertsShown(), before + 1);
        const QString shown = alertsOnScreen().isEmpty() ? QString() : alertsOnScreen().last()->message();
        dismissAlerts();
        forum().clearControls();
        return shown;
    };
    const QString refusal = QStringLiteral("Only members of the photo club may read this forum.");
    EXPECT_EQ(reloadShows([&] {
                  forum().answerError(QStringLiteral("forumdisplay"),
                                      QJsonArray{QStringLiteral("nopermission_loggedin"), refusal});
              }),
              refusal);
    EXPECT_EQ(reloadShows([&] {
                  forum().answerError(QStringLiteral("forumdisplay"), QStringLiteral("nopermission_loggedin"));
              }),
              tableText(QStringLiteral("nopermission_loggedin")));

    // The line is fine; the answers are not.
    const QString unexpected = tableText(QStringLiteral("unexpected_server_response"));
    EXPECT_EQ(reloadShows([&] { forum().answerHttpStatus(QStringLiteral("forumdisplay"), 500); }), unexpected);
    EXPECT_EQ(reloadShows([&] { forum().signWrongly(QStringLiteral("forumdisplay")); }), unexpected);
    EXPECT_EQ(reloadShows([&] {
                  forum().dropConnection(QStringLiteral("forumdisplay"), 1, TestForum::Drop::MidBody);
              }),
              unexpected);
    EXPECT_EQ(reloadShows([&] {
                  forum().setRawAnswer(QStringLiteral("forumdisplay"), QByteArray("{\"response\": {\"x\": \"\xff\xfe\"}}"),
                                       1);
              }),
              unexpected);
    // No line at all.
    EXPECT_EQ(reloadShows([&] {
                  forum().dropConnection(QStringLiteral("forumdisplay"), -1, TestForum::Drop::BeforeAnswer);
              }),
              tableText(QStringLiteral("nointernet")));

    // A thread page the forum fails to serve says the same.
    forum().answerHttpStatus(QStringLiteral("showthread"), 500, {}, -1);
    tapRow(threads->threadTable()->tableView(), firstThreadRow(threads));
    ASSERT_NE(topScreenAs<PostController>(), nullptr);
    ASSERT_TRUE(waitUntil([] { return !alertsOnScreen().isEmpty(); }));
    settleAndFinish();
    ASSERT_EQ(alertsOnScreen().size(), 1);
    EXPECT_EQ(alertsOnScreen().first()->message(), unexpected);
}

TEST_F(AppScenarioTest, TheLastMembersDismissedNoticesGoWhenAnyoneSignsInOrOut)
{
    // Signing out before any home data exists clears them.
    signIn(QStringLiteral("alice"), QStringLiteral("secret1"));
    ForumInfo::saveDismissedNoticesList({QStringLiteral("3")});
    CurrentUser::currentUser()->logout();
    EXPECT_TRUE(ForumInfo::dismissedNoticesList().isEmpty());
    settle();

    // So does signing in: the last member dismissed the members' notice,
    // and the next one sees it.
    ForumInfo::saveDismissedNoticesList({QStringLiteral("2")});
    ASSERT_NE(signInAs(QStringLiteral("bob"), QStringLiteral("secret2")), nullptr);
    QList<qint32> shown;
    for (const auto& notice : ForumInfo::getInstance()->notices())
        shown.append(notice->_noticeid());
    EXPECT_EQ(shown, (QList<qint32>{2, 3}));
}

TEST_F(AppScenarioTest, AMemberStartsAThreadFromHomeAndAnswersItUnderItsLastPage)
{
    HomeController* homeScreen = signInAs(QStringLiteral("bob"), QStringLiteral("secret2"));
    ASSERT_NE(homeScreen, nullptr);

    // Home's compose button: the editor, where the forum is chosen from the tree.
    const std::shared_ptr<BarButtonItem> compose = homeScreen->navigationItem()->rightBarButtonItem();
    ASSERT_NE(compose, nullptr);
    ASSERT_EQ(compose->systemItem(), BarButtonSystemItem::Compose);
    clickBarButton(Window::keyWindow(), compose);
    finishAnimations();
    auto* editor = topScreenAs<CreateContent>();
    ASSERT_NE(editor, nullptr);
    settleAndFinish();
    clickSegment(editor->publishArea()->publishIn(), EditorPublishArea::Forum);
    settleAndFinish();
    auto* picker = topScreenAs<SelectForumController>();
    ASSERT_NE(picker, nullptr);
    picture(QStringLiteral("app-select-forum.png"));
    tapRow(picker->forumTable(), IndexPath{0, 1});
    tapRow(picker->forumTable(), IndexPath{0, 0});
    settleAndFinish();
    ASSERT_EQ(topScreen(), editor);
    EXPECT_EQ(editor->forum()->forumid(), 3);

    // Written with the keyboard and the mouse: the title, then Tab past the
    // forum's prefixes to the text, an emoticon from the strip's menu.
    type(editor->messageTitle(), QStringLiteral("Saturday ride?"));
    key(Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), editor->selectPrefixButton());
    key(Qt::Key_Tab);
    finishAnimations();
    ASSERT_TRUE(editor->content()->isFirstResponder());
    typeKeys(QStringLiteral("Anyone up for the coast road on Saturday? "));
    // The strip slides in a moment after the text is entered.
    clock()->advance(EditorFormatting::kSlideDelayMs);
    finishAnimations();
    tap(named<EditorButtonStrip>(editor, "formattingStrip")->smileyButton());
    finishAnimations();
    ASSERT_FALSE(named<EditorFormatBar>(editor, "formatBar")->emoticonMenu()->isHidden());
    picture(QStringLiteral("app-editor.png"));
    tap(named<EditorFormatBar>(editor, "formatBar")->emoticonButton(0));
    EXPECT_TRUE(editor->content()->text().endsWith(QStringLiteral("Saturday? :)")));
    clickBarButton(Window::keyWindow(), editor->navigationItem()->rightBarButtonItem());
    finishAnimations();
    clickBarButton(Window::keyWindow(), editor->navigationItem()->rightBarButtonItem());
    ASSERT_TRUE(waitUntil([] { return !alertsOnScreen().isEmpty(); }));
    const qint32 threadid = editor->threadBuilder()->threadid();
    ASSERT_GT(threadid, 0);
    tapAlertButton(0);
    settleAndFinish();

    // Its page, with the quick-reply row under the last post.
    auto* page = topScreenAs<PostController>();
    ASSERT_NE(page, nullptr);
    ASSERT_TRUE(waitUntil([&] { return !page->thread()->pages().isEmpty(); }));
    settleAndFinish();
    ShadowedTableView* table = page->postTable()->tableView();
    const int last = table->numberOfRowsInSection(0) - 1;
    auto* row = dynamic_cast<QuickReplyCell*>(table->cellForRowAtIndexPath(IndexPath{0, last}));
    ASSERT_NE(row, nullptr);
    click(row->textView()->convertRect(row->textView()->bounds(), nullptr).center());
    finishAnimations();
    ASSERT_TRUE(row->textView()->isFirstResponder()) << "the click gives the row the keyboard";
    typeKeys(QStringLiteral("I'm in, see you at nine."));
    picture(QStringLiteral("app-quick-reply.png"));

    // The forum closes as it is sent: its alert once, and the row keeps the text.
    forum().closeForum(QStringLiteral("Back in ten minutes."));
    tap(row->submitButton());
    ASSERT_TRUE(waitUntil([] { return !alertsOnScreen().isEmpty(); }));
    settleAndFinish();
    ASSERT_EQ(alertsOnScreen().size(), 1);
    EXPECT_EQ(alertsOnScreen().first()->message(), QStringLiteral("Back in ten minutes."));
    tapAlertButton(0);
    settleAndFinish();
    ASSERT_EQ(topScreen(), page) << "the typed reply is not given up for the login screen";
    EXPECT_EQ(page->quickReply()->text(), QStringLiteral("I'm in, see you at nine."));
    EXPECT_EQ(forum().threadState(threadid).value(QStringLiteral("posts")).toArray().size(), 1);

    forum().openForum();
    row = dynamic_cast<QuickReplyCell*>(table->cellForRowAtIndexPath(IndexPath{0, table->numberOfRowsInSection(0) - 1}));
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row->textView()->text(), QStringLiteral("I'm in, see you at nine."));
    click(row->textView()->convertRect(row->textView()->bounds(), nullptr).center());
    finishAnimations();
    tap(row->submitButton());
    ASSERT_TRUE(waitUntil([&] { return forum().threadState(threadid).value(QStringLiteral("posts")).toArray().size() == 2; }));
    settleAndFinish();
    const int reply = forum().threadState(threadid).value(QStringLiteral("posts")).toArray().last().toInt();
    EXPECT_EQ(forum().postState(reply).value(QStringLiteral("bbcode")).toString(), QStringLiteral("I'm in, see you at nine."));
    EXPECT_TRUE(page->quickReply()->text().isEmpty());
    EXPECT_TRUE(alertsOnScreen().isEmpty());
}

TEST_F(AppScenarioTest, AForumThatClosesWhileAReplyIsSentKeepsTheReplyUntilItOpensAgain)
{
    HomeController* homeScreen = signInAs(QStringLiteral("bob"), QStringLiteral("secret2"));
    ASSERT_NE(homeScreen, nullptr);
    auto* threads = openGeneralDiscussion();
    ASSERT_NE(threads, nullptr);
    tapRow(threads->threadTable()->tableView(), firstThreadRow(threads));
    auto* page = topScreenAs<PostController>();
    ASSERT_NE(page, nullptr);
    ASSERT_TRUE(waitUntil([&] { return !page->thread()->pages().isEmpty(); }));
    settleAndFinish();
    const qint32 threadid = page->thread()->threadid();
    const auto postsOfThread = [&] { return forum().threadState(threadid).value(QStringLiteral("posts")).toArray(); };
    const qsizetype posts = postsOfThread().size();

    // The reply composer, written in with the keyboard.
    clickBarButton(Window::keyWindow(), page->navigationItem()->rightBarButtonItem());
    finishAnimations();
    auto* reply = topScreenAs<Reply>();
    ASSERT_NE(reply, nullptr);
    settleAndFinish();
    tap(reply->content());
    finishAnimations();
    if (!reply->content()->isFirstResponder())
        reply->content()->becomeFirstResponder();
    const QString typed = QStringLiteral("Count me in for the night shoot, tripod and all.");
    typeKeys(typed);
    clickBarButton(Window::keyWindow(), reply->navigationItem()->rightBarButtonItem());
    finishAnimations();
    const QString title = reply->messageTitle()->text();

    // The forum closes as it is sent: its own words, once, and nothing posted.
    forum().closeForum(QStringLiteral("Closed for maintenance until six."));
    const int alertsBefore = alertsShown();
    clickBarButton(Window::keyWindow(), reply->navigationItem()->rightBarButtonItem());
    ASSERT_TRUE(waitUntil([] { return !alertsOnScreen().isEmpty(); }));
    settleAndFinish();
    ASSERT_EQ(alertsOnScreen().size(), 1);
    EXPECT_EQ(alertsShown(), alertsBefore + 1);
    EXPECT_EQ(alertsOnScreen().first()->message(), QStringLiteral("Closed for maintenance until six."));
    EXPECT_TRUE(named<ActivityIndicatorView>(reply, "loading")->isHidden()) << "the busy sign ends with the verdict";
    EXPECT_EQ(postsOfThread().size(), posts);
    picture(QStringLiteral("app-reply-forum-closed-alert.png"));

    // OK: the composer stays, on its stack, with every character.
    tapAlertButton(0);
    settleAndFinish();
    ASSERT_EQ(topScreen(), reply);
    EXPECT_EQ(reply->messageText(), typed);
    EXPECT_EQ(reply->messageTitle()->text(), title);
    EXPECT_TRUE(named<ActivityIndicatorView>(reply, "loading")->isHidden());
    EXPECT_TRUE(alertsOnScreen().isEmpty());
    EXPECT_EQ(alertsShown(), alertsBefore + 1);
    picture(QStringLiteral("app-reply-forum-closed.png"));

    // Open again: one submit, one post, the text as typed, back on the thread.
    forum().openForum();
    const int sends = int(asked("newreply_postreply").size());
    clickBarButton(Window::keyWindow(), reply->navigationItem()->rightBarButtonItem());
    ASSERT_TRUE(waitUntil([&] { return postsOfThread().size() == posts + 1; }));
    settleAndFinish();
    EXPECT_EQ(asked("newreply_postreply").size(), sends + 1);
    EXPECT_EQ(forum().postState(postsOfThread().last().toInt()).value(QStringLiteral("bbcode")).toString(), typed);
    EXPECT_EQ(topScreen(), page);
    EXPECT_EQ(alertsShown(), alertsBefore + 1);

    // Reading while it is closed still leads to the login screen.
    back();
    ASSERT_EQ(topScreen(), threads);
    forum().closeForum(QStringLiteral("Closed again."));
    threads->actions()->tapItem(threads->refresh());
    ASSERT_TRUE(waitUntil([] { return !alertsOnScreen().isEmpty(); }));
    settleAndFinish();
    ASSERT_EQ(alertsOnScreen().size(), 1);
    EXPECT_EQ(alertsOnScreen().first()->message(), QStringLiteral("Closed again."));
    tapAlertButton(0);
    settleAndFinish();
    EXPECT_NE(topScreenAs<LoginController>(), nullptr);
    EXPECT_EQ(screens().size(), 1);
}

TEST_F(AppScenarioTest, AMemberSearchesFromHomeFromTheMenuAndInAThread)
{
    HomeController* homeScreen = signInAs(QStringLiteral("alice"), QStringLiteral("secret1"));
    ASSERT_NE(homeScreen, nullptr);

    // The home screen's search control opens the search above home; it and
    // the sorts both fit the bar.
    ASSERT_NE(named<SegmentedControl>(homeScreen, "search"), nullptr);
    const QRectF searchFrame = named<SegmentedControl>(homeScreen, "search")->frame();
    EXPECT_LE(searchFrame.right(), named<Toolbar>(homeScreen, "bottomBar")->bounds().right());
    EXPECT_LE(homeScreen->sort()->frame().right(), searchFrame.left());
    EXPECT_EQ(searchFrame.height(), homeScreen->sort()->frame().height());
    clickSegment(named<SegmentedControl>(homeScreen, "search"), 0);
    finishAnimations();
    auto* search = topScreenAs<SearchController>();
    ASSERT_NE(search, nullptr);
    ASSERT_EQ(screens().size(), 3);
    type(search->searchBar()->textField(), QStringLiteral("daily chat"));
    pressReturn(search->searchBar()->textField());
    ASSERT_TRUE(waitUntil([&] { return !search->resultsTable()->rowsForSection(0).isEmpty(); }));
    settleAndFinish();
    EXPECT_EQ(asked("search_process").last().field(QStringLiteral("query")), QStringLiteral("daily chat"));
    picture(QStringLiteral("app-search-results.png"));
    // A result opens its thread.
    tapRow(search->resultsTable()->tableView(), IndexPath{0, 0});
    auto* found = topScreenAs<PostController>();
    ASSERT_NE(found, nullptr);
    EXPECT_TRUE(found->thread()->threadtitle().startsWith(QStringLiteral("Daily chat")));
    back();
    back();

    // The menu's search entry: the search as the section's first screen.
    openSection(&GlobalNavigationViewController::searchButton);
    ASSERT_NE(topScreenAs<SearchController>(), nullptr);
    EXPECT_EQ(screens().size(), 1);

    // In the big tips thread: the posts found, the words marked.
    auto* threads = openForumAt(IndexPath{1, 0});
    ASSERT_NE(threads, nullptr);
    auto* page = openThread(threads, 1101);
    ASSERT_NE(page, nullptr);
    page->actions()->tapItem(page->item(PostController::SearchInThread));
    finishAnimations();
    auto* inThread = topScreenAs<SearchPostController>();
    ASSERT_NE(inThread, nullptr);
    EXPECT_TRUE(inThread->searchField()->isFirstResponder());
    // The keyboard is in the field already: the words typed go there at once.
    typeKeys(QStringLiteral("tip"));
    key(Qt::Key_Return);
    EXPECT_EQ(inThread->searchField()->textField()->text(), QStringLiteral("tip"));
    ASSERT_TRUE(waitUntil([&] { return !inThread->table()->isHidden(); }));
    settleAndFinish();
    int marks = 0;
    for (TableViewCell* cell : inThread->table()->tableView()->visibleCells()) {
        if (auto* post = qobject_cast<SearchPostCell*>(cell))
            marks += int(post->highlightBoxes().size());
    }
    EXPECT_GE(marks, 3);
    picture(QStringLiteral("app-search-in-thread.png"));
}

TEST_F(AppScenarioTest, AModeratorChoosesThreadsAndPostsAndActsOnThem)
{
    ASSERT_NE(signInAs(QStringLiteral("moderator"), QStringLiteral("modpass")), nullptr);

    // General Discussion, then its moderation screen from the bar.
    auto* threads = openGeneralDiscussion();
    ASSERT_NE(threads, nullptr);
    ASSERT_FALSE(threads->actions()->isHiddenAtIndex(ThreadController::ModerateItem));
    threads->actions()->tapItem(threads->moderate());
    finishAnimations();
    auto* moderate = topScreenAs<ThreadModerateController>();
    ASSERT_NE(moderate, nullptr);
    settleAndFinish();
    // Two threads of the first rows chosen, as the moderator taps them.
    const QList<ModelPtr> rows = moderate->threadTable()->rowsForSection(0);
    QList<int> chosen;
    for (int row = 0; row < rows.size() && chosen.size() < 2; ++row) {
        const auto thread = std::dynamic_pointer_cast<Thread>(rows.at(row));
        if (thread && !thread->isAnnouncement() && !thread->isSticky())
            chosen.append(row);
    }
    ASSERT_EQ(chosen.size(), 2);
    for (int row : chosen)
        tapRow(moderate->threadTable()->tableView(), IndexPath{0, row});
    ASSERT_EQ(moderate->selectedThreads().size(), 2);
    picture(QStringLiteral("app-moderate-threads.png"));
    const QList<ThreadPtr> closing = moderate->selectedThreads();
    moderate->actions()->tapItem(moderate->closeBtn());
    ASSERT_EQ(alertsOnScreen().size(), 1);
    tapAlertButton(1);
    settleAndFinish();
    for (const ThreadPtr& thread : closing)
        EXPECT_TRUE(forum().threadState(thread->threadid()).value(QStringLiteral("closed")).toBool());
    back();

    // A thread's posts, chosen on its moderation screen.
    auto* page = openThread(threads, 302);
    ASSERT_NE(page, nullptr);
    ASSERT_FALSE(page->actions()->isHiddenAtIndex(PostController::Moderate));
    page->actions()->tapItem(page->item(PostController::Moderate));
    finishAnimations();
    auto* posts = topScreenAs<PostModerateController>();
    ASSERT_NE(posts, nullptr);
    settleAndFinish();
    tapRow(posts->postTable()->tableView(), IndexPath{0, 0});
    tapRow(posts->postTable()->tableView(), IndexPath{0, 1});
    posts->postTable()->tableView()->setContentOffset(QPointF(0, 0));
    ASSERT_EQ(posts->selectedPosts().size(), 2);
    picture(QStringLiteral("app-moderate-posts.png"));
}

TEST_F(AppScenarioTest, AMovedThreadAsksForEachForumItChangedOnceAndAMoveIntoItsOwnForumForItOnce)
{
    ASSERT_NE(signInAs(QStringLiteral("moderator"), QStringLiteral("modpass")), nullptr);
    auto* threads = openGeneralDiscussion();
    ASSERT_NE(threads, nullptr);
    const qint32 here = threads->forum()->forumid();
    const auto clickItem = [&](TabBar* bar, const TabBarItemPtr& item) {
        tapAt(bar->convertRect(bar->rectForItemAtIndex(int(bar->items().indexOf(item))), nullptr).center());
        finishAnimations();
    };
    clickItem(threads->actions(), threads->moderate());
    auto* moderate = topScreenAs<ThreadModerateController>();
    ASSERT_NE(moderate, nullptr);
    settleAndFinish();

    // The first ordinary thread, moved with the bar, the sheet and the picker
    // as the moderator clicks them; the picker opens a forum with subforums
    // on its own level first, whose first row is the forum itself.
    const auto moveFirstThreadTo = [&](qint32 destination) {
        tapRow(moderate->threadTable()->tableView(), firstThreadRow(threads));
        ASSERT_EQ(moderate->selectedThreads().size(), 1);
        clickItem(moderate->actions(), moderate->moveBtn());
        ActionSheet* sheet = moderate->moveAction();
        ASSERT_NE(sheet, nullptr);
        tapAt(sheet->convertRect(sheet->buttonRect(0), nullptr).center());
        finishAnimations();
        auto* picker = topScreenAs<SelectForumController>();
        ASSERT_NE(picker, nullptr);
        settleAndFinish();
        forum().clearLog();
        for (int level = 0; level < 2 && topScreenAs<SelectForumController>() == picker; ++level) {
            TableView* table = picker->forumTable();
            IndexPath found;
            for (int section = 0; section < table->numberOfSections() && !found.isValid(); ++section) {
                for (int row = 0; row < table->numberOfRowsInSection(section); ++row) {
                    const ForumPtr listed = picker->retrieveForumAtIndexPath(IndexPath{section, row});
                    if (listed && listed->forumid() == destination) {
                        found = IndexPath{section, row};
                        break;
                    }
                }
            }
            ASSERT_TRUE(found.isValid()) << "the picker lists no forum " << destination;
            tapRow(table, found);
            settleAndFinish();
        }
        EXPECT_EQ(topScreenAs<ThreadModerateController>(), moderate);
    };
    const auto listsAsked = [&] {
        QList<qint32> forums;
        for (const TestForumRequest& request : asked("forumdisplay")) {
            EXPECT_EQ(request.field(QStringLiteral("pagenumber")), u"1");
            forums.append(request.field(QStringLiteral("forumid")).toInt());
        }
        return forums;
    };

    // Into its own forum: refused, said once, and its list asked for once.
    moveFirstThreadTo(here);
    EXPECT_EQ(asked("inlinemod_domovethreads").size(), 1);
    ASSERT_EQ(alertsOnScreen().size(), 1);
    EXPECT_EQ(alertsOnScreen().first()->message(), tableText(QStringLiteral("movesameforum")));
    tapAlertButton(0);
    settleAndFinish();
    EXPECT_EQ(listsAsked(), QList<qint32>{here});
    EXPECT_TRUE(moderate->selectedThreads().isEmpty());

    // Into another forum: moved, and each of the two lists asked for once.
    const qint32 introductions = 6;
    const auto first = std::dynamic_pointer_cast<Thread>(
        moderate->threadTable()->rowsForSection(0).value(firstThreadRow(threads).row));
    ASSERT_NE(first, nullptr);
    const qint32 moved = first->threadid();
    moveFirstThreadTo(introductions);
    ASSERT_EQ(alertsOnScreen().size(), 1);
    EXPECT_EQ(alertsOnScreen().first()->message(), Bundle::main().localizedString(QStringLiteral("move_thread_success")));
    tapAlertButton(0);
    settleAndFinish();
    EXPECT_EQ(forum().threadState(moved).value(QStringLiteral("forumid")).toInt(), introductions);
    QList<qint32> both = listsAsked();
    std::sort(both.begin(), both.end());
    EXPECT_EQ(both, (QList<qint32>{here, introductions}));
}

TEST_F(AppScenarioTest, ASignedOutMemberFindsNoWayToWriteUntilSignedInAgain)
{
    HomeController* homeScreen = signInAs(QStringLiteral("alice"), QStringLiteral("secret1"));
    ASSERT_NE(homeScreen, nullptr);
    ASSERT_NE(homeScreen->navigationItem()->rightBarButtonItem(), nullptr);

    // Signed out: home offers nothing to write.
    signOut(homeScreen);
    EXPECT_EQ(homeScreen->navigationItem()->rightBarButtonItem(), nullptr) << "no composing for a guest";

    // A thread found and read as a guest: no add button, no quick-reply row,
    // no reply on the post alone; the forum is asked for no reply form.
    const int forms = int(asked("newreply_newreply").size());
    const auto readDailyChat = [&](bool member) {
        clickSegment(named<SegmentedControl>(homeScreen, "search"), 0);
        finishAnimations();
        auto* search = topScreenAs<SearchController>();
        ASSERT_NE(search, nullptr);
        type(search->searchBar()->textField(), QStringLiteral("daily chat"));
        pressReturn(search->searchBar()->textField());
        ASSERT_TRUE(waitUntil([&] { return !search->resultsTable()->rowsForSection(0).isEmpty(); }));
        settleAndFinish();
        tapRow(search->resultsTable()->tableView(), IndexPath{0, 0});
        auto* page = topScreenAs<PostController>();
        ASSERT_NE(page, nullptr);
        ASSERT_TRUE(waitUntil([&] { return !page->thread()->pages().isEmpty(); }));
        settleAndFinish();
        EXPECT_EQ(page->navigationItem()->rightBarButtonItem() != nullptr, member);
        bool quickReplyRow = false;
        for (const ModelPtr& row : page->postTable()->rowsForSection(0))
            quickReplyRow = quickReplyRow || std::dynamic_pointer_cast<QuickReply>(row) != nullptr;
        EXPECT_EQ(quickReplyRow, member);
        if (!member)
            picture(QStringLiteral("app-thread-page-guest.png"));
        // The post's text opens it alone (its header opens its author).
        auto* first = dynamic_cast<PostCell*>(page->postTable()->tableView()->cellForRowAtIndexPath(IndexPath{0, 0}));
        ASSERT_NE(first, nullptr);
        tap(first->message());
        finishAnimations();
        auto* alone = topScreenAs<PostDetailsController>();
        ASSERT_NE(alone, nullptr);
        settleAndFinish();
        EXPECT_EQ(alone->actions()->isHidden(), !member);
        back();
        back();
        back();
        ASSERT_EQ(topScreen(), homeScreen);
    };
    readDailyChat(false);
    EXPECT_EQ(asked("newreply_newreply").size(), forms);
    EXPECT_TRUE(alertsOnScreen().isEmpty());

    // Signed in again from home, all of it is back.
    clickBarButton(Window::keyWindow(), homeScreen->navigationItem()->leftBarButtonItem());
    finishAnimations();
    auto* login = topScreenAs<LoginController>();
    ASSERT_NE(login, nullptr);
    type(login->fieldWithTag(1), QStringLiteral("alice"));
    type(login->fieldWithTag(2), QStringLiteral("secret1"));
    tap(login->loginButton());
    homeScreen = home();
    ASSERT_NE(homeScreen, nullptr);
    EXPECT_NE(homeScreen->navigationItem()->rightBarButtonItem(), nullptr);
    readDailyChat(true);
}
