#pragma once

#include "app/widgets/FieldCell.h"

class Button;

// The row of a tick box: one button across the row, its box and the label
// (on two lines when long), selected while ticked. A tap ticks or unticks,
// and so does Space once Tab, which goes in the form's order, is on it.
class FieldCheckboxCell : public FieldCell {
    Q_OBJECT
public:
    static constexpr qreal kHeight = 56;

    FieldCheckboxCell();

    Button* checkbox() const { return m_checkbox; }
    void swapCheckbox();

    void layoutSubviews() override;
    bool isFocusable() const override;
    void takeFocus() override;

protected:
    void fill() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Button* m_checkbox;
};
