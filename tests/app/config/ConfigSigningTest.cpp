#include "app/config/Config.h"
#include "app/net/SessionCredentials.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/Log.h"

#include <gtest/gtest.h>

namespace {

class TestCredentials : public SessionCredentials {
public:
    QString token;
    QString clientId;
    QString secretText;

    QString apiaccesstoken() const override { return token; }
    QString apiclientid() const override { return clientId; }
    QString secret() const override { return secretText; }
};

const QString kBase = QStringLiteral("http://forum.test/base");

class ConfigSigningTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // One trailing slash on the setting must not double the separator.
        Bundle::main().setInfoValue(QStringLiteral("ZtServerBaseUrl"), Value(kBase + u'/'));
        user.token = QStringLiteral("tok123");
        user.clientId = QStringLiteral("cl9");
        user.secretText = QStringLiteral("sec");
        SessionCredentials::setCurrent(&user);
    }

    Config& config() { return Config::getInstance(); }

    TestCredentials user;
};

TEST_F(ConfigSigningTest, WithoutSessionEveryCallOpensTheSession)
{
    const QString expected = kBase + QStringLiteral("/api.php?api_v=6&api_m=api_init");
    const ValueDict params{{QStringLiteral("threadid"), Value(QStringLiteral("5"))}};

    SessionCredentials::setCurrent(nullptr);
    EXPECT_EQ(config().URLTextWithString(QStringLiteral("showthread"), params), expected);

    // A missing secret means no session; the registered object going away too.
    user.secretText = QString();
    SessionCredentials::setCurrent(&user);
    EXPECT_EQ(config().URLWithString(QStringLiteral("showthread"), params).toString(QUrl::FullyEncoded), expected);
    {
        TestCredentials gone;
        gone.token = gone.clientId = gone.secretText = QStringLiteral("x");
        SessionCredentials::setCurrent(&gone);
    }
    EXPECT_EQ(SessionCredentials::current(), nullptr);
    EXPECT_EQ(config().URLTextWithString(QStringLiteral("showthread"), params), expected);
}

TEST_F(ConfigSigningTest, GetSignsSortedParametersWithMethod)
{
    ValueDict params;
    params.insert(QStringLiteral("threadid"), Value(QStringLiteral("42")));
    params.insert(QStringLiteral("page"), Value(2));
    params.insert(QStringLiteral("pp"), Value(QStringLiteral("a b&c")));
    params.insert(QStringLiteral("Zeta"), Value(QStringLiteral("z")));

    // Signed text: Zeta=z&api_m=showthread&page=2&pp=a+b&c&threadid=42 tok123 cl9 sec Qw7rTz2k
    EXPECT_EQ(config().URLTextWithString(QStringLiteral("showthread"), params),
              kBase + QStringLiteral("/api.php?api_c=cl9&api_v=6&api_m=showthread&api_s=tok123"
                                     "&threadid=42&page=2&pp=a+b&c&Zeta=z"
                                     "&api_sig=4f680826efeaf87f31451e611b9b3de5"));
}

TEST_F(ConfigSigningTest, PostSignsTheMethodAlone)
{
    EXPECT_EQ(config().URLWithString(QStringLiteral("login_login")).toString(QUrl::FullyEncoded),
              kBase + QStringLiteral("/api.php?api_c=cl9&api_v=6&api_m=login_login&api_s=tok123"
                                     "&api_sig=3432c0778b45cc6d22420a188ba74ec5"));
    EXPECT_EQ(config().getServerRequestSignature(QStringLiteral("login_login"), ValueDict(), &user),
              QStringLiteral("3432c0778b45cc6d22420a188ba74ec5"));

    // An empty token is still a session.
    user.token = QStringLiteral("");
    EXPECT_EQ(config().URLTextWithString(QStringLiteral("login_login"), ValueDict()),
              kBase + QStringLiteral("/api.php?api_c=cl9&api_v=6&api_m=login_login&api_s="
                                     "&api_sig=3b7e3ac9b203b00caa6cbe33864b9ce3"));
}

TEST_F(ConfigSigningTest, ValuesWithoutTextFormAreLeftOut)
{
    Log::clearRecent();
    ValueDict params;
    params.insert(QStringLiteral("a"), Value(QStringLiteral("1")));
    params.insert(QStringLiteral("list"), Value(ValueList{Value(1)}));
    params.insert(QStringLiteral("n"), Value::null());
    params.insert(QStringLiteral("b"), Value(true));
    params.insert(QStringLiteral("d"), Value(ValueDict()));

    EXPECT_EQ(config().URLTextWithString(QStringLiteral("m"), params),
              kBase + QStringLiteral("/api.php?api_c=cl9&api_v=6&api_m=m&api_s=tok123&a=1&b=1"
                                     "&api_sig=45bf75453598b2d6edcaa482ed1540b3"));
    EXPECT_TRUE(Log::recent().join(u'\n').contains(QStringLiteral("'list'")));
}

TEST_F(ConfigSigningTest, EncodingKeepsOnlyTheSafeSet)
{
    EXPECT_EQ(Config::encodeString(QStringLiteral("a b!$&'()*+,-./:;=?@_~Z9")),
              QStringLiteral("a+b!$&'()*+,-./:;=?@_~Z9"));
    EXPECT_EQ(Config::encodeString(QStringLiteral("%\"#<>[\\]^`{|}")),
              QStringLiteral("%25%22%23%3C%3E%5B%5C%5D%5E%60%7B%7C%7D"));
    EXPECT_EQ(Config::encodeString(QString::fromUtf8("é€😀\n\t")), QStringLiteral("%C3%A9%E2%82%AC%F0%9F%98%80%0A%09"));
}

TEST_F(ConfigSigningTest, AddressSurvivesAsUrlByteForByte)
{
    const ValueDict params{{QStringLiteral("k"), Value(QString::fromUtf8("[x] 100% #f é 1+1&x=&y"))}};
    const QString expected = kBase + QStringLiteral("/api.php?api_c=cl9&api_v=6&api_m=m&api_s=tok123"
                                                    "&k=%5Bx%5D+100%25+%23f+%C3%A9+1+1&x=&y"
                                                    "&api_sig=f108f4d51938140ed833d0566bfd5607");
    EXPECT_EQ(config().URLTextWithString(QStringLiteral("m"), params), expected);
    const QUrl url = config().URLWithString(QStringLiteral("m"), params);
    EXPECT_TRUE(url.isValid());
    EXPECT_TRUE(url.fragment().isNull());
    EXPECT_EQ(url.toString(QUrl::FullyEncoded), expected);
}

TEST_F(ConfigSigningTest, ResponseSignature)
{
    const QByteArray body = QByteArrayLiteral("{\"response\":{\"x\":1}}");
    EXPECT_EQ(config().signatureForResponse(body), QStringLiteral("47a38deb834092452f28e236a995bbc0"));

    // Bytes that are no UTF-8 (also a sequence cut off at the end) have no signature.
    EXPECT_TRUE(config().signatureForResponse(QByteArrayLiteral("{\"a\":\"\xff\xfe\"}")).isNull());
    EXPECT_TRUE(config().signatureForResponse(QByteArrayLiteral("{\"a\":1}\xc3")).isNull());

    user.token = QString();
    EXPECT_TRUE(config().signatureForResponse(body).isNull());
}

TEST_F(ConfigSigningTest, ResigningUsesTheCurrentTokenAndKeepsValues)
{
    const ValueDict params{{QStringLiteral("q"), Value(QString::fromUtf8("é x"))},
                           {QStringLiteral("t"), Value(7)}};
    const QUrl first = config().URLWithString(QStringLiteral("search"), params);
    EXPECT_EQ(first.toString(QUrl::FullyEncoded),
              kBase + QStringLiteral("/api.php?api_c=cl9&api_v=6&api_m=search&api_s=tok123&q=%C3%A9+x&t=7"
                                     "&api_sig=50f3a1bf1507e952b382fd346735f536"));

    user.token = QStringLiteral("new");
    // "api_m" is named twice in the query and signed once.
    EXPECT_EQ(config().URLwithCurrentAccessTokenForURL(first).toString(QUrl::FullyEncoded),
              kBase + QStringLiteral("/api.php?api_c=cl9&api_v=6&api_m=search&api_s=new"
                                     "&api_m=search&q=%C3%A9+x&t=7"
                                     "&api_sig=e9aff84d7ddeb9462cb599ace5b0c6f1"));

    // Later pairs win; segments without a key before "=" are dropped.
    const QUrl handmade(QStringLiteral("http://elsewhere/api.php?q=old&api_m=search&=zz&junk&api_sig=1"
                                       "&q=%C3%A9+x&t=7&api_v=5"));
    EXPECT_EQ(config().URLwithCurrentAccessTokenForURL(handmade).toString(QUrl::FullyEncoded),
              kBase + QStringLiteral("/api.php?api_c=cl9&api_v=6&api_m=search&api_s=new"
                                     "&q=%C3%A9+x&api_m=search&t=7"
                                     "&api_sig=e9aff84d7ddeb9462cb599ace5b0c6f1"));
}

TEST_F(ConfigSigningTest, ExtractsTheAccessToken)
{
    EXPECT_EQ(Config::extractApiAccessTokenFromURL(QUrl(QStringLiteral("http://h/api.php?api_c=1&API_S=abc&x=1"))),
              QStringLiteral("abc"));
    EXPECT_EQ(Config::extractApiAccessTokenFromURL(QUrl(QStringLiteral("http://h/api.php?api_v=6&api_s=t9"))),
              QStringLiteral("t9"));

    const QString empty = Config::extractApiAccessTokenFromURL(QUrl(QStringLiteral("http://h/api.php?api_c=1&api_s=")));
    EXPECT_TRUE(empty.isEmpty());
    EXPECT_FALSE(empty.isNull());

    EXPECT_TRUE(Config::extractApiAccessTokenFromURL(QUrl(QStringLiteral("http://h/api.php?api_v=6"))).isNull());
}

}  // namespace
