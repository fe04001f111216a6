#include "AppTest.h"

#include "forum/model/ForumInfo.h"
#include "wiring/AppWiring.h"

using AppWiringTest = AppTest;

// The application as main builds it: its session forgets the notices a
// member dismissed whenever the member signs out, from the moment the wiring
// is built (nothing need have asked for the forum tree first), and no longer
// once the wiring has gone.
TEST_F(AppWiringTest, TheSessionClearsTheForumTreesStateFromConstructionToTeardown)
{
    const CurrentUserPtr user = signIn(QStringLiteral("alice"), QStringLiteral("secret1"));
    {
        const AppWiring wiring(context());
        ASSERT_NE(context().existingPart<ForumInfo>(), nullptr);
        ForumInfo::saveDismissedNoticesList({QStringLiteral("5")});
        user->logout();
        ASSERT_TRUE(settle());
        EXPECT_FALSE(user->isMember());
        EXPECT_TRUE(ForumInfo::dismissedNoticesList().isEmpty());
    }
    EXPECT_EQ(context().existingPart<ForumInfo>(), nullptr);

    signIn(QStringLiteral("bob"), QStringLiteral("secret2"));
    ForumInfo::saveDismissedNoticesList({QStringLiteral("6")});
    user->logout();
    ASSERT_TRUE(settle());
    EXPECT_EQ(ForumInfo::dismissedNoticesList(), QStringList{QStringLiteral("6")});
}
