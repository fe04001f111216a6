#pragma once

#include "platform/ui/ViewController.h"

#include <QList>

#include <functional>
#include <memory>

class NavigationBar;
class View;

// A stack of screens under a navigation bar. Pushing loads the pushed
// screen's view at once. Screens taken off the stack are let go later on the
// event loop (after their slide-out when animated), never in place, so a
// screen may pop itself from its own handler. Appearance events go to the
// screens while the controller is on screen.
class NavigationController : public ViewController {
public:
    static std::shared_ptr<NavigationController> create(const ViewControllerPtr& root);
    NavigationController();
    ~NavigationController() override;

    void pushViewController(const ViewControllerPtr& controller, bool animated);
    // The popped screen, or null when only the root is left.
    ViewControllerPtr popViewControllerAnimated(bool animated);
    QList<ViewControllerPtr> popToRootViewControllerAnimated(bool animated);
    // Pops the screens above `controller`; nothing when it is not on the stack.
    QList<ViewControllerPtr> popToViewController(ViewController* controller, bool animated);
    // Takes this very screen off the stack wherever it is (the top one with a
    // slide when animated); false, and nothing changes, when it is not on it.
    bool popViewController(ViewController* controller, bool animated);
    // Puts `controller` in place of the top screen.
    void replaceTopViewController(const ViewControllerPtr& controller, bool animated);
    void setViewControllers(const QList<ViewControllerPtr>& controllers, bool animated);
    QList<ViewControllerPtr> viewControllers() const { return m_stack; }

    ViewController* topViewController() const;
    // The modal screen over the top one, else the top one.
    ViewController* visibleViewController() const;

    NavigationBar* navigationBar();
    bool isNavigationBarHidden() const { return m_barHidden; }
    void setNavigationBarHidden(bool hidden, bool animated);

    // Ends a running slide at once.
    void finishTransition();
    static constexpr double kTransitionDuration = 0.35;

    void loadView() override;
    void viewWillAppear(bool animated) override;
    void viewDidAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;
    void viewDidDisappear(bool animated) override;

private:
    enum class Direction { None, Push, Pop };
    void show(const ViewControllerPtr& from, const ViewControllerPtr& to, Direction direction, bool animated);
    QRectF contentRect() const;
    void layoutContent();
    void refreshBar();
    void release(const ViewControllerPtr& controller);
    void adopt(const ViewControllerPtr& controller);

    QList<ViewControllerPtr> m_stack;
    ViewControllerPtr m_shown;
    View* m_container = nullptr;
    NavigationBar* m_bar = nullptr;
    bool m_barHidden = false;
    std::function<void()> m_pendingTransitionEnd;
    int m_transitionId = 0;
};

using NavigationControllerPtr = std::shared_ptr<NavigationController>;
