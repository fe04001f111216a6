#include "app/model/ModelWithImage.h"

#include "platform/foundation/StringExtensions.h"

ModelWithImage::ModelWithImage() = default;

ModelWithImage::~ModelWithImage()
{
    // The entries outlive the model and do not own their delegates.
    m_imagesRequests.forEach([this](ImageCache* entry) { entry->removeDelegate(this); });
    m_imagesRequests.clear();
}

const PropertyTable& ModelWithImage::propertyTable()
{
    static const PropertyTable table = PropertyTable(&ModelWithPages::propertyTable())
                                           .text("picurl", &ModelWithImage::picurl, &ModelWithImage::setPicurl);
    return table;
}

ModelWithImage::ImagesProperties ModelWithImage::imagesProperties() const
{
    return {{QStringLiteral("picurl"), QStringLiteral("pic")}};
}

void ModelWithImage::loadImages()
{
    const PropertyTable& table = properties();
    for (const auto& [addressProperty, imageProperty] : imagesProperties()) {
        const PropertyDescriptor* getter = table.findGetter(addressProperty);
        if (getter && getter->getter)
            requestImage(getter->getter(*this));
    }
}

void ModelWithImage::requestImage(const Value& address)
{
    if (!address.isString())
        return;
    const QString url = StringExtensions::replaceAmpersands(address.string());
    if (url.isEmpty())
        return;
    ImageCache* entry = ImageCache::imageForUrl(url);
    if (!entry)
        return;
    m_imagesRequests.add(entry);
    entry->addDelegate(this);
}

void ModelWithImage::hasImage(ImageCache* cache, const Image& image)
{
    // An answer that held no picture leaves a good one in place.
    if (!cache || image.isNull())
        return;
    // An observer told of the change may drop the last owner of this model.
    const std::shared_ptr<Model> guard = keepAlive();
    // Every property at this address takes the picture (a member's avatar and
    // profile picture are often one address): one arrival, one notification.
    const PropertyTable& table = properties();
    bool matched = false;
    for (const auto& [addressProperty, imageProperty] : imagesProperties()) {
        const PropertyDescriptor* getter = table.findGetter(addressProperty);
        if (!getter || !getter->getter)
            continue;
        const Value current = getter->getter(*this);
        // The cache knows the address with "&amp;" already turned back.
        if (!current.isString() || StringExtensions::replaceAmpersands(current.string()) != cache->url())
            continue;
        setImageProperty(imageProperty, image);
        matched = true;
    }
    if (matched)
        notifyChanged();
}

void ModelWithImage::imageCacheHasFinished(ImageCache* cache)
{
    if (cache)
        cache->removeDelegate(this);
}

bool ModelWithImage::setImageProperty(const QString& name, const Image& image)
{
    if (name == u"pic") {
        setPic(image);
        return true;
    }
    return false;
}
