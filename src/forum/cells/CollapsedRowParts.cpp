#include "forum/cells/CollapsedRowParts.h"

#include "app/widgets/GradientButton.h"

#include "platform/ui/Font.h"
#include "platform/ui/Label.h"

#include "platform/foundation/Localized.h"
#include "platform/foundation/TextFormat.h"

namespace CollapsedRowParts {

Label* makeDisclaimer(View* content)
{
    auto* label = new Label(QRectF(15, kDisclaimerY, 290, 18));
    label->setFont(Font::fontWithName(QStringLiteral("Helvetica"), 12));
    label->setTextColor(QColor(0x66, 0x66, 0x66));
    label->setBackgroundColor(Qt::transparent);
    label->setOpaque(false);
    content->addSubview(label);
    return label;
}

GradientButton* makeButton(View* content, const QRectF& frame, const QString& titleKey)
{
    auto* button = new GradientButton(frame);
    button->setTitle(localized(titleKey));
    button->titleLabel()->setFont(Font::fontWithName(QStringLiteral("Helvetica-Bold"), 12));
    content->addSubview(button);
    return button;
}

QString disclaimerFor(const PostPtr& post, const QString& phraseKey)
{
    const QString name = post && post->user() ? post->user()->username() : QString();
    return TextFormat::fill(localized(phraseKey), {Value(name)});
}

}  // namespace CollapsedRowParts
