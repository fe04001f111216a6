#include "platform/ui/ViewCoordinates.h"

#include "platform/ui/View.h"

QPointF ViewCoordinates::convert(const QPointF& point, const View* from, const View* to)
{
    const QPointF inWindow = from ? toWindow(from, point) : point;
    if (!to)
        return inWindow;
    return inWindow - toWindow(to, QPointF(0, 0)) + to->bounds().topLeft();
}

QPointF ViewCoordinates::toWindow(const View* view, const QPointF& point)
{
    // The root view is the window: its own frame does not count.
    QPointF p = point;
    for (const View* v = view; v; v = v->superview()) {
        p = p - v->bounds().topLeft() + v->frame().topLeft();
        if (!v->superview())
            p -= v->frame().topLeft();
    }
    return p;
}
