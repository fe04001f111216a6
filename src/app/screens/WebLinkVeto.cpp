#include "app/screens/WebLinkVeto.h"

#include "app/navigation/OutsideLink.h"
#include "app/screens/MuController.h"
#include "app/text/MuLink.h"

#include "platform/ui/NavigationController.h"
#include "platform/ui/ViewController.h"

#include "platform/foundation/AlertView.h"
#include "platform/foundation/Localized.h"

namespace {

void tell(const char* key)
{
    AlertView::create(QString(), localized(key), nullptr,
                      {localized("ok")})
        ->show();
}

}  // namespace

bool WebLinkVeto::shouldStartLoad(AppContext& context, ViewController* screen, WebView* webView, const QUrl& url,
                                  WebViewNavigationType navigationType)
{
    if (navigationType != WebViewNavigationType::LinkClicked)
        return true;
    const QString written = webView ? webView->followedLink() : QString();
    const QString link = written.isEmpty() ? url.toString(QUrl::FullyEncoded) : written;
    if (link.startsWith(u'#'))
        return true;
    if (MuLink::parse(link)) {
        if (const ViewControllerPtr target = MuController::muController(context, link)) {
            if (NavigationController* navigation = screen ? screen->navigationController() : nullptr)
                navigation->pushViewController(target, true);
        } else if (!MuController::carriesOut(context, link)) {
            tell("link_leads_nowhere");
        }
        return false;
    }
    OutsideLink::open(url);
    return false;
}
