#include "forum/model/UploadAttachment.h"

#include "app/media/ImageToUpload.h"

UploadAttachment::UploadAttachment(std::shared_ptr<ImageToUpload> image)
{
    // A null pointer is no picture at all: it counts as an element of another kind.
    if (image)
        m_content = std::move(image);
}

UploadAttachment::UploadAttachment(const QString& webAddress) : m_content(webAddress) {}

UploadAttachment::UploadAttachment(const Image& picture) : m_content(picture) {}

std::shared_ptr<ImageToUpload> UploadAttachment::imageToUpload() const
{
    const auto* image = std::get_if<std::shared_ptr<ImageToUpload>>(&m_content);
    return image ? *image : nullptr;
}

QString UploadAttachment::webAddress() const
{
    const auto* address = std::get_if<QString>(&m_content);
    return address ? *address : QString();
}

Image UploadAttachment::picture() const
{
    const auto* picture = std::get_if<Image>(&m_content);
    return picture ? *picture : Image();
}

bool UploadAttachment::isSameAs(const UploadAttachment& other) const
{
    if (m_content.index() != other.m_content.index())
        return false;
    if (isImageToUpload())
        return imageToUpload() == other.imageToUpload();
    if (isWebAddress())
        return webAddress() == other.webAddress();
    if (isPicture())
        return picture().qimage().cacheKey() == other.picture().qimage().cacheKey();
    return false;
}
