#pragma once

#include "app/media/ImageCacheDelegate.h"
#include "app/net/HTTPRequest.h"
#include "platform/foundation/Image.h"
#include "platform/foundation/Trackable.h"

#include <QDateTime>
#include <QString>

#include <memory>

// One picture of the forum, by address, kept in memory for the life of the
// process and on disk across launches. The server is asked again with a
// conditional request, so an unchanged picture costs a 304 and no body.
//
// Files in the documents folder are named by the MD5 of the address exactly
// as given (a relative path is hashed without the base address): the body of
// the last full answer, and beside it "<digest>.date" with that answer's
// "Date" header.
class ImageCache : public virtual Trackable, public std::enable_shared_from_this<ImageCache> {
public:
    // The picture is asked for again once the last answer is older than this.
    static constexpr int FreshnessSeconds = 900;

    // The entry of the address (non-empty, "&amp;" already replaced): made and
    // registered on the first ask, checked for freshness on each later one.
    // The registry keeps every entry until the process ends; the caller does
    // not own it. Null for an empty address.
    static ImageCache* imageForUrl(const QString& url);

    // Loads what the disk holds for the address and asks the server.
    explicit ImageCache(const QString& url);
    ~ImageCache() override;

    ImageCache(const ImageCache&) = delete;
    ImageCache& operator=(const ImageCache&) = delete;

    // Asks the server unless a request is already in hand.
    void makeRequest();
    // Asks again when no request is in hand and there is no picture, none has
    // been confirmed in this process yet, or the last answer is stale.
    void verify();
    // The answer of a request: a status below 400, 304 included.
    void setImageFromRequest(const HTTPRequestPtr& request);
    // A transport failure or a status of 400 and up: the entry lets go of the
    // request and keeps everything else, so a later ask tries again.
    void requestFailed(const HTTPRequestPtr& request);

    // With a picture held the delegate is told at once and not registered;
    // otherwise it waits for the next full answer.
    void addDelegate(ImageCacheDelegate* delegate);
    void removeDelegate(ImageCacheDelegate* delegate);
    bool hasDelegate(ImageCacheDelegate* delegate) const { return m_delegates.contains(delegate); }

    const Image& image() const { return m_image; }
    void setImage(const Image& image) { m_image = image; }
    const QString& url() const { return m_url; }

    // The request in hand (null when none), the time of the last answer and
    // the "Date" text of the last full answer.
    const HTTPRequestPtr& request() const { return m_request; }
    const QDateTime& localDate() const { return m_localDate; }
    const QString& serverDate() const { return m_serverDate; }

    // Where the picture of an address lives on disk, and its date beside it.
    static QString picturePath(const QString& url);
    static QString datePath(const QString& url);

    // Forgets every entry, as a new launch would (the files stay): their
    // requests in flight are cancelled. The application's end does it, and
    // every test starts with an empty registry.
    static void clearRegistry();

private:
    void tellDelegates();

    HTTPRequestPtr m_request;
    Image m_image;
    QDateTime m_localDate;
    QString m_serverDate;
    NonRetainingSet<ImageCacheDelegate> m_delegates;
    QString m_url;
};
