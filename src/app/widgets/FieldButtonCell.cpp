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
constexpr qreal kLeftInset = 14;
constexpr qreal kChevronInset = 34;
constexpr qreal kNameGap = 12;

}  // namespace

FieldButtonCell::FieldButtonCell()
{
    m_button = new Button(bounds(), ButtonType::Custom);
    m_button->setContentHorizontalAlignment(ContentHorizontalAlignment::Left);
    m_button->setContentEdgeInsets(EdgeInsets{0, kLeftInset, 0, kChevronInset});
    m_button->titleLabel()->setFont(Font::systemFontOfSize(17));
    m_button->titleLabel()->setLineBreakMode(LineBreakMode::TailTruncation);
    m_button->setBackgroundColor(Qt::transparent);
    m_button->setOpaque(false);
    m_button->addTarget(this, &FieldButtonCell::tapped, ControlEvent::TouchUpInside);
    m_button->installEventFilter(this);
    addSubview(m_button);
    // Above the button, letting its clicks through (a label takes none).
    m_name = new Label(QRectF());
    m_name->setFont(Font::systemFontOfSize(17));
    m_name->setTextColor(kLabelColor);
    m_name->setLineBreakMode(LineBreakMode::TailTruncation);
    m_name->setBackgroundColor(Qt::transparent);
    m_name->setOpaque(false);
    m_name->setHidden(true);
    addSubview(m_name);
    setAccessoryType(TableViewCellAccessoryType::DisclosureIndicator);
}

void FieldButtonCell::showTitle(const QString& value)
{
    const Field* shown = callback();
    const QString label = shown ? shown->label() : QString();
    const bool chosen = !value.isEmpty();
    m_button->setTitle(chosen ? value : label, ControlState::Normal);
    m_button->setTitleColor(chosen ? kValueColor : kLabelColor, ControlState::Normal);
    m_button->setTitleColor(chosen ? kValueColor : kLabelColor, ControlState::Highlighted);
    m_name->setText(label);
    m_name->setHidden(!chosen || label.isEmpty() || value == label);
    setNeedsLayout();
}

void FieldButtonCell::layoutSubviews()
{
    FieldCell::layoutSubviews();
    // Across the whole row, the chevron included.
    const QRectF b = bounds();
    m_button->setFrame(b);
    if (m_name->isHidden()) {
        m_button->setContentHorizontalAlignment(ContentHorizontalAlignment::Left);
        m_button->setContentEdgeInsets(EdgeInsets{0, kLeftInset, 0, kChevronInset});
        return;
    }
    // The label takes what it needs up to half the row; the value the rest.
    const qreal room = b.width() - kLeftInset - kChevronInset;
    const qreal nameWidth = qMin(m_name->sizeThatFits(QSizeF()).width(), room / 2);
    m_name->setFrame(QRectF(kLeftInset, 0, nameWidth, b.height()));
    m_button->setContentHorizontalAlignment(ContentHorizontalAlignment::Right);
    m_button->setContentEdgeInsets(EdgeInsets{0, kLeftInset + nameWidth + kNameGap, 0, kChevronInset});
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
    if (watched == m_button)
        return tabThroughForm(event);
    return FieldCell::eventFilter(watched, event);
}
