#include "services/AnalyticsTracker.h"

namespace {
const QString errorDomain = QStringLiteral("AnalyticsTracker");
enum ErrorCode { NotStarted = 1, InvalidPage = 2 };
}  // namespace

AnalyticsTracker& AnalyticsTracker::sharedTracker()
{
    static AnalyticsTracker tracker;
    return tracker;
}

void AnalyticsTracker::startTrackerWithAccountID(const QString& accountID, int dispatchPeriod,
                                                 AnalyticsTrackerDelegate* delegate)
{
    m_started = true;
    m_accountID = accountID;
    m_dispatchPeriod = dispatchPeriod;
    m_delegate = WeakRef<AnalyticsTrackerDelegate>(delegate);
    m_queued.clear();
}

void AnalyticsTracker::stopTracker()
{
    m_started = false;
    m_accountID.clear();
    m_dispatchPeriod = 0;
    m_delegate.reset();
    m_queued.clear();
}

bool AnalyticsTracker::trackPageview(const QString& page, Error* error)
{
    if (!m_started) {
        if (error)
            *error = Error(errorDomain, NotStarted, QStringLiteral("Tracker not started"));
        return false;
    }
    if (!page.startsWith(u'/')) {
        if (error)
            *error = Error(errorDomain, InvalidPage, QStringLiteral("Page must begin with \"/\": %1").arg(page));
        return false;
    }
    m_queued.append(page);
    return true;
}
