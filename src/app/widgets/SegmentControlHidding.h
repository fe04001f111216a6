#pragma once

#include "platform/ui/SegmentedControl.h"

#include <QSet>

// A segmented control whose segments can be hidden and shown, addressed by
// their position in the full list; the selected index it reports is such a
// position too (setting the selection takes a shown index, as the base does).
class SegmentControlHidding : public SegmentedControl {
    Q_OBJECT
public:
    explicit SegmentControlHidding(const QStringList& items = {});

    // Takes the full list from the segments laid out now; nothing hidden.
    void awakeFromNib();
    QStringList initialItems() const { return m_initialItems; }
    // Replaces the full list and redraws; the hidden positions stay.
    void setInitialItems(const QStringList& items);
    void hideButtonAtIndex(int index);
    void showButtonAtIndex(int index);
    void hideButton(const QString& title);
    void showButton(const QString& title);
    void redraw();

    // The selected segment as a position in the full list; -1 for none.
    int selectedSegmentIndex() const override;
    // Selects the segment at a position of the full list, telling nobody;
    // none for -1 or a hidden position.
    void setSelectedPosition(int position);

private:
    QStringList m_initialItems;
    QSet<int> m_set;
};
