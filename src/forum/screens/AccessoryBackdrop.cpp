#include "forum/screens/AccessoryBackdrop.h"

#include "app/widgets/RoundedRectView.h"

#include "platform/ui/Font.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/TextView.h"

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

Label* AccessoryBackdrop::addHint(View* root, const QRectF& frame, qreal fontSize)
{
    auto* hint = new Label(frame);
    hint->setFont(Font::boldSystemFontOfSize(fontSize));
    hint->setTextColor(Qt::white);
    hint->setShadowColor(QColor(0, 0, 0, 110));
    hint->setBackgroundColor(Qt::transparent);
    hint->setOpaque(false);
    hint->setNumberOfLines(2);
    root->addSubview(hint);
    return hint;
}

TextView* AccessoryBackdrop::addTextBox(View* root, const QRectF& frame)
{
    // The same face as the one-line prompt's field.
    auto* box = new RoundedRectView(frame);
    box->setRectColor(Qt::white);
    box->setStrokeColor(QColor(0x8A, 0x96, 0xA6));
    box->setCornerRadius(8);
    root->addSubview(box);
    auto* text = new TextView(QRectF(4, 4, frame.width() - 8, frame.height() - 8));
    text->setBackgroundColor(Qt::transparent);
    text->setFont(Font::systemFontOfSize(17));
    box->addSubview(text);
    return text;
}
