#include "UiTestSupport.h"

#include "platform/ui/ScrollView.h"

namespace {

class AnimatorTest : public UiTest {};

}  // namespace

TEST_F(AnimatorTest, DelaysCurvesAndBlocksInsideBlocks)
{
    auto* view = new View(QRectF(0, 0, 100, 100));
    window->addSubview(view);
    QStringList done;
    View::animate(1.0, 0.5, AnimationCurve::Linear, [view]() { view->setFrame(QRectF(100, 0, 100, 100)); },
                  [&done](bool) { done.append(QStringLiteral("moved")); });
    clock->advance(400);
    EXPECT_EQ(view->presentationFrame().x(), 0) << "nothing moves during the delay";
    clock->advance(600);
    EXPECT_NEAR(view->presentationFrame().x(), 50, 2) << "linear: half way at half time";
    clock->advance(500);
    EXPECT_EQ(done, QStringList({QStringLiteral("moved")}));
    EXPECT_EQ(view->presentationFrame().x(), 100);

    // An inner block keeps its own duration.
    View::animate(2.0, [&]() {
        view->setAlpha(0.0);
        View::animate(0.5, [view]() { view->setFrame(QRectF(0, 0, 100, 100)); },
                      [&done](bool) { done.append(QStringLiteral("inner")); });
    }, [&done](bool) { done.append(QStringLiteral("outer")); });
    clock->advance(500);
    EXPECT_EQ(view->presentationFrame().x(), 0);
    EXPECT_GT(view->presentationAlpha(), 0.5);
    EXPECT_EQ(done.last(), QStringLiteral("inner"));
    clock->advance(1500);
    EXPECT_EQ(done.last(), QStringLiteral("outer"));
    EXPECT_EQ(view->presentationAlpha(), 0);

    // A new animation of a moving property starts where it is shown now.
    View::animate(1.0, 0, AnimationCurve::Linear, [view]() { view->setAlpha(1.0); });
    clock->advance(500);
    const qreal halfway = view->presentationAlpha();
    View::animate(1.0, 0, AnimationCurve::Linear, [view]() { view->setAlpha(0.0); });
    clock->advance(16);
    EXPECT_NEAR(view->presentationAlpha(), halfway, 0.05);
    Animator::shared().finishAll();
    EXPECT_EQ(view->presentationAlpha(), 0);
}

TEST_F(AnimatorTest, CurvesStartAndEndInPlace)
{
    for (AnimationCurve curve : {AnimationCurve::EaseInOut, AnimationCurve::EaseIn, AnimationCurve::EaseOut,
                                 AnimationCurve::Linear}) {
        EXPECT_EQ(Animator::progress(curve, 0), 0);
        EXPECT_EQ(Animator::progress(curve, 1), 1);
        EXPECT_EQ(Animator::progress(curve, 2), 1);
        qreal last = 0;
        for (int i = 1; i <= 10; ++i) {
            const qreal p = Animator::progress(curve, i / 10.0);
            EXPECT_GE(p, last);
            last = p;
        }
    }
    EXPECT_LT(Animator::progress(AnimationCurve::EaseIn, 0.5), 0.5);
    EXPECT_GT(Animator::progress(AnimationCurve::EaseOut, 0.5), 0.5);
}

TEST_F(AnimatorTest, AViewThatGoesMidAnimationIsLeftAlone)
{
    auto* view = new View(QRectF(0, 0, 100, 100));
    window->addSubview(view);
    bool completed = false;
    View::animate(1.0, [view]() { view->setFrame(QRectF(50, 50, 10, 10)); }, [&completed](bool) { completed = true; });
    delete view;
    clock->advance(2000);
    EXPECT_TRUE(completed);
    EXPECT_EQ(Animator::shared().runningCount(), 0);

    // A scroll view's offset animation that is ended by a new offset.
    auto* scroll = new ScrollView(QRectF(0, 20, 320, 200));
    scroll->setContentSize(QSizeF(320, 2000));
    window->addSubview(scroll);
    scroll->setContentOffset(QPointF(0, 1000), true);
    clock->advance(100);
    scroll->setContentOffset(QPointF(0, 10));
    EXPECT_EQ(scroll->contentOffset().y(), 10);
    clock->advance(1000);
    EXPECT_EQ(scroll->contentOffset().y(), 10);
}
