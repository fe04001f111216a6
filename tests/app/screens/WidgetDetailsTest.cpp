#include "platform/ui/UiTestSupport.h"

#include "app/screens/UIViewControllerCommon.h"
#include "app/widgets/GradientButton.h"
#include "app/widgets/RoundedRectView.h"
#include "app/widgets/SegmentControlHidding.h"
#include "app/widgets/TabBarHidding.h"
#include "services/ads/AdMediationView.h"
#include "platform/ui/Screenshot.h"

namespace {

// A screen of a build with an ad key: the slots ask the mediation layer.
class KeyedScreen : public UIViewControllerCommon {
public:
    QString adMediationApplicationKey() override { return QStringLiteral("key"); }
};

class WidgetDetailsTest : public UiTest {};

}  // namespace

TEST_F(WidgetDetailsTest, WithAKeyBannersComeAndTheirDelegatesAreClearedWhenTheScreenGoes)
{
    auto screen = std::make_shared<KeyedScreen>();
    const int before = AdMediationView::requestCount();
    QPointer<AdMediationView> header = screen->requestHeaderBanner();
    QPointer<AdMediationView> footer = screen->requestFooterBanner();
    ASSERT_FALSE(header.isNull());
    ASSERT_FALSE(footer.isNull());
    EXPECT_EQ(AdMediationView::requestCount(), before + 2);
    EXPECT_EQ(header->delegate(), screen.get());
    EXPECT_EQ(screen->positionForBanner(header), 1);
    EXPECT_EQ(screen->positionForBanner(footer), 2);
    // A new request replaces the slot's banner.
    QPointer<AdMediationView> second = screen->requestFooterBanner();
    EXPECT_EQ(screen->footerBanner(), second.data());
    EXPECT_EQ(footer->delegate(), nullptr);
    screen->view()->addSubview(second);
    screen.reset();
    EXPECT_EQ(second->delegate(), nullptr);
    turnEventLoop();
    EXPECT_TRUE(header.isNull()) << "a banner nobody placed goes with its screen";
    EXPECT_TRUE(footer.isNull()) << "a replaced banner goes too";
}

TEST_F(WidgetDetailsTest, AGradientButtonKeepsWhatItsLayoutGaveIt)
{
    GradientButton::Archive archive;
    archive.normalGradientColors = {Qt::red, Qt::blue};
    archive.normalGradientLocations = {0.0, 1.0};
    archive.highlightGradientColors = {Qt::black, Qt::white};
    archive.highlightGradientLocations = {1.0, 0.0};
    auto* button = new GradientButton(QRectF(20, 60, 200, 40), archive);
    window->addSubview(button);
    EXPECT_EQ(button->cornerRadius(), 0) << "archived colours: no preset";
    EXPECT_EQ(button->archive().highlightGradientColors, archive.highlightGradientColors);
    EXPECT_EQ(button->archive().normalGradientLocations, archive.normalGradientLocations);
    // Location 0 is the bottom edge: red at the bottom, blue at the top.
    const QImage face = Screenshot::render(button, 1);
    EXPECT_GT(face.pixelColor(100, 37).red(), face.pixelColor(100, 37).blue());
    EXPECT_GT(face.pixelColor(100, 3).blue(), face.pixelColor(100, 3).red());
    // Unsorted locations are put in order for the gradient.
    EXPECT_EQ(button->highlightGradient().first().second, QColor(Qt::white));
}

TEST_F(WidgetDetailsTest, HiddenItemsComeBackInTheirOrderAndUnknownItemsChangeNothing)
{
    SegmentControlHidding sections({QStringLiteral("profile"), QStringLiteral("friends"), QStringLiteral("blogs"),
                                    QStringLiteral("albums")});
    sections.awakeFromNib();
    sections.hideButtonAtIndex(1);
    sections.hideButtonAtIndex(2);
    sections.setSelectedSegmentIndex(1);
    EXPECT_EQ(sections.selectedSegmentIndex(), 3);
    sections.showButton(QStringLiteral("blogs"));
    EXPECT_EQ(sections.numberOfSegments(), 3);
    EXPECT_EQ(sections.titleForSegmentAtIndex(1), QStringLiteral("blogs"));
    sections.hideButton(QStringLiteral("nothing"));
    EXPECT_EQ(sections.numberOfSegments(), 3);

    TabBarHidding bar;
    auto a = std::make_shared<TabBarItem>(QStringLiteral("a"), QImage(), 0);
    bar.setItems({a});
    bar.awakeFromNib();
    bar.hideButton(std::make_shared<TabBarItem>(QStringLiteral("a"), QImage(), 0));
    EXPECT_EQ(bar.items().size(), 1) << "items compare by identity";
    bar.setSelectedItem(a);
    bar.hideButton(a);
    EXPECT_EQ(bar.selectedItem(), nullptr);
}

TEST_F(WidgetDetailsTest, TheRoundedBoxOutlineLiesOnItsEdge)
{
    auto* box = new RoundedRectView(QRectF(20, 40, 200, 100));
    box->setCornerRadius(10);
    box->setStrokeWidth(4);
    box->setStrokeColor(QColor(255, 0, 0));
    box->setRectColor(QColor(0, 0, 255));
    window->addSubview(box);
    const QImage image = Screenshot::render(box, 1);
    EXPECT_EQ(image.pixelColor(100, 0).red(), 255) << "half the outline inside the edge";
    EXPECT_EQ(image.pixelColor(100, 50), QColor(0, 0, 255));
    EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);
}
