#include "PlatformTest.h"

#include "services/SocialRequest.h"
#include "platform/foundation/ManualClock.h"

using SocialRequestTest = PlatformTest;

namespace {

class RecordingDelegate : public SocialRequestDelegate {
public:
    QList<Value> results;
    QList<Error> failures;

    void didLoad(SocialRequest*, const Value& result) override { results.append(result); }
    void didFailWithError(SocialRequest*, const Error& error) override { failures.append(error); }
};

}  // namespace

TEST_F(SocialRequestTest, ACallAnswersItsDelegateWithAFailureOnceAndOnlyWhileTheRequestLives)
{
    RecordingDelegate delegate;
    const std::shared_ptr<SocialRequest> request = SocialRequest::requestWithSession(nullptr, &delegate);
    request->call(QStringLiteral("users.getInfo"), ValueDict{{QStringLiteral("uids"), Value(QStringLiteral("7"))}});
    // Not inside the call: as a network answer would, it comes later.
    EXPECT_TRUE(delegate.failures.isEmpty());
    clock()->advance(1);
    ASSERT_EQ(delegate.failures.size(), 1);
    EXPECT_EQ(delegate.failures.first(), SocialRequest::unreachable());
    EXPECT_TRUE(delegate.results.isEmpty());
    clock()->advance(1000);
    EXPECT_EQ(delegate.failures.size(), 1);

    // A request let go before its answer answers nothing.
    std::shared_ptr<SocialRequest> dropped = SocialRequest::requestWithSession(nullptr, &delegate);
    dropped->call(QStringLiteral("users.getInfo"), ValueDict());
    dropped.reset();
    clock()->advance(1000);
    EXPECT_EQ(delegate.failures.size(), 1);
    EXPECT_EQ(SocialRequest::lastCall()->method, QStringLiteral("users.getInfo"));
}
