#include "platform/ui/ViewController.h"

#include "platform/ui/Autoresizing.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/View.h"
#include "platform/ui/Window.h"

#include <QCoreApplication>

ViewController::ViewController() : m_preferredFrame(0, 0, kScreenWidth, kScreenHeight) {}

ViewController::~ViewController()
{
    if (m_view) {
        m_view->setViewController(nullptr);
        // The view may still sit in a container that outlives this screen.
        m_view->hide();
        m_view->setParent(nullptr);
        m_view->deleteLater();
    }
}

View* ViewController::view()
{
    if (!m_view) {
        loadView();
        if (!m_view)
            setView(new View(m_preferredFrame));
        viewDidLoad();
    }
    return m_view;
}

bool ViewController::isViewLoaded() const
{
    return !m_view.isNull();
}

void ViewController::setView(View* view)
{
    if (m_view == view)
        return;
    if (m_view) {
        m_view->setViewController(nullptr);
        m_view->deleteLater();
    }
    m_view = view;
    if (view)
        view->setViewController(this);
}

void ViewController::loadView()
{
    auto* root = new View(QRectF(QPointF(0, 0), m_preferredFrame.size()));
    root->setAutoresizingMask(Autoresizing::FlexibleSize);
    root->setBackgroundColor(Qt::white);
    setView(root);
    buildNib(root);
}

QString ViewController::title() const
{
    return m_title;
}

void ViewController::setTitle(const QString& title)
{
    m_title = title;
    navigationItem()->setTitle(title);
}

NavigationItem* ViewController::navigationItem()
{
    if (!m_navigationItem)
        m_navigationItem = std::make_unique<NavigationItem>(m_title);
    return m_navigationItem.get();
}

NavigationController* ViewController::navigationController() const
{
    if (NavigationController* n = m_navigationController.get())
        return n;
    if (ViewController* parent = m_parent.get())
        return parent->navigationController();
    return nullptr;
}

void ViewController::setNavigationController(NavigationController* controller)
{
    m_navigationController = WeakRef<NavigationController>(controller);
}

void ViewController::setParentViewController(ViewController* parent)
{
    m_parent = WeakRef<ViewController>(parent);
}

void ViewController::presentModalViewController(const std::shared_ptr<ViewController>& controller, bool animated)
{
    if (!controller)
        return;
    m_modal = controller;
    controller->setParentViewController(this);
    if (Window* window = Window::keyWindow())
        window->presentModal(controller, animated);
}

void ViewController::dismissModalViewControllerAnimated(bool animated)
{
    ViewController* target = this;
    // Asked of the modal screen itself, the screen that showed it dismisses.
    if (!m_modal && m_parent.get() && m_parent->m_modal.get() == this)
        target = m_parent.get();
    if (!target->m_modal)
        return;
    std::shared_ptr<ViewController> modal = std::move(target->m_modal);
    if (Window* window = Window::keyWindow())
        window->dismissModal(modal, animated);
}

ViewController* ViewController::modalViewController() const
{
    return m_modal.get();
}

void ViewController::beginAppearance(bool appearing, bool animated)
{
    if (appearing == m_appeared && m_transition == 0)
        return;
    m_transition = appearing ? 1 : -1;
    m_transitionAnimated = animated;
    if (appearing)
        viewWillAppear(animated);
    else
        viewWillDisappear(animated);
}

void ViewController::endAppearance()
{
    if (m_transition == 0)
        return;
    const bool appearing = m_transition > 0;
    m_transition = 0;
    m_appeared = appearing;
    if (appearing)
        viewDidAppear(m_transitionAnimated);
    else
        viewDidDisappear(m_transitionAnimated);
}
