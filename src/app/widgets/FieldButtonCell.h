#pragma once

#include "app/widgets/FieldCell.h"

class Button;

// A form row that is one button across the row with a chevron: the field's
// chosen value in black, or its label in the placeholder's grey while
// nothing is chosen. A tap (or a click) calls tapped().
class FieldButtonCell : public FieldCell {
    Q_OBJECT
public:
    FieldButtonCell();

    // The row's button (the form's `field` control).
    Button* field() const { return m_button; }
    // Shows the value, or the field's label when the value is empty.
    void showTitle(const QString& value);

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
};
