#include "platform/ui/NavigationController.h"

#include "platform/ui/Animator.h"
#include "platform/ui/NavigationBar.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/View.h"

#include <QCoreApplication>
#include <QPointer>

std::shared_ptr<NavigationController> NavigationController::create(const ViewControllerPtr& root)
{
    auto nav = std::make_shared<NavigationController>();
    if (root)
        nav->setViewControllers({root}, false);
    return nav;
}

NavigationController::NavigationController() = default;

NavigationController::~NavigationController()
{
    for (const ViewControllerPtr& c : std::as_const(m_stack)) {
        if (c->navigationController() == this)
            c->setNavigationController(nullptr);
    }
}

void NavigationController::loadView()
{
    auto* root = new View(QRectF(QPointF(0, 0), preferredViewFrame().size()));
    root->setAutoresizingMask(Autoresizing::FlexibleSize);
    root->setBackgroundColor(Qt::black);
    m_container = new View(contentRect());
    m_container->setAutoresizingMask(Autoresizing::FlexibleSize);
    root->addSubview(m_container);
    m_bar = new NavigationBar(QRectF(0, 0, root->frame().width(), NavigationBar::kHeight));
    std::weak_ptr<ViewController> weakSelf = weak_from_this();
    m_bar->setBackHandler([weakSelf]() {
        auto self = std::static_pointer_cast<NavigationController>(weakSelf.lock());
        ViewController* top = self ? self->topViewController() : nullptr;
        if (self && (!top || top->shouldGoBack()))
            self->popViewControllerAnimated(true);
    });
    m_bar->setHidden(m_barHidden);
    root->addSubview(m_bar);
    setView(root);
    refreshBar();
    if (m_shown) {
        View* v = m_shown->view();
        v->setFrame(QRectF(QPointF(0, 0), m_container->frame().size()));
        m_container->addSubview(v);
    }
}

NavigationBar* NavigationController::navigationBar()
{
    view();
    return m_bar;
}

QRectF NavigationController::contentRect() const
{
    const QSizeF size = isViewLoaded() ? const_cast<NavigationController*>(this)->view()->frame().size()
                                       : preferredViewFrame().size();
    const qreal top = m_barHidden ? 0 : NavigationBar::kHeight;
    return QRectF(0, top, size.width(), size.height() - top);
}

ViewController* NavigationController::topViewController() const
{
    return m_stack.isEmpty() ? nullptr : m_stack.last().get();
}

ViewController* NavigationController::visibleViewController() const
{
    ViewController* top = topViewController();
    if (top && top->modalViewController())
        return top->modalViewController();
    if (modalViewController())
        return modalViewController();
    return top;
}

void NavigationController::adopt(const ViewControllerPtr& controller)
{
    controller->setNavigationController(this);
    controller->setParentViewController(this);
}

void NavigationController::release(const ViewControllerPtr& controller)
{
    if (!controller || m_stack.contains(controller))
        return;
    if (controller->navigationController() == this)
        controller->setNavigationController(nullptr);
    if (controller->parentViewController() == this)
        controller->setParentViewController(nullptr);
    // Let go on the event loop: the screen may be on the call stack now.
    ViewControllerPtr keep = controller;
    QMetaObject::invokeMethod(qApp, [keep]() mutable { keep.reset(); }, Qt::QueuedConnection);
}

void NavigationController::pushViewController(const ViewControllerPtr& controller, bool animated)
{
    if (!controller || m_stack.contains(controller))
        return;
    finishTransition();
    const ViewControllerPtr from = m_stack.isEmpty() ? nullptr : m_stack.last();
    adopt(controller);
    m_stack.append(controller);
    show(from, controller, Direction::Push, animated);
}

ViewControllerPtr NavigationController::popViewControllerAnimated(bool animated)
{
    if (m_stack.size() < 2)
        return nullptr;
    finishTransition();
    ViewControllerPtr popped = m_stack.takeLast();
    show(popped, m_stack.last(), Direction::Pop, animated);
    release(popped);
    return popped;
}

QList<ViewControllerPtr> NavigationController::popToRootViewControllerAnimated(bool animated)
{
    if (m_stack.isEmpty())
        return {};
    return popToViewController(m_stack.first().get(), animated);
}

QList<ViewControllerPtr> NavigationController::popToViewController(ViewController* controller, bool animated)
{
    int index = -1;
    for (int i = 0; i < m_stack.size(); ++i) {
        if (m_stack[i].get() == controller)
            index = i;
    }
    if (index < 0 || index == m_stack.size() - 1)
        return {};
    finishTransition();
    const ViewControllerPtr top = m_stack.last();
    QList<ViewControllerPtr> popped = m_stack.mid(index + 1);
    m_stack = m_stack.mid(0, index + 1);
    show(top, m_stack.last(), Direction::Pop, animated);
    for (const ViewControllerPtr& c : popped)
        release(c);
    return popped;
}

bool NavigationController::popViewController(ViewController* controller, bool animated)
{
    for (int i = 0; i < m_stack.size(); ++i) {
        if (m_stack[i].get() != controller)
            continue;
        if (i == m_stack.size() - 1 && m_stack.size() > 1) {
            popViewControllerAnimated(animated);
        } else {
            QList<ViewControllerPtr> rest = m_stack;
            rest.removeAt(i);
            setViewControllers(rest, animated);
        }
        return true;
    }
    return false;
}

void NavigationController::replaceTopViewController(const ViewControllerPtr& controller, bool animated)
{
    QList<ViewControllerPtr> stack = m_stack;
    if (!stack.isEmpty())
        stack.removeLast();
    stack.append(controller);
    setViewControllers(stack, animated);
}

void NavigationController::setViewControllers(const QList<ViewControllerPtr>& controllers, bool animated)
{
    finishTransition();
    QList<ViewControllerPtr> fresh;
    for (const ViewControllerPtr& c : controllers) {
        if (c && !fresh.contains(c))
            fresh.append(c);
    }
    const ViewControllerPtr oldTop = m_stack.isEmpty() ? nullptr : m_stack.last();
    const QList<ViewControllerPtr> old = m_stack;
    m_stack = fresh;
    for (const ViewControllerPtr& c : fresh)
        adopt(c);
    const ViewControllerPtr newTop = fresh.isEmpty() ? nullptr : fresh.last();
    if (newTop != oldTop) {
        const Direction direction = old.contains(newTop) ? Direction::Pop : Direction::Push;
        show(oldTop, newTop, direction, animated);
    } else {
        refreshBar();
    }
    for (const ViewControllerPtr& c : old)
        release(c);
}

void NavigationController::refreshBar()
{
    if (!m_bar)
        return;
    QList<NavigationItem*> items;
    for (const ViewControllerPtr& c : std::as_const(m_stack))
        items.append(c->navigationItem());
    m_bar->setItems(items);
}

void NavigationController::show(const ViewControllerPtr& from, const ViewControllerPtr& to, Direction direction,
                                bool animated)
{
    m_shown = to;
    if (!isViewLoaded()) {
        // Not on screen yet: only the pushed screen's view is loaded, now.
        if (to) {
            to->setPreferredViewFrame(QRectF(QPointF(0, 0), contentRect().size()));
            to->view();
        }
        return;
    }
    refreshBar();
    const bool visible = isAppeared();
    const QRectF before(QPointF(0, 0), m_container->frame().size());
    View* toView = nullptr;
    if (to) {
        to->setPreferredViewFrame(before);
        toView = to->view();
        toView->setFrame(before);
        m_container->addSubview(toView);
    }
    View* fromView = from && from->isViewLoaded() ? from->view() : nullptr;
    if (visible) {
        if (from)
            from->beginAppearance(false, animated);
        if (to)
            to->beginAppearance(true, animated);
    }
    // A screen that shows or hides the bar as it appears has resized the
    // container meanwhile: the slide ends at the new size.
    const QRectF area(QPointF(0, 0), m_container->frame().size());
    ViewControllerPtr keepFrom = from;
    ViewControllerPtr keepTo = to;
    QPointer<View> weakFrom(fromView);
    QPointer<View> container(m_container);
    auto end = [keepFrom, keepTo, weakFrom, container, visible]() {
        if (weakFrom && weakFrom->superview() == container && (!keepTo || weakFrom != keepTo->view())) {
            weakFrom->hide();
            weakFrom->setParent(nullptr);
        }
        if (visible) {
            if (keepFrom)
                keepFrom->endAppearance();
            if (keepTo)
                keepTo->endAppearance();
        }
    };
    if (!animated || direction == Direction::None || !fromView || !toView) {
        end();
        return;
    }
    const qreal w = area.width();
    const qreal sign = direction == Direction::Push ? 1 : -1;
    toView->setFrame(area.translated(sign * w, 0));
    m_pendingTransitionEnd = end;
    const int id = ++m_transitionId;
    std::weak_ptr<ViewController> weakSelf = weak_from_this();
    View::animate(
        kTransitionDuration,
        [&]() {
            toView->setFrame(area);
            fromView->setFrame(area.translated(-sign * w, 0));
        },
        [weakSelf, end, id](bool) {
            // A slide ended early by a later one has been finished already.
            auto self = std::static_pointer_cast<NavigationController>(weakSelf.lock());
            if (self && self->m_pendingTransitionEnd && self->m_transitionId == id) {
                self->m_pendingTransitionEnd = nullptr;
                end();
            }
        });
}

void NavigationController::finishTransition()
{
    if (!m_pendingTransitionEnd)
        return;
    const auto end = std::move(m_pendingTransitionEnd);
    m_pendingTransitionEnd = nullptr;
    if (m_container) {
        for (View* v : m_container->subviews()) {
            Animator::shared().finish(v, 1);
            v->setFrame(QRectF(QPointF(0, 0), m_container->frame().size()));
        }
    }
    end();
}

void NavigationController::setNavigationBarHidden(bool hidden, bool animated)
{
    if (m_barHidden == hidden)
        return;
    m_barHidden = hidden;
    if (!isViewLoaded())
        return;
    const qreal width = view()->frame().width();
    const QRectF shownBar(0, 0, width, NavigationBar::kHeight);
    const QRectF hiddenBar = shownBar.translated(0, -NavigationBar::kHeight);
    if (!hidden)
        m_bar->setHidden(false);
    if (!animated) {
        m_bar->setFrame(hidden ? hiddenBar : shownBar);
        m_bar->setHidden(hidden);
        layoutContent();
        return;
    }
    QPointer<NavigationBar> bar(m_bar);
    View::animate(
        0.2,
        [&]() {
            m_bar->setFrame(hidden ? hiddenBar : shownBar);
            layoutContent();
        },
        [bar, hidden](bool) {
            if (bar && hidden)
                bar->setHidden(true);
        });
}

void NavigationController::layoutContent()
{
    m_container->setFrame(contentRect());
}

void NavigationController::viewWillAppear(bool animated)
{
    if (ViewController* top = topViewController())
        top->beginAppearance(true, animated);
}

void NavigationController::viewDidAppear(bool)
{
    if (ViewController* top = topViewController())
        top->endAppearance();
}

void NavigationController::viewWillDisappear(bool animated)
{
    if (ViewController* top = topViewController())
        top->beginAppearance(false, animated);
}

void NavigationController::viewDidDisappear(bool)
{
    if (ViewController* top = topViewController())
        top->endAppearance();
}
