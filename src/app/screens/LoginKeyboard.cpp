#include "app/screens/LoginKeyboard.h"

#include "app/config/Customizer.h"
#include "app/screens/LoginForm.h"

#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Keyboard.h"
#include "platform/ui/SegmentedControl.h"
#include "platform/ui/Toolbar.h"

#include "platform/foundation/Localized.h"

#include <cmath>

LoginKeyboard::LoginKeyboard(View* screen, LoginForm* form, std::function<void()> signIn)
    : m_screen(screen), m_form(form), m_signIn(std::move(signIn))
{
    const qreal height = screen->frame().height();
    m_navigation = new SegmentedControl({localized("previous"), localized("next")});
    m_navigation->setSegmentedControlStyle(SegmentedControlStyle::Bar);
    m_navigation->setMomentary(true);
    m_navigation->setFrame(QRectF(0, 0, 150, 30));
    m_accessory = new Toolbar(QRectF(0, height - Toolbar::kHeight, 320, Toolbar::kHeight));
    m_accessory->setAutoresizingMask(Autoresizing::FlexibleTopMargin | Autoresizing::FlexibleWidth);
    m_accessory->setHidden(true);
    screen->addSubview(m_accessory);
}

void LoginKeyboard::load()
{
    m_navigation->addTarget(this, &LoginKeyboard::changeField, ControlEvent::ValueChanged);
    m_accessory->setItems({BarButtonItem::withCustomView(m_navigation),
                           BarButtonItem::withSystemItem(BarButtonSystemItem::FlexibleSpace),
                           BarButtonItem::withSystemItem(BarButtonSystemItem::Done, this, &LoginKeyboard::done)});
    m_accessory->setTintColor(Customizer::getInstance().colorForKey(kColorBackgroundButton));
}

Toolbar* LoginKeyboard::accessory() const
{
    return m_accessory;
}

SegmentedControl* LoginKeyboard::navigation() const
{
    return m_navigation;
}

bool LoginKeyboard::textFieldShouldBeginEditing(TextField* textField)
{
    // The field being left ends its editing first, so the view's moves
    // always undo each other.
    if (m_activeTextField && m_activeTextField != textField && m_activeTextField->isEditing())
        m_activeTextField->resignFirstResponder();
    m_activeTextField = textField;
    m_navigation->setEnabledForSegmentAtIndex(textField->tag() != LoginForm::kNameTag, 0);
    m_navigation->setEnabledForSegmentAtIndex(textField->tag() != LoginForm::kPasswordTag, 1);
    return true;
}

void LoginKeyboard::textFieldDidBeginEditing(TextField* textField)
{
    View* root = m_screen;
    if (!root)
        return;
    const QRectF field = textField->convertRect(textField->bounds(), nullptr);
    const QRectF screen = root->convertRect(root->bounds(), nullptr);
    const qreal midline = field.y() + 0.5 * field.height();
    const qreal numerator = midline - screen.y() - 0.2 * screen.height();
    const qreal denominator = 0.6 * screen.height();
    const qreal fraction = qBound(0.0, numerator / denominator, 1.0);
    // As much room as the keyboard takes: none for a hardware keyboard, whose
    // Tab, Shift+Tab and Return stand for the bar's buttons too.
    const qreal keyboard = Keyboard::frame().height();
    m_animatedDistance = std::floor(keyboard * fraction);
    m_accessory->setHidden(keyboard <= 0);
    moveView(-m_animatedDistance);
}

void LoginKeyboard::textFieldDidEndEditing(TextField* textField)
{
    if (m_form)
        m_form->keepTypedText(textField);
    m_accessory->setHidden(true);
    moveView(m_animatedDistance);
    m_animatedDistance = 0;
}

void LoginKeyboard::moveView(qreal distance)
{
    // Up by the distance, and as much longer at the foot, so that what the
    // phone's keyboard would cover is still the screen's own background.
    View* root = m_screen;
    if (distance == 0 || !root)
        return;
    QRectF frame = root->frame();
    frame.translate(0, distance);
    frame.setHeight(frame.height() - distance);
    View::animate(0.3, 0, AnimationCurve::EaseInOut, [root, frame] { root->setFrame(frame); });
}

bool LoginKeyboard::textFieldShouldReturn(TextField* textField)
{
    if (m_form && textField->tag() != m_form->fieldCount()) {
        if (TextField* next = m_form->fieldWithTag(textField->tag() + 1)) {
            m_activeTextField = next;
            next->becomeFirstResponder();
        }
        return false;
    }
    done();
    // The last field's return key goes on: it signs in.
    if (m_signIn)
        m_signIn();
    return false;
}

void LoginKeyboard::changeField()
{
    const int target = m_activeTextField && m_activeTextField->tag() == LoginForm::kPasswordTag
                           ? LoginForm::kNameTag
                           : LoginForm::kPasswordTag;
    if (TextField* field = m_form ? m_form->fieldWithTag(target) : nullptr)
        field->becomeFirstResponder();
}

void LoginKeyboard::done()
{
    if (m_activeTextField)
        m_activeTextField->resignFirstResponder();
    m_activeTextField = nullptr;
}
