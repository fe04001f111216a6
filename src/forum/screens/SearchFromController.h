#pragma once

#include "forum/screens/SearchChoiceController.h"

// The general search's date limit: any time, or after or before the
// member's last visit, a day, a week, two weeks, a month, three or six
// months, or a year ago. One row is chosen; the first at start.
class SearchFromController : public SearchChoiceController {
public:
    static constexpr int kRowCount = 17;

    SearchFromController();

    int selectedItem() const { return m_selectedItem; }
    // The search's date limit: the row for rows 1 to 16, else 0.
    int selectedValue() const;
    QString selectedTitle() const { return titleAt(m_selectedItem); }

    int rowCount() const override { return kRowCount; }
    QString titleKeyAt(int row) const override;
    bool isChosen(int row) const override { return row == m_selectedItem; }
    void choose(int row) override;

private:
    int m_selectedItem = 0;
};
