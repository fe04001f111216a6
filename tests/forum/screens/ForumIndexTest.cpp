#include "ForumScreenTest.h"

#include "forum/cells/ForumCell.h"
#include "forum/screens/ForumController.h"
#include "forum/screens/ThreadController.h"
#include "platform/ui/Button.h"
#include "platform/ui/Font.h"
#include "platform/ui/Label.h"
#include "platform/ui/TableViewCell.h"

// The forum index on the loopback forum's seeded tree.
namespace {

class ForumIndexTest : public ForumScreenTest {
protected:
    std::shared_ptr<ForumController> openIndex()
    {
        auto index = showRoot(std::make_shared<ForumController>(context()));
        settleAll();
        return index;
    }
    static QStringList rowTitles(ForumController* index, int section)
    {
        QStringList titles;
        for (int row = 0; row < index->numberOfRowsInSection(index->forumTable(), section); ++row)
            titles.append(index->retrieveForumAtIndexPath(IndexPath{section, row})->title_clean());
        return titles;
    }
};

}  // namespace

TEST_F(ForumIndexTest, CategoriesHeadTheirForumsAndAForumAtTheTopListsItselfFirst)
{
    openGuestSession();
    const auto index = openIndex();
    ASSERT_EQ(requestsOf("api_forumlist").size(), 1);
    TableView* table = index->forumTable();
    ASSERT_EQ(table->numberOfSections(), 4);
    EXPECT_EQ(index->getBarTitle(), QStringLiteral("Forums"));
    EXPECT_EQ(index->navButton()->titleForState(ControlState::Normal), QStringLiteral("Forums"));

    // Categories: titled sections of their forums, "&" shown as such.
    EXPECT_EQ(rowTitles(index.get(), 0), QStringList({QStringLiteral("Announcements & News"),
                                                      QStringLiteral("General Discussion"),
                                                      QStringLiteral("Introductions")}));
    EXPECT_EQ(rowTitles(index.get(), 1), QStringList({QStringLiteral("Using the App"), QStringLiteral("Bug Reports")}));
    auto* header = dynamic_cast<Label*>(table->headerViewForSection(0));
    ASSERT_NE(header, nullptr);
    EXPECT_EQ(header->text(), QStringLiteral("    Community"));
    EXPECT_EQ(table->rectForHeaderInSection(0).height(), 30.0);
    EXPECT_EQ(header->font().family(), Font::fontWithName(QStringLiteral("Helvetica-Bold"), 13).family());
    EXPECT_TRUE(lastRequest(QStringLiteral("api_forumlist")).answer.contains("Help &amp; Support")) << "as the forum sends it";
    EXPECT_EQ(index->titleOfSection(1), QStringLiteral("Help & Support"));
    table->setContentOffset(QPointF(0, table->rectForSection(1).top()));
    finishMoving();
    header = dynamic_cast<Label*>(table->headerViewForSection(1));
    ASSERT_NE(header, nullptr);
    EXPECT_EQ(header->text(), QStringLiteral("    Help & Support"));

    // Forums at the top: an untitled section holding the forum itself.
    EXPECT_EQ(rowTitles(index.get(), 2), QStringList{QStringLiteral("Staff Lounge")});
    EXPECT_EQ(rowTitles(index.get(), 3), QStringList{QStringLiteral("Project Website")});
    EXPECT_TRUE(index->titleOfSection(2).isNull());
    EXPECT_EQ(table->rectForHeaderInSection(3).height(), 30.0) << "an empty band";

    // The rows: measured as their cells lay them out; a link has no counts.
    const ForumPtr general = index->retrieveForumAtIndexPath(IndexPath{0, 1});
    EXPECT_EQ(table->rectForRowAtIndexPath(IndexPath{0, 1}).height(), ForumCell::heightForForum(general));
    table->scrollToRowAtIndexPath(IndexPath{3, 0}, TableViewScrollPosition::Bottom, false);
    finishMoving();
    auto* link = dynamic_cast<ForumCell*>(table->cellForRowAtIndexPath(IndexPath{3, 0}));
    ASSERT_NE(link, nullptr);
    EXPECT_TRUE(link->threads_posts()->isHidden());
    EXPECT_EQ(link->height(), ForumCell::kMinimumHeight);
    table->scrollToRowAtIndexPath(IndexPath{0, 1}, TableViewScrollPosition::Top, false);
    finishMoving();
    auto* cell = dynamic_cast<ForumCell*>(table->cellForRowAtIndexPath(IndexPath{0, 1}));
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->subforums()->text(), ForumCell::kSubforumsIndent + QStringLiteral("Off-topic"));
    EXPECT_EQ(cell->threads_posts()->text(),
              QStringLiteral("Threads: %1 · Replies: %2").arg(general->threadcount()).arg(general->replycount()));
    EXPECT_GT(general->threadcount(), 60);
}

TEST_F(ForumIndexTest, ARowOpensItsThreadListAndTheIndexIsAskedForAgainOnReturn)
{
    openGuestSession();
    const auto index = openIndex();
    tapRow(index->forumTable(), IndexPath{0, 0});
    auto* threads = topAs<ThreadController>();
    ASSERT_NE(threads, nullptr);
    ASSERT_NE(threads->forum(), nullptr);
    EXPECT_EQ(threads->forum()->forumid(), 2);
    EXPECT_EQ(index->forumTable()->indexPathForSelectedRow(), (IndexPath{0, 0})) << "the row opened stays chosen";
    settleAll();
    // The title as the index showed it, also once the forum's own answer
    // has filled it again.
    EXPECT_TRUE(lastRequest(QStringLiteral("forumdisplay")).answer.contains("Announcements &amp; News"));
    EXPECT_EQ(threads->title(), QStringLiteral("Announcements & News"));
    EXPECT_EQ(threads->titleForTheFirstSection(), QStringLiteral("Announcements & News"));
    EXPECT_EQ(lastRequest(QStringLiteral("forumdisplay")).field(QStringLiteral("forumid")), QStringLiteral("2"));

    back();
    settleAll();
    EXPECT_EQ(requestsOf("api_forumlist").size(), 2);
    EXPECT_EQ(index->forumTable()->numberOfSections(), 4);
    EXPECT_EQ(index->forumTable()->indexPathForSelectedRow(), (IndexPath{0, 0})) << "and so it is in the tree asked again";

    // A link forum opens a thread list too: the forum decides what it holds.
    tapRow(index->forumTable(), IndexPath{3, 0});
    ASSERT_NE(topAs<ThreadController>(), nullptr);
    EXPECT_EQ(topAs<ThreadController>()->forum()->forumid(), 21);
}

TEST_F(ForumIndexTest, ACategoryWithoutForumsIsATitledSectionWithoutRows)
{
    openGuestSession();
    forum().setRawAnswer(QStringLiteral("api_forumlist"),
                         QByteArrayLiteral(R"([{"forumid":1,"title_clean":"Empty","is_category":true},)"
                                           R"({"forumid":2,"title_clean":"Alone","threadcount":3,"replycount":4,)"
                                           R"("subforums":[{"forumid":3,"title_clean":"A"},{"forumid":4,"title_clean":"B"}]}])"),
                         1);
    const auto index = openIndex();
    TableView* table = index->forumTable();
    ASSERT_EQ(table->numberOfSections(), 2);
    EXPECT_EQ(table->numberOfRowsInSection(0), 0);
    EXPECT_EQ(index->titleOfSection(0), QStringLiteral("Empty"));
    EXPECT_EQ(rowTitles(index.get(), 1), QStringList({QStringLiteral("Alone"), QStringLiteral("A"), QStringLiteral("B")}));
    EXPECT_TRUE(index->titleOfSection(1).isNull());

    // A failed reload keeps what the index showed and says why once.
    forum().answerHttpStatus(QStringLiteral("api_forumlist"), 500);
    index->viewWillAppear(false);
    settleAll();
    EXPECT_EQ(table->numberOfSections(), 2);
    EXPECT_EQ(AlertView::visibleAlerts().size(), 1);
}
