#pragma once

#include "platform/ui/TableViewCell.h"

#include <QColor>

class ImageView;
class Label;

// A row of a search setting's list (content kinds, date limits, sort
// orders): an optional icon and a title; the chosen rows carry a check
// mark and their title in the chosen colour.
class SearchChoiceCell : public TableViewCell {
    Q_OBJECT
public:
    static constexpr qreal kHeight = 44.0;
    static inline const QColor kChosenColor = QColor::fromRgbF(0.0f, 0.2235294f, 0.48046875f, 1.0f);

    SearchChoiceCell();

    // An empty name: no icon, and the title takes its place.
    void setChoice(const QString& title, const QString& iconName, bool chosen);
    bool isChosen() const { return m_chosen; }

    Label* title() const { return m_title; }
    ImageView* icon() const { return m_icon; }

private:
    Label* m_title;
    ImageView* m_icon;
    bool m_chosen = false;
};
