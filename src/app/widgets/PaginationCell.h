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

    // The page on screen stands out on a light rounded mark.
    bool isCurrent() const { return m_current; }
    void setCurrent(bool current);

    // The keyboard's mark round the number, while its strip has the focus.
    bool isKeyboardMarked() const { return m_keyboardMarked; }
    void setKeyboardMarked(bool marked);

    // The number's 30-point square stands in the middle of the cell.
    void layoutSubviews() override;
    void drawRect(QPainter& painter, const QRectF& rect) override;

private:
    Label* m_number;
    bool m_current = false;
    bool m_keyboardMarked = false;
};
