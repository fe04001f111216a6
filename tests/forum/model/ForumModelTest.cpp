#include "ForumModelTest.h"

#include "app/json/JSONConvenience.h"
#include "forum/model/Forum.h"
#include "forum/model/ForumInfo.h"

#include <QFile>

void ForumModelTest::SetUp()
{
    AppTest::SetUp();
    // A tree of the test's own, which the session clears as in the application.
    ForumInfo::attachTo(context());
    Forum::resetForumPasswords();
}

void ForumModelTest::TearDown()
{
    ForumInfo::resetInstance();
    Forum::resetForumPasswords();
    AppTest::TearDown();
}

QByteArray ForumModelTest::fixtureBytes(const char* name)
{
    QFile file(QStringLiteral(MU_FORUM_FIXTURES "/%1.json").arg(QString::fromLatin1(name)));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name;
    return file.readAll();
}

Value ForumModelTest::fixture(const char* name)
{
    const Value json = JSONValue(QString::fromUtf8(fixtureBytes(name)));
    EXPECT_FALSE(json.isNothing()) << name << " is no JSON";
    return json;
}

HTTPRequestPtr ForumModelTest::answered(const Value& json, RequestOutcome::Kind kind)
{
    auto request = std::make_shared<HTTPRequest>();
    // No answer means no head either.
    const int status = kind == RequestOutcome::Kind::NoAnswer ? 0 : 200;
    request->setHttpResponse(HTTPResponse(status, {}));
    request->setResponse(json);
    request->setOutcome(kind == RequestOutcome::Kind::Ok ? RequestOutcome::judgeAnswer(json, status)
                                                         : RequestOutcome(kind, status));
    return request;
}
