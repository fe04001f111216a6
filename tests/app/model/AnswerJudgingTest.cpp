#include "ModelTestSupport.h"

#include "app/config/ErrorMessages.h"
#include "platform/foundation/AlertView.h"
#include "platform/foundation/Log.h"

#include <gtest/gtest.h>

namespace {

QString tableText(const char16_t* code)
{
    return ErrorMessages::errorForCode(Value(code));
}

void expectFailure(const char* answer, const QString& text)
{
    const RequestOutcome outcome = RequestOutcome::judgeAnswer(json(answer));
    EXPECT_FALSE(outcome.is(RequestOutcome::Kind::Ok)) << answer;
    const QString message = outcome.is(RequestOutcome::Kind::Undecodable)
                                ? ErrorMessages::errorForCode(Value(u"unexpected_server_response"))
                                : outcome.message();
    EXPECT_EQ(message, text) << answer;
}

void expectSuccess(const char* answer, const Value& dictionary)
{
    const RequestOutcome outcome = RequestOutcome::judgeAnswer(json(answer));
    EXPECT_TRUE(outcome.is(RequestOutcome::Kind::Ok)) << answer << " " << outcome.message().toStdString();
    EXPECT_EQ(outcome.dictionary(), dictionary) << answer;
}

// A request whose reply ended as the outcome says; an answered one is judged.
HTTPRequestPtr answeredRequest(RequestOutcome::Kind kind, int status, const char* answer = "{}")
{
    auto request = std::make_shared<HTTPRequest>();
    request->setHttpResponse(HTTPResponse(status, {}));
    request->setResponse(json(answer));
    const RequestOutcome judged = RequestOutcome::judgeAnswer(request->response(), status);
    request->setOutcome(kind == RequestOutcome::Kind::Ok ? judged : RequestOutcome(kind, status));
    return request;
}

}  // namespace

TEST(AnswerJudgingTest, ErrorMessageCodesUnknownToTheTableAreSuccess)
{
    ASSERT_TRUE(Model::isSuccessErrorCode(Value(u"redirect_login")));
    expectSuccess(R"({"response": {"errormessage": "redirect_login", "name": "x"}})",
                  json(R"({"errormessage": "redirect_login", "name": "x"})"));
    expectSuccess(R"({"response": {"errormessage": ["redirect_login", "Welcome"]}})",
                  json(R"({"errormessage": ["redirect_login", "Welcome"]})"));
    expectSuccess(R"({"response": {"errormessage": []}})", json(R"({"errormessage": []})"));
    expectFailure(R"({"response": {"errormessage": "badlogin"}})", tableText(u"badlogin"));
    expectFailure(R"({"response": {"errormessage": ["badlogin", "Wrong password"]}})", tableText(u"badlogin"));
}

TEST(AnswerJudgingTest, CodesFromErrorListsAlwaysFail)
{
    ASSERT_FALSE(Model::isSuccessErrorCode(Value(u"badlogin")));
    expectFailure(R"({"response": {"errorlist": ["badlogin", "tooshort"]}})", tableText(u"badlogin"));
    expectFailure(R"({"response": {"errorlist": ["zz_not_a_code"]}})",
                  QStringLiteral("Unknown error in server response, error code = zz_not_a_code"));
    expectFailure(R"({"response": {"response": {"errorlist": ["tooshort"]}}})", tableText(u"tooshort"));
    expectFailure(R"({"response": {"postpreview": {"errorlist": {"errormessage": "nosubject"}}}})",
                  tableText(u"nosubject"));
    expectFailure(R"({"response": {"postpreview": {"errorlist": [{"errormessage": "tooshort"}]}}})",
                  tableText(u"tooshort"));
}

TEST(AnswerJudgingTest, AFailingLookupEndsTheSearchWithNoCode)
{
    expectSuccess(R"({"response": {"errorlist": []}})", json(R"({"errorlist": []})"));
    expectSuccess(R"({"response": {"errorlist": [], "response": {"errorlist": ["badlogin"]}}})",
                  json(R"({"errorlist": [], "response": {"errorlist": ["badlogin"]}})"));
    expectSuccess(R"({"response": {"errorlist": "badlogin"}})", json(R"({"errorlist": "badlogin"})"));
    expectSuccess(R"({"response": {"response": "x", "postpreview": {"errorlist": {"errormessage": "tooshort"}}}})",
                  json(R"({"response": "x", "postpreview": {"errorlist": {"errormessage": "tooshort"}}})"));
    expectSuccess(R"({"response": {"errorlist": [5]}})", json(R"({"errorlist": [5]})"));
}

TEST(AnswerJudgingTest, TheFillingDictionaryFollowsTheShapeOfTheResponse)
{
    expectSuccess(R"({"response": [{"name": "a"}, {"name": "b"}]})", json(R"({"name": "b"})"));
    // Error lists are read from a dictionary only.
    expectSuccess(R"({"response": [{"errorlist": ["badlogin"]}, {"name": "b"}]})", json(R"({"name": "b"})"));
    expectSuccess(R"({"response": [{"name": "a"}, 5]})", Value());
    expectSuccess(R"({"response": []})", Value());
    expectSuccess(R"({"response": null})", Value());
    expectSuccess(R"({"other": 1})", Value());
    expectSuccess(R"([1])", Value());

    for (const char* invalid : {R"({"response": "text"})", R"({"response": 5})", R"({"response": true})"}) {
        Log::clearRecent();
        expectFailure(invalid, tableText(u"unexpected_server_response"));
        ASSERT_FALSE(Log::recent().isEmpty());
        EXPECT_TRUE(Log::recent().last().contains(QStringLiteral("Invalid response"))) << invalid;
        EXPECT_TRUE(Log::recent().last().contains(QStringLiteral("Didn't get a valid JSON response")));
    }
}

TEST(AnswerJudgingTest, ARequestFillsTheModelAndIsForgotten)
{
    auto model = Model::create<SampleModel>();
    RecordingObserver observer(true);
    model->addObserver(&observer);
    const HTTPRequestPtr request =
        answeredRequest(RequestOutcome::Kind::Ok, 200, R"({"response": {"errormessage": "redirect_login", "count": "5"}})");
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
    model->setFromRequest(answeredRequest(RequestOutcome::Kind::Ok, 200, R"({"response": [{"count": 9}, "x"]})"));
    EXPECT_EQ(model->count(), 5);
    EXPECT_EQ(observer.changes, 2);
}

TEST(AnswerJudgingTest, EveryFailedRequestReachesTheObservers)
{
    auto model = Model::create<SampleModel>();
    RecordingObserver observer(true);
    model->addObserver(&observer);

    const HTTPRequestPtr serverError =
        answeredRequest(RequestOutcome::Kind::HttpError, 500, R"({"response": {"count": 3}})");
    serverError->setError(Error(QStringLiteral("request"), 500));
    model->setFromRequest(serverError);
    ASSERT_EQ(observer.failures.size(), 1);
    EXPECT_EQ(observer.failures[0], Error::withMessage(tableText(u"unexpected_server_response")));
    ASSERT_TRUE(observer.failures[0].underlying());
    EXPECT_EQ(observer.failures[0].underlying()->code(), 500);

    model->setFromRequest(answeredRequest(RequestOutcome::Kind::NoAnswer, 0));
    model->setFromRequest(answeredRequest(RequestOutcome::Kind::HttpError, 503, R"({"response": {"count": 3}})"));
    model->setFromRequest(answeredRequest(RequestOutcome::Kind::BadSignature, 200, R"({"response": {"count": 3}})"));
    model->setFromRequest(answeredRequest(RequestOutcome::Kind::Ok, 200, R"({"response": {"errorlist": ["badlogin"], "count": 3}})"));

    ASSERT_EQ(observer.failures.size(), 5);
    EXPECT_EQ(observer.failures[1], Error::withMessage(tableText(u"nointernet")));
    EXPECT_EQ(observer.failures[2], Error::withMessage(tableText(u"unexpected_server_response")));
    EXPECT_EQ(observer.failures[3], Error::withMessage(tableText(u"unexpected_server_response")));
    EXPECT_EQ(observer.failures[4], Error::withMessage(tableText(u"badlogin")));
    EXPECT_EQ(model->count(), 0);
    EXPECT_EQ(observer.changes, 0);
}

TEST(AnswerJudgingTest, ObserversWithoutTheFailureOperationShowOneAlert)
{
    auto model = Model::create<SampleModel>();
    RecordingObserver first;
    RecordingObserver second;
    RecordingObserver taking(true);
    model->addObserver(&first);
    model->addObserver(&second);
    model->addObserver(&taking);

    const Error error = Error::withMessage(QStringLiteral("Something went wrong"));
    model->failedWithError(error);
    ASSERT_EQ(AlertView::visibleAlerts().size(), 1);
    EXPECT_EQ(AlertView::visibleAlerts().first()->message(), error.domain());
    EXPECT_EQ(taking.failures.size(), 1);

    AlertView::visibleAlerts().first()->dismissWithClickedButtonIndex(0);
    Model::create<SampleModel>()->failedWithError(error);  // nobody to tell, nothing shown
    EXPECT_TRUE(AlertView::visibleAlerts().isEmpty());
}
