#include "NeighbourScreenTest.h"

#include "neighbours/screens/AlbumController.h"
#include "neighbours/screens/MemberBlogHomeViewController.h"
#include "neighbours/screens/PhotoController.h"
#include "neighbours/screens/SlideshowController.h"
#include "neighbours/screens/StandInSectionController.h"

#include "app/model/Config.h"
#include "app/screens/GlobalNavigationViewController.h"
#include "app/widgets/RoundedRectView.h"
#include "platform/ui/Button.h"
#include "platform/ui/NavigationBar.h"
#include "platform/ui/ViewControllerRegistry.h"

#include "platform/foundation/ClassName.h"

namespace {

class StandInScreensTest : public NeighbourScreenTest {};

// Every screen the menu, the home screen, the post screens and the link
// router open by name.
const QStringList kNames{
    QStringLiteral("AlbumController"),           QStringLiteral("ArticleDetails"),
    QStringLiteral("ArticleListController"),     QStringLiteral("ArticleSettingsController"),
    QStringLiteral("BlogHomeScreenViewController"), QStringLiteral("BlogPostExpanded"),
    QStringLiteral("BlogSettingsController"),
    QStringLiteral("FriendsController"),         QStringLiteral("MemberBlogHomeViewController"),
    QStringLiteral("MyProfile"),                 QStringLiteral("NotificationsController"),
    QStringLiteral("PhotoController"),           QStringLiteral("PrivateMessageReply"),
    QStringLiteral("PrivateMessagesController"), QStringLiteral("ProfileController"),
    QStringLiteral("SlideshowController"),
};

}  // namespace

TEST_F(StandInScreensTest, EveryScreenIsMadeByItsOwnClassName)
{
    for (const QString& name : kNames) {
        ASSERT_TRUE(ViewControllerRegistry::isRegistered(name)) << name.toStdString();
        const ViewControllerPtr screen = ViewControllerRegistry::create(name);
        ASSERT_NE(screen, nullptr) << name.toStdString();
        EXPECT_EQ(className(*screen), name);
    }
    QStringList listed = NeighbourScreens::classNames();
    listed.sort();
    EXPECT_EQ(listed, kNames);
}

TEST_F(StandInScreensTest, TheListsTheApplicationDoesNotShowCarryTheirTitleAndSayWhy)
{
    QSet<QString> headlines;
    for (const char* name : {"ArticleListController", "PrivateMessagesController", "PrivateMessageReply",
                             "AlbumController", "MemberBlogHomeViewController", "PhotoController",
                             "SlideshowController"}) {
        SCOPED_TRACE(name);
        const auto screen = std::dynamic_pointer_cast<StandInSectionController>(
            ViewControllerRegistry::create(QString::fromLatin1(name)));
        ASSERT_NE(screen, nullptr);
        showAsRoot(screen);
        // Texts from the string table, not its keys.
        EXPECT_FALSE(screen->title().isEmpty());
        EXPECT_NE(screen->title(), screen->headlineKey());
        EXPECT_EQ(shown(screen->emptyState()), text(screen->headlineKey().toLatin1().constData()));
        EXPECT_NE(screen->emptyState()->headline(), screen->headlineKey());
        EXPECT_NE(screen->emptyState()->message(), screen->messageKey());
        EXPECT_FALSE(screen->emptyState()->message().isEmpty());
        headlines.insert(screen->emptyState()->headline());
        // As a section's first screen the menu button carries the title.
        ASSERT_NE(screen->navButton(), nullptr);
        EXPECT_EQ(screen->navButton()->titleForState(ControlState::Normal), screen->title());
        // The texts stay inside the screen, whatever its height.
        const QRectF root = screen->view()->bounds();
        for (Label* label : {screen->emptyState()->headlineLabel(), screen->emptyState()->messageLabel()}) {
            const QRectF frame = label->convertRect(label->bounds(), screen->view());
            EXPECT_TRUE(root.contains(frame)) << label->text().toStdString();
            EXPECT_GE(frame.height() + 0.5, label->sizeThatFits(QSizeF(frame.width(), 0)).height());
        }
    }
    // The album and photo screens share their words; every other says its own.
    EXPECT_EQ(headlines.size(), 6);
}

TEST_F(StandInScreensTest, TheScreensKeepWhatTheyAreOpenedWith)
{
    MemberBlogHomeViewController blog(context());
    blog.setUserId(4);
    EXPECT_EQ(blog.userId(), 4);
    auto album = Model::create<PhotoAlbum>();
    album->setAlbumid(12);
    PhotoController photos(context());
    photos.setAlbum(album);
    EXPECT_EQ(photos.album(), album);
    auto photo = Model::create<Photo>();
    photo->setAttachmentid(99);
    photo->setAlbum(album);
    SlideshowController slideshow(context());
    slideshow.setPhoto(photo);
    EXPECT_EQ(slideshow.photo(), photo);
}

TEST_F(StandInScreensTest, TheMenuOpensEachSectionByName)
{
    signIn(QStringLiteral("frank"), QStringLiteral("secret7"));
    Config::getInstance().setFeaturesInt(0x7FF);
    auto start = showAsRoot(std::make_shared<AlbumController>(context()));
    const QList<std::pair<void (GlobalNavigationViewController::*)(), QString>> entries{
        {&GlobalNavigationViewController::gotoArticles, QStringLiteral("ArticleListController")},
        {&GlobalNavigationViewController::gotoPrivateMessages, QStringLiteral("PrivateMessagesController")},
        {&GlobalNavigationViewController::gotoNotifications, QStringLiteral("NotificationsController")},
        {&GlobalNavigationViewController::gotoFriends, QStringLiteral("FriendsController")},
        {&GlobalNavigationViewController::gotoPhotos, QStringLiteral("AlbumController")},
    };
    for (const auto& [entry, name] : entries) {
        auto* section = dynamic_cast<MurmoraViewController*>(navigation()->topViewController());
        ASSERT_NE(section, nullptr);
        section->showGlobalNavigationView();
        GlobalNavigationViewController* menu = section->globalNavigationView();
        (menu->*entry)();
        finishMoving();
        ASSERT_NE(navigation()->topViewController(), nullptr);
        EXPECT_EQ(className(*navigation()->viewControllers().first()), name);
    }
    settleAll();
}
