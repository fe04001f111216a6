#include "ComposeScreenTest.h"
#include "NamedView.h"

#include "app/net/HTTPRequest.h"
#include "forum/model/Builder.h"
#include "forum/screens/CreateContent.h"
#include "forum/screens/PostController.h"
#include "forum/screens/Reply.h"
#include "forum/screens/ThreadController.h"
#include "platform/ui/Label.h"

#include <QJsonArray>
#include <QJsonObject>

// What goes wrong while sending leaves every typed character, every tag and
// picture where it was, says what went wrong once, and lets "submit" be
// pressed again: a picture the forum refuses, a post refused as too quick, a
// connection that drops while the post is on its way, a forum that closes.
namespace {

class ComposeFailureTest : public ComposeScreenTest {
protected:
    // The new-thread editor on General Discussion, title and text typed and
    // the text's editing done; null when the screen cannot be made.
    std::shared_ptr<CreateContent> newThreadInGeneral(const QString& title, const QString& message)
    {
        showRoot(std::make_shared<UIViewControllerCommon>());
        const auto editor = pushNewContent(3, QStringLiteral("General Discussion"));
        if (editor)
            writeAndFinish(editor.get(), title, message);
        return editor;
    }
    // The thread went once, its first post with the one picture.
    void expectPostedWithItsPicture(CreateContent* editor)
    {
        ASSERT_EQ(requestsOf("newthread_postthread").size(), 1);
        const qint32 threadid = editor->threadBuilder()->threadid();
        ASSERT_GT(threadid, 0);
        const int first = forum().threadState(threadid).value(QStringLiteral("posts")).toArray().first().toInt();
        EXPECT_EQ(forum().postState(first).value(QStringLiteral("attachments")).toArray().size(), 1);
    }
};

}  // namespace

TEST_F(ComposeFailureTest, ARefusedPictureKeepsTheWholeThreadAndItGoesOnTheNextTry)
{
    ImagePickerStub machine(true, false);
    signIn(QStringLiteral("alice"), QStringLiteral("secret1"));
    const auto editor = newThreadInGeneral(QStringLiteral("Big picture"), QStringLiteral("Too big for the forum?"));
    ASSERT_NE(editor, nullptr);
    editor->setTags(QStringLiteral("large"));
    attachPicture(editor.get(), machine, pictureFile("big.png", Qt::darkGreen));
    const QList<int> before = forum().threadIdsIn(3);

    forum().refuseUploads();
    submit(editor.get());
    EXPECT_EQ(alertMessages(), QStringList{text("attachment_not_uploaded")});
    expectStillWritten(editor.get(), QStringLiteral("Big picture"), QStringLiteral("Too big for the forum?"));
    EXPECT_EQ(named<Label>(editor, "tagsList")->text(), QStringLiteral("large"));
    EXPECT_EQ(editor->draft().attachments().size(), 1);
    EXPECT_TRUE(requestsOf("newthread_postthread").isEmpty()) << "nothing posted without its picture";
    EXPECT_EQ(forum().threadIdsIn(3), before);
    dismissAlerts();

    submit(editor.get());
    expectPostedWithItsPicture(editor.get());
    EXPECT_EQ(alertMessages(), (QStringList{text("attachment_not_uploaded"), text("create_ok_thread")}));
}

TEST_F(ComposeFailureTest, AForumClosedWhileAPictureGoesUpSaysSoOnlyInItsOwnWordsAndKeepsTheThread)
{
    ImagePickerStub machine(true, false);
    signIn(QStringLiteral("alice"), QStringLiteral("secret1"));
    const auto editor = newThreadInGeneral(QStringLiteral("Harbour at dawn"), QStringLiteral("Taken from the pier."));
    ASSERT_NE(editor, nullptr);
    attachPicture(editor.get(), machine, pictureFile("harbour.png", Qt::darkBlue));
    const QList<int> before = forum().threadIdsIn(3);

    forum().closeForum(QStringLiteral("Closed for the night."));
    submit(editor.get());
    EXPECT_FALSE(requestsOf("newattachment_manageattach").isEmpty());
    EXPECT_EQ(alertMessages(), QStringList{QStringLiteral("Closed for the night.")});
    expectStillWritten(editor.get(), QStringLiteral("Harbour at dawn"), QStringLiteral("Taken from the pier."));
    EXPECT_EQ(editor->draft().attachments().size(), 1);
    EXPECT_TRUE(requestsOf("newthread_postthread").isEmpty());
    EXPECT_EQ(forum().threadIdsIn(3), before);
    dismissAlerts();

    forum().openForum();
    submit(editor.get());
    expectPostedWithItsPicture(editor.get());
    EXPECT_EQ(alertMessages(), (QStringList{QStringLiteral("Closed for the night."), text("create_ok_thread")}));
}

TEST_F(ComposeFailureTest, AReplyTooQuickOrCutOffOnTheWayKeepsItsTextAndIsSaidOnceEachTime)
{
    signIn(QStringLiteral("bob"), QStringLiteral("secret2"));
    const auto page = openThread(307);
    const qsizetype posts = forum().threadState(307).value(QStringLiteral("posts")).toArray().size();
    auto* reply = openFromBar<Reply>(page.get());
    ASSERT_NE(reply, nullptr);
    writeAndFinish(reply, QStringLiteral("Re: avatars"), QStringLiteral("Also: long-press the picture."));

    // Too quick: the forum's flood check, said once.
    forum().refusePostsAsFlood();
    submit(reply);
    EXPECT_EQ(alertMessages(), QStringList{tableText(QStringLiteral("postfloodcheck"))});
    expectStillWritten(reply, QStringLiteral("Re: avatars"), QStringLiteral("Also: long-press the picture."));
    dismissAlerts();

    // Cut off at the forum, which never takes it: the thread is looked at,
    // the member told it may still arrive; after the grace, that it did not.
    forum().dropConnection(QStringLiteral("newreply_postreply"), 2, TestForum::Drop::BeforeAnswer);
    submit(reply);
    forum().clearControls();
    EXPECT_EQ(alertMessages().size(), 2);
    EXPECT_EQ(alertMessages().last(), fateText("post_answer_lost"));
    EXPECT_FALSE(named<ActivityIndicatorView>(reply, "loading")->isHidden());
    clock()->advance(Builder::GraceMs);
    settleAll();
    EXPECT_EQ(alertMessages().size(), 3);
    EXPECT_EQ(alertMessages().last(), fateText("post_not_arrived"));
    EXPECT_EQ(AlertView::visibleAlerts().size(), 1) << "the notice made way for what became of it";
    EXPECT_EQ(top(), reply);
    EXPECT_EQ(reply->messageText(), QStringLiteral("Also: long-press the picture."));
    EXPECT_EQ(forum().threadState(307).value(QStringLiteral("posts")).toArray().size(), posts);
    dismissAlerts();

    // Once more, and it goes.
    submit(reply);
    EXPECT_EQ(top(), page.get());
    const QJsonArray after = forum().threadState(307).value(QStringLiteral("posts")).toArray();
    ASSERT_EQ(after.size(), posts + 1);
    EXPECT_EQ(forum().postState(after.last().toInt()).value(QStringLiteral("bbcode")).toString(),
              QStringLiteral("Also: long-press the picture."));
    EXPECT_EQ(alertMessages().size(), 3);
}

TEST_F(ComposeFailureTest, ANewThreadTheForumTakesAfterOurWaitIsWaitedForAndOpensFromTheAlert)
{
    signIn(QStringLiteral("alice"), QStringLiteral("secret1"));
    const auto editor = newThreadInGeneral(QStringLiteral("Night ride"), QStringLiteral("Lights on, who comes?"));
    ASSERT_NE(editor, nullptr);
    const QList<int> before = forum().threadIdsIn(3);

    // The forum is slow: the member's wait runs out; they are told the
    // thread may still arrive, and the editor keeps waiting.
    forum().holdAtGate(QStringLiteral("newthread_postthread"), QStringLiteral("slow"));
    press(editor->navigationItem()->rightBarButtonItem());
    ASSERT_TRUE(waitFor([&] { return forum().arrivedAtGate(QStringLiteral("slow")) == 1 && callsHaveLeft(); }));
    finishMoving();
    clock()->advance(qint64(HTTPRequest::getDefaultTimeout()) * 1000);
    finishMoving();
    EXPECT_EQ(alertMessages(), QStringList{fateText("post_waiting")});
    EXPECT_EQ(top(), editor.get());
    EXPECT_FALSE(named<ActivityIndicatorView>(editor.get(), "loading")->isHidden());
    EXPECT_FALSE(editor->navigationItem()->rightBarButtonItem()->isEnabled());

    // The forum makes the thread and answers: the notice goes, the member
    // is told, and may open it.
    forum().openGate(QStringLiteral("slow"));
    ASSERT_TRUE(waitFor([&] { return forum().threadIdsIn(3).size() == before.size() + 1; }));
    qint32 made = 0;
    for (const int id : forum().threadIdsIn(3))
        made = before.contains(id) ? made : id;
    settleAll();
    EXPECT_EQ(requestsOf("newthread_postthread").size(), 1);
    EXPECT_EQ(forum().threadIdsIn(3).size(), before.size() + 1);
    EXPECT_EQ(alertMessages().last(), text("create_ok_thread"));
    ASSERT_EQ(AlertView::visibleAlerts().size(), 1);
    EXPECT_EQ(AlertView::visibleAlerts().first()->buttonTitles(),
              (QStringList{text("view_post"), text("create_go_home")}));
    answerAlert(0);
    settleAll();
    auto* opened = topAs<PostController>();
    ASSERT_NE(opened, nullptr);
    EXPECT_EQ(opened->thread()->threadid(), made);
}
