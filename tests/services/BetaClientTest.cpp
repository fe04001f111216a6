#include "PlatformTest.h"

#include "services/BetaClient.h"
#include "platform/foundation/Log.h"

using BetaClientTest = PlatformTest;

TEST_F(BetaClientTest, CheckpointsCountOnlyOnceTheClientHasTakenOff)
{
    BetaClient::passCheckpoint(QStringLiteral("ON_SKIP_LOGIN_CLICK"));
    EXPECT_TRUE(BetaClient::checkpoints().isEmpty());
    EXPECT_FALSE(Log::recent().join(u'\n').contains(QStringLiteral("Checkpoint Passed")));

    BetaClient::takeOff(QStringLiteral("first"));
    BetaClient::takeOff(QStringLiteral("second"));
    EXPECT_EQ(BetaClient::token(), QStringLiteral("first"));

    BetaClient::passCheckpoint(QStringLiteral("ON_LOGIN_SUCCESS"));
    BetaClient::passCheckpoint(QStringLiteral("ON_REGISTRATION_CLICK"));
    EXPECT_EQ(BetaClient::checkpoints(),
              (QStringList{QStringLiteral("ON_LOGIN_SUCCESS"), QStringLiteral("ON_REGISTRATION_CLICK")}));
    EXPECT_TRUE(Log::recent().contains(QStringLiteral("BetaClient: Checkpoint Passed - ON_LOGIN_SUCCESS")));
}
