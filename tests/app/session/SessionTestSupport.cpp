#include "SessionTestSupport.h"

#include "app/config/ErrorMessages.h"
#include "app/net/HTTPRequestAsyncronic.h"
#include "support/TestSupport.h"
#include "platform/foundation/AlertView.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/UserDefaults.h"

void SessionTest::SetUp()
{
    ASSERT_TRUE(forum.start());
    Bundle::main().setInfoValue(QStringLiteral("ZtServerBaseUrl"), Value(forum.baseUrl()));
    UserDefaults::standard().removeObjectForKey(QStringLiteral("current_user"));
    CurrentUser::resetInstance();
    for (const std::shared_ptr<AlertView>& alert : AlertView::visibleAlerts())
        alert->dismissWithClickedButtonIndex(0);
}

void SessionTest::TearDown()
{
    settle();
    CurrentUser::setForumTreeClearHandler({});
    CurrentUser::setDismissedNoticesClearHandler({});
    CurrentUser::resetInstance();
}

CurrentUserPtr SessionTest::signIn(const QString& username, const QString& password)
{
    const CurrentUserPtr user = CurrentUser::login(username, password);
    EXPECT_TRUE(TestSupport::waitFor([&] { return user->userid() > 0; }));
    settle();
    return user;
}

CurrentUserPtr SessionTest::openGuestSession()
{
    const CurrentUserPtr user = CurrentUser::skipLogin();
    EXPECT_TRUE(TestSupport::waitFor([&] { return !user->apiaccesstoken().isEmpty(); }));
    settle();
    return user;
}

bool SessionTest::settle()
{
    return TestSupport::waitFor([] { return HTTPRequestAsyncronic::getPendingRequests() == 0; });
}

QStringList SessionTest::apiLog() const
{
    QStringList methods;
    for (const TestForumRequest& request : forum.requests()) {
        if (!request.apiMethod.isEmpty())
            methods.append(request.apiMethod);
    }
    return methods;
}

TestForumRequest SessionTest::lastRequest(const QString& apiMethod) const
{
    const QList<TestForumRequest> found = forum.requests(apiMethod);
    return found.isEmpty() ? TestForumRequest() : found.last();
}

QString SessionTest::tableText(const QString& code)
{
    return ErrorMessages::errorForCode(Value(code));
}
