#include "platform/ui/AutoresizingLayout.h"

#include "platform/ui/Autoresizing.h"

AutoresizingLayout::AutoresizingLayout(const QSizeF& oldSize, const QSizeF& newSize)
    : m_oldSize(oldSize), m_dw(newSize.width() - oldSize.width()), m_dh(newSize.height() - oldSize.height())
{
}

QRectF AutoresizingLayout::frameFor(const QRectF& f, unsigned m) const
{
    qreal left = f.x(), width = f.width(), right = m_oldSize.width() - f.right();
    distribute(m_dw, m & Autoresizing::FlexibleLeftMargin, m & Autoresizing::FlexibleWidth,
               m & Autoresizing::FlexibleRightMargin, left, width, right);
    qreal top = f.y(), height = f.height(), bottom = m_oldSize.height() - f.bottom();
    distribute(m_dh, m & Autoresizing::FlexibleTopMargin, m & Autoresizing::FlexibleHeight,
               m & Autoresizing::FlexibleBottomMargin, top, height, bottom);
    return QRectF(left, top, qMax<qreal>(0, width), qMax<qreal>(0, height));
}

void AutoresizingLayout::distribute(qreal delta, bool flexA, bool flexB, bool flexC, qreal& a, qreal& b, qreal& c)
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
