#pragma once

#include "app/media/ImageCache.h"
#include "app/media/ImageCacheDelegate.h"
#include "app/model/ModelWithPages.h"
#include "platform/foundation/Image.h"

#include <QList>
#include <QString>

#include <utility>

// A model whose text properties name pictures on the server: it asks the
// image cache for each address, stores each arriving picture in the image
// property its address fills, and tells its observers.
//
// A subclass names its pairs in imagesProperties() and reaches its own image
// fields by extending setImageProperty(); its address properties must be
// readable through its property table.
class ModelWithImage : public ModelWithPages, public ImageCacheDelegate {
public:
    // Address property name -> image property name, in asking order.
    using ImagesProperties = QList<std::pair<QString, QString>>;

    ModelWithImage();
    ~ModelWithImage() override;

    static const PropertyTable& propertyTable();
    const PropertyTable& properties() const override { return propertyTable(); }

    const Image& pic() const { return m_pic; }
    void setPic(const Image& pic) { m_pic = pic; }
    // Setting the address loads nothing by itself.
    QString picurl() const { return m_picurl; }
    void setPicurl(const QString& picurl) { m_picurl = picurl; }

    virtual ImagesProperties imagesProperties() const;

    // Asks for the picture of every address property in the map, in order.
    void loadImages();
    // Asks the cache for one picture ("&amp;" turned into "&"); anything but
    // a non-empty text asks nothing. A picture the cache already holds
    // arrives inside this call.
    void requestImage(const Value& address);
    void requestImage(const QString& address) { requestImage(Value(address)); }

    void hasImage(ImageCache* cache, const Image& image) override;
    void imageCacheHasFinished(ImageCache* cache) override;

    // The cache entries this model has asked, not owned.
    const NonRetainingSet<ImageCache>& imagesRequests() const { return m_imagesRequests; }

protected:
    // Stores the picture in the named image property; false when the class
    // has no such property. Subclasses handle their own names and pass the
    // rest on.
    virtual bool setImageProperty(const QString& name, const Image& image);

private:
    Image m_pic;
    QString m_picurl;
    NonRetainingSet<ImageCache> m_imagesRequests;
};
