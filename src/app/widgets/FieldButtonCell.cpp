#include "app/widgets/FieldButtonCell.h"

#include "platform/ui/Button.h"
#include "platform/ui/Font.h"
#include "platform/ui/Label.h"

namespace {

const QColor kValueColor(0, 0, 0);
const QColor kLabelColor(150, 150, 150);

}  // namespace

FieldButtonCell::FieldButtonCell()
{
    m_button = new Button(bounds(), ButtonType::Custom);
    m_button->setContentHorizontalAlignment(ContentHorizontalAlignment::Left);
    m_button->setContentEdgeInsets(EdgeInsets{0, 14, 0, 34});
    m_button->titleLabel()->setFont(Font::systemFontOfSize(17));
    m_button->titleLabel()->setLineBreakMode(LineBreakMode::TailTruncation);
    m_button->setBackgroundColor(Qt::transparent);
    m_button->setOpaque(false);
    m_button->addTarget(this, &FieldButtonCell::tapped, ControlEvent::TouchUpInside);
    addSubview(m_button);
    setAccessoryType(TableViewCellAccessoryType::DisclosureIndicator);
}

void FieldButtonCell::showTitle(const QString& value)
{
    const Field* shown = callback();
    const bool chosen = !value.isEmpty();
    m_button->setTitle(chosen ? value : shown ? shown->label() : QString(), ControlState::Normal);
    m_button->setTitleColor(chosen ? kValueColor : kLabelColor, ControlState::Normal);
    m_button->setTitleColor(chosen ? kValueColor : kLabelColor, ControlState::Highlighted);
}

void FieldButtonCell::layoutSubviews()
{
    FieldCell::layoutSubviews();
    // Across the whole row, the chevron included.
    m_button->setFrame(bounds());
}
