#include "app/session/AppContext.h"

#include "app/config/ErrorMessages.h"
#include "app/model/Config.h"
#include "app/net/ApiClient.h"
#include "app/net/InactiveForumUtil.h"
#include "app/net/SessionCredentials.h"
#include "app/net/SessionRenewal.h"
#include "app/session/CurrentUser.h"
#include "app/session/Registration.h"
#include "app/session/SessionEvents.h"
#include "app/session/TrackedApiClient.h"
#include "app/store/Database.h"
#include "platform/foundation/ClassName.h"
#include "platform/foundation/Clock.h"

#include <QtGlobal>

namespace {

AppContext*& inUse()
{
    static AppContext* context = nullptr;
    return context;
}

}  // namespace

AppContext::AppContext(std::shared_ptr<Clock> clock)
    : m_clock(std::move(clock)),
      m_events(std::make_shared<SessionEvents>())
{
    if (inUse())
        qFatal("An application context was built while another was in use");
    inUse() = this;
    // The clock and the client first: the restored user may load its pictures.
    Clock::install(m_clock);
    ApiClient::install(TrackedApiClient::make());
    // The configuration and the database are read again from the store.
    Config::resetInstance();
    Database::resetInstance();
    restoreSession();

    // A stale session hash signs this context's user out.
    ErrorMessages::setInvalidSessionHashHandler([this] {
        if (const std::shared_ptr<CurrentUser> user = m_user)
            user->signOutForStaleSession();
    });
    InactiveForumUtil::setReturnToLoginHandler([events = m_events] { SessionEvents::raise(events->forumClosed); });
    // A registration that waited for its session goes on once it is open.
    m_events->sessionOpenForRegistration = [] {
        if (const std::shared_ptr<Registration> registration = Registration::getInstance())
            registration->prepareRegistration();
    };
}

AppContext::~AppContext()
{
    // A user or a screen that outlives its context reaches nobody any more.
    *m_events = SessionEvents();
    ErrorMessages::setInvalidSessionHashHandler({});
    InactiveForumUtil::setReturnToLoginHandler({});
    // The client installed now, this context's or one a test put in its place.
    ApiClient::install(nullptr);
    m_parts.clear();
    m_user.reset();
    Config::resetInstance();
    Database::resetInstance();
    Clock::install(nullptr);
    inUse() = nullptr;
}

AppContext& AppContext::current()
{
    AppContext* context = inUse();
    if (!context)
        qFatal("The application's parts were used with no context built");
    return *context;
}

Config& AppContext::config() const
{
    return Config::getInstance();
}

void AppContext::missingPart(const std::type_info& type, const std::source_location& asker)
{
    // Fatal in every build: an assertion would vanish from a release build,
    // and an exception would unwind through the toolkit's event handlers,
    // which cannot carry one, or be caught by someone who goes on with
    // nothing wired.
    qFatal("%s [Line %u] asked for the application context's part %s, which nothing set",
           asker.function_name(), unsigned(asker.line()), qPrintable(ClassNameDetail::fullName(type.name())));
}

bool AppContext::exists()
{
    return inUse() != nullptr;
}

void AppContext::restoreSession()
{
    m_user = CurrentUser::restore();
    m_user->setEvents(m_events);
    SessionCredentials::setCurrent(m_user.get());
    SessionRenewal::setCurrent(m_user.get());
}
