#include "NeighbourScreenTest.h"

#include "neighbours/screens/MyProfile.h"
#include "neighbours/screens/NotificationsController.h"
#include "neighbours/screens/ProfileController.h"

#include "platform/ui/Screenshot.h"
#include "platform/ui/SegmentedControl.h"
#include "platform/ui/ViewControllerRegistry.h"

#include <QDir>
#include <QSet>

// Renders each stand-in screen on a phone screen to PNG files under the
// build folder (gallery/), to be looked at; checks that each picture was
// written and shows more than a blank screen.
namespace {

class StandInGalleryTest : public NeighbourScreenTest {
protected:
    void save(const QString& name)
    {
        finishMoving();
        QDir().mkpath(QStringLiteral(MU_GALLERY_DIR));
        const QString path = QDir(QStringLiteral(MU_GALLERY_DIR)).filePath(name);
        ASSERT_TRUE(Screenshot::savePNG(window.get(), path, 2));
        const QImage image(path);
        ASSERT_FALSE(image.isNull());
        QSet<QRgb> colours;
        for (int y = 130; y < image.height(); y += 3) {
            for (int x = 0; x < image.width(); x += 3)
                colours.insert(image.pixel(x, y));
        }
        EXPECT_GT(colours.size(), 8) << name.toStdString();
    }
};

}  // namespace

TEST_F(StandInGalleryTest, TheListScreensEmptyStates)
{
    for (const char* name : {"ArticleListController", "PrivateMessagesController", "FriendsController",
                             "AlbumController", "PrivateMessageReply", "MemberBlogHomeViewController",
                             "PhotoController", "SlideshowController"}) {
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
    waitFor([] { return false; }, std::chrono::milliseconds(300));
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
