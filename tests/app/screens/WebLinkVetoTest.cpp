#include "AppTest.h"

#include "app/navigation/OutsideLink.h"
#include "app/screens/WebLinkVeto.h"

#include "platform/ui/Application.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/ViewControllerRegistry.h"
#include "platform/ui/WebView.h"

#include "platform/foundation/Bundle.h"

#include <QList>

namespace {

class WebLinkVetoTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        Application::sharedApplication().setOpenURLHandler([this](const QUrl& url) {
            opened.append(url);
            return desktopOpens;
        });
    }
    void TearDown() override
    {
        Application::sharedApplication().setOpenURLHandler({});
        ViewControllerRegistry::unregisterClass(QStringLiteral("ForumController"));
        AppTest::TearDown();
    }
    static QString text(const char* key) { return Bundle::main().localizedString(QString::fromLatin1(key)); }
    // A tap on the link, by its address alone.
    bool tapped(const QString& link)
    {
        return WebLinkVeto::shouldStartLoad(context(), nullptr, nullptr, QUrl(link),
                                            WebViewNavigationType::LinkClicked);
    }

    // The messages of the alerts shown since the last call, joined (one per line).
    QString newAlerts()
    {
        const QStringList all = alertMessages();
        const QString since = all.mid(m_seen).join(u'\n');
        m_seen = all.size();
        dismissAlerts();
        return since;
    }
    static QString times(int count, const char* key) { return QStringList(count, text(key)).join(u'\n'); }

    QList<QUrl> opened;
    bool desktopOpens = true;

private:
    qsizetype m_seen = 0;
};

}  // namespace

TEST_F(WebLinkVetoTest, WebLinksLeaveTheApplicationAndEverythingElseIsRefusedWithAWord)
{
    // The page itself, and whatever it loads without a tap, loads.
    EXPECT_TRUE(WebLinkVeto::shouldStartLoad(context(), nullptr, nullptr, QUrl(QStringLiteral("http://forum.example/")),
                                             WebViewNavigationType::Other));
    EXPECT_TRUE(opened.isEmpty());

    // A tapped web link, in any case of its scheme, goes to the desktop and
    // never loads in the page.
    EXPECT_FALSE(tapped(QStringLiteral("http://example.org/maps")));
    EXPECT_FALSE(tapped(QStringLiteral("HTTPS://example.org/Route")));
    ASSERT_EQ(opened.size(), 2);
    EXPECT_EQ(opened.at(1).host(), QStringLiteral("example.org"));
    EXPECT_TRUE(OutsideLink::isWebAddress(opened.at(1)));
    EXPECT_EQ(newAlerts(), QString());

    // The desktop could not open it: the member is told.
    desktopOpens = false;
    EXPECT_FALSE(tapped(QStringLiteral("http://example.org/maps")));
    EXPECT_EQ(newAlerts(), text("link_not_opened"));

    // Local files, mail, scripts and every other scheme never reach the
    // desktop, nor the page: each is refused with a word. (The desktop's own
    // opener refuses them too, and so does the desktop's last try below.)
    opened.clear();
    const QStringList refused{QStringLiteral("file:///etc/passwd"), QStringLiteral("FILE:/home/alice/.ssh/id_rsa"),
                              QStringLiteral("mailto:carol@example.org"), QStringLiteral("javascript:alert(1)"),
                              QStringLiteral("ftp://example.org/x"), QStringLiteral("smb://host/share"),
                              QStringLiteral("http:no-host")};
    for (const QString& link : refused) {
        EXPECT_FALSE(tapped(link)) << link.toStdString();
        EXPECT_FALSE(OutsideLink::open(QUrl(link))) << link.toStdString();
        EXPECT_FALSE(Application::sharedApplication().openURL(QUrl(link))) << link.toStdString();
    }
    EXPECT_TRUE(opened.isEmpty());
    desktopOpens = true;
    EXPECT_TRUE(Application::sharedApplication().openURL(QUrl(QStringLiteral("https://example.org/"))));
    EXPECT_EQ(opened.size(), 1);
    EXPECT_EQ(newAlerts(), times(2 * int(refused.size()), "link_refused"));

    // An anchor of the page is the page's own: it scrolls there.
    EXPECT_TRUE(tapped(QStringLiteral("#top")));
}

namespace {

// A screen showing a page, whose links go through the veto.
class PageScreen : public ViewController, public WebViewDelegate {
public:
    explicit PageScreen(AppContext& context) : m_context(context) {}
    bool shouldStartLoadWithRequest(WebView* webView, const QUrl& url, WebViewNavigationType type) override
    {
        return WebLinkVeto::shouldStartLoad(m_context, this, webView, url, type);
    }

private:
    AppContext& m_context;
};

}  // namespace

TEST_F(WebLinkVetoTest, InAppLinksOpenTheirScreenOnThePagesStackOrSayTheyLeadNowhere)
{
    auto page = std::make_shared<PageScreen>(context());
    const auto navigation = NavigationController::create(page);
    ViewControllerRegistry::registerClass<ViewController>(QStringLiteral("ForumController"));
    WebView web(QRectF(0, 0, 320, 200));
    web.setDelegate(page.get());
    web.loadHTMLString(QStringLiteral("<a href='mu:forum'>forums</a>"), QUrl(QStringLiteral("http://forum.example/")));

    web.clickLink(QStringLiteral("mu:forum"));
    ASSERT_EQ(navigation->viewControllers().size(), 2);
    EXPECT_NE(navigation->topViewController(), page.get());
    EXPECT_TRUE(opened.isEmpty());
    EXPECT_EQ(newAlerts(), QString());

    // A command the application does not know, and an in-app link without
    // what it needs, open nothing but say so; the desktop never sees them.
    for (const char* link : {"mu:teleport", "mu:showthread/t=abc", "mu:member/userid=0"})
        web.clickLink(QString::fromLatin1(link));
    EXPECT_EQ(newAlerts(), times(3, "link_leads_nowhere"));
    EXPECT_EQ(navigation->viewControllers().size(), 2);

    // The scheme in capitals is no in-app link but a link of another scheme,
    // although its address alone reads the same.
    web.clickLink(QStringLiteral("MU:forum"));
    EXPECT_EQ(newAlerts(), text("link_refused"));
    EXPECT_EQ(navigation->viewControllers().size(), 2);
    EXPECT_TRUE(opened.isEmpty());
}
