#include "ForumBBCode.h"
#include "ForumSignature.h"
#include "ForumTest.h"

#include <QJsonDocument>
#include <QSet>

namespace {

using BrowseTest = ForumTest;

QJsonObject findForum(const QJsonArray& forums, int forumid)
{
    for (const QJsonValue& value : forums) {
        const QJsonObject forum = value.toObject();
        if (forum.value(s("forumid")).toInt() == forumid)
            return forum;
        const QJsonObject found = findForum(ForumTest::list(forum.value(s("subforums"))), forumid);
        if (!found.isEmpty())
            return found;
    }
    return {};
}

TEST_F(BrowseTest, TreeHomeAndNoticesFollowTheViewer)
{
    const auto guest = client();
    const ForumReply tree = guest->call(s("api_forumlist"));
    ASSERT_TRUE(QJsonDocument::fromJson(tree.body).isArray());
    const QJsonArray forums = QJsonDocument::fromJson(tree.body).array();
    EXPECT_EQ(forums.first().toObject().value(s("title_clean")).toString(), s("Community"));
    EXPECT_TRUE(forums.first().toObject().value(s("is_category")).toBool());
    const QJsonObject jokes = findForum(forums, 5);
    EXPECT_EQ(jokes.value(s("title_clean")).toString(), s("Jokes &amp; Games"));
    EXPECT_FALSE(jokes.value(s("parent_is_category")).toBool());
    EXPECT_TRUE(findForum(forums, 2).value(s("parent_is_category")).toBool());
    EXPECT_TRUE(findForum(forums, 21).value(s("is_link")).toBool());

    const QJsonObject guestHome = guest->call(s("forum")).response();
    EXPECT_TRUE(guestHome.value(s("notifications_menubits")).toArray().isEmpty());
    QSet<int> guestNotices;
    for (const QJsonValue& notice : list(guestHome.value(s("notices"))))
        guestNotices.insert(notice.toObject().value(s("_noticeid")).toInt());
    EXPECT_EQ(guestNotices, (QSet<int>{1, 3}));

    const auto alice = client(s("alice"), s("secret1"));
    QJsonObject home = alice->call(s("forum")).response();
    EXPECT_EQ(home.value(s("notifications_menubits")).toArray().first().toObject().value(s("total")).toInt(), 2);
    EXPECT_EQ(list(home.value(s("notices"))).size(), 2);
    alice->call(s("ajax_dismissnotice"), "noticeid=3");
    home = alice->call(s("forum")).response();
    EXPECT_EQ(home.value(s("notices")).toObject().value(s("_noticeid")).toInt(), 2);
    EXPECT_EQ(home.value(s("forums")).toArray().size(), forums.size());
}

TEST_F(BrowseTest, ForumPagesProtectedForumsAndThreadPages)
{
    const auto alice = client(s("alice"), s("secret1"));
    QSet<int> seen;
    int totalpages = 0;
    for (int page = 1; page <= 5; ++page) {
        const QJsonObject answer = alice->callGet(s("forumdisplay"), {{s("forumid"), s("3")},
                                                                      {s("perpage"), s("20")},
                                                                      {s("pagenumber"), QString::number(page)}})
                                       .response();
        totalpages = answer.value(s("pagenav")).toObject().value(s("totalpages")).toInt();
        EXPECT_EQ(answer.value(s("pagenumber")).toInt(), qMin(page, totalpages));
        for (const QJsonValue& thread : list(answer.value(s("threadbits"))))
            seen.insert(thread.toObject().value(s("threadid")).toInt());
        if (page == 1) {
            const QJsonArray stickies = list(answer.value(s("threadbits_sticky")));
            ASSERT_EQ(stickies.size(), 2);
            const QJsonObject rules = stickies.at(1).toObject();
            EXPECT_EQ(rules.value(s("threadid")).toInt(), 301);
            EXPECT_EQ(rules.value(s("sticky")).toInt(), 1);
            EXPECT_TRUE(rules.value(s("status")).toObject().contains(s("lock")));
            EXPECT_EQ(list(answer.value(s("announcebits"))).size(), 2);
        }
    }
    EXPECT_EQ(totalpages, 4);
    EXPECT_EQ(seen.size(), 68);
    // Waiting and deleted threads are the moderators' to see.
    EXPECT_FALSE(seen.contains(305));
    EXPECT_FALSE(seen.contains(306));
    const auto moderator = client(s("moderator"), s("modpass"));
    const QJsonObject modPage = moderator->call(s("forumdisplay"), "forumid=3&perpage=100").response();
    QJsonObject waiting;
    QJsonObject deleted;
    for (const QJsonValue& value : list(modPage.value(s("threadbits")))) {
        const QJsonObject thread = value.toObject();
        if (thread.value(s("threadid")).toInt() == 305)
            waiting = thread;
        if (thread.value(s("threadid")).toInt() == 306)
            deleted = thread;
    }
    EXPECT_TRUE(waiting.value(s("show")).toObject().value(s("moderated")).toBool());
    EXPECT_EQ(deleted.value(s("del_userid")).toInt(), 3);
    EXPECT_TRUE(moderator->call(s("forumdisplay"), "forumid=3").json().value(s("show")).toObject().value(s("inlinemod")).toBool());

    // A password-protected forum asks until the hash of the member id and the password comes.
    EXPECT_EQ(alice->call(s("forumdisplay"), "forumid=20").response().value(s("errormessage")),
              QJsonValue(QJsonArray{s("forumpasswordmissing")}));
    const QString hash = ForumSignature::md5Hex("1letmein");
    const QJsonObject lounge = alice->call(s("forumdisplay"), "forumid=20&forumpwdmd5=" + hash.toLatin1()).response();
    EXPECT_EQ(list(lounge.value(s("threadbits"))).first().toObject().value(s("threadid")).toInt(), 2001);
    EXPECT_EQ(code(alice->call(s("showthread"), "threadid=2001")), s("forumpasswordmissing"));
    EXPECT_EQ(code(client()->call(s("forumdisplay"), "forumid=12")), s("nopermission_loggedout"));

    // The long thread page by page: quotes, attachments, ignored and deleted posts.
    QList<QJsonObject> bits;
    for (int page = 1; page <= 5; ++page) {
        const QJsonObject answer =
            alice->call(s("showthread"), "threadid=1101&pagenumber=" + QByteArray::number(page)).response();
        EXPECT_EQ(answer.value(s("pagenav")).toObject().value(s("totalpages")).toInt(), 5);
        for (const QJsonValue& bit : list(answer.value(s("postbits"))))
            bits.append(bit.toObject());
    }
    ASSERT_EQ(bits.size(), 49);  // fifty posts, one waiting for approval
    QMap<QString, int> types;
    int nestedQuotes = 0;
    QString attachment;
    for (const QJsonObject& bit : bits) {
        ++types[bit.value(s("postbit_type")).toString()];
        const QJsonObject post = bit.value(s("post")).toObject();
        nestedQuotes += post.value(s("message")).toString().count(s("bbcode_quote")) >= 3 ? 1 : 0;
        const QJsonArray thumbnails = list(post.value(s("thumbnailattachments")));
        if (!thumbnails.isEmpty() && attachment.isEmpty())
            attachment = thumbnails.first().toObject().value(s("url")).toString();
    }
    EXPECT_EQ(types.value(s("postbit_ignore")), 1);
    EXPECT_EQ(types.value(s("postbit_ignore_global")), 1);
    EXPECT_EQ(types.value(s("postbit_deleted")), 1);
    EXPECT_EQ(nestedQuotes, 1);
    ASSERT_FALSE(attachment.isEmpty());
    const ForumReply picture = alice->get(s("/") + attachment);
    EXPECT_EQ(picture.status, 200);
    EXPECT_TRUE(picture.body.startsWith("\xff\xd8"));

    // The welcome guide's posts link to the forum's own pages in its "mu"
    // scheme, written exactly so; its staff post comes as written, links the
    // BB-code would never make and a file given as a picture's link included.
    const QJsonArray guide = list(client()->call(s("showthread"), "threadid=603").response().value(s("postbits")));
    ASSERT_EQ(guide.size(), 6);
    const auto message = [&](int i) { return guide.at(i).toObject().value(s("post")).toObject().value(s("message")).toString(); };
    EXPECT_TRUE(message(0).contains(s("<a href=\"mu:forum\" target=\"_blank\">All forums</a>"))) << message(0).toStdString();
    EXPECT_TRUE(message(4).contains(s("href=\"mu:showthread/t=306\"")));
    EXPECT_TRUE(message(5).startsWith(s("<b>Not for the app</b><br />\n<a href=\"file:///etc/hostname\">")));
    EXPECT_TRUE(message(5).contains(s("href=\"MU:forum\"")));
    const QJsonObject staffPost = guide.at(5).toObject().value(s("post")).toObject();
    EXPECT_TRUE(QJsonDocument(staffPost).toJson().contains("\"url\": \"file:///etc/hostname\""));
    // What members write links in that scheme only when written so, never to a script.
    EXPECT_EQ(ForumBBCode::toHtml(s("[url=mu:forum]a[/url][url=MU:forum]b[/url][url=javascript:x]c[/url]"), {}),
              s("<a href=\"mu:forum\" target=\"_blank\">a</a><a href=\"\" target=\"_blank\">b</a>"
                "<a href=\"\" target=\"_blank\">c</a>"));

    // Having read every page, the first unread post is the last one.
    const QJsonObject newest = alice->call(s("api_gotonewpost"), "threadid=1101").response();
    EXPECT_EQ(newest.value(s("pagenumber")).toInt(), 5);
    const QJsonObject fresh = client(s("bob"), s("secret2"))->call(s("api_gotonewpost"), "threadid=1101").response();
    EXPECT_LT(fresh.value(s("pagenumber")).toInt(), 5);
}

TEST_F(BrowseTest, AnnouncementsFeedsAndBlogs)
{
    const auto guest = client();
    const QJsonObject announcement =
        guest->call(s("announcement_view"), "forumid=3&announcementId=2").response();
    EXPECT_EQ(announcement.value(s("announcebits")).toObject().value(s("post")).toObject().value(s("postid")).toInt(), 2);
    EXPECT_EQ(code(guest->call(s("announcement_view"), "forumid=4&announcementId=2")), s("invalidid"));

    const QJsonObject feeds = guest->callGet(s("api_getnewtop"), {}).json();
    for (const QString& order : {s("new"), s("top")}) {
        const QJsonObject lists = feeds.value(order).toObject();
        for (const QString& type : {s("thread"), s("blog"), s("article")}) {
            const QJsonArray rows = lists.value(type).toArray();
            ASSERT_FALSE(rows.isEmpty()) << order.toStdString() << " " << type.toStdString();
            for (const QJsonValue& row : rows)
                EXPECT_EQ(row.toObject().value(s("type")).toString(), type);
        }
    }
    const QJsonArray newest = feeds.value(s("new")).toObject().value(s("thread")).toArray();
    for (qsizetype i = 1; i < newest.size(); ++i) {
        EXPECT_GE(newest.at(i - 1).toObject().value(s("lastposttime")).toInteger(),
                  newest.at(i).toObject().value(s("lastposttime")).toInteger());
    }
    // The password-protected forum stays out of every list.
    for (const QJsonValue& row : feeds.value(s("top")).toObject().value(s("all")).toArray())
        EXPECT_NE(row.toObject().value(s("forumid")).toInt(), 20);

    const QJsonObject travel = guest->call(s("blog_list"), "nohtml=1&pagenumber=1&tag=travel").response();
    EXPECT_EQ(list(travel.value(s("blogbits"))).size(), 2);
    const QJsonObject entry = guest->call(s("blog_blog"), "blogid=1").response();
    EXPECT_EQ(entry.value(s("comments")).toArray().size(), 2);
    EXPECT_EQ(entry.value(s("avatar")).toObject().value(s("0")).toString(), s("images/alice.png"));
    EXPECT_EQ(code(guest->call(s("blog.post_newblog"))), s("nopermission_loggedout"));
}

}  // namespace
