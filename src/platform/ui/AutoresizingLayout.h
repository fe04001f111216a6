#pragma once

#include <QRectF>
#include <QSizeF>

// Where a superview's size change puts a subview: on each axis the change is
// shared among the margins and the size the subview's autoresizing mask makes
// flexible, in proportion to their sizes (in equal parts when those are all
// nothing).
class AutoresizingLayout {
public:
    AutoresizingLayout(const QSizeF& oldSize, const QSizeF& newSize);

    // The frame a subview at `frame` with `mask` takes in the new size.
    QRectF frameFor(const QRectF& frame, unsigned mask) const;

private:
    // Shares `delta` among the flexible parts of one axis.
    static void distribute(qreal delta, bool flexA, bool flexB, bool flexC, qreal& a, qreal& b, qreal& c);

    QSizeF m_oldSize;
    qreal m_dw;
    qreal m_dh;
};
