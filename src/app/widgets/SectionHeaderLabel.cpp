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
    // The blanks indent on the left whatever the text's direction: a text
    // that reads from right to left is isolated after them, or it would
    // carry them to its right and start at the very edge.
    label->setText(text.isRightToLeft() ? QStringLiteral("    \u2068") + text + QStringLiteral("\u2069")
                                        : QStringLiteral("    ") + text);
    return label;
}
