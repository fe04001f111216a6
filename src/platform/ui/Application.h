#pragma once

#include "platform/ui/ApplicationDelegate.h"

#include "platform/foundation/Trackable.h"

#include <QObject>
#include <QPointer>
#include <QSizeF>
#include <QUrl>

#include <functional>

class Window;

// The running application: its delegate, observers of its life, the window,
// opening addresses outside the application and the zoom of the window.
//
// Life: the window losing the focus is "will resign active"; minimising it is
// "did enter background"; restoring it is "will enter foreground", then
// "did become active" when it has the focus again.
class Application : public QObject {
    Q_OBJECT
public:
    enum class State { Active, Inactive, Background };

    static Application& sharedApplication();

    // Chooses the zoom before the toolkit starts, for a screen whose area
    // less its panels is `available` in the toolkit's pixels (empty: not
    // known), and hands it to the toolkit in QT_SCALE_FACTOR (call it first in
    // main, while the process has no other thread): "--zoom=F" or "--zoom F"
    // on the command line, else MU_ZOOM, else a zoom that makes the 480-point
    // window about four fifths of the screen's height (in steps of a
    // quarter, at least 1); never so large that the window leaves the
    // screen. A QT_SCALE_FACTOR the user set is kept when no zoom is asked
    // for. Answers the zoom in force.
    static double prepareZoom(int argc, char** argv, const QSizeF& available);
    // The zoom asked for on the command line or in MU_ZOOM, or 0.
    static double requestedZoom(int argc, char** argv);
    static double zoomForScreenHeight(double logicalHeight);
    // The zoom the window opens with on a screen whose available area (the
    // screen less its panels) is `available`: the one requested (0: the one
    // for the screen's height), down in steps of a quarter to one at which
    // the window and its title bar fit.
    static double zoomToOpen(double requested, const QSizeF& available);

    ApplicationDelegate* delegate() const { return m_delegate.get(); }
    void setDelegate(ApplicationDelegate* delegate);
    void addObserver(ApplicationDelegate* observer);
    void removeObserver(ApplicationDelegate* observer);

    // Tells the delegate the launch has finished (main calls it once).
    void finishLaunching();
    // Tells the delegate and observers the application ends.
    void terminate();
    State applicationState() const { return m_state; }
    // Moves the life cycle to a state, telling what the move means.
    void setApplicationState(State state);

    // Opens a web address (http or https) with the desktop's handler;
    // answers whether it did. Any other address is refused.
    bool openURL(const QUrl& url);
    bool canOpenURL(const QUrl& url) const;
    // Tests: replaces the desktop's handler.
    void setOpenURLHandler(std::function<bool(const QUrl&)> handler) { m_openHandler = std::move(handler); }

    void setNetworkActivityIndicatorVisible(bool visible);
    bool isNetworkActivityIndicatorVisible() const;

    Window* keyWindow() const;

private:
    Application();
    template <typename F>
    void tell(F f);

    WeakRef<ApplicationDelegate> m_delegate;
    NonRetainingSet<ApplicationDelegate> m_observers;
    State m_state = State::Active;
    std::function<bool(const QUrl&)> m_openHandler;
};
