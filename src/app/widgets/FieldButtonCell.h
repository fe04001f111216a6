#pragma once

#include "app/widgets/FieldCell.h"

class Button;
class Label;

// A form row that is one button across the row with a chevron: the field's
// label in the placeholder's grey while nothing is chosen; once a value is
// chosen (or the forum chose one), the label stays on the left in grey and
// the value stands on the right in black, so that a row always says what it
// is for. A tap (or a click) calls tapped().
class FieldButtonCell : public FieldCell {
    Q_OBJECT
public:
    FieldButtonCell();

    // The row's button (the form's `field` control).
    Button* field() const { return m_button; }
    // Shows the value beside the field's label, or the label alone when the
    // value is empty (or is the label itself, as a link's title).
    void showTitle(const QString& value);
    // The label beside a chosen value (hidden while there is none).
    Label* nameLabel() const { return m_name; }

    void layoutSubviews() override;
    // The row's button takes the keyboard as Tab gives it, and Tab from it
    // follows the form's order.
    bool isFocusable() const override;
    void takeFocus() override;

protected:
    virtual void tapped() = 0;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Button* m_button;
    Label* m_name;
};
