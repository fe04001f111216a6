#pragma once

#include "platform/ui/ApplicationDelegate.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/NavigationController.h"

#include <QPointer>
#include <QString>

#include <memory>

class AppContext;
class Window;

// The application's delegate. At launch it starts the outside services,
// makes the login screen the root of the one navigation controller (with the
// home screen above it when a member was restored) and fades a splash out
// over it. It owns that root navigation controller: whoever replaces the
// whole screen stack (after signing in or out, when the forum is closed)
// calls setController (the closed forum does not while a screen holds
// unsent work). Back in the foreground it checks whether the forum has been
// closed meanwhile. It shows the login screen of its application's context
// when the session is lost or the forum closed; the context outlives it.
class AppDelegate : public ApplicationDelegate {
public:
    // This build has no analytics account, so the tracker is never started.
    static inline const QString kAnalyticsAccountID = QString();
    static constexpr int kAnalyticsDispatchPeriod = 10;
    static inline const QString kBetaServiceToken =
        QStringLiteral("7c41e9a0b25d8f63c19e04ba7d3f5862_Zk3QpLm8RtWv2XyBn5CdHj7KsGa9EuFo1TiMqNr4Ow");
    static constexpr double kSplashFadeSeconds = 2.0;

    explicit AppDelegate(AppContext& context);
    ~AppDelegate() override;
    AppDelegate(const AppDelegate&) = delete;
    AppDelegate& operator=(const AppDelegate&) = delete;

    // The running application's delegate, or null.
    static AppDelegate* shared();

    void applicationDidFinishLaunching(Application* application) override;
    void applicationWillEnterForeground(Application* application) override;

    // Probes the forum unless the login screen is on top (or still to come).
    void checkIfForumIsDisabled();
    // Replaces the whole screen stack with a new navigation controller whose
    // root is the screen. The old stack is let go on the event loop, after
    // the handler that asked for the swap has returned.
    void setController(const ViewControllerPtr& screen);
    void initBetaClient();
    // Whether a screen of the stack holds something the member wrote and has
    // not sent: the forum-closed alert then leaves the stack as it is.
    bool holdsUnsentWork() const;
    // Starts decoding the splash's pictures, each on a thread of its own, for
    // the screen the toolkit has: main calls it as soon as the toolkit's
    // application exists (never before: its start and a decoding beside it
    // corrupted each other's memory), so that the decoding runs while the
    // rest of the start-up does.
    static void prefetchSplash();
    // The end of the splash's fade: the splash leaves the window.
    void startupAnimationDone(bool finished);

    Window* window() const { return m_window.get(); }
    // The window to launch in (made at launch when none was given).
    void setWindow(std::unique_ptr<Window> window);
    NavigationController* controller() const { return m_controller.get(); }
    // The splash while it fades, else null.
    ImageView* splashView() const { return m_splashView; }
    ImageView* mulogoView() const { return m_mulogoView; }

private:
    void showSplash();
    // The login screen, and home above it for a stored member.
    void showFirstScreens();

    AppContext& m_context;
    std::unique_ptr<Window> m_window;
    NavigationControllerPtr m_controller;
    QPointer<ImageView> m_splashView;
    QPointer<ImageView> m_mulogoView;
};
