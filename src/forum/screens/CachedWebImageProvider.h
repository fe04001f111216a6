#pragma once

#include "platform/ui/WebView.h"

#include <QList>

#include <memory>

class ImageCache;

// The pictures of web pages from the image cache: a picture already held
// comes at once, any other one when its answer arrives. A picture wider
// than the page is shown scaled down to the page's width.
class CachedWebImageProvider : public WebImageProvider {
public:
    explicit CachedWebImageProvider(int maximumWidth = 300);
    ~CachedWebImageProvider() override;

    QImage imageForUrl(const QUrl& url, std::function<void(const QImage&)> ready) override;
    // Pictures asked for and not arrived yet.
    int waitingCount() const { return int(m_waiting.size()); }

private:
    class Waiter;
    QImage fitted(const QImage& image) const;
    void finished(Waiter* waiter);

    int m_maximumWidth;
    QList<std::shared_ptr<Waiter>> m_waiting;
};
