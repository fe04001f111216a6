#include "AppTest.h"

#include "app/net/HTTPRequest.h"

using HTTPRequestBody = AppTest;
using HTTPResponseTest = AppTest;
using HTTPRequestCallbacks = AppTest;

namespace {

QString t(const char16_t* text)
{
    return QString::fromUtf16(text);
}

QByteArray bodyOf(const ValueDict& parameters)
{
    HTTPRequest request;
    request.addParameters(parameters);
    return request.getPostData();
}

class Receiver : public virtual Trackable {
public:
    void succeeded(const std::shared_ptr<HTTPRequest>& request) { ++successes, last = request.get(); }
    void failed(const std::shared_ptr<HTTPRequest>& request) { ++failures, last = request.get(); }

    int successes = 0;
    int failures = 0;
    HTTPRequest* last = nullptr;
};

std::shared_ptr<HTTPRequest> requestFor(Receiver* receiver)
{
    auto request = std::make_shared<HTTPRequest>();
    request->setCallbackObject(receiver);
    request->setSuccessSelector(SELECTOR(Receiver, succeeded));
    request->setFailureSelector(SELECTOR(Receiver, failed));
    return request;
}

}  // namespace

TEST_F(HTTPRequestBody, FormBodyEscapesValuesAndKeepsOrder)
{
    EXPECT_EQ(bodyOf({{t(u"q"), u"a b+c&d"}}), QByteArray("q=a%20b%2Bc%26d"));
    EXPECT_EQ(bodyOf({{t(u"ids"), ValueList{Value(3), Value(4)}}}), QByteArray("ids[]=3&ids[]=4"));

    // A number at the top gives nothing but keeps its "&"; list numbers are
    // written as integers; list elements of other kinds are left out.
    const ValueDict mixed{
        {t(u"first"), u"\u00e9/%?~'"},
        {t(u"gone"), Value(5)},
        {t(u"ids"), ValueList{Value(3), Value(4.9), Value(u"x y"), Value(ValueDict{})}},
        {t(u"last"), u"<\"#>"},
    };
    EXPECT_EQ(bodyOf(mixed), QByteArray("first=%C3%A9/%25?~'&&ids[]=3&ids[]=4&ids[]=x%20y&last=%3C%22%23%3E"));
}

TEST_F(HTTPRequestBody, ParametersRawTextAndNothing)
{
    HTTPRequest raw;
    raw.setPostData(QString::fromUtf16(u"a b+c&d=\"\u00e9"));
    EXPECT_EQ(raw.getPostData(), QByteArray("a%20b+c%26d=%22%C3%A9"));

    // An empty dictionary still wins over raw text, and gives no bytes.
    HTTPRequest empty;
    empty.setPostData(QStringLiteral("ignored"));
    empty.addParameters({});
    ASSERT_TRUE(empty.postParameters().has_value());
    EXPECT_TRUE(empty.getPostData().isEmpty());

    HTTPRequest single;
    single.addParameter(QStringLiteral("n"), Value(5));
    EXPECT_FALSE(single.postParameters().has_value());
    EXPECT_TRUE(single.getPostData().isNull());
    single.addParameter(QStringLiteral("s"), Value(u"t"));
    EXPECT_EQ(single.getPostData(), QByteArray("s=t"));
}

TEST_F(HTTPRequestBody, MultipartIsWellFormedAndSameFileNameReplaces)
{
    HTTPRequest request;
    request.addFile(QStringLiteral("file"), QStringLiteral("a.jpg"), "AAA", QStringLiteral("image/jpeg"));
    request.addFile(QStringLiteral("other"), QStringLiteral("b.png"), "BB", QStringLiteral("image/png"));
    request.addFile(QStringLiteral("file2"), QStringLiteral("a.jpg"), "CCC", QStringLiteral("image/gif"));
    request.addParameters({{t(u"x"), u"1 2&"}, {t(u"skip"), ValueList{Value(1)}}, {t(u"n"), Value(7)}});

    const QByteArray expected =
        "\r\n-----------------------------14737809831466499882746641449\r\n"
        "Content-Disposition: form-data; name=\"file2\"; filename=\"a.jpg\"\r\n"
        "Content-Type: image/gif\r\n\r\n"
        "CCC"
        "\r\n-----------------------------14737809831466499882746641449\r\n"
        "Content-Disposition: form-data; name=\"other\"; filename=\"b.png\"\r\n"
        "Content-Type: image/png\r\n\r\n"
        "BB"
        "\r\n-----------------------------14737809831466499882746641449\r\n"
        "Content-Disposition: form-data; name=\"x\"\r\n\r\n"
        "1 2&"
        "\r\n-----------------------------14737809831466499882746641449\r\n"
        "Content-Disposition: form-data; name=\"n\"\r\n\r\n"
        "7"
        "\r\n-----------------------------14737809831466499882746641449--\r\n";
    EXPECT_EQ(request.getPostData(), expected);
    EXPECT_EQ(request.boundary(), QStringLiteral("---------------------------14737809831466499882746641449"));

    HTTPRequest custom;
    custom.setBoundary(QStringLiteral("XYZ"));
    custom.addFile(QStringLiteral("f"), QStringLiteral("f.txt"), "1", QStringLiteral("text/plain"));
    EXPECT_EQ(custom.getPostData(), QByteArray("\r\n--XYZ\r\n"
                                               "Content-Disposition: form-data; name=\"f\"; filename=\"f.txt\"\r\n"
                                               "Content-Type: text/plain\r\n\r\n"
                                               "1"
                                               "\r\n--XYZ--\r\n"));
}

TEST_F(HTTPResponseTest, HeaderLookupIgnoresCase)
{
    const HTTPResponse response(200, {{"Content-Type", "text/plain"}, {"authorization", "abc"}});
    EXPECT_EQ(response.headerValue(QStringLiteral("Authorization")), QStringLiteral("abc"));
    EXPECT_EQ(response.headerValue(QStringLiteral("CONTENT-type")), QStringLiteral("text/plain"));
    EXPECT_TRUE(response.headerValue(QStringLiteral("UDID")).isNull());
}

TEST_F(HTTPRequestCallbacks, EachFiresOnceAndNeedsBothObjectAndSelector)
{
    Receiver receiver;
    auto request = requestFor(&receiver);
    request->callSuccess();
    request->callSuccess();
    // The callback object went with the first call.
    request->callFailure();
    EXPECT_EQ(receiver.successes, 1);
    EXPECT_EQ(receiver.failures, 0);
    EXPECT_EQ(receiver.last, request.get());

    auto noSelector = requestFor(&receiver);
    noSelector->setSuccessSelector(Selector());
    noSelector->callSuccess();
    EXPECT_EQ(receiver.successes, 1);
    // The object is kept for the other selector.
    noSelector->callFailure();
    EXPECT_EQ(receiver.failures, 1);

    std::shared_ptr<HTTPRequest> orphan;
    {
        Receiver gone;
        orphan = requestFor(&gone);
    }
    EXPECT_EQ(orphan->callbackObject(), nullptr);
    orphan->callSuccess();  // must not reach the destroyed receiver
}
