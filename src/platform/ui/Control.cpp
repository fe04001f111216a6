#include "platform/ui/Control.h"

#include <QPointer>

Control::Control(const QRectF& frame) : View(frame)
{
    setOpaque(false);
}

void Control::addTargetEntry(const Trackable* target, std::function<void(Control*)> call, unsigned events)
{
    Target t;
    t.bound = target != nullptr;
    t.target = target;
    if (target)
        t.token = target->lifetimeToken();
    t.call = std::move(call);
    t.events = events;
    m_targets.append(std::move(t));
}

void Control::addAction(std::function<void(Control*)> action, unsigned events)
{
    addTargetEntry(nullptr, std::move(action), events);
}

void Control::removeTarget(const Trackable* target, unsigned events)
{
    for (int i = int(m_targets.size()) - 1; i >= 0; --i) {
        Target& t = m_targets[i];
        if (target && t.target != target)
            continue;
        t.events &= ~events;
        if (t.events == 0)
            m_targets.removeAt(i);
    }
}

void Control::sendActionsForControlEvents(unsigned events)
{
    // A snapshot: an action may add or remove targets, or delete the control.
    const QList<Target> targets = m_targets;
    QPointer<Control> self(this);
    for (const Target& t : targets) {
        if (!(t.events & events))
            continue;
        if (t.bound && t.token.expired())
            continue;
        t.call(self.data());
        if (!self)
            return;
    }
}

void Control::setEnabled(bool enabled)
{
    if (m_enabled == enabled)
        return;
    m_enabled = enabled;
    if (!enabled)
        m_highlighted = false;
    stateDidChange();
}

void Control::setSelected(bool selected)
{
    if (m_selected == selected)
        return;
    m_selected = selected;
    stateDidChange();
}

void Control::setHighlighted(bool highlighted)
{
    if (m_highlighted == highlighted)
        return;
    m_highlighted = highlighted;
    stateDidChange();
}

unsigned Control::state() const
{
    unsigned s = ControlState::Normal;
    if (m_highlighted)
        s |= ControlState::Highlighted;
    if (!m_enabled)
        s |= ControlState::Disabled;
    if (m_selected)
        s |= ControlState::Selected;
    return s;
}

void Control::touchesBegan(const QPointF& point)
{
    if (!m_enabled)
        return;
    m_touchInside = true;
    setHighlighted(true);
    sendActionsForControlEvents(ControlEvent::TouchDown);
}

void Control::touchesMoved(const QPointF& point)
{
    if (!m_enabled)
        return;
    // A little slack around the bounds, as a finger has.
    const bool inside = bounds().adjusted(-30, -30, 30, 30).contains(point);
    if (inside != m_touchInside) {
        m_touchInside = inside;
        setHighlighted(inside);
        sendActionsForControlEvents(inside ? ControlEvent::TouchDragEnter : ControlEvent::TouchDragExit);
    }
    sendActionsForControlEvents(inside ? ControlEvent::TouchDragInside : ControlEvent::TouchDragOutside);
}

void Control::touchesEnded(const QPointF& point)
{
    if (!m_enabled)
        return;
    const bool inside = bounds().adjusted(-30, -30, 30, 30).contains(point);
    m_touchInside = false;
    QPointer<Control> self(this);
    setHighlighted(false);
    sendActionsForControlEvents(inside ? ControlEvent::TouchUpInside : ControlEvent::TouchUpOutside);
}

void Control::touchesCancelled()
{
    m_touchInside = false;
    setHighlighted(false);
    sendActionsForControlEvents(ControlEvent::TouchCancel);
}
