// The session side of the current user: opening the API session, signing in
// and out, renewing the token, and keeping the user in the user defaults.
#include "app/session/CurrentUser.h"

#include "app/model/Config.h"
#include "app/config/ErrorMessages.h"
#include "app/net/ApiClient.h"
#include "app/net/ClientIdentity.h"
#include "app/session/AppContext.h"
#include "app/session/Profile.h"
#include "app/session/SessionEvents.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/StringExtensions.h"
#include "platform/foundation/UserDefaults.h"

#include <QFile>

#include <utility>

namespace {

const QString kStoreKey = QStringLiteral("current_user");

// A text as it is, a number as its decimal text, anything else nothing.
QString textOf(const Value& value)
{
    if (value.isString())
        return value.string();
    if (value.isNumber())
        return value.numberText();
    return QString();
}

bool isSessionCall(const HTTPRequestPtr& request)
{
    if (!request)
        return false;
    const QString& method = request->apiCall().method;
    return request->requestTag() == RequestTag::Renewal || method == u"api_init" || method == u"login_login";
}

}  // namespace

CurrentUser::CurrentUser()
    : m_buddyList(std::make_shared<BuddyList>()),
      m_renewer(std::make_unique<SessionRenewer>(this)),
      m_pictures(std::make_unique<MemberPictures>(this))
{
    m_buddyList->addObserver(this);
}

CurrentUser::~CurrentUser() = default;

const PropertyTable& CurrentUser::propertyTable()
{
    static const PropertyTable table =
        PropertyTable(&Friend::propertyTable())
            .text("passwordmd5", &CurrentUser::passwordmd5, &CurrentUser::setPasswordmd5)
            .text("apiaccesstoken", &CurrentUser::apiaccesstoken, &CurrentUser::setApiaccesstoken)
            .text("secret", &CurrentUser::secret, &CurrentUser::setSecret)
            .text("apiclientid", &CurrentUser::apiclientid, &CurrentUser::setApiclientid)
            .boolean("anonymous", &CurrentUser::anonymous, &CurrentUser::setAnonymous)
            .text("profilepicurl", &CurrentUser::profilepicurl, &CurrentUser::setProfilepicurl)
            .setterOnly("dbsessionhash", &CurrentUser::setDbsessionhash)
            .setterOnly("prepared", &CurrentUser::setPrepared);
    return table;
}

ModelWithImage::ImagesProperties CurrentUser::imagesProperties() const
{
    return {{QStringLiteral("profilepicurl"), QStringLiteral("image")},
            {QStringLiteral("avatarurl"), QStringLiteral("avatar")}};
}

bool CurrentUser::setImageProperty(const QString& name, const Image& image)
{
    if (name == u"image") {
        setImage(image);
        return true;
    }
    return Friend::setImageProperty(name, image);
}

// ---- The user of the context

std::shared_ptr<CurrentUser> CurrentUser::currentUser()
{
    return AppContext::current().currentUser();
}

void CurrentUser::resetInstance()
{
    AppContext::current().restoreSession();
}

std::shared_ptr<CurrentUser> CurrentUser::restore()
{
    const Value stored = UserDefaults::standard().objectForKey(kStoreKey);
    if (stored.isBytes()) {
        if (std::shared_ptr<CurrentUser> user = Model::unarchive<CurrentUser>(stored.bytes()))
            return user;
        MU_LOG(Log::session, QStringLiteral("The stored user could not be read; starting as a guest"));
    }
    const auto guest = std::make_shared<CurrentUser>();
    guest->setAnonymous(true);
    return guest;
}

std::shared_ptr<CurrentUser> CurrentUser::login(const QString& username, const QString& password)
{
    const std::shared_ptr<CurrentUser> user = currentUser();
    user->setAnonymous(false);
    user->setUsername(username);
    user->setPasswordmd5(StringExtensions::md5(password.isNull() ? QStringLiteral("") : password));
    user->raise(&SessionEvents::clearDismissedNotices);
    user->login();
    return user;
}

std::shared_ptr<CurrentUser> CurrentUser::skipLogin()
{
    const std::shared_ptr<CurrentUser> user = currentUser();
    user->initializeAPI();
    return user;
}

// ---- Opening the session

bool CurrentUser::apiInitInFlight() const
{
    return !m_sessionHashRequest.expired();
}

void CurrentUser::initializeAPI(bool renewal)
{
    // One "api_init" at a time: a second one would open a second session
    // while the first answer is still to come.
    if (apiInitInFlight())
        return;
    if (!m_apiaccesstoken.isEmpty() && !m_secret.isEmpty() && !m_apiclientid.isEmpty())
        return;
    m_sessionHashRequest = requestURL(QStringLiteral("api_init"), ClientIdentity::parameters(), RequestMethod::POST,
                                      SELECTOR(CurrentUser, sessionHashResult),
                                      renewal ? RequestTag::Renewal : RequestTag::Ordinary);
}

void CurrentUser::sessionHashResult(const HTTPRequestPtr& request)
{
    if (!request)
        return;
    const std::shared_ptr<Model> guard = keepAlive();
    std::lock_guard lock(m_lock);

    // Forgotten before anything else happens, so that whoever runs from here
    // on may open a new session.
    if (m_sessionHashRequest.lock() == request)
        m_sessionHashRequest.reset();
    m_staleSessionSignOut = false;

    // An "api_init" answer is never signed (no session yet). Only a code of
    // the answer's "errormessage" refuses the session; the forum sends no
    // error lists here.
    const std::optional<RequestOutcome> answer =
        takeAnswer(request, {.acceptBadSignature = true, .handlerJudgesRefusals = true});
    if (!answer)
        return;
    const Value json = request->response();
    if (!json.isDict() || json.dict().isEmpty()) {
        failedWithError(Error::withMessage(textForCode(QStringLiteral("unexpected_server_response"))), request);
        return;
    }
    if (answer->is(RequestOutcome::Kind::ForumRefused)
        && answer->codeSource() == RequestOutcome::CodeSource::ErrorMessage) {
        const bool renewing = isRenewing();
        failedWithError(answer->failure(), request);
        // A failed renewal has signed the member out already, keeping the name.
        if (!renewing)
            signOut(false);
        return;
    }
    const Value& code = answer->errorMessage();
    if (code.isList() && code.list().empty())
        MU_LOG(Log::session, QStringLiteral("Error caught: ") + code.debugText());

    applySessionAnswer(json);
    Config::getInstance().applyApiInit(json);
    Config::getInstance().save();
    save();

    if (userid() >= 1 && !m_apiaccesstoken.isEmpty()) {
        m_buddyList->fetchFriends();
        const QString picture = registrationPicturePath(username());
        if (QFile::exists(picture))
            uploadPictureAtPath(picture);
    }

    // Cleared before it runs: the operation may set a new one (a sign-in
    // without a session asks to be performed after the next answer).
    const Operation operation = m_whenInitializedCall;
    m_whenInitializedCall = nullptr;
    if (operation)
        (this->*operation)();
    // A renewal always goes on to its sign-in, whatever was asked meanwhile.
    if (isRenewing() && operation != &CurrentUser::renovateAccessTokenLogin)
        renovateAccessTokenLogin();

    notifyChanged();
}

void CurrentUser::applySessionAnswer(const Value& json)
{
    m_apiaccesstoken = textOf(json[u"apiaccesstoken"]);
    m_secret = textOf(json[u"secret"]);
    const Value clientId = json[u"apiclientid"];
    if (clientId.isString() || clientId.isNumber())
        m_apiclientid = textOf(clientId);
}

void CurrentUser::failedWithError(const Error& error, const HTTPRequestPtr& request)
{
    const std::shared_ptr<Model> guard = keepAlive();
    if (isSessionCall(request))
        m_whenInitializedCall = nullptr;
    if (isRenewing() && request && (request->requestTag() == RequestTag::Renewal || isSessionCall(request))) {
        // Whatever went wrong, the user reads one thing: the session is gone.
        renovateAccessTokenFail();
        Model::failedWithError(SessionRenewer::sessionEndedError());
        return;
    }
    Model::failedWithError(error);
}

// ---- Signing in and out

void CurrentUser::login()
{
    if (!m_apiaccesstoken.isEmpty() && !m_secret.isEmpty()) {
        requestURL(QStringLiteral("login_login"), loginRequestParams(), RequestMethod::POST);
        return;
    }
    m_whenInitializedCall = &CurrentUser::login;
    initializeAPI();
}

ValueDict CurrentUser::loginRequestParams() const
{
    return ValueDict{
        {QStringLiteral("cookieuser"), Value(QStringLiteral("true"))},
        {QStringLiteral("mu_login_username"), Value(username().isNull() ? QStringLiteral("") : username())},
        {QStringLiteral("mu_login_md5password_utf"),
         Value(m_passwordmd5.isNull() ? StringExtensions::md5(QStringLiteral("")) : m_passwordmd5)},
    };
}

void CurrentUser::setFromRequest(const HTTPRequestPtr& request)
{
    if (!request)
        return;
    const std::shared_ptr<Model> guard = keepAlive();
    std::lock_guard lock(m_lock);

    // A sign-in answer that decoded is taken even when its signature did not
    // match (the forum signs with the session it has just replaced).
    const std::optional<RequestOutcome> answer =
        takeAnswer(request, {.acceptBadSignature = true, .handlerJudgesRefusals = true});
    if (!answer)
        return;

    const Value session = request->response()[u"session"];
    if (!session.isAbsent()) {
        setDictionary(session);
        save();
    }
    if (answer->is(RequestOutcome::Kind::ForumRefused)) {
        const Error refusal = answer->failure();
        // A refusal of the answer's own code fails a renewal's sign-in; one
        // of an error list is reported, and the renewal has its new session.
        if (answer->codeSource() == RequestOutcome::CodeSource::ErrorMessage) {
            failedWithError(refusal, request);
            return;
        }
        failedWithError(refusal);
    } else {
        setDictionary(answer->dictionary());
        // What the answer filled in (the avatar's address, the title) must
        // survive a restart as well.
        save();
    }
    if (request->requestTag() == RequestTag::Renewal)
        renovateAccessTokenSucces();
}

void CurrentUser::logout()
{
    const std::shared_ptr<Model> guard = keepAlive();
    signOut(false);
    // The member who leaves reads on as a guest at once.
    initializeAPI();
}

void CurrentUser::signOut(bool keepName)
{
    const std::shared_ptr<Model> guard = keepAlive();
    std::lock_guard lock(m_lock);
    // Sent with the token it gives up; a logout overtakes a running renewal.
    // Without a session there is nothing to sign out of, and the address
    // would become a session opening.
    if (hasSession()) {
        requestURL(QStringLiteral("login_logout"), ValueDict(), RequestMethod::GET,
                   SELECTOR(CurrentUser, setFromRequest), RequestTag::Logout);
    } else if (isRenewing()) {
        // Signed out while the token is being renewed: nothing to sign out
        // of yet, but nobody may wait for the member's new token any more.
        ApiClient::current().renewal().fail();
    }
    // Nothing asked for the member who leaves may run for the guest.
    m_whenInitializedCall = nullptr;
    m_buddyList->clear();
    raise(&SessionEvents::clearDismissedNotices);
    raise(&SessionEvents::dropForumTree);
    setProfile(nullptr);
    Friend::setUserid(0);
    if (!keepName)
        setUsername(QString());
    m_passwordmd5 = QString();
    m_apiaccesstoken = QString();
    m_anonymous = true;
    m_profilepicurl = QString();
    m_image = Image();
    Friend::setAvatarurl(QString());
    setAvatar(Image());
    save();
}

void CurrentUser::signOutForStaleSession()
{
    // The guest session it opens may itself answer with a stale hash: no new
    // sign-out until that answer has come.
    if (m_staleSessionSignOut && apiInitInFlight())
        return;
    m_staleSessionSignOut = true;
    logout();
    if (!apiInitInFlight())
        m_staleSessionSignOut = false;
}

void CurrentUser::save()
{
    UserDefaults& defaults = UserDefaults::standard();
    defaults.setObject(kStoreKey, Value(archive()));
    if (!defaults.synchronize())
        MU_LOG(Log::session, QStringLiteral("The user could not be saved"));
}

void CurrentUser::raise(std::function<void()> SessionEvents::*event) const
{
    if (m_events)
        SessionEvents::raise(m_events.get()->*event);
}

void CurrentUser::modelHasChanged(Model*)
{
    notifyChanged();
}

bool CurrentUser::modelHasFailedToUpdate(Model*, const Error& error)
{
    failedWithError(error);
    return true;
}

// ---- Fields with effects

void CurrentUser::setUserid(qint32 userid)
{
    const bool changed = userid != this->userid();
    if (changed)
        raise(&SessionEvents::dropForumTree);
    Friend::setUserid(userid);
    // Another member's profile is never shown as this one's.
    if (userid < 1)
        setProfile(nullptr);
    else if (!existingProfile() || changed)
        setProfile(Profile::initWithFriend(this));
}

void CurrentUser::setPrepared(const Value& prepared)
{
    setDictionary(prepared);
}

void CurrentUser::setProfilepicurl(const QString& profilepicurl)
{
    m_profilepicurl = profilepicurl.isNull() ? QString() : StringExtensions::replaceAmpersands(profilepicurl);
    if (!m_profilepicurl.isEmpty())
        loadImages();
}

void CurrentUser::fetchInfo()
{
    // A guest has no profile to fetch.
    if (userid() < 1)
        return;
    profile()->fetchInfo();
}

void CurrentUser::prepareRegistration()
{
    if (!m_apiaccesstoken.isEmpty() && !m_secret.isEmpty()) {
        raise(&SessionEvents::sessionOpenForRegistration);
        return;
    }
    m_whenInitializedCall = &CurrentUser::prepareRegistration;
    initializeAPI();
}
