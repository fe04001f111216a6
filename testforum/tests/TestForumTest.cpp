#include "ForumClient.h"
#include "TestForum.h"

#include <QJsonArray>

#include <gtest/gtest.h>

namespace {

class TestForumTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(forum.start());
        client = std::make_unique<ForumClient>(forum.baseUrl());
    }

    // A guest session opened through "api_init".
    void openSession()
    {
        const ForumReply init = client->call(QStringLiteral("api_init"),
                                             "clientname=mu%20Mobile%20iOS&uniqueid=X");
        ASSERT_EQ(init.status, 200);
        client->adopt(init.json());
        ASSERT_FALSE(client->token.isEmpty());
    }

    QJsonValue errormessage(const ForumReply& reply) const
    {
        return reply.json().value(QStringLiteral("response")).toObject().value(QStringLiteral("errormessage"));
    }

    TestForum forum;
    std::unique_ptr<ForumClient> client;
};

// Expected values worked out by hand with printf ... | md5sum.
TEST_F(TestForumTest, ChecksRequestSignatureOverRawQueryAndSignsTheAnswer)
{
    forum.registerClient(QStringLiteral("7"), QStringLiteral("sec456"), QStringLiteral("tok123"));
    const QString query = QStringLiteral(
        "/api.php?api_c=7&api_v=6&api_m=member&api_s=tok123&userid=1&q=a+b%C3%A9&a%5B%5D=x&a0=y");

    const ForumReply good = client->get(query + QStringLiteral("&api_sig=97744ad1a04385c5c764926b430b6e8a"));
    EXPECT_EQ(good.status, 200);
    EXPECT_EQ(good.body, QByteArray(R"({"response":{"avatarurl":"images/alice.png",)"
                                    R"("profilepicurl":"images/alice.png","userid":"1",)"
                                    R"("username":"alice","usertitle":"Member"}})"));
    EXPECT_EQ(good.header(QStringLiteral("Authorization")), QStringLiteral("ca16f925a80e8edcfed8f174ce38f5e1"));

    // A re-signed address names the method twice; the signature holds it once.
    const ForumReply resigned = client->get(query + QStringLiteral("&api_m=member&api_sig=97744ad1a04385c5c764926b430b6e8a"));
    EXPECT_EQ(resigned.header(QStringLiteral("Authorization")), QStringLiteral("ca16f925a80e8edcfed8f174ce38f5e1"));

    const ForumReply bad = client->get(query + QStringLiteral("&api_sig=97744ad1a04385c5c764926b430b6e8b"));
    EXPECT_EQ(bad.body, QByteArray(R"({"response":{"errormessage":"invalid_api_signature"}})"));
    EXPECT_EQ(bad.header(QStringLiteral("Authorization")), QStringLiteral("8e680e88b2a511e82fdf1256c2eac388"));

    const QList<TestForumRequest> log = forum.requests(QStringLiteral("member"));
    ASSERT_EQ(log.size(), 3);
    EXPECT_TRUE(log[0].signatureValid);
    EXPECT_TRUE(log[1].signatureValid);
    EXPECT_FALSE(log[2].signatureValid);
    EXPECT_EQ(log[0].token, QStringLiteral("tok123"));
    EXPECT_EQ(log[0].field(QStringLiteral("q")), QStringLiteral("a b\u00e9"));
    EXPECT_EQ(log[0].status, 200);
}

TEST_F(TestForumTest, OpensSessionsLogsMembersInAndOut)
{
    const ForumReply init = client->call(QStringLiteral("api_init"), "clientname=mu%20Mobile%20iOS");
    const QJsonObject answer = init.json();
    EXPECT_TRUE(answer.value(QStringLiteral("apiclientid")).isDouble());
    EXPECT_EQ(answer.value(QStringLiteral("apiversion")).toInt(), 6);
    EXPECT_EQ(answer.value(QStringLiteral("bbtitle")).toString(), QStringLiteral("Test Forum"));
    EXPECT_EQ(answer.value(QStringLiteral("bburl")).toString(), forum.baseUrl());
    EXPECT_EQ(answer.value(QStringLiteral("bbactive")), QJsonValue(true));
    EXPECT_EQ(answer.value(QStringLiteral("forumhome")).toString(), QStringLiteral("index"));
    EXPECT_TRUE(answer.value(QStringLiteral("show")).toObject().value(QStringLiteral("socialnetwork")).isNull());
    const QJsonObject features = answer.value(QStringLiteral("features")).toObject();
    EXPECT_TRUE(features.value(QStringLiteral("pmsenabled")).toBool());
    EXPECT_TRUE(features.value(QStringLiteral("paidsubs")).isBool());
    EXPECT_EQ(answer.value(QStringLiteral("contenttypes")).toObject().value(QStringLiteral("Post")), QJsonValue(1));
    client->adopt(answer);
    EXPECT_EQ(forum.currentToken(client->clientId), client->token);
    EXPECT_EQ(forum.requests(QStringLiteral("api_init")).value(0).field(QStringLiteral("clientname")),
              QStringLiteral("mu Mobile iOS"));

    const ForumReply refused = client->call(QStringLiteral("login_login"),
        "cookieuser=true&mu_login_username=alice&mu_login_md5password_utf=00000000000000000000000000000000");
    EXPECT_EQ(errormessage(refused), QJsonValue(QJsonArray{QStringLiteral("badlogin")}));
    EXPECT_EQ(forum.memberIdForToken(client->token), 0);

    const ForumReply login = client->call(QStringLiteral("login_login"),
        "cookieuser=true&mu_login_username=alice&mu_login_md5password_utf=e52d98c459819a11775936d8dfbb7929");
    const QJsonObject session = login.json().value(QStringLiteral("session")).toObject();
    EXPECT_EQ(session.value(QStringLiteral("userid")).toString(), QStringLiteral("1"));
    EXPECT_EQ(session.value(QStringLiteral("dbsessionhash")).toString().size(), 32);
    const QJsonObject response = login.json().value(QStringLiteral("response")).toObject();
    EXPECT_EQ(response.value(QStringLiteral("errormessage")).toString(), QStringLiteral("redirect_login"));
    EXPECT_EQ(response.value(QStringLiteral("username")).toString(), QStringLiteral("alice"));
    EXPECT_EQ(response.value(QStringLiteral("avatarurl")).toString(), QStringLiteral("images/alice.png"));
    EXPECT_EQ(forum.memberIdForToken(client->token), 1);

    const ForumReply logout = client->call(QStringLiteral("login_logout"));
    EXPECT_EQ(errormessage(logout).toString(), QStringLiteral("cookieclear"));
    EXPECT_EQ(logout.json().value(QStringLiteral("session")).toObject().value(QStringLiteral("userid")).toString(),
              QStringLiteral("0"));
    EXPECT_EQ(forum.memberIdForToken(client->token), 0);
    // The token outlives the sign-out: the closed-forum probe still gets its empty answer.
    EXPECT_EQ(client->call(QStringLiteral("member")).body, QByteArray(R"({"response":{}})"));
    // The other shape of a member's answer: the fields under "prepared".
    forum.setMemberFieldsUnderPrepared(true);
    const QJsonObject prepared = client->call(QStringLiteral("member"), "userid=5").response();
    EXPECT_EQ(prepared.keys(), (QStringList{QStringLiteral("prepared"), QStringLiteral("userid")}));
    EXPECT_EQ(prepared.value(QStringLiteral("prepared")).toObject().value(QStringLiteral("username")).toString(),
              QStringLiteral("dave"));
    forum.setMemberFieldsUnderPrepared(false);
    EXPECT_EQ(client->call(QStringLiteral("member"), "userid=5").response().value(QStringLiteral("username")).toString(),
              QStringLiteral("dave"));
}

TEST_F(TestForumTest, KnownClientKeepsItsIdentityAndLosesItsOldToken)
{
    openSession();
    const QString firstToken = client->token;
    const QString clientId = client->clientId;
    const QString secret = client->secret;

    const ForumReply again = client->call(QStringLiteral("api_init"));
    client->adopt(again.json());
    EXPECT_EQ(client->clientId, clientId);
    EXPECT_EQ(client->secret, secret);
    EXPECT_NE(client->token, firstToken);
    EXPECT_EQ(forum.issuedTokenCount(), 2);

    ForumClient stale(forum.baseUrl());
    stale.clientId = clientId;
    stale.secret = secret;
    stale.token = firstToken;
    EXPECT_EQ(errormessage(stale.call(QStringLiteral("member"))).toString(), QStringLiteral("invalid_accesstoken"));
    EXPECT_EQ(client->call(QStringLiteral("member")).body, QByteArray(R"({"response":{}})"));
    // The other shape of a member's answer: the fields under "prepared".
    forum.setMemberFieldsUnderPrepared(true);
    const QJsonObject prepared = client->call(QStringLiteral("member"), "userid=5").response();
    EXPECT_EQ(prepared.keys(), (QStringList{QStringLiteral("prepared"), QStringLiteral("userid")}));
    EXPECT_EQ(prepared.value(QStringLiteral("prepared")).toObject().value(QStringLiteral("username")).toString(),
              QStringLiteral("dave"));
    forum.setMemberFieldsUnderPrepared(false);
    EXPECT_EQ(client->call(QStringLiteral("member"), "userid=5").response().value(QStringLiteral("username")).toString(),
              QStringLiteral("dave"));
}

TEST_F(TestForumTest, ControlsApplyToTheirCountOfMatchingCalls)
{
    openSession();
    forum.answerError(QStringLiteral("member"), QJsonArray{QStringLiteral("nopermission_loggedout"), QStringLiteral("x")});
    forum.answerInvalidSessionHash(QString(), 1);
    // The error for any method comes after the one for "member"; each is used once.
    EXPECT_EQ(errormessage(client->call(QStringLiteral("member"))).toArray().first().toString(),
              QStringLiteral("nopermission_loggedout"));
    EXPECT_EQ(errormessage(client->call(QStringLiteral("member"))).toString(), QStringLiteral("invalid_sessionhash"));
    EXPECT_EQ(client->call(QStringLiteral("member")).body, QByteArray(R"({"response":{}})"));
    // The other shape of a member's answer: the fields under "prepared".
    forum.setMemberFieldsUnderPrepared(true);
    const QJsonObject prepared = client->call(QStringLiteral("member"), "userid=5").response();
    EXPECT_EQ(prepared.keys(), (QStringList{QStringLiteral("prepared"), QStringLiteral("userid")}));
    EXPECT_EQ(prepared.value(QStringLiteral("prepared")).toObject().value(QStringLiteral("username")).toString(),
              QStringLiteral("dave"));
    forum.setMemberFieldsUnderPrepared(false);
    EXPECT_EQ(client->call(QStringLiteral("member"), "userid=5").response().value(QStringLiteral("username")).toString(),
              QStringLiteral("dave"));
    EXPECT_EQ(errormessage(client->call(QStringLiteral("nosuchmethod"))).toString(),
              QStringLiteral("invalid_api_method"));

    forum.closeForum(QStringLiteral("Upgrading"));
    EXPECT_EQ(errormessage(client->call(QStringLiteral("member"))),
              QJsonValue(QJsonArray{QStringLiteral("bbclosed"), QStringLiteral("Upgrading")}));
    ForumClient newcomer(forum.baseUrl());
    const QJsonObject init = newcomer.call(QStringLiteral("api_init")).json();
    EXPECT_EQ(init.value(QStringLiteral("bbactive")), QJsonValue(false));
    EXPECT_EQ(init.value(QStringLiteral("bbclosedreason")).toString(), QStringLiteral("Upgrading"));
    forum.openForum();

    forum.expireToken();
    EXPECT_EQ(errormessage(client->call(QStringLiteral("member"))).toString(), QStringLiteral("invalid_accesstoken"));
    EXPECT_FALSE(forum.isTokenValid(client->token));
}

TEST_F(TestForumTest, WrongSignaturesFailuresAndDroppedConnections)
{
    forum.registerClient(QStringLiteral("7"), QStringLiteral("sec456"), QStringLiteral("tok123"));
    const QString query = QStringLiteral("/api.php?api_c=7&api_v=6&api_m=member&api_s=tok123&userid=1&q=a+b%C3%A9"
                                         "&a%5B%5D=x&a0=y&api_sig=97744ad1a04385c5c764926b430b6e8a");
    forum.signWrongly(QStringLiteral("member"));
    const ForumReply misSigned = client->get(query);
    EXPECT_EQ(misSigned.status, 200);
    EXPECT_NE(misSigned.header(QStringLiteral("Authorization")), QStringLiteral("ca16f925a80e8edcfed8f174ce38f5e1"));
    EXPECT_EQ(client->get(query).header(QStringLiteral("Authorization")),
              QStringLiteral("ca16f925a80e8edcfed8f174ce38f5e1"));

    forum.answerHttpStatus(QStringLiteral("member"), 503, R"({"response":{"errormessage":"api_disabled"}})");
    const ForumReply unavailable = client->get(query);
    EXPECT_EQ(unavailable.status, 503);
    EXPECT_EQ(unavailable.body, QByteArray(R"({"response":{"errormessage":"api_disabled"}})"));

    forum.dropConnection(QString());
    const ForumReply dropped = client->get(query);
    EXPECT_TRUE(dropped.finished);
    EXPECT_NE(dropped.error, QNetworkReply::NoError);
    EXPECT_EQ(forum.requests().last().status, -1);
    EXPECT_EQ(client->get(query).status, 200);
}

TEST_F(TestForumTest, PicturesAnswerConditionalRequestsWith304)
{
    const ForumReply first = client->get(QStringLiteral("/images/alice.png"));
    ASSERT_EQ(first.status, 200);
    EXPECT_TRUE(first.body.startsWith("\x89PNG\r\n"));
    const QString date = first.header(QStringLiteral("Date"));
    EXPECT_EQ(date, forum.pictureDate(QStringLiteral("alice.png")));
    EXPECT_EQ(first.header(QStringLiteral("Last-Modified")), date);

    const ForumReply unchanged = client->get(QStringLiteral("/images/alice.png"), {{"If-Modified-Since", date.toLatin1()}});
    EXPECT_EQ(unchanged.status, 304);
    EXPECT_TRUE(unchanged.body.isEmpty());
    EXPECT_EQ(client->get(QStringLiteral("/images/alice.png"),
                          {{"If-Modified-Since", "Fri, 01 Jan 2100 00:00:00 GMT"}}).status, 304);

    // A changed picture is served in full to a client holding the old date.
    forum.setPicture(QStringLiteral("alice.png"), QByteArrayLiteral("new bytes"));
    const ForumReply changed = client->get(QStringLiteral("/images/alice.png"), {{"If-Modified-Since", date.toLatin1()}});
    EXPECT_EQ(changed.status, 200);
    EXPECT_EQ(changed.body, QByteArray("new bytes"));
    EXPECT_NE(changed.header(QStringLiteral("Date")), date);

    forum.failPicture(QStringLiteral("bob.png"), 404);
    forum.failPicture(QStringLiteral("bob.png"), 200);
    forum.omitPictureDate(QStringLiteral("bob.png"));
    EXPECT_EQ(client->get(QStringLiteral("/images/bob.png")).status, 404);
    const ForumReply notPicture = client->get(QStringLiteral("/images/bob.png"));
    EXPECT_EQ(notPicture.status, 200);
    EXPECT_FALSE(notPicture.body.startsWith("\x89PNG"));
    const ForumReply undated = client->get(QStringLiteral("/images/bob.png"));
    EXPECT_TRUE(undated.body.startsWith("\x89PNG"));
    EXPECT_TRUE(undated.header(QStringLiteral("Date")).isEmpty());
    EXPECT_EQ(client->get(QStringLiteral("/images/nosuch.png")).status, 404);
}

TEST_F(TestForumTest, ReadsMultipartBodiesAndLogsOnesItRefuses)
{
    const QByteArray type = "multipart/form-data; boundary=BB";
    // A line break before the first delimiter is a preamble and is accepted.
    const QByteArray body = "\r\n--BB\r\nContent-Disposition: form-data; name=\"up\"; filename=\"a.jpg\"\r\n"
                            "Content-Type: image/jpeg\r\n\r\nJPEG\r\n1\r\n--BB\r\n"
                            "Content-Disposition: form-data; name=\"up2\"; filename=\"b.jpg\"\r\n"
                            "Content-Type: image/jpeg\r\n\r\nB\r\n--BB\r\n"
                            "Content-Disposition: form-data; name=\"zeta\"\r\n\r\nfirst\r\n--BB\r\n"
                            "Content-Disposition: form-data; name=\"title\"\r\n\r\nHello & all";
    EXPECT_EQ(client->post(QStringLiteral("/api.php?api_v=6&api_m=api_init"), body + "\r\n--BB--\r\n", type).status, 200);
    const TestForumRequest received = forum.requests().last();
    ASSERT_EQ(received.uploads.size(), 2);
    EXPECT_EQ(received.uploads[0].parameterName, QStringLiteral("up"));
    EXPECT_EQ(received.uploads[0].fileName, QStringLiteral("a.jpg"));
    EXPECT_EQ(received.uploads[0].contentType, QStringLiteral("image/jpeg"));
    EXPECT_EQ(received.uploads[0].data, QByteArray("JPEG\r\n1"));
    EXPECT_EQ(received.uploads[1].data, QByteArray("B"));
    // Text fields in body order, and the body as it came.
    EXPECT_EQ(received.formPairs, (QList<QPair<QString, QString>>{{QStringLiteral("zeta"), QStringLiteral("first")},
                                                                  {QStringLiteral("title"), QStringLiteral("Hello & all")}}));
    EXPECT_EQ(received.body, body + "\r\n--BB--\r\n");

    // Without its closing delimiter the body is refused, like a strict server would.
    EXPECT_EQ(client->post(QStringLiteral("/api.php?api_v=6&api_m=api_init"), body, type).status, 400);
    EXPECT_EQ(forum.requests().last().status, 400);
    EXPECT_EQ(forum.requests().size(), 2);
}

}  // namespace
