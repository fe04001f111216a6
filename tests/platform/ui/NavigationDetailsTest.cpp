#include "UiTestSupport.h"

#include "platform/ui/Application.h"
#include "platform/ui/BarButtonView.h"
#include "platform/ui/NavigationBar.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"

namespace {

class Counted : public ViewController {
public:
    explicit Counted(QString name, QStringList* log) : m_name(std::move(name)), m_log(log) { setTitle(m_name); }
    void viewDidAppear(bool animated) override
    {
        m_log->append(m_name + (animated ? QStringLiteral(" appeared, animated") : QStringLiteral(" appeared")));
    }
    void viewDidDisappear(bool) override { m_log->append(m_name + QStringLiteral(" left")); }

private:
    QString m_name;
    QStringList* m_log;
};

class Listener : public ApplicationDelegate {
public:
    QStringList heard;
    void applicationWillTerminate(Application*) override { heard.append(QStringLiteral("terminate")); }
    void applicationDidFinishLaunching(Application*) override { heard.append(QStringLiteral("launched")); }
};

class NavigationDetailsTest : public UiTest {};

}  // namespace

TEST_F(NavigationDetailsTest, ASecondPushFinishesTheFirstSlide)
{
    QStringList log;
    auto a = std::make_shared<Counted>(QStringLiteral("A"), &log);
    auto b = std::make_shared<Counted>(QStringLiteral("B"), &log);
    auto c = std::make_shared<Counted>(QStringLiteral("C"), &log);
    auto nav = NavigationController::create(a);
    window->setRootViewController(nav);
    log.clear();
    nav->pushViewController(b, true);
    nav->pushViewController(c, true);
    // B's slide ended at once when C came.
    EXPECT_EQ(log, QStringList({QStringLiteral("A left"), QStringLiteral("B appeared, animated")}));
    EXPECT_EQ(b->view()->presentationFrame().x(), 0) << "B is in place as C starts";
    clock->runOneShots();
    EXPECT_EQ(b->view()->presentationFrame().x(), -320) << "B slid out under C";
    EXPECT_EQ(log.mid(2), QStringList({QStringLiteral("B left"), QStringLiteral("C appeared, animated")}));
    EXPECT_EQ(c->view()->presentationFrame(), c->view()->frame());

    // Pushing a screen already on the stack does nothing.
    nav->pushViewController(b, false);
    EXPECT_EQ(nav->viewControllers().size(), 3);

    // Popping to a screen lets the ones above go.
    const auto popped = nav->popToViewController(a.get(), true);
    EXPECT_EQ(popped, QList<ViewControllerPtr>({b, c}));
    clock->runOneShots();
    EXPECT_EQ(log.last(), QStringLiteral("A appeared, animated"));
    EXPECT_EQ(nav->popToViewController(a.get(), false), QList<ViewControllerPtr>()) << "already on top";
    EXPECT_EQ(b->navigationController(), nullptr);
}

TEST_F(NavigationDetailsTest, AStackSetBeforeTheControllerIsShownLoadsOnlyItsTop)
{
    QStringList log;
    auto a = std::make_shared<Counted>(QStringLiteral("A"), &log);
    auto b = std::make_shared<Counted>(QStringLiteral("B"), &log);
    auto nav = NavigationController::create(a);
    nav->pushViewController(b, false);
    EXPECT_TRUE(b->isViewLoaded()) << "pushing loads at once, even off screen";
    EXPECT_TRUE(log.isEmpty()) << "no appearance before the controller is shown";
    window->setRootViewController(nav);
    EXPECT_EQ(log, QStringList({QStringLiteral("B appeared")}));
    EXPECT_EQ(b->view()->frame(), QRectF(0, 0, 320, 416));
    EXPECT_EQ(nav->navigationBar()->backButtonView()->shownTitle(), QStringLiteral("A"));

    // An untitled screen below gives a "Back" button.
    a->setTitle(QString());
    nav->setViewControllers({a, b}, false);
    EXPECT_EQ(nav->navigationBar()->backButtonView()->shownTitle(), QStringLiteral("Back"));

    // Setting a new stack animated slides the new top in and lets the old go.
    auto c = std::make_shared<Counted>(QStringLiteral("C"), &log);
    std::weak_ptr<ViewController> weakA = a;
    nav->setViewControllers({c}, true);
    a.reset();
    clock->runOneShots();
    EXPECT_EQ(log.last(), QStringLiteral("C appeared, animated"));
    turnEventLoop();
    EXPECT_TRUE(weakA.expired());
}

TEST_F(NavigationDetailsTest, ObserversHearTheLifeAndTheWindowClosingEndsIt)
{
    Listener delegate;
    Listener observer;
    Application& app = Application::sharedApplication();
    app.setDelegate(&delegate);
    app.addObserver(&observer);
    app.finishLaunching();
    EXPECT_EQ(delegate.heard, QStringList({QStringLiteral("launched")}));
    EXPECT_EQ(observer.heard, QStringList({QStringLiteral("launched")}));
    app.removeObserver(&observer);
    window->close();
    EXPECT_EQ(delegate.heard.last(), QStringLiteral("terminate"));
    EXPECT_EQ(observer.heard.size(), 1);
    app.setDelegate(nullptr);
    {
        Listener gone;
        app.addObserver(&gone);
    }
    app.terminate();  // an observer that went is not told
    EXPECT_EQ(delegate.heard.size(), 2);
}
