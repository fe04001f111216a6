#include "forum/cells/HomeCell.h"

#include "app/config/Customizer.h"
#include "app/model/ModelWithImage.h"
#include "app/text/Formatter.h"
#include "forum/cells/HomeCellPicture.h"
#include "forum/cells/HomeContent.h"

#include "platform/ui/Button.h"
#include "platform/ui/Font.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"

#include "platform/foundation/Localized.h"
#include "platform/foundation/TextFormat.h"

HomeCell::HomeCell() : TableViewCell(TableViewCellStyle::Default, QStringLiteral("HomeCell"))
{
    setFrame(QRectF(0, 0, 320, kHeight));
    m_thumb = new ImageView(QRectF(6, 5, 40, 40));
    m_thumb->setContentMode(ContentMode::ScaleAspectFill);
    m_thumb->setClipsToBounds(true);
    m_thumbButton = new HomeCellPicture(m_thumb->frame());
    m_thumbButton->addTarget(this, &HomeCell::viewProfile, ControlEvent::TouchUpInside);
    m_title = new Label(QRectF(54, 6, 214, 19));
    m_title->setFont(Font::fontWithName(QStringLiteral("Helvetica-Bold"), 14));
    m_shortDescription = new Label(QRectF(54, 27, 234, 16));
    m_shortDescription->setFont(Font::fontWithName(QStringLiteral("Helvetica"), 11));
    m_number = new Label(QRectF(270, 6, 42, 19));
    m_number->setFont(Font::fontWithName(QStringLiteral("Helvetica-Bold"), 13));
    m_number->setTextAlignment(TextAlignment::Right);
    m_number->setTextColor(QColor(0x5F, 0x6B, 0x7A));
    m_icon = new ImageView(QRectF(294, 27, 16, 16));
    m_icon->setContentMode(ContentMode::Center);
    for (Label* label : {m_title, m_shortDescription, m_number}) {
        label->setBackgroundColor(Qt::transparent);
        label->setHighlightedTextColor(Qt::white);
        label->setOpaque(false);
    }
    for (View* view : std::initializer_list<View*>{m_thumb, m_thumbButton, m_title, m_shortDescription, m_number, m_icon})
        contentView()->addSubview(view);
    setSeparator(TableViewCellSeparatorStyle::SingleLine, QColor(0xD5, 0xDC, 0xE6));
}

HomeCell::~HomeCell() = default;

void HomeCell::awakeFromNib()
{
    Customizer& theme = Customizer::getInstance();
    m_title->setTextColor(theme.colorForKey(kColorTextTitle));
    m_shortDescription->setTextColor(theme.colorForKey(kColorTextPrimary));
    m_originalThumbRect = m_thumb->frame();
}

void HomeCell::setItem(const ModelPtr& item)
{
    m_thumb->setImage(QImage());
    m_icon->setImage(QImage());
    m_item = item;
    m_itemObservation.observe(m_item, this);

    const std::optional<HomeItemFace> face = HomeContent::faceOf(item);
    m_title->setText(face ? face->title : QString());
    m_number->setText(face ? QString::number(face->number) : QString());
    m_shortDescription->setText(
        face ? TextFormat::fill(localized(face->byFormatKey),
                                {Value(face->username),
                                 Value(Formatter::defaultFormatter().cellDateFormatter().stringFromDate(face->date))})
             : QString());
    if (face)
        m_icon->setImageNamed(face->iconName);
    m_thumbButton->setUserInteractionEnabled(face && face->user && ScreenInputs::canCreate(kProfileScreen));
    showPicture();
    // The picture comes through modelHasChanged.
    if (auto* pictured = dynamic_cast<ModelWithImage*>(m_item.get()))
        pictured->loadImages();
}

void HomeCell::showPicture()
{
    const auto* pictured = dynamic_cast<const ModelWithImage*>(m_item.get());
    const QImage picture = pictured ? pictured->pic().qimage() : QImage();
    m_thumb->setImage(picture);
    m_thumb->setHidden(picture.isNull());
}

void HomeCell::modelHasChanged(Model* model)
{
    if (m_item && model == m_item.get())
        showPicture();
}

void HomeCell::viewProfile()
{
    const std::optional<HomeItemFace> face = HomeContent::faceOf(m_item);
    ViewController* controller = m_controller.get();
    if (!face || !face->user || !controller || !controller->navigationController())
        return;
    if (const ViewControllerPtr profile = ScreenInputs::create(kProfileScreen, face->user))
        controller->navigationController()->pushViewController(profile, true);
}
