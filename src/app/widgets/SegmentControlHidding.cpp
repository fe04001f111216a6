#include "app/widgets/SegmentControlHidding.h"

SegmentControlHidding::SegmentControlHidding(const QStringList& items) : SegmentedControl(items) {}

void SegmentControlHidding::awakeFromNib()
{
    m_initialItems.clear();
    for (int i = 0; i < numberOfSegments(); ++i)
        m_initialItems.append(titleForSegmentAtIndex(i));
    m_set.clear();
}

void SegmentControlHidding::setInitialItems(const QStringList& items)
{
    m_initialItems = items;
    redraw();
}

void SegmentControlHidding::hideButtonAtIndex(int index)
{
    m_set.insert(index);
    redraw();
}

void SegmentControlHidding::showButtonAtIndex(int index)
{
    m_set.remove(index);
    redraw();
}

void SegmentControlHidding::hideButton(const QString& title)
{
    const int index = int(m_initialItems.indexOf(title));
    if (index >= 0)
        hideButtonAtIndex(index);
}

void SegmentControlHidding::showButton(const QString& title)
{
    const int index = int(m_initialItems.indexOf(title));
    if (index >= 0)
        showButtonAtIndex(index);
}

void SegmentControlHidding::redraw()
{
    removeAllSegments();
    int shown = 0;
    for (int i = 0; i < m_initialItems.size(); ++i) {
        if (!m_set.contains(i))
            insertSegmentWithTitle(m_initialItems[i], shown++, false);
    }
    setSelectedSegmentIndex(NoSegment);
}

int SegmentControlHidding::selectedSegmentIndex() const
{
    const int k = SegmentedControl::selectedSegmentIndex();
    if (k < 0)
        return -1;
    int seen = 0;
    for (int i = 0; i < m_initialItems.size(); ++i) {
        if (m_set.contains(i))
            continue;
        if (seen == k)
            return i;
        ++seen;
    }
    return -1;
}

void SegmentControlHidding::setSelectedPosition(int position)
{
    if (position < 0 || position >= m_initialItems.size() || m_set.contains(position)) {
        setSelectedSegmentIndex(NoSegment);
        return;
    }
    int shown = 0;
    for (int i = 0; i < position; ++i)
        shown += m_set.contains(i) ? 0 : 1;
    setSelectedSegmentIndex(shown);
}
