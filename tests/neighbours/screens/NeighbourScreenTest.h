#pragma once

#include "ScreenWindowTest.h"

#include "app/screens/RootNavigation.h"
#include "forum/model/ForumInfo.h"
#include "neighbours/screens/EmptyStateView.h"
#include "neighbours/screens/MyProfile.h"
#include "neighbours/screens/NeighbourScreens.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TableViewCell.h"

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
        NeighbourScreens::registerClasses(context());
    }
    void TearDown() override
    {
        ForumInfo::resetInstance();
        ScreenWindowTest::TearDown();
    }

    // "Title: name=value, ..." for each section of a profile on screen.
    static QStringList profileSections(MyProfile* screen)
    {
        QStringList shown;
        TableView* table = screen->tableView();
        if (table->isHidden())
            return shown;
        for (int section = 0; section < table->numberOfSections(); ++section) {
            QStringList fields;
            for (int row = 0; row < table->numberOfRowsInSection(section); ++row) {
                TableViewCell* cell = table->cellForRowAtIndexPath(IndexPath::indexPathForRow(row, section));
                fields.append(cell ? cell->textLabel()->text() + QLatin1Char('=') + cell->detailTextLabel()->text()
                                   : QStringLiteral("(off screen)"));
            }
            shown.append(screen->titleForHeaderInSection(table, section) + QStringLiteral(": ")
                         + fields.join(QStringLiteral(", ")));
        }
        return shown;
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
    std::shared_ptr<Screen> showAsRoot()
    {
        return showAsRoot(std::make_shared<Screen>(context()));
    }
    template <typename Screen>
    std::shared_ptr<Screen> showAsRoot(std::shared_ptr<Screen> screen)
    {
        context().part<RootNavigation>()->setController(screen);
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
