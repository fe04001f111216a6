#include "app/widgets/PaginationCell.h"

#include "platform/ui/Drawing.h"
#include "platform/ui/Font.h"
#include "platform/ui/Label.h"

#include <QPainter>

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
    m_number->setFont(Font::fontWithName(QStringLiteral("Helvetica-Bold"), 15));
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

void PaginationCell::setCurrent(bool current)
{
    if (current == m_current)
        return;
    m_current = current;
    update();
}

void PaginationCell::setKeyboardMarked(bool marked)
{
    if (marked == m_keyboardMarked)
        return;
    m_keyboardMarked = marked;
    update();
}

void PaginationCell::drawRect(QPainter& painter, const QRectF&)
{
    if (m_keyboardMarked)
        Drawing::drawFocusMark(painter, bounds().adjusted(2, 1, -2, -1));
    if (!m_current || m_number->text().isEmpty())
        return;
    QRectF mark(0, 0, 38, 24);
    mark.moveCenter(bounds().center());
    painter.setPen(QPen(QColor(0xB3, 0xBE, 0xCC), 1));
    painter.setBrush(Qt::white);
    painter.drawRoundedRect(mark.adjusted(0.5, 0.5, -0.5, -0.5), 7, 7);
}
