#include "ComposeScreenTest.h"

#include "forum/model/ThreadBuilder.h"
#include "forum/screens/CreateContent.h"
#include "forum/screens/Reply.h"

// A member writes where new content waits for a moderator (the forum of
// announcements): a reply from its editor, a quick reply and a new thread
// each say that it waits, in the forum's own words where its answer gives
// them, and nothing offers to open what nobody can read yet.
namespace {

class ComposeModerationTest : public ComposeScreenTest {
protected:
    void SetUp() override
    {
        ComposeScreenTest::SetUp();
        // The alerts drawn in the window, answered with the mouse.
        AlertPresenter::install();
    }
    // The one alert on screen says the content waits, with `message` (under
    // our title; the forum's own words stand alone), and offers nothing but "ok".
    void expectToldItWaits(const QString& message, bool forumsWords = false)
    {
        const QList<std::shared_ptr<AlertView>> alerts = AlertView::visibleAlerts();
        QStringList shown;
        for (const auto& alert : alerts)
            shown << alert->title() + u':' + alert->message();
        ASSERT_EQ(alerts.size(), 1) << shown.join(u'|').toStdString();
        EXPECT_EQ(alerts.first()->title(), forumsWords ? QString() : text("awaiting_approval_title"));
        EXPECT_EQ(alerts.first()->message(), message);
        EXPECT_EQ(alerts.first()->buttonTitles(), QStringList{text("ok")});
    }
    // Title and text typed into the new-thread editor, sent.
    void sendThread(CreateContent* editor, const QString& title, const QString& message)
    {
        typeInField(editor->messageTitle(), title);
        writeText(editor, message);
        finishAndSubmit(editor);
    }
};

}  // namespace

TEST_F(ComposeModerationTest, AReplyAQuickReplyAndANewThreadInAModeratedForumSayTheyWaitForAModerator)
{
    signIn(QStringLiteral("bob"), QStringLiteral("secret2"));
    // The thread's page is let go with its view when the forum's list takes its place.
    auto page = openThread(201);
    const QList<int> before = postsOf(201);

    // The reply editor: sent, it closes and says the reply waits.
    auto* reply = writeReply(page.get(), QStringLiteral("Looking forward to it."));
    ASSERT_NE(reply, nullptr);
    submit(reply);
    EXPECT_EQ(top(), page.get());
    const QList<int> after = postsOf(201);
    ASSERT_EQ(after.size(), before.size() + 1);
    EXPECT_EQ(bbcodeOf(after.last()), QStringLiteral("Looking forward to it."));
    EXPECT_FALSE(forum().postState(after.last()).value(QStringLiteral("approved")).toBool());
    expectToldItWaits(text("reply_awaits_approval"));
    picture("reply-awaits-approval.png");
    clickAlertButton(0);
    EXPECT_TRUE(AlertView::visibleAlerts().isEmpty());

    // The quick reply, answered with the forum's own words for it.
    const QString forumWords = QStringLiteral("Thank you for posting! A moderator will read your post first.");
    forum().setAnswer(QStringLiteral("newreply_postreply"),
                      QJsonObject{{QStringLiteral("response"),
                                   QJsonObject{{QStringLiteral("errormessage"),
                                                QJsonArray{QStringLiteral("redirect_postthanks_moderate"), forumWords}}}}},
                      1);
    QuickReplyCell* cell = quickReplyCell(page.get());
    ASSERT_NE(cell, nullptr);
    clickInto(cell->textView());
    typeInto(editOf(cell->textView()), QStringLiteral("Me too."));
    tapView(cell->submitButton());
    settleAll();
    EXPECT_TRUE(page->quickReply()->text().isEmpty()) << "sent: the row is empty again";
    expectToldItWaits(forumWords, true);
    picture("quick-reply-awaits-approval.png");
    clickAlertButton(0);
    page.reset();

    // A new thread from the forum's list: it waits, and the editor closes
    // without offering to open it.
    const auto threads = openForum(2, QStringLiteral("Announcements & News"));
    const QList<int> threadsBefore = forum().threadIdsIn(2);
    auto* editor = openFromBar<CreateContent>(threads.get());
    ASSERT_NE(editor, nullptr);
    sendThread(editor, QStringLiteral("Meet-up in March?"), QStringLiteral("Who would come?"));
    EXPECT_EQ(top(), threads.get());
    const QList<int> threadsAfter = forum().threadIdsIn(2);
    ASSERT_EQ(threadsAfter.size(), threadsBefore.size() + 1);
    for (const int id : threadsAfter) {
        if (!threadsBefore.contains(id)) {
            EXPECT_FALSE(forum().threadState(id).value(QStringLiteral("approved")).toBool());
        }
    }
    expectToldItWaits(text("thread_awaits_approval"));
    picture("new-thread-awaits-approval.png");
    clickAlertButton(0);
    EXPECT_EQ(top(), threads.get());

    // A forum that names the waiting thread all the same: still nothing to open.
    forum().setAnswer(
        QStringLiteral("newthread_postthread"),
        QJsonObject{{QStringLiteral("response"), QJsonObject{{QStringLiteral("errormessage"), QStringLiteral("redirect_postthanks_moderate")},
                                                             {QStringLiteral("threadid"), 9001}}},
                    {QStringLiteral("show"), QJsonObject{{QStringLiteral("threadid"), 9001}}}},
        1);
    editor = openFromBar<CreateContent>(threads.get());
    ASSERT_NE(editor, nullptr);
    sendThread(editor, QStringLiteral("Second try"), QStringLiteral("Named, but waiting."));
    EXPECT_EQ(top(), threads.get());
    expectToldItWaits(text("thread_awaits_approval"));
    clickAlertButton(0);
    EXPECT_EQ(top(), threads.get()) << "nothing was opened";
}
