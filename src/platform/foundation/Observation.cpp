#include "platform/foundation/Observation.h"

void Observation::start(const std::function<void()>& add, std::function<void()> remove)
{
    reset();
    // Set before adding: an observable that tells a new observer at once may
    // have it end or replace this observation from inside add.
    m_end = std::move(remove);
    add();
}

void Observation::reset()
{
    // Taken out first: removing may tell others who reset it again.
    if (std::function<void()> end = std::exchange(m_end, nullptr))
        end();
}
