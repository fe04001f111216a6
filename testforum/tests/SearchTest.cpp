#include "ForumTest.h"

#include <QSet>

namespace {

using SearchTest = ForumTest;
using Row = QPair<QString, int>;
using Rows = QSet<Row>;

// Every row of every page of a search, as {kind, id}.
QList<Row> allRows(ForumClient& reader, int searchid, int* pages)
{
    QList<Row> rows;
    for (int page = 1;; ++page) {
        const QJsonObject paged =
            reader.call(s("search_showresults"), "searchid=" + QByteArray::number(searchid) + "&pagenumber="
                                                     + QByteArray::number(page)).response();
        for (const QJsonValue& value : ForumTest::list(paged.value(s("searchbits")))) {
            const QJsonObject row = value.toObject();
            for (const QString& kind : {s("thread"), s("blog"), s("post")}) {
                if (row.contains(kind)) {
                    const QString key = kind == s("blog") ? s("blogid") : kind + s("id");
                    rows.append({kind, row.value(kind).toObject().value(key).toVariant().toInt()});
                }
            }
            if (row.contains(s("article")))
                rows.append({s("article"), row.value(s("nodeid")).toInt()});
        }
        *pages = paged.value(s("pagenav")).toObject().value(s("totalpages")).toInt();
        if (page >= *pages)
            return rows;
    }
}

int searchId(const ForumReply& reply)
{
    return reply.json().value(s("show")).toObject().value(s("searchid")).toInt();
}

TEST_F(SearchTest, WordsUsersTagsAndPaging)
{
    const auto bob = client(s("bob"), s("secret2"));
    const ForumReply words = bob->call(s("search_process"), "query=daily+chat&search_type=1&showposts=0");
    EXPECT_EQ(code(words), s("search"));
    int pages = 0;
    const QList<Row> chats = allRows(*bob, searchId(words), &pages);
    EXPECT_EQ(pages, 6);
    EXPECT_EQ(Rows(chats.begin(), chats.end()).size(), 60);

    // The general search across kinds: by member, by tag.
    const ForumReply byUser = bob->call(s("search_process"),
                                        "search_type=0&searchuser=nour&sortby=dateline&order=descending"
                                        "&beforeafter=&searchdate=&type%5B%5D=1&type%5B%5D=22");
    const QList<Row> nours = allRows(*bob, searchId(byUser), &pages);
    EXPECT_TRUE(nours.contains(Row(s("thread"), 309)));
    EXPECT_TRUE(nours.contains(Row(s("blog"), 3)));
    EXPECT_FALSE(nours.contains(Row(s("thread"), 303)));
    const ForumReply byTag = bob->call(s("search_process"), "search_type=0&tag=cycling");
    const QList<Row> cycling = allRows(*bob, searchId(byTag), &pages);
    EXPECT_EQ(Rows(cycling.begin(), cycling.end()),
              (Rows{{s("thread"), 310}, {s("thread"), 312}, {s("blog"), 1}}));
    // Without several types the page narrows the rows to one content type.
    const QJsonObject blogsOnly = bob->call(s("search_showresults"),
                                            "searchid=" + QByteArray::number(searchId(byTag)) + "&pagenumber=1&contenttypeid=22")
                                      .response();
    EXPECT_TRUE(blogsOnly.value(s("searchbits")).toObject().contains(s("blog")));

    // In one forum, and in one thread as posts.
    const ForumReply inForum = bob->call(s("search_process"),
                                         "query=tips&search_type=1&showposts=0&contenttypeid=1&forumchoice%5B%5D=11");
    const QList<Row> tips = allRows(*bob, searchId(inForum), &pages);
    EXPECT_EQ(Rows(tips.begin(), tips.end()),
              (Rows{{s("thread"), 1101}, {s("thread"), 1103}}));
    const ForumReply inThread = bob->call(s("search_process"),
                                          "query=emoji&search_type=1&showposts=1&contenttypeid=1&searchthreadid=1101");
    const QList<Row> posts = allRows(*bob, searchId(inThread), &pages);
    ASSERT_FALSE(posts.isEmpty());
    for (const auto& row : posts)
        EXPECT_EQ(row.first, s("post"));

    EXPECT_EQ(code(bob->call(s("search_process"), "query=ab&search_type=1")), s("words_very_common"));
    EXPECT_EQ(code(bob->call(s("search_process"), "query=xylophone&search_type=1")), s("searchnoresults"));
    EXPECT_EQ(code(bob->call(s("search_showresults"), "searchid=9999&pagenumber=1")), s("invalidid"));
    // A search belongs to whoever made it.
    EXPECT_EQ(code(client(s("alice"), s("secret1"))->call(s("search_showresults"),
                                                          "searchid=" + QByteArray::number(searchId(words)))),
              s("invalidid"));
}

TEST_F(SearchTest, SubscriptionsAreListedAndChanged)
{
    const auto alice = client(s("alice"), s("secret1"));
    const auto subscribed = [&] {
        QList<int> found;
        const QJsonObject answer = alice->call(s("subscription_viewsubscription"),
                                               "perpage=20&pagenumber=1&sortfield=lastpost&sortorder=desc&folderid=all")
                                       .response();
        for (const QJsonValue& row : list(answer.value(s("HTML")).toObject().value(s("threadbits"))))
            found.append(row.toObject().value(s("thread")).toObject().value(s("threadid")).toInt());
        return found;
    };
    EXPECT_EQ(subscribed(), (QList<int>{1101, 302}));

    const ForumReply asked = alice->callGet(s("subscription_addsubscription"), {{s("threadid"), s("307")}});
    EXPECT_TRUE(asked.response().value(s("HTML")).toObject().value(s("emailselected")).toObject().contains(s("[1]")));
    EXPECT_EQ(asked.json().value(s("HTML")), asked.response().value(s("HTML")));
    alice->callGet(s("subscription_doaddsubscription"), {{s("emailupdate"), s("1")}, {s("threadid"), s("307")}});
    alice->callGet(s("subscription_removesubscription"), {{s("threadid"), s("302")}});
    EXPECT_EQ(subscribed(), (QList<int>{1101, 307}));
    alice->callGet(s("subscription_removesubscription"), {{s("forumid"), s("3")}});
    EXPECT_TRUE(forum.subscribedForums(1).isEmpty());
    EXPECT_EQ(code(client()->call(s("subscription_viewsubscription"))), s("nopermission_loggedout"));
}

}  // namespace
