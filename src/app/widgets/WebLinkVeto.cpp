#include "app/widgets/WebLinkVeto.h"

#include "app/screens/MuController.h"
#include "app/text/MuLink.h"

#include "platform/ui/Application.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/ViewController.h"

#include "platform/foundation/AlertView.h"
#include "platform/foundation/Bundle.h"

namespace {

void tell(const char* key)
{
    const Bundle& bundle = Bundle::main();
    AlertView::create(QString(), bundle.localizedString(QString::fromLatin1(key)), nullptr,
                      {bundle.localizedString(QStringLiteral("ok"))})
        ->show();
}

}  // namespace

bool WebLinkVeto::isWebAddress(const QUrl& url)
{
    const QString scheme = url.scheme();
    return scheme.compare(QStringLiteral("http"), Qt::CaseInsensitive) == 0
           || scheme.compare(QStringLiteral("https"), Qt::CaseInsensitive) == 0;
}

bool WebLinkVeto::openOutside(const QUrl& url)
{
    if (!isWebAddress(url) || url.host().isEmpty()) {
        tell("link_refused");
        return false;
    }
    if (Application::sharedApplication().openURL(url))
        return true;
    tell("link_not_opened");
    return false;
}

bool WebLinkVeto::shouldStartLoad(ViewController* screen, WebView* webView, const QUrl& url,
                                  WebViewNavigationType navigationType)
{
    if (navigationType != WebViewNavigationType::LinkClicked)
        return true;
    const QString written = webView ? webView->followedLink() : QString();
    const QString link = written.isEmpty() ? url.toString(QUrl::FullyEncoded) : written;
    if (link.startsWith(u'#'))
        return true;
    if (MuLink::parse(link)) {
        if (const ViewControllerPtr target = MuController::muController(link)) {
            if (NavigationController* navigation = screen ? screen->navigationController() : nullptr)
                navigation->pushViewController(target, true);
        } else if (!MuController::carriesOut(link)) {
            tell("link_leads_nowhere");
        }
        return false;
    }
    openOutside(url);
    return false;
}
