#include "AppTest.h"

#include "app/config/ErrorMessages.h"
#include "app/media/ImageCache.h"
#include "app/net/ApiClient.h"
#include "app/net/HTTPRequestAsyncronic.h"
#include "services/AnalyticsTracker.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/Clock.h"

namespace {

// At the end of the test program, while the application object is still
// there: what a test's context left behind goes.
class EndOfProgram : public ::testing::Environment {
public:
    void TearDown() override
    {
        ImageCache::clearRegistry();
        ApiClient::install(nullptr);
        TestSupport::processEvents();
    }
};

const auto* const endOfProgram = ::testing::AddGlobalTestEnvironment(new EndOfProgram);

}  // namespace

void AppTest::SetUp()
{
    PlatformTest::SetUp();
    buildContext();
}

void AppTest::TearDown()
{
    dropContext();
    m_forum.reset();
    PlatformTest::TearDown();
}

void AppTest::buildContext()
{
    m_context = std::make_unique<AppContext>(Clock::current().shared_from_this());
}

void AppTest::dropContext()
{
    // Pictures in flight hold on to requests of the context's client.
    ImageCache::clearRegistry();
    m_context.reset();
    AnalyticsTracker::sharedTracker().stopTracker();
    TestSupport::processEvents();
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

bool AppTest::callsHaveLeft()
{
    for (const std::shared_ptr<HTTPRequestAsyncronic>& request : ApiClient::current().pending()) {
        if (request->isSending() && !request->requestLeft())
            return false;
    }
    return true;
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
