#pragma once

#include <functional>
#include <memory>
#include <type_traits>
#include <utility>

// An observer's registration with what it observes, held by the observer as a
// member: it ends (removes the observer) when the member goes, when it is
// reset, or when it is pointed at another observable, so that no destructor
// removes its observer by hand. Declare it after the member that owns the
// observable, so that it ends while the observable is still held.
//
// An observable is anything with addObserver/removeObserver: one held through
// a shared_ptr is removed from only while it lives; one taken by reference
// must outlive the observation (the application).
class Observation {
    template <typename T>
    struct IsSharedPtr : std::false_type {};
    template <typename T>
    struct IsSharedPtr<std::shared_ptr<T>> : std::true_type {};

public:
    Observation() = default;
    ~Observation() { reset(); }

    Observation(const Observation&) = delete;
    Observation& operator=(const Observation&) = delete;
    Observation(Observation&& other) noexcept : m_end(std::exchange(other.m_end, nullptr)) {}
    Observation& operator=(Observation&& other) noexcept
    {
        if (this != &other) {
            reset();
            m_end = std::exchange(other.m_end, nullptr);
        }
        return *this;
    }

    // Ends what was observed, then observes this (nothing observes nothing).
    // Ending first means that observing the same observable again keeps it
    // observed.
    template <typename Observable, typename Observer>
    void observe(const std::shared_ptr<Observable>& observable, Observer* observer)
    {
        if (!observable || !observer) {
            reset();
            return;
        }
        start([observable, observer] { observable->addObserver(observer); },
              [weak = std::weak_ptr<Observable>(observable), observer] {
                  if (const std::shared_ptr<Observable> alive = weak.lock())
                      alive->removeObserver(observer);
              });
    }
    template <typename Observable, typename Observer>
        requires(!IsSharedPtr<std::remove_cv_t<Observable>>::value)
    void observe(Observable& observable, Observer* observer)
    {
        start([&observable, observer] { observable.addObserver(observer); },
              [&observable, observer] { observable.removeObserver(observer); });
    }
    // Any other pairing (an observer table of static functions): add is
    // called now, remove when the observation ends.
    void start(const std::function<void()>& add, std::function<void()> remove);

    // Removes the observer now; nothing is observed after.
    void reset();
    bool isObserving() const { return bool(m_end); }

private:
    std::function<void()> m_end;
};
