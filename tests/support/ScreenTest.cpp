#include "ScreenTest.h"

#include "app/screens/AppDelegate.h"
#include "app/screens/AppScreens.h"
#include "platform/ui/AlertPresenter.h"
#include "platform/ui/Animator.h"
#include "platform/ui/Application.h"
#include "platform/ui/TextField.h"
#include "platform/ui/View.h"
#include "platform/ui/Window.h"

#include "platform/foundation/AlertView.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTest>

void ScreenTest::SetUp()
{
    AppTest::SetUp();
    AlertPresenter::install();
    AppScreens::registerClasses();
    m_alertsAtStart = AlertView::shownCount();
}

void ScreenTest::TearDown()
{
    quit();
    AppTest::TearDown();
}

AppDelegate& ScreenTest::launch()
{
    forum();
    m_delegate = std::make_unique<AppDelegate>();
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
    QWidget* target = window->childAt(point.toPoint());
    if (!target)
        target = window;
    const QPointF local = target->mapFrom(window, point);
    const QPointF global = window->mapToGlobal(point);
    QMouseEvent press(QEvent::MouseButtonPress, local, local, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, local, local, global, Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(target, &release);
    TestSupport::processEvents();
}

void ScreenTest::click(const QPointF& windowPoint)
{
    Window* window = Window::keyWindow();
    ASSERT_NE(window, nullptr);
    ASSERT_NE(window->windowHandle(), nullptr);
    // Through the window system's queue: the toolkit finds the widget under
    // the point and gives it the focus its policy asks for.
    QTest::mouseClick(window->windowHandle(), Qt::LeftButton, Qt::NoModifier, windowPoint.toPoint());
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
    field->becomeFirstResponder();
    auto* edit = field->findChild<QLineEdit*>();
    ASSERT_NE(edit, nullptr);
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(edit, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(edit, &release);
    }
}

void ScreenTest::pressReturn(TextField* field)
{
    ASSERT_NE(field, nullptr);
    auto* edit = field->findChild<QLineEdit*>();
    ASSERT_NE(edit, nullptr);
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(edit, &press);
}

void ScreenTest::key(Qt::Key key, Qt::KeyboardModifiers modifiers, const QString& text)
{
    QWidget* focused = QApplication::focusWidget();
    ASSERT_NE(focused, nullptr) << "nothing has the keyboard's focus";
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(focused, &press);
    if (QWidget* still = QApplication::focusWidget()) {
        QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
        QApplication::sendEvent(still, &release);
    }
    TestSupport::processEvents();
}

void ScreenTest::typeKeys(const QString& text)
{
    for (const QChar c : text)
        key(Qt::Key(0), Qt::NoModifier, QString(c));
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
