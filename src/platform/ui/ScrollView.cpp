#include "platform/ui/ScrollView.h"

#include "platform/ui/Animator.h"
#include "platform/ui/Control.h"

#include "platform/foundation/Clock.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QWheelEvent>

namespace {

// Watches presses anywhere in the application; once a press inside a scroll
// view moves past the threshold, the drag belongs to the scroll view: the
// view that took the press is told its touch was cancelled.
class ScrollDragRouter : public QObject {
public:
    static void ensureInstalled()
    {
        static ScrollDragRouter* router = nullptr;
        if (!router && qApp) {
            router = new ScrollDragRouter();
            router->setParent(qApp);
            qApp->installEventFilter(router);
        }
    }

    bool eventFilter(QObject* object, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::MouseButtonPress: {
            auto* e = static_cast<QMouseEvent*>(event);
            if (e->button() != Qt::LeftButton || e == m_lastPress)
                return false;
            // A press no view took goes on to the parents as a copy: it is
            // still the press that found its scroll view.
            if (m_pressed && e->timestamp() == m_pressTime && e->globalPosition() == m_start)
                return false;
            m_lastPress = e;
            m_pressTime = e->timestamp();
            m_dragging = false;
            m_scroll = nullptr;
            m_pressed = qobject_cast<QWidget*>(object);
            for (QWidget* w = m_pressed; w; w = w->parentWidget()) {
                if (auto* s = qobject_cast<ScrollView*>(w); s && s->isScrollEnabled()) {
                    m_scroll = s;
                    break;
                }
            }
            m_start = e->globalPosition();
            // A click gives the keyboard to the page it lands on, so that the
            // keys scroll it, but not one on a control or an input: a button
            // pressed while a text is being written leaves the text editing.
            if (m_scroll && e->spontaneous() && !landsOnControlOrInput(m_pressed, m_scroll))
                m_scroll->setFocus(Qt::MouseFocusReason);
            return false;
        }
        case QEvent::MouseMove: {
            auto* e = static_cast<QMouseEvent*>(event);
            if (!m_scroll || !(e->buttons() & Qt::LeftButton))
                return false;
            if (!m_dragging) {
                if (QLineF(m_start, e->globalPosition()).length() < ScrollView::kDragThreshold)
                    return false;
                m_dragging = true;
                for (QWidget* w = m_pressed; w; w = w->parentWidget()) {
                    if (auto* v = qobject_cast<View*>(w))
                        v->cancelTracking();
                    if (w == m_scroll)
                        break;
                }
                m_scroll->beginDragging(m_start);
            }
            m_scroll->dragTo(e->globalPosition());
            return true;
        }
        case QEvent::MouseButtonRelease: {
            auto* e = static_cast<QMouseEvent*>(event);
            if (e->button() != Qt::LeftButton)
                return false;
            const bool wasDragging = m_dragging;
            QPointer<ScrollView> scroll = m_scroll;
            m_dragging = false;
            m_scroll = nullptr;
            m_pressed = nullptr;
            m_lastPress = nullptr;
            if (wasDragging && scroll) {
                scroll->endDragging();
                return true;
            }
            return wasDragging;
        }
        default:
            return false;
        }
    }

private:
    static bool landsOnControlOrInput(const QWidget* pressed, const ScrollView* scroll)
    {
        for (const QWidget* w = pressed; w && w != scroll; w = w->parentWidget()) {
            if (const auto* control = qobject_cast<const Control*>(w); control && control->isEnabled())
                return true;
            if (w->focusPolicy() & Qt::ClickFocus)
                return true;
        }
        return false;
    }

    QMouseEvent* m_lastPress = nullptr;
    quint64 m_pressTime = 0;
    QPointer<QWidget> m_pressed;
    QPointer<ScrollView> m_scroll;
    QPointF m_start;
    bool m_dragging = false;
};

}  // namespace

ScrollView::ScrollView(const QRectF& frame) : View(frame)
{
    setClipsToBounds(true);
    ScrollDragRouter::ensureInstalled();
}

void ScrollView::setContentSize(const QSizeF& size)
{
    if (size == m_contentSize)
        return;
    m_contentSize = size;
    update();
}

QPointF ScrollView::minimumContentOffset() const
{
    return QPointF(-m_contentInset.left, -m_contentInset.top);
}

QPointF ScrollView::maximumContentOffset() const
{
    const QPointF low = minimumContentOffset();
    const QSizeF size = frame().size();
    return QPointF(qMax(low.x(), m_contentSize.width() + m_contentInset.right - size.width()),
                   qMax(low.y(), m_contentSize.height() + m_contentInset.bottom - size.height()));
}

QPointF ScrollView::clampedOffset(const QPointF& offset) const
{
    const QPointF low = minimumContentOffset();
    const QPointF high = maximumContentOffset();
    return QPointF(qBound(low.x(), offset.x(), high.x()), qBound(low.y(), offset.y(), high.y()));
}

void ScrollView::applyOffset(const QPointF& offset)
{
    if (offset == boundsOrigin())
        return;
    if (scrollBoundsOrigin(offset)) {
        // The pixels moved with the content: what is drawn fixed to the
        // visible area is drawn again.
        if (showsFocusMark())
            update();
        else if (m_showsIndicator && (m_dragging || m_decelerating))
            update(indicatorStrip());
    } else {
        setBoundsOrigin(offset);
    }
    contentOffsetDidChange();
    if (ScrollViewDelegate* d = m_delegate.get())
        d->scrollViewDidScroll(this);
}

void ScrollView::setContentOffset(const QPointF& offset)
{
    if (Animator::shared().currentBlock()) {
        // Inside an animation block the content moves over the block's time.
        QPointer<ScrollView> self(this);
        const QPointF from = contentOffset();
        Animator::shared().add(this, OffsetProperty, {from.x(), from.y()}, {offset.x(), offset.y()},
                               [self](const Animator::Values& v) {
                                   if (self)
                                       self->applyOffset(QPointF(v[0], v[1]));
                               });
        return;
    }
    if (Animator::shared().isAnimating(this, OffsetProperty))
        Animator::shared().finish(this, OffsetProperty);
    m_settleTimer.cancel();
    setDecelerating(false);
    applyOffset(offset);
}

void ScrollView::setContentOffset(const QPointF& offset, bool animated)
{
    if (!animated) {
        setContentOffset(offset);
        return;
    }
    animateOffset(offset, 300, false);
}

void ScrollView::animateOffset(const QPointF& target, qint64 durationMs, bool decelerating)
{
    m_settleTimer.cancel();
    setDecelerating(decelerating);
    Animator::BlockOptions options;
    options.durationMs = durationMs;
    options.curve = AnimationCurve::EaseOut;
    const QPointF from = contentOffset();
    QPointer<ScrollView> self(this);
    Animator::shared().add(this, OffsetProperty, {from.x(), from.y()}, {target.x(), target.y()},
                           [self](const Animator::Values& v) {
                               if (self)
                                   self->applyOffset(QPointF(v[0], v[1]));
                           },
                           &options);
    m_settleTimer = Clock::current().after(durationMs, [this, decelerating]() {
        Animator::shared().finish(this, OffsetProperty);
        setDecelerating(false);
        if (ScrollViewDelegate* d = m_delegate.get()) {
            if (decelerating)
                d->scrollViewDidEndDecelerating(this);
            else
                d->scrollViewDidEndScrollingAnimation(this);
        }
    });
}

void ScrollView::setContentInset(const EdgeInsets& inset)
{
    m_contentInset = inset;
    if (m_dragging)
        return;
    const QPointF clamped = clampedOffset(contentOffset());
    if (clamped != contentOffset() && !m_decelerating)
        setContentOffset(clamped);
}

void ScrollView::scrollRectToVisible(const QRectF& rect, bool animated)
{
    QPointF offset = contentOffset();
    const QSizeF size = frame().size();
    if (rect.top() < offset.y())
        offset.setY(rect.top());
    else if (rect.bottom() > offset.y() + size.height())
        offset.setY(rect.bottom() - size.height());
    setContentOffset(clampedOffset(offset), animated);
}

bool ScrollView::canScrollVertically() const
{
    return m_alwaysBounceVertical || m_contentSize.height() + m_contentInset.top + m_contentInset.bottom > frame().height();
}

bool ScrollView::canScrollHorizontally() const
{
    return m_alwaysBounceHorizontal || m_contentSize.width() + m_contentInset.left + m_contentInset.right > frame().width();
}

qreal ScrollView::band(qreal raw, qreal low, qreal high) const
{
    if (raw < low)
        return m_bounces ? low + (raw - low) * kRubberBand : low;
    if (raw > high)
        return m_bounces ? high + (raw - high) * kRubberBand : high;
    return raw;
}

void ScrollView::beginDragging(const QPointF& windowPoint)
{
    if (!m_scrollEnabled)
        return;
    if (Animator::shared().isAnimating(this, OffsetProperty))
        Animator::shared().finish(this, OffsetProperty);
    m_settleTimer.cancel();
    m_decelerating = false;
    m_dragging = true;
    m_dragStartPoint = windowPoint;
    m_lastPoint = windowPoint;
    m_dragStartOffset = contentOffset();
    m_lastMoveMs = Clock::current().elapsedMs();
    m_velocity = QPointF();
    if (ScrollViewDelegate* d = m_delegate.get())
        d->scrollViewWillBeginDragging(this);
    update();
}

void ScrollView::dragTo(const QPointF& windowPoint)
{
    if (!m_dragging)
        return;
    const QPointF low = minimumContentOffset();
    const QPointF high = maximumContentOffset();
    const QPointF raw = m_dragStartOffset - (windowPoint - m_dragStartPoint);
    QPointF offset = contentOffset();
    if (canScrollHorizontally())
        offset.setX(band(raw.x(), low.x(), high.x()));
    if (canScrollVertically())
        offset.setY(band(raw.y(), low.y(), high.y()));
    const qint64 now = Clock::current().elapsedMs();
    const qint64 dt = qMax<qint64>(1, now - m_lastMoveMs);
    m_velocity = (m_lastPoint - windowPoint) / qreal(dt);
    m_lastPoint = windowPoint;
    m_lastMoveMs = now;
    applyOffset(offset);
}

void ScrollView::endDragging()
{
    if (!m_dragging)
        return;
    m_dragging = false;
    const QPointF offset = contentOffset();
    const bool outside = clampedOffset(offset) != offset;
    // A quick flick coasts on: points per millisecond, over the last move.
    const bool recent = Clock::current().elapsedMs() - m_lastMoveMs < 80;
    const bool coasting = !outside && recent && QLineF(QPointF(), m_velocity).length() > 0.5;
    if (ScrollViewDelegate* d = m_delegate.get())
        d->scrollViewDidEndDragging(this, outside || coasting);
    // The delegate may have changed the inset: spring back into the range
    // that holds now.
    const QPointF target = outside ? clampedOffset(contentOffset())
                                   : coasting ? clampedOffset(contentOffset() + m_velocity * 250) : contentOffset();
    if (target != contentOffset())
        animateOffset(target, outside ? 300 : 500, true);
    update();
}

void ScrollView::boundsSizeDidChange()
{
    if (!m_dragging && !m_decelerating && clampedOffset(contentOffset()) != contentOffset()
        && contentOffset().y() >= minimumContentOffset().y())
        applyOffset(clampedOffset(contentOffset()));
}

void ScrollView::wheelEvent(QWheelEvent* event)
{
    if (!m_scrollEnabled || m_dragging) {
        event->ignore();
        return;
    }
    QPointF delta = event->pixelDelta();
    if (delta.isNull())
        delta = QPointF(event->angleDelta()) / 120.0 * 40.0;
    const QPointF target = clampedOffset(contentOffset() - delta);
    if (target == contentOffset()) {
        event->ignore();
        return;
    }
    setContentOffset(target);
    event->accept();
}

void ScrollView::keyPressEvent(QKeyEvent* event)
{
    const qreal page = frame().height() - 44;
    QPointF target = contentOffset();
    switch (event->key()) {
    case Qt::Key_Up:
        target.ry() -= 40;
        break;
    case Qt::Key_Down:
        target.ry() += 40;
        break;
    case Qt::Key_PageUp:
        target.ry() -= page;
        break;
    case Qt::Key_PageDown:
    case Qt::Key_Space:
        target.ry() += page;
        break;
    case Qt::Key_Home:
        target = minimumContentOffset();
        break;
    case Qt::Key_End:
        target.setY(maximumContentOffset().y());
        break;
    default:
        View::keyPressEvent(event);
        return;
    }
    setContentOffset(clampedOffset(target), false);
    event->accept();
}

QRect ScrollView::indicatorStrip() const
{
    return QRect(width() - 8, 0, 8, height());
}

// The indicator shows while the content coasts, and goes when it stops.
void ScrollView::setDecelerating(bool decelerating)
{
    if (decelerating == m_decelerating)
        return;
    m_decelerating = decelerating;
    if (m_showsIndicator && !m_dragging)
        update(indicatorStrip());
}

void ScrollView::drawRect(QPainter& painter, const QRectF& rect)
{
    if (!m_showsIndicator || (!m_dragging && !m_decelerating))
        return;
    const qreal total = m_contentSize.height() + m_contentInset.top + m_contentInset.bottom;
    if (total <= rect.height())
        return;
    const qreal h = qMax<qreal>(30, rect.height() * rect.height() / total);
    const qreal progress = (contentOffset().y() + m_contentInset.top) / (total - rect.height());
    const qreal y = rect.top() + qBound<qreal>(0, progress, 1) * (rect.height() - h);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 110));
    painter.drawRoundedRect(QRectF(rect.right() - 6, y + 1, 4, h - 2), 2, 2);
}
