#pragma once

#include "platform/foundation/Trackable.h"

#include <QPointF>
#include <QPointer>
#include <QRectF>
#include <QString>

#include <memory>

class NavigationController;
class NavigationItem;
class View;

// One screen. Its view is made on first use by loadView, which runs the
// class's own layout code (buildNib, standing for the interface file named
// after the class) and then viewDidLoad. Screens are shared objects: a
// navigation stack or the window holds them, and they are let go later on the
// event loop, so a screen may be taken off the stack from its own handler.
class ViewController : public virtual Trackable, public std::enable_shared_from_this<ViewController> {
public:
    ViewController();
    virtual ~ViewController();
    ViewController(const ViewController&) = delete;
    ViewController& operator=(const ViewController&) = delete;

    // The root view, loaded now if needed.
    View* view();
    bool isViewLoaded() const;
    // Takes the view over: the screen owns its root view.
    void setView(View* view);
    // The frame a view loaded now gets (the container sets it before loading).
    QRectF preferredViewFrame() const { return m_preferredFrame; }
    void setPreferredViewFrame(const QRectF& frame) { m_preferredFrame = frame; }

    // Makes the root view: by default a plain view of the preferred frame that
    // follows its container's size, filled by buildNib.
    virtual void loadView();
    // The screen's layout code: makes the outlets with their frames in `root`.
    virtual void buildNib(View* root) {}
    virtual void viewDidLoad() {}
    virtual void viewWillAppear(bool animated) {}
    virtual void viewDidAppear(bool animated) {}
    virtual void viewWillDisappear(bool animated) {}
    virtual void viewDidDisappear(bool animated) {}

    QString title() const;
    void setTitle(const QString& title);
    NavigationItem* navigationItem();
    // The navigation controller whose stack holds this screen, or null.
    NavigationController* navigationController() const;
    void setNavigationController(NavigationController* controller);

    // A screen shown over the whole window until dismissed.
    void presentModalViewController(const std::shared_ptr<ViewController>& controller, bool animated);
    void dismissModalViewControllerAnimated(bool animated);
    ViewController* modalViewController() const;
    ViewController* parentViewController() const { return m_parent.get(); }
    void setParentViewController(ViewController* parent);

    // The member pressed the back button of the bar over this screen: false
    // keeps the screen on its stack (one that would lose what was entered
    // asks first, and takes itself off once told to).
    virtual bool shouldGoBack() { return true; }

    // Touches the root view did not take.
    virtual void touchesBegan(const QPointF& point) {}
    virtual void touchesMoved(const QPointF& point) {}
    virtual void touchesEnded(const QPointF& point) {}

    // Sends the appearance events once each (containers call these).
    void beginAppearance(bool appearing, bool animated);
    void endAppearance();
    bool isAppeared() const { return m_appeared; }

    // The size of the phone's screen below the status bar.
    static constexpr qreal kScreenWidth = 320;
    static constexpr qreal kScreenHeight = 460;

private:
    QPointer<View> m_view;
    QRectF m_preferredFrame;
    QString m_title;
    std::unique_ptr<NavigationItem> m_navigationItem;
    WeakRef<NavigationController> m_navigationController;
    WeakRef<ViewController> m_parent;
    std::shared_ptr<ViewController> m_modal;
    bool m_appeared = false;
    int m_transition = 0;  // 1 appearing, -1 disappearing
    bool m_transitionAnimated = false;
};

using ViewControllerPtr = std::shared_ptr<ViewController>;
