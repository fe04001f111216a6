#pragma once

#include "app/net/HTTPRequest.h"
#include "platform/foundation/Trackable.h"

#include <QList>

// The requests an owner (a model, a collection) has in flight, held without
// owning them: the pending list of the API client owns a request until it
// ends. Forgetting a request disarms it, so that it never calls its owner
// back; the owner cancels the rest when it goes.
class RequestsInFlight {
public:
    RequestsInFlight() = default;
    // Cancels every request still in flight.
    ~RequestsInFlight();
    RequestsInFlight(const RequestsInFlight&) = delete;
    RequestsInFlight& operator=(const RequestsInFlight&) = delete;

    void add(const HTTPRequestPtr& request);
    // Forgets the request and clears its callback object.
    void remove(const HTTPRequestPtr& request);
    bool contains(const HTTPRequest* request) const;
    bool isEmpty() const { return m_requests.isEmpty(); }
    int count() const { return m_requests.count(); }
    // The requests still alive, for walking while the set may change.
    QList<HTTPRequestPtr> requests() const;
    // Forgets, disarms and cancels every request: none calls back afterwards.
    void cancelAll();

private:
    NonRetainingSet<HTTPRequest> m_requests;
};
