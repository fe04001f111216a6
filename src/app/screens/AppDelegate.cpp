#include "app/screens/AppDelegate.h"

#include "app/config/Customizer.h"
#include "app/net/InactiveForumUtil.h"
#include "app/screens/LoginController.h"
#include "app/screens/RootNavigation.h"
#include "app/screens/UIViewControllerCommon.h"
#include "app/session/AppContext.h"
#include "app/session/CurrentUser.h"
#include "app/session/SessionEvents.h"
#include "services/AnalyticsTracker.h"
#include "services/BetaClient.h"
#include "platform/ui/Application.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/NavigationBar.h"
#include "platform/ui/ResourceImages.h"
#include "platform/ui/ViewControllerRegistry.h"
#include "platform/ui/Window.h"

#include <algorithm>

namespace {
const QString kSplashImage = QStringLiteral("Default.png");
const QString kPoweredByImage = QStringLiteral("poweredby.png");
}  // namespace

AppDelegate::AppDelegate(AppContext& context)
    : m_context(context)
{
    // The forum-closed alert and a session that could not be renewed lead
    // back here. The swap lets the old stack go only after the handler that
    // asked for it has returned.
    WeakRef<AppDelegate> self(this);
    const auto showLogin = [self] {
        if (AppDelegate* delegate = self.get())
            delegate->setController(std::make_shared<LoginController>(delegate->m_context));
    };
    // A closed forum takes no one's unsent text: a stack that holds some
    // stays, and its "submit" works again once the forum is open.
    SessionEvents& events = m_context.sessionEvents();
    events.forumClosed = [self, showLogin] {
        const AppDelegate* delegate = self.get();
        if (delegate && !delegate->holdsUnsentWork())
            showLogin();
    };
    events.sessionLost = showLogin;
    // Section changes from the menu replace the stack through here too, so
    // the delegate always knows the stack on screen.
    m_context.part<RootNavigation>()->setHandler([self](const ViewControllerPtr& screen) {
        if (AppDelegate* delegate = self.get())
            delegate->setController(screen);
    });
}

AppDelegate::~AppDelegate()
{
    SessionEvents& events = m_context.sessionEvents();
    events.forumClosed = {};
    events.sessionLost = {};
    m_context.part<RootNavigation>()->setHandler({});
    if (!kAnalyticsAccountID.isEmpty())
        AnalyticsTracker::sharedTracker().stopTracker();
    if (m_window)
        m_window->setRootViewController(nullptr);
}

AppDelegate* AppDelegate::shared()
{
    return dynamic_cast<AppDelegate*>(Application::sharedApplication().delegate());
}

void AppDelegate::setWindow(std::unique_ptr<Window> window)
{
    m_window = std::move(window);
}

void AppDelegate::applicationDidFinishLaunching(Application*)
{
    if (!kAnalyticsAccountID.isEmpty())
        AnalyticsTracker::sharedTracker().startTrackerWithAccountID(kAnalyticsAccountID, kAnalyticsDispatchPeriod,
                                                                    nullptr);
    if (!m_window)
        m_window = std::make_unique<Window>();
    m_window->makeKeyAndVisible();
    // Unless main started them already.
    prefetchSplash();
    initBetaClient();
    showSplash();
    // Nothing of the first screens shows through the splash's first frame,
    // so they are built (their text measured, their fonts loaded) after it.
    WeakRef<AppDelegate> self(this);
    m_window->afterFirstFrame([self] {
        if (AppDelegate* delegate = self.get())
            delegate->showFirstScreens();
    });
}

void AppDelegate::showFirstScreens()
{
    // A screen asked for meanwhile (a lost session, a section) stays.
    if (m_controller)
        return;
    setController(std::make_shared<LoginController>(m_context));
    if (m_context.currentUser()->isMember()) {
        if (const ViewControllerPtr home = ViewControllerRegistry::create(QStringLiteral("HomeController")))
            m_controller->pushViewController(home, false);
    }
}

void AppDelegate::prefetchSplash()
{
    ResourceImages::prefetch({kSplashImage, kPoweredByImage});
}

void AppDelegate::showSplash()
{
    m_splashView = new ImageView(QRectF(0, 0, 320, 480));
    m_splashView->setImageNamed(kSplashImage);
    m_mulogoView = new ImageView(QRectF(0, 400, 320, 36));
    m_mulogoView->setImageNamed(kPoweredByImage);
    m_splashView->addSubview(m_mulogoView);
    // Touches go through to the screen that shows through the fade.
    m_splashView->setUserInteractionEnabled(false);
    m_window->addSubview(m_splashView);

    WeakRef<AppDelegate> self(this);
    QPointer<ImageView> splash = m_splashView;
    View::animate(
        kSplashFadeSeconds, [splash] { splash->setAlpha(0); },
        [self](bool finished) {
            if (AppDelegate* delegate = self.get())
                delegate->startupAnimationDone(finished);
        });
}

void AppDelegate::startupAnimationDone(bool)
{
    if (m_splashView)
        m_splashView->removeFromSuperview();
    m_splashView = nullptr;
    m_mulogoView = nullptr;
}

void AppDelegate::applicationWillEnterForeground(Application*)
{
    checkIfForumIsDisabled();
}

void AppDelegate::checkIfForumIsDisabled()
{
    // No screen yet: the login screen comes with the first frame.
    if (!m_controller || dynamic_cast<LoginController*>(m_controller->topViewController()))
        return;
    InactiveForumUtil::instance().checkIfForumIsActive();
}

void AppDelegate::setController(const ViewControllerPtr& screen)
{
    if (!m_window || !screen)
        return;
    const NavigationControllerPtr controller = NavigationController::create(screen);
    controller->navigationBar()->setTintColor(Customizer::getInstance().colorForKey(kColorBackgroundButton));
    // The window takes the old stack off at once and lets it go later.
    m_window->setRootViewController(controller);
    m_controller = controller;
}

bool AppDelegate::holdsUnsentWork() const
{
    if (!m_controller)
        return false;
    const QList<ViewControllerPtr> stack = m_controller->viewControllers();
    return std::any_of(stack.cbegin(), stack.cend(), [](const ViewControllerPtr& screen) {
        const auto* common = dynamic_cast<const UIViewControllerCommon*>(screen.get());
        return common && common->holdsUnsentWork();
    });
}

void AppDelegate::initBetaClient()
{
    BetaClient::takeOff(kBetaServiceToken);
}
