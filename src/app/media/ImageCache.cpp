#include "app/media/ImageCache.h"

#include "app/net/ApiAddress.h"
#include "app/net/HTTPRequestAsyncronic.h"
#include "platform/foundation/Clock.h"
#include "platform/foundation/Paths.h"
#include "platform/foundation/StringExtensions.h"

#include <QFile>
#include <QHash>
#include <QSaveFile>

#include <utility>

namespace {

// Never destroyed: entries live until the process ends, and tearing them down
// during static destruction would reach into the request machinery after it
// has gone.
QHash<QString, std::shared_ptr<ImageCache>>& registry()
{
    static auto* entries = new QHash<QString, std::shared_ptr<ImageCache>>();
    return *entries;
}

// Files that cannot be written are not worth reporting: the picture is
// fetched again on the next launch.
void writeAtomically(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return;
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return;
    }
    file.commit();
}

// The stored text goes back verbatim as a header value; a line break in it
// would end the header early.
QString headerSafe(QString text)
{
    text.remove(u'\r');
    text.remove(u'\n');
    return text;
}

}  // namespace

ImageCache* ImageCache::imageForUrl(const QString& url)
{
    if (url.isEmpty())
        return nullptr;
    auto& entries = registry();
    if (const auto found = entries.constFind(url); found != entries.constEnd()) {
        const std::shared_ptr<ImageCache> entry = *found;
        entry->verify();
        return entry.get();
    }
    auto entry = std::make_shared<ImageCache>(url);
    entries.insert(url, entry);
    return entry.get();
}

ImageCache::ImageCache(const QString& url)
    : m_url(url)
{
    const QString picture = picturePath(url);
    if (QFile::exists(picture))
        m_image = Image::fromFile(picture);
    QFile date(datePath(url));
    if (date.open(QIODevice::ReadOnly))
        m_serverDate = QString::fromUtf8(date.readAll());
    makeRequest();
}

ImageCache::~ImageCache()
{
    if (m_request)
        m_request->cancel();
}

void ImageCache::makeRequest()
{
    if (m_request)
        return;
    auto request = HTTPRequestAsyncronic::create();
    request->setCallbackObject(this);
    request->setSuccessSelector(SELECTOR(ImageCache, setImageFromRequest));
    request->setFailureSelector(SELECTOR(ImageCache, requestFailed));
    // Without a picture in hand a 304 would leave the entry with none for good.
    if (!m_serverDate.isNull() && !m_image.isNull())
        request->addHeaders(ValueDict{{QStringLiteral("If-Modified-Since"), Value(headerSafe(m_serverDate))}});
    m_request = request;
    request->requestUrl(ApiAddress::imageURLWithString(m_url));
}

void ImageCache::verify()
{
    if (m_request)
        return;
    const bool stale = m_localDate.isNull() || m_localDate.msecsTo(Clock::current().now()) > qint64(FreshnessSeconds) * 1000;
    if (m_image.isNull() || stale)
        makeRequest();
}

void ImageCache::setImageFromRequest(const HTTPRequestPtr& request)
{
    if (!request || request != m_request)
        return;
    const std::shared_ptr<ImageCache> keep = weak_from_this().lock();
    m_localDate = Clock::current().now();
    m_request.reset();
    if (request->outcome().is(RequestOutcome::Kind::NotModified))
        return;

    // A body that is no picture (an error page served with 200) must not
    // replace a good picture, on disk or in memory.
    const QByteArray& body = request->loadedData();
    const Image decoded = Image::fromData(body);
    if (!decoded.isNull()) {
        m_serverDate = request->httpResponse().headerValue(QStringLiteral("Date"));
        writeAtomically(picturePath(m_url), body);
        if (!m_serverDate.isNull())
            writeAtomically(datePath(m_url), m_serverDate.toUtf8());
        m_image = decoded;
    }
    tellDelegates();
}

void ImageCache::requestFailed(const HTTPRequestPtr& request)
{
    if (request && request == m_request)
        m_request.reset();
}

void ImageCache::tellDelegates()
{
    // Both rounds walk a snapshot and skip a delegate removed (or gone)
    // before its turn; a delegate may drop models, and with them delegates,
    // while being told.
    const Image image = m_image;
    m_delegates.forEach([this, &image](ImageCacheDelegate* delegate) { delegate->hasImage(this, image); });
    m_delegates.forEach([this](ImageCacheDelegate* delegate) { delegate->imageCacheHasFinished(this); });
}

void ImageCache::addDelegate(ImageCacheDelegate* delegate)
{
    if (!delegate)
        return;
    if (!m_image.isNull()) {
        delegate->hasImage(this, m_image);
        return;
    }
    m_delegates.add(delegate);
}

void ImageCache::removeDelegate(ImageCacheDelegate* delegate)
{
    m_delegates.remove(delegate);
}

QString ImageCache::picturePath(const QString& url)
{
    return Paths::documentsDir() + u'/' + StringExtensions::md5(url);
}

QString ImageCache::datePath(const QString& url)
{
    return picturePath(url) + QStringLiteral(".date");
}

void ImageCache::clearRegistry()
{
    // Entries go outside the registry's own bookkeeping.
    const QHash<QString, std::shared_ptr<ImageCache>> gone = std::exchange(registry(), {});
}
