#include "AppTest.h"

#include "forum/cells/ForumCell.h"
#include "forum/cells/SelectThreadCell.h"
#include "forum/cells/SubforumsHeader.h"
#include "forum/cells/ThreadCell.h"
#include "forum/cells/HomeContent.h"
#include "forum/model/Forum.h"
#include "forum/model/Thread.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/ResourceImages.h"
#include "platform/ui/StringDrawing.h"
#include "platform/ui/Toolbar.h"

// The rows of the forum index and the thread lists, and the subforums
// header, filled from models made here.
namespace {

class ForumCellsTest : public AppTest {
protected:
    static ForumPtr forum(const QString& title, const QString& description = QString(), int threads = 0,
                          int replies = 0)
    {
        auto f = std::make_shared<Forum>();
        f->setTitle_clean(title);
        f->setDescription_clean(description);
        f->setThreadcount(threads);
        f->setReplycount(replies);
        return f;
    }
    static ThreadPtr thread(qint32 flags, const QString& title = QStringLiteral("A thread"), int replies = 0)
    {
        auto t = Model::createWithDictionary<Thread>(Value(ValueDict{
            {QStringLiteral("threadtitle"), Value(title)},
            {QStringLiteral("replycount"), Value(replies)},
            {QStringLiteral("postusername"), Value(QStringLiteral("alice"))}}));
        t->setStatus_flags(flags);
        return t;
    }
    static QImage named(const char* name) { return ResourceImages::named(QString::fromLatin1(name)); }
};

class HeaderListener : public SubforumsHeaderDelegate {
public:
    void subforumsHeaderHasChanged(SubforumsHeader* header) override { told.append(header->showChilds()); }
    QList<bool> told;
};

}  // namespace

TEST_F(ForumCellsTest, AForumRowIsAsHighAsItsTextsAndAtLeastFortyPointsBeforeItsCounts)
{
    ForumCell cell;
    // Title only: the counts line starts at the minimum.
    const ForumPtr plain = forum(QStringLiteral("Introductions"), QString(), 12, 34);
    cell.setForum(plain);
    EXPECT_EQ(cell.title()->frame().y(), ForumCell::kTitleY);
    EXPECT_LT(cell.title()->frame().bottom(), ForumCell::kMinimumHeight);
    EXPECT_EQ(cell.short_description()->frame().height(), 0);
    EXPECT_TRUE(cell.subforums_title()->isHidden());
    EXPECT_TRUE(cell.subforums()->text().isEmpty());
    EXPECT_FALSE(cell.threads_posts()->isHidden());
    EXPECT_EQ(cell.threads_posts()->text(), QStringLiteral("Threads: 12 · Replies: 34"));
    EXPECT_EQ(cell.threads_posts()->frame().y(), ForumCell::kMinimumHeight);
    EXPECT_EQ(cell.threads_posts()->frame().width(), ForumCell::kTextWidth) << "sized, but as wide as before";
    EXPECT_EQ(cell.height(), ForumCell::kMinimumHeight + cell.threads_posts()->frame().height());
    EXPECT_EQ(ForumCell::heightForForum(plain), cell.height());
    EXPECT_TRUE(cell.unread()->isHidden());

    // A link: no counts at all.
    plain->setIs_link(true);
    cell.setForum(plain);
    EXPECT_TRUE(cell.threads_posts()->isHidden());
    EXPECT_EQ(cell.height(), ForumCell::kMinimumHeight);

    // Description and two subforums: each text below the one before, the
    // caption a point lower than the first line of names, which leaves it room.
    const ForumPtr parent = forum(QStringLiteral("General Discussion"),
                                  QStringLiteral("Talk about anything: photos, rides, maps and the weekend"), 80, 900);
    parent->setStatusicon(QStringLiteral("new"));
    parent->setChildren({forum(QStringLiteral("Off-topic")), forum(QStringLiteral("Jokes & Games"))});
    cell.setForum(parent);
    EXPECT_FALSE(cell.unread()->isHidden());
    const qreal afterTitle = cell.title()->frame().bottom();
    EXPECT_EQ(cell.short_description()->frame().y(), afterTitle);
    EXPECT_GT(cell.short_description()->frame().height(), 0);
    const qreal afterDescription = cell.short_description()->frame().bottom();
    EXPECT_FALSE(cell.subforums_title()->isHidden());
    EXPECT_EQ(cell.subforums_title()->text(), QStringLiteral("Subforums (2)"));
    EXPECT_EQ(cell.subforums_title()->frame().y(), afterDescription + ForumCell::kSubforumsCaptionOffset);
    EXPECT_EQ(cell.subforums()->frame().y(), afterDescription);
    EXPECT_EQ(cell.subforums()->text(), ForumCell::kSubforumsIndent + QStringLiteral("Off-topic, Jokes & Games"));
    EXPECT_EQ(ForumCell::kSubforumsIndent.size(), 23);
    // The caption fits in the blanks before the names.
    EXPECT_GT(ForumCell::indentWidth(cell.subforums()->font()), 50);
    EXPECT_LE(cell.subforums_title()->frame().right(),
              ForumCell::kTextX + ForumCell::indentWidth(cell.subforums()->font()));
    const TextLayout caption = cell.subforums_title()->currentLayout();
    EXPECT_FALSE(caption.isTruncated());
    ASSERT_EQ(caption.lineCount(), 1);
    EXPECT_LE(caption.lines().first().width, cell.subforums_title()->frame().width());
    EXPECT_EQ(cell.threads_posts()->frame().y(), std::max(cell.subforums()->frame().bottom(), ForumCell::kMinimumHeight));
    EXPECT_EQ(cell.height(), cell.threads_posts()->frame().bottom());
    EXPECT_EQ(ForumCell::heightForForum(parent), cell.height());

    // Reused for a forum without subforums, the caption goes again.
    cell.setForum(plain);
    EXPECT_TRUE(cell.subforums_title()->isHidden());
    EXPECT_TRUE(cell.subforums()->isHidden());
}

TEST_F(ForumCellsTest, ThreadRowsFillTheirIconsFromTheLeftAndHideTheBalloonOfAnAnnouncement)
{
    ThreadCell cell;
    EXPECT_EQ(ThreadCell::height(), 48.0);

    // A sticky waiting for approval: the pin, then the hourglass.
    ThreadPtr t = thread(Thread::Sticky, QStringLiteral("Read me first"), 3);
    cell.setThread(t);
    EXPECT_EQ(cell.icon1()->image(), named("sticky.png"));
    EXPECT_EQ(cell.icon2()->image(), named("moderated.png"));
    EXPECT_EQ(cell.info()->text(), QStringLiteral("By alice"));
    EXPECT_EQ(cell.extraInfo()->text(), QStringLiteral("3"));
    EXPECT_EQ(cell.balloon()->image(), named("balloon.png"));

    // Closed with new posts: the lock alone, in the first place.
    t = thread(Thread::Approved | Thread::Closed | Thread::New);
    cell.setThread(t);
    EXPECT_EQ(cell.icon1()->image(), named("lock.png"));
    EXPECT_TRUE(cell.icon2()->image().isNull());
    // New posts alone: the unread mark in the first place.
    t = thread(Thread::Approved | Thread::New);
    cell.setThread(t);
    EXPECT_EQ(cell.icon1()->image(), named("unread.png"));
    EXPECT_TRUE(cell.icon2()->image().isNull());
    // Not approved, not sticky: the hourglass in the first place.
    t = thread(0);
    cell.setThread(t);
    EXPECT_EQ(cell.iconGroup1Name(), QStringLiteral("moderated.png"));
    EXPECT_TRUE(cell.iconGroup2Name().isNull());

    // An announcement has no balloon nor count; the next thread has both again.
    t = thread(Thread::Approved);
    t->setIsAnnouncement(true);
    cell.setThread(t);
    EXPECT_TRUE(cell.balloon()->isHidden());
    EXPECT_TRUE(cell.extraInfo()->isHidden());
    EXPECT_TRUE(cell.icon1()->image().isNull());
    t = thread(Thread::Approved | Thread::Hot | Thread::Dot, QStringLiteral("Busy"), 20);
    cell.setThread(t);
    EXPECT_FALSE(cell.balloon()->isHidden());
    EXPECT_FALSE(cell.extraInfo()->isHidden());
    EXPECT_EQ(cell.extraInfo()->text(), QStringLiteral("20"));
    EXPECT_EQ(cell.balloon()->image(), named("balloon_hot.png"));
    EXPECT_FALSE(cell.replied()->isHidden());
    EXPECT_EQ(cell.backgroundView()->alpha(), 1.0);

    // A deleted thread's row is drawn faded; the row does not keep the thread.
    t = thread(Thread::Approved | Thread::Deleted);
    cell.setThread(t);
    EXPECT_EQ(cell.backgroundView()->alpha(), 0.6);
    EXPECT_TRUE(cell.replied()->isHidden());
    t.reset();
    EXPECT_EQ(cell.thread(), nullptr);
}

TEST_F(ForumCellsTest, ThreadTitlesCarryTheirPrefixAndShowAmpersands)
{
    ThreadCell cell;
    ThreadPtr t = thread(Thread::Approved, QStringLiteral("Rides &amp; maps"));
    cell.setThread(t);
    EXPECT_EQ(cell.title()->text(), QStringLiteral("Rides & maps"));
    t->setThreadtitle(QStringLiteral("Which lens?"));
    t->setPrefix_rich(QStringLiteral("<span class=\"prefix\">Question</span>"));
    cell.setThread(t);
    EXPECT_EQ(cell.title()->text(), QStringLiteral("Question - Which lens?"));
    t->setThreadtitle(QStringLiteral("Tips &amp; tricks"));
    cell.setThread(t);
    EXPECT_EQ(cell.title()->text(), QStringLiteral("Question - Tips & tricks"));
    // A title is text: what looks like markup shows as written, in thread
    // rows and in the rows of the home screen alike; the prefix alone is
    // markup.
    t->setPrefix_rich(QString());
    t->setThreadtitle(QStringLiteral("Forum <b>rules</b>  updated<br>for&amp;by all"));
    cell.setThread(t);
    EXPECT_EQ(cell.title()->text(), QStringLiteral("Forum <b>rules</b>  updated<br>for&by all"));
    const std::optional<HomeItemFace> face = HomeContent::faceOf(t);
    ASSERT_TRUE(face);
    EXPECT_EQ(face->title, QStringLiteral("Forum <b>rules</b>  updated<br>for&by all"));
    t->setPrefix_rich(QStringLiteral("<b>Solved</b>"));
    cell.setThread(t);
    EXPECT_EQ(cell.title()->text(), QStringLiteral("Solved - Forum <b>rules</b>  updated<br>for&by all"));
    // A thread without a starter is "By" nobody, never "(null)".
    cell.setThread(std::make_shared<Thread>());
    EXPECT_EQ(cell.info()->text(), QStringLiteral("By "));
    EXPECT_EQ(cell.title()->text(), QString());
}

TEST_F(ForumCellsTest, TheModerationRowMarksTheChosenAndTheDeletedThreads)
{
    SelectThreadCell cell;
    EXPECT_EQ(cell.reuseIdentifier(), QStringLiteral("SelectThreadCell"));
    EXPECT_EQ(cell.selectedImage()->image(), named("delete_off.png"));
    cell.setSelectedThread(true);
    EXPECT_EQ(cell.selectedImage()->image(), named("delete_on.png"));
    ThreadPtr t = thread(Thread::Approved);
    t->setDeleted(true);
    cell.setThread(t);
    EXPECT_FALSE(cell.deletedBg()->isHidden());
    EXPECT_EQ(cell.info()->text(), QStringLiteral("By alice"));
    t->setDeleted(false);
    cell.setThread(t);
    EXPECT_TRUE(cell.deletedBg()->isHidden());
    // The mark and the texts do not overlap.
    EXPECT_LE(cell.selectedImage()->frame().right(), cell.title()->frame().left());
}

TEST_F(ForumCellsTest, TheSubforumsHeaderStartsClosedAndTellsItsDelegateOfEachChange)
{
    SubforumsHeader header;
    HeaderListener listener;
    header.setDelegate(&listener);
    EXPECT_FALSE(header.showChilds());
    EXPECT_EQ(header.collapseExpandBtn()->imageForState(ControlState::Normal), named("subforum-expand.png"));
    EXPECT_EQ(header.bg()->frame(), header.frame());
    header.collapseExpand();
    EXPECT_TRUE(header.showChilds());
    EXPECT_EQ(header.collapseExpandBtn()->imageForState(ControlState::Normal), named("subforum-collapse.png"));
    header.collapseExpand();
    EXPECT_EQ(listener.told, QList<bool>({true, false}));
    header.setTitleText(QStringLiteral("Subforums (3)"));
    EXPECT_EQ(header.title()->text(), QStringLiteral("Subforums (3)"));
}
