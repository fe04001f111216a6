#include "UiTestSupport.h"

#include "platform/ui/BarButtonView.h"
#include "platform/ui/Button.h"
#include "platform/ui/NavigationBar.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/ViewControllerRegistry.h"

namespace {

// A screen that writes down what happens to it.
class Screen : public ViewController {
public:
    explicit Screen(QString name, QStringList* log = nullptr) : m_name(std::move(name)), m_log(log)
    {
        setTitle(m_name);
    }
    void buildNib(View* root) override
    {
        button = new Button(QRectF(10, 10, 100, 40), ButtonType::RoundedRect);
        button->setTitle(QStringLiteral("Go"));
        root->addSubview(button);
        note(QStringLiteral("nib"));
    }
    void viewDidLoad() override { note(QStringLiteral("load")); }
    void viewWillAppear(bool) override { note(QStringLiteral("willAppear")); }
    void viewDidAppear(bool) override { note(QStringLiteral("didAppear")); }
    void viewWillDisappear(bool) override { note(QStringLiteral("willDisappear")); }
    void viewDidDisappear(bool) override { note(QStringLiteral("didDisappear")); }

    Button* button = nullptr;

private:
    void note(const QString& what)
    {
        if (m_log)
            m_log->append(m_name + QLatin1Char(':') + what);
    }
    QString m_name;
    QStringList* m_log;
};

std::shared_ptr<Screen> screen(const QString& name, QStringList* log = nullptr)
{
    return std::make_shared<Screen>(name, log);
}

class NavigationTest : public UiTest {};

}  // namespace

TEST_F(NavigationTest, PushLoadsAtOnceSlidesOnTheClockAndTellsAppearanceInOrder)
{
    QStringList log;
    auto root = screen(QStringLiteral("A"), &log);
    auto nav = NavigationController::create(root);
    window->setRootViewController(nav);
    EXPECT_EQ(log, QStringList({QStringLiteral("A:nib"), QStringLiteral("A:load"), QStringLiteral("A:willAppear"), QStringLiteral("A:didAppear")}));
    log.clear();

    auto b = screen(QStringLiteral("B"), &log);
    nav->pushViewController(b, true);
    // The pushed view is loaded before push returns; the slide takes time.
    EXPECT_TRUE(b->isViewLoaded());
    EXPECT_EQ(log, QStringList({QStringLiteral("B:nib"), QStringLiteral("B:load"), QStringLiteral("A:willDisappear"), QStringLiteral("B:willAppear")}));
    EXPECT_EQ(nav->topViewController(), b.get());
    EXPECT_EQ(b->navigationController(), nav.get());
    clock->advance(150);
    EXPECT_GT(b->view()->presentationFrame().x(), 0);
    EXPECT_EQ(b->view()->frame().x(), 0) << "the model frame is the final one at once";
    clock->advance(300);
    EXPECT_EQ(log.mid(4), QStringList({QStringLiteral("A:didDisappear"), QStringLiteral("B:didAppear")}));
    EXPECT_EQ(nav->navigationBar()->shownTitle(), QStringLiteral("B"));
    ASSERT_NE(nav->navigationBar()->backButtonView(), nullptr);
    EXPECT_EQ(nav->navigationBar()->backButtonView()->shownTitle(), QStringLiteral("A"));

    // The back button pops, animated.
    nav->navigationBar()->backButtonView()->sendActionsForControlEvents(ControlEvent::TouchUpInside);
    Animator::shared().finishAll();
    EXPECT_EQ(nav->topViewController(), root.get());
}

TEST_F(NavigationTest, PopByIdentitySetStackAndReplaceTop)
{
    auto a = screen(QStringLiteral("A"));
    auto b = screen(QStringLiteral("B"));
    auto c = screen(QStringLiteral("C"));
    auto nav = NavigationController::create(a);
    window->setRootViewController(nav);
    nav->pushViewController(b, false);
    nav->pushViewController(c, false);

    // A screen that is not on the stack: nothing happens.
    auto stranger = screen(QStringLiteral("X"));
    EXPECT_FALSE(nav->popViewController(stranger.get(), false));
    EXPECT_EQ(nav->viewControllers().size(), 3);

    // A screen in the middle leaves without the top changing.
    EXPECT_TRUE(nav->popViewController(b.get(), false));
    EXPECT_EQ(nav->viewControllers(), QList<ViewControllerPtr>({a, c}));
    EXPECT_EQ(nav->topViewController(), c.get());
    EXPECT_EQ(nav->navigationBar()->backButtonView()->shownTitle(), QStringLiteral("A"));

    auto d = screen(QStringLiteral("D"));
    nav->replaceTopViewController(d, false);
    EXPECT_EQ(nav->viewControllers(), QList<ViewControllerPtr>({a, d}));
    EXPECT_EQ(nav->visibleViewController(), d.get());

    nav->setViewControllers({c, b}, false);
    EXPECT_EQ(nav->topViewController(), b.get());
    EXPECT_EQ(nav->popToRootViewControllerAnimated(false), QList<ViewControllerPtr>({b}));
    EXPECT_EQ(nav->topViewController(), c.get());
    EXPECT_EQ(nav->popViewControllerAnimated(false), nullptr) << "the root stays";

    // Screens taken off are let go only once the event loop turns.
    std::weak_ptr<ViewController> weakB = b;
    std::weak_ptr<ViewController> weakD = d;
    b.reset();
    d.reset();
    EXPECT_FALSE(weakB.expired());
    turnEventLoop();
    EXPECT_TRUE(weakB.expired());
    EXPECT_TRUE(weakD.expired());
}

TEST_F(NavigationTest, RootSwapFromInsideAHandlerOfTheOldStack)
{
    auto home = screen(QStringLiteral("Home"));
    auto nav = NavigationController::create(home);
    window->setRootViewController(nav);
    std::weak_ptr<ViewController> weakHome = home;
    std::weak_ptr<ViewController> weakNav = nav;
    Window* w = window.get();
    bool handlerFinished = false;
    bool stackKeptInHandler = false;
    Screen* raw = home.get();
    raw->button->addAction([w, raw, weakNav, &handlerFinished, &stackKeptInHandler](Control*) {
        w->setRootViewController(NavigationController::create(screen(QStringLiteral("Login"))));
        // The old stack is still whole while its handler runs.
        raw->setTitle(QStringLiteral("still here"));
        handlerFinished = raw->button->isEnabled();
        stackKeptInHandler = !weakNav.expired();
    }, ControlEvent::TouchUpInside);
    home.reset();
    nav.reset();

    const QPointF onButton = raw->button->convertPoint(QPointF(50, 20), nullptr);
    tap(onButton);
    EXPECT_TRUE(handlerFinished);
    EXPECT_EQ(window->rootViewController()->navigationItem()->title(), QString());
    auto newNav = std::dynamic_pointer_cast<NavigationController>(window->rootViewController());
    ASSERT_TRUE(newNav);
    EXPECT_EQ(newNav->topViewController()->title(), QStringLiteral("Login"));
    EXPECT_TRUE(stackKeptInHandler) << "deleted later, never in place";
    turnEventLoop();
    EXPECT_TRUE(weakNav.expired());
    EXPECT_TRUE(weakHome.expired());
}

TEST_F(NavigationTest, BarHidesAnimatedAndScreensComeFromTheRegistry)
{
    ViewControllerRegistry::registerClass(QStringLiteral("RegisteredScreen"),
                                          []() { return screen(QStringLiteral("R")); });
    auto made = ViewControllerRegistry::create(QStringLiteral("RegisteredScreen"));
    ASSERT_TRUE(made);
    EXPECT_EQ(made->title(), QStringLiteral("R"));
    EXPECT_EQ(ViewControllerRegistry::create(QStringLiteral("NoSuchScreen")), nullptr);

    auto nav = NavigationController::create(made);
    window->setRootViewController(nav);
    EXPECT_EQ(made->view()->frame().height(), 460 - 44);
    nav->setNavigationBarHidden(true, true);
    EXPECT_TRUE(nav->isNavigationBarHidden());
    EXPECT_FALSE(nav->navigationBar()->isHidden()) << "it slides away first";
    clock->runOneShots();
    EXPECT_TRUE(nav->navigationBar()->isHidden());
    EXPECT_EQ(made->view()->frame().height(), 460) << "the screen takes the bar's room";

    auto compose = BarButtonItem::withSystemItem(BarButtonSystemItem::Compose);
    int composed = 0;
    compose->setAction([&composed]() { ++composed; });
    made->navigationItem()->setRightBarButtonItem(compose);
    nav->setNavigationBarHidden(false, false);
    ASSERT_NE(nav->navigationBar()->rightButtonView(), nullptr);
    nav->navigationBar()->rightButtonView()->sendActionsForControlEvents(ControlEvent::TouchUpInside);
    EXPECT_EQ(composed, 1);
    EXPECT_EQ(BarButtonItem::withSystemItem(BarButtonSystemItem::Done)->title(), QStringLiteral("Done"));
}
