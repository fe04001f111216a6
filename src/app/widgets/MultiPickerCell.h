#pragma once

#include "platform/ui/TableViewCell.h"

// One option of a multiple choice: its text, with a check mark when chosen.
class MultiPickerCell : public TableViewCell {
    Q_OBJECT
public:
    MultiPickerCell();

    Label* title() const { return m_title; }
    void setChosen(bool chosen);

    void layoutSubviews() override;

private:
    Label* m_title;
};
