#include "app/widgets/FieldButtonCell.h"

#include "app/widgets/Form.h"

#include "platform/ui/Button.h"
#include "platform/ui/Font.h"
#include "platform/ui/Keyboard.h"
#include "platform/ui/Label.h"

#include <QKeyEvent>

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
    m_button->installEventFilter(this);
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

bool FieldButtonCell::isFocusable() const
{
    return m_button->acceptsKeyboardFocus();
}

void FieldButtonCell::takeFocus()
{
    Keyboard::giveFocus(m_button);
}

bool FieldButtonCell::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_button || event->type() != QEvent::KeyPress)
        return FieldCell::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_Tab && key->key() != Qt::Key_Backtab)
        return false;
    const bool forward = key->key() == Qt::Key_Tab && !(key->modifiers() & Qt::ShiftModifier);
    Form* f = form();
    const Field* shown = callback();
    // Past the form's last row (or before its first), the screen's round goes on.
    return f && shown && f->moveFocus(shown, forward);
}
