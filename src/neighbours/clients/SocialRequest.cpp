#include "neighbours/clients/SocialRequest.h"

namespace {
std::optional<SocialRequest::Call>& lastMadeCall()
{
    static std::optional<SocialRequest::Call> call;
    return call;
}
}  // namespace

std::shared_ptr<SocialRequest> SocialRequest::requestWithSession(SocialSession* session,
                                                                 SocialRequestDelegate* delegate)
{
    auto request = std::make_shared<SocialRequest>();
    request->m_session = WeakRef<SocialSession>(session);
    request->m_delegate = WeakRef<SocialRequestDelegate>(delegate);
    return request;
}

void SocialRequest::call(const QString& method, const ValueDict& params)
{
    m_call = Call{method, params};
    lastMadeCall() = m_call;
}

std::optional<SocialRequest::Call> SocialRequest::lastCall()
{
    return lastMadeCall();
}
