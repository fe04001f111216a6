#include "platform/ui/TouchTracker.h"

#include "platform/ui/Keyboard.h"
#include "platform/ui/View.h"
#include "platform/ui/ViewController.h"

#include <QMouseEvent>

void TouchTracker::passOn(Phase phase, const QPointF& point)
{
    m_passedOn = true;
    ViewController* controller = m_view.viewController();
    if (!controller)
        return;
    if (phase == Began)
        controller->touchesBegan(point);
    else if (phase == Moved)
        controller->touchesMoved(point);
    else
        controller->touchesEnded(point);
}

void TouchTracker::cancel()
{
    if (!m_tracking)
        return;
    m_tracking = false;
    m_view.touchesCancelled();
}

QPointF TouchTracker::pointFromEvent(const QMouseEvent* event) const
{
    return event->position() + m_view.bounds().topLeft();
}

void TouchTracker::press(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    Keyboard::pointerPressed();
    m_passedOn = false;
    m_view.touchesBegan(pointFromEvent(event));
    // A screen's root view follows the touch for its screen, the next
    // responder, which hears of the rest of it.
    m_tracking = !m_passedOn || m_view.viewController();
    if (!m_tracking)
        event->ignore();
    else
        event->accept();
}

void TouchTracker::move(QMouseEvent* event)
{
    if (!m_tracking) {
        event->ignore();
        return;
    }
    m_view.touchesMoved(pointFromEvent(event));
    event->accept();
}

void TouchTracker::release(QMouseEvent* event)
{
    if (!m_tracking) {
        event->ignore();
        return;
    }
    m_tracking = false;
    m_view.touchesEnded(pointFromEvent(event));
    event->accept();
}
