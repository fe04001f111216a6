#include "app/navigation/OutsideLink.h"

#include "platform/ui/Application.h"

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

bool OutsideLink::isWebAddress(const QUrl& url)
{
    const QString scheme = url.scheme();
    return scheme.compare(QStringLiteral("http"), Qt::CaseInsensitive) == 0
           || scheme.compare(QStringLiteral("https"), Qt::CaseInsensitive) == 0;
}

bool OutsideLink::open(const QUrl& url)
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
