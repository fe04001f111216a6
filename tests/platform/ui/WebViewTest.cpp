#include "UiTestSupport.h"

#include "platform/ui/Application.h"
#include "platform/ui/WebView.h"

#include "platform/foundation/AlertView.h"

namespace {

class LinkGate : public WebViewDelegate {
public:
    bool allow = false;
    QList<QUrl> asked;
    bool shouldStartLoadWithRequest(WebView*, const QUrl& url, WebViewNavigationType type) override
    {
        if (type == WebViewNavigationType::LinkClicked)
            asked.append(url);
        return allow;
    }
};

class Pictures : public WebImageProvider {
public:
    QList<QUrl> asked;
    std::function<void(const QImage&)> pending;
    QImage imageForUrl(const QUrl& url, std::function<void(const QImage&)> ready) override
    {
        asked.append(url);
        pending = std::move(ready);
        return QImage();
    }
};

class WebViewTest : public UiTest {
protected:
    void TearDown() override
    {
        Application::sharedApplication().setOpenURLHandler({});
        WebView::setImageProvider(nullptr);
        UiTest::TearDown();
    }
};

}  // namespace

TEST_F(WebViewTest, TheDelegateDecidesWhetherALinkIsFollowed)
{
    QList<QUrl> opened;
    Application::sharedApplication().setOpenURLHandler([&opened](const QUrl& url) {
        opened.append(url);
        return true;
    });
    LinkGate gate;
    auto* web = new WebView(QRectF(0, 20, 320, 400));
    web->setDelegate(&gate);
    window->addSubview(web);
    web->loadHTMLString(QStringLiteral("<p>See <a href=\"showthread.php?t=5\">the thread</a>.</p>"),
                        QUrl(QStringLiteral("http://forum.example/")));
    EXPECT_EQ(web->shownText(), QStringLiteral("See the thread."));

    web->clickLink(QUrl(QStringLiteral("showthread.php?t=5")));
    ASSERT_EQ(gate.asked.size(), 1);
    EXPECT_EQ(gate.asked[0], QUrl(QStringLiteral("http://forum.example/showthread.php?t=5")));
    EXPECT_TRUE(opened.isEmpty()) << "a refused link goes nowhere";
    EXPECT_EQ(web->shownText(), QStringLiteral("See the thread."));

    gate.allow = true;
    web->clickLink(QUrl(QStringLiteral("mu:thread/5")));
    EXPECT_EQ(opened, QList<QUrl>({QUrl(QStringLiteral("mu:thread/5"))}));
}

TEST_F(WebViewTest, APageNeverRunsAScript)
{
    auto* web = new WebView(QRectF(0, 20, 320, 400));
    window->addSubview(web);
    const int alertsBefore = AlertView::shownCount();
    web->loadHTMLString(QStringLiteral("<html><head><script>alert('boo');</script></head>"
                                       "<body onload=\"alert('load')\"><p>Hello</p>"
                                       "<SCRIPT type='text/javascript'>document.write('injected')</SCRIPT>"
                                       "<img src=\"x.png\" onerror=\"alert(1)\"></body></html>"),
                        QUrl(QStringLiteral("http://forum.example/")));
    EXPECT_EQ(web->stringByEvaluatingJavaScriptFromString(QStringLiteral("window.alert=null; 1+1")), QString());
    EXPECT_EQ(AlertView::shownCount(), alertsBefore);
    EXPECT_FALSE(web->shownText().contains(QStringLiteral("boo")));
    EXPECT_FALSE(web->shownText().contains(QStringLiteral("injected")));
    EXPECT_TRUE(web->shownText().contains(QStringLiteral("Hello")));
    EXPECT_FALSE(WebView::withoutScripts(QStringLiteral("<b onclick='x()'>t</b>")).contains(QStringLiteral("onclick")));
}

TEST_F(WebViewTest, PicturesComeThroughTheInstalledProvider)
{
    auto pictures = std::make_shared<Pictures>();
    WebView::setImageProvider(pictures);
    auto* web = new WebView(QRectF(0, 20, 320, 400));
    window->addSubview(web);
    web->loadHTMLString(QStringLiteral("<p><img src=\"attachment.php?id=3\"></p>"),
                        QUrl(QStringLiteral("http://forum.example/forum/")));
    ASSERT_FALSE(pictures->asked.isEmpty());
    EXPECT_EQ(pictures->asked.first(), QUrl(QStringLiteral("http://forum.example/forum/attachment.php?id=3")));
    ASSERT_TRUE(pictures->pending);
    QImage picture(40, 30, QImage::Format_ARGB32);
    picture.fill(Qt::red);
    pictures->pending(picture);
    web->deleteLater();
    turnEventLoop();
    // A picture arriving for a page that has gone is dropped quietly.
    pictures->pending(picture);
}
