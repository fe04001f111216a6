#include "app/widgets/SectionHeaderLabel.h"

#include "app/config/Customizer.h"
#include "platform/ui/Font.h"
#include "platform/ui/Label.h"

Label* SectionHeaderLabel::make(const QRectF& frame, const QString& text)
{
    Customizer& theme = Customizer::getInstance();
    auto* label = new Label(frame);
    label->setTextColor(theme.colorForKey(kColorTextCategory));
    label->setBackgroundColor(theme.colorForKey(kColorBackground));
    label->setFont(Font::fontWithName(QStringLiteral("Helvetica-Bold"), 13));
    label->setText(QStringLiteral("    ") + text);
    return label;
}
