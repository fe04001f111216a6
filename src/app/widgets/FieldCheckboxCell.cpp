#include "app/widgets/FieldCheckboxCell.h"

#include "app/model/FieldCheckbox.h"
#include "app/widgets/Form.h"

#include "platform/ui/Button.h"
#include "platform/ui/Font.h"
#include "platform/ui/Keyboard.h"
#include "platform/ui/Label.h"
#include "platform/ui/ResourceImages.h"

#include <QKeyEvent>

FieldCheckboxCell::FieldCheckboxCell()
{
    m_checkbox = new Button(bounds(), ButtonType::Custom);
    m_checkbox->setContentHorizontalAlignment(ContentHorizontalAlignment::Left);
    m_checkbox->setContentEdgeInsets(EdgeInsets{4, 12, 4, 12});
    m_checkbox->setImage(ResourceImages::named(QStringLiteral("checkbox_off.png")), ControlState::Normal);
    m_checkbox->setImage(ResourceImages::named(QStringLiteral("checkbox_on.png")), ControlState::Selected);
    m_checkbox->setImage(ResourceImages::named(QStringLiteral("checkbox_on.png")),
                         ControlState::Selected | ControlState::Highlighted);
    m_checkbox->titleLabel()->setFont(Font::systemFontOfSize(15));
    m_checkbox->titleLabel()->setNumberOfLines(2);
    m_checkbox->titleLabel()->setTextAlignment(TextAlignment::Left);
    m_checkbox->titleLabel()->setLineBreakMode(LineBreakMode::TailTruncation);
    m_checkbox->setTitleColor(Qt::black, ControlState::Normal);
    m_checkbox->setBackgroundColor(Qt::transparent);
    m_checkbox->setOpaque(false);
    m_checkbox->addTarget(this, &FieldCheckboxCell::swapCheckbox, ControlEvent::TouchUpInside);
    m_checkbox->installEventFilter(this);
    addSubview(m_checkbox);
}

bool FieldCheckboxCell::isFocusable() const
{
    return m_checkbox->acceptsKeyboardFocus();
}

void FieldCheckboxCell::takeFocus()
{
    Keyboard::giveFocus(m_checkbox);
}

bool FieldCheckboxCell::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_checkbox)
        return tabThroughForm(event);
    return FieldCell::eventFilter(watched, event);
}

void FieldCheckboxCell::fill()
{
    const auto field = fieldAs<FieldCheckbox>();
    const QString label = field ? field->label() : QString();
    for (const unsigned state : {ControlState::Normal, ControlState::Highlighted, ControlState::Selected})
        m_checkbox->setTitle(label, state);
    m_checkbox->setSelected(field && field->checked());
}

void FieldCheckboxCell::swapCheckbox()
{
    m_checkbox->setSelected(!m_checkbox->isSelected());
    if (const auto field = fieldAs<FieldCheckbox>())
        field->setChecked(m_checkbox->isSelected());
}

void FieldCheckboxCell::layoutSubviews()
{
    FieldCell::layoutSubviews();
    m_checkbox->setFrame(bounds());
}
