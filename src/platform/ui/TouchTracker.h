#pragma once

#include <QPointF>

class QMouseEvent;
class View;

// Turns the left mouse button's presses, moves and releases over a view into
// its touches, and passes a touch the view does not take on to the next
// responder. The view owns its tracker, which lives no longer than it.
class TouchTracker {
public:
    enum Phase { Began, Moved, Ended };

    explicit TouchTracker(View& view) : m_view(view) {}

    void press(QMouseEvent* event);
    void move(QMouseEvent* event);
    void release(QMouseEvent* event);
    // Stops following the touch; the view hears it was cancelled.
    void cancel();
    bool isTracking() const { return m_tracking; }
    // The next responder of a view that does not take a touch: the view
    // controller of a root view.
    void passOn(Phase phase, const QPointF& point);

private:
    QPointF pointFromEvent(const QMouseEvent* event) const;

    View& m_view;
    bool m_tracking = false;
    bool m_passedOn = false;
};
