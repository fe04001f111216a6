#include "UiTestSupport.h"

#include "platform/ui/Button.h"
#include "platform/ui/Font.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/ResourceImages.h"
#include "platform/ui/Screenshot.h"
#include "platform/ui/TextField.h"

#include "platform/foundation/Bundle.h"

#include <QPainter>


namespace {

class Target : public virtual Trackable {
public:
    int hits = 0;
    Control* last = nullptr;
    void hit() { ++hits; }
    void hitFrom(Button* sender) { last = sender; }
};

class ControlsTest : public UiTest {};

}  // namespace

TEST_F(ControlsTest, TargetsAreNotOwnedAndMayChangeWhileTold)
{
    auto* button = new Button(QRectF(10, 30, 100, 40), ButtonType::RoundedRect);
    window->addSubview(button);
    auto target = std::make_unique<Target>();
    button->addTarget(target.get(), &Target::hit, ControlEvent::TouchUpInside);
    button->addTarget(target.get(), &Target::hitFrom, ControlEvent::TouchUpInside);
    tap(QPointF(50, 50));
    EXPECT_EQ(target->hits, 1);
    EXPECT_EQ(target->last, button);

    // A target that has gone is not called.
    target.reset();
    tap(QPointF(50, 50));

    // An action that removes the control's targets and deletes the control.
    Target other;
    button->addTarget(&other, &Target::hit, ControlEvent::TouchUpInside);
    button->addAction([button](Control*) {
        button->removeTarget(nullptr, ControlEvent::AllEvents);
        button->deleteLater();
    }, ControlEvent::TouchDown);
    QPointer<Button> watch(button);
    tap(QPointF(50, 50));
    EXPECT_EQ(other.hits, 0) << "removed before the touch ended";
    turnEventLoop();
    EXPECT_TRUE(watch.isNull());
}

TEST_F(ControlsTest, ButtonTitlesAndColoursFallBackToTheNormalState)
{
    Button button(QRectF(0, 0, 120, 40), ButtonType::Custom);
    button.setTitle(QStringLiteral("Load more"));
    button.setTitle(QStringLiteral("Loading"), ControlState::Highlighted);
    button.setTitleColor(Qt::red);
    EXPECT_EQ(button.currentTitle(), QStringLiteral("Load more"));
    button.setHighlighted(true);
    EXPECT_EQ(button.currentTitle(), QStringLiteral("Loading"));
    EXPECT_EQ(button.titleLabel()->text(), QStringLiteral("Loading"));
    EXPECT_EQ(button.titleColorForState(ControlState::Highlighted), QColor(Qt::red));
    button.setSelected(true);
    EXPECT_EQ(button.currentTitle(), QStringLiteral("Loading")) << "selected and highlighted falls back to highlighted";
    button.setHighlighted(false);
    EXPECT_EQ(button.currentTitle(), QStringLiteral("Load more"));
    button.setEnabled(false);
    EXPECT_LT(button.titleLabel()->textColor().alphaF(), 1.0) << "a disabled title fades";
    button.setEnabled(true);

    // Sized to fit its title, centred.
    button.titleLabel()->setFont(Font::fontWithName(QStringLiteral("HelveticaNeue-Bold"), 13));
    button.sizeToFit();
    EXPECT_EQ(button.frame().width(), button.titleLabel()->sizeThatFits(QSizeF()).width());
    button.setFrame(QRectF(0, 0, 200, 40));
    EXPECT_NEAR(button.titleLabel()->frame().center().x(), 100, 0.5);
}

TEST_F(ControlsTest, LabelsShrinkCutAndAlign)
{
    Label label(QRectF(0, 0, 150, 20));
    label.setFont(Font::systemFontOfSize(17));
    label.setText(QStringLiteral("A rather long forum title"));
    EXPECT_TRUE(label.currentLayout().isTruncated());
    EXPECT_TRUE(label.currentLayout().lines().first().text.endsWith(QChar(0x2026)));
    label.setAdjustsFontSizeToFitWidth(true);
    label.setMinimumFontSize(8);
    EXPECT_LE(label.currentLayout().size().width(), 150);
    EXPECT_FALSE(label.currentLayout().isTruncated()) << "the font shrinks before the text is cut";

    Label lines(QRectF(0, 0, 100, 1000));
    lines.setNumberOfLines(2);
    lines.setText(QStringLiteral("one two three four five six seven eight nine ten eleven twelve"));
    EXPECT_EQ(lines.currentLayout().lineCount(), 2);
    lines.setNumberOfLines(0);
    EXPECT_GT(lines.currentLayout().lineCount(), 2);
    lines.setText(QStringLiteral("first\nsecond"));
    EXPECT_EQ(lines.currentLayout().lineCount(), 2) << "line breaks in the text are kept";
    // A single-line label's natural size does not depend on its width.
    Label single(QRectF(0, 0, 10, 10));
    single.setText(QStringLiteral("Hello"));
    EXPECT_EQ(single.sizeThatFits(QSizeF(10, 10)), single.sizeThatFits(QSizeF(500, 500)));
    EXPECT_EQ(Label().sizeThatFits(QSizeF(100, 0)), QSizeF(0, 0));
}

TEST_F(ControlsTest, PictureSizesAreInPoints)
{
    QImage retina(48, 48, QImage::Format_ARGB32);
    retina.setDevicePixelRatio(2);
    EXPECT_EQ(ResourceImages::pointSize(retina), QSizeF(24, 24));
    EXPECT_EQ(ResourceImages::pointSize(QImage()), QSizeF(0, 0));
    EXPECT_TRUE(ResourceImages::named(QStringLiteral("no-such-picture.png")).isNull());
    ImageView sized(retina);
    EXPECT_EQ(sized.frame(), QRectF(0, 0, 24, 24));
}

TEST_F(ControlsTest, PicturesLoadAtTheWindowsRatioAndDrawSharpAtAHigherOne)
{
    // The tests' window has one pixel a point: the 1x picture is decoded.
    ASSERT_EQ(window->devicePixelRatioF(), 1);
    const QImage lock = ResourceImages::named(QStringLiteral("lock.png"));
    ASSERT_FALSE(lock.isNull());
    EXPECT_EQ(lock.devicePixelRatio(), 1);
    EXPECT_EQ(ResourceImages::named(QStringLiteral("lock")), lock);

    // Drawn at 1 it is that picture; drawn at 2 (a zoomed screenshot) it is
    // the "@2x" one, in the same points.
    auto drawn = [](const QImage& picture, qreal zoom) {
        ImageView view(picture);
        return Screenshot::render(&view, zoom);
    };
    QImage sharp(Bundle::main().pathForResource(QStringLiteral("lock@2x.png")));
    ASSERT_FALSE(sharp.isNull());
    sharp.setDevicePixelRatio(2);
    EXPECT_EQ(ResourceImages::pointSize(sharp), ResourceImages::pointSize(lock));
    EXPECT_EQ(drawn(lock, 1), drawn(QImage(Bundle::main().pathForResource(QStringLiteral("lock.png"))), 1));
    EXPECT_EQ(drawn(lock, 2), drawn(sharp, 2));
    EXPECT_NE(drawn(lock, 2), drawn(QImage(Bundle::main().pathForResource(QStringLiteral("lock.png"))), 2));

    // A picture that is no bundle picture is drawn as it is.
    QImage own(8, 8, QImage::Format_ARGB32_Premultiplied);
    own.fill(Qt::red);
    QPainter painter;
    QImage target(16, 16, QImage::Format_ARGB32_Premultiplied);
    target.setDevicePixelRatio(2);
    painter.begin(&target);
    EXPECT_EQ(ResourceImages::forPainter(own, painter), own);
    EXPECT_EQ(ResourceImages::forPainter(lock, painter).devicePixelRatio(), 2);
    painter.end();
}

TEST_F(ControlsTest, AnImageSequencePlaysAndStops)
{
    ImageView wheel(QRectF(0, 0, 30, 30));
    QList<QImage> frames;
    for (int i = 0; i < 12; ++i) {
        QImage f(10, 10, QImage::Format_ARGB32);
        f.fill(QColor(i * 20, 0, 0));
        frames.append(f);
    }
    wheel.setAnimationImages(frames);
    wheel.setAnimationDuration(1.0);
    wheel.startAnimating();
    EXPECT_TRUE(wheel.isAnimating());
    clock->advance(84);
    EXPECT_EQ(wheel.currentAnimationFrame(), 1);
    clock->advance(1000);
    EXPECT_EQ(wheel.currentAnimationFrame(), 1) << "one cycle a second, round and round";
    wheel.setAnimationRepeatCount(1);
    wheel.startAnimating();
    clock->advance(2000);
    EXPECT_FALSE(wheel.isAnimating()) << "a counted sequence stops by itself";
    wheel.startAnimating();
    wheel.stopAnimating();
    EXPECT_FALSE(wheel.isAnimating());
}

TEST_F(ControlsTest, TextFieldsSendEditingEvents)
{
    auto* field = new TextField(QRectF(20, 40, 200, 31));
    window->addSubview(field);
    QStringList events;
    field->addAction([&events](Control*) { events.append(QStringLiteral("begin")); }, ControlEvent::EditingDidBegin);
    field->addAction([&events](Control*) { events.append(QStringLiteral("changed")); }, ControlEvent::EditingChanged);
    field->addAction([&events](Control*) { events.append(QStringLiteral("exit")); }, ControlEvent::EditingDidEndOnExit);
    field->addAction([&events](Control*) { events.append(QStringLiteral("end")); }, ControlEvent::EditingDidEnd);
    field->setClearButtonMode(TextFieldViewMode::WhileEditing);
    field->becomeFirstResponder();
    field->setText(QStringLiteral("bob"));
    field->pressReturn();
    field->resignFirstResponder();
    EXPECT_EQ(events, QStringList({QStringLiteral("begin"), QStringLiteral("changed"), QStringLiteral("exit"),
                                   QStringLiteral("end")}));
    EXPECT_EQ(field->text(), QStringLiteral("bob"));
    field->setKeyboardType(KeyboardType::EmailAddress);
    EXPECT_EQ(field->keyboardType(), KeyboardType::EmailAddress);
}
