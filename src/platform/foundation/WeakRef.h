#pragma once

#include "platform/foundation/Trackable.h"

#include <memory>

// A reference to a Trackable that does not own it and reads as null once the
// object is gone.
template <typename T>
class WeakRef {
public:
    WeakRef() = default;
    WeakRef(std::nullptr_t) {}
    WeakRef(T* object)
        : m_object(object)
    {
        if (object)
            m_token = static_cast<const Trackable*>(object)->lifetimeToken();
    }
    template <typename U>
    WeakRef(const WeakRef<U>& other) : m_token(other.token()), m_object(other.rawPointer())
    {
    }

    // The object, or null when it has gone or none was set.
    T* get() const { return m_token.expired() ? nullptr : m_object; }
    explicit operator bool() const { return get() != nullptr; }
    T* operator->() const { return get(); }

    void reset() { *this = WeakRef(); }

    // Identity, also for an object that has gone.
    T* rawPointer() const { return m_object; }
    std::weak_ptr<Trackable*> token() const { return m_token; }

    bool operator==(const WeakRef& other) const { return m_object == other.m_object; }

private:
    std::weak_ptr<Trackable*> m_token;
    T* m_object = nullptr;
};
