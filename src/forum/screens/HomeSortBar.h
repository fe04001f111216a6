#pragma once

#include "platform/ui/Toolbar.h"

class SegmentedControl;

// The bar under the home screen's list: the three sorts and, where the forum
// searches and a search screen exists, a search button. The screen wires them.
class HomeSortBar : public Toolbar {
    Q_OBJECT
public:
    static constexpr qreal kHeight = 43;

    explicit HomeSortBar(const QRectF& frame);

    SegmentedControl* sort() const { return m_sort; }
    // Null once the bar goes without it.
    SegmentedControl* search() const { return m_search; }
    // Names the sorts and lays them out, with the search button or without
    // it (it then goes), in the theme's tint.
    void arrange(bool withSearch, const QColor& tint);

private:
    SegmentedControl* m_sort = nullptr;
    SegmentedControl* m_search = nullptr;
};
