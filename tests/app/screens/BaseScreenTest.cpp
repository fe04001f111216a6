#include "platform/ui/UiTestSupport.h"

#include "app/config/Customizer.h"
#include "app/screens/UIViewControllerCommon.h"
#include "app/widgets/FindAndResignFirstResponder.h"
#include "app/widgets/LoadCellNib.h"
#include "services/ads/AdMediationView.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/TextField.h"
#include "platform/ui/ViewControllerRegistry.h"

namespace {

class PostCellStandIn : public TableViewCell {
public:
    PostCellStandIn() : TableViewCell(TableViewCellStyle::Default) {}
    void awakeFromNib() override { ++awakened; }
    int awakened = 0;
};

class BaseScreenTest : public UiTest {};

}  // namespace

TEST_F(BaseScreenTest, ThemeBackgroundAndNoBannerWithTheEmptyKey)
{
    auto screen = std::make_shared<UIViewControllerCommon>();
    window->setRootViewController(NavigationController::create(screen));
    EXPECT_EQ(screen->view()->backgroundColor(), Customizer::getInstance().colorForKey(kColorBackground));
    EXPECT_EQ(screen->adMediationApplicationKey(), QString());
    EXPECT_FALSE(screen->adMediationTestMode());
    const int asked = AdMediationView::requestCount();
    EXPECT_EQ(screen->requestFooterBanner(), nullptr);
    EXPECT_EQ(screen->requestHeaderBanner(), nullptr);
    EXPECT_EQ(AdMediationView::requestCount(), asked) << "the mediation layer is never asked";
    EXPECT_EQ(screen->viewControllerForPresentingModalView(), window->rootViewController().get());

    // Placing banners (as a screen does when one arrives): the content is
    // shortened once, however many banners come.
    auto* content = new View(QRectF(0, 0, 320, 416));
    screen->view()->addSubview(content);
    std::unique_ptr<AdMediationView> banner(AdMediationView::requestAdMediationViewWithDelegate(screen.get()));
    EXPECT_EQ(screen->positionForBanner(banner.get()), 2);
    screen->showBannerBelowView(banner.get(), content);
    EXPECT_EQ(content->frame().height(), 366);
    EXPECT_EQ(banner->frame().y(), 366);
    screen->showBannerBelowView(banner.get(), content);
    EXPECT_EQ(content->frame().height(), 366);
    EXPECT_TRUE(screen->hasVisibleBanner());
    screen->showBannerAboveView(banner.get(), content);
    EXPECT_EQ(banner->frame().y(), -50);
    EXPECT_EQ(content->frame().y(), 0);
}

TEST_F(BaseScreenTest, AStandAloneScreenLoadedByClassNameLiesOnTheWindowUntilTheNextReplacesIt)
{
    ViewControllerRegistry::registerClass<UIViewControllerCommon>(QStringLiteral("StandAloneScreen"));
    ViewControllerRegistry::registerClass<ViewController>(QStringLiteral("PlainScreen"));
    EXPECT_EQ(UIViewControllerCommon::getLoadedController(), nullptr);

    // Only the loaded-screen slot holds the screens below.
    const std::weak_ptr<UIViewControllerCommon> first = UIViewControllerCommon::loadView(QStringLiteral("StandAloneScreen"));
    ASSERT_FALSE(first.expired());
    EXPECT_EQ(UIViewControllerCommon::getLoadedController(), first.lock());
    const QPointer<View> firstView = first.lock()->view();
    EXPECT_EQ(firstView->superview(), window.get());
    EXPECT_EQ(firstView->frame(), window->applicationFrame());
    EXPECT_EQ(firstView->backgroundColor(), Customizer::getInstance().colorForKey(kColorBackground));

    // The next one takes its place; the first leaves the window and goes.
    const std::weak_ptr<UIViewControllerCommon> second = UIViewControllerCommon::loadView(QStringLiteral("StandAloneScreen"));
    ASSERT_FALSE(second.expired());
    EXPECT_EQ(UIViewControllerCommon::getLoadedController(), second.lock());
    EXPECT_TRUE(!firstView || firstView->superview() == nullptr);
    const QPointer<View> secondView = second.lock()->view();
    EXPECT_EQ(secondView->superview(), window.get());
    turnEventLoop();
    EXPECT_TRUE(first.expired());
    EXPECT_TRUE(firstView.isNull());

    // A name that makes no such screen changes nothing.
    EXPECT_EQ(UIViewControllerCommon::loadView(QStringLiteral("NoSuchScreen")), nullptr);
    EXPECT_EQ(UIViewControllerCommon::loadView(QStringLiteral("PlainScreen")), nullptr);
    EXPECT_EQ(UIViewControllerCommon::getLoadedController(), second.lock());

    // Any view may be laid on the window.
    auto* panel = new View(QRectF(0, 0, 100, 100));
    UIViewControllerCommon::showView(panel);
    EXPECT_EQ(panel->superview(), window.get());

    UIViewControllerCommon::clearOldController();
    EXPECT_EQ(UIViewControllerCommon::getLoadedController(), nullptr);
    EXPECT_TRUE(!secondView || secondView->superview() == nullptr);
    turnEventLoop();
    EXPECT_TRUE(second.expired());
    ViewControllerRegistry::unregisterClass(QStringLiteral("StandAloneScreen"));
    ViewControllerRegistry::unregisterClass(QStringLiteral("PlainScreen"));
}

TEST_F(BaseScreenTest, CellsByClassNameAndResigningTheFirstResponder)
{
    EXPECT_EQ(cellClassName<PostCellStandIn>(), QStringLiteral("PostCellStandIn"));
    TableView table(QRectF(0, 0, 320, 400));
    PostCellStandIn* cell = loadCellNibForTableView<PostCellStandIn>(&table);
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->reuseIdentifier(), QStringLiteral("PostCellStandIn"));
    EXPECT_EQ(cell->awakened, 1);
    delete cell;

    auto* root = new View(QRectF(0, 20, 320, 460));
    auto* group = new View(QRectF(0, 0, 320, 200));
    auto* field = new TextField(QRectF(10, 10, 200, 30));
    group->addSubview(new Label(QRectF(0, 0, 10, 10)));
    group->addSubview(field);
    root->addSubview(group);
    window->addSubview(root);
    EXPECT_FALSE(findAndResignFirstResponder(root)) << "no first responder: nothing changes";
    field->becomeFirstResponder();
    EXPECT_TRUE(field->isFirstResponder());
    EXPECT_TRUE(findAndResignFirstResponder(root));
    EXPECT_FALSE(field->isFirstResponder());
}
