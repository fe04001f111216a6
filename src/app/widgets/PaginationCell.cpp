#include "app/widgets/PaginationCell.h"

#include "platform/ui/Label.h"

PaginationCell::PaginationCell() : TableViewCell(TableViewCellStyle::Default, kReuseIdentifier)
{
    setBackgroundColor(Qt::transparent);
    setOpaque(false);
    contentView()->setBackgroundColor(Qt::transparent);
    contentView()->setOpaque(false);
    setSeparator(TableViewCellSeparatorStyle::None, Qt::transparent);
    setSelectionStyle(TableViewCellSelectionStyle::None);
    m_number = new Label(QRectF(0, 0, 30, 30));
    m_number->setTextAlignment(TextAlignment::Center);
    m_number->setBackgroundColor(Qt::transparent);
    m_number->setOpaque(false);
    addSubview(m_number);
}

void PaginationCell::layoutSubviews()
{
    TableViewCell::layoutSubviews();
    QRectF square(0, 0, 30, 30);
    square.moveCenter(bounds().center());
    m_number->setFrame(square);
}
