#include "ForumTest.h"

#include <algorithm>

namespace {

using ModerateTest = ForumTest;

QList<int> ids(const QJsonValue& bits)
{
    QList<int> found;
    for (const QJsonValue& thread : ForumTest::list(bits))
        found.append(thread.toObject().value(s("threadid")).toInt());
    return found;
}

TEST_F(ModerateTest, ThreadActionsChangeWhatIsServed)
{
    const auto alice = client(s("alice"), s("secret1"));
    EXPECT_EQ(code(alice->call(s("inlinemod_close"), "tlist%5B307%5D=1")), s("nopermission_loggedin"));
    EXPECT_FALSE(forum.threadState(307).value(s("closed")).toBool());

    const auto moderator = client(s("moderator"), s("modpass"));
    EXPECT_EQ(code(moderator->call(s("inlinemod_close"), "tlist%5B307%5D=1&tlist%5B310%5D=1")), s("redirect_inline_closed"));
    EXPECT_TRUE(forum.threadState(310).value(s("closed")).toBool());
    EXPECT_EQ(code(alice->call(s("newreply_postreply"), "threadid=307&message=still+open%3F")), s("threadclosed"));
    moderator->call(s("inlinemod_stick"), "tlist%5B307%5D=1");
    moderator->call(s("inlinemod_approvethread"), "tlist%5B305%5D=1");
    QJsonObject page = alice->call(s("forumdisplay"), "forumid=3&perpage=100").response();
    EXPECT_TRUE(ids(page.value(s("threadbits_sticky"))).contains(307));
    EXPECT_TRUE(ids(page.value(s("threadbits"))).contains(305));

    // Moves check their destination.
    EXPECT_EQ(code(moderator->call(s("inlinemod_domovethreads"), "threadids=311&destforumid=1&redirect=none")),
              s("moveillegalforum"));
    EXPECT_EQ(code(moderator->call(s("inlinemod_domovethreads"), "threadids=311&destforumid=3&redirect=none")),
              s("movesameforum"));
    moderator->call(s("inlinemod_domovethreads"), "threadids=311%2C308&destforumid=4&redirect=none");
    EXPECT_TRUE(ids(alice->call(s("forumdisplay"), "forumid=4").response().value(s("threadbits"))).contains(311));

    moderator->call(s("inlinemod_dodeletethreads"), "threadids=303&deletetype=1");
    EXPECT_FALSE(ids(alice->call(s("forumdisplay"), "forumid=3&perpage=100").response().value(s("threadbits"))).contains(303));
    moderator->call(s("inlinemod_undeletethread"), "tlist%5B303%5D=1");
    EXPECT_FALSE(forum.threadState(303).value(s("deleted")).toBool());

    // A copy is a new thread with the same posts and attachments.
    EXPECT_EQ(code(moderator->call(s("postings_docopythread"), "threadid=308&destforumid=6")), s("redirect_movethread"));
    const QList<int> introductions = forum.threadIdsIn(6);
    const QJsonObject copy = forum.threadState(*std::max_element(introductions.begin(), introductions.end()));
    EXPECT_EQ(copy.value(s("title")).toString(), s("Meeting minutes (file attached)"));
    EXPECT_EQ(forum.postState(copy.value(s("posts")).toArray().first().toInt()).value(s("attachments")).toArray().size(), 1);
    EXPECT_EQ(code(moderator->call(s("postings_docopythread"), "threadid=99999&destforumid=6")), s("invalidid"));
    // Every thread, the members' forum's too.
    EXPECT_EQ(forum.threadIdsIn(12), QList<int>{1201});

    const QJsonObject spam = moderator->call(s("inlinemod_spamthread"), "tlist%5B306%5D=1").response();
    EXPECT_EQ(spam.value(s("HTML")).toObject().value(s("users")).toArray().first().toObject().value(s("userid")).toInt(), 11);
    moderator->call(s("inlinemod_dodeletespam"), "type=thread&threadids=306&deletetype=2&useraction=&userid%5B%5D=11");
    EXPECT_TRUE(forum.threadState(306).isEmpty());
}

TEST_F(ModerateTest, PostActionsChangeWhatIsServed)
{
    const auto moderator = client(s("moderator"), s("modpass"));
    const auto alice = client(s("alice"), s("secret1"));
    const auto postbitOf = [&](int postid) {
        const QJsonObject answer = alice->call(s("showthread"), "postid=" + QByteArray::number(postid)).response();
        for (const QJsonValue& bit : list(answer.value(s("postbits")))) {
            if (bit.toObject().value(s("post")).toObject().value(s("postid")).toInt() == postid)
                return bit.toObject();
        }
        return QJsonObject();
    };
    EXPECT_TRUE(postbitOf(5009).isEmpty());
    moderator->call(s("inlinemod_approveposts"), "plist%5B5009%5D=1");
    EXPECT_FALSE(postbitOf(5009).isEmpty());
    moderator->call(s("inlinemod_dodeleteposts"), "postids=5001%2C5002&deletetype=1");
    EXPECT_EQ(postbitOf(5002).value(s("postbit_type")).toString(), s("postbit_deleted"));
    moderator->call(s("inlinemod_undeleteposts"), "plist%5B5002%5D=1");
    EXPECT_EQ(postbitOf(5002).value(s("postbit_type")).toString(), s("postbit"));

    // Carol's bike waits for approval in the photo thread.
    const int carolsPost = forum.threadState(302).value(s("posts")).toArray().at(1).toInt();
    const auto bike = [&] { return forum.postState(carolsPost).value(s("attachments")).toArray().last().toObject(); };
    EXPECT_FALSE(bike().value(s("approved")).toBool());
    moderator->call(s("inlinemod_approveattachments"), "plist%5B" + QByteArray::number(carolsPost) + "%5D=1");
    EXPECT_TRUE(bike().value(s("approved")).toBool());
    EXPECT_EQ(list(postbitOf(carolsPost).value(s("post")).toObject().value(s("thumbnailattachments"))).size(), 2);

    const QJsonObject moveForm = moderator->call(s("inlinemod_moveposts"), "plist%5B5040%5D=1&plist%5B5041%5D=1").response();
    EXPECT_EQ(moveForm.value(s("HTML")).toObject().value(s("moveforumbits")).toArray().at(2).toObject()
                  .value(s("optionclass")).toString(), s("d1"));
    EXPECT_EQ(code(moderator->call(s("inlinemod_domoveposts"), "postids=5040%2C5041&type=0&title=Split+off&destforumid=4")),
              s("redirect_inline_movedposts"));
    EXPECT_FALSE(forum.threadState(1101).value(s("posts")).toArray().contains(5040));
    const QJsonObject split = forum.threadState(forum.postState(5040).value(s("threadid")).toInt());
    EXPECT_EQ(split.value(s("forumid")).toInt(), 4);
    EXPECT_EQ(split.value(s("title")).toString(), s("Split off"));
    EXPECT_EQ(split.value(s("posts")).toArray(), (QJsonArray{5040, 5041}));
}

}  // namespace
