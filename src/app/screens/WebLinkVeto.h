#pragma once

#include "platform/ui/WebView.h"

#include <QString>
#include <QUrl>

class AppContext;
class ViewController;

// What happens to a link or an attachment address that the forum wrote
// when the member taps it: nothing the forum writes reaches the desktop or
// the disk unchecked.
//
// In a page (a post alone, a blog entry, an article) the page itself loads;
// a tapped in-app link ("mu:...") opens its screen on the page's navigation
// stack through the link router; an anchor of the page scrolls there; any
// other link goes out through OutsideLink. Nothing tapped loads in the page.
class WebLinkVeto {
public:
    // The web view delegate's answer for `screen`, made on the context:
    // true lets the web view load the address.
    static bool shouldStartLoad(AppContext& context, ViewController* screen, WebView* webView, const QUrl& url,
                                WebViewNavigationType navigationType);
};
