#include "ScreenTest.h"

#include "app/screens/AppDelegate.h"
#include "app/screens/AppScreens.h"
#include "app/screens/RootNavigation.h"
#include "platform/ui/AlertPresenter.h"
#include "platform/ui/Animator.h"
#include "platform/ui/Application.h"
#include "platform/ui/TextField.h"
#include "platform/ui/View.h"
#include "platform/ui/Window.h"

#include "platform/foundation/AlertView.h"

#include "UserInput.h"

#include <QLineEdit>

void ScreenTest::SetUp()
{
    AppTest::SetUp();
    wire();
    m_alertsAtStart = AlertView::shownCount();
}

void ScreenTest::wire()
{
    AlertPresenter::install();
    AppScreens::registerClasses(context());
    context().setPart(std::make_shared<RootNavigation>());
}

void ScreenTest::TearDown()
{
    quit();
    AppTest::TearDown();
}

AppDelegate& ScreenTest::launch()
{
    forum();
    m_delegate = std::make_unique<AppDelegate>(context());
    Application& application = Application::sharedApplication();
    application.setDelegate(m_delegate.get());
    application.finishLaunching();
    TestSupport::processEvents();
    // The first screens are built once the splash's first frame is drawn.
    waitFor([this] { return m_delegate->controller() != nullptr; });
    return *m_delegate;
}

void ScreenTest::quit()
{
    if (!m_delegate)
        return;
    Animator::shared().finishAll();
    dismissAlerts();
    m_delegate.reset();
    TestSupport::processEvents();
}

void ScreenTest::finishAnimations()
{
    Animator::shared().finishAll();
    TestSupport::processEvents();
    Animator::shared().finishAll();
}

bool ScreenTest::waitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout)
{
    return waitFor(
        [&] {
            finishAnimations();
            return condition();
        },
        timeout);
}

QList<ViewControllerPtr> ScreenTest::screens() const
{
    return m_delegate && m_delegate->controller() ? m_delegate->controller()->viewControllers()
                                                  : QList<ViewControllerPtr>();
}

ViewController* ScreenTest::topScreen() const
{
    return m_delegate && m_delegate->controller() ? m_delegate->controller()->topViewController() : nullptr;
}

void ScreenTest::tapAt(const QPointF& point)
{
    Window* window = Window::keyWindow();
    ASSERT_NE(window, nullptr);
    UserInput::click(window, point);
    TestSupport::processEvents();
}

void ScreenTest::click(const QPointF& windowPoint)
{
    Window* window = Window::keyWindow();
    ASSERT_NE(window, nullptr);
    UserInput::click(window, windowPoint);
    TestSupport::processEvents();
}

void ScreenTest::tap(View* view)
{
    ASSERT_NE(view, nullptr);
    // A user taps what is on screen: moves under way have ended.
    finishAnimations();
    tapAt(view->convertRect(view->bounds(), nullptr).center());
}

void ScreenTest::type(TextField* field, const QString& text)
{
    ASSERT_NE(field, nullptr);
    // A click into the field, then the caret to the end of what it holds.
    tap(field);
    ASSERT_TRUE(field->isFirstResponder()) << "a click into the field gave it no keyboard";
    key(Qt::Key_End);
    typeKeys(text);
}

void ScreenTest::pressReturn(TextField* field)
{
    ASSERT_NE(field, nullptr);
    ASSERT_TRUE(field->isFirstResponder()) << "Return goes to the field that has the keyboard";
    key(Qt::Key_Return);
}

void ScreenTest::key(Qt::Key key, Qt::KeyboardModifiers modifiers, const QString& text)
{
    UserInput::key(key, modifiers, text, Window::keyWindow());
    TestSupport::processEvents();
}

void ScreenTest::typeKeys(const QString& text)
{
    UserInput::type(text, Window::keyWindow());
    TestSupport::processEvents();
}

QString ScreenTest::displayedText(TextField* field)
{
    const auto* edit = field ? field->findChild<QLineEdit*>() : nullptr;
    return edit ? edit->displayText() : QString();
}

QList<std::shared_ptr<AlertView>> ScreenTest::alertsOnScreen()
{
    return AlertView::visibleAlerts();
}

int ScreenTest::alertsShown() const
{
    return AlertView::shownCount() - m_alertsAtStart;
}

void ScreenTest::tapAlertButton(int index)
{
    const QList<std::shared_ptr<AlertView>> alerts = alertsOnScreen();
    ASSERT_FALSE(alerts.isEmpty());
    auto* overlay = qobject_cast<AlertOverlay*>(AlertPresenter::viewFor(alerts.last().get()));
    ASSERT_NE(overlay, nullptr);
    ASSERT_LT(index, overlay->buttonRects().size());
    tapAt(overlay->convertPoint(overlay->buttonRects().at(index).center(), nullptr));
}
