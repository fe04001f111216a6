#include "forum/screens/CachedWebImageProvider.h"

#include "app/media/ImageCache.h"
#include "app/media/ImageCacheDelegate.h"

#include <QCoreApplication>
#include <QUrl>

// Waits for one picture on behalf of a page; the provider owns it until the
// cache has handled the answer.
class CachedWebImageProvider::Waiter : public ImageCacheDelegate {
public:
    Waiter(CachedWebImageProvider* owner, std::function<void(const QImage&)> ready)
        : m_owner(owner), m_ready(std::move(ready))
    {
    }
    void hasImage(ImageCache*, const Image& image) override
    {
        if (!image.isNull() && m_ready) {
            const auto ready = std::exchange(m_ready, nullptr);
            ready(image.qimage());
        }
    }
    void imageCacheHasFinished(ImageCache* cache) override
    {
        cache->removeDelegate(this);
        m_owner->finished(this);
    }

private:
    CachedWebImageProvider* m_owner;
    std::function<void(const QImage&)> m_ready;
};

CachedWebImageProvider::CachedWebImageProvider() = default;

CachedWebImageProvider::~CachedWebImageProvider() = default;

void CachedWebImageProvider::finished(Waiter* waiter)
{
    // Later: the cache is still walking its delegates.
    for (qsizetype i = 0; i < m_waiting.size(); ++i) {
        if (m_waiting.at(i).get() == waiter) {
            std::shared_ptr<Waiter> keep = m_waiting.takeAt(i);
            QMetaObject::invokeMethod(
                qApp, [keep]() {}, Qt::QueuedConnection);
            return;
        }
    }
}

QImage CachedWebImageProvider::imageForUrl(const QUrl& url, std::function<void(const QImage&)> ready)
{
    if (!url.isValid() || url.isEmpty())
        return QImage();
    ImageCache* cache = ImageCache::imageForUrl(url.toString(QUrl::FullyEncoded));
    if (!cache)
        return QImage();
    if (!cache->image().isNull())
        return cache->image().qimage();
    auto waiter = std::make_shared<Waiter>(this, std::move(ready));
    m_waiting.append(waiter);
    cache->addDelegate(waiter.get());
    return QImage();
}
