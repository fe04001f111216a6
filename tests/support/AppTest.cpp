#include "AppTest.h"

#include "app/model/Config.h"
#include "app/config/ErrorMessages.h"
#include "app/media/ImageCache.h"
#include "app/net/ApiClient.h"
#include "app/net/HTTPRequestAsyncronic.h"
#include "app/net/InactiveForumUtil.h"
#include "app/session/TrackedApiClient.h"
#include "app/store/Database.h"
#include "services/AnalyticsTracker.h"
#include "platform/foundation/Bundle.h"

namespace {

// Everything a test may have left running or set, dropped; requests in
// flight are cancelled and freed with their client.
void endEverything()
{
    ImageCache::clearRegistry();
    ApiClient::install(nullptr);
    CurrentUser::resetInstance();
    CurrentUser::setForumTreeClearHandler({});
    CurrentUser::setDismissedNoticesClearHandler({});
    CurrentUser::setRegistrationHandler({});
    CurrentUser::setSessionLostHandler({});
    InactiveForumUtil::setReturnToLoginHandler({});
    Config::resetInstance();
    Database::resetInstance();
    AnalyticsTracker::sharedTracker().stopTracker();
    TestSupport::processEvents();
}

// At the end of the test program as well, while the application object is
// still there.
class EndOfProgram : public ::testing::Environment {
public:
    void TearDown() override { endEverything(); }
};

const auto* const endOfProgram = ::testing::AddGlobalTestEnvironment(new EndOfProgram);

}  // namespace

void AppTest::SetUp()
{
    PlatformTest::SetUp();
    endEverything();
    TrackedApiClient::install();
}

void AppTest::TearDown()
{
    endEverything();
    m_forum.reset();
    PlatformTest::TearDown();
}

TestForum& AppTest::forum()
{
    if (!m_forum) {
        m_forum = std::make_unique<TestForum>();
        EXPECT_TRUE(m_forum->start());
        Bundle::main().setInfoValue(QStringLiteral("ZtServerBaseUrl"), Value(m_forum->baseUrl()));
    }
    return *m_forum;
}

QList<std::shared_ptr<AlertView>> AppTest::visibleAlerts(const QString& message)
{
    QList<std::shared_ptr<AlertView>> found;
    for (const std::shared_ptr<AlertView>& alert : AlertView::visibleAlerts()) {
        if (alert->message() == message)
            found.append(alert);
    }
    return found;
}

bool AppTest::settle(std::chrono::milliseconds timeout)
{
    return TestSupport::waitFor([] { return HTTPRequestAsyncronic::getPendingRequests() == 0; }, timeout);
}

QStringList AppTest::apiLog()
{
    QStringList methods;
    for (const TestForumRequest& request : forum().requests()) {
        if (!request.apiMethod.isEmpty())
            methods.append(request.apiMethod);
    }
    return methods;
}

TestForumRequest AppTest::lastRequest(const QString& apiMethod)
{
    const QList<TestForumRequest> found = forum().requests(apiMethod);
    return found.isEmpty() ? TestForumRequest() : found.last();
}

CurrentUserPtr AppTest::signIn(const QString& username, const QString& password)
{
    forum();
    const CurrentUserPtr user = CurrentUser::login(username, password);
    EXPECT_TRUE(waitFor([&] { return user->userid() > 0; }));
    settle();
    return user;
}

CurrentUserPtr AppTest::openGuestSession()
{
    forum();
    const CurrentUserPtr user = CurrentUser::skipLogin();
    EXPECT_TRUE(waitFor([&] { return !user->apiaccesstoken().isEmpty(); }));
    settle();
    return user;
}

QString AppTest::tableText(const QString& code)
{
    return ErrorMessages::errorForCode(Value(code));
}
