#pragma once

#include "platform/ui/WebView.h"

#include <QString>
#include <QUrl>

class ViewController;

// What happens to a link or an attachment address that the forum wrote
// when the member taps it: nothing the forum writes reaches the desktop or
// the disk unchecked.
//
// In a page (a post alone, a blog entry, an article) the page itself loads;
// a tapped in-app link ("mu:...") opens its screen on the page's navigation
// stack through the link router; an anchor of the page scrolls there; any
// other link goes to openOutside. Nothing tapped loads in the page.
class WebLinkVeto {
public:
    // The web view delegate's answer for `screen`: true lets the web view
    // load the address.
    static bool shouldStartLoad(ViewController* screen, WebView* webView, const QUrl& url,
                                WebViewNavigationType navigationType);
    // The one way out of the application: a web address ("http", "https",
    // in any case) opens in the desktop's browser; any other address ("file:"
    // and the rest) is refused with a short alert, and so is a web address
    // that the desktop could not open. Answers whether it opened.
    static bool openOutside(const QUrl& url);
    // Whether the address is a web address (its scheme, in any case).
    static bool isWebAddress(const QUrl& url);
};
