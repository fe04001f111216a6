#include "app/session/SessionRenewer.h"

#include "app/config/ConnectionError.h"
#include "app/net/ApiClient.h"
#include "app/session/CurrentUser.h"
#include "app/session/SessionEvents.h"

SessionRenewer::SessionRenewer(CurrentUser* user)
    : m_user(user)
{
}

void SessionRenewer::begin(const HTTPRequestPtr& object)
{
    CurrentUser* user = m_user.get();
    if (!user)
        return;
    // The renewal's state lives with the API client, which began it: this
    // side opens a new session and signs in again, then reports there.
    const std::shared_ptr<Model> guard = user->keepAlive();
    // An "api_init" that was itself told its token is stale waits for this
    // renewal and would never answer it: a new one opens the session instead.
    if (object && user->m_sessionHashRequest.lock() == object) {
        user->m_sessionHashRequest.reset();
        user->removeRequest(object);
        object->cancel();
    }
    user->m_apiaccesstoken = QString();
    user->m_whenInitializedCall = &CurrentUser::renovateAccessTokenLogin;
    // When an "api_init" is already in flight this sends nothing: its answer
    // decides the renewal.
    user->initializeAPI(true);
}

void SessionRenewer::login()
{
    CurrentUser* user = m_user.get();
    if (!user || !isRenewing())
        return;
    if (user->m_anonymous || user->username().isEmpty() || user->m_passwordmd5.isEmpty()) {
        succeed();
        return;
    }
    user->requestURL(QStringLiteral("login_login"), user->loginRequestParams(), RequestMethod::POST,
                     SELECTOR(CurrentUser, setFromRequest), RequestTag::Renewal);
}

void SessionRenewer::succeed()
{
    if (isRenewing())
        ApiClient::current().renewal().succeed();
}

void SessionRenewer::fail()
{
    CurrentUser* user = m_user.get();
    if (!user || !isRenewing())
        return;
    // Shown first: the waiting requests fail with the same text, and the
    // presenter shows a text only once.
    ConnectionError::showMessage(sessionEndedError());
    ApiClient::current().renewal().fail();
    // The member must sign in again; the name stays for the login screen.
    user->signOut(true);
    user->raise(&SessionEvents::sessionLost);
}

bool SessionRenewer::isRenewing()
{
    return ApiClient::current().renewal().isRunning();
}

Error SessionRenewer::sessionEndedError()
{
    return RequestOutcome(RequestOutcome::Kind::SessionEnded, 0).failure();
}
