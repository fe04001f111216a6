#include "platform/ui/View.h"

#include "platform/ui/Animator.h"
#include "platform/ui/Drawing.h"
#include "platform/ui/Keyboard.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/ViewEffect.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QCoreApplication>
#include <QPointer>

#include <cmath>
#include <typeinfo>

namespace {

QRect widgetRect(const QRectF& r)
{
    const int left = qRound(r.left());
    const int top = qRound(r.top());
    return QRect(left, top, qMax(0, qRound(r.right()) - left), qMax(0, qRound(r.bottom()) - top));
}

Animator::Values rectValues(const QRectF& r)
{
    return {r.x(), r.y(), r.width(), r.height()};
}

// Shares `delta` among the flexible parts of one axis by their sizes.
void distribute(qreal delta, bool flexA, bool flexB, bool flexC, qreal& a, qreal& b, qreal& c)
{
    const int count = int(flexA) + int(flexB) + int(flexC);
    if (count == 0)
        return;
    qreal total = (flexA ? a : 0) + (flexB ? b : 0) + (flexC ? c : 0);
    if (total <= 0) {
        if (flexA)
            a += delta / count;
        if (flexB)
            b += delta / count;
        if (flexC)
            c += delta / count;
        return;
    }
    if (flexA)
        a += delta * a / total;
    if (flexB)
        b += delta * b / total;
    if (flexC)
        c += delta * c / total;
}

enum TouchPhase { Began, Moved, Ended };

}  // namespace

View::View(const QRectF& frame) : QWidget(nullptr), m_frame(frame), m_presentedFrame(frame)
{
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    placeWidget();
}

View::~View() = default;

View* View::superview() const
{
    return qobject_cast<View*>(parentWidget());
}

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
    const QRectF from = m_presentedFrame;
    if (Animator::shared().currentBlock() && from != frame) {
        QPointer<View> self(this);
        Animator::shared().add(this, FrameProperty, rectValues(from), rectValues(frame),
                               [self](const Animator::Values& v) {
                                   if (!self)
                                       return;
                                   self->m_presentedFrame = QRectF(v[0], v[1], v[2], v[3]);
                                   self->placeWidget();
                               });
    } else {
        if (Animator::shared().isAnimating(this, FrameProperty))
            Animator::shared().finish(this, FrameProperty);
        m_presentedFrame = frame;
        placeWidget();
    }
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

void View::placeSubviews()
{
    for (View* v : subviews())
        v->placeWidget();
}

void View::placeWidget()
{
    QPointF offset;
    if (View* s = superview())
        offset = s->m_boundsOrigin;
    setGeometry(widgetRect(m_presentedFrame.translated(-offset)));
    updateOpaquePaint();
}

// A view whose opaque background fills every pixel of its widget tells Qt
// so: the views beneath it are then not painted where it lies, as nothing of
// them would show.
void View::updateOpaquePaint()
{
    const auto whole = [](qreal v) { return v == std::floor(v); };
    const QRectF& f = m_presentedFrame;
    const bool covers = m_backgroundColor.isValid() && m_backgroundColor.alpha() == 255 && !m_effect
                        && whole(f.x()) && whole(f.y()) && whole(f.width()) && whole(f.height());
    if (testAttribute(Qt::WA_OpaquePaintEvent) != covers)
        setAttribute(Qt::WA_OpaquePaintEvent, covers);
}

void View::autoresizeSubviews(const QSizeF& oldSize)
{
    const QSizeF newSize = m_frame.size();
    const qreal dw = newSize.width() - oldSize.width();
    const qreal dh = newSize.height() - oldSize.height();
    for (View* v : subviews()) {
        const unsigned m = v->m_autoresizingMask;
        if (m == Autoresizing::None)
            continue;
        QRectF f = v->m_frame;
        qreal left = f.x(), width = f.width(), right = oldSize.width() - f.right();
        distribute(dw, m & Autoresizing::FlexibleLeftMargin, m & Autoresizing::FlexibleWidth,
                   m & Autoresizing::FlexibleRightMargin, left, width, right);
        qreal top = f.y(), height = f.height(), bottom = oldSize.height() - f.bottom();
        distribute(dh, m & Autoresizing::FlexibleTopMargin, m & Autoresizing::FlexibleHeight,
                   m & Autoresizing::FlexibleBottomMargin, top, height, bottom);
        v->setFrame(QRectF(left, top, qMax<qreal>(0, width), qMax<qreal>(0, height)));
    }
}

void View::setTransform(const ViewTransform& transform)
{
    m_transform = transform;
    const ViewTransform from = m_presentedTransform;
    auto values = [](const ViewTransform& t) {
        return Animator::Values{t.scaleX, t.scaleY, t.rotation, t.translateX, t.translateY};
    };
    QPointer<View> self(this);
    Animator::shared().add(this, TransformProperty, values(from), values(transform),
                           [self](const Animator::Values& v) {
                               if (!self)
                                   return;
                               self->m_presentedTransform = ViewTransform{v[0], v[1], v[2], v[3], v[4]};
                               self->updateEffect();
                           });
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
    QPointer<View> self(this);
    Animator::shared().add(this, AlphaProperty, {m_presentedAlpha}, {alpha}, [self](const Animator::Values& v) {
        if (!self)
            return;
        self->m_presentedAlpha = v[0];
        self->updateEffect();
    });
}

void View::updateEffect()
{
    const bool needed = m_presentedAlpha < 0.999 || !m_presentedTransform.isIdentity();
    if (!needed) {
        if (m_effect) {
            m_effect = nullptr;
            setGraphicsEffect(nullptr);
            updateOpaquePaint();
        }
        return;
    }
    if (!m_effect) {
        m_effect = new ViewEffect(this);
        setGraphicsEffect(m_effect);
        updateOpaquePaint();
    }
    m_effect->setOpacity(m_presentedAlpha);
    m_effect->setTransform(m_presentedTransform.toQTransform(QPointF(width() / 2.0, height() / 2.0)));
}

void View::setBackgroundColor(const QColor& color)
{
    m_backgroundColor = color;
    updateOpaquePaint();
    update();
}

void View::setContentMode(ContentMode mode)
{
    m_contentMode = mode;
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
    updateEffect();
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

QPointF View::convertPoint(const QPointF& point, const View* toView) const
{
    // Up to the root in model coordinates, then down to the other view.
    QPointF p = point;
    for (const View* v = this; v; v = v->superview()) {
        p = p - v->m_boundsOrigin + v->m_frame.topLeft();
        if (!v->superview())
            p -= v->m_frame.topLeft();
    }
    if (!toView)
        return p;
    return toView->convertPointFrom(p, nullptr);
}

QPointF View::convertPointFrom(const QPointF& point, const View* fromView) const
{
    const QPointF inRoot = fromView ? fromView->convertPoint(point, nullptr) : point;
    const QPointF origin = convertPoint(QPointF(0, 0), nullptr);
    return inRoot - origin + m_boundsOrigin;
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

QSizeF View::sizeThatFits(const QSizeF&) const
{
    return m_frame.size();
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

bool View::isFirstResponder() const
{
    return hasFocus();
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

void View::touchesBegan(const QPointF& point)
{
    passTouchOn(Began, point);
}

void View::touchesMoved(const QPointF& point)
{
    passTouchOn(Moved, point);
}

void View::touchesEnded(const QPointF& point)
{
    passTouchOn(Ended, point);
}

void View::touchesCancelled() {}

void View::passTouchOn(int phase, const QPointF& point)
{
    m_passedOn = true;
    ViewController* controller = m_viewController.get();
    if (!controller)
        return;
    if (phase == Began)
        controller->touchesBegan(point);
    else if (phase == Moved)
        controller->touchesMoved(point);
    else
        controller->touchesEnded(point);
}

void View::cancelTracking()
{
    if (!m_tracking)
        return;
    m_tracking = false;
    touchesCancelled();
}

QPointF View::pointFromEvent(const QMouseEvent* event) const
{
    return event->position() + m_boundsOrigin;
}

void View::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    Keyboard::pointerPressed();
    m_passedOn = false;
    touchesBegan(pointFromEvent(event));
    // A screen's root view follows the touch for its screen, the next
    // responder, which hears of the rest of it.
    m_tracking = !m_passedOn || m_viewController.get();
    if (!m_tracking)
        event->ignore();
    else
        event->accept();
}

void View::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_tracking) {
        event->ignore();
        return;
    }
    touchesMoved(pointFromEvent(event));
    event->accept();
}

void View::mouseReleaseEvent(QMouseEvent* event)
{
    if (!m_tracking) {
        event->ignore();
        return;
    }
    m_tracking = false;
    touchesEnded(pointFromEvent(event));
    event->accept();
}

bool View::event(QEvent* event)
{
    if (event->type() == QEvent::Resize && m_effect)
        updateEffect();
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

void View::paintEvent(QPaintEvent* event)
{
    // A plain view without a background draws nothing: no painter for it
    // (a row holds several, painted on every frame).
    const bool filled = m_backgroundColor.isValid() && m_backgroundColor.alpha() > 0;
    if (!filled && typeid(*this) == typeid(View))
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.translate(-m_boundsOrigin);
    const QRectF b = bounds();
    if (filled)
        painter.fillRect(b, m_backgroundColor);
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

ViewController* View::viewController() const
{
    return m_viewController.get();
}

void View::setViewController(ViewController* controller)
{
    m_viewController = WeakRef<ViewController>(controller);
}
