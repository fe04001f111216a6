#pragma once

#include "app/model/FieldUploadPhoto.h"
#include "app/widgets/Form.h"

// The sign-up form: a plain table on white, with a picture field of its own
// ("Photo") that the screen places where it wants it.
class RegistrationForm : public Form {
    Q_OBJECT
public:
    explicit RegistrationForm(const QRectF& frame = QRectF());

    const std::shared_ptr<FieldUploadPhoto>& photo() const { return m_photo; }

private:
    std::shared_ptr<FieldUploadPhoto> m_photo;
};
