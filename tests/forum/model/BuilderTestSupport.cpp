#include "BuilderTestSupport.h"

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

void BuilderTest::SetUp()
{
    AppTest::SetUp();
    openGuestSession();
    forum().setMethodHandler(Builder::UploadMethod, [](const TestForumRequest&, int) {
        return QJsonObject{{QStringLiteral("response"), QJsonObject{{QStringLiteral("attachmentid"), 1}}}};
    });
    answerPostWith(QStringLiteral("redirect_postthanks"));
    forum().clearLog();
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

void BuilderTest::answerPostWith(const QString& code)
{
    forum().setMethodHandler(TestBuilder::PostMethod, [code](const TestForumRequest&, int) {
        return QJsonObject{{QStringLiteral("response"), QJsonObject{{QStringLiteral("errormessage"), code}}}};
    });
}
