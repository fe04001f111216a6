#pragma once

#include "platform/ui/TableViewCell.h"

class Label;

// A setting row of the general search: what is set on the left, its value
// on the right, and the arrow of a row that opens its list.
class SearchCell : public TableViewCell {
    Q_OBJECT
public:
    static constexpr qreal kHeight = 44.0;

    SearchCell();

    void setSetting(const QString& title, const QString& value);

    Label* searchTitle() const { return m_searchTitle; }
    Label* searchValue() const { return m_searchValue; }

private:
    Label* m_searchTitle;
    Label* m_searchValue;
};
