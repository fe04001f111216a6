#pragma once

#include <QList>

// Declared here so that this header can stand before WeakRef's own (the two
// include each other through Trackable.h).
template <typename T>
class WeakRef;

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

// What the set is made of.
#include "platform/foundation/WeakRef.h"
