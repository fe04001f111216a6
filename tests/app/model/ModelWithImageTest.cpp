#include "ModelTestSupport.h"
#include "app/media/MediaTestSupport.h"
#include "app/model/ModelWithImage.h"

namespace {

const QString kAlice = QStringLiteral("images/alice.png");
const QString kBob = QStringLiteral("images/bob.png");

// Two address properties: the base one first, then its own.
class TwoPictures : public ModelWithImage {
public:
    static const PropertyTable& propertyTable()
    {
        static const PropertyTable table = PropertyTable(&ModelWithImage::propertyTable())
                                               .text("backurl", &TwoPictures::backurl, &TwoPictures::setBackurl);
        return table;
    }
    const PropertyTable& properties() const override { return propertyTable(); }
    ImagesProperties imagesProperties() const override
    {
        return {{u"picurl"_qs, u"pic"_qs}, {u"backurl"_qs, u"back"_qs}};
    }

    QString backurl() const { return m_backurl; }
    void setBackurl(const QString& url) { m_backurl = url; }
    Image back;

protected:
    bool setImageProperty(const QString& name, const Image& image) override
    {
        if (name == u"back") {
            back = image;
            return true;
        }
        return ModelWithImage::setImageProperty(name, image);
    }

private:
    QString m_backurl;
};

}  // namespace

using ModelWithImageTest = ForumPicturesTest;

TEST_F(ModelWithImageTest, HeldPictureArrivesInsideTheAskAndALaterOneWhenItComes)
{
    ASSERT_TRUE(settle(ImageCache::imageForUrl(kAlice)));
    auto model = Model::create<ModelWithImage>();
    RecordingObserver observer;
    model->addObserver(&observer);
    model->setDictionary(json(R"({"picurl": "images/alice.png"})"));
    ASSERT_EQ(observer.changes, 1);
    EXPECT_TRUE(model->pic().isNull());  // setting the address loads nothing
    model->loadImages();
    EXPECT_EQ(model->pic().width(), 16);
    EXPECT_EQ(observer.changes, 2);

    model->setPicurl(kBob);
    model->loadImages();
    ImageCache* bob = ImageCache::imageForUrl(kBob);
    EXPECT_TRUE(bob->hasDelegate(model.get()));
    ASSERT_TRUE(TestSupport::waitFor([&] { return observer.changes == 3; }));
    EXPECT_FALSE(bob->hasDelegate(model.get()));
    EXPECT_EQ(model->imagesRequests().count(), 2);
}

TEST_F(ModelWithImageTest, EscapedAmpersandsAreTurnedBackBeforeAsking)
{
    auto model = Model::create<ModelWithImage>();
    model->setPicurl(u"images/alice.png?size=1&amp;v=2"_qs);
    model->loadImages();
    ASSERT_TRUE(TestSupport::waitFor([&] { return !model->pic().isNull(); }));
    EXPECT_EQ(sentFor(u"alice.png"_qs).value(0).rawQuery, QByteArray("size=1&v=2"));
}

TEST_F(ModelWithImageTest, NoTextOrEmptyTextAsksNothing)
{
    auto model = Model::create<ModelWithImage>();
    for (const Value& address : {Value(), Value::null(), Value(u""_qs), Value(12)})
        model->requestImage(address);
    model->setDictionary(json(R"({"picurl": null})"));
    model->loadImages();
    TestSupport::processEvents();
    EXPECT_EQ(model->imagesRequests().count(), 0);
    EXPECT_TRUE(forum().requests().isEmpty());
}

TEST_F(ModelWithImageTest, EveryPropertyAtThePicturesAddressTakesItOnceAndNoPictureWipesNone)
{
    ASSERT_TRUE(settle(ImageCache::imageForUrl(kAlice)));
    auto model = Model::create<TwoPictures>();
    model->setDictionary(json(R"({"picurl": "images/alice.png", "backurl": "images/alice.png"})"));
    RecordingObserver observer;
    model->addObserver(&observer);
    model->requestImage(kAlice);
    EXPECT_EQ(model->pic().width(), 16);
    EXPECT_EQ(model->back.width(), 16) << "both properties name the address";
    EXPECT_EQ(observer.changes, 1);

    ImageCache* alice = ImageCache::imageForUrl(kAlice);
    model->back = Image();
    model->setPicurl(QString());
    model->hasImage(alice, alice->image());
    EXPECT_EQ(model->back.width(), 16);
    const int changes = observer.changes;
    model->hasImage(alice, Image());
    EXPECT_EQ(model->back.width(), 16);
    EXPECT_EQ(observer.changes, changes);
}
