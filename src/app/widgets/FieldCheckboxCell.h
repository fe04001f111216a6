#pragma once

#include "app/widgets/FieldCell.h"

class Button;

// The row of a tick box: one button across the row, its box and the label
// (on two lines when long), selected while ticked. A tap ticks or unticks.
class FieldCheckboxCell : public FieldCell {
    Q_OBJECT
public:
    static constexpr qreal kHeight = 56;

    FieldCheckboxCell();

    Button* checkbox() const { return m_checkbox; }
    void swapCheckbox();

    void layoutSubviews() override;

protected:
    void fill() override;

private:
    Button* m_checkbox;
};
