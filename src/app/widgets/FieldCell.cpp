#include "app/widgets/FieldCell.h"

#include "platform/ui/TextField.h"

#include <QKeyEvent>

namespace {

QPointer<TextField>& editedField()
{
    static QPointer<TextField> field;
    return field;
}

}  // namespace

FieldCell::FieldCell()
{
    setSelectionStyle(TableViewCellSelectionStyle::None);
}

void FieldCell::setCallback(const FieldPtr& field, Form* form)
{
    m_field = field;
    m_form = form;
    fill();
}

TextField* FieldCell::firstResponder()
{
    return editedField();
}

void FieldCell::setFirstResponder(TextField* field)
{
    editedField() = field;
}

void FieldCell::endTextEditing()
{
    // Cleared first: ending the edit may set it again.
    const QPointer<TextField> field = editedField();
    editedField() = nullptr;
    if (field)
        field->resignFirstResponder();
}

bool FieldCell::tabThroughForm(QEvent* event) const
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_Tab && key->key() != Qt::Key_Backtab)
        return false;
    const bool forward = key->key() == Qt::Key_Tab && !(key->modifiers() & Qt::ShiftModifier);
    Form* f = form();
    const Field* shown = callback();
    return f && shown && f->moveFocus(shown, forward);
}
