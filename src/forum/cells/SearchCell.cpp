#include "forum/cells/SearchCell.h"

#include "app/config/Customizer.h"

#include "platform/ui/Font.h"
#include "platform/ui/Label.h"

SearchCell::SearchCell() : TableViewCell(TableViewCellStyle::Default)
{
    setFrame(QRectF(0, 0, 300, kHeight));
    setAccessoryType(TableViewCellAccessoryType::DisclosureIndicator);
    m_searchTitle = new Label(QRectF(10, 11, 110, 22));
    m_searchTitle->setFont(Font::boldSystemFontOfSize(15));
    m_searchTitle->setBackgroundColor(Qt::transparent);
    m_searchTitle->setOpaque(false);
    contentView()->addSubview(m_searchTitle);
    m_searchValue = new Label(QRectF(120, 11, 150, 22));
    m_searchValue->setFont(Font::systemFontOfSize(14));
    m_searchValue->setTextAlignment(TextAlignment::Right);
    m_searchValue->setLineBreakMode(LineBreakMode::TailTruncation);
    m_searchValue->setBackgroundColor(Qt::transparent);
    m_searchValue->setOpaque(false);
    m_searchValue->setAutoresizingMask(Autoresizing::FlexibleWidth);
    contentView()->addSubview(m_searchValue);
}

void SearchCell::setSetting(const QString& title, const QString& value)
{
    m_searchTitle->setText(title);
    m_searchValue->setText(value);
    m_searchValue->setTextColor(Customizer::getInstance().colorForKey(kColorTextSecondary));
}
