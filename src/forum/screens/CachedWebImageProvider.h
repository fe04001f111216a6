#pragma once

#include "platform/ui/WebView.h"

#include <QList>

#include <memory>

class ImageCache;

// The pictures of web pages from the image cache: a picture already held
// comes at once, any other one when its answer arrives. Pictures come as
// they are; the web view sizes them to its page.
class CachedWebImageProvider : public WebImageProvider {
public:
    CachedWebImageProvider();
    ~CachedWebImageProvider() override;

    QImage imageForUrl(const QUrl& url, std::function<void(const QImage&)> ready) override;
    // Pictures asked for and not arrived yet.
    int waitingCount() const { return int(m_waiting.size()); }

private:
    class Waiter;
    void finished(Waiter* waiter);

    QList<std::shared_ptr<Waiter>> m_waiting;
};
