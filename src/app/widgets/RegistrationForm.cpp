#include "app/widgets/RegistrationForm.h"

#include "platform/foundation/Localized.h"

RegistrationForm::RegistrationForm(const QRectF& frame) : Form(frame, TableViewStyle::Plain, Qt::white)
{
    m_photo = std::make_shared<FieldUploadPhoto>(localized("add_your_photo"),
                                                 QStringLiteral("Photo"), QStringLiteral("Photo"));
    m_photo->setLabelWithPhoto(localized("change_your_photo"));
}
