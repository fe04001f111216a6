#include "BuilderTestSupport.h"

#include "app/config/ErrorMessages.h"
#include "app/net/HTTPRequestAsyncronic.h"
#include "app/session/CurrentUser.h"
#include "platform/foundation/AlertView.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/UserDefaults.h"
#include "support/TestSupport.h"

#include <QJsonObject>

const QString TestBuilder::PostMethod = QStringLiteral("newthread_postthread");

void TestBuilder::post()
{
    ++posts;
    uploadsRunningAtPost.append(static_cast<int>(attachmentRequests().size()));
    const ValueDict params{{QStringLiteral("forumid"), Value(QStringLiteral("7"))},
                           {QStringLiteral("message"), Value(message())},
                           {QStringLiteral("posthash"), Value(posthash())}};
    if (postThroughFinishedCreating)
        sendCreating(PostMethod, params);
    else
        requestURL(PostMethod, params, RequestMethod::POST);
}

void BuilderObserver::modelHasChanged(Model* model)
{
    ++changes;
    statusesSeen.append(static_cast<Builder*>(model)->requestStatus());
}

bool BuilderObserver::modelHasFailedToUpdate(Model* model, const Error& error)
{
    failures.append(error);
    statusesSeen.append(static_cast<Builder*>(model)->requestStatus());
    return true;
}

void BuilderTest::SetUp()
{
    ASSERT_TRUE(forum.start());
    Bundle::main().setInfoValue(QStringLiteral("ZtServerBaseUrl"), Value(forum.baseUrl()));
    UserDefaults::standard().removeObjectForKey(QStringLiteral("current_user"));
    CurrentUser::resetInstance();
    const CurrentUserPtr user = CurrentUser::skipLogin();
    ASSERT_TRUE(TestSupport::waitFor([&] { return !user->apiaccesstoken().isEmpty(); }));
    ASSERT_TRUE(settle());
    forum.setMethodHandler(Builder::UploadMethod, [](const TestForumRequest&, int) {
        return QJsonObject{{QStringLiteral("response"), QJsonObject{{QStringLiteral("attachmentid"), 1}}}};
    });
    answerPostWith(QStringLiteral("redirect_postthanks"));
    forum.clearLog();
}

void BuilderTest::TearDown()
{
    settle();
    for (const std::shared_ptr<AlertView>& alert : AlertView::visibleAlerts())
        alert->dismissWithClickedButtonIndex(0);
    CurrentUser::resetInstance();
}

std::shared_ptr<TestBuilder> BuilderTest::makeBuilder()
{
    auto builder = Model::create<TestBuilder>();
    builder->setPosthash(QStringLiteral("f00dcafe"));
    builder->setPoststarttime(1700000123);
    builder->setMessage(QStringLiteral("Hello & welcome"));
    builder->addObserver(&observer);
    return builder;
}

bool BuilderTest::settle()
{
    return TestSupport::waitFor([] { return HTTPRequestAsyncronic::getPendingRequests() == 0; });
}

QStringList BuilderTest::apiLog() const
{
    QStringList methods;
    for (const TestForumRequest& request : forum.requests()) {
        if (!request.apiMethod.isEmpty())
            methods.append(request.apiMethod);
    }
    return methods;
}

void BuilderTest::answerPostWith(const QString& code)
{
    forum.setMethodHandler(TestBuilder::PostMethod, [code](const TestForumRequest&, int) {
        return QJsonObject{{QStringLiteral("response"), QJsonObject{{QStringLiteral("errormessage"), code}}}};
    });
}

QString BuilderTest::tableText(const QString& code)
{
    return ErrorMessages::errorForCode(Value(code));
}
