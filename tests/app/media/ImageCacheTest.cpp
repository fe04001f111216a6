#include "MediaTestSupport.h"

#include "platform/foundation/Paths.h"

#include <QCryptographicHash>
#include <QFile>

#include <memory>

namespace {

const QString kAlice = QStringLiteral("images/alice.png");
const QString kBob = QStringLiteral("images/bob.png");
// The MD5 of each address text, worked out with md5sum.
const QString kAliceFile = QStringLiteral("9ec803e12f60c0015a74c8480f656ddb");
const QString kBobFile = QStringLiteral("7ba614b359e42fb4c828efe87022556b");

QByteArray readFile(const QString& name)
{
    QFile file(Paths::documentsDir() + u'/' + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void writeFile(const QString& name, const QByteArray& bytes)
{
    QFile file(Paths::documentsDir() + u'/' + name);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

}  // namespace

using ImageCacheTest = ForumPicturesTest;

TEST_F(ImageCacheTest, FirstAnswerIsStoredAndThenServedFromMemory)
{
    ImageCache* entry = ImageCache::imageForUrl(kAlice);
    RecordingImageDelegate waiting;
    entry->addDelegate(&waiting);
    ASSERT_TRUE(settle(entry));
    EXPECT_EQ(waiting.events, QStringList({u"image 16x16"_qs, u"finished"_qs}));
    EXPECT_EQ(readFile(kAliceFile), forum().picture(u"alice.png"_qs));
    EXPECT_EQ(readFile(kAliceFile + u".date"_qs), forum().pictureDate(u"alice.png"_qs).toUtf8());
    EXPECT_TRUE(sentFor(u"alice.png"_qs).value(0).header(u"If-Modified-Since"_qs).isEmpty());

    // Within the freshness limit: the same entry, no request, served at once.
    EXPECT_EQ(ImageCache::imageForUrl(kAlice), entry);
    EXPECT_FALSE(entry->request());
    RecordingImageDelegate late;
    entry->addDelegate(&late);
    EXPECT_EQ(late.events, QStringList({u"image 16x16"_qs}));
    EXPECT_FALSE(entry->hasDelegate(&late));
}

TEST_F(ImageCacheTest, NextLaunchAsksConditionallyAnd304KeepsThePicture)
{
    ASSERT_TRUE(settle(ImageCache::imageForUrl(kAlice)));
    const QString date = forum().pictureDate(u"alice.png"_qs);
    ImageCache::clearRegistry();
    // A stored date ending in a line break goes out without it.
    writeFile(kAliceFile + u".date"_qs, date.toUtf8() + "\r\n");

    ImageCache* entry = ImageCache::imageForUrl(kAlice);
    EXPECT_EQ(entry->image().width(), 16);  // from disk, before any answer
    ASSERT_TRUE(settle(entry));
    auto sent = sentFor(u"alice.png"_qs);
    ASSERT_EQ(sent.size(), 2);
    EXPECT_EQ(sent[1].header(u"If-Modified-Since"_qs), date);
    EXPECT_EQ(sent[1].status, 304);
    EXPECT_EQ(readFile(kAliceFile), forum().picture(u"alice.png"_qs));

    setClockAfter(entry, 900);
    ImageCache::imageForUrl(kAlice);
    EXPECT_FALSE(entry->request());
    setClockAfter(entry, 901);
    ImageCache::imageForUrl(kAlice);
    ASSERT_TRUE(settle(entry));
    EXPECT_EQ(sentFor(u"alice.png"_qs).size(), 3);
}

TEST_F(ImageCacheTest, ConditionalOnlyWithAStoredDateAndAPicture)
{
    // A date without its picture: a 304 would leave the entry with none.
    writeFile(kBobFile + u".date"_qs, forum().pictureDate(u"bob.png"_qs).toUtf8());
    forum().omitPictureDate(u"bob.png"_qs);
    ImageCache* bob = ImageCache::imageForUrl(kBob);
    ASSERT_TRUE(settle(bob));
    EXPECT_EQ(bob->image().width(), 16);
    EXPECT_TRUE(bob->serverDate().isNull());

    setClockAfter(bob, 901);
    ImageCache::imageForUrl(kBob);
    ASSERT_TRUE(settle(bob));
    const auto sent = sentFor(u"bob.png"_qs);
    ASSERT_EQ(sent.size(), 2);
    EXPECT_TRUE(sent[0].header(u"If-Modified-Since"_qs).isEmpty());
    EXPECT_TRUE(sent[1].header(u"If-Modified-Since"_qs).isEmpty());
}

TEST_F(ImageCacheTest, FailedDownloadsAreAskedForAgain)
{
    forum().failPicture(u"bob.png"_qs, 500);
    ImageCache* bob = ImageCache::imageForUrl(kBob);
    RecordingImageDelegate delegate;
    bob->addDelegate(&delegate);
    ASSERT_TRUE(settle(bob));
    EXPECT_TRUE(delegate.events.isEmpty());
    ImageCache::imageForUrl(kBob);
    ASSERT_TRUE(settle(bob));
    EXPECT_EQ(delegate.events, QStringList({u"image 16x16"_qs, u"finished"_qs}));

    // No server at all, then the server again on the same port.
    const int port = forum().port();
    forum().stop();
    ImageCache* logo = ImageCache::imageForUrl(u"images/logo.png"_qs);
    ASSERT_TRUE(settle(logo));
    ASSERT_TRUE(forum().start(port));
    ImageCache::imageForUrl(u"images/logo.png"_qs);
    ASSERT_TRUE(settle(logo));
    EXPECT_EQ(logo->image().width(), 16);
}

TEST_F(ImageCacheTest, BodyThatIsNoPictureNeverReplacesOne)
{
    forum().failPicture(u"bob.png"_qs, 200);
    ImageCache* bob = ImageCache::imageForUrl(kBob);
    RecordingImageDelegate bobDelegate;
    bob->addDelegate(&bobDelegate);
    ASSERT_TRUE(settle(bob));
    EXPECT_EQ(bobDelegate.events, QStringList({u"image null"_qs, u"finished"_qs}));
    EXPECT_FALSE(QFile::exists(ImageCache::picturePath(kBob)));

    ImageCache* alice = ImageCache::imageForUrl(kAlice);
    RecordingImageDelegate delegate;
    alice->addDelegate(&delegate);
    ASSERT_TRUE(settle(alice));
    const QByteArray date = readFile(kAliceFile + u".date"_qs);
    forum().failPicture(u"alice.png"_qs, 200);
    setClockAfter(alice, 901);
    ImageCache::imageForUrl(kAlice);
    ASSERT_TRUE(settle(alice));
    EXPECT_EQ(delegate.events, QStringList({u"image 16x16"_qs, u"finished"_qs, u"image 16x16"_qs, u"finished"_qs}));
    EXPECT_EQ(readFile(kAliceFile), forum().picture(u"alice.png"_qs));
    EXPECT_EQ(readFile(kAliceFile + u".date"_qs), date);
}

TEST_F(ImageCacheTest, DelegatesMayLeaveOrDropOthersDuringEitherRound)
{
    ImageCache* entry = ImageCache::imageForUrl(kAlice);
    RecordingImageDelegate first, third, fourth;
    auto second = std::make_unique<RecordingImageDelegate>();
    for (ImageCacheDelegate* d : QList<ImageCacheDelegate*>{&first, second.get(), &third, &fourth})
        entry->addDelegate(d);
    first.onImage = [&](ImageCache* cache) {
        second.reset();  // goes away without a word
        cache->removeDelegate(&third);
    };
    first.onFinished = [&](ImageCache* cache) {
        cache->removeDelegate(&first);
        cache->removeDelegate(&fourth);
    };
    ASSERT_TRUE(settle(entry));
    EXPECT_EQ(first.events, QStringList({u"image 16x16"_qs, u"finished"_qs}));
    EXPECT_TRUE(third.events.isEmpty());
    EXPECT_EQ(fourth.events, QStringList({u"image 16x16"_qs}));
}

TEST_F(ImageCacheTest, FullAndRelativeAddressesAreTwoEntries)
{
    const QString full = forum().baseUrl() + u"/images/alice.png"_qs;
    ImageCache* relative = ImageCache::imageForUrl(kAlice);
    ImageCache* absolute = ImageCache::imageForUrl(full);
    ASSERT_NE(relative, absolute);
    ASSERT_TRUE(settle(relative) && settle(absolute));
    EXPECT_EQ(sentFor(u"alice.png"_qs).size(), 2);
    const QByteArray fullFile = QCryptographicHash::hash(full.toUtf8(), QCryptographicHash::Md5).toHex();
    EXPECT_EQ(readFile(QString::fromLatin1(fullFile)), forum().picture(u"alice.png"_qs));
    EXPECT_EQ(readFile(kAliceFile), forum().picture(u"alice.png"_qs));
}
