#include "app/widgets/MultiPickerCell.h"

#include "platform/ui/Font.h"
#include "platform/ui/Label.h"

MultiPickerCell::MultiPickerCell()
{
    // The selected row is the keyboard's row: a light mark, not a choice.
    setSelectionStyle(TableViewCellSelectionStyle::Gray);
    m_title = new Label();
    m_title->setFont(Font::boldSystemFontOfSize(17));
    m_title->setBackgroundColor(Qt::transparent);
    m_title->setOpaque(false);
    m_title->setLineBreakMode(LineBreakMode::TailTruncation);
    contentView()->addSubview(m_title);
}

void MultiPickerCell::setChosen(bool chosen)
{
    setAccessoryType(chosen ? TableViewCellAccessoryType::Checkmark : TableViewCellAccessoryType::None);
    m_title->setTextColor(chosen ? QColor(50, 79, 133) : Qt::black);
}

void MultiPickerCell::layoutSubviews()
{
    TableViewCell::layoutSubviews();
    const QRectF b = contentView()->bounds();
    m_title->setFrame(QRectF(12, 0, b.width() - 20, b.height()));
}
