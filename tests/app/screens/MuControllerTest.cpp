#include "AppTest.h"

#include "app/model/ModelMakers.h"
#include "app/screens/MuController.h"
#include "app/navigation/ScreenInputs.h"
#include "app/session/CurrentUser.h"
#include "app/session/Friend.h"

#include "platform/ui/ViewController.h"
#include "platform/ui/ViewControllerRegistry.h"

#include <QStringList>

// The link router's table, with every screen and model of the libraries
// above played by recording stand-ins: which screen each link makes, what
// model it is given, from which ids, and in what order. (The real screens,
// on the loopback forum, are the wiring's scenario.)
namespace {

// A model made by a maker: its class and the values it was made from.
class Made : public Model {
public:
    static const PropertyTable& propertyTable()
    {
        static const PropertyTable table = PropertyTable(&Model::propertyTable());
        return table;
    }
    const PropertyTable& properties() const override { return propertyTable(); }
    QString className;
    ValueDict values;
};

// A screen of a class: what it was given, and whether its view was there then.
class Target : public ViewController {
public:
    explicit Target(QString name) : className(std::move(name)) {}
    QString className;
    ModelPtr input;
    bool viewLoadedAtInput = false;
    QStringList options;
};

const QStringList kScreens{
    QStringLiteral("AlbumController"),       QStringLiteral("ArticleDetails"),
    QStringLiteral("ArticleListController"), QStringLiteral("BlogHomeScreenViewController"),
    QStringLiteral("BlogPostExpanded"),      QStringLiteral("CreateContent"),
    QStringLiteral("ForumController"),       QStringLiteral("HomeController"),
    QStringLiteral("MemberBlogHomeViewController"), QStringLiteral("MyProfile"),
    QStringLiteral("PhotoController"),       QStringLiteral("PostController"),
    QStringLiteral("PostDetailsController"), QStringLiteral("PrivateMessageReply"),
    QStringLiteral("PrivateMessagesController"), QStringLiteral("Reply"),
    QStringLiteral("SearchController"),      QStringLiteral("SlideshowController"),
    QStringLiteral("ThreadController")};
const QStringList kModels{QStringLiteral("Forum"),     QStringLiteral("Thread"),   QStringLiteral("Post"),
                          QStringLiteral("BlogModel"), QStringLiteral("BlogEntriesModel"), QStringLiteral("Article"),
                          QStringLiteral("Photo"),     QStringLiteral("PhotoAlbum")};

class MuControllerTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        for (const QString& name : kScreens) {
            ViewControllerRegistry::registerClass(name, [name] { return std::make_shared<Target>(name); });
            ScreenInputs::registerSetter(name, [](ViewController& screen, const ModelPtr& input) {
                auto& target = dynamic_cast<Target&>(screen);
                target.input = input;
                target.viewLoadedAtInput = target.isViewLoaded();
                return true;
            });
        }
        for (const QString& option : {QStringLiteral("sort"), QStringLiteral("section")}) {
            for (const QString& name : {QStringLiteral("HomeController"), QStringLiteral("MyProfile")}) {
                ScreenInputs::registerOption(name, option, [option](ViewController& screen, const Value& value) {
                    auto& target = dynamic_cast<Target&>(screen);
                    target.options.append(QStringLiteral("%1=%2%3")
                                              .arg(option, value.toString(),
                                                   target.isViewLoaded() ? QString() : QStringLiteral(" (no view)")));
                    return true;
                });
            }
        }
        for (const QString& name : kModels) {
            ModelMakers::registerMaker(name, [name](const ValueDict& values) -> ModelPtr {
                auto made = Model::create<Made>();
                made->className = name;
                made->values = values;
                return made;
            });
        }
    }
    void TearDown() override
    {
        for (const QString& name : kScreens) {
            ViewControllerRegistry::unregisterClass(name);
            ScreenInputs::unregisterSetter(name);
            ScreenInputs::unregisterOption(name, QStringLiteral("sort"));
            ScreenInputs::unregisterOption(name, QStringLiteral("section"));
        }
        for (const QString& name : kModels)
            ModelMakers::unregisterMaker(name);
        AppTest::TearDown();
    }

    // What the link opens: "Screen" alone, "Screen <- Model {key: value, ...}",
    // "Screen <- member N", with "[view first]" when the view was there
    // before the model and the options set; "nil" for no screen.
    QString opened(const char* link)
    {
        const ViewControllerPtr screen = MuController::muController(context(), QString::fromUtf8(link));
        const auto* target = dynamic_cast<const Target*>(screen.get());
        if (!screen)
            return QStringLiteral("nil");
        if (!target)
            return QStringLiteral("?");
        QString text = target->className;
        if (const auto* made = dynamic_cast<const Made*>(target->input.get())) {
            QStringList values;
            for (const auto& [key, value] : made->values)
                values.append(key + QStringLiteral(": ") + value.toString());
            text += QStringLiteral(" <- ") + made->className + QStringLiteral(" {") + values.join(QStringLiteral(", "))
                    + u'}';
        } else if (const auto* member = dynamic_cast<const Friend*>(target->input.get())) {
            text += QStringLiteral(" <- member %1").arg(member->userid());
        }
        if (target->input && target->viewLoadedAtInput)
            text += QStringLiteral(" [view first]");
        for (const QString& option : target->options)
            text += QStringLiteral(" ") + option;
        return text;
    }
};

}  // namespace

TEST_F(MuControllerTest, ForumsThreadsAndPostsByTheirIdsOrAliases)
{
    EXPECT_EQ(opened("mu:forum"), u"ForumController");
    EXPECT_EQ(opened("mu:forum/"), u"ForumController");
    EXPECT_EQ(opened("mu:index"), u"HomeController");
    EXPECT_EQ(opened("mu:subscription"), u"HomeController sort=2");
    EXPECT_EQ(opened("mu:forumdisplay/forumid=3"), u"ThreadController <- Forum {forumid: 3}");
    EXPECT_EQ(opened("mu:forumdisplay/forumid=0/f=8"), u"ThreadController <- Forum {forumid: 8}");
    EXPECT_EQ(opened("mu:showthread/t=5"), u"PostController <- Thread {threadid: 5}");
    EXPECT_EQ(opened("mu:showthread/threadid=6/t=5"), u"PostController <- Thread {threadid: 6}");
    // The post wins over the thread.
    EXPECT_EQ(opened("mu:showthread/p=9/t=5"), u"PostDetailsController <- Post {postid: 9}");
    EXPECT_EQ(opened("mu:showthread/t=5/postid=9"), u"PostDetailsController <- Post {postid: 9}");
    // A later piece of the same key wins.
    EXPECT_EQ(opened("mu:showthread/t=5/t=7"), u"PostController <- Thread {threadid: 7}");

    // A required id missing, not a number, 0 or below: no screen.
    for (const char* link : {"mu:showthread/t=abc", "mu:showthread", "mu:showthread/t=0/p=-3", "mu:forumdisplay",
                             "mu:forumdisplay/f=-1", "mu:member", "mu:member/userid=x", "mu:newthread/f=0",
                             "mu:newreply", "mu:newreply/t=/p="})
        EXPECT_EQ(opened(link), u"nil") << link;
    // Not an in-app link, or a command the table does not have.
    for (const char* link : {"MU:forum", "http://forum.example/mu:forum", "mu:Forum", "mu://forum", "mu:",
                             "mu:teleport/t=5", ""})
        EXPECT_EQ(opened(link), u"nil") << link;
}

TEST_F(MuControllerTest, MembersMessagesAndAlbums)
{
    EXPECT_EQ(opened("mu:member/userid=0/u=7"), u"MyProfile <- member 7");
    EXPECT_EQ(opened("mu:private"), u"PrivateMessagesController");
    EXPECT_EQ(opened("mu:sendmessage"), u"PrivateMessageReply");

    // Without a member signed in there is no own profile; with one, it is the user's.
    EXPECT_EQ(opened("mu:profile"), u"nil");
    const CurrentUserPtr user = CurrentUser::currentUser();
    user->setUserid(1);
    user->setAnonymous(false);
    const ViewControllerPtr own = MuController::muController(context(), QStringLiteral("mu:profile"));
    ASSERT_NE(own, nullptr);
    EXPECT_EQ(dynamic_cast<Target&>(*own).input, user);
    user->setAnonymous(true);
    EXPECT_EQ(opened("mu:profile"), u"nil");

    // Albums: a photo, an album, the album list, or a member's albums on
    // the profile's albums section (its view there first).
    EXPECT_EQ(opened("mu:album/albumid=4/attachmentid=9"), u"SlideshowController <- Photo {attachmentid: 9, albumid: 4}");
    EXPECT_EQ(opened("mu:album/attachmentid=9"), u"SlideshowController <- Photo {attachmentid: 9, albumid: 0}");
    EXPECT_EQ(opened("mu:album/albumid=4/u=7"), u"PhotoController <- PhotoAlbum {albumid: 4}");
    EXPECT_EQ(opened("mu:album"), u"AlbumController");
    EXPECT_EQ(opened("mu:album/u=7"), u"MyProfile <- member 7 section=3");
    EXPECT_EQ(opened("mu:album/userid=0/u=7"), u"MyProfile <- member 7 section=3");
    // A member id below 1 names nobody: the album list.
    for (const char* link : {"mu:album/u=abc", "mu:album/userid=0", "mu:album/u=-2", "mu:album/u="})
        EXPECT_EQ(opened(link), u"AlbumController") << link;
}

TEST_F(MuControllerTest, BlogsAndArticlesFirstRuleThatMatches)
{
    EXPECT_EQ(opened("mu:blog/b=3/blogcategoryid=1/u=7"), u"BlogPostExpanded <- BlogModel {blogid: 3}");
    EXPECT_EQ(opened("mu:entry/blogid=0/b=4"), u"BlogPostExpanded <- BlogModel {blogid: 4}");
    // A list goes to the blog home once its view (and list) is there.
    EXPECT_EQ(opened("mu:blog/blogcategoryid=2"), u"BlogHomeScreenViewController <- BlogEntriesModel {blogcategoryid: 2} [view first]");
    EXPECT_EQ(opened("mu:blog/blogcategoryid=2/u=7/username=anna"),
              u"BlogHomeScreenViewController <- BlogEntriesModel {blogcategoryid: 2, userid: 7} [view first]");
    EXPECT_EQ(opened("mu:blog/u=7/bt=5"), u"MemberBlogHomeViewController <- member 7");
    EXPECT_EQ(opened("mu:entry/bt=5/username=anna"), u"BlogPostExpanded <- BlogModel {blogid: 5}");
    EXPECT_EQ(opened("mu:blog/username=anna/tag=maps"),
              u"BlogHomeScreenViewController <- BlogEntriesModel {username: anna} [view first]");
    EXPECT_EQ(opened("mu:blog/tag=maps"), u"BlogHomeScreenViewController <- BlogEntriesModel {tag: maps} [view first]");
    EXPECT_EQ(opened("mu:blog"), u"BlogHomeScreenViewController");

    EXPECT_EQ(opened("mu:content/r=2"), u"ArticleDetails <- Article {articleid: 2}");
    EXPECT_EQ(opened("mu:list/r=12abc"), u"ArticleDetails <- Article {articleid: 12}");
    for (const char* link : {"mu:content/r=1", "mu:content/r=x", "mu:content", "mu:list/blogid=5"})
        EXPECT_EQ(opened(link), u"ArticleListController") << link;
}

TEST_F(MuControllerTest, ComposingAndSearch)
{
    // A guest writes nothing: each is carried out here (an alert says why), search is his too.
    for (const char* link : {"mu:newreply/t=5", "mu:newthread/f=3", "mu:blog_post"}) {
        EXPECT_EQ(opened(link), u"nil") << link;
        EXPECT_TRUE(MuController::carriesOut(context(), QString::fromLatin1(link))) << link;
    }
    EXPECT_EQ(opened("mu:search"), u"SearchController");
    EXPECT_FALSE(MuController::carriesOut(context(), QStringLiteral("mu:search")));

    const CurrentUserPtr user = CurrentUser::currentUser();
    user->setUserid(1);
    user->setAnonymous(false);
    EXPECT_FALSE(MuController::carriesOut(context(), QStringLiteral("mu:newreply/t=5")));
    // A reply to a thread wins over a quote of a post.
    EXPECT_EQ(opened("mu:newreply/t=5/p=9"), u"Reply <- Thread {threadid: 5}");
    EXPECT_EQ(opened("mu:newreply/p=9"), u"Reply <- Post {postid: 9}");
    // A new thread: the composer's view first, then its forum.
    EXPECT_EQ(opened("mu:newthread/f=3"), u"CreateContent <- Forum {forumid: 3} [view first]");
    EXPECT_EQ(opened("mu:blog_post"), u"CreateContent");
    EXPECT_EQ(opened("mu:search"), u"SearchController");

    // A screen this build does not have: no screen, no crash.
    ViewControllerRegistry::unregisterClass(QStringLiteral("Reply"));
    ViewControllerRegistry::unregisterClass(QStringLiteral("SearchController"));
    EXPECT_EQ(opened("mu:newreply/t=5"), u"nil");
    EXPECT_EQ(opened("mu:search"), u"nil");
    ModelMakers::unregisterMaker(QStringLiteral("Forum"));
    EXPECT_EQ(opened("mu:forumdisplay/f=3"), u"nil");
}
