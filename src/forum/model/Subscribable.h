#pragma once

#include "app/net/HTTPRequest.h"

#include <QString>

#include <utility>

// A forum or a thread the member subscribes to. The flag changes at once and
// goes back to what it was when the forum refuses; subscribing first asks
// for the member's e-mail setting, which the second call carries back.
template <typename Base>
class Subscribable : public Base {
public:
    bool isSubscribed() const { return m_isSubscribed; }
    void setIsSubscribed(bool subscribed) { m_isSubscribed = subscribed; }

    void subscribe();
    void unsubscribe();
    void subscribedStatus(const HTTPRequestPtr& request);
    void subscribed(const HTTPRequestPtr& request);

protected:
    // The parameter that names this forum or thread in the calls, and its id.
    virtual std::pair<QString, qint32> subscriptionTarget() const = 0;

private:
    void rollBackSubscription(const HTTPRequestPtr& request);

    bool m_isSubscribed = false;
};
