#include "NeighbourScreenTest.h"

#include "neighbours/screens/ArticleDetails.h"
#include "neighbours/screens/BlogHomeScreenViewController.h"
#include "neighbours/screens/BlogPostExpanded.h"
#include "neighbours/screens/FriendsController.h"
#include "neighbours/screens/MyProfile.h"
#include "neighbours/screens/NotificationsController.h"
#include "neighbours/screens/ProfileController.h"

#include "app/widgets/PaginableTableView.h"
#include "neighbours/blogs/BlogEntriesModel.h"
#include "platform/ui/Screenshot.h"
#include "platform/ui/SegmentedControl.h"
#include "platform/ui/TableView.h"
#include "platform/ui/ViewControllerRegistry.h"

#include <QJsonArray>
#include <QSet>

// Renders each stand-in screen on a phone screen to PNG files under the
// build folder (gallery/), to be looked at; checks that each picture was
// written and shows more than a blank screen.
namespace {

class StandInGalleryTest : public NeighbourScreenTest {
protected:
    void save(const QString& name) { savePicture(name, 8); }
};

}  // namespace

TEST_F(StandInGalleryTest, TheListScreensEmptyStates)
{
    for (const char* name : {"ArticleListController", "PrivateMessagesController", "AlbumController",
                             "PrivateMessageReply", "MemberBlogHomeViewController", "PhotoController",
                             "SlideshowController"}) {
        showAsRoot(ViewControllerRegistry::create(QString::fromLatin1(name)));
        save(QStringLiteral("standin-%1.png").arg(QString::fromLatin1(name)));
    }
    // Pushed above another screen: the back button, no menu button.
    showAsRoot(ViewControllerRegistry::create(QStringLiteral("AlbumController")));
    navigation()->pushViewController(ViewControllerRegistry::create(QStringLiteral("PhotoController")), false);
    save(QStringLiteral("standin-PhotoController-pushed.png"));
}

TEST_F(StandInGalleryTest, NotificationsListedAndNone)
{
    signIn(QStringLiteral("moderator"), QStringLiteral("modpass"));
    showAsRoot<NotificationsController>();
    save(QStringLiteral("standin-notifications-loading.png"));
    settleAll();
    save(QStringLiteral("standin-notifications.png"));
    ForumInfo::clearInstance();
    save(QStringLiteral("standin-notifications-none.png"));
}

TEST_F(StandInGalleryTest, TheMembersProfileAndItsSections)
{
    signIn(QStringLiteral("carol"), QStringLiteral("secret4"));
    showAsRoot<ProfileController>();
    settleAll();
    // The avatar's picture comes through the image cache.
    EXPECT_TRUE(waitFor([] { return !CurrentUser::currentUser()->avatar().isNull(); }));
    finishMoving();
    save(QStringLiteral("standin-myprofile.png"));
    auto* profile = dynamic_cast<MyProfile*>(navigation()->topViewController());
    ASSERT_NE(profile, nullptr);
    profile->sections()->setSelectedSegmentIndex(MyProfile::FriendsSection);
    profile->sectionChanged();
    save(QStringLiteral("standin-myprofile-friends.png"));
    navigation()->popViewControllerAnimated(false);
    save(QStringLiteral("standin-profilecontroller.png"));

    signIn(QStringLiteral("alice"), QStringLiteral("secret1"));
    showAsRoot<ProfileController>();
    settleAll();
    save(QStringLiteral("standin-myprofile-empty.png"));
}

TEST_F(StandInGalleryTest, TheFriendsListFullAndEmptyAndAFriendsProfile)
{
    signIn(QStringLiteral("carol"), QStringLiteral("secret4"));
    auto friends = showAsRoot<FriendsController>();
    settleAll();
    EXPECT_TRUE(waitFor([&] {
        for (const FriendPtr& member : friends->friends()) {
            if (member->avatar().isNull())
                return false;
        }
        return !friends->friends().isEmpty();
    }));
    save(QStringLiteral("standin-friends.png"));
    auto dave = Model::create<Friend>();
    dave->setUserid(forum().memberId(QStringLiteral("dave")));
    dave->setUsername(QStringLiteral("dave"));
    auto profile = std::make_shared<MyProfile>(context(), QStringLiteral("MyProfile"), 0);
    navigation()->pushViewController(profile, false);
    profile->setUser(dave);
    settleAll();
    EXPECT_TRUE(waitFor([&] { return !dave->avatar().isNull(); }));
    save(QStringLiteral("standin-myprofile-other.png"));

    signIn(QStringLiteral("bob"), QStringLiteral("secret2"));
    showAsRoot<FriendsController>();
    settleAll();
    save(QStringLiteral("standin-friends-none.png"));

    // A long list ends in the row that loads more.
    forum().setMethodHandler(QStringLiteral("profile_buddylist"), [](const TestForumRequest&, int) {
        QJsonArray entries;
        for (int i = 0; i < 10; ++i) {
            entries.append(QJsonObject{{QStringLiteral("userid"), QString::number(100 + i)},
                                       {QStringLiteral("username"), QStringLiteral("member%1").arg(i)},
                                       {QStringLiteral("usertitle"), QStringLiteral("Junior Member")},
                                       {QStringLiteral("friendcheck_checked"), 1}});
        }
        return QJsonObject{{QStringLiteral("response"),
                            QJsonObject{{QStringLiteral("HTML"),
                                         QJsonObject{{QStringLiteral("buddylist"), entries},
                                                     {QStringLiteral("pagenav"),
                                                      QJsonObject{{QStringLiteral("pagenumber"), 1},
                                                                  {QStringLiteral("totalpages"), 3}}}}}}}};
    });
    auto many = showAsRoot<FriendsController>();
    settleAll();
    many->tableView()->scrollToRowAtIndexPath(IndexPath::indexPathForRow(10, 0), TableViewScrollPosition::Bottom, false);
    save(QStringLiteral("standin-friends-more.png"));
}

TEST_F(StandInGalleryTest, ArticlesAndBlogEntries)
{
    openGuestSession();
    auto article = std::make_shared<ArticleDetails>(context());
    article->setArticle(Article::fromFeedRow(Value(ValueDict{
        {QStringLiteral("threadid"), Value(1)},
        {QStringLiteral("clean_title"), Value(QStringLiteral("Getting started with the Test Forum: reading, posting and searching"))},
        {QStringLiteral("comment_count"), Value(2)},
        {QStringLiteral("publish"), Value(1700000000)},
        {QStringLiteral("user"), Value(ValueDict{{QStringLiteral("username"), Value(QStringLiteral("moderator"))}})},
        {QStringLiteral("pagetext"),
         Value(QStringLiteral("[b]Welcome![/b] This guide shows how to read, post and search.\n\n"
                              "[list][*]Browse the forums from the menu.[*]Subscribe to threads you like."
                              "[*]Use search to find anything.[/list]\n[quote=carol]Read the "
                              "[url=http://example.org/rules]rules[/url] first.[/quote]Happy posting!"))},
    })));
    showAsRoot(article);
    save(QStringLiteral("standin-article.png"));
    article->setArticle(Article::initWithArticleId(3));
    save(QStringLiteral("standin-article-by-id.png"));

    showAsRoot(BlogPostExpanded::initWithModel(context(), BlogModel::getBlog(QStringLiteral("1"))));
    settleAll();
    save(QStringLiteral("standin-blog-entry.png"));

    auto blogs = std::make_shared<BlogHomeScreenViewController>(context());
    blogs->table()->setModel(BlogEntriesModel::getEntriesForTag(QStringLiteral("travel"), 1));
    showAsRoot(blogs);
    settleAll();
    save(QStringLiteral("standin-blogs-tag.png"));
    showAsRoot<BlogHomeScreenViewController>();
    save(QStringLiteral("standin-blogs.png"));
}
