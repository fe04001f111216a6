#pragma once

#include "ScreenWindowTest.h"

#include "app/screens/RootNavigation.h"
#include "forum/model/ForumInfo.h"
#include "neighbours/screens/EmptyStateView.h"
#include "neighbours/screens/NeighbourScreens.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"

#include "platform/foundation/Bundle.h"

// The stand-in screens in a phone window, against the session and the
// loopback forum, registered by name as the program registers them.
class NeighbourScreenTest : public ScreenWindowTest {
protected:
    void SetUp() override
    {
        ScreenWindowTest::SetUp();
        // A tree of the test's own, which the session clears as in the application.
        ForumInfo::attachTo(context());
        NeighbourScreens::registerClasses();
    }
    void TearDown() override
    {
        ForumInfo::resetInstance();
        ScreenWindowTest::TearDown();
    }

    static QString text(const char* key) { return Bundle::main().localizedString(QString::fromLatin1(key)); }
    // The network answers on its own time; animations run on the manual clock.
    void settleAll()
    {
        ASSERT_TRUE(settle());
        finishMoving();
    }
    // The screen as the root of the application's stack, on screen.
    template <typename Screen>
    std::shared_ptr<Screen> showAsRoot(std::shared_ptr<Screen> screen = std::make_shared<Screen>())
    {
        RootNavigation::setController(screen);
        finishMoving();
        return screen;
    }
    static NavigationController* navigation() { return RootNavigation::controller(); }
    // What an empty state says, or "(hidden)".
    static QString shown(EmptyStateView* state)
    {
        if (!state || state->isHidden())
            return QStringLiteral("(hidden)");
        return state->headline();
    }
};
