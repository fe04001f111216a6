#include "app/widgets/SizeToFitFixedWidth.h"

#include "platform/ui/Label.h"

void sizeToFitFixedWidth(Label* label, double width)
{
    if (!label)
        return;
    const QPointF origin = label->frame().topLeft();
    label->setFrame(QRectF(origin, QSizeF(width, 0)));
    label->setLineBreakMode(LineBreakMode::WordWrap);
    label->setNumberOfLines(0);
    const QSizeF fitted = label->sizeThatFits(QSizeF(width, 0));
    label->setFrame(QRectF(origin, QSizeF(width, fitted.height())));
}

void sizeToFitCurrentWidth(Label* label)
{
    if (label)
        sizeToFitFixedWidth(label, label->frame().width());
}
