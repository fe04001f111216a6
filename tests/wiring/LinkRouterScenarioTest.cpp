#include "AppScenario.h"
#include "NamedView.h"

#include "app/screens/AppDelegate.h"
#include "app/screens/LoginController.h"
#include "app/screens/LogoutHelper.h"
#include "app/screens/MuController.h"
#include "app/screens/RegistrationController.h"
#include "app/widgets/GradientButton.h"
#include "app/widgets/PaginableTableView.h"
#include "app/widgets/PageSelector.h"
#include "app/widgets/ShadowedTableView.h"
#include "forum/cells/AttachmentLineItem.h"
#include "forum/cells/ImageAttachmentLinkView.h"
#include "forum/cells/PostCell.h"
#include "forum/model/ForumInfo.h"
#include "forum/model/NewTopSearch.h"
#include "forum/model/Post.h"
#include "forum/model/Announcement.h"
#include "forum/screens/AnnouncementDetailsController.h"
#include "forum/screens/CreateContent.h"
#include "forum/screens/ForumController.h"
#include "forum/screens/HomeController.h"
#include "forum/screens/PostController.h"
#include "forum/screens/PostDetailsController.h"
#include "forum/screens/Reply.h"
#include "forum/screens/SearchController.h"
#include "forum/screens/ThreadController.h"
#include "neighbours/blogs/Article.h"
#include "neighbours/blogs/BlogEntriesModel.h"
#include "neighbours/blogs/BlogModel.h"
#include "neighbours/screens/AlbumController.h"
#include "neighbours/screens/ArticleDetails.h"
#include "neighbours/screens/ArticleListController.h"
#include "neighbours/screens/BlogHomeScreenViewController.h"
#include "neighbours/screens/BlogPostExpanded.h"
#include "neighbours/screens/EmptyStateView.h"
#include "neighbours/screens/MemberBlogHomeViewController.h"
#include "neighbours/screens/MyProfile.h"
#include "neighbours/screens/PhotoController.h"
#include "neighbours/screens/PrivateMessageReply.h"
#include "neighbours/screens/PrivateMessagesController.h"
#include "neighbours/screens/SlideshowController.h"
#include "platform/ui/Application.h"
#include "platform/ui/BarButtonView.h"
#include "platform/ui/NavigationBar.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/TableViewCell.h"
#include "platform/ui/Screenshot.h"
#include "platform/ui/SegmentedControl.h"
#include "platform/ui/TableView.h"
#include "platform/ui/ViewControllerRegistry.h"
#include "platform/ui/WebView.h"
#include "platform/ui/Window.h"

#include "platform/foundation/Localized.h"
#include "platform/foundation/ManualClock.h"

#include <algorithm>

// The in-app links of the test forum's welcome guide (thread 603), tapped
// one by one in the real application: each opens its screen inside the
// application, the screen shows what the link names or says that it is gone,
// and what is not an in-app link leaves the application only as a web
// address. Blog entries and articles hand their links to the same router.
namespace {

constexpr int kGuideThread = 603;

class LinkRouterScenarioTest : public AppScenario {
protected:
    void SetUp() override
    {
        AppScenario::SetUp();
        Application::sharedApplication().setOpenURLHandler([this](const QUrl& url) {
            desktop.append(url);
            return true;
        });
    }
    void TearDown() override
    {
        Application::sharedApplication().setOpenURLHandler({});
        AppScenario::TearDown();
    }

    static QString shown(EmptyStateView* state)
    {
        return state && !state->isHidden() ? state->headline() : QStringLiteral("(hidden)");
    }
    // A member signs in on the login form; without a name the reader goes on as a guest.
    HomeController* signIn(const char* name, const char* password)
    {
        LoginController* login = launchToLogin();
        if (!login)
            return nullptr;
        if (name) {
            type(login->fieldWithTag(1), QString::fromLatin1(name));
            type(login->fieldWithTag(2), QString::fromLatin1(password));
            tap(login->loginButton());
        } else {
            tap(login->skipNowButton());
        }
        EXPECT_TRUE(waitUntil([&] { return topScreenAs<HomeController>() != nullptr; }));
        settleAndFinish();
        return topScreenAs<HomeController>();
    }
    // The guide's thread page, reached as a reader reaches it: the forum
    // index, Introductions, then the guide's row.
    PostController* openGuide()
    {
        auto index = ViewControllerRegistry::create(QStringLiteral("ForumController"));
        delegate()->controller()->pushViewController(index, false);
        auto* forums = dynamic_cast<ForumController*>(index.get());
        EXPECT_TRUE(waitUntil([&] { return forums->forumTable()->numberOfSections() > 0; }));
        settleAndFinish();
        tapRow(forums->forumTable(), IndexPath{0, 2});
        auto* threads = topScreenAs<ThreadController>();
        EXPECT_NE(threads, nullptr);
        if (!threads)
            return nullptr;
        EXPECT_TRUE(waitUntil([&] { return !threads->threadTable()->rowsForSection(0).isEmpty(); }));
        settleAndFinish();
        EXPECT_EQ(threads->forum()->forumid(), 6);
        auto* guide = openThread(threads, kGuideThread);
        if (!guide)
            return nullptr;
        // Its six posts (a member has the quick-reply row under them too).
        EXPECT_TRUE(waitUntil([&] {
            const QList<ModelPtr> rows = guide->postTable()->rowsForSection(0);
            return std::count_if(rows.begin(), rows.end(), [](const ModelPtr& row) {
                       return dynamic_cast<const Post*>(row.get()) != nullptr;
                   }) == 6;
        }));
        settleAndFinish();
        return guide;
    }
    // Signed in (a guest without a name), the guide's post of the row, opened alone.
    PostDetailsController* openGuidePost(const char* name, const char* password, int row)
    {
        if (!signIn(name, password))
            return nullptr;
        PostController* guide = openGuide();
        return guide ? openPost(guide, row) : nullptr;
    }
    // A post of the guide, opened alone by a tap on its row.
    PostDetailsController* openPost(PostController* guide, int row)
    {
        tapRow(guide->postTable()->tableView(), IndexPath{0, row});
        auto* post = topScreenAs<PostDetailsController>();
        EXPECT_NE(post, nullptr);
        if (post) {
            EXPECT_TRUE(waitUntil([&] { return !post->web()->linkFrames().isEmpty(); }));
            settleAndFinish();
        }
        return post;
    }
    // Whether the page carries a link to the address, as written.
    static bool hasLink(WebView* web, const QString& href)
    {
        for (const auto& link : web->linkFrames()) {
            if (link.first == href)
                return true;
        }
        return false;
    }
    // A tap on the page's link (as a tap hands it over: as written).
    void tapLink(WebView* web, const QString& href)
    {
        EXPECT_TRUE(hasLink(web, href)) << href.toStdString();
        web->clickLink(href);
        settleAndFinish();
    }
    // A click with the mouse where the page shows the link.
    void clickLink(WebView* web, const QString& href)
    {
        QRectF frame;
        for (const auto& [written, where] : web->linkFrames()) {
            if (written == href)
                frame = where;
        }
        ASSERT_FALSE(frame.isEmpty()) << "the page shows no link " << href.toStdString();
        tapAt(web->convertPoint(frame.center(), nullptr));
        settleAndFinish();
    }
    // A click on the bar's back button.
    void clickBack()
    {
        BarButtonView* button = delegate()->controller()->navigationBar()->backButtonView();
        ASSERT_NE(button, nullptr) << "no back button on the bar";
        tap(button);
        settleAndFinish();
    }
    // Follows the link to the screen it opens, and waits for what it loads.
    template <typename Screen>
    Screen* follow(WebView* web, const QString& href)
    {
        const int before = int(screens().size());
        tapLink(web, href);
        auto* screen = topScreenAs<Screen>();
        EXPECT_NE(screen, nullptr) << href.toStdString();
        EXPECT_EQ(screens().size(), before + 1) << href.toStdString();
        return screen;
    }
    // The messages of the alerts shown since the last call, one per line;
    // the alerts are taken down.
    QString newAlerts()
    {
        QStringList messages;
        for (const std::shared_ptr<AlertView>& alert : alertsOnScreen())
            messages.append(alert->message());
        for (const std::shared_ptr<AlertView>& alert : alertsOnScreen())
            alert->dismissWithClickedButtonIndex(0);
        finishAnimations();
        return messages.join(u'\n');
    }

    QList<QUrl> desktop;
};

}  // namespace

TEST_F(LinkRouterScenarioTest, ForumLinksInAPostOpenTheIndexHomeAForumAThreadAndAPost)
{
    ASSERT_NE(signIn("alice", "secret1"), nullptr);
    PostController* guide = openGuide();
    ASSERT_NE(guide, nullptr);
    PostDetailsController* post = openPost(guide, 0);
    ASSERT_NE(post, nullptr);
    EXPECT_EQ(post->post()->postid(), 4900);
    picture(QStringLiteral("links-guide-post.png"));
    WebView* web = post->web();
    const QString page = post->page();

    auto* index = follow<ForumController>(web, QStringLiteral("mu:forum"));
    ASSERT_NE(index, nullptr);
    EXPECT_GT(index->forumTable()->numberOfSections(), 0);
    back();
    EXPECT_EQ(topScreen(), post);
    EXPECT_EQ(post->page(), page) << "the page stays as it was";

    auto* home = follow<HomeController>(web, QStringLiteral("mu:index"));
    ASSERT_NE(home, nullptr);
    EXPECT_EQ(home->sort()->selectedSegmentIndex(), int(HomeController::Newest));
    back();
    // The member's subscriptions: the home screen on that sort, listing them.
    home = follow<HomeController>(web, QStringLiteral("mu:subscription"));
    ASSERT_NE(home, nullptr);
    EXPECT_EQ(home->sort()->selectedSegmentIndex(), int(HomeController::Subscribed));
    EXPECT_EQ(named<PaginableTableView>(home, "news")->model(), home->state().subscribed());
    ASSERT_TRUE(waitUntil([&] { return !named<PaginableTableView>(home, "news")->rowsForSection(0).isEmpty(); }));
    picture(QStringLiteral("links-subscriptions.png"));
    back();

    auto* threads = follow<ThreadController>(web, QStringLiteral("mu:forumdisplay/f=3"));
    ASSERT_NE(threads, nullptr);
    EXPECT_EQ(threads->forum()->forumid(), 3);
    ASSERT_TRUE(waitUntil([&] { return !threads->threadTable()->rowsForSection(0).isEmpty(); }));
    EXPECT_EQ(forum().requests(QStringLiteral("forumdisplay")).last().field(QStringLiteral("forumid")),
              QStringLiteral("3"));
    back();

    auto* thread = follow<PostController>(web, QStringLiteral("mu:showthread/t=302"));
    ASSERT_NE(thread, nullptr);
    EXPECT_EQ(thread->thread()->threadid(), 302);
    ASSERT_TRUE(waitUntil([&] { return !thread->postTable()->rowsForSection(0).isEmpty(); }));
    back();

    // With a post and a thread, the post wins.
    auto* next = follow<PostDetailsController>(web, QStringLiteral("mu:showthread/p=4901/t=302"));
    ASSERT_NE(next, nullptr);
    EXPECT_EQ(next->post()->postid(), 4901);
    ASSERT_TRUE(waitUntil([&] { return next->page().contains(QStringLiteral("Members and messages")); }));
    EXPECT_EQ(next->name()->text(), QStringLiteral("moderator"));
    // Its title is its thread's, as the forum's answer gives it.
    EXPECT_EQ(next->title(), QStringLiteral("Welcome guide: where the links lead"));
    EXPECT_TRUE(desktop.isEmpty());
    EXPECT_EQ(newAlerts(), QString());
}

TEST_F(LinkRouterScenarioTest, MemberAndPhotoLinksOpenProfilesAndTheStandInsWhichSayWhatTheyDoNotDo)
{
    const CurrentUserPtr alice = CurrentUser::currentUser();
    PostDetailsController* post = openGuidePost("alice", "secret1", 1);
    ASSERT_NE(post, nullptr);
    WebView* web = post->web();

    // The long key gives 0: the alias names the member.
    auto* carol = follow<MyProfile>(web, QStringLiteral("mu:member/userid=0/u=4"));
    ASSERT_NE(carol, nullptr);
    EXPECT_EQ(carol->user()->userid(), 4);
    EXPECT_EQ(carol->selectedSection(), int(MyProfile::ProfileSection));
    EXPECT_EQ(forum().requests(QStringLiteral("member")).last().field(QStringLiteral("userid")), QStringLiteral("4"));
    EXPECT_EQ(carol->nameLabel()->text(), QStringLiteral("carol"));
    back();
    auto* own = follow<MyProfile>(web, QStringLiteral("mu:profile"));
    ASSERT_NE(own, nullptr);
    EXPECT_EQ(own->user(), CurrentUser::currentUser());
    EXPECT_EQ(own->nameLabel()->text(), QStringLiteral("alice"));
    back();

    // The messages and photos parts of the forum are stand-ins here: each
    // opens and says what it does not do.
    auto* messages = follow<PrivateMessagesController>(web, QStringLiteral("mu:private"));
    ASSERT_NE(messages, nullptr);
    EXPECT_EQ(shown(messages->emptyState()), localized("messages_empty_headline"));
    back();
    auto* compose = follow<PrivateMessageReply>(web, QStringLiteral("mu:sendmessage"));
    ASSERT_NE(compose, nullptr);
    EXPECT_EQ(shown(compose->emptyState()), localized("pmreply_empty_headline"));
    EXPECT_EQ(compose->emptyState()->message(), localized("pmreply_empty_message"));
    picture(QStringLiteral("links-private-message-reply.png"));
    back();
    auto* albums = follow<AlbumController>(web, QStringLiteral("mu:album"));
    ASSERT_NE(albums, nullptr);
    EXPECT_EQ(shown(albums->emptyState()), localized("albums_empty_headline"));
    back();
    // A member's albums: the profile on its albums section.
    auto* carolsAlbums = follow<MyProfile>(web, QStringLiteral("mu:album/u=4"));
    ASSERT_NE(carolsAlbums, nullptr);
    EXPECT_EQ(carolsAlbums->user()->userid(), 4);
    EXPECT_EQ(carolsAlbums->selectedSection(), int(MyProfile::AlbumsSection));
    EXPECT_EQ(shown(carolsAlbums->emptyState()), localized("profile_albums_empty_headline"));
    picture(QStringLiteral("links-member-albums.png"));
    back();
    // A member id that is no number names nobody: the album list instead.
    ASSERT_NE(follow<AlbumController>(web, QStringLiteral("mu:album/u=abc")), nullptr);
    back();
    auto* album = follow<PhotoController>(web, QStringLiteral("mu:album/albumid=12"));
    ASSERT_NE(album, nullptr);
    ASSERT_NE(album->album(), nullptr);
    EXPECT_EQ(album->album()->albumid(), 12);
    EXPECT_EQ(shown(album->emptyState()), localized("photos_empty_headline"));
    EXPECT_EQ(album->emptyState()->message(), localized("photos_empty_message"));
    picture(QStringLiteral("links-photo-album.png"));
    back();
    auto* photo = follow<SlideshowController>(web, QStringLiteral("mu:album/albumid=12/attachmentid=7"));
    ASSERT_NE(photo, nullptr);
    ASSERT_NE(photo->photo(), nullptr);
    EXPECT_EQ(photo->photo()->attachmentid(), 7);
    ASSERT_NE(photo->photo()->album(), nullptr);
    EXPECT_EQ(photo->photo()->album()->albumid(), 12);
    EXPECT_EQ(shown(photo->emptyState()), localized("photos_empty_headline"));
    picture(QStringLiteral("links-slideshow.png"));
    back();
    EXPECT_TRUE(desktop.isEmpty());
    EXPECT_EQ(newAlerts(), QString());
}

TEST_F(LinkRouterScenarioTest, BlogAndArticleLinksOpenEntriesListsAndArticles)
{
    PostDetailsController* post = openGuidePost("alice", "secret1", 2);
    ASSERT_NE(post, nullptr);
    WebView* web = post->web();
    const auto lastList = [&] { return forum().requests(QStringLiteral("blog_list")).last(); };
    // The titles of the entries a blog home lists, once they came.
    const auto listed = [&](BlogHomeScreenViewController* home) {
        EXPECT_TRUE(waitUntil([&] { return !home->table()->rowsForSection(0).isEmpty(); }));
        settleAndFinish();
        // As the rows show them.
        QStringList titles;
        const int rows = int(home->table()->rowsForSection(0).size());
        for (int row = 0; row < rows; ++row) {
            if (TableViewCell* cell = home->table()->tableView()->cellForRowAtIndexPath(IndexPath{0, row}))
                titles.append(cell->textLabel()->text());
        }
        return titles;
    };

    // The blog home without a list says that the blogs are not browsed here.
    auto* blogs = follow<BlogHomeScreenViewController>(web, QStringLiteral("mu:blog"));
    ASSERT_NE(blogs, nullptr);
    EXPECT_EQ(shown(blogs->emptyState()), localized("blogs_empty_headline"));
    back();

    auto* entry = follow<BlogPostExpanded>(web, QStringLiteral("mu:blog/b=1"));
    ASSERT_NE(entry, nullptr);
    ASSERT_TRUE(waitUntil([&] { return !entry->webView()->shownText().isEmpty(); }));
    EXPECT_EQ(forum().requests(QStringLiteral("blog_blog")).last().field(QStringLiteral("blogid")), QStringLiteral("1"));
    EXPECT_TRUE(entry->webView()->shownText().startsWith(QStringLiteral("Sixty kilometres")));
    back();
    entry = follow<BlogPostExpanded>(web, QStringLiteral("mu:entry/bt=2"));
    ASSERT_NE(entry, nullptr);
    ASSERT_TRUE(waitUntil([&] { return !entry->webView()->shownText().isEmpty(); }));
    EXPECT_EQ(entry->titleLabel()->text(), QStringLiteral("Maps & map-making for beginners"));
    back();

    // Lists of entries go to the blog home's list, which keeps them when its
    // view is there: by category, by category and member, by name, by tag.
    auto* travel = follow<BlogHomeScreenViewController>(web, QStringLiteral("mu:blog/blogcategoryid=1"));
    ASSERT_NE(travel, nullptr);
    EXPECT_EQ(listed(travel).size(), 2);
    EXPECT_EQ(lastList().field(QStringLiteral("blogcategoryid")), QStringLiteral("1"));
    EXPECT_TRUE(lastList().field(QStringLiteral("userid")).isEmpty());
    EXPECT_TRUE(travel->emptyState()->isHidden());
    picture(QStringLiteral("links-blog-category.png"));
    back();
    auto* nours = follow<BlogHomeScreenViewController>(web, QStringLiteral("mu:blog/blogcategoryid=1/u=9"));
    ASSERT_NE(nours, nullptr);
    EXPECT_EQ(listed(nours).size(), 1);
    EXPECT_EQ(lastList().field(QStringLiteral("userid")), QStringLiteral("9"));
    back();
    auto* alices = follow<BlogHomeScreenViewController>(web, QStringLiteral("mu:blog/username=alice"));
    ASSERT_NE(alices, nullptr);
    EXPECT_EQ(listed(alices), QStringList{QStringLiteral("Cycling the coast, day one")});
    EXPECT_EQ(lastList().field(QStringLiteral("username")), QStringLiteral("alice"));
    back();
    auto* maps = follow<BlogHomeScreenViewController>(web, QStringLiteral("mu:blog/tag=maps"));
    ASSERT_NE(maps, nullptr);
    EXPECT_EQ(listed(maps), QStringList{QStringLiteral("Maps & map-making for beginners")});
    back();

    // A member's blog is a stand-in that says so.
    auto* carols = follow<MemberBlogHomeViewController>(web, QStringLiteral("mu:blog/u=4"));
    ASSERT_NE(carols, nullptr);
    EXPECT_EQ(carols->userId(), 4);
    EXPECT_EQ(shown(carols->emptyState()), localized("memberblog_empty_headline"));
    EXPECT_EQ(carols->emptyState()->message(), localized("memberblog_empty_message"));
    picture(QStringLiteral("links-member-blog.png"));
    back();

    // Articles: the list, also for an article id below 2, and an article by
    // its id, which says that it has no text to show.
    auto* articles = follow<ArticleListController>(web, QStringLiteral("mu:content"));
    ASSERT_NE(articles, nullptr);
    EXPECT_EQ(shown(articles->emptyState()), localized("articles_empty_headline"));
    back();
    ASSERT_NE(follow<ArticleListController>(web, QStringLiteral("mu:list/r=1")), nullptr);
    back();
    auto* article = follow<ArticleDetails>(web, QStringLiteral("mu:content/r=2"));
    ASSERT_NE(article, nullptr);
    EXPECT_EQ(article->article()->threadid(), 2);
    EXPECT_EQ(shown(article->emptyState()), localized("article_missing_headline"));
    back();
    EXPECT_TRUE(desktop.isEmpty());
    EXPECT_EQ(newAlerts(), QString());
}

TEST_F(LinkRouterScenarioTest, LinksToWhatIsGoneOpenTheirScreenWhichSaysSo)
{
    PostDetailsController* post = openGuidePost("alice", "secret1", 4);
    ASSERT_NE(post, nullptr);
    WebView* web = post->web();
    const QString gone = tableText(QStringLiteral("invalidid"));

    // The thread page and the thread list say it as they say every refusal,
    // and wait for nothing more.
    auto* deleted = follow<PostController>(web, QStringLiteral("mu:showthread/t=306"));
    ASSERT_NE(deleted, nullptr);
    EXPECT_EQ(deleted->thread()->threadid(), 306);
    picture(QStringLiteral("links-deleted-thread.png"));
    EXPECT_EQ(newAlerts(), gone);
    EXPECT_TRUE(deleted->loadingWrapper()->isHidden());
    back();
    auto* closed = follow<ThreadController>(web, QStringLiteral("mu:forumdisplay/forumid=77"));
    ASSERT_NE(closed, nullptr);
    EXPECT_EQ(closed->forum()->forumid(), 77);
    EXPECT_EQ(newAlerts(), gone);
    EXPECT_TRUE(closed->loadingWrapper()->isHidden());
    back();

    // The post page, the profile and the blog entry say it on screen too.
    auto* removed = follow<PostDetailsController>(web, QStringLiteral("mu:showthread/p=99999"));
    ASSERT_NE(removed, nullptr);
    EXPECT_EQ(newAlerts(), gone);
    EXPECT_EQ(removed->web()->shownText(), gone);
    picture(QStringLiteral("links-removed-post.png"));
    back();
    auto* left = follow<MyProfile>(web, QStringLiteral("mu:member/u=999"));
    ASSERT_NE(left, nullptr);
    EXPECT_EQ(left->user()->userid(), 999);
    EXPECT_EQ(newAlerts(), gone);
    EXPECT_EQ(shown(left->emptyState()), localized("profile_failed_headline"));
    EXPECT_EQ(left->emptyState()->message(), gone);
    picture(QStringLiteral("links-unknown-member.png"));
    back();
    auto* entry = follow<BlogPostExpanded>(web, QStringLiteral("mu:blog/b=99"));
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(newAlerts(), gone);
    EXPECT_EQ(shown(entry->emptyState()), localized("content_failed_headline"));
    picture(QStringLiteral("links-removed-blog-entry.png"));
    back();
    EXPECT_EQ(topScreen(), post);
}

TEST_F(LinkRouterScenarioTest, LinksOfOtherSchemesAndAFileAttachmentNeverReachTheDesktopOrTheDisk)
{
    ASSERT_NE(signIn("alice", "secret1"), nullptr);
    PostController* guide = openGuide();
    ASSERT_NE(guide, nullptr);

    // On the thread page, the staff post's picture link names a file on
    // this computer: a tap on it is refused.
    const IndexPath staff{0, 5};
    ShadowedTableView* table = guide->postTable()->tableView();
    table->scrollToRowAtIndexPath(staff, TableViewScrollPosition::Middle, false);
    finishAnimations();
    auto* row = dynamic_cast<PostCell*>(table->cellForRowAtIndexPath(staff));
    ASSERT_NE(row, nullptr);
    AttachmentLineItem* fileLink = nullptr;
    for (View* strip : row->message()->subviews()) {
        if (auto* links = dynamic_cast<ImageAttachmentLinkView*>(strip))
            fileLink = links->items().value(0);
    }
    ASSERT_NE(fileLink, nullptr);
    EXPECT_EQ(fileLink->attachment()->url(), QStringLiteral("file:///etc/hostname"));
    tap(fileLink->filename());
    EXPECT_EQ(newAlerts(), localized("link_refused"));
    EXPECT_TRUE(desktop.isEmpty());
    EXPECT_EQ(topScreen(), guide);

    PostDetailsController* post = openPost(guide, 5);
    ASSERT_NE(post, nullptr);
    WebView* web = post->web();
    const QString page = web->shownText();
    picture(QStringLiteral("links-other-schemes.png"));
    // A file, a script, mail, and the picture's link to a file: each is
    // refused with a word, and the page stays as it was.
    for (const char* link : {"file:///etc/hostname", "javascript:alert(1)", "mailto:moderator@forum.example"}) {
        tapLink(web, QString::fromLatin1(link));
        EXPECT_EQ(newAlerts(), localized("link_refused")) << link;
    }
    EXPECT_TRUE(post->page().contains(QStringLiteral("<a href=\"file:///etc/hostname\"><img")));
    EXPECT_EQ(web->shownText(), page);
    EXPECT_EQ(topScreen(), post);
    // An in-app command this application does not know leads nowhere, and says so.
    tapLink(web, QStringLiteral("mu:teleport/u=4"));
    EXPECT_EQ(newAlerts(), localized("link_leads_nowhere"));
    EXPECT_TRUE(desktop.isEmpty());

    // A tap with the mouse on the link written "MU:forum": the scheme in
    // capitals is no in-app link, however the address reads.
    QRectF capitals;
    for (const auto& [href, frame] : web->linkFrames()) {
        if (href == u"MU:forum")
            capitals = frame;
    }
    ASSERT_FALSE(capitals.isEmpty());
    tapAt(web->convertPoint(capitals.center(), nullptr));
    settleAndFinish();
    EXPECT_EQ(newAlerts(), localized("link_refused"));
    EXPECT_EQ(topScreen(), post);

    // The web link leaves for the desktop's browser, and only it.
    tapLink(web, QStringLiteral("https://forum.example/help"));
    EXPECT_EQ(desktop, QList<QUrl>{QUrl(QStringLiteral("https://forum.example/help"))});
    EXPECT_EQ(newAlerts(), QString());
    EXPECT_EQ(topScreen(), post);
}

TEST_F(LinkRouterScenarioTest, LoginAndRegisterLinksAskAMemberBeforeSigningOut)
{
    PostDetailsController* post = openGuidePost("alice", "secret1", 3);
    ASSERT_NE(post, nullptr);
    const int stack = int(screens().size());

    // The member is asked first; "Cancel" leaves everything as it was.
    tapLink(post->web(), QStringLiteral("mu:login"));
    QList<std::shared_ptr<AlertView>> asked = alertsOnScreen();
    ASSERT_EQ(asked.size(), 1);
    EXPECT_EQ(asked.first()->title(), QString());
    EXPECT_EQ(asked.first()->message(), localized("home_logout_confirmation"));
    EXPECT_EQ(asked.first()->buttonTitles(), QStringList({localized("cancel"), localized("ok")}));
    picture(QStringLiteral("links-login-confirmation.png"));
    tapAlertButton(0);
    settleAndFinish();
    EXPECT_TRUE(alertsOnScreen().isEmpty());
    EXPECT_FALSE(LogoutHelper::goToRegister());
    EXPECT_TRUE(CurrentUser::currentUser()->isMember());
    EXPECT_EQ(topScreen(), post);
    EXPECT_EQ(screens().size(), stack);
    EXPECT_TRUE(forum().requests(QStringLiteral("login_logout")).isEmpty());

    // "Register" asks too; "OK" signs the member out, and the registration
    // opens above a new login screen.
    tapLink(post->web(), QStringLiteral("mu:register"));
    asked = alertsOnScreen();
    ASSERT_EQ(asked.size(), 1);
    EXPECT_EQ(asked.first()->message(), localized("home_logout_confirmation"));
    EXPECT_TRUE(LogoutHelper::goToRegister());
    tapAlertButton(1);
    settleAndFinish();
    EXPECT_FALSE(CurrentUser::currentUser()->isMember());
    EXPECT_EQ(forum().requests(QStringLiteral("login_logout")).size(), 1);
    ASSERT_EQ(screens().size(), 2);
    EXPECT_NE(dynamic_cast<LoginController*>(screens().first().get()), nullptr);
    EXPECT_NE(topScreenAs<RegistrationController>(), nullptr);
    EXPECT_TRUE(alertsOnScreen().isEmpty());
    picture(QStringLiteral("links-register.png"));
}

TEST_F(LinkRouterScenarioTest, AGuestsLoginAndRegisterLinksOpenTheirScreensAtOnce)
{
    ASSERT_NE(signIn(nullptr, nullptr), nullptr);
    EXPECT_FALSE(CurrentUser::currentUser()->isMember());
    PostController* guide = openGuide();
    ASSERT_NE(guide, nullptr);
    PostDetailsController* post = openPost(guide, 3);
    ASSERT_NE(post, nullptr);

    // A guest has nothing to sign out of: the registration opens at once,
    // above the login screen.
    tapLink(post->web(), QStringLiteral("mu:register"));
    EXPECT_TRUE(alertsOnScreen().isEmpty());
    ASSERT_EQ(screens().size(), 2);
    EXPECT_NE(dynamic_cast<LoginController*>(screens().first().get()), nullptr);
    ASSERT_NE(topScreenAs<RegistrationController>(), nullptr);
    back();
    auto* login = topScreenAs<LoginController>();
    ASSERT_NE(login, nullptr);
    ASSERT_TRUE(waitUntil([&] { return login->skipNowButton()->isEnabled(); }));
    tap(login->skipNowButton());
    ASSERT_TRUE(waitUntil([&] { return topScreenAs<HomeController>() != nullptr; }));
    settleAndFinish();

    // The login link: the login screen, alone.
    guide = openGuide();
    ASSERT_NE(guide, nullptr);
    post = openPost(guide, 3);
    ASSERT_NE(post, nullptr);
    tapLink(post->web(), QStringLiteral("mu:login"));
    EXPECT_TRUE(alertsOnScreen().isEmpty());
    ASSERT_EQ(screens().size(), 1);
    login = topScreenAs<LoginController>();
    ASSERT_NE(login, nullptr);
    EXPECT_TRUE(forum().requests(QStringLiteral("login_logout")).isEmpty());
    picture(QStringLiteral("links-guest-login.png"));

    // Signed in from there, the member reads on.
    ASSERT_TRUE(waitUntil([&] { return login->skipNowButton()->isEnabled(); }));
    type(login->fieldWithTag(1), QStringLiteral("bob"));
    type(login->fieldWithTag(2), QStringLiteral("secret2"));
    tap(login->loginButton());
    ASSERT_TRUE(waitUntil([&] { return topScreenAs<HomeController>() != nullptr; }));
    settleAndFinish();
    EXPECT_TRUE(CurrentUser::currentUser()->isMember());
    EXPECT_EQ(CurrentUser::currentUser()->username(), QStringLiteral("bob"));
}

TEST_F(LinkRouterScenarioTest, BlogEntriesAndArticlesHandTheirLinksToTheRouterAndPostHeadersOpenTheAuthor)
{
    HomeController* home = signIn("alice", "secret1");
    ASSERT_NE(home, nullptr);

    // The newest article's second page links to a thread.
    home->state().newTop()->setSearchType(NewTopSearch::Articles);
    ASSERT_TRUE(waitUntil([&] { return !named<PaginableTableView>(home, "news")->rowsForSection(0).isEmpty(); }));
    settleAndFinish();
    tapRow(named<PaginableTableView>(home, "news")->tableView(), IndexPath{0, 0});
    auto* article = topScreenAs<ArticleDetails>();
    ASSERT_NE(article, nullptr);
    settleAndFinish();
    ASSERT_NE(article->pageSelector(), nullptr);
    tap(article->pageSelector()->next());
    auto* photos = follow<PostController>(article->webView(), QStringLiteral("mu:showthread/t=302"));
    ASSERT_NE(photos, nullptr);
    EXPECT_EQ(photos->thread()->threadid(), 302);
    ASSERT_TRUE(waitUntil([&] { return !photos->postTable()->rowsForSection(0).isEmpty(); }));
    settleAndFinish();

    // A post row's header opens its author's profile.
    const auto first = std::dynamic_pointer_cast<Post>(photos->postTable()->rowsForSection(0).first());
    ASSERT_NE(first, nullptr);
    ShadowedTableView* table = photos->postTable()->tableView();
    table->scrollToRowAtIndexPath(IndexPath{0, 0}, TableViewScrollPosition::Top, false);
    finishAnimations();
    auto* row = dynamic_cast<PostCell*>(table->cellForRowAtIndexPath(IndexPath{0, 0}));
    ASSERT_NE(row, nullptr);
    tap(row->headerButton());
    settleAndFinish();
    auto* author = topScreenAs<MyProfile>();
    ASSERT_NE(author, nullptr);
    EXPECT_EQ(author->user()->userid(), first->user()->userid());
    EXPECT_EQ(author->nameLabel()->text(), first->user()->username());
    back();
    EXPECT_EQ(topScreen(), photos);
    back();
    back();

    // The guide's entry link, then the entry's own link to a member's albums.
    PostController* guide = openGuide();
    ASSERT_NE(guide, nullptr);
    PostDetailsController* post = openPost(guide, 2);
    ASSERT_NE(post, nullptr);
    // The single post's header opens its author too.
    tap(post->headerButton());
    settleAndFinish();
    auto* moderator = topScreenAs<MyProfile>();
    ASSERT_NE(moderator, nullptr);
    EXPECT_EQ(moderator->user()->username(), QStringLiteral("moderator"));
    EXPECT_EQ(moderator->selectedSection(), int(MyProfile::ProfileSection));
    back();
    auto* entry = follow<BlogPostExpanded>(post->web(), QStringLiteral("mu:entry/bt=2"));
    ASSERT_NE(entry, nullptr);
    ASSERT_TRUE(waitUntil([&] { return hasLink(entry->webView(), QStringLiteral("mu:album/u=4")); }));
    auto* albums = follow<MyProfile>(entry->webView(), QStringLiteral("mu:album/u=4"));
    ASSERT_NE(albums, nullptr);
    EXPECT_EQ(albums->user()->userid(), 4);
    EXPECT_EQ(albums->selectedSection(), int(MyProfile::AlbumsSection));
    EXPECT_TRUE(desktop.isEmpty());
    EXPECT_EQ(newAlerts(), QString());
}

TEST_F(LinkRouterScenarioTest, WritingLinksOpenTheComposersForAMemberAndTellAGuestToSignInFirst)
{
    // A member: each opens its screen, on what the link names.
    ASSERT_NE(signIn("alice", "secret1"), nullptr);
    PostController* guide = openGuide();
    ASSERT_NE(guide, nullptr);
    PostDetailsController* post = openPost(guide, 3);
    ASSERT_NE(post, nullptr);
    auto* newThread = follow<CreateContent>(post->web(), QStringLiteral("mu:newthread/f=3"));
    ASSERT_NE(newThread, nullptr);
    ASSERT_NE(newThread->forum(), nullptr);
    EXPECT_EQ(newThread->forum()->forumid(), 3);
    back();
    auto* reply = follow<Reply>(post->web(), QStringLiteral("mu:newreply/t=302"));
    ASSERT_NE(reply, nullptr);
    EXPECT_EQ(forum().requests(QStringLiteral("newreply_newreply")).last().field(QStringLiteral("threadid")),
              QStringLiteral("302"));
    back();
    ASSERT_NE(follow<SearchController>(post->web(), QStringLiteral("mu:search")), nullptr);
    back();
    EXPECT_EQ(newAlerts(), QString());

    // A guest: the search opens; what would write is refused at once, said
    // once, and no composer opens to be refused by the forum.
    quit();
    CurrentUser::currentUser()->logout();
    settleAndFinish();
    ASSERT_NE(signIn(nullptr, nullptr), nullptr);
    ASSERT_FALSE(CurrentUser::currentUser()->isMember());
    guide = openGuide();
    ASSERT_NE(guide, nullptr);
    post = openPost(guide, 3);
    ASSERT_NE(post, nullptr);
    const int stack = int(screens().size());
    const int forms = int(forum().requests(QStringLiteral("newreply_newreply")).size()
                          + forum().requests(QStringLiteral("newthread_newthread")).size());
    for (const char* link : {"mu:newthread/f=3", "mu:newreply/t=302", "mu:newreply/p=4900", "mu:blog_post"}) {
        tapLink(post->web(), QString::fromLatin1(link));
        EXPECT_EQ(topScreen(), post) << link;
        EXPECT_EQ(screens().size(), stack) << link;
        EXPECT_EQ(newAlerts(), tableText(QStringLiteral("nopermission_loggedout"))) << link;
    }
    EXPECT_EQ(forum().requests(QStringLiteral("newreply_newreply")).size()
                  + forum().requests(QStringLiteral("newthread_newthread")).size(),
              forms);
    ASSERT_NE(follow<SearchController>(post->web(), QStringLiteral("mu:search")), nullptr);
    EXPECT_EQ(newAlerts(), QString());
}

TEST_F(LinkRouterScenarioTest, HomeLinksOpenTheHomeScreenWithABackButtonForAMemberAndAGuest)
{
    for (const bool member : {true, false}) {
        SCOPED_TRACE(member ? "a member" : "a guest");
        if (!member) {
            quit();
            CurrentUser::currentUser()->logout();
            settleAndFinish();
        }
        ASSERT_NE(member ? signIn("alice", "secret1") : signIn(nullptr, nullptr), nullptr);
        // The home screen in its own place, on the login screen, signs in or out.
        auto* own = dynamic_cast<HomeController*>(screens().value(1).get());
        ASSERT_NE(own, nullptr);
        ASSERT_NE(own->navigationItem()->leftBarButtonItem(), nullptr);
        EXPECT_EQ(own->navigationItem()->leftBarButtonItem()->title(), localized(member ? "home_logout" : "login"));

        PostController* guide = openGuide();
        ASSERT_NE(guide, nullptr);
        PostDetailsController* post = openPost(guide, 0);
        ASSERT_NE(post, nullptr);
        for (const char* link : {"mu:index", "mu:subscription"}) {
            auto* home = follow<HomeController>(post->web(), QString::fromLatin1(link));
            ASSERT_NE(home, nullptr) << link;
            // Back where the link was, as from every screen a link opens.
            NavigationBar* bar = delegate()->controller()->navigationBar();
            EXPECT_FALSE(home->navigationItem()->leftBarButtonItem()) << link;
            EXPECT_EQ(bar->leftButtonView(), nullptr) << link << ": sign-in or sign-out stands where back was";
            ASSERT_NE(bar->backButtonView(), nullptr) << link;
            EXPECT_EQ(bar->backButtonView()->shownTitle(), post->title()) << link;
            // The back button keeps clear of the home screen's menu button.
            ASSERT_NE(home->navButton(), nullptr);
            EXPECT_LE(bar->backButtonView()->frame().right(), home->navButton()->frame().left()) << link;
            if (member && QString::fromLatin1(link) == u"mu:subscription")
                picture(QStringLiteral("links-home-back.png"));
            clickBack();
            EXPECT_EQ(topScreen(), post) << link;
        }
        EXPECT_EQ(own->navigationItem()->leftBarButtonItem()->title(), localized(member ? "home_logout" : "login"));
        EXPECT_EQ(newAlerts(), QString());
    }
    EXPECT_TRUE(desktop.isEmpty());
}

TEST_F(LinkRouterScenarioTest, AnAnnouncementsLinksGoThroughTheRouterAndTheVetoAsAPostsDo)
{
    ASSERT_NE(signIn("alice", "secret1"), nullptr);
    // General Discussion from the index, then its announcement of prefixes.
    auto index = ViewControllerRegistry::create(QStringLiteral("ForumController"));
    delegate()->controller()->pushViewController(index, false);
    auto* forums = dynamic_cast<ForumController*>(index.get());
    ASSERT_TRUE(waitUntil([&] { return forums->forumTable()->numberOfSections() > 0; }));
    settleAndFinish();
    tapRow(forums->forumTable(), IndexPath{0, 1});
    auto* threads = topScreenAs<ThreadController>();
    ASSERT_NE(threads, nullptr);
    ASSERT_TRUE(waitUntil([&] { return !threads->threadTable()->rowsForSection(0).isEmpty(); }));
    settleAndFinish();
    const QList<ModelPtr> rows = threads->threadTable()->rowsForSection(0);
    for (int row = 0; row < rows.size(); ++row) {
        const auto* thread = dynamic_cast<const Thread*>(rows.at(row).get());
        if (thread && thread->isAnnouncement() && thread->threadid() == 2)
            tapRow(threads->threadTable()->tableView(), IndexPath{0, row});
    }
    auto* announcement = topScreenAs<AnnouncementDetailsController>();
    ASSERT_NE(announcement, nullptr);
    WebView* web = announcement->web();
    ASSERT_TRUE(waitUntil([&] { return web->linkFrames().size() == 3; }));
    settleAndFinish();
    EXPECT_EQ(web->delegate(), announcement);
    picture(QStringLiteral("links-announcement.png"));
    const QString page = web->shownText();

    // The in-app link opens its thread, with the way back.
    clickLink(web, QStringLiteral("mu:showthread/t=307"));
    auto* thread = topScreenAs<PostController>();
    ASSERT_NE(thread, nullptr);
    EXPECT_EQ(thread->thread()->threadid(), 307);
    ASSERT_TRUE(waitUntil([&] { return !thread->postTable()->rowsForSection(0).isEmpty(); }));
    clickBack();
    ASSERT_EQ(topScreen(), announcement);
    // The web link leaves for the desktop's browser; the mail link is
    // refused with a word; the page stays as it was.
    clickLink(web, QStringLiteral("https://example.org/help/prefixes"));
    EXPECT_EQ(desktop, QList<QUrl>{QUrl(QStringLiteral("https://example.org/help/prefixes"))});
    EXPECT_EQ(newAlerts(), QString());
    clickLink(web, QStringLiteral("mailto:staff@example.org"));
    EXPECT_EQ(newAlerts(), localized("link_refused"));
    EXPECT_EQ(desktop.size(), 1);
    EXPECT_EQ(topScreen(), announcement);
    EXPECT_EQ(web->shownText(), page);
}
