#include "platform/ui/UiTestSupport.h"

#include "app/config/Customizer.h"
#include "app/widgets/GradientButton.h"
#include "platform/ui/Screenshot.h"

namespace {

class GradientButtonTest : public UiTest {};

QColor pixel(const QImage& image, qreal x, qreal y)
{
    const qreal r = image.devicePixelRatio();
    return image.pixelColor(int(x * r), int(y * r));
}

}  // namespace

TEST_F(GradientButtonTest, StrokeWidthSnapsToWholeDevicePixels)
{
    GradientButton button(QRectF(0, 0, 100, 40), GradientButton::Archive{});
    const qreal p = 0.5 * (100 / 99.5 + 1);
    EXPECT_DOUBLE_EQ(button.pixelScale(), p);
    button.setStrokeWeight(0.4);
    EXPECT_DOUBLE_EQ(button.strokeWidth(), 1 / p) << "below one device pixel it rounds up";
    button.setStrokeWeight(1.6);
    EXPECT_DOUBLE_EQ(button.strokeWidth(), 2 / p);
    button.setStrokeWeight(1.4);
    EXPECT_DOUBLE_EQ(button.strokeWidth(), 1 / p) << "above one it rounds to the nearest";
    // Coordinates land on the stroke's pixel grid: a width of one pixel puts
    // the line's centre half a pixel in.
    const qreal a = std::fmod(0.5 * button.strokeWidth() * p, 1.0);
    EXPECT_DOUBLE_EQ(button.snap(10.2), (std::round(p * 10.2 + a) - a) / p);
    EXPECT_NEAR(button.snap(0) * p, 0.5, 1e-9);
}

TEST_F(GradientButtonTest, FromALayoutItTakesThePresetAndThePressedFaceOnlyWhenExactlyHighlighted)
{
    auto* button = new GradientButton(QRectF(20, 60, 280, 44), GradientButton::Archive{});
    button->setTitle(QStringLiteral("Sign in"));
    window->addSubview(button);
    EXPECT_EQ(button->cornerRadius(), 9.0);
    EXPECT_EQ(button->strokeWeight(), 1.0);
    EXPECT_EQ(button->strokeColor(), QColor::fromRgbF(0.076f, 0.103f, 0.195f, 1.0f));
    EXPECT_EQ(button->titleColorForState(ControlState::Normal), QColor(Qt::white));
    const QList<QColor> theme = Customizer::getInstance().buttonColorsGradient();
    EXPECT_EQ(button->normalGradientColors(), theme.mid(0, 5));
    EXPECT_EQ(button->normalGradientLocations(), QList<qreal>({0.0, 1.0, 0.582, 0.418, 0.346}));
    EXPECT_EQ(button->highlightGradientColors(), theme);
    EXPECT_EQ(button->highlightGradientLocations(), QList<qreal>({0.0, 0.2, 0.4, 0.6, 0.8, 1.0}));
    // Built once: later changes to the lists do not reach a kept gradient.
    const QGradientStops kept = button->normalGradient();
    EXPECT_EQ(kept.first().first, 0.0);
    button->setNormalGradientColors({Qt::green, Qt::green});
    EXPECT_EQ(button->normalGradient(), kept);

    const QImage resting = Screenshot::render(button, 2);
    button->setHighlighted(true);
    EXPECT_TRUE(button->drawsHighlightedFace());
    const QImage pressed = Screenshot::render(button, 2);
    EXPECT_NE(pixel(resting, 140, 6), pixel(pressed, 140, 6));
    // Pressed: the darkest colour at the top, the lightest at the bottom.
    EXPECT_LT(pixel(pressed, 140, 3).lightness(), pixel(pressed, 140, 40).lightness());
    button->setSelected(true);
    EXPECT_FALSE(button->drawsHighlightedFace()) << "highlighted and selected draws the resting face";
    EXPECT_EQ(Screenshot::render(button, 2).pixelColor(280, 12), resting.pixelColor(280, 12));

    // The outline is drawn in the stroke colour along the bottom edge.
    const QColor edge = pixel(resting, 140, 43.5);
    EXPECT_LT(edge.lightness(), 80);
}

TEST_F(GradientButtonTest, MadeInCodeItDrawsNoFaceAndTheFaceRestsAfterATouch)
{
    auto* plain = new GradientButton(QRectF(20, 60, 100, 40));
    window->addSubview(plain);
    EXPECT_EQ(plain->strokeWeight(), 0);
    const QImage empty = Screenshot::render(plain, 1);
    EXPECT_EQ(qAlpha(empty.pixel(50, 20)), 0) << "no style, no colours: nothing is filled";

    plain->useRedDeleteStyle();
    int taps = 0;
    plain->addAction([&taps](Control*) { ++taps; }, ControlEvent::TouchUpInside);
    mouse(QEvent::MouseButtonPress, QPointF(70, 80));
    EXPECT_TRUE(plain->drawsHighlightedFace());
    mouse(QEvent::MouseButtonRelease, QPointF(70, 80));
    EXPECT_EQ(taps, 1);
    EXPECT_FALSE(plain->drawsHighlightedFace());
    EXPECT_EQ(clock->pendingCount() > 0, true) << "a redraw waits 0.1 s";
    clock->advance(100);
}
