#pragma once

#include "app/widgets/PullRefreshTableHeaderDelegate.h"

#include "platform/ui/View.h"

#include "platform/foundation/WeakRef.h"

#include <QString>

class ActivityIndicatorView;
class ImageView;
class Label;
class ScrollView;

// The band above a list's content that shows while the list is pulled down
// past its top. Pulled far enough and let go, it asks its delegate to reload
// and stays open while the reload runs; the owner closes it when done. The
// owner passes its scroll view's events on.
class PullRefreshTableHeaderView : public View {
    Q_OBJECT
public:
    enum State { Pulling = 0, Normal = 1, Loading = 2 };

    // Pulled this far past the top (a content offset), letting go reloads.
    static constexpr qreal kTriggerOffset = -65.0;
    // How much of the band stays open while loading.
    static constexpr qreal kLoadingHeight = 60.0;
    static constexpr double kArrowTurnDuration = 0.18;
    static constexpr double kOpenDuration = 0.2;
    static constexpr double kCloseDuration = 0.3;
    // Where the last-updated line is kept in the user defaults.
    static inline const QString kLastRefreshKey = QStringLiteral("PullRefreshTableView_LastRefresh");

    PullRefreshTableHeaderView(const QRectF& frame, const QString& arrowImageName, const QColor& textColor);
    // The blue arrow and the blue-grey text.
    explicit PullRefreshTableHeaderView(const QRectF& frame);
    ~PullRefreshTableHeaderView() override;

    PullRefreshTableHeaderDelegate* delegate() const { return m_delegate.get(); }
    void setDelegate(PullRefreshTableHeaderDelegate* delegate) { m_delegate = delegate; }

    int state() const { return m_state; }
    void setState(int state);
    void refreshLastUpdatedDate();

    void pullRefreshScrollViewDidScroll(ScrollView* scrollView);
    void pullRefreshScrollViewDidEndDragging(ScrollView* scrollView);
    void pullRefreshScrollViewDataSourceDidFinishedLoading(ScrollView* scrollView);

    Label* lastUpdatedLabel() const { return m_lastUpdatedLabel; }
    Label* statusLabel() const { return m_statusLabel; }
    ImageView* arrowImage() const { return m_arrowImage; }
    ActivityIndicatorView* activityView() const { return m_activityView; }

private:
    bool delegateIsLoading();

    WeakRef<PullRefreshTableHeaderDelegate> m_delegate;
    int m_state = Normal;
    Label* m_lastUpdatedLabel;
    Label* m_statusLabel;
    ImageView* m_arrowImage;
    ActivityIndicatorView* m_activityView;
};
