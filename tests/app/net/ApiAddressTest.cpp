#include "AppTest.h"

#include "app/net/ApiAddress.h"
#include "app/net/SessionCredentials.h"
#include "platform/foundation/Bundle.h"

#include <QCryptographicHash>
#include <QMap>

namespace {

class TestCredentials : public SessionCredentials {
public:
    QString token = QStringLiteral("tok123");
    QString clientId = QStringLiteral("cl9");
    QString secretText = QStringLiteral("sec");

    QString apiaccesstoken() const override { return token; }
    QString apiclientid() const override { return clientId; }
    QString secret() const override { return secretText; }
};

const QString kBase = QStringLiteral("http://forum.test/base");

QString md5(const QString& text)
{
    return QString::fromLatin1(QCryptographicHash::hash(text.toUtf8(), QCryptographicHash::Md5).toHex());
}

// A query value as a forum decodes it: "+" is a space, then the escapes.
QString forumDecoded(QString encoded)
{
    encoded.replace(u'+', u' ');
    return QString::fromUtf8(QByteArray::fromPercentEncoding(encoded.toUtf8()));
}

// What a forum does with a query: the pairs decoded, encoded again the
// protocol's way, sorted and signed with the session's values.
QString forumSignatureOf(const QUrl& url, const QString& credentials, QMap<QString, QString>* decoded)
{
    QStringList pairs;
    for (const QString& piece : url.query(QUrl::FullyEncoded).split(u'&')) {
        const QString key = piece.section(u'=', 0, 0);
        const QString value = forumDecoded(piece.section(u'=', 1));
        decoded->insert(key, value);
        if (key == u"api_c" || key == u"api_v" || key == u"api_s" || key == u"api_sig")
            continue;
        pairs.append(key + u'='
                     + QString::fromLatin1(QString(value).replace(u' ', u'+').toUtf8().toPercentEncoding("!$&'()*+,/:;=?@")));
    }
    pairs.sort();
    return md5(pairs.join(u'&') + credentials);
}

class ApiAddressTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        // One trailing slash on the setting must not double the separator.
        Bundle::main().setInfoValue(QStringLiteral("ZtServerBaseUrl"), Value(kBase + u'/'));
        SessionCredentials::setCurrent(&user);
    }

    TestCredentials user;
};

}  // namespace

TEST_F(ApiAddressTest, WithoutSessionEveryCallOpensTheSession)
{
    const QString expected = kBase + QStringLiteral("/api.php?api_v=6&api_m=api_init");
    const ValueDict params{{QStringLiteral("threadid"), Value(QStringLiteral("5"))}};

    SessionCredentials::setCurrent(nullptr);
    EXPECT_EQ(ApiAddress::URLTextWithString(QStringLiteral("showthread"), params), expected);
    // A missing secret means no session; so does the registered object going away.
    user.secretText = QString();
    SessionCredentials::setCurrent(&user);
    EXPECT_EQ(ApiAddress::URLWithString(QStringLiteral("showthread"), params).toString(QUrl::FullyEncoded), expected);
    {
        TestCredentials gone;
        SessionCredentials::setCurrent(&gone);
    }
    EXPECT_EQ(ApiAddress::URLTextWithString(QStringLiteral("showthread"), params), expected);
}

TEST_F(ApiAddressTest, GetSignsItsSortedParametersWithTheMethodAndPostTheMethodAlone)
{
    ValueDict params;
    params.insert(QStringLiteral("threadid"), Value(QStringLiteral("42")));
    params.insert(QStringLiteral("page"), Value(2));
    params.insert(QStringLiteral("pp"), Value(QStringLiteral("x y")));
    params.insert(QStringLiteral("Zeta"), Value(QStringLiteral("z")));
    params.insert(QStringLiteral("list"), Value(ValueList{Value(1)}));  // no text form: left out, logged
    params.insert(QStringLiteral("b"), Value(true));
    EXPECT_EQ(ApiAddress::URLTextWithString(QStringLiteral("showthread"), params),
              kBase + QStringLiteral("/api.php?api_c=cl9&api_v=6&api_m=showthread&api_s=tok123"
                                     "&threadid=42&page=2&pp=x+y&Zeta=z&b=1&api_sig=")
                  + md5(QStringLiteral("Zeta=z&api_m=showthread&b=1&page=2&pp=x+y&threadid=42tok123cl9secQw7rTz2k")));
    EXPECT_TRUE(logged(QStringLiteral("'list'")));

    const QString post = md5(QStringLiteral("api_m=login_logintok123cl9secQw7rTz2k"));
    EXPECT_EQ(ApiAddress::URLWithString(QStringLiteral("login_login")).toString(QUrl::FullyEncoded),
              kBase + QStringLiteral("/api.php?api_c=cl9&api_v=6&api_m=login_login&api_s=tok123&api_sig=") + post);
    EXPECT_EQ(ApiAddress::getServerRequestSignature(QStringLiteral("login_login"), ValueDict(), &user), post);
    // An empty token is still a session.
    user.token = QStringLiteral("");
    EXPECT_EQ(ApiAddress::URLTextWithString(QStringLiteral("login_login"), ValueDict()),
              kBase + QStringLiteral("/api.php?api_c=cl9&api_v=6&api_m=login_login&api_s=&api_sig=")
                  + md5(QStringLiteral("api_m=login_logincl9secQw7rTz2k")));
}

TEST_F(ApiAddressTest, AmpersandsEqualsAndPlusesOfAValueReachTheForumIntact)
{
    // A tag or a user name from a link: in the address "&", "=" and "+" are
    // escaped (a space stays "+"); the signature keeps the protocol's text.
    const QString text = QString::fromUtf8("a b&c=d+e é [x] 100% #f");
    const ValueDict params{{QStringLiteral("tag"), Value(text)}};
    const QUrl url = ApiAddress::URLWithString(QStringLiteral("search"), params);
    EXPECT_EQ(url.toString(QUrl::FullyEncoded),
              kBase + QStringLiteral("/api.php?api_c=cl9&api_v=6&api_m=search&api_s=tok123"
                                     "&tag=a+b%26c%3Dd%2Be+%C3%A9+%5Bx%5D+100%25+%23f&api_sig=")
                  + md5(QStringLiteral("api_m=search&tag=a+b&c=d+e+%C3%A9+%5Bx%5D+100%25+%23ftok123cl9secQw7rTz2k")));
    EXPECT_TRUE(url.fragment().isNull());
    QMap<QString, QString> decoded;
    const QString forumSignature = forumSignatureOf(url, QStringLiteral("tok123cl9secQw7rTz2k"), &decoded);
    EXPECT_EQ(decoded.value(QStringLiteral("tag")), text);
    EXPECT_EQ(forumSignature, decoded.value(QStringLiteral("api_sig")));

    // Encoding for the signature keeps exactly the safe set.
    EXPECT_EQ(ApiAddress::encodeString(QStringLiteral("a b!$&'()*+,-./:;=?@_~Z9")),
              QStringLiteral("a+b!$&'()*+,-./:;=?@_~Z9"));
    EXPECT_EQ(ApiAddress::encodeString(QString::fromUtf8("%\"#<>[\\]^`{|}é€😀\n")),
              QStringLiteral("%25%22%23%3C%3E%5B%5C%5D%5E%60%7B%7C%7D%C3%A9%E2%82%AC%F0%9F%98%80%0A"));
}

TEST_F(ApiAddressTest, ResponseSignature)
{
    const QByteArray body = QByteArrayLiteral("{\"response\":{\"x\":1}}");
    EXPECT_EQ(ApiAddress::signatureForResponse(body),
              md5(QString::fromUtf8(body) + QStringLiteral("tok123cl9secQw7rTz2k")));
    // Bytes that are no UTF-8 (also a sequence cut off at the end) have no signature.
    EXPECT_TRUE(ApiAddress::signatureForResponse(QByteArrayLiteral("{\"a\":\"\xff\xfe\"}")).isNull());
    EXPECT_TRUE(ApiAddress::signatureForResponse(QByteArrayLiteral("{\"a\":1}\xc3")).isNull());
    user.token = QString();
    EXPECT_TRUE(ApiAddress::signatureForResponse(body).isNull());
}

TEST_F(ApiAddressTest, ResigningTakesTheCurrentTokenAndKeepsTheValues)
{
    const ValueDict params{{QStringLiteral("q"), Value(QString::fromUtf8("é x+1"))}, {QStringLiteral("t"), Value(7)}};
    const QUrl first = ApiAddress::URLWithString(QStringLiteral("search"), params);
    user.token = QStringLiteral("new");
    const QString resigned = md5(QStringLiteral("api_m=search&q=%C3%A9+x+1&t=7newcl9secQw7rTz2k"));
    // "api_m" is named twice in the query and signed once.
    EXPECT_EQ(ApiAddress::URLwithCurrentAccessTokenForURL(first).toString(QUrl::FullyEncoded),
              kBase + QStringLiteral("/api.php?api_c=cl9&api_v=6&api_m=search&api_s=new&api_m=search&q=%C3%A9+x%2B1&t=7"
                                     "&api_sig=") + resigned);
    // Later pairs win; segments without a key before "=" are dropped.
    const QUrl handmade(QStringLiteral("http://elsewhere/api.php?q=old&api_m=search&=zz&junk&api_sig=1"
                                       "&q=%C3%A9+x%2B1&t=7&api_v=5"));
    EXPECT_EQ(ApiAddress::URLwithCurrentAccessTokenForURL(handmade).toString(QUrl::FullyEncoded),
              kBase + QStringLiteral("/api.php?api_c=cl9&api_v=6&api_m=search&api_s=new&q=%C3%A9+x%2B1&api_m=search"
                                     "&t=7&api_sig=") + resigned);
}

TEST_F(ApiAddressTest, TheTokenIsReadOutOfAnAddressAndKeptOutOfTheLog)
{
    EXPECT_EQ(ApiAddress::extractApiAccessTokenFromURL(QUrl(QStringLiteral("http://h/api.php?api_c=1&API_S=abc&x=1"))),
              QStringLiteral("abc"));
    const QString empty = ApiAddress::extractApiAccessTokenFromURL(QUrl(QStringLiteral("http://h/api.php?api_s=")));
    EXPECT_TRUE(empty.isEmpty());
    EXPECT_FALSE(empty.isNull());
    EXPECT_TRUE(ApiAddress::extractApiAccessTokenFromURL(QUrl(QStringLiteral("http://h/api.php?api_v=6"))).isNull());

    EXPECT_EQ(ApiAddress::redactedForLog(QStringLiteral("http://h/api.php?api_c=1&api_s=tok&x=1&API_SIG=0f1e")),
              QStringLiteral("http://h/api.php?api_c=1&api_s=(hidden)&x=1&API_SIG=(hidden)"));
}

TEST_F(ApiAddressTest, ImageAddresses)
{
    EXPECT_EQ(ApiAddress::imageURLStringWithString(QStringLiteral("images/a.png")), kBase + QStringLiteral("/images/a.png"));
    EXPECT_EQ(ApiAddress::imageURLWithString(QStringLiteral("HTTPS://cdn.test/a.png")).host(), u"cdn.test");
    EXPECT_EQ(ApiAddress::imageURLWithString(QStringLiteral("a b.png")).toString(QUrl::FullyEncoded),
              kBase + QStringLiteral("/a%20b.png"));
}
