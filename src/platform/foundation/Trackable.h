#pragma once

#include <QList>

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

// A set that holds its members without owning them (observers, delegates,
// requests in flight). Members compare by identity; a member that has gone is
// skipped. Notification rounds walk a snapshot, so members may add or remove
// members while being told.
template <typename T>
class NonRetainingSet {
public:
    void add(T* object)
    {
        if (!object || contains(object))
            return;
        prune();
        m_members.append(WeakRef<T>(object));
    }

    void remove(T* object)
    {
        m_members.removeIf([object](const WeakRef<T>& ref) { return ref.rawPointer() == object; });
    }

    bool contains(T* object) const
    {
        for (const WeakRef<T>& ref : m_members) {
            if (ref.rawPointer() == object && ref.get())
                return true;
        }
        return false;
    }

    void clear() { m_members.clear(); }

    // Members that are still alive.
    int count() const
    {
        int n = 0;
        for (const WeakRef<T>& ref : m_members)
            n += ref.get() ? 1 : 0;
        return n;
    }
    bool isEmpty() const { return count() == 0; }

    // A copy to walk over while the set may change.
    QList<WeakRef<T>> snapshot() const { return m_members; }

    // Calls f on each member alive at the moment of its turn, over a snapshot;
    // a member removed during the round is not called.
    template <typename F>
    void forEach(F f) const
    {
        const QList<WeakRef<T>> members = m_members;
        for (const WeakRef<T>& ref : members) {
            T* object = ref.get();
            if (object && contains(object))
                f(object);
        }
    }

private:
    void prune()
    {
        m_members.removeIf([](const WeakRef<T>& ref) { return ref.get() == nullptr; });
    }

    QList<WeakRef<T>> m_members;
};
