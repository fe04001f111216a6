#pragma once

#include "services/AnalyticsTrackerDelegate.h"
#include "platform/foundation/Error.h"
#include "platform/foundation/Trackable.h"

#include <QString>
#include <QStringList>

// The analytics tracker: queues page views once started. This build has no
// analytics account, so the tracker is never started and every page view is
// refused, which callers only log.
class AnalyticsTracker {
public:
    static AnalyticsTracker& sharedTracker();

    void startTrackerWithAccountID(const QString& accountID, int dispatchPeriod,
                                   AnalyticsTrackerDelegate* delegate);
    void stopTracker();
    // Queues a page view; false with the reason in error when the tracker is
    // not started or the page does not begin with "/".
    bool trackPageview(const QString& page, Error* error);

    bool isStarted() const { return m_started; }
    const QString& accountID() const { return m_accountID; }
    int dispatchPeriod() const { return m_dispatchPeriod; }
    // Page views queued since the start.
    const QStringList& queuedPageviews() const { return m_queued; }

private:
    AnalyticsTracker() = default;

    bool m_started = false;
    QString m_accountID;
    int m_dispatchPeriod = 0;
    WeakRef<AnalyticsTrackerDelegate> m_delegate;
    QStringList m_queued;
};
