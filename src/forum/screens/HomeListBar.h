#pragma once

#include "platform/ui/Toolbar.h"

#include <QPointer>
#include <QString>

class ImageView;
class Label;
class SegmentedControl;

// The bar above the home screen's list: the sort's icon and name, and at its
// right the filter, which names the kind of content in force and opens the
// choice of another. The screen wires the filter.
class HomeListBar : public Toolbar {
    Q_OBJECT
public:
    static constexpr qreal kHeight = 35;
    static constexpr qreal kFilterWidth = 160;

    explicit HomeListBar(const QRectF& frame);
    ~HomeListBar() override;

    SegmentedControl* filter() const { return m_filter; }
    // The list's name and icon; the filter shows or not.
    void showList(const QString& title, const QString& iconName, bool filterShown);
    // The filter's segment names the kind in force.
    void showFilterTitle(const QString& title);
    // Without kinds to choose the bar holds no filter.
    void dropFilter();
    void setTint(const QColor& tint);

private:
    ImageView* m_icon = nullptr;
    Label* m_title = nullptr;
    // Off the bar it has no superview: the bar keeps it.
    QPointer<View> m_filterBox;
    View* m_selectedFilter = nullptr;
    SegmentedControl* m_filter = nullptr;
};
