#pragma once

#include <memory>

// Base of objects that others refer to without owning them (observers,
// delegates, callback targets). A WeakRef to a Trackable reads as null once the
// object is gone, so a forgotten removeObserver never leads to a dangling call.
class Trackable {
public:
    Trackable() : m_token(std::make_shared<Trackable*>(this)) {}
    Trackable(const Trackable&) : m_token(std::make_shared<Trackable*>(this)) {}
    Trackable& operator=(const Trackable&) { return *this; }
    virtual ~Trackable() = default;

    std::weak_ptr<Trackable*> lifetimeToken() const { return m_token; }

private:
    std::shared_ptr<Trackable*> m_token;
};

// The weak references to a Trackable, and the set made of them.
#include "platform/foundation/NonRetainingSet.h"
#include "platform/foundation/WeakRef.h"
