#pragma once

#include "app/model/Field.h"
#include "app/widgets/Form.h"

#include "platform/ui/TableViewCell.h"

#include <QPointer>

#include <memory>

class TextField;

// A row of a form showing one field, writing what the user enters back into
// it. Neither the field nor the form is owned: the form hands both over each
// time it gives the cell out, and a cell whose field has gone does nothing.
class FieldCell : public TableViewCell {
    Q_OBJECT
public:
    FieldCell();

    // The field shown (the form's `callback`), or null.
    Field* callback() const { return m_field.lock().get(); }
    Form* form() const { return m_form; }
    void setCallback(const FieldPtr& field, Form* form);

    // Whether the row takes the keyboard (a text field), and giving it.
    virtual bool isFocusable() const { return false; }
    virtual void takeFocus() {}

    // The one text field being edited in any form, so that a panel or a page
    // can close its keyboard first.
    static TextField* firstResponder();
    static void setFirstResponder(TextField* field);
    // That field stops editing and is forgotten.
    static void endTextEditing();

protected:
    // Shows the field (after a change of field or a reuse).
    virtual void fill() = 0;
    // Tab and Shift+Tab on the cell's control follow the form's order: a row
    // below the fold has no cell yet. Past the form's last row (or before its
    // first) the screen's round goes on. True when the form took the key.
    bool tabThroughForm(QEvent* event) const;
    template <typename F>
    std::shared_ptr<F> fieldAs() const
    {
        return std::dynamic_pointer_cast<F>(m_field.lock());
    }

private:
    std::weak_ptr<Field> m_field;
    QPointer<Form> m_form;
};
