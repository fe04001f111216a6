#include "neighbours/screens/FriendCell.h"

#include "app/config/Customizer.h"

#include "platform/ui/Font.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"

namespace {

Label* plainLabel(const QRectF& frame, const QFont& font, const QColor& color)
{
    auto* label = new Label(frame);
    label->setFont(font);
    label->setTextColor(color);
    label->setBackgroundColor(Qt::transparent);
    label->setOpaque(false);
    return label;
}

}  // namespace

FriendCell::FriendCell() : TableViewCell(TableViewCellStyle::Default, QStringLiteral("FriendCell"))
{
    Customizer& theme = Customizer::getInstance();
    setFrame(QRectF(0, 0, 320, kHeight));
    const QRectF pictureFrame(8, 6, 44, 44);
    m_initial = new Label(pictureFrame);
    m_initial->setFont(Font::boldSystemFontOfSize(20));
    m_initial->setTextColor(Qt::white);
    m_initial->setBackgroundColor(theme.colorForKey(kColorBackgroundButton));
    m_initial->setTextAlignment(TextAlignment::Center);
    m_picture = new ImageView(pictureFrame);
    m_picture->setContentMode(ContentMode::ScaleAspectFill);
    m_picture->setClipsToBounds(true);
    m_name = plainLabel(QRectF(62, 9, 226, 20), Font::boldSystemFontOfSize(16), theme.colorForKey(kColorTextTitle));
    m_userTitle =
        plainLabel(QRectF(62, 30, 226, 16), Font::systemFontOfSize(13), theme.colorForKey(kColorTextSecondary));
    for (View* view : std::initializer_list<View*>{m_initial, m_picture, m_name, m_userTitle})
        contentView()->addSubview(view);
    setAccessoryType(TableViewCellAccessoryType::DisclosureIndicator);
    setSeparator(TableViewCellSeparatorStyle::SingleLine, QColor(0xD5, 0xDC, 0xE6));
}

FriendCell::~FriendCell() = default;

void FriendCell::setMember(const FriendPtr& member)
{
    m_member = member;
    m_memberObservation.observe(m_member, this);
    showMember();
}

void FriendCell::modelHasChanged(Model* model)
{
    if (m_member && model == m_member.get())
        showMember();
}

void FriendCell::showMember()
{
    const QString name = m_member ? m_member->username() : QString();
    m_name->setText(name);
    m_userTitle->setText(m_member ? m_member->usertitle() : QString());
    const QImage picture = m_member ? m_member->avatar().qimage() : QImage();
    m_picture->setImage(picture);
    m_picture->setHidden(picture.isNull());
    // One letter, whole even where it takes two units (a surrogate pair).
    m_initial->setText(name.left(!name.isEmpty() && name.at(0).isHighSurrogate() ? 2 : 1).toUpper());
    m_initial->setHidden(!picture.isNull());
}
