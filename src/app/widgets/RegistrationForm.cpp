#include "app/widgets/RegistrationForm.h"

#include "platform/foundation/Bundle.h"

RegistrationForm::RegistrationForm(const QRectF& frame) : Form(frame, TableViewStyle::Plain, Qt::white)
{
    const Bundle& bundle = Bundle::main();
    m_photo = std::make_shared<FieldUploadPhoto>(bundle.localizedString(QStringLiteral("add_your_photo")),
                                                 QStringLiteral("Photo"), QStringLiteral("Photo"));
    m_photo->setLabelWithPhoto(bundle.localizedString(QStringLiteral("change_your_photo")));
}
