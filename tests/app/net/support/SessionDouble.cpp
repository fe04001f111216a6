#include "SessionDouble.h"

#include "app/config/Config.h"
#include "app/net/ClientIdentity.h"
#include "app/net/JSONHTTPRequest.h"

#include <utility>

SessionDouble::SessionDouble()
{
    SessionCredentials::setCurrent(this);
    SessionRenewal::setCurrent(this);
}

SessionDouble::~SessionDouble() = default;

void SessionDouble::setCredentials(const QString& token, const QString& clientId, const QString& secret)
{
    m_token = token;
    m_clientId = clientId;
    m_secret = secret;
}

void SessionDouble::renovateAccessTokenAndCallSuccessSelector(const Selector& success, const Selector& fail,
                                                              const HTTPRequestPtr& object)
{
    ++m_renewals;
    m_success = success;
    m_fail = fail;
    m_object = object;
    m_token = QString();
    if (m_forum && !m_hold)
        sendInit();
}

void SessionDouble::continueRenewal()
{
    m_hold = false;
    if (m_object)
        sendInit();
}

void SessionDouble::sendInit()
{
    JSONHTTPRequest::requestURL(Config::getInstance().URLWithString(QStringLiteral("api_init")),
                                ClientIdentity::parameters(), RequestMethod::POST, SELECTOR(SessionDouble, initAnswered), this,
                                RequestTag::Renewal);
}

void SessionDouble::initAnswered(const HTTPRequestPtr& request)
{
    const Value json = request->response();
    const QString token = json[u"apiaccesstoken"].toString();
    if (request->error().isSet() || token.isNull()) {
        report(false);
        return;
    }
    setCredentials(token, json[u"apiclientid"].toString(), json[u"secret"].toString());
    report(true);
}

void SessionDouble::succeed(const QString& newToken)
{
    m_token = newToken;
    report(true);
}

void SessionDouble::fail()
{
    report(false);
}

void SessionDouble::report(bool success)
{
    const HTTPRequestPtr object = std::exchange(m_object, nullptr);
    const Selector selector = success ? m_success : m_fail;
    selector.perform(object.get(), object);
}
