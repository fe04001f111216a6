#include "HomeScreenTest.h"
#include "NamedView.h"
#include "ImagePickerStub.h"

#include "app/session/CurrentUser.h"
#include "platform/ui/ActionSheet.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/ResourceImages.h"
#include "platform/ui/Screenshot.h"

#include "platform/foundation/Bundle.h"

#include <QTemporaryDir>

// The member changes and deletes the picture from the home screen, read back
// from the loopback forum.
namespace {

QString text(const char* key)
{
    return Bundle::main().localizedString(QString::fromLatin1(key));
}

bool looksLike(const QImage& picture, const QColor& colour)
{
    if (picture.isNull())
        return false;
    const QColor seen = picture.pixelColor(picture.width() / 2, picture.height() / 2);
    return qAbs(seen.red() - colour.red()) < 40 && qAbs(seen.green() - colour.green()) < 40
           && qAbs(seen.blue() - colour.blue()) < 40;
}

class HomePictureTest : public HomeScreenTest {
protected:
    void tapMenuButton(ActionSheet* menu, int index)
    {
        ASSERT_NE(menu, nullptr);
        tap(menu->convertPoint(menu->buttonRect(index).center(), nullptr));
        finishMoving();
    }
    // The picture's menu on screen, if any.
    ActionSheet* pictureMenu() const
    {
        ActionSheet* shown = nullptr;
        for (ActionSheet* sheet : window->findChildren<ActionSheet*>(QStringLiteral("pictureMenu"))) {
            if (sheet->isVisible())
                shown = sheet;
        }
        return shown;
    }
    QTemporaryDir files;
};

}  // namespace

TEST_F(HomePictureTest, AMemberChangesThePictureSeesARefusalOnceAndDeletesIt)
{
    ImagePickerStub machine(true, false);
    const CurrentUserPtr alice = signIn(QStringLiteral("alice"), QStringLiteral("secret1"));
    const auto home = openHome();
    ASSERT_TRUE(waitFor([&] { return !named<ImageView>(home, "avatar")->isHidden(); }));
    const QString before = alice->avatarurl();
    ASSERT_FALSE(before.isEmpty());

    // With a picture, its menu: delete, change, cancel.
    tapView(named<Button>(home, "changePicture"));
    finishMoving();
    ActionSheet* menu = pictureMenu();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->buttonTitleAtIndex(0), text("home_avatar_delete"));
    EXPECT_EQ(menu->destructiveButtonIndex(), 0);
    EXPECT_EQ(menu->buttonTitleAtIndex(1), text("home_avatar_change"));
    EXPECT_EQ(menu->buttonTitleAtIndex(2), text("cancel"));
    ASSERT_TRUE(Screenshot::savePNG(window.get(), TestSupport::galleryPath(QStringLiteral("home-picture-menu.png"))));

    // Changing it: this machine has no camera, so the library opens at once.
    tapMenuButton(menu, 1);
    ASSERT_TRUE(machine.isAsking());
    const QString magenta = files.filePath(QStringLiteral("me.png"));
    ASSERT_TRUE(ImagePickerStub::writePicture(magenta, QSize(96, 96), Qt::magenta));
    forum().clearLog();
    machine.choose(magenta);
    settleAll();
    const QList<TestForumRequest> uploads = requestsOf("profile_updateavatar");
    ASSERT_EQ(uploads.size(), 1);
    ASSERT_EQ(uploads[0].uploads.size(), 1);
    EXPECT_TRUE(looksLike(QImage::fromData(uploads[0].uploads[0].data), Qt::magenta));
    ASSERT_TRUE(waitFor([&] { return alice->avatarurl() != before && looksLike(alice->avatar().qimage(), Qt::magenta); }));
    settleAll();
    EXPECT_TRUE(looksLike(named<ImageView>(home, "avatar")->image(), Qt::magenta)) << "the home screen shows the new picture";
    EXPECT_TRUE(shownAlerts().isEmpty());

    // A picture the forum refuses changes nothing and says so once.
    const QString changed = alice->avatarurl();
    forum().refuseUploads();
    tapView(named<Button>(home, "changePicture"));
    finishMoving();
    tapMenuButton(pictureMenu(), 1);
    machine.choose(magenta);
    settleAll();
    EXPECT_EQ(alertMessages(), QStringList{text("home_avatar_not_changed")});
    EXPECT_EQ(alice->avatarurl(), changed);
    dismissAlerts();

    // Deleting it: gone at once, and gone at the forum.
    tapView(named<Button>(home, "changePicture"));
    finishMoving();
    tapMenuButton(pictureMenu(), 0);
    EXPECT_TRUE(named<ImageView>(home, "avatar")->isHidden());
    EXPECT_EQ(named<Button>(home, "changePicture")->imageForState(ControlState::Normal),
              ResourceImages::named(QStringLiteral("avatar_add.png")));
    settleAll();
    alice->fetchInfo();
    settleAll();
    EXPECT_TRUE(alice->avatarurl().isEmpty()) << "read back from the forum";
    ASSERT_TRUE(Screenshot::savePNG(window.get(), TestSupport::galleryPath(QStringLiteral("home-no-picture.png"))));

    // Without a picture its place opens the library at once, no menu.
    const int asked = machine.asked;
    tapView(named<Button>(home, "changePicture"));
    finishMoving();
    EXPECT_EQ(machine.asked, asked + 1);
    machine.choose(QString());
    finishMoving();
    EXPECT_TRUE(alice->avatarurl().isEmpty());
}
