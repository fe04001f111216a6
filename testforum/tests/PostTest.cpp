#include "ForumTest.h"

#include <QThread>

namespace {

using PostTest = ForumTest;

TEST_F(PostTest, ThreadWithPicturesReplyEditAndReport)
{
    const auto alice = client(s("alice"), s("secret1"));
    const ForumReply prepared = alice->callGet(s("newthread_newthread"), {{s("forumid"), s("3")}});
    const QJsonObject newThread = prepared.response();
    const QString posthash = newThread.value(s("posthash")).toString();
    ASSERT_EQ(posthash.size(), 32);
    // Groups of prefixes, one of them a single prefix as forums give a group of one.
    const QJsonArray groups = newThread.value(s("prefix_options")).toArray();
    ASSERT_EQ(groups.size(), 3);
    EXPECT_TRUE(groups.at(0).toObject().value(s("optgroup_options")).isArray());
    EXPECT_EQ(groups.at(2).toObject().value(s("optgroup_options")).toObject().value(s("optionvalue")).toString(),
              s("howto"));
    EXPECT_TRUE(prepared.json().value(s("show")).toObject().value(s("tag_option")).toBool());
    EXPECT_FALSE(prepared.json().value(s("show")).toObject().contains(s("threadid")));

    const QList<QPair<QString, QString>> uploadFields{
        {s("values[forumid]"), s("3")}, {s("contenttypeid"), s("1")},
        {s("poststarttime"), QString::number(newThread.value(s("poststarttime")).toInteger())},
        {s("posthash"), posthash},      {s("upload"), s("Upload")}};
    ForumReply upload = alice->callMultipart(s("newattachment_manageattach"), uploadFields,
                                             {{s("attachment[]"), s("image.jpg"), "\xff\xd8 first"},
                                              {s("attachment[]"), s("image1.jpg"), "\xff\xd8 second"}});
    EXPECT_EQ(upload.response().value(s("attachmentids")).toArray().size(), 2);

    // A thread without a subject is refused where the new-thread form reads its errors.
    const ForumReply refused = alice->call(s("newthread_postthread"), form({{s("forumid"), s("3")},
                                                                            {s("subject"), s(" ")},
                                                                            {s("message"), s("text")}}));
    EXPECT_EQ(refused.response().value(s("postpreview")).toObject().value(s("errorlist")).toObject()
                  .value(s("errors")).toArray(), QJsonArray{s("nosubject")});

    const ForumReply made = alice->call(s("newthread_postthread"),
                                        form({{s("forumid"), s("3")}, {s("subject"), s("Two pictures & a question")},
                                              {s("message"), s("Which one? :)")}, {s("prefixid"), s("question")},
                                              {s("taglist"), s("photo, test")}, {s("posthash"), posthash},
                                              {s("loggedinuser"), s("0")}, {s("wysiwyg"), s("0")},
                                              {s("signature"), s("1")}}));
    EXPECT_EQ(code(made), s("redirect_postthanks"));
    const int threadid = made.json().value(s("show")).toObject().value(s("threadid")).toInt();
    const QJsonObject thread = forum.threadState(threadid);
    EXPECT_EQ(thread.value(s("prefixid")).toString(), s("question"));
    EXPECT_EQ(thread.value(s("tags")).toArray(), (QJsonArray{s("photo"), s("test")}));
    EXPECT_TRUE(forum.subscribedThreads(1).contains(threadid));  // alice subscribes to what she starts
    const int first = thread.value(s("posts")).toArray().first().toInt();
    const QJsonArray attachments = forum.postState(first).value(s("attachments")).toArray();
    ASSERT_EQ(attachments.size(), 2);
    EXPECT_EQ(forum.attachmentBytes(attachments.at(1).toObject().value(s("attachmentid")).toInt()),
              QByteArray("\xff\xd8 second"));
    const QJsonObject shown = alice->call(s("showthread"), "threadid=" + QByteArray::number(threadid)).response();
    EXPECT_EQ(list(shown.value(s("postbits")).toObject().value(s("post")).toObject().value(s("thumbnailattachments"))).size(), 2);

    // Bob quotes it; his subscription box was not ticked by default.
    const auto bob = client(s("bob"), s("secret2"));
    const QJsonObject replyForm = bob->call(s("newreply_newreply"), "threadid=" + QByteArray::number(threadid)).response();
    EXPECT_EQ(replyForm.value(s("checked")).toObject().value(s("subscribe")), QJsonValue(s("")));
    EXPECT_EQ(replyForm.value(s("threadinfo")).toObject().value(s("threadid")).toInt(), threadid);
    const ForumReply replied = bob->call(s("newreply_postreply"),
        form({{s("threadid"), QString::number(threadid)}, {s("title"), s("")},
              {s("message"), QStringLiteral("[QUOTE=alice;%1]Which one?[/QUOTE]The second!").arg(first)},
              {s("subscribe"), s("1")}, {s("posthash"), replyForm.value(s("posthash")).toString()}}));
    EXPECT_EQ(code(replied), s("redirect_postthanks"));
    const int reply = replied.response().value(s("postid")).toInt();
    EXPECT_EQ(forum.threadState(threadid).value(s("posts")).toArray().size(), 2);
    EXPECT_TRUE(forum.subscribedThreads(2).contains(threadid));

    const QJsonObject editForm = bob->call(s("editpost_editpost"), "postid=" + QByteArray::number(reply)).response();
    EXPECT_TRUE(editForm.value(s("messagearea")).toObject().value(s("newpost")).toObject()
                    .value(s("message_bbcode")).toString().endsWith(s("The second!")));
    EXPECT_EQ(code(client(s("carol"), s("secret4"))->call(s("editpost_updatepost"),
                   form({{s("postid"), QString::number(reply)}, {s("message"), s("mine now")}}))),
              s("nopermission_loggedin"));
    EXPECT_EQ(code(bob->call(s("editpost_updatepost"),
                             form({{s("postid"), QString::number(reply)}, {s("message"), s("The first, after all.")},
                                   {s("title"), s("Changed my mind")},
                                   {s("posthash"), editForm.value(s("posthash")).toString()}}))),
              s("redirect_editthanks"));
    EXPECT_EQ(forum.postState(reply).value(s("bbcode")).toString(), s("The first, after all."));
    EXPECT_EQ(forum.postState(reply).value(s("editedby")).toInt(), 2);

    EXPECT_EQ(code(alice->call(s("report_sendemail"), form({{s("postid"), QString::number(reply)},
                                                             {s("reason"), s("just testing")}}))),
              s("redirect_reportthanks"));
    EXPECT_EQ(forum.reports().last().toObject().value(s("reason")).toString(), s("just testing"));
}

TEST_F(PostTest, RefusedUploadsKeepNothingAndLeaveOtherCallsAlone)
{
    const auto alice = client(s("alice"), s("secret1"));
    const QJsonObject newThread = alice->callGet(s("newthread_newthread"), {{s("forumid"), s("3")}}).response();
    const QList<QPair<QString, QString>> fields{{s("posthash"), newThread.value(s("posthash")).toString()},
                                                {s("upload"), s("Upload")}};
    forum.refuseUploads(s("upload_file_exceeds_forum_limit"), 2);
    // A call without a file is no upload: it goes through and uses no refusal.
    EXPECT_EQ(code(alice->call(s("profile_buddylist"))), QString());
    const ForumReply attachment = alice->callMultipart(s("newattachment_manageattach"), fields,
                                                       {{s("attachment[]"), s("image.jpg"), "\xff\xd8 refused"}});
    EXPECT_EQ(code(attachment), s("upload_file_exceeds_forum_limit"));
    EXPECT_FALSE(attachment.response().contains(s("attachmentids")));
    const QString avatarBefore = alice->call(s("member"), "userid=1").response().value(s("avatarurl")).toString();
    const ForumReply avatar = alice->callMultipart(s("profile_updateavatar"), {},
                                                   {{s("upload"), s("image.jpg"), "\xff\xd8 refused"}});
    EXPECT_EQ(code(avatar), s("upload_file_exceeds_forum_limit"));
    EXPECT_EQ(alice->call(s("member"), "userid=1").response().value(s("avatarurl")).toString(), avatarBefore);
    // Two refusals asked for, two given: the next upload is taken.
    EXPECT_EQ(code(alice->callMultipart(s("profile_updateavatar"), {},
                                        {{s("upload"), s("image.jpg"), "\xff\xd8 taken"}})),
              s("redirect_updatethanks"));
}

TEST_F(PostTest, AFloodCheckRefusesNewPostsAndKeepsNothing)
{
    const auto alice = client(s("alice"), s("secret1"));
    const QJsonArray before = forum.threadState(307).value(s("posts")).toArray();
    forum.refusePostsAsFlood(30, 2);
    // The reply's form is no new post: it comes, and uses no refusal.
    const QJsonObject replyForm = alice->call(s("newreply_newreply"), "threadid=307").response();
    const ForumReply refused = alice->call(s("newreply_postreply"),
        form({{s("threadid"), s("307")}, {s("message"), s("Too quick")},
              {s("posthash"), replyForm.value(s("posthash")).toString()}}));
    EXPECT_EQ(refused.response().value(s("errormessage")).toArray(),
              (QJsonArray{s("postfloodcheck"), s("30"), s("29")}));
    const QString posthash =
        alice->call(s("newthread_newthread"), "forumid=3").response().value(s("posthash")).toString();
    EXPECT_EQ(code(alice->call(s("newthread_postthread"),
                               form({{s("forumid"), s("3")}, {s("subject"), s("Again")},
                                     {s("message"), s("Too quick")}, {s("posthash"), posthash}}))),
              s("postfloodcheck"));
    EXPECT_EQ(forum.threadState(307).value(s("posts")).toArray(), before);
    // Two refusals asked for, two given: the next reply is taken.
    EXPECT_EQ(code(alice->call(s("newreply_postreply"),
                               form({{s("threadid"), s("307")}, {s("message"), s("Now it goes")}}))),
              s("redirect_postthanks"));
}

TEST_F(PostTest, AReplyStoredLateClosesItsLineAtOnceAndIsKeptOnlyWhenItsGateOpens)
{
    const auto bob = client(s("bob"), s("secret2"));
    const qsizetype before = forum.threadState(307).value(s("posts")).toArray().size();
    // Every send of it: this client's network layer may send the call again
    // by itself when the line closes before the answer.
    forum.storeLate(s("newreply_postreply"), s("late"), -1);
    const ForumReply cut = bob->call(s("newreply_postreply"),
                                     form({{s("threadid"), s("307")}, {s("message"), s("Kept after the line closed")}}));
    EXPECT_NE(cut.error, QNetworkReply::NoError);
    EXPECT_EQ(cut.status, 0);
    EXPECT_TRUE(cut.body.isEmpty());
    const int sends = int(forum.requests(s("newreply_postreply")).size());
    ASSERT_GE(sends, 1);
    for (int i = 0; i < 500 && forum.arrivedAtGate(s("late")) < sends; ++i)
        QThread::msleep(10);
    EXPECT_EQ(forum.arrivedAtGate(s("late")), sends);
    EXPECT_EQ(forum.threadState(307).value(s("posts")).toArray().size(), before);
    forum.clearControls();

    // Other calls go on meanwhile; each send is kept once the gate opens.
    EXPECT_EQ(code(bob->call(s("newreply_postreply"), form({{s("threadid"), s("307")}, {s("message"), s("Right away")}}))),
              s("redirect_postthanks"));
    forum.openGate(s("late"));
    for (int i = 0; i < 500 && forum.threadState(307).value(s("posts")).toArray().size() < before + 1 + sends; ++i)
        QThread::msleep(10);
    const QJsonArray posts = forum.threadState(307).value(s("posts")).toArray();
    ASSERT_EQ(posts.size(), before + 1 + sends);
    EXPECT_EQ(forum.postState(posts.last().toInt()).value(s("bbcode")).toString(), s("Kept after the line closed"));
}

TEST_F(PostTest, ALongPostIsTakenWhole)
{
    const auto alice = client(s("alice"), s("secret1"));
    QString text;
    while (text.size() < 30000)
        text += s("A long answer & more, line after line.\n");
    const ForumReply made = alice->call(s("newreply_postreply"), form({{s("threadid"), s("307")}, {s("message"), text}}));
    ASSERT_EQ(code(made), s("redirect_postthanks"));
    EXPECT_EQ(forum.postState(made.response().value(s("postid")).toInt()).value(s("bbcode")).toString(), text);
}

TEST_F(PostTest, ClosedModeratedAndGuestPosting)
{
    const auto alice = client(s("alice"), s("secret1"));
    EXPECT_EQ(code(alice->call(s("newreply_newreply"), "threadid=304")), s("threadclosed"));
    EXPECT_EQ(code(alice->call(s("newreply_postreply"), "threadid=304&message=hello")), s("threadclosed"));
    EXPECT_EQ(code(alice->call(s("newreply_postreply"), "threadid=307&message=x")), s("tooshort"));
    EXPECT_EQ(code(client()->call(s("newthread_newthread"), "forumid=3")), s("nopermission_loggedout"));

    // New threads in the news forum wait for a moderator.
    const QString posthash =
        alice->call(s("newthread_newthread"), "forumid=2").response().value(s("posthash")).toString();
    const ForumReply made = alice->call(s("newthread_postthread"),
                                        form({{s("forumid"), s("2")}, {s("subject"), s("News from alice")},
                                              {s("message"), s("Hear hear")}, {s("posthash"), posthash}}));
    EXPECT_EQ(code(made), s("redirect_postthanks_moderate"));
    EXPECT_FALSE(made.json().contains(s("show")));
    const int threadid = made.response().value(s("threadid")).toInt();
    EXPECT_FALSE(forum.threadState(threadid).value(s("approved")).toBool());
    const auto threadsOf = [&](ForumClient& reader) {
        QList<int> ids;
        for (const QJsonValue& thread : list(reader.call(s("forumdisplay"), "forumid=2").response().value(s("threadbits"))))
            ids.append(thread.toObject().value(s("threadid")).toInt());
        return ids;
    };
    EXPECT_TRUE(threadsOf(*alice).contains(threadid));
    EXPECT_FALSE(threadsOf(*client(s("bob"), s("secret2"))).contains(threadid));
}

}  // namespace
