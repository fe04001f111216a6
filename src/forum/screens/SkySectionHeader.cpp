#include "forum/screens/SkySectionHeader.h"

#include "platform/ui/Font.h"
#include "platform/ui/Label.h"

SkySectionHeader::SkySectionHeader(const QString& title)
    : View(QRectF(10, 0, 300, kHeight)), m_label(new Label(QRectF(10, 0, 300, kHeight)))
{
    setBackgroundColor(Qt::transparent);
    setOpaque(false);
    m_label->setBackgroundColor(Qt::transparent);
    m_label->setOpaque(false);
    m_label->setTextColor(Qt::white);
    m_label->setHighlightedTextColor(Qt::white);
    m_label->setFont(Font::boldSystemFontOfSize(20));
    m_label->setShadowColor(QColor(0, 0, 0, 110));
    m_label->setText(title);
    addSubview(m_label);
}
