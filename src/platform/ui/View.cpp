#include "platform/ui/View.h"

#include "platform/ui/Animator.h"
#include "platform/ui/AutoresizingLayout.h"
#include "platform/ui/Drawing.h"
#include "platform/ui/Keyboard.h"
#include "platform/ui/ViewController.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QCoreApplication>
#include <QPointer>

#include <cmath>
#include <typeinfo>

View::View(const QRectF& frame) : QWidget(nullptr), m_frame(frame)
{
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    placeWidget();
}

View::~View() = default;

QList<View*> View::subviews() const
{
    QList<View*> views;
    for (QObject* child : children()) {
        if (auto* v = qobject_cast<View*>(child))
            views.append(v);
    }
    return views;
}

void View::setFrame(const QRectF& frame)
{
    const QSizeF oldSize = m_frame.size();
    m_frame = frame;
    m_presentation.showFrame(frame);
    if (oldSize != frame.size()) {
        if (m_autoresizesSubviews)
            autoresizeSubviews(oldSize);
        boundsSizeDidChange();
        layoutSubviews();
        m_needsLayout = false;
        update();
    }
}

void View::setBounds(const QRectF& bounds)
{
    setBoundsOrigin(bounds.topLeft());
    QRectF f = m_frame;
    const QPointF c = f.center();
    f.setSize(bounds.size());
    f.moveCenter(c);
    setFrame(f);
}

void View::setCenter(const QPointF& center)
{
    QRectF f = m_frame;
    f.moveCenter(center);
    setFrame(f);
}

void View::setBoundsOrigin(const QPointF& origin)
{
    if (m_boundsOrigin == origin)
        return;
    m_boundsOrigin = origin;
    placeSubviews();
    update();
}

bool View::scrollBoundsOrigin(const QPointF& origin)
{
    const QPointF delta = m_boundsOrigin - origin;
    const qreal pixels = delta.y() * devicePixelRatioF();
    if (delta.x() != 0 || delta.y() != std::round(delta.y()) || pixels != std::round(pixels) || !isVisible()
        || !testAttribute(Qt::WA_OpaquePaintEvent))
        return false;
    // Drawn pixels under a fading or turning view are its picture's, not
    // the window's.
    for (const QWidget* w = this; w; w = w->parentWidget()) {
        if (w->graphicsEffect())
            return false;
    }
    m_boundsOrigin = origin;
    // Moves the subviews' widgets by the same whole points, and the pixels;
    // the subviews fixed to the bounds go back to their places below.
    QWidget::scroll(0, int(delta.y()));
    placeSubviews();
    return true;
}

void View::placeSubviews()
{
    for (View* v : subviews())
        v->placeWidget();
}

void View::autoresizeSubviews(const QSizeF& oldSize)
{
    const AutoresizingLayout layout(oldSize, m_frame.size());
    for (View* v : subviews()) {
        if (v->m_autoresizingMask != Autoresizing::None)
            v->setFrame(layout.frameFor(v->m_frame, v->m_autoresizingMask));
    }
}

void View::setTransform(const ViewTransform& transform)
{
    m_transform = transform;
    m_presentation.showTransform(transform);
}

void View::setHidden(bool hidden)
{
    m_hidden = hidden;
    if (parentWidget())
        QWidget::setVisible(!hidden);
}

void View::setAlpha(qreal alpha)
{
    alpha = qBound<qreal>(0, alpha, 1);
    m_alpha = alpha;
    m_presentation.showAlpha(alpha);
}

void View::setBackgroundColor(const QColor& color)
{
    m_backgroundColor = color;
    m_presentation.updateOpaquePaint();
    update();
}

void View::setUserInteractionEnabled(bool enabled)
{
    m_userInteractionEnabled = enabled;
    setAttribute(Qt::WA_TransparentForMouseEvents, !enabled);
}

void View::addSubview(View* view)
{
    insertSubview(view, int(subviews().size()));
}

void View::insertSubview(View* view, int index)
{
    if (!view || view == this)
        return;
    const QList<View*> siblings = subviews();
    if (view->parentWidget() != this)
        view->setParent(this);
    // Widgets stack in the order of their children list: raise everything
    // from the index up, keeping their order.
    QList<View*> order = siblings;
    order.removeAll(view);
    index = qBound(0, index, int(order.size()));
    order.insert(index, view);
    for (int i = index; i < order.size(); ++i)
        order[i]->raise();
    view->didAddToSuperview();
    didAddSubview(view);
}

void View::insertSubviewBelow(View* view, View* sibling)
{
    QList<View*> order = subviews();
    order.removeAll(view);
    const int at = int(order.indexOf(sibling));
    insertSubview(view, at < 0 ? 0 : at);
}

void View::insertSubviewAbove(View* view, View* sibling)
{
    QList<View*> order = subviews();
    order.removeAll(view);
    const int at = int(order.indexOf(sibling));
    insertSubview(view, at < 0 ? int(order.size()) : at + 1);
}

void View::didAddToSuperview()
{
    placeWidget();
    QWidget::setVisible(!m_hidden);
    m_presentation.updateEffect();
}

void View::removeFromSuperview()
{
    if (!parentWidget())
        return;
    if (isFirstResponder())
        resignFirstResponder();
    QWidget::setVisible(false);
    setParent(nullptr);
    // Nobody holds a removed view unless it is added again before the event
    // loop turns (or its view controller owns it).
    QPointer<View> self(this);
    QMetaObject::invokeMethod(
        qApp,
        [self]() {
            if (self && !self->parentWidget() && !self->viewController())
                self->deleteLater();
        },
        Qt::QueuedConnection);
}

void View::bringSubviewToFront(View* view)
{
    if (view && view->superview() == this)
        view->raise();
}

void View::sendSubviewToBack(View* view)
{
    if (view && view->superview() == this)
        view->lower();
}

View* View::viewWithTag(int tag)
{
    if (m_tag == tag)
        return this;
    for (View* v : subviews()) {
        if (View* found = v->viewWithTag(tag))
            return found;
    }
    return nullptr;
}

bool View::isDescendantOfView(const View* view) const
{
    for (const View* v = this; v; v = v->superview()) {
        if (v == view)
            return true;
    }
    return false;
}

View* View::rootView()
{
    View* v = this;
    while (View* s = v->superview())
        v = s;
    return v;
}

QRectF View::convertRect(const QRectF& rect, const View* toView) const
{
    return QRectF(convertPoint(rect.topLeft(), toView), rect.size());
}

void View::setNeedsLayout()
{
    if (m_needsLayout)
        return;
    m_needsLayout = true;
    QPointer<View> self(this);
    QMetaObject::invokeMethod(
        this, [self]() { if (self) self->layoutIfNeeded(); }, Qt::QueuedConnection);
}

void View::layoutIfNeeded()
{
    if (!m_needsLayout)
        return;
    m_needsLayout = false;
    layoutSubviews();
}

void View::sizeToFit()
{
    const QSizeF size = sizeThatFits(m_frame.size());
    setFrame(QRectF(m_frame.topLeft(), size));
}

bool View::becomeFirstResponder()
{
    if (!canBecomeFirstResponder())
        return false;
    setFocusPolicy(Qt::StrongFocus);
    setFocus(Qt::OtherFocusReason);
    return true;
}

bool View::resignFirstResponder()
{
    if (hasFocus())
        clearFocus();
    return true;
}

bool View::endEditing()
{
    if (isFirstResponder()) {
        resignFirstResponder();
        return true;
    }
    for (View* v : subviews()) {
        if (v->endEditing())
            return true;
    }
    return false;
}

bool View::event(QEvent* event)
{
    if (event->type() == QEvent::Resize && m_presentation.hasEffect())
        m_presentation.updateEffect();
    if (event->type() == QEvent::KeyPress) {
        // Tab goes round the screen in reading order, not in the order the
        // views were made.
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool tab = key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab;
        if (tab && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
            Keyboard::moveFocus(this, key->key() == Qt::Key_Tab && !(key->modifiers() & Qt::ShiftModifier));
            event->accept();
            return true;
        }
    }
    return QWidget::event(event);
}

bool View::focusNextPrevChild(bool next)
{
    // The toolkit asks this when a view that holds the focus, or holds the
    // view that does, hides. A control the keyboard reached hands the focus
    // to the next stop of its screen, unless the whole screen went; the
    // text inputs go the toolkit's way, as they always have.
    auto* focused = qobject_cast<View*>(QApplication::focusWidget());
    if (!focused || !focused->acceptsKeyboardFocus() || focused->canBecomeFirstResponder())
        return QWidget::focusNextPrevChild(next);
    if (viewController() || !Keyboard::moveFocus(this, next))
        focused->clearFocus();
    return true;
}

bool View::drawsNothing() const
{
    return typeid(*this) == typeid(View);
}

void View::paintEvent(QPaintEvent* event)
{
    const bool filled = m_backgroundColor.isValid() && m_backgroundColor.alpha() > 0;
    if (!filled && drawsNothing() && !showsFocusMark())
        return;
    QPainter painter(this);
    // The background fills every pixel of the widget, whatever its bounds
    // origin or its place among the device's pixels, unsmoothed: at a zoom
    // of 1.25 or 1.5 a widget starts on a whole pixel while its painter
    // starts a fraction of one away, and a smoothed fill of its points left
    // an edge row half covered over whatever the window held before (the
    // clip keeps the fill within the widget).
    if (filled)
        painter.fillRect(rect().adjusted(-1, -1, 1, 1), m_backgroundColor);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.translate(-m_boundsOrigin);
    const QRectF b = bounds();
    m_exposed = QRectF(event->rect()).translated(m_boundsOrigin);
    drawRect(painter, b);
    m_exposed = QRectF();
    if (showsFocusMark())
        Drawing::drawFocusMark(painter, focusMarkRect());
}

void View::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    const bool press = key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter;
    if (!press || !acceptsKeyboardFocus()) {
        QWidget::keyPressEvent(event);
        return;
    }
    if (!event->isAutoRepeat())
        pressedByKeyboard();
    event->accept();
}

// The focus mark comes and goes with the focus.
void View::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    if (acceptsKeyboardFocus())
        update();
}

void View::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    if (acceptsKeyboardFocus())
        update();
}

void View::animate(double duration, const std::function<void()>& animations, std::function<void(bool)> completion)
{
    animate(duration, 0, AnimationCurve::EaseInOut, animations, std::move(completion));
}

void View::animate(double duration, double delay, AnimationCurve curve, const std::function<void()>& animations,
                   std::function<void(bool)> completion)
{
    Animator::BlockOptions options;
    options.durationMs = qRound64(duration * 1000);
    options.delayMs = qRound64(delay * 1000);
    options.curve = curve;
    Animator::shared().runBlock(options, animations, std::move(completion));
}

void View::setAnimationsEnabled(bool enabled)
{
    Animator::setAnimationsEnabled(enabled);
}

void View::setViewController(ViewController* controller)
{
    m_viewController = WeakRef<ViewController>(controller);
}
