#pragma once

#include "forum/screens/SearchChoiceController.h"

// The general search's sort order: newest or oldest first, relevance,
// member name or title either way. One row is chosen; the first at start.
class SearchOrderController : public SearchChoiceController {
public:
    static constexpr int kRowCount = 7;

    SearchOrderController();

    int selectedItem() const { return m_selectedItem; }
    // The search's sort code of the chosen row (0 for a row there is not).
    int selectedValue() const;
    QString selectedTitle() const { return titleAt(m_selectedItem); }

    int rowCount() const override { return kRowCount; }
    QString titleKeyAt(int row) const override;
    bool isChosen(int row) const override { return row == m_selectedItem; }
    void choose(int row) override;

private:
    int m_selectedItem = 0;
};
