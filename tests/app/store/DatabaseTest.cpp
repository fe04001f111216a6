#include "AppTest.h"

#include "app/store/Database.h"
#include "platform/foundation/Bundle.h"

#include "platform/foundation/Log.h"
#include "platform/foundation/Paths.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <limits>

using DatabaseOpenTest = AppTest;

namespace {

Value dict(std::initializer_list<ValueDict::Entry> entries)
{
    return Value(ValueDict(entries));
}

QString s(const char* text)
{
    return QString::fromUtf8(text);
}

void exec(sqlite3* db, const char* sql)
{
    char* error = nullptr;
    ASSERT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, &error), SQLITE_OK) << (error ? error : "");
}

// Every statement SQLite runs, with its bound values written in.
int recordStatement(unsigned, void* context, void* statement, void*)
{
    char* expanded = sqlite3_expanded_sql(static_cast<sqlite3_stmt*>(statement));
    static_cast<QStringList*>(context)->append(QString::fromUtf8(expanded));
    sqlite3_free(expanded);
    return 0;
}

class DatabaseTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        store = std::make_shared<Database>(s("test.sql"));
        ASSERT_NE(store->db(), nullptr);
        exec(store->db(), "CREATE TABLE post (id INTEGER PRIMARY KEY, forumid INTEGER, title TEXT, views INTEGER,"
                          " dateline INTEGER); CREATE TABLE thread (id INTEGER PRIMARY KEY, title TEXT)");
        sqlite3_trace_v2(store->db(), SQLITE_TRACE_STMT, recordStatement, &ran);
    }

    QStringList ran;
    std::shared_ptr<Database> store;
};

}  // namespace

TEST_F(DatabaseTest, SelectTextsAndBindingPositions)
{
    store->getFrom(s("Thread"));
    EXPECT_EQ(ran.last(), s("SELECT * FROM thread"));

    store->getFrom(s("Post"), dict({{s("forumid"), Value(5)}}), s("dateline DESC"), 20, 40);
    EXPECT_EQ(ran.last(), s("SELECT * FROM post WHERE (forumid = 5)  ORDER BY dateline DESC LIMIT 40, 20"));

    store->getFrom(s("Post"), Value(), QString(), 0, 40);
    EXPECT_EQ(ran.last(), s("SELECT * FROM post"));

    store->selectFromString(s(" id , title"));
    store->from(s("POST"));
    store->where(dict({{s("forumid"), Value(5)}}));
    store->where(DatabaseQueryClause::clauseWithDictionary(
        {{s("views >="), Value(10)}, {s("id"), Value(ValueList{Value(1), Value(2)})}}));
    store->orderBy(s("id"));
    const auto select = store->run();
    ASSERT_TRUE(select);
    EXPECT_EQ(select->sql(),
              s("SELECT id, title FROM post WHERE ((forumid = ?) AND (views >= ? AND id IN (?,?)))  ORDER BY id"));
    select->result();
    EXPECT_EQ(ran.last(),
              s("SELECT id, title FROM post WHERE ((forumid = 5) AND (views >= 10 AND id IN (1,2)))  ORDER BY id"));

    // Everything above belonged to that one statement.
    store->from(s("post"));
    EXPECT_EQ(store->run()->sql(), s("SELECT * FROM post"));
}

TEST_F(DatabaseTest, WritesBindInDictionaryOrder)
{
    EXPECT_EQ(store->insertInto(s("Post"), {{s("title"), Value(u"first")}, {s("forumid"), Value(5)}}), 1);
    EXPECT_EQ(ran.last(), s("INSERT INTO post (title, forumid) VALUES ('first', 5)"));
    EXPECT_EQ(store->insertInto(s("Post"), {{s("id"), Value(7)}, {s("title"), Value(u"second")}}), 7);

    store->update(s("Post"), {{s("title"), Value(u"renamed")}, {s("views"), Value(9)}}, dict({{s("id"), Value(7)}}));
    EXPECT_EQ(ran.last(), s("UPDATE post SET title = 'renamed', views = 9 WHERE (id = 7) "));
    const ValueList rows = store->getFrom(s("post"), Value(), s("id"));
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0][u"title"].string(), s("first"));
    EXPECT_EQ(rows[1][u"title"].string(), s("renamed"));
    EXPECT_EQ(rows[1][u"views"].toInt(), 9);

    store->deleteFrom(s("Post"), dict({{s("id"), Value(ValueList{Value(1)})}}));
    EXPECT_EQ(ran.last(), s("DELETE FROM post WHERE (id IN (1)) "));
    EXPECT_EQ(store->getFrom(s("post")).size(), 1u);
    store->deleteFrom(s("Post"), Value());
    EXPECT_EQ(ran.last(), s("DELETE FROM post"));
    EXPECT_TRUE(store->getFrom(s("post")).empty());

    // A statement that cannot be made still clears the builder.
    store->from(s("post"));
    store->where(dict({{s("id"), Value(1)}}));
    EXPECT_FALSE(store->insert());
    store->from(s("post"));
    EXPECT_EQ(store->run()->sql(), s("SELECT * FROM post"));
}

TEST_F(DatabaseTest, ValuesRoundTripWithoutLoss)
{
    exec(store->db(), "CREATE TABLE kinds (id INTEGER PRIMARY KEY, big INTEGER, ratio REAL, name TEXT, photo BLOB,"
                      " flag INTEGER, note TEXT, huge)");
    const QByteArray photo("\x00\x01\xff", 3);
    const qint32 id = store->insertInto(s("kinds"), {{s("big"), Value(qint64(1099511627777))},
                                                     {s("ratio"), Value(0.1)},
                                                     {s("name"), Value(s("Grüße ✓"))},
                                                     {s("photo"), Value(photo)},
                                                     {s("flag"), Value(true)},
                                                     {s("note"), Value::null()},
                                                     {s("huge"), Value(std::numeric_limits<quint64>::max())}});
    ASSERT_EQ(id, 1);
    const ValueList rows = store->getFrom(s("kinds"), dict({{s("id"), Value(id)}}));
    ASSERT_EQ(rows.size(), 1u);
    const ValueDict& row = rows[0].dict();
    EXPECT_EQ(row.keys(), (QStringList{s("id"), s("big"), s("ratio"), s("name"), s("photo"), s("flag"), s("huge")}));
    EXPECT_EQ(row.value(s("big")).numberText(), s("1099511627777"));
    EXPECT_EQ(row.value(s("ratio")).toDouble(), 0.1);
    EXPECT_EQ(row.value(s("name")).string(), s("Grüße ✓"));
    EXPECT_EQ(row.value(s("photo")).bytes(), photo);
    EXPECT_EQ(row.value(s("flag")).numberText(), s("1"));
    EXPECT_EQ(row.value(s("huge")).toString(), s("18446744073709551615"));
}

TEST_F(DatabaseTest, SelectReadsEachRowOnce)
{
    for (int i = 0; i < 3; ++i)
        store->insertInto(s("post"), {{s("views"), Value(i)}});
    store->from(s("post"));
    store->orderBy(s("id"));
    const auto select = store->run();
    EXPECT_EQ(select->row()[u"views"].toInt(), 0);
    ASSERT_EQ(select->numRows(), 2);
    EXPECT_EQ(select->result()[0][u"views"].toInt(), 1);
    EXPECT_TRUE(select->row().isAbsent());
    EXPECT_EQ(select->numRows(), 2);
}

TEST_F(DatabaseTest, FailuresAreLoggedAndReadAsNothing)
{
    EXPECT_TRUE(store->getFrom(s("missing")).empty());
    EXPECT_TRUE(logged(s("Error preparing statement: 'no such table: missing'.")));
    store->update(s("missing"), {{s("a"), Value(1)}}, Value());
    EXPECT_TRUE(logged(s("Error preparing statement: 'no such table: missing'. Query is: 'UPDATE missing SET a = ?'")));

    store->insertInto(s("post"), {{s("id"), Value(1)}});
    store->insertInto(s("post"), {{s("id"), Value(2)}});
    EXPECT_EQ(store->insertInto(s("post"), {{s("id"), Value(2)}}), 0);
    store->update(s("post"), {{s("id"), Value(2)}}, dict({{s("id"), Value(1)}}));
    EXPECT_TRUE(logged(s("Error updating: 'UNIQUE constraint failed: post.id'")));
    EXPECT_EQ(store->getFrom(s("post")).size(), 2u);
}

TEST_F(DatabaseOpenTest, FailedOpenLeavesNoConnection)
{
    ASSERT_TRUE(QDir(Paths::documentsDir()).mkdir(s("broken.sql")));
    Database store(s("broken.sql"));
    EXPECT_EQ(store.db(), nullptr);
    EXPECT_TRUE(logged(s("Failed to open database with message '")));

    Log::clearRecent();
    store.from(s("post"));
    const auto select = store.run();
    ASSERT_TRUE(select);
    EXPECT_TRUE(select->row().isAbsent());
    EXPECT_EQ(select->numRows(), 0);
    EXPECT_TRUE(logged(s("Error preparing statement: 'no open database'.")));
    EXPECT_EQ(store.insertInto(s("post"), {{s("id"), Value(1)}}), 0);
    store.deleteFrom(s("post"), Value());
    EXPECT_TRUE(logged(s("Error deleting: 'no open database'")));
}

TEST_F(DatabaseOpenTest, SharedStoreStartsFromACopyOfTheResource)
{
    QTemporaryDir resources;
    const QString resource = resources.filePath(s("database.sql"));
    sqlite3* seed = nullptr;
    ASSERT_EQ(sqlite3_open(resource.toUtf8().constData(), &seed), SQLITE_OK);
    exec(seed, "CREATE TABLE thread (id INTEGER PRIMARY KEY, title TEXT); INSERT INTO thread VALUES (3, 'hello')");
    sqlite3_close(seed);
    QFile::setPermissions(resource, QFileDevice::ReadOwner);
    Bundle::main().setResourcesPath(resources.path());

    const std::shared_ptr<Database> store = Database::getInstance();
    EXPECT_EQ(Database::getInstance(), store);
    EXPECT_EQ(store->getFrom(s("Thread")), (ValueList{dict({{s("id"), Value(3)}, {s("title"), Value(u"hello")}})}));
    // The copy takes writes; the resource stays as shipped.
    EXPECT_EQ(store->insertInto(s("Thread"), {{s("title"), Value(u"new")}}), 4);
    EXPECT_EQ(store->getFrom(s("thread")).size(), 2u);
    sqlite3* shipped = nullptr;
    ASSERT_EQ(sqlite3_open_v2(resource.toUtf8().constData(), &shipped, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
    sqlite3_stmt* count = nullptr;
    sqlite3_prepare_v2(shipped, "SELECT count(*) FROM thread", -1, &count, nullptr);
    ASSERT_EQ(sqlite3_step(count), SQLITE_ROW);
    EXPECT_EQ(sqlite3_column_int(count, 0), 1);
    sqlite3_finalize(count);
    sqlite3_close(shipped);
}

TEST_F(DatabaseOpenTest, WithoutAResourceTheStoreStartsEmpty)
{
    QTemporaryDir resources;
    Bundle::main().setResourcesPath(resources.path());
    Database store;
    ASSERT_NE(store.db(), nullptr);
    EXPECT_TRUE(QFile::exists(Paths::documentsDir() + s("/database.sql")));
    EXPECT_TRUE(logged(s("No resource 'database.sql'")));
    exec(store.db(), "CREATE TABLE thread (id INTEGER PRIMARY KEY)");
    EXPECT_EQ(store.insertInto(s("thread"), {{s("id"), Value(12)}}), 12);
}
