#pragma once

#include "app/media/ImageToUpload.h"
#include "app/model/Field.h"

#include <memory>

// A picture to send with the form: the prepared upload file and its
// thumbnail. Its value is the file's path once a picture is chosen.
class FieldUploadPhoto : public Field {
public:
    using Field::Field;

    const std::shared_ptr<ImageToUpload>& image() const { return m_image; }
    void setImage(const std::shared_ptr<ImageToUpload>& image) { m_image = image; }
    // The row's text once a picture is chosen.
    QString labelWithPhoto() const { return m_labelWithPhoto; }
    void setLabelWithPhoto(const QString& label) { m_labelWithPhoto = label; }

    Value value() const override
    {
        return m_image && !m_image->path().isEmpty() ? Value(m_image->path()) : Value();
    }

private:
    std::shared_ptr<ImageToUpload> m_image;
    QString m_labelWithPhoto;
};
