#include "app/widgets/FieldTextCell.h"

#include "app/model/FieldPassword.h"
#include "app/widgets/Form.h"

#include "platform/ui/Font.h"
#include "platform/ui/Keyboard.h"


FieldTextCell::FieldTextCell()
{
    m_field = new TextField(QRectF(12, 11, 296, 22));
    m_field->setFont(Font::systemFontOfSize(17));
    m_field->setTextColor(Qt::black);
    m_field->setAutocorrectionEnabled(false);
    m_field->setAutocapitalizationEnabled(false);
    m_field->setClearButtonMode(TextFieldViewMode::WhileEditing);
    m_field->setDelegate(this);
    m_field->addTarget(this, &FieldTextCell::takeText, ControlEvent::EditingChanged);
    contentView()->addSubview(m_field);
}

void FieldTextCell::fill()
{
    const auto text = fieldAs<FieldText>();
    if (!text)
        return;
    // Shown once: from now on the field has a text, if an empty one.
    if (text->text().isNull())
        text->setValue(QStringLiteral(""));
    m_field->setText(text->text());
    m_field->setPlaceholder(text->label());
    m_field->setSecureTextEntry(std::dynamic_pointer_cast<FieldPassword>(text) != nullptr);
    m_field->setKeyboardType(text->label().contains(QStringLiteral("email"), Qt::CaseInsensitive)
                                 ? KeyboardType::EmailAddress
                                 : KeyboardType::Default);
    const Field* next = text->next();
    m_field->setReturnKeyType(next && next->isFocusable() ? ReturnKeyType::Next : ReturnKeyType::Done);
}

void FieldTextCell::layoutSubviews()
{
    FieldCell::layoutSubviews();
    const QRectF b = contentView()->bounds();
    m_field->setFrame(QRectF(12, (b.height() - 22) / 2, b.width() - 24, 22));
}

void FieldTextCell::prepareForReuse()
{
    FieldCell::prepareForReuse();
    if (m_field->isEditing())
        m_field->resignFirstResponder();
}

void FieldTextCell::takeText()
{
    if (const auto text = fieldAs<FieldText>())
        text->setValue(m_field->text());
}

void FieldTextCell::takeFocus()
{
    m_field->becomeFirstResponder();
}

void FieldTextCell::focus()
{
    if (Form* f = form())
        f->scrollUp(this);
    setFirstResponder(m_field);
}

void FieldTextCell::unfocus()
{
    takeText();
    if (firstResponder() == m_field)
        setFirstResponder(nullptr);
    if (Form* f = form())
        f->scrollToPosition();
}

void FieldTextCell::goNext()
{
    const Field* shown = callback();
    Field* next = shown ? shown->next() : nullptr;
    Form* f = form();
    if (!next || !next->isFocusable() || !f) {
        m_field->resignFirstResponder();
        return;
    }
    // This field ends its editing first, so the form's room is kept once;
    // then the next field's row comes into view and the keyboard goes on
    // its own way, as Tab goes.
    m_field->resignFirstResponder();
    f->cellForField(next);
    Keyboard::moveFocus(m_field, true, Keyboard::Stops::TextInputs);
}

void FieldTextCell::textFieldDidBeginEditing(TextField*)
{
    focus();
}

void FieldTextCell::textFieldDidEndEditing(TextField*)
{
    unfocus();
}

bool FieldTextCell::textFieldShouldReturn(TextField*)
{
    goNext();
    return false;
}

bool FieldTextCell::textFieldShouldMoveFocus(TextField*, bool forward)
{
    // A row below the fold has no cell yet, so the keyboard's round of the
    // screen would never reach its field: the form's order leads instead.
    Form* f = form();
    const Field* shown = callback();
    return f && shown && f->moveFocus(shown, forward);
}
