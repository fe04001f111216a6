// The thread, reply and edit builders: their answers from captured-style
// fixtures, and their whole way through the loopback forum.
#include "AppTest.h"
#include "BuilderTestSupport.h"
#include "Fixtures.h"

#include "app/model/Config.h"
#include "app/media/ImageToUpload.h"
#include "forum/model/EditBuilder.h"
#include "forum/model/Forum.h"
#include "forum/model/Post.h"
#include "forum/model/ReplyBuilder.h"
#include "forum/model/Thread.h"
#include "forum/model/ThreadBuilder.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/ManualClock.h"

#include <QImage>
#include <QJsonArray>
#include <QJsonObject>

using namespace Qt::Literals::StringLiterals;

using PostingAnswers = AppTest;
using PostingEndToEnd = PostingTest;

namespace {

HTTPRequestPtr fixtureAnswer(const char* name)
{
    return fixtureRequest(u"forum/model/fixtures/"_s + QString::fromLatin1(name));
}

std::shared_ptr<ImageToUpload> picture(Qt::GlobalColor colour)
{
    QImage image(24, 16, QImage::Format_RGB32);
    image.fill(colour);
    return std::make_shared<ImageToUpload>(Image(image));
}

ForumPtr forumOf(int forumid)
{
    return Model::createWithDictionary<Forum>(Value(ValueDict{{u"forumid"_s, Value(forumid)}}));
}

QStringList uploadNames(const TestForumRequest& request)
{
    QStringList names;
    for (const TestForumUpload& upload : request.uploads)
        names.append(upload.fileName);
    return names;
}

}  // namespace

TEST_F(PostingAnswers, ThreadPrefixesComeAsGroups)
{
    // A bare list of prefixes is one group without a title.
    EXPECT_EQ(ThreadBuilder::arrayOfThreadPrefix(json(R"([{"optionvalue": "a", "optiontitle": "A"}, 5])")),
              json(R"([{"optgroup_label": "", "optgroup_options": [{"optionvalue": "a", "optiontitle": "A"}]}])"));
    // Groups stay as they are; a single group is a list of one.
    const Value groups = json(R"([{"optgroup_label": "G", "optgroup_options": []}])");
    EXPECT_EQ(ThreadBuilder::arrayOfThreadPrefix(groups), groups);
    EXPECT_EQ(ThreadBuilder::arrayOfThreadPrefix(json(R"({"optgroup_label": "G", "optgroup_options": []})")), groups);
    EXPECT_EQ(ThreadBuilder::arrayOfThreadPrefix(json("[]")), json("[]"));
    EXPECT_EQ(ThreadBuilder::arrayOfThreadPrefix(json(R"(["x", 3])")), json("[]"));

    // A text (the forum has none) leaves none.
    const auto builder = Model::create<ThreadBuilder>();
    builder->setDictionary(json(R"({"prefix_options": [{"optionvalue": "a"}]})"));
    EXPECT_EQ(builder->prefix_options().size(), 1);
    builder->setDictionary(json(R"({"prefix_options": ""})"));
    EXPECT_TRUE(builder->prefix_options().isAbsent());
}

TEST_F(PostingAnswers, ThreadFormAndPostAnswers)
{
    Config::getInstance().setFeaturesInt(1024);
    const auto builder = Model::create<ThreadBuilder>();
    builder->setForum(forumOf(3));
    BuilderObserver observer;
    builder->addObserver(&observer);

    builder->setFromRequest(fixtureAnswer("newthread_newthread.json"));
    EXPECT_EQ(builder->posthash(), u"9d4f1c2be0a7");
    EXPECT_EQ(builder->poststarttime(), 1700000500);
    EXPECT_TRUE(builder->canCreateTags());
    EXPECT_TRUE(builder->canpostattachment());
    EXPECT_TRUE(builder->canpostnew());
    EXPECT_EQ(builder->titlemaxchars(), 85);
    EXPECT_EQ(builder->prefix_options().size(), 2);
    EXPECT_EQ(builder->threadid(), 0);
    EXPECT_EQ(builder->requestStatus(), BuilderStatus::Idle);

    // The forum's own code, with the new thread's id beside it: sent.
    builder->setRequestStatus(BuilderStatus::Sending);
    builder->setFromRequest(fixtureAnswer("newthread_postthread.json"));
    EXPECT_EQ(builder->threadid(), 123);
    EXPECT_EQ(builder->requestStatus(), BuilderStatus::Sent);

    // A thread id without any code is sent as well.
    builder->setRequestStatus(BuilderStatus::Sending);
    builder->setFromRequest(answeredRequest(R"({"response": {}, "show": {"threadid": 124}})"));
    EXPECT_EQ(builder->requestStatus(), BuilderStatus::Sent);

    // Without tagging on the forum, no tags whatever the form says.
    Config::getInstance().setFeaturesInt(0);
    builder->setFromRequest(fixtureAnswer("newthread_newthread.json"));
    EXPECT_FALSE(builder->canCreateTags());

    // The preview's errors: an alert with the table's text, and the send failed.
    builder->setRequestStatus(BuilderStatus::Sending);
    builder->setFromRequest(answeredRequest(R"({"response": {"postpreview": {"errorlist": {"errors": ["tooshort"]}}}})"));
    EXPECT_EQ(visibleAlerts(tableText(u"tooshort"_s)).size(), 1);
    EXPECT_EQ(builder->requestStatus(), BuilderStatus::Failed);
}

TEST_F(PostingAnswers, ReplyFormSubscriptionAndThreadId)
{
    const auto thread = Thread::initWithThreadid(300);
    auto builder = Model::create<ReplyBuilder>();
    builder->setThread(thread);
    builder->setFromRequest(fixtureAnswer("newreply_newreply.json"));
    // A text of the subscription box: ticked when it says "checked".
    EXPECT_TRUE(builder->isSubscribed());
    EXPECT_FALSE(thread->isSubscribed());
    EXPECT_FALSE(builder->canpostattachment());
    EXPECT_EQ(builder->posthash(), u"77aa01");
    // The larger of the form's thread id and the thread's own.
    EXPECT_EQ(builder->threadid(), 302);
    EXPECT_EQ(builder->forumid(), 3);
    EXPECT_EQ(builder->status(), BuilderStatus::Idle);

    // A number: the member is subscribed to the thread.
    builder->setFromRequest(answeredRequest(R"({"response": {"checked": {"subscribe": 1}}})"));
    EXPECT_TRUE(thread->isSubscribed());

    // Any answer after a send ends it failed unless its code says sent.
    builder->setStatus(BuilderStatus::Sent);
    builder->setFromRequest(answeredRequest(R"({"response": {}})"));
    EXPECT_EQ(builder->status(), BuilderStatus::Failed);
    builder->setStatus(BuilderStatus::Sending);
    builder->setFromRequest(answeredRequest(R"({"response": {"errormessage": "redirect_blog_entrythanks"}})"));
    EXPECT_EQ(builder->status(), BuilderStatus::Sent);

    const auto edit = Model::create<EditBuilder>();
    edit->setFromRequest(fixtureAnswer("editpost_editpost.json"));
    EXPECT_EQ(edit->message(), u"[b]Bold[/b] tip");
    EXPECT_EQ(edit->message_bbcode(), u"[b]Bold[/b] tip");
    EXPECT_EQ(edit->title(), u"Re: Tips");
    EXPECT_EQ(edit->posthash(), u"e0e0e0");
}

TEST_F(PostingEndToEnd, ThreadWithTwoPicturesThenAQuotingReplyThenItsEdit)
{
    const CurrentUserPtr alice = signIn(u"alice"_s, u"secret1"_s);
    const ForumPtr introductions = forumOf(6);

    // A thread with two pictures.
    const auto thread = ThreadBuilder::initWithForum(introductions);
    ASSERT_TRUE(settle());
    ASSERT_FALSE(thread->posthash().isNull());
    EXPECT_TRUE(thread->canpostattachment());
    const auto red = picture(Qt::red);
    const auto blue = picture(Qt::blue);
    ASSERT_NE(red->path(), blue->path());
    thread->setTitle(u"Hello from the hills & the sea"_s);
    thread->setMessage(u"Two pictures of my first ride. :)"_s);
    thread->setTags(u"hello, rides"_s);
    thread->setAttachments({UploadAttachment(red), UploadAttachment(blue)});
    BuilderObserver threadObserver;
    thread->addObserver(&threadObserver);
    EXPECT_FALSE(thread->create().isSet());
    ASSERT_TRUE(waitFor([&] { return thread->requestStatus() != BuilderStatus::Sending; }));
    ASSERT_TRUE(settle());
    ASSERT_EQ(thread->requestStatus(), BuilderStatus::Sent);
    ASSERT_GT(thread->threadid(), 0);
    EXPECT_TRUE(threadObserver.failures.isEmpty());

    const TestForumRequest sentThread = lastRequest(u"newthread_postthread"_s);
    EXPECT_EQ(sentThread.field(u"subject"_s), u"Hello from the hills & the sea");
    EXPECT_EQ(sentThread.field(u"taglist"_s), u"hello, rides");
    EXPECT_EQ(sentThread.field(u"loggedinuser"_s), u"0");
    EXPECT_EQ(sentThread.field(u"wysiwyg"_s), u"0");
    EXPECT_EQ(sentThread.field(u"signature"_s), u"1");
    EXPECT_FALSE(sentThread.fields.contains(u"prefixid"_s));
    const QList<TestForumRequest> uploads = forum().requests(Builder::UploadMethod);
    ASSERT_EQ(uploads.size(), 2);
    EXPECT_EQ(uploads.first().field(u"values[forumid]"_s), u"6");

    const QJsonObject threadState = forum().threadState(thread->threadid());
    EXPECT_EQ(threadState.value(u"title"_s).toString(), u"Hello from the hills & the sea");
    const int firstPostId = threadState.value(u"posts"_s).toArray().first().toInt();
    EXPECT_EQ(forum().postState(firstPostId).value(u"attachments"_s).toArray().size(), 2);

    // Read the thread back, and reply quoting its first post.
    const ThreadPtr shown = Thread::initWithThreadid(thread->threadid());
    shown->fetchPage(1);
    ASSERT_TRUE(settle());
    const QList<PostPtr> posts = shown->postsOnPage(1);
    ASSERT_EQ(posts.size(), 1);
    EXPECT_EQ(posts.first()->ownThumbnailattachments().size() + posts.first()->imageattachments().size(), 2);
    const auto reply = ReplyBuilder::initWithThread(shown);
    ASSERT_TRUE(settle());
    ASSERT_FALSE(reply->posthash().isNull());
    const QString quote = posts.first()->quote();
    EXPECT_TRUE(quote.startsWith(u"[QUOTE=alice;"_s));
    reply->setMessage(quote + u"Welcome aboard!"_s);
    EXPECT_FALSE(reply->create().isSet());
    ASSERT_TRUE(waitFor([&] { return reply->status() != BuilderStatus::Sending; }));
    ASSERT_TRUE(settle());
    ASSERT_EQ(reply->status(), BuilderStatus::Sent);
    const TestForumRequest sentReply = lastRequest(u"newreply_postreply"_s);
    EXPECT_EQ(sentReply.field(u"threadid"_s), QString::number(thread->threadid()));
    // Alice is subscribed to what she starts: the form says so with a number,
    // which ticks nothing on the reply, and her subscription stays.
    EXPECT_EQ(sentReply.field(u"subscribe"_s), u"0");
    EXPECT_TRUE(shown->isSubscribed());
    EXPECT_TRUE(forum().subscribedThreads(alice->userid()).contains(thread->threadid()));
    // The thread reloaded by itself and shows the reply.
    ASSERT_TRUE(waitFor([&] { return shown->postsOnPage(1).size() == 2; }));
    const PostPtr replyPost = shown->postsOnPage(1).last();
    EXPECT_TRUE(replyPost->sourceBbcode().contains(u"Welcome aboard!"_s));
    EXPECT_TRUE(replyPost->sourceBbcode().contains(u"[QUOTE=alice;"_s));

    // Edit that reply and read the change back.
    const auto edit = EditBuilder::initWithPost(replyPost);
    ASSERT_TRUE(settle());
    EXPECT_EQ(edit->message(), replyPost->sourceBbcode());
    edit->setMessage(u"Welcome aboard! (edited)"_s);
    EXPECT_FALSE(edit->create().isSet());
    ASSERT_TRUE(waitFor([&] { return edit->requestStatus() != BuilderStatus::Sending; }));
    ASSERT_TRUE(settle());
    EXPECT_EQ(edit->requestStatus(), BuilderStatus::Sent);
    EXPECT_EQ(forum().postState(replyPost->postid()).value(u"bbcode"_s).toString(), u"Welcome aboard! (edited)");
    EXPECT_EQ(forum().postState(replyPost->postid()).value(u"editedby"_s).toInt(), alice->userid());
    ASSERT_EQ(AlertView::visibleAlerts().size(), 1);
    EXPECT_EQ(AlertView::visibleAlerts().first()->title(), Bundle::main().localizedString(u"edit_successfully"_s));
    clock()->advance(EditBuilder::AlertMs);
    EXPECT_TRUE(AlertView::visibleAlerts().isEmpty());
    ASSERT_TRUE(waitFor([&] {
        const QList<PostPtr> now = shown->postsOnPage(1);
        return now.size() == 2 && now.last()->sourceBbcode() == u"Welcome aboard! (edited)";
    }));
}

TEST_F(PostingEndToEnd, EditPicturesGoInOneUploadAndAFailedUploadKeepsTheEdit)
{
    ThreadPtr tips;
    PostPtr own;
    ASSERT_NO_FATAL_FAILURE(openAlicesOwnPost(tips, own));

    // Asked to send before the form came: it goes once the form is there.
    forum().delayMethod(u"editpost_editpost"_s, 200, 1);
    const auto edit = EditBuilder::initWithPost(own);
    edit->setMessage(u"Up at five. Two more pictures below."_s);
    EXPECT_FALSE(edit->create().isSet());
    EXPECT_TRUE(forum().requests(u"editpost_updatepost"_s).isEmpty());
    ASSERT_TRUE(settle());
    EXPECT_EQ(edit->requestStatus(), BuilderStatus::Sent);
    EXPECT_EQ(lastRequest(u"editpost_updatepost"_s).field(u"posthash"_s), edit->posthash());

    // Two pictures, one of them held in memory: one upload with two files of distinct names.
    QImage yellow(10, 10, QImage::Format_RGB32);
    yellow.fill(Qt::yellow);
    edit->setAttachments({UploadAttachment(picture(Qt::green)), UploadAttachment(Image(yellow))});
    EXPECT_FALSE(edit->create().isSet());
    ASSERT_TRUE(waitFor([&] { return edit->requestStatus() != BuilderStatus::Sending; }));
    ASSERT_TRUE(settle());
    const QList<TestForumRequest> uploads = forum().requests(Builder::UploadMethod);
    ASSERT_EQ(uploads.size(), 1);
    EXPECT_EQ(uploadNames(uploads.first()), (QStringList{u"image.jpg"_s, u"image1.jpg"_s}));
    EXPECT_EQ(uploads.first().field(u"values[postid]"_s), QString::number(own->postid()));
    EXPECT_EQ(edit->requestStatus(), BuilderStatus::Sent);
    EXPECT_EQ(forum().postState(own->postid()).value(u"attachments"_s).toArray().size(), 3);

    // The upload fails: the edit is not sent, ends failed and keeps its text.
    clock()->advance(EditBuilder::AlertMs);
    forum().clearLog();
    forum().answerHttpStatus(Builder::UploadMethod, 500);
    edit->setMessage(u"This text must survive."_s);
    BuilderObserver observer;
    edit->addObserver(&observer);
    EXPECT_FALSE(edit->create().isSet());
    ASSERT_TRUE(waitFor([&] { return edit->requestStatus() != BuilderStatus::Sending; }));
    ASSERT_TRUE(settle());
    EXPECT_EQ(edit->requestStatus(), BuilderStatus::Failed);
    EXPECT_EQ(edit->message(), u"This text must survive.");
    EXPECT_TRUE(forum().requests(u"editpost_updatepost"_s).isEmpty());
    EXPECT_TRUE(forum().requests(u"showthread"_s).isEmpty());
    ASSERT_EQ(AlertView::visibleAlerts().size(), 1);
    EXPECT_EQ(AlertView::visibleAlerts().first()->title(), Bundle::main().localizedString(u"error"_s));
    clock()->advance(EditBuilder::AlertMs);
    EXPECT_TRUE(AlertView::visibleAlerts().isEmpty());
    EXPECT_EQ(observer.statusesSeen.last(), BuilderStatus::Failed);

    // The forum closes under the upload: its own alert is the only one.
    forum().clearControls();
    forum().closeForum(u"Closed for the night."_s);
    const qsizetype seen = observer.statusesSeen.size();
    EXPECT_FALSE(edit->create().isSet());
    ASSERT_TRUE(waitFor([&] { return edit->requestStatus() != BuilderStatus::Sending; }));
    ASSERT_TRUE(settle());
    EXPECT_EQ(edit->requestStatus(), BuilderStatus::Failed);
    EXPECT_EQ(edit->message(), u"This text must survive.");
    EXPECT_GT(observer.statusesSeen.size(), seen);
    EXPECT_TRUE(forum().requests(u"editpost_updatepost"_s).isEmpty());
    ASSERT_EQ(AlertView::visibleAlerts().size(), 1);
    EXPECT_EQ(AlertView::visibleAlerts().first()->message(), u"Closed for the night.");
}

TEST_F(PostingEndToEnd, NewThreadInAPasswordProtectedForum)
{
    const CurrentUserPtr alice = signIn(u"alice"_s, u"secret1"_s);
    const ForumPtr lounge = forumOf(20);
    const auto builder = ThreadBuilder::initWithForum(lounge);
    ASSERT_TRUE(settle());
    // The forum asks for its password; the form has not come.
    ASSERT_EQ(AlertView::visibleAlerts().size(), 1);
    EXPECT_TRUE(builder->posthash().isNull());
    const std::shared_ptr<AlertView> prompt = AlertView::visibleAlerts().first();
    ASSERT_TRUE(prompt->hasTextField());
    prompt->setTextFieldText(u"letmein"_s);
    prompt->dismissWithClickedButtonIndex(1);
    ASSERT_TRUE(settle());

    const QString hash = Forum::hashOfPassword(alice->userid(), u"letmein"_s);
    EXPECT_EQ(lastRequest(u"newthread_newthread"_s).field(u"forumpwdmd5"_s), hash);
    ASSERT_FALSE(builder->posthash().isNull());
    EXPECT_EQ(lounge->passwordDelegate(), nullptr);

    builder->setTitle(u"Staff only"_s);
    builder->setMessage(u"Coffee at ten?"_s);
    EXPECT_FALSE(builder->create().isSet());
    ASSERT_TRUE(waitFor([&] { return builder->requestStatus() != BuilderStatus::Sending; }));
    ASSERT_TRUE(settle());
    EXPECT_EQ(builder->requestStatus(), BuilderStatus::Sent);
    EXPECT_EQ(lastRequest(u"newthread_postthread"_s).field(u"forumpwdmd5"_s), hash);
    EXPECT_EQ(forum().threadState(builder->threadid()).value(u"forumid"_s).toInt(), 20);
    Forum::resetForumPasswords();
}

TEST_F(PostingEndToEnd, RefusedPostsAndReplyByPost)
{
    signIn(u"bob"_s, u"secret2"_s);
    // A title the forum refuses: the preview's error shows, the send fails.
    const auto builder = ThreadBuilder::initWithForum(forumOf(6));
    ASSERT_TRUE(settle());
    builder->setMessage(u"No title here"_s);
    EXPECT_FALSE(builder->create().isSet());
    ASSERT_TRUE(settle());
    EXPECT_EQ(builder->requestStatus(), BuilderStatus::Failed);
    EXPECT_EQ(visibleAlerts(tableText(u"nosubject"_s)).size(), 1);

    // A reply started from a post takes the thread's id from the form.
    const auto post = Model::createWithDictionary<Post>(json(R"({"postid": 5003})"));
    const auto reply = ReplyBuilder::initWithPost(post);
    ASSERT_TRUE(settle());
    EXPECT_EQ(lastRequest(u"newreply_newreply"_s).field(u"postid"_s), u"5003");
    EXPECT_EQ(reply->threadid(), 1101);
    // Too short a reply: the forum's refusal reaches the observers, the send fails.
    BuilderObserver observer;
    reply->addObserver(&observer);
    reply->setMessage(u"k"_s);
    reply->create();
    ASSERT_TRUE(settle());
    EXPECT_EQ(reply->status(), BuilderStatus::Failed);
    EXPECT_EQ(observer.failures, QStringList{tableText(u"tooshort"_s)});
    EXPECT_EQ(lastRequest(u"newreply_postreply"_s).field(u"subscribe"_s), u"0");

    // A reply that never reaches the forum (nobody listens) fails with no connection.
    forum().stop();
    reply->setMessage(u"Long enough now"_s);
    reply->create();
    ASSERT_TRUE(waitFor([&] { return reply->status() != BuilderStatus::Sending; }, std::chrono::milliseconds(15000)));
    EXPECT_EQ(reply->status(), BuilderStatus::Failed);
    EXPECT_EQ(observer.failures.last(), tableText(u"nointernet"_s));
}

TEST_F(PostingEndToEnd, AReplyWhoseAnswerNeverComesReachesTheForumOncePerPress)
{
    signIn(u"bob"_s, u"secret2"_s);
    const auto post = Model::createWithDictionary<Post>(json(R"({"postid": 5003})"));
    const auto reply = ReplyBuilder::initWithPost(post);
    ASSERT_TRUE(settle());
    const int postsBefore = int(forum().threadState(1101).value(u"posts"_s).toArray().size());
    BuilderObserver observer;
    reply->addObserver(&observer);

    // The forum takes the reply, then every line closes before a byte of its
    // answer: the line never sends it again by itself, the builder looks at
    // the thread, finds it there and ends as sent; the forum holds it once.
    forum().dropConnection(u"newreply_postreply"_s, -1, TestForum::Drop::AfterHandling);
    reply->setMessage(u"Sent once, whatever the line does"_s);
    reply->create();
    ASSERT_TRUE(waitFor([&] { return reply->status() != BuilderStatus::Sending; }, std::chrono::milliseconds(15000)));
    ASSERT_TRUE(settle());
    EXPECT_EQ(reply->status(), BuilderStatus::Sent);
    EXPECT_TRUE(reply->alreadyPosted());
    EXPECT_TRUE(observer.failures.isEmpty());
    EXPECT_EQ(forum().requests(u"newreply_postreply"_s).size(), 1);
    EXPECT_EQ(forum().threadState(1101).value(u"posts"_s).toArray().size(), postsBefore + 1);
}

TEST_F(PostingEndToEnd, APictureWhoseUploadAnswerWasLostIsAttachedOnceUnderAFreshForm)
{
    signIn(u"bob"_s, u"secret2"_s);
    const auto reply = ReplyBuilder::initWithThread(Thread::initWithThreadid(1101));
    ASSERT_TRUE(settle());
    const QString firstForm = reply->posthash();
    ASSERT_FALSE(firstForm.isEmpty());
    BuilderObserver observer;
    reply->addObserver(&observer);
    reply->setMessage(u"One picture, whatever the line does."_s);
    reply->setAttachments({UploadAttachment(picture(Qt::red))});

    // The forum keeps the picture under the form and the answer is lost:
    // nothing is posted, the text stays.
    forum().dropConnection(Builder::UploadMethod, 1, TestForum::Drop::AfterHandling);
    EXPECT_FALSE(reply->create().isSet());
    ASSERT_TRUE(waitFor([&] { return reply->status() != BuilderStatus::Sending; }));
    ASSERT_TRUE(settle());
    EXPECT_EQ(reply->status(), BuilderStatus::Failed);
    EXPECT_EQ(observer.failures.size(), 1);
    EXPECT_TRUE(forum().requests(u"newreply_postreply"_s).isEmpty());
    EXPECT_EQ(forum().requests(u"newreply_newreply"_s).size(), 1);

    // Sent again: a fresh form first, the picture under it, then the reply,
    // which carries the picture once.
    EXPECT_FALSE(reply->create().isSet());
    ASSERT_TRUE(waitFor([&] { return reply->status() != BuilderStatus::Sending; }));
    ASSERT_TRUE(settle());
    EXPECT_EQ(reply->status(), BuilderStatus::Sent);
    EXPECT_EQ(forum().requests(u"newreply_newreply"_s).size(), 2);
    EXPECT_NE(reply->posthash(), firstForm);
    const QList<TestForumRequest> uploads = forum().requests(Builder::UploadMethod);
    ASSERT_EQ(uploads.size(), 2);
    EXPECT_EQ(uploads.last().field(u"posthash"_s), reply->posthash());
    EXPECT_EQ(lastRequest(u"newreply_postreply"_s).field(u"posthash"_s), reply->posthash());
    const QJsonArray posts = forum().threadState(1101).value(u"posts"_s).toArray();
    const QJsonObject made = forum().postState(posts.last().toInt());
    EXPECT_EQ(made.value(u"bbcode"_s).toString(), u"One picture, whatever the line does.");
    EXPECT_EQ(made.value(u"attachments"_s).toArray().size(), 1);
    EXPECT_EQ(observer.failures.size(), 1);
}

TEST_F(PostingEndToEnd, AReadWhoseLineClosesBeforeItsAnswerIsAskedAgainAndArrives)
{
    // A thread page goes in a form body too, but only reads: the line asks
    // again by itself, as it must on a kept-alive line the server dropped.
    signIn(u"bob"_s, u"secret2"_s);
    forum().dropConnection(u"showthread"_s, 1, TestForum::Drop::AfterHandling);
    const ThreadPtr thread = Thread::initWithThreadid(1101);
    thread->loadPage(1);
    ASSERT_TRUE(settle());
    EXPECT_EQ(forum().requests(u"showthread"_s).size(), 2);
    EXPECT_EQ(thread->postsOnPage(1).size(), 10);
}
