// The builder's answer handling and its abstract operations, on answers made
// by hand: no network.
#include "Answers.h"
#include "BuilderTestSupport.h"
#include "app/net/HTTPRequestAsyncronic.h"
#include "platform/foundation/Log.h"

using BuilderAnswer = AppTest;

namespace {

// A builder that gives none of the operations a concrete builder must give.
class BareBuilder : public Builder {};

QString text(const char* code)
{
    return AppTest::tableText(QString::fromLatin1(code));
}

}  // namespace

TEST_F(BuilderAnswer, PrepareAnswerFillsTheFormByKeyAndLeavesAnIdleBuilderIdle)
{
    auto builder = Model::create<TestBuilder>();
    BuilderObserver observer;
    builder->addObserver(&observer);

    builder->setFromRequest(answeredRequest(R"({"response":{"posthash":"9a8b","poststarttime":"1700000999",
        "title":"Hi","canpostattachment":1,"canCreateTags":true,"response":{"message":"inner [b]text[/b]"}}})"));

    EXPECT_EQ(builder->requestStatus(), BuilderStatus::Idle);
    EXPECT_EQ(builder->posthash(), u"9a8b");
    EXPECT_EQ(builder->poststarttime(), 1700000999);
    EXPECT_EQ(builder->title(), u"Hi");
    EXPECT_EQ(builder->message(), u"inner [b]text[/b]");
    EXPECT_TRUE(builder->canpostattachment());
    EXPECT_TRUE(builder->canCreateTags());
    EXPECT_TRUE(builder->tags().isNull());
    // Once for the nested "response", once for the answer.
    EXPECT_EQ(observer.changes, 2);
    EXPECT_TRUE(observer.failures.isEmpty());
}

TEST_F(BuilderAnswer, FinalAnswerCodeDecidesBetweenSentAndFailed)
{
    struct Case {
        const char* answer;
        BuilderStatus status;
        bool failureTold;
    };
    const Case cases[] = {
        {R"({"response":{"errormessage":"redirect_postthanks"}})", BuilderStatus::Sent, false},
        {R"({"response":{"errormessage":"redirect_postthanks_moderate"}})", BuilderStatus::Sent, false},
        {R"({"response":{"errormessage":["redirect_postthanks"]}})", BuilderStatus::Sent, false},
        {R"({"response":{"errormessage":"custom_thanks"}})", BuilderStatus::Sent, false},
        {R"({"response":{"errormessage":"redirect_somewhere_else"}})", BuilderStatus::Failed, false},
        {R"({"response":{"posthash":"x"}})", BuilderStatus::Failed, false},
        {R"({"response":{"errormessage":"postfloodcheck"}})", BuilderStatus::Failed, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.answer);
        auto builder = Model::create<TestBuilder>();
        BuilderObserver observer;
        builder->addObserver(&observer);
        builder->setRequestStatus(BuilderStatus::Sending);

        builder->setFromRequest(answeredRequest(c.answer));

        EXPECT_EQ(builder->requestStatus(), c.status);
        if (c.failureTold) {
            ASSERT_EQ(observer.failures.size(), 1);
            EXPECT_EQ(observer.errors.first(), Error::withMessage(text("postfloodcheck")));
            EXPECT_EQ(observer.changes, 0);
        } else {
            EXPECT_TRUE(observer.failures.isEmpty());
            EXPECT_GE(observer.changes, 1);
            EXPECT_EQ(observer.statusesSeen.last(), c.status);
        }
    }
}

TEST_F(BuilderAnswer, AttachmentsWithoutFormHashAreRefusedWithAuthError)
{
    auto builder = Model::create<TestBuilder>();
    builder->setAttachments({UploadAttachment(QStringLiteral("http://pics.example/a.jpg"))});

    const Error refusal = builder->create();

    EXPECT_EQ(refusal.domain(), u"AuthError");
    EXPECT_EQ(refusal.description(), u"You do not have permission to upload an attachment");
    EXPECT_EQ(builder->requestStatus(), BuilderStatus::Failed);
    EXPECT_EQ(builder->posts, 0);
    EXPECT_TRUE(builder->attachmentRequests().isEmpty());
    EXPECT_EQ(HTTPRequestAsyncronic::getPendingRequests(), 0);
}

TEST_F(BuilderAnswer, ABuilderThatGivesNoOperationOfItsOwnSaysSo)
{
    Log::clearRecent();
    auto builder = Model::create<BareBuilder>();

    EXPECT_FALSE(builder->getParams().has_value());
    EXPECT_TRUE(logged(QStringLiteral("Child Must Overwrite getParams method")));

    EXPECT_FALSE(builder->create().isSet());
    EXPECT_EQ(builder->requestStatus(), BuilderStatus::Sending);
    EXPECT_TRUE(logged(QStringLiteral("Child Must Overwrite post method")));

    EXPECT_TRUE(builder->wasSended(Value(QStringLiteral("redirect_postthanks"))));
    EXPECT_FALSE(logged(QStringLiteral("child of Builder must overwrite wasSent method")));
    EXPECT_FALSE(builder->wasSended(Value(QStringLiteral("redirect_editthanks"))));
    EXPECT_TRUE(logged(QStringLiteral("child of Builder must overwrite wasSent method")));
}
