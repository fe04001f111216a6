#pragma once

#include "platform/ui/TableViewCell.h"

class ActivityIndicatorView;
class Label;

// The row at the end of a paged list while more pages follow: a spinning
// sign and a "loading" line, centred together. Showing it is what loads the
// next page.
class LoadingCell : public TableViewCell {
    Q_OBJECT
public:
    static constexpr qreal kHeight = 44.0;

    LoadingCell();

    Label* loadingLabel() const { return m_loadingLabel; }
    ActivityIndicatorView* activityIndicator() const { return m_activity; }

    void awakeFromNib() override;
    void layoutSubviews() override;

protected:
    // The sign spinning beside the "loading" line, or neither.
    void showLoadingSign();
    void hideLoadingSign();

private:
    Label* m_loadingLabel;
    ActivityIndicatorView* m_activity;
};
