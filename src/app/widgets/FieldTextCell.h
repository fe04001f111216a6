#pragma once

#include "app/widgets/FieldCell.h"

#include "platform/ui/TextField.h"

// The row of a one-line text (masked for a password): its text field shows
// the field's value and writes every change back. The return key moves to
// the next field when that one takes text ("Next"), else ends the editing
// ("Done"); Tab and Shift+Tab go to the next and the previous text field of
// the form, rows not yet on screen included; the form keeps the keyboard's
// room while the field is edited.
class FieldTextCell : public FieldCell, public TextFieldDelegate {
    Q_OBJECT
public:
    FieldTextCell();

    TextField* field() const { return m_field; }

    bool isFocusable() const override { return true; }
    // Editing begins here.
    void takeFocus() override;
    // Editing began / ended / the return key.
    void focus();
    void unfocus();
    void goNext();

    void textFieldDidBeginEditing(TextField* textField) override;
    void textFieldDidEndEditing(TextField* textField) override;
    bool textFieldShouldReturn(TextField* textField) override;
    bool textFieldShouldMoveFocus(TextField* textField, bool forward) override;

    void layoutSubviews() override;
    // A row scrolled away while edited ends its editing before it shows
    // another field: the text stays with its own field.
    void prepareForReuse() override;

protected:
    void fill() override;

private:
    void takeText();

    TextField* m_field;
};
