#pragma once

#include "platform/foundation/Trackable.h"

#include <QDateTime>

#include <optional>

class PullRefreshTableHeaderView;

// The owner of a pull-to-refresh band: starts the reload and says whether one
// is running.
class PullRefreshTableHeaderDelegate : public virtual Trackable {
public:
    virtual void pullRefreshTableHeaderDidTriggerRefresh(PullRefreshTableHeaderView* view) = 0;
    virtual bool pullRefreshTableHeaderDataSourceIsLoading(PullRefreshTableHeaderView* view) = 0;
    // Optional: the time of the last reload, for the band's second line. No
    // answer (the default) leaves that line empty.
    virtual std::optional<QDateTime> pullRefreshTableHeaderDataSourceLastUpdated(PullRefreshTableHeaderView* view)
    {
        return std::nullopt;
    }
};
