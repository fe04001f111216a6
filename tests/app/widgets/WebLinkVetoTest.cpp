#include "app/widgets/WebLinkVeto.h"

#include "platform/ui/Application.h"

#include <gtest/gtest.h>

#include <QList>

namespace {

class WebLinkVetoTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Application::sharedApplication().setOpenURLHandler([this](const QUrl& url) {
            opened.append(url);
            return desktopOpens;
        });
    }
    void TearDown() override { Application::sharedApplication().setOpenURLHandler({}); }

    QList<QUrl> opened;
    bool desktopOpens = true;
};

}  // namespace

TEST_F(WebLinkVetoTest, WebLinksLeaveTheApplicationAndEverythingElseIsTheWebViews)
{
    // The page itself, and whatever it loads without a tap, loads.
    EXPECT_TRUE(WebLinkVeto::shouldStartLoad(QUrl(QStringLiteral("http://forum.example/")),
                                             WebViewNavigationType::Other));
    EXPECT_TRUE(opened.isEmpty());

    // A tapped web link, in any case of its scheme, goes to the desktop.
    const QUrl plain(QStringLiteral("http://example.org/maps"));
    const QUrl capitals(QStringLiteral("HTTPS://example.org/Route"));
    EXPECT_FALSE(WebLinkVeto::shouldStartLoad(plain, WebViewNavigationType::LinkClicked));
    EXPECT_FALSE(WebLinkVeto::shouldStartLoad(capitals, WebViewNavigationType::LinkClicked));
    ASSERT_EQ(opened.size(), 2);
    EXPECT_EQ(opened.at(1).host(), QStringLiteral("example.org"));
    EXPECT_TRUE(WebLinkVeto::isWebAddress(capitals));

    // The desktop could not open it: the web view may.
    desktopOpens = false;
    EXPECT_TRUE(WebLinkVeto::shouldStartLoad(plain, WebViewNavigationType::LinkClicked));

    // Mail, in-app and anchor links are the web view's own.
    opened.clear();
    for (const char* link : {"mailto:carol@example.org", "mu:showthread/t=5", "#top"})
        EXPECT_TRUE(WebLinkVeto::shouldStartLoad(QUrl(QString::fromLatin1(link)), WebViewNavigationType::LinkClicked))
            << link;
    EXPECT_TRUE(opened.isEmpty());
}
