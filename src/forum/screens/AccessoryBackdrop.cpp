#include "forum/screens/AccessoryBackdrop.h"

#include "platform/ui/ImageView.h"

ImageView* AccessoryBackdrop::addTo(View* root)
{
    // The sky's own colour where the picture does not reach.
    root->setBackgroundColor(QColor(0x10, 0x24, 0x47));
    auto* backdrop = new ImageView(QRectF(QPointF(0, 0), root->frame().size()));
    backdrop->setImageNamed(QStringLiteral("background.png"));
    backdrop->setContentMode(ContentMode::ScaleAspectFill);
    backdrop->setClipsToBounds(true);
    backdrop->setAutoresizingMask(Autoresizing::FlexibleSize);
    root->insertSubview(backdrop, 0);
    return backdrop;
}
