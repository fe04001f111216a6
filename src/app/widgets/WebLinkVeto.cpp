#include "app/widgets/WebLinkVeto.h"

#include "platform/ui/Application.h"

bool WebLinkVeto::isWebAddress(const QUrl& url)
{
    const QString scheme = url.scheme();
    return scheme.compare(QStringLiteral("http"), Qt::CaseInsensitive) == 0
           || scheme.compare(QStringLiteral("https"), Qt::CaseInsensitive) == 0;
}

bool WebLinkVeto::shouldStartLoad(const QUrl& url, WebViewNavigationType navigationType)
{
    if (navigationType != WebViewNavigationType::LinkClicked)
        return true;
    if (isWebAddress(url))
        return !Application::sharedApplication().openURL(url);
    return true;
}
