#pragma once

#include "app/widgets/FieldButtonCell.h"

class Label;

// The row of a page to read (the forum's rules): titled with the label; a
// tap opens the page on the form's screen.
class FieldLinkCell : public FieldButtonCell {
    Q_OBJECT
public:
    Label* title() const;
    void openLink();

protected:
    void fill() override;
    void tapped() override { openLink(); }
};
