#pragma once

#include <QTransform>

// A view's transform, kept as its parts so an animation from one to another
// turns and scales smoothly (a half turn passes through the quarter turn, not
// through a point). Applied about the view's centre.
struct ViewTransform {
    qreal scaleX = 1;
    qreal scaleY = 1;
    qreal rotation = 0;  // radians, clockwise on screen
    qreal translateX = 0;
    qreal translateY = 0;

    static ViewTransform identity() { return {}; }
    static ViewTransform makeRotation(qreal angle) { return ViewTransform{1, 1, angle, 0, 0}; }
    static ViewTransform makeScale(qreal sx, qreal sy) { return ViewTransform{sx, sy, 0, 0, 0}; }
    static ViewTransform makeTranslation(qreal tx, qreal ty) { return ViewTransform{1, 1, 0, tx, ty}; }

    bool isIdentity() const { return *this == ViewTransform{}; }
    bool operator==(const ViewTransform&) const = default;

    // The transform about `centre` in the view's own coordinates.
    QTransform toQTransform(const QPointF& centre) const
    {
        QTransform t;
        t.translate(centre.x() + translateX, centre.y() + translateY);
        t.rotateRadians(rotation);
        t.scale(scaleX, scaleY);
        t.translate(-centre.x(), -centre.y());
        return t;
    }
};
