#include "UiTestSupport.h"

#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/Application.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/StatusBar.h"

#include "platform/foundation/NetworkActivityIndicator.h"

#include <QTest>

namespace {

class Life : public ApplicationDelegate {
public:
    QStringList log;
    void applicationWillResignActive(Application*) override { log.append(QStringLiteral("resign")); }
    void applicationDidBecomeActive(Application*) override { log.append(QStringLiteral("active")); }
    void applicationDidEnterBackground(Application*) override { log.append(QStringLiteral("background")); }
    void applicationWillEnterForeground(Application*) override { log.append(QStringLiteral("foreground")); }
};

class AnimationTest : public UiTest {};

}  // namespace

TEST_F(AnimationTest, AFadeRunsOnTheClockAndEndsWithItsCompletion)
{
    auto* splash = new ImageView(QRectF(0, 0, 320, 480));
    window->addSubview(splash);
    bool finished = false;
    View::animate(2.0, [splash]() { splash->setAlpha(0); }, [&finished](bool done) { finished = done; });
    EXPECT_EQ(splash->alpha(), 0) << "the model value is the new one at once";
    clock->advance(1000);
    EXPECT_GT(splash->presentationAlpha(), 0.2);
    EXPECT_LT(splash->presentationAlpha(), 0.8);
    EXPECT_FALSE(finished);
    clock->advance(1000);
    EXPECT_TRUE(finished);
    EXPECT_EQ(splash->presentationAlpha(), 0);

    // Frame and turning, run to the end at once.
    bool moved = false;
    View::animate(0.3, [splash]() {
        splash->setFrame(QRectF(0, 100, 320, 380));
        splash->setTransform(ViewTransform::makeRotation(M_PI));
    }, [&moved](bool) { moved = true; });
    Animator::shared().finishAll();
    EXPECT_TRUE(moved);
    EXPECT_EQ(splash->presentationFrame(), QRectF(0, 100, 320, 380));
    EXPECT_EQ(splash->geometry(), QRect(0, 100, 320, 380));
    EXPECT_EQ(Animator::shared().runningCount(), 0);

    // An animation replaced before its end does not finish.
    bool first = true;
    View::animate(1.0, [splash]() { splash->setAlpha(1); }, [&first](bool done) { first = done; });
    View::setAnimationsEnabled(false);
    splash->setAlpha(0.5);
    View::setAnimationsEnabled(true);
    clock->advance(1000);
    EXPECT_FALSE(first);
    EXPECT_EQ(splash->presentationAlpha(), 0.5);
}

TEST_F(AnimationTest, WorkPutOffUntilTheFirstFrameRunsOnceTheWindowIsDrawn)
{
    Window fresh;
    QStringList ran;
    fresh.afterFirstFrame([&ran] { ran.append(QStringLiteral("first")); });
    fresh.afterFirstFrame([&ran] { ran.append(QStringLiteral("second")); });
    turnEventLoop();
    EXPECT_TRUE(ran.isEmpty()) << "a window never shown has drawn nothing";

    fresh.show();
    ASSERT_TRUE(QTest::qWaitFor([&ran] { return ran.size() == 2; }, 5000));
    EXPECT_EQ(ran, QStringList({QStringLiteral("first"), QStringLiteral("second")}));

    // Once drawn, on the next turn of the event loop, not inside the call.
    fresh.afterFirstFrame([&ran] { ran.append(QStringLiteral("later")); });
    EXPECT_EQ(ran.size(), 2);
    turnEventLoop();
    EXPECT_EQ(ran.last(), QStringLiteral("later"));
    fresh.update();
    turnEventLoop();
    EXPECT_EQ(ran.size(), 3) << "each piece of work runs once";
}

TEST_F(AnimationTest, TheStatusBarsClockTurnsWithTheMinute)
{
    clock->setNow(QDateTime(QDate(2026, 1, 1), QTime(12, 0, 45), Qt::UTC));
    // Clear of the window's own bar, whose minutes began elsewhere.
    auto* bar = new StatusBar(QRectF(0, 300, 320, StatusBar::kHeight));
    window->addSubview(bar);
    turnEventLoop();
    int paints = 0;
    struct PaintCounter : QObject {
        int* count;
        explicit PaintCounter(int* c) : count(c) {}
        bool eventFilter(QObject*, QEvent* event) override
        {
            *count += event->type() == QEvent::Paint ? 1 : 0;
            return false;
        }
    } counter(&paints);
    bar->installEventFilter(&counter);

    clock->advance(14900);
    turnEventLoop();
    EXPECT_EQ(paints, 0) << "12:00:59.9 still reads 12:00";
    clock->advance(200);
    turnEventLoop();
    EXPECT_EQ(paints, 1) << "drawn again as 12:01 begins";
    clock->advance(59000);
    turnEventLoop();
    EXPECT_EQ(paints, 1);
    clock->advance(1000);
    turnEventLoop();
    EXPECT_EQ(paints, 2) << "and as 12:02 begins";
    bar->removeEventFilter(&counter);
}

TEST_F(AnimationTest, LifeFollowsTheWindowAndTheNetworkSignShowsInTheStatusBar)
{
    Life life;
    Application& app = Application::sharedApplication();
    app.setDelegate(&life);
    app.setApplicationState(Application::State::Active);
    life.log.clear();
    app.setApplicationState(Application::State::Inactive);
    window->setWindowState(Qt::WindowMinimized);
    window->setWindowState(Qt::WindowNoState);
    EXPECT_EQ(life.log.mid(0, 3), QStringList({QStringLiteral("resign"), QStringLiteral("background"),
                                               QStringLiteral("foreground")}));
    app.setApplicationState(Application::State::Active);
    EXPECT_EQ(life.log.last(), QStringLiteral("active"));
    app.setDelegate(nullptr);

    EXPECT_FALSE(window->statusBar()->isNetworkActivityShown());
    app.setNetworkActivityIndicatorVisible(true);
    EXPECT_TRUE(window->statusBar()->isNetworkActivityShown());
    NetworkActivityIndicator::setVisible(false);
    EXPECT_FALSE(window->statusBar()->isNetworkActivityShown());

    QList<QUrl> opened;
    app.setOpenURLHandler([&opened](const QUrl& url) {
        opened.append(url);
        return true;
    });
    EXPECT_TRUE(app.openURL(QUrl(QStringLiteral("http://example.org/"))));
    EXPECT_FALSE(app.openURL(QUrl()));
    EXPECT_EQ(opened.size(), 1);
    app.setOpenURLHandler({});
}

TEST_F(AnimationTest, ZoomComesFromTheCommandLineElseFromTheScreen)
{
    const char* args[] = {"muforum", "--zoom=1.5"};
    EXPECT_EQ(Application::requestedZoom(2, const_cast<char**>(args)), 1.5);
    const char* spaced[] = {"muforum", "--zoom", "2"};
    EXPECT_EQ(Application::requestedZoom(3, const_cast<char**>(spaced)), 2.0);
    const char* silly[] = {"muforum", "--zoom=100"};
    EXPECT_EQ(Application::requestedZoom(2, const_cast<char**>(silly)), 0.0);
    EXPECT_EQ(Application::zoomForScreenHeight(800), 1.25);
    EXPECT_EQ(Application::zoomForScreenHeight(1440), 2.25);
    EXPECT_EQ(Application::zoomForScreenHeight(400), 1.0);
}

TEST_F(AnimationTest, TheWindowNeverOpensLargerThanTheScreen)
{
    // 1024 by 768, a panel taking none or 30 pixels of it: 2 would be 960
    // pixels high; 1.5 and its title bar fit.
    EXPECT_EQ(Application::zoomToOpen(2, QSizeF(1024, 768)), 1.5);
    EXPECT_EQ(Application::zoomToOpen(2, QSizeF(1024, 738)), 1.25);
    EXPECT_EQ(Application::zoomToOpen(1.25, QSizeF(1024, 768)), 1.25) << "what fits stays as asked";
    EXPECT_EQ(Application::zoomToOpen(1.6, QSizeF(1024, 768)), 1.5);
    EXPECT_EQ(Application::zoomToOpen(2, QSizeF(1920, 1080)), 2.0);
    EXPECT_EQ(Application::zoomToOpen(0, QSizeF(1024, 768)), 1.25) << "the screen's own";
    EXPECT_EQ(Application::zoomToOpen(0, QSizeF(800, 400)), 0.75) << "smaller than 1 on a small screen";
    EXPECT_EQ(Application::zoomToOpen(3, QSizeF(500, 2000)), 1.5) << "and as narrow as the screen";
    EXPECT_EQ(Application::zoomToOpen(2, QSizeF()), 2.0) << "no screen to ask";
    for (const QSizeF screen : {QSizeF(1024, 768), QSizeF(1366, 768), QSizeF(1280, 800), QSizeF(800, 600)}) {
        for (const double asked : {0.0, 1.0, 1.5, 2.0, 3.0}) {
            const double zoom = Application::zoomToOpen(asked, screen);
            EXPECT_LE(480 * zoom + 40, screen.height()) << asked << " on " << screen.height();
            EXPECT_LE(320 * zoom, screen.width());
        }
    }
}
