#pragma once

#include <QPointF>

class View;

// Points between views' coordinates: up from one view to the window's, then
// down to the other, through the views' frames and bounds (not their widgets'
// rounded or animated places). A null view stands for the window.
class ViewCoordinates {
public:
    static QPointF convert(const QPointF& point, const View* from, const View* to);

private:
    static QPointF toWindow(const View* view, const QPointF& point);
};
