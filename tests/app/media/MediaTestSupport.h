#pragma once

#include "AppTest.h"
#include "app/media/ImageCache.h"
#include "platform/foundation/ManualClock.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QStringList>

#include <functional>
#include <memory>


// Writes down what an entry tells it ("image WxH", "image null", "finished");
// an optional action runs inside each call.
class RecordingImageDelegate : public ImageCacheDelegate {
public:
    void hasImage(ImageCache* cache, const Image& image) override
    {
        events.append(image.isNull() ? QStringLiteral("image null")
                                     : QStringLiteral("image %1x%2").arg(image.width()).arg(image.height()));
        if (onImage)
            onImage(cache);
    }
    void imageCacheHasFinished(ImageCache* cache) override
    {
        events.append(QStringLiteral("finished"));
        if (onFinished)
            onFinished(cache);
    }

    QStringList events;
    std::function<void(ImageCache*)> onImage, onFinished;
};

// The test forum serves the pictures at the client's base address.
class ForumPicturesTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        // One answered request shows the server thread is serving: stopping
        // it before that can leave its listener waiting for ever.
        QNetworkAccessManager manager;
        const std::unique_ptr<QNetworkReply> reply(
            manager.get(QNetworkRequest(QUrl(forum().baseUrl() + QStringLiteral("/images/-")))));
        ASSERT_TRUE(waitFor([&reply] { return reply->isFinished(); }));
        forum().clearLog();
    }

    QList<TestForumRequest> sentFor(const QString& name)
    {
        QList<TestForumRequest> found;
        for (const TestForumRequest& request : forum().requests())
            if (request.path == QStringLiteral("/forum/images/") + name)
                found.append(request);
        return found;
    }

    // The clock this long after the entry's last answer.
    void setClockAfter(ImageCache* entry, int seconds) { clock()->setNow(entry->localDate().addSecs(seconds)); }

    static bool settle(ImageCache* entry)
    {
        return waitFor([entry] { return !entry->request(); });
    }
};
