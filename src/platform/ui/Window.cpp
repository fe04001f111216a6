#include "platform/ui/Window.h"

#include "platform/ui/Application.h"
#include "platform/ui/StatusBar.h"

#include "platform/foundation/AlertView.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/Reachability.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QPointer>

namespace {
QPointer<Window>& current()
{
    static QPointer<Window> window;
    return window;
}
}  // namespace

Window::Window() : View(QRectF(0, 0, kWidth, kHeight)), m_statusBar(new StatusBar())
{
    setFixedSize(int(kWidth), int(kHeight));
    setBackgroundColor(Qt::black);
    setAttribute(Qt::WA_NoSystemBackground, false);
    const QString name = Bundle::main().objectForInfoDictionaryKey(QStringLiteral("CFBundleDisplayName")).toString();
    setWindowTitle(name.isEmpty() ? QStringLiteral("mu Forum") : name);
    addSubview(m_statusBar);
    if (!current())
        current() = this;
}

Window::~Window() = default;

Window* Window::keyWindow()
{
    return current();
}

void Window::makeKeyAndVisible()
{
    current() = this;
    show();
    raise();
    activateWindow();
}

void Window::paintEvent(QPaintEvent* event)
{
    View::paintEvent(event);
    if (m_drawn)
        return;
    m_drawn = true;
    // What the network status costs (a plugin, a wait for the system bus)
    // comes after the first frame too.
    m_afterFirstFrame.prepend([] { Reachability::ask(); });
    QMetaObject::invokeMethod(
        this,
        [this] {
            const QList<std::function<void()>> work = std::exchange(m_afterFirstFrame, {});
            for (const std::function<void()>& w : work)
                w();
        },
        Qt::QueuedConnection);
}

void Window::afterFirstFrame(std::function<void()> work)
{
    if (!m_drawn) {
        m_afterFirstFrame.append(std::move(work));
        return;
    }
    QMetaObject::invokeMethod(this, std::move(work), Qt::QueuedConnection);
}

QRectF Window::applicationFrame() const
{
    return QRectF(0, StatusBar::kHeight, kWidth, kHeight - StatusBar::kHeight);
}

void Window::letGoLater(const ViewControllerPtr& controller)
{
    if (!controller)
        return;
    ViewControllerPtr keep = controller;
    QMetaObject::invokeMethod(qApp, [keep]() mutable { keep.reset(); }, Qt::QueuedConnection);
}

void Window::setRootViewController(const ViewControllerPtr& controller)
{
    if (controller == m_root)
        return;
    const ViewControllerPtr old = m_root;
    if (old) {
        old->beginAppearance(false, false);
        if (old->isViewLoaded()) {
            View* v = old->view();
            v->hide();
            v->setParent(nullptr);
        }
        old->endAppearance();
    }
    m_root = controller;
    if (controller) {
        controller->setPreferredViewFrame(QRectF(QPointF(0, 0), applicationFrame().size()));
        View* v = controller->view();
        v->setFrame(applicationFrame());
        insertSubview(v, 0);
        controller->beginAppearance(true, false);
        controller->endAppearance();
    }
    letGoLater(old);
}

void Window::presentModal(const ViewControllerPtr& controller, bool animated)
{
    if (!controller || m_modals.contains(controller))
        return;
    m_modals.append(controller);
    const QRectF shown = applicationFrame();
    controller->setPreferredViewFrame(QRectF(QPointF(0, 0), shown.size()));
    View* v = controller->view();
    v->setFrame(animated ? shown.translated(0, kHeight) : shown);
    addSubview(v);
    controller->beginAppearance(true, animated);
    if (!animated) {
        controller->endAppearance();
        return;
    }
    std::weak_ptr<ViewController> weak = controller;
    View::animate(0.3, [&]() { v->setFrame(shown); }, [weak](bool) {
        if (auto c = weak.lock())
            c->endAppearance();
    });
}

void Window::dismissModal(const ViewControllerPtr& controller, bool animated)
{
    if (!m_modals.removeOne(controller))
        return;
    controller->beginAppearance(false, animated);
    QPointer<View> v = controller->view();
    auto finish = [controller, v, this]() {
        if (v) {
            v->hide();
            v->setParent(nullptr);
        }
        controller->endAppearance();
        letGoLater(controller);
    };
    if (!animated) {
        finish();
        return;
    }
    View::animate(0.3, [&]() { v->setFrame(applicationFrame().translated(0, kHeight)); },
                  [finish](bool) { finish(); });
}

void Window::didAddSubview(View* subview)
{
    if (subview != m_statusBar)
        m_statusBar->raise();
}

void Window::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::WindowStateChange) {
        Application& app = Application::sharedApplication();
        if (windowState() & Qt::WindowMinimized) {
            m_wasMinimised = true;
            app.setApplicationState(Application::State::Background);
        } else if (m_wasMinimised) {
            m_wasMinimised = false;
            app.setApplicationState(isActiveWindow() ? Application::State::Active : Application::State::Inactive);
        }
    }
    View::changeEvent(event);
}

void Window::closeByUser()
{
    // Alerts closed with the window were answered by no button.
    for (const std::shared_ptr<AlertView>& alert : AlertView::visibleAlerts())
        alert->dismissWithoutButton();
    Application::sharedApplication().terminate();
}

void Window::closeEvent(QCloseEvent* event)
{
    closeByUser();
    event->accept();
}
