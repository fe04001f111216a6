#pragma once

#include "platform/ui/View.h"
#include "platform/ui/ViewController.h"

#include <QList>

#include <functional>

class StatusBar;

// The phone's screen: a window of 320 by 480 points with the status bar on
// top and the root screen's view below it. Views added to the window lie
// above the root screen (menus, panels, alerts); the status bar stays on top.
class Window : public View {
    Q_OBJECT
public:
    static constexpr qreal kWidth = 320;
    static constexpr qreal kHeight = 480;

    Window();
    ~Window() override;

    // The window the application shows (the last one made key), or null.
    static Window* keyWindow();
    void makeKeyAndVisible();

    ViewControllerPtr rootViewController() const { return m_root; }
    // Shows a new root screen. The old one is taken off at once and let go
    // later on the event loop, never in place: a screen of the old stack may
    // be running the handler that swaps it away.
    void setRootViewController(const ViewControllerPtr& controller);

    StatusBar* statusBar() const { return m_statusBar; }
    // The area below the status bar, in window coordinates.
    QRectF applicationFrame() const;

    void presentModal(const ViewControllerPtr& controller, bool animated);
    void dismissModal(const ViewControllerPtr& controller, bool animated);
    QList<ViewControllerPtr> modalControllers() const { return m_modals; }

    // Calls `work` on a turn of the event loop after the window's first frame
    // is drawn (on the next turn when it has been drawn already).
    void afterFirstFrame(std::function<void()> work);

    // Closes the window as the user would: alerts on screen go without a
    // button, then the application ends.
    void closeByUser();

protected:
    void didAddSubview(View* subview) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void letGoLater(const ViewControllerPtr& controller);

    StatusBar* m_statusBar;
    ViewControllerPtr m_root;
    QList<ViewControllerPtr> m_modals;
    bool m_wasMinimised = false;
    bool m_drawn = false;
    QList<std::function<void()>> m_afterFirstFrame;
};
