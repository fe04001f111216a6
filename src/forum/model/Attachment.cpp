#include "forum/model/Attachment.h"

#include "app/media/ImageToUpload.h"

Attachment::Attachment(std::shared_ptr<ImageToUpload> image)
{
    // A null pointer is no picture at all: it counts as an element of another kind.
    if (image)
        m_content = std::move(image);
}

Attachment::Attachment(const QString& webAddress) : m_content(webAddress) {}

Attachment::Attachment(const Image& picture) : m_content(picture) {}

std::shared_ptr<ImageToUpload> Attachment::imageToUpload() const
{
    const auto* image = std::get_if<std::shared_ptr<ImageToUpload>>(&m_content);
    return image ? *image : nullptr;
}

QString Attachment::webAddress() const
{
    const auto* address = std::get_if<QString>(&m_content);
    return address ? *address : QString();
}

Image Attachment::picture() const
{
    const auto* picture = std::get_if<Image>(&m_content);
    return picture ? *picture : Image();
}
