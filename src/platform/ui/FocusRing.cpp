#include "platform/ui/FocusRing.h"

#include "platform/ui/Drawing.h"

FocusRing::FocusRing()
{
    setUserInteractionEnabled(false);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void FocusRing::drawRect(QPainter& painter, const QRectF& rect)
{
    Drawing::drawFocusMark(painter, rect);
}
