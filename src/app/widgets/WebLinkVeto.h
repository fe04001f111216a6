#pragma once

#include "platform/ui/WebView.h"

#include <QUrl>

// What a page's web view does with an address it is about to load, for the
// screens that show forum text as a page (a post alone, a blog entry, an
// article): the page itself loads; a tapped web link ("http", "https", in any
// case) opens outside the application and loads in the view only when the
// desktop could not open it; a tapped link of any other scheme is left to the
// web view (an anchor scrolls, anything else goes to the desktop). In-app
// links open outside the application too until the link router answers them.
class WebLinkVeto {
public:
    // The web view delegate's answer: true lets the web view load the address.
    static bool shouldStartLoad(const QUrl& url, WebViewNavigationType navigationType);
    // Whether the address is a web address (its scheme, in any case).
    static bool isWebAddress(const QUrl& url);
};
