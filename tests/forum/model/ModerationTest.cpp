// Inline moderation of threads and posts, moving and copying threads,
// reports and the ignore list, against the loopback forum: the bodies sent,
// and what the forum serves afterwards.
#include "ForumModelTest.h"

#include "forum/model/CopyThreadsRequestHelper.h"
#include "forum/model/Forum.h"
#include "forum/model/Post.h"
#include "forum/model/PostMover.h"
#include "forum/model/Thread.h"
#include "platform/foundation/AlertView.h"
#include "platform/foundation/ManualClock.h"
#include "platform/foundation/Bundle.h"

#include "RecordingObserver.h"

#include <QJsonArray>
#include <QThread>

#include <atomic>

using Moderation = ForumModelTest;

namespace {

using Pairs = QList<QPair<QString, QString>>;

// What a call ended with: nothing yet, a success, or the failure's text.
struct Outcome {
    bool ended = false;
    std::optional<Error> failure;

    ModerationRequest::Done done()
    {
        return [this](const std::optional<Error>& f) {
            ended = true;
            failure = f;
        };
    }
    QString text() const { return failure ? failure->domain() : QString(); }
};

QString localized(const char* key)
{
    return Bundle::main().localizedString(QString::fromLatin1(key));
}

}  // namespace

// The forums reloaded since the log was cleared, in order of id.
static QStringList refreshedForums(TestForum& forum)
{
    QStringList ids;
    for (const TestForumRequest& request : forum.requests(QStringLiteral("forumdisplay")))
        ids << request.field(QStringLiteral("forumid"));
    ids.sort();
    return ids;
}

TEST_F(Moderation, BodiesOfTheThreadAndPostCalls)
{
    signIn(QStringLiteral("moderator"), QStringLiteral("modpass"));
    Thread::close({12, 40});
    Thread::deleteThreads({12, 40});
    Post::approve({5, 9});
    Post::deletePosts({5, 9});
    ASSERT_TRUE(settle());

    const TestForumRequest close = lastRequest(QStringLiteral("inlinemod_close"));
    EXPECT_EQ(close.httpMethod, u"POST");
    EXPECT_EQ(close.body, QByteArray("tlist[12]=1&tlist[40]=1"));
    EXPECT_TRUE(close.signatureValid);
    EXPECT_EQ(lastRequest(QStringLiteral("inlinemod_dodeletethreads")).formPairs,
              (Pairs{{QStringLiteral("threadids"), QStringLiteral("12,40")}, {QStringLiteral("deletetype"), QStringLiteral("1")}}));
    EXPECT_EQ(lastRequest(QStringLiteral("inlinemod_approveposts")).body, QByteArray("plist[5]=1&plist[9]=1"));
    EXPECT_EQ(lastRequest(QStringLiteral("inlinemod_dodeleteposts")).formPairs,
              (Pairs{{QStringLiteral("postids"), QStringLiteral("5,9")}, {QStringLiteral("deletetype"), QStringLiteral("1")}}));
    // None of those exist: each refusal was shown once, with its text.
    EXPECT_EQ(visibleAlerts(tableText(QStringLiteral("invalidid"))).size(), 1);
}

TEST_F(Moderation, EachThreadActionChangesWhatTheForumServes)
{
    signIn(QStringLiteral("moderator"), QStringLiteral("modpass"));
    struct Step {
        void (*action)(const QList<qint32>&, Thread::Done);
        const char* field;
        bool value;
    };
    const Step steps[] = {
        {&Thread::close, "closed", true},       {&Thread::open, "closed", false},
        {&Thread::stick, "sticky", true},       {&Thread::unstick, "sticky", false},
        {&Thread::unapprove, "approved", false}, {&Thread::approve, "approved", true},
        {&Thread::deleteThreads, "deleted", true}, {&Thread::undelete, "deleted", false},
    };
    for (const Step& step : steps) {
        Outcome outcome;
        step.action({303, 307}, outcome.done());
        ASSERT_TRUE(settle());
        ASSERT_TRUE(outcome.ended) << step.field;
        EXPECT_FALSE(outcome.failure) << outcome.text().toStdString();
        for (int id : {303, 307})
            EXPECT_EQ(forum().threadState(id).value(QString::fromLatin1(step.field)).toBool(), step.value)
                << step.field << " of " << id;
    }

    // The forum's own view after it all: a fresh page shows 303 open, approved, not sticky.
    const auto general = Model::create<Forum>();
    general->setForumid(3);
    general->fetchPage(1);
    ASSERT_TRUE(settle());
    EXPECT_TRUE(general->canModerate());
    bool found = false;
    for (const ThreadPtr& thread : general->threadsOnPage(1)) {
        if (thread->threadid() != 303)
            continue;
        found = true;
        EXPECT_FALSE(thread->isClosed());
        EXPECT_TRUE(thread->isApproved());
        EXPECT_FALSE(thread->isDeleted());
    }
    EXPECT_TRUE(found);
}

TEST_F(Moderation, DeleteAsSpamNamesTheStartersThenDeletes)
{
    signIn(QStringLiteral("moderator"), QStringLiteral("modpass"));
    Outcome outcome;
    Thread::deleteAsSpam({310, 309}, outcome.done());
    ASSERT_TRUE(settle());
    ASSERT_TRUE(outcome.ended);
    EXPECT_FALSE(outcome.failure);
    EXPECT_EQ(lastRequest(QStringLiteral("inlinemod_spamthread")).body, QByteArray("tlist[310]=1&tlist[309]=1"));
    const TestForumRequest second = lastRequest(QStringLiteral("inlinemod_dodeletespam"));
    EXPECT_EQ(second.formPairs,
              (Pairs{{QStringLiteral("type"), QStringLiteral("thread")},
                     {QStringLiteral("threadids"), QStringLiteral("310,309")},
                     {QStringLiteral("deletetype"), QStringLiteral("1")},
                     {QStringLiteral("useraction"), QString()},
                     {QStringLiteral("userid[]"), QString::number(forum().memberId(QStringLiteral("kenji")))},
                     {QStringLiteral("userid[]"), QString::number(forum().memberId(QStringLiteral("nour")))}}));
    EXPECT_TRUE(forum().threadState(310).value(QStringLiteral("deleted")).toBool());
    EXPECT_TRUE(forum().threadState(309).value(QStringLiteral("deleted")).toBool());

    // The members' list as a single dictionary, rows of other kinds skipped.
    forum().setAnswer(QStringLiteral("inlinemod_spamthread"),
                      QJsonObject{{QStringLiteral("response"),
                                   QJsonObject{{QStringLiteral("HTML"),
                                                QJsonObject{{QStringLiteral("users"),
                                                             QJsonObject{{QStringLiteral("userid"), 11}}}}}}}},
                      1);
    Thread::deleteAsSpam({306});
    ASSERT_TRUE(settle());
    EXPECT_EQ(lastRequest(QStringLiteral("inlinemod_dodeletespam")).fieldValues(QStringLiteral("userid[]")),
              QList<QString>{QStringLiteral("11")});
    forum().setRawAnswer(QStringLiteral("inlinemod_spamthread"), fixtureBytes("spamthread"), 1);
    Thread::deleteAsSpam({306, 307});
    ASSERT_TRUE(settle());
    EXPECT_EQ(lastRequest(QStringLiteral("inlinemod_dodeletespam")).fieldValues(QStringLiteral("userid[]")),
              (QList<QString>{QStringLiteral("11"), QStringLiteral("12")}));

    // A refused first step sends no second one.
    forum().clearLog();
    Outcome refused;
    Thread::deleteAsSpam({999999}, refused.done());
    ASSERT_TRUE(settle());
    EXPECT_EQ(refused.text(), tableText(QStringLiteral("invalidid")));
    EXPECT_TRUE(forum().requests(QStringLiteral("inlinemod_dodeletespam")).isEmpty());
}

TEST_F(Moderation, MoveTellsItsOutcomeAndRefreshesBothForums)
{
    signIn(QStringLiteral("moderator"), QStringLiteral("modpass"));
    const auto from = Model::create<Forum>();
    from->setForumid(3);
    const auto to = Model::create<Forum>();
    to->setForumid(6);

    Outcome outcome;
    Thread::move({307}, from, to, outcome.done());
    ASSERT_TRUE(settle());
    EXPECT_FALSE(outcome.failure);
    EXPECT_EQ(forum().threadState(307).value(QStringLiteral("forumid")).toInt(), 6);
    EXPECT_EQ(lastRequest(QStringLiteral("inlinemod_domovethreads")).formPairs,
              (Pairs{{QStringLiteral("threadids"), QStringLiteral("307")},
                     {QStringLiteral("destforumid"), QStringLiteral("6")},
                     {QStringLiteral("redirect"), QStringLiteral("none")}}));
    ASSERT_EQ(shownAlerts().size(), 1);
    EXPECT_EQ(shownAlerts()[0]->message(), localized("move_thread_success"));
    EXPECT_EQ(shownAlerts()[0]->buttonTitles(), QStringList{QStringLiteral("OK")});
    // Both forums are reloaded (the two requests travel side by side, so
    // the forum may see them in either order).
    EXPECT_EQ(refreshedForums(forum()), (QStringList{QStringLiteral("3"), QStringLiteral("6")}));
    EXPECT_TRUE(to->threadsOnPage(1).size() > 0);

    // A move the forum refuses says so, never that it worked.
    dismissAlerts();
    Outcome refused;
    Thread::move({307}, from, to, refused.done());
    ASSERT_TRUE(settle());
    EXPECT_EQ(refused.text(), tableText(QStringLiteral("movesameforum")));
    ASSERT_EQ(shownAlerts().size(), 2);
    EXPECT_EQ(shownAlerts()[1]->message(), tableText(QStringLiteral("movesameforum")));
}

TEST_F(Moderation, CopiesGoOneAfterTheOtherAndStopAtTheFirstFailure)
{
    signIn(QStringLiteral("moderator"), QStringLiteral("modpass"));
    const auto from = Model::create<Forum>();
    from->setForumid(3);
    const auto to = Model::create<Forum>();
    to->setForumid(6);
    const int before = int(forum().threadIdsIn(6).size());

    Outcome outcome;
    Thread::copy({302, 304, 312}, from, to, outcome.done());
    ASSERT_TRUE(settle());
    EXPECT_FALSE(outcome.failure);
    const QList<TestForumRequest> copies = forum().requests(QStringLiteral("postings_docopythread"));
    ASSERT_EQ(copies.size(), 3);
    EXPECT_EQ(copies[1].formPairs, (Pairs{{QStringLiteral("threadid"), QStringLiteral("304")},
                                          {QStringLiteral("destforumid"), QStringLiteral("6")}}));
    EXPECT_EQ(int(forum().threadIdsIn(6).size()), before + 3);
    EXPECT_EQ(refreshedForums(forum()), (QStringList{QStringLiteral("3"), QStringLiteral("6")}));
    EXPECT_TRUE(shownAlerts().isEmpty());

    // The second of three fails: two requests, then the numbered message.
    // Each waits a little, so that two copies on their way at once would meet.
    forum().clearLog();
    auto active = std::make_shared<std::atomic<int>>(0);
    auto most = std::make_shared<std::atomic<int>>(0);
    forum().setMethodHandler(QStringLiteral("postings_docopythread"), [active, most](const TestForumRequest& request, int) {
        const int now = ++*active;
        *most = std::max(most->load(), now);
        QThread::msleep(30);
        --*active;
        const QString code = request.field(QStringLiteral("threadid")) == u"304" ? QStringLiteral("invalidid")
                                                                                 : QStringLiteral("redirect_movethread");
        return QJsonObject{{QStringLiteral("response"), QJsonObject{{QStringLiteral("errormessage"), code}}}};
    });
    Outcome failed;
    Thread::copy({302, 304, 312}, from, to, failed.done());
    ASSERT_TRUE(settle());
    EXPECT_EQ(forum().requests(QStringLiteral("postings_docopythread")).size(), 2);
    EXPECT_EQ(most->load(), 1);
    const QString expected = QStringLiteral("Error copying 2/3 threads.\n") + tableText(QStringLiteral("invalidid"));
    EXPECT_EQ(failed.text(), expected);
    ASSERT_EQ(shownAlerts().size(), 1);
    EXPECT_EQ(shownAlerts()[0]->message(), expected);
    EXPECT_EQ(shownAlerts()[0]->buttonTitles(), QStringList{localized("ok")});
    EXPECT_TRUE(forum().requests(QStringLiteral("forumdisplay")).isEmpty());
}

TEST_F(Moderation, CopyFailureTexts)
{
    signIn(QStringLiteral("moderator"), QStringLiteral("modpass"));
    struct Case {
        QJsonObject answer;
        QString message;
    };
    const Case cases[] = {
        {QJsonObject{{QStringLiteral("response"), QJsonObject{{QStringLiteral("errormessage"), QStringLiteral("whatever_code")}}}},
         QStringLiteral("Unknown error in server response, error code = whatever_code")},
        {QJsonObject{{QStringLiteral("response"), QJsonObject{{QStringLiteral("threadid"), 5}}}},
         QStringLiteral("Unknown error")},
        {QJsonObject{{QStringLiteral("response"),
                      QJsonObject{{QStringLiteral("errormessage"), QJsonArray{QStringLiteral("redirect_movethread")}}}}},
         QString()},
    };
    for (const Case& c : cases) {
        forum().setAnswer(QStringLiteral("postings_docopythread"), c.answer, 1);
        Outcome outcome;
        Thread::copy({302}, nullptr, nullptr, outcome.done());
        ASSERT_TRUE(settle());
        ASSERT_TRUE(outcome.ended);
        EXPECT_EQ(outcome.text(), c.message.isNull() ? QString() : QStringLiteral("Error copying 1/1 threads.\n") + c.message);
    }
    // No answer at all.
    forum().dropConnection(QStringLiteral("postings_docopythread"), 3, TestForum::Drop::BeforeAnswer);
    std::weak_ptr<CopyThreadsRequestHelper> copier;
    QString message;
    copier = CopyThreadsRequestHelper::copyThreads({302}, nullptr, nullptr, {},
                                                   [&](const HTTPRequestPtr& request) { message = request->error().domain(); });
    EXPECT_FALSE(copier.expired());
    ASSERT_TRUE(settle());
    EXPECT_EQ(message, QStringLiteral("Error copying 1/1 threads.\n") + tableText(QStringLiteral("nointernet")));
    // The copier went with its last request.
    TestSupport::processEvents();
    EXPECT_TRUE(copier.expired());

    // A closed forum: its own alert is the only word, and the copier goes.
    forum().clearControls();
    dismissAlerts();
    forum().closeForum(QStringLiteral("Closed for the night."));
    const qsizetype alerts = alertMessages().size();
    message.clear();
    copier = CopyThreadsRequestHelper::copyThreads({302}, nullptr, nullptr, {},
                                                   [&](const HTTPRequestPtr& request) { message = request->error().domain(); });
    ASSERT_TRUE(settle());
    EXPECT_TRUE(message.isNull());
    EXPECT_EQ(alertMessages().mid(alerts), QStringList{QStringLiteral("Closed for the night.")});
    TestSupport::processEvents();
    EXPECT_TRUE(copier.expired());
}

TEST_F(Moderation, EachPostActionChangesWhatTheForumServes)
{
    signIn(QStringLiteral("moderator"), QStringLiteral("modpass"));
    struct Step {
        void (*action)(const QList<qint32>&, Post::Done);
        const char* field;
        bool value;
    };
    const Step steps[] = {
        {&Post::deletePosts, "deleted", true}, {&Post::undelete, "deleted", false},
        {&Post::unapprove, "approved", false}, {&Post::approve, "approved", true},
    };
    for (const Step& step : steps) {
        Outcome outcome;
        step.action({5007, 5008}, outcome.done());
        ASSERT_TRUE(settle());
        EXPECT_TRUE(outcome.ended && !outcome.failure) << step.field;
        for (int id : {5007, 5008})
            EXPECT_EQ(forum().postState(id).value(QString::fromLatin1(step.field)).toBool(), step.value) << step.field;
    }
    const auto attachmentsApproved = [&](int postid) {
        for (const QJsonValue& attachment : forum().postState(postid).value(QStringLiteral("attachments")).toArray()) {
            if (!attachment.toObject().value(QStringLiteral("approved")).toBool())
                return false;
        }
        return true;
    };
    ASSERT_FALSE(forum().postState(5011).value(QStringLiteral("attachments")).toArray().isEmpty());
    Post::unapproveAttachments({5011});
    ASSERT_TRUE(settle());
    EXPECT_FALSE(attachmentsApproved(5011));
    Post::approveAttachments({5011});
    ASSERT_TRUE(settle());
    EXPECT_TRUE(attachmentsApproved(5011));
    EXPECT_EQ(lastRequest(QStringLiteral("inlinemod_approveattachments")).body, QByteArray("plist[5011]=1"));
}

TEST_F(Moderation, MemberWhoIsNoModeratorIsToldNo)
{
    signIn(QStringLiteral("bob"), QStringLiteral("secret2"));
    Outcome outcome;
    Thread::close({303}, outcome.done());
    ASSERT_TRUE(settle());
    EXPECT_EQ(outcome.text(), tableText(QStringLiteral("nopermission_loggedin")));
    EXPECT_FALSE(forum().threadState(303).value(QStringLiteral("closed")).toBool());
    EXPECT_TRUE(shownAlerts().isEmpty());

    // Without a `done` the refusal is shown.
    Post::undelete({5010});
    ASSERT_TRUE(settle());
    EXPECT_EQ(alertMessages(), QStringList{tableText(QStringLiteral("nopermission_loggedin"))});

    // No answer at all reads as no connection.
    forum().dropConnection(QStringLiteral("inlinemod_open"), 3, TestForum::Drop::BeforeAnswer);
    Outcome lost;
    Thread::open({303}, lost.done());
    ASSERT_TRUE(settle());
    EXPECT_EQ(lost.text(), tableText(QStringLiteral("nointernet")));
}

TEST_F(Moderation, ReportAndUnignore)
{
    const CurrentUserPtr alice = signIn(QStringLiteral("alice"), QStringLiteral("secret1"));
    const ThreadPtr thread = Thread::initWithThreadid(1101);
    thread->fetchPage(1);
    ASSERT_TRUE(settle());
    PostPtr franks;
    for (const PostPtr& post : thread->postsOnPage(1)) {
        if (post->user()->username() == u"frank")
            franks = post;
    }
    ASSERT_TRUE(franks);
    EXPECT_TRUE(franks->userIgnore());

    // The forum's thanks come as a failure that carries their text.
    RecordingObserver observer;
    franks->addObserver(&observer);
    franks->report(QStringLiteral("Off topic & rude"));
    ASSERT_TRUE(settle());
    EXPECT_EQ(observer.failures, QStringList{tableText(QStringLiteral("redirect_reportthanks"))});
    const QJsonArray reports = forum().reports();
    ASSERT_EQ(reports.size(), 1);
    EXPECT_EQ(reports[0][QStringLiteral("postid")].toInt(), franks->postid());
    EXPECT_EQ(reports[0][QStringLiteral("reason")].toString(), u"Off topic & rude");

    // Cut short on the way: one failure, nothing read from the body.
    forum().dropConnection(QStringLiteral("report_sendemail"), 3, TestForum::Drop::MidBody);
    franks->report(QStringLiteral("again"));
    ASSERT_TRUE(settle());
    EXPECT_EQ(observer.failures.size(), 2);
    EXPECT_EQ(observer.failures.last(), tableText(QStringLiteral("unexpected_server_response")));

    franks->unignore();
    EXPECT_FALSE(franks->userIgnore());
    ASSERT_TRUE(settle());
    const TestForumRequest unignore = lastRequest(QStringLiteral("profile_doremovelist"));
    EXPECT_EQ(unignore.formPairs, (Pairs{{QStringLiteral("userid"), QString::number(franks->user()->userid())},
                                         {QStringLiteral("userlist"), QStringLiteral("ignore")}}));
    thread->reload();
    ASSERT_TRUE(settle());
    for (const PostPtr& post : thread->postsOnPage(1)) {
        if (post->user()->username() == u"frank") {
            EXPECT_FALSE(post->userIgnore());
        }
    }
    franks->removeObserver(&observer);
}

TEST_F(Moderation, PostMoverAsksForTheFormThenMovesAndCopiesIntoANewThread)
{
    signIn(QStringLiteral("moderator"), QStringLiteral("modpass"));
    // The form's depths: the text after the first character, 0 for anything else.
    EXPECT_EQ(PostMover::levelOf(Value(QStringLiteral("d2"))), 2);
    EXPECT_EQ(PostMover::levelOf(Value(QStringLiteral("d"))), 0);
    EXPECT_EQ(PostMover::levelOf(Value(QString())), 0);
    EXPECT_EQ(PostMover::levelOf(Value(7)), 0);
    EXPECT_EQ(PostMover::levelOf(Value()), 0);

    const auto mover = std::make_shared<PostMover>();
    RecordingObserver observer;
    mover->addObserver(&observer);
    mover->setPostids({QStringLiteral("5020"), QStringLiteral("5021")});
    ASSERT_TRUE(settle());
    EXPECT_EQ(lastRequest(QStringLiteral("inlinemod_moveposts")).body, QByteArray("plist[5020]=1&plist[5021]=1"));
    ASSERT_FALSE(mover->forums().isEmpty());
    EXPECT_EQ(mover->forums().first()->level(), 0);
    EXPECT_TRUE(std::any_of(mover->forums().begin(), mover->forums().end(),
                            [](const auto& f) { return f->level() == 1 && f->forumid() == 11; }));
    EXPECT_EQ(observer.changes, 1);

    // The copy: a new thread in the chosen forum, the posts still where they were.
    const QList<int> before = forum().threadIdsIn(12);
    auto destination = std::make_shared<Forum>();
    destination->setForumid(12);
    mover->setForum(destination);
    mover->setTitle(QStringLiteral("Copied tips"));
    mover->copy();
    EXPECT_EQ(mover->forum(), nullptr);
    EXPECT_TRUE(mover->title().isNull());
    ASSERT_TRUE(settle());
    const TestForumRequest copy = lastRequest(QStringLiteral("inlinemod_docopyposts"));
    EXPECT_EQ(copy.field(QStringLiteral("postids")), QStringLiteral("5020,5021"));
    EXPECT_EQ(copy.field(QStringLiteral("type")), QStringLiteral("0"));
    EXPECT_EQ(copy.field(QStringLiteral("title")), QStringLiteral("Copied tips"));
    EXPECT_EQ(copy.field(QStringLiteral("destforumid")), QStringLiteral("12"));
    ASSERT_TRUE(copy.answer.contains("redirect_inline_copiedposts")) << copy.answer.constData();
    QList<int> made = forum().threadIdsIn(12);
    for (int id : before)
        made.removeAll(id);
    ASSERT_EQ(made.size(), 1);
    EXPECT_EQ(forum().threadState(made.first()).value(QStringLiteral("title")).toString(), QStringLiteral("Copied tips"));
    EXPECT_EQ(forum().threadState(made.first()).value(QStringLiteral("posts")).toArray().size(), 2);
    EXPECT_EQ(forum().postState(5020).value(QStringLiteral("threadid")).toInt(), 1101);
    // Told of for a moment, then gone.
    ASSERT_EQ(AlertView::visibleAlerts().size(), 1);
    EXPECT_EQ(AlertView::visibleAlerts().first()->title(), localized("published_successfully"));
    EXPECT_TRUE(AlertView::visibleAlerts().first()->buttonTitles().isEmpty());
    clock()->advance(PostMover::kAnnouncementMs);
    EXPECT_TRUE(AlertView::visibleAlerts().isEmpty());
    EXPECT_EQ(observer.changes, 2);

    // A move the forum refuses is a failure, never announced as done.
    forum().answerError(QStringLiteral("inlinemod_domoveposts"), QJsonValue(QStringLiteral("nopermission_loggedin")));
    mover->setForum(destination);
    mover->setTitle(QStringLiteral("Moved tips"));
    mover->move();
    ASSERT_TRUE(settle());
    EXPECT_TRUE(AlertView::visibleAlerts().isEmpty());
    EXPECT_EQ(observer.failures, QStringList{tableText(QStringLiteral("nopermission_loggedin"))});
    EXPECT_EQ(forum().postState(5020).value(QStringLiteral("threadid")).toInt(), 1101);
    // And one that goes: the posts leave for the new thread.
    forum().clearControls();
    mover->setForum(destination);
    mover->setTitle(QStringLiteral("Moved tips"));
    mover->move();
    ASSERT_TRUE(settle());
    EXPECT_EQ(AlertView::visibleAlerts().size(), 1);
    const int moved = forum().postState(5020).value(QStringLiteral("threadid")).toInt();
    EXPECT_NE(moved, 1101);
    EXPECT_EQ(forum().threadState(moved).value(QStringLiteral("title")).toString(), QStringLiteral("Moved tips"));
    EXPECT_EQ(forum().threadState(moved).value(QStringLiteral("forumid")).toInt(), 12);
    mover->removeObserver(&observer);
}

