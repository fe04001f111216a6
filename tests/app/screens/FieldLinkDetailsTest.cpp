#include "ScreenWindowTest.h"

#include "app/screens/FieldLinkDetails.h"

#include "platform/ui/Application.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/WebView.h"

#include "platform/foundation/Bundle.h"

using namespace Qt::Literals::StringLiterals;

// The page a form's link row opens: its own web view's delegate, and a word
// where the forum gave nothing.
using FieldLinkPageTest = ScreenWindowTest;

TEST_F(FieldLinkPageTest, TheLinkPageAnswersItsOwnWebViewAndSaysWhenItHasNothing)
{
    QList<QUrl> opened;
    Application::sharedApplication().setOpenURLHandler([&opened](const QUrl& url) {
        opened.append(url);
        return true;
    });
    const auto page = std::make_shared<FieldLinkDetails>(context(), u"Forum Rules"_s,
                                                         u"<p>Be kind. <a href=\"https://forum.example/rules\">More</a></p>"_s);
    window->setRootViewController(NavigationController::create(page));
    EXPECT_EQ(page->web()->delegate(), page.get());
    EXPECT_TRUE(page->web()->shownText().contains(u"Be kind."_s));
    EXPECT_TRUE(FieldLinkDetails::page(u"x"_s).startsWith(u"<html><head><style type=\"text/css\">body { font: 13px Verdana; color:#333; padding-bottom:20px; }</style></head><body>"_s));
    EXPECT_TRUE(FieldLinkDetails::page(u"x"_s).endsWith(u"x</body></html>"_s));
    page->web()->clickLink(QUrl(u"https://forum.example/rules"_s));
    EXPECT_EQ(opened, QList<QUrl>{QUrl(u"https://forum.example/rules"_s)});

    const auto blank = std::make_shared<FieldLinkDetails>(context(), u"Forum Rules"_s, QString());
    window->setRootViewController(NavigationController::create(blank));
    EXPECT_TRUE(blank->web()->shownText().contains(Bundle::main().localizedString(u"reg_no_rules"_s)));
    Application::sharedApplication().setOpenURLHandler({});
}
