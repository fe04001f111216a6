#include "AppTest.h"

#include "ModelTestSupport.h"

#include "platform/foundation/AlertView.h"

using AnswerHandlingTest = AppTest;

TEST_F(AnswerHandlingTest, AGoodAnswerFillsTheModelAndTheRequestIsForgotten)
{
    auto model = Model::create<SampleModel>();
    RecordingObserver observer;
    model->addObserver(&observer);
    const HTTPRequestPtr request = answeredRequest(R"({"response": {"errormessage": "redirect_login", "count": "5"}})");
    request->setCallbackObject(model.get());
    model->addRequest(request);

    model->setFromRequest(request);
    EXPECT_EQ(model->count(), 5);
    EXPECT_EQ(observer.changes, 1);
    EXPECT_TRUE(observer.failures.isEmpty());
    EXPECT_FALSE(model->hasRequests());
    EXPECT_EQ(request->callbackObject(), nullptr);

    // A list answer whose last element is no dictionary changes nothing but
    // still tells the observers.
    model->setFromRequest(answeredRequest(R"({"response": [{"count": 9}, "x"]})"));
    EXPECT_EQ(model->count(), 5);
    EXPECT_EQ(observer.changes, 2);
}

TEST_F(AnswerHandlingTest, EveryFailureReachesTheObserversWithTheTextForItsKind)
{
    using Kind = RequestOutcome::Kind;
    auto model = Model::create<SampleModel>();
    RecordingObserver observer;
    model->addObserver(&observer);
    const char* body = R"({"response": {"count": 3}})";

    model->setFromRequest(answeredRequest(body, Kind::HttpError, 500));
    model->setFromRequest(answeredRequest("{}", Kind::NoAnswer, 0));
    // A body that broke off after its head came is an answer that cannot be used.
    model->setFromRequest(answeredRequest("{}", Kind::NoAnswer, 200));
    model->setFromRequest(answeredRequest(body, Kind::BadSignature));
    model->setFromRequest(answeredRequest("{}", Kind::Undecodable));
    model->setFromRequest(answeredRequest(R"({"response": {"errorlist": ["badlogin"], "count": 3}})"));
    // Stopped by the closed forum: told, with nothing to show (its alert is up).
    model->setFromRequest(answeredRequest(body, Kind::ForumClosed));
    // Cancelled: nobody hears.
    model->setFromRequest(answeredRequest(body, Kind::Pending));

    const QString unexpected = tableText(QStringLiteral("unexpected_server_response"));
    const QString nointernet = tableText(QStringLiteral("nointernet"));
    EXPECT_EQ(observer.failures, (QStringList{unexpected, nointernet, unexpected, unexpected, unexpected,
                                              tableText(QStringLiteral("badlogin")), QString()}));
    EXPECT_FALSE(observer.errors.last().isSet());
    ASSERT_TRUE(observer.errors[0].underlying());
    EXPECT_EQ(observer.errors[0].underlying()->code(), 500);
    EXPECT_EQ(model->count(), 0);
    EXPECT_EQ(observer.changes, 0);
}

TEST_F(AnswerHandlingTest, ObserversWithoutTheFailureOperationShowOneAlert)
{
    auto model = Model::create<SampleModel>();
    RecordingObserver first(RecordingObserver::TakesFailures::No);
    RecordingObserver second(RecordingObserver::TakesFailures::No);
    RecordingObserver taking;
    model->addObserver(&first);
    model->addObserver(&second);
    model->addObserver(&taking);

    const Error error = Error::withMessage(QStringLiteral("Something went wrong"));
    model->failedWithError(error);
    EXPECT_EQ(alertMessages(), QStringList{error.domain()});
    EXPECT_EQ(taking.failures.size(), 1);

    dismissAlerts();
    Model::create<SampleModel>()->failedWithError(error);  // nobody to tell, nothing shown
    EXPECT_EQ(alertMessages().size(), 1);

    // A closed forum's alert is the only one: the model's own shows nothing.
    model->setFromRequest(answeredRequest(R"({"response": {"count": 3}})", RequestOutcome::Kind::ForumClosed));
    EXPECT_EQ(taking.failures.size(), 2);
    EXPECT_EQ(alertMessages().size(), 1);
}
