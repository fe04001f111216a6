#include "services/SocialRequest.h"

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
    // Never inside the call: the caller may still be setting itself up.
    m_answer = Clock::current().after(0, [this] {
        if (SocialRequestDelegate* delegate = m_delegate.get())
            delegate->didFailWithError(this, unreachable());
    });
}

Error SocialRequest::unreachable()
{
    return Error(QStringLiteral("SocialRequest"), -1,
                 QStringLiteral("This application has no connection to the social network."));
}

std::optional<SocialRequest::Call> SocialRequest::lastCall()
{
    return lastMadeCall();
}
