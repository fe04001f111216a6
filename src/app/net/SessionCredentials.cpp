#include "app/net/SessionCredentials.h"

namespace {
WeakRef<SessionCredentials>& currentCredentials()
{
    static WeakRef<SessionCredentials> credentials;
    return credentials;
}
}  // namespace

bool SessionCredentials::hasSession() const
{
    return !apiaccesstoken().isNull() && !apiclientid().isNull() && !secret().isNull();
}

SessionCredentials* SessionCredentials::current()
{
    return currentCredentials().get();
}

void SessionCredentials::setCurrent(SessionCredentials* credentials)
{
    currentCredentials() = WeakRef<SessionCredentials>(credentials);
}
