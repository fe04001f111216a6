#include "platform/foundation/NetworkActivityIndicator.h"

#include <utility>

namespace {
bool g_visible = false;

std::function<void(bool)>& observer()
{
    static std::function<void(bool)> function;
    return function;
}
}  // namespace

void NetworkActivityIndicator::setVisible(bool visible)
{
    if (g_visible == visible)
        return;
    g_visible = visible;
    // A copy: the observer may replace itself while being told.
    const std::function<void(bool)> tell = observer();
    if (tell)
        tell(visible);
}

bool NetworkActivityIndicator::isVisible()
{
    return g_visible;
}

void NetworkActivityIndicator::setObserver(std::function<void(bool)> function)
{
    observer() = std::move(function);
}
