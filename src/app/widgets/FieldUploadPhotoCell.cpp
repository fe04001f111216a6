#include "app/widgets/FieldUploadPhotoCell.h"

#include "app/model/FieldUploadPhoto.h"

#include "platform/ui/Button.h"
#include "platform/ui/Font.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"

namespace {

constexpr qreal kImageSide = 36;
// The text stands this far right of the picture's left edge.
constexpr qreal kTextShift = 44;

}  // namespace

FieldUploadPhotoCell::FieldUploadPhotoCell()
{
    m_img = new ImageView(QRectF(14, 4, kImageSide, kImageSide));
    m_img->setContentMode(ContentMode::ScaleAspectFill);
    m_img->setClipsToBounds(true);
    contentView()->addSubview(m_img);
    m_label = new Label(QRectF(12, 0, 260, 44));
    m_label->setFont(Font::systemFontOfSize(17));
    m_label->setTextColor(Qt::black);
    m_label->setBackgroundColor(Qt::transparent);
    m_label->setOpaque(false);
    contentView()->addSubview(m_label);
    m_button = new Button(bounds(), ButtonType::Custom);
    m_button->setBackgroundColor(Qt::transparent);
    m_button->setOpaque(false);
    m_button->addTarget(this, &FieldUploadPhotoCell::changePhoto, ControlEvent::TouchUpInside);
    addSubview(m_button);
    setAccessoryType(TableViewCellAccessoryType::DisclosureIndicator);
}

void FieldUploadPhotoCell::setField()
{
    const auto field = fieldAs<FieldUploadPhoto>();
    const bool hasPhoto = field && field->image() && !field->image()->thumbnail().isNull();
    m_img->setImage(hasPhoto ? field->image()->thumbnail().qimage() : QImage());
    m_label->setText(!field ? QString() : hasPhoto ? field->labelWithPhoto() : field->label());
    layoutSubviews();
}

void FieldUploadPhotoCell::layoutSubviews()
{
    FieldCell::layoutSubviews();
    const QRectF b = contentView()->bounds();
    m_img->setFrame(QRectF(14, (b.height() - kImageSide) / 2, kImageSide, kImageSide));
    // Beside the picture once there is one, else where it would stand.
    const qreal x = m_img->image().isNull() ? m_img->frame().x() : m_img->frame().x() + kTextShift;
    m_label->setFrame(QRectF(x, 0, qMax<qreal>(0, b.width() - x - 8), b.height()));
    m_button->setFrame(bounds());
}

void FieldUploadPhotoCell::changePhoto()
{
    const auto field = fieldAs<FieldUploadPhoto>();
    Form* f = form();
    ViewController* screen = f ? f->controller() : nullptr;
    if (!field || !screen)
        return;
    endTextEditing();
    m_chosenFor = field;
    if (m_selectImage)
        m_selectImage->setDelegate(nullptr);
    m_selectImage = std::make_shared<SelectImage>();
    m_selectImage->setController(screen);
    m_selectImage->setMediaType(SelectImage::kMediaTypeImage);
    m_selectImage->setDelegate(this);
    m_selectImage->showInView(screen->view());
}

void FieldUploadPhotoCell::imageWasSelected(const std::shared_ptr<ImageToUpload>& image, SelectImage*)
{
    const auto field = std::dynamic_pointer_cast<FieldUploadPhoto>(m_chosenFor.lock());
    if (!field || !image)
        return;
    field->setImage(image);
    if (callback() == field.get())
        setField();
}
