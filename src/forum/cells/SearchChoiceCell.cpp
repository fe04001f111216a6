#include "forum/cells/SearchChoiceCell.h"

#include "platform/ui/Font.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"

SearchChoiceCell::SearchChoiceCell() : TableViewCell(TableViewCellStyle::Default)
{
    setFrame(QRectF(0, 0, 320, kHeight));
    m_icon = new ImageView(QRectF(12, 10, 24, 24));
    m_icon->setContentMode(ContentMode::Center);
    contentView()->addSubview(m_icon);
    m_title = new Label(QRectF(46, 11, 230, 22));
    m_title->setFont(Font::boldSystemFontOfSize(16));
    m_title->setBackgroundColor(Qt::transparent);
    m_title->setOpaque(false);
    m_title->setHighlightedTextColor(Qt::white);
    m_title->setAutoresizingMask(Autoresizing::FlexibleWidth);
    contentView()->addSubview(m_title);
}

void SearchChoiceCell::setChoice(const QString& title, const QString& iconName, bool chosen)
{
    m_chosen = chosen;
    m_title->setText(title);
    m_title->setTextColor(chosen ? kChosenColor : QColor(Qt::black));
    const bool withIcon = !iconName.isEmpty();
    m_icon->setHidden(!withIcon);
    if (withIcon)
        m_icon->setImageNamed(iconName);
    QRectF f = m_title->frame();
    f.setLeft(withIcon ? 46 : 12);
    m_title->setFrame(f);
    setAccessoryType(chosen ? TableViewCellAccessoryType::Checkmark : TableViewCellAccessoryType::None);
}
