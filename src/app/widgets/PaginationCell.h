#pragma once

#include "platform/ui/TableViewCell.h"

class Label;

// One page number of a page strip.
class PaginationCell : public TableViewCell {
    Q_OBJECT
public:
    static inline const QString kReuseIdentifier = QStringLiteral("pagination_cell");

    PaginationCell();

    Label* number() const { return m_number; }

    // The number's 30-point square stands in the middle of the cell.
    void layoutSubviews() override;

private:
    Label* m_number;
};
