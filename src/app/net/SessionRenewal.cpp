#include "app/net/SessionRenewal.h"

namespace {
WeakRef<SessionRenewal>& currentRenewal()
{
    static WeakRef<SessionRenewal> renewal;
    return renewal;
}
}  // namespace

SessionRenewal* SessionRenewal::current()
{
    return currentRenewal().get();
}

void SessionRenewal::setCurrent(SessionRenewal* renewal)
{
    currentRenewal() = WeakRef<SessionRenewal>(renewal);
}
