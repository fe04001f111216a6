#pragma once

#include "platform/foundation/Image.h"

#include <QList>
#include <QString>

#include <memory>
#include <variant>

class ImageToUpload;

// One element of what a builder uploads before it sends the content: a picture
// prepared as a file, the address of a picture on the web, or a picture held
// in memory. An empty attachment stands for an element of any other kind.
class UploadAttachment {
public:
    UploadAttachment() = default;
    UploadAttachment(std::shared_ptr<ImageToUpload> image);
    UploadAttachment(const QString& webAddress);
    UploadAttachment(const Image& picture);

    bool isImageToUpload() const { return std::holds_alternative<std::shared_ptr<ImageToUpload>>(m_content); }
    bool isWebAddress() const { return std::holds_alternative<QString>(m_content); }
    bool isPicture() const { return std::holds_alternative<Image>(m_content); }

    // The same picture file, web address or picture in memory; an element of
    // another kind is the same as nothing.
    bool isSameAs(const UploadAttachment& other) const;

    // Null, empty or a null image when the attachment is of another kind.
    std::shared_ptr<ImageToUpload> imageToUpload() const;
    QString webAddress() const;
    Image picture() const;

private:
    std::variant<std::monostate, std::shared_ptr<ImageToUpload>, QString, Image> m_content;
};

using UploadAttachmentList = QList<UploadAttachment>;
