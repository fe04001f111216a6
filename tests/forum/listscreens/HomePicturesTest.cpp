#include "HomeScreenTest.h"

#include "platform/ui/AlertPresenter.h"
#include "platform/ui/Screenshot.h"
#include "platform/ui/SegmentedControl.h"

#include <QDir>

// Pictures of the home screen with the seeded content, written under the
// build folder (gallery/) to be looked at as a user would.
namespace {

class HomePicturesTest : public HomeScreenTest {
protected:
    void SetUp() override
    {
        HomeScreenTest::SetUp();
        AlertPresenter::install();
    }
    bool picture(const QString& name)
    {
        QDir().mkpath(QStringLiteral(MU_GALLERY_DIR));
        const QString path = QDir(QStringLiteral(MU_GALLERY_DIR)).filePath(name);
        finishMoving();
        return Screenshot::savePNG(window.get(), path) && !QImage(path).isNull();
    }
};

}  // namespace

TEST_F(HomePicturesTest, AMembersAndAGuestsHome)
{
    signIn(QStringLiteral("alice"), QStringLiteral("secret1"));
    auto home = openHome();
    ASSERT_TRUE(waitFor([&] { return !home->news()->rowsForSection(0).isEmpty(); }));
    settleAll();
    ASSERT_TRUE(picture(QStringLiteral("home-member.png")));
    home->sort()->tapSegment(HomeController::Top);
    settleAll();
    ASSERT_TRUE(picture(QStringLiteral("home-top.png")));
    home->sort()->tapSegment(HomeController::Subscribed);
    settleAll();
    ASSERT_TRUE(picture(QStringLiteral("home-subscribed.png")));
    home->sort()->tapSegment(HomeController::Newest);
    settleAll();
    home->filter()->tapSegment(0);
    ASSERT_TRUE(picture(QStringLiteral("home-filter.png")));
    home->closeFilter();
    home->logout();
    ASSERT_TRUE(picture(QStringLiteral("home-logout.png")));

    ASSERT_NE(home->logoutAlert(), nullptr);
    home->logoutAlert()->dismissWithClickedButtonIndex(0);
    settleAll();
    ASSERT_TRUE(picture(QStringLiteral("home-guest.png")));
}
