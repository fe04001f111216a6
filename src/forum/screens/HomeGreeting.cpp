#include "forum/screens/HomeGreeting.h"

#include "app/config/Customizer.h"
#include "app/widgets/GradientButton.h"

#include "platform/ui/Button.h"
#include "platform/ui/FocusRing.h"
#include "platform/ui/Font.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/ResourceImages.h"

#include "platform/foundation/Localized.h"
#include "platform/foundation/TextFormat.h"

#include <QApplication>

namespace {

View* clearView(const QRectF& frame, const QString& name)
{
    auto* view = new View(frame);
    view->setObjectName(name);
    view->setBackgroundColor(Qt::transparent);
    view->setOpaque(false);
    return view;
}

}  // namespace

HomeGreeting::HomeGreeting(const QRectF& frame) : View(frame)
{
    setObjectName(QStringLiteral("greeting"));
    setBackgroundColor(Qt::transparent);
    setOpaque(false);
    Customizer& theme = Customizer::getInstance();
    const QRectF part(QPointF(0, 0), frame.size());

    m_member = clearView(part, QStringLiteral("memberGreeting"));
    m_avatar = new ImageView(QRectF(10, 1, 48, 48));
    m_avatar->setObjectName(QStringLiteral("avatar"));
    m_avatar->setContentMode(ContentMode::ScaleAspectFill);
    m_avatar->setClipsToBounds(true);
    m_member->addSubview(m_avatar);
    m_changePicture = new Button(QRectF(10, 1, 48, 48), ButtonType::Custom);
    m_changePicture->setObjectName(QStringLiteral("changePicture"));
    m_changePicture->setAdjustsImageWhenHighlighted(false);
    m_member->addSubview(m_changePicture);
    // The place for a picture is the button's own picture, which would
    // cover the button's mark: the mark lies over it.
    m_pictureMark = new FocusRing();
    m_pictureMark->setFrame(m_changePicture->bounds());
    m_pictureMark->setHidden(true);
    m_changePicture->addSubview(m_pictureMark);
    connect(qApp, &QApplication::focusChanged, this, [this] {
        m_pictureMark->setHidden(!m_changePicture->showsFocusMark());
        m_pictureMark->raise();
    });
    m_welcome = new Button(QRectF(66, 13, 244, 24), ButtonType::Custom);
    m_welcome->setObjectName(QStringLiteral("welcome"));
    m_welcome->titleLabel()->setFont(Font::fontWithName(QStringLiteral("Helvetica-Bold"), 17));
    m_welcome->setTitleColor(theme.colorForKey(kColorTextTitle), ControlState::Normal);
    m_member->addSubview(m_welcome);
    addSubview(m_member);

    m_guest = clearView(part, QStringLiteral("guestGreeting"));
    m_guestWelcome = new Label(QRectF(10, 2, 300, 22));
    m_guestWelcome->setObjectName(QStringLiteral("guestWelcome"));
    m_guestWelcome->setFont(Font::fontWithName(QStringLiteral("Helvetica-Bold"), 17));
    m_guestWelcome->setTextColor(theme.colorForKey(kColorTextTitle));
    m_guestWelcome->setBackgroundColor(Qt::transparent);
    m_guestWelcome->setOpaque(false);
    m_guest->addSubview(m_guestWelcome);
    m_notLoggedIn = new Button(QRectF(10, 26, 200, 20), ButtonType::Custom);
    m_notLoggedIn->setObjectName(QStringLiteral("notLoggedIn"));
    m_notLoggedIn->titleLabel()->setFont(Font::fontWithName(QStringLiteral("Helvetica"), 13));
    m_notLoggedIn->setTitleColor(theme.colorForKey(kColorTextSecondary), ControlState::Normal);
    m_notLoggedIn->setTitle(localized("home_not_logged_in"), ControlState::Normal);
    m_guest->addSubview(m_notLoggedIn);
    m_signup = new GradientButton(QRectF(222, 12, 88, 30));
    m_signup->setObjectName(QStringLiteral("signUp"));
    m_signup->useRedDeleteStyle();
    m_signup->setTitle(localized("home_sign_up"), ControlState::Normal);
    m_guest->addSubview(m_signup);
    addSubview(m_guest);
}

void HomeGreeting::showGuest(bool offersSignUp)
{
    m_member->setHidden(true);
    m_guest->setHidden(false);
    m_guestWelcome->setText(TextFormat::fill(localized("home_welcome_to"), {Value(Customizer::getInstance().appLabel())}));
    // The caption reads from the left edge, under the greeting.
    m_notLoggedIn->sizeToFit();
    m_notLoggedIn->setFrame(QRectF(10, 26, std::min<qreal>(m_notLoggedIn->frame().width(), 200), 20));
    m_signup->setHidden(!offersSignUp);
}

void HomeGreeting::showMember(const QString& name)
{
    m_member->setHidden(false);
    m_guest->setHidden(true);
    m_welcome->setTitle(TextFormat::fill(localized("home_welcome"), {Value(name)}), ControlState::Normal);
}

void HomeGreeting::showPicture(const QImage& picture, bool guest)
{
    m_avatar->setImage(picture);
    m_avatar->setHidden(guest || picture.isNull());
    m_changePicture->setImage(picture.isNull() ? ResourceImages::named(QStringLiteral("avatar_add.png")) : QImage());
    m_welcome->sizeToFit();
    const qreal x = 66;
    m_welcome->setFrame(QRectF(x, 13, std::min<qreal>(m_welcome->frame().width(), 310 - x), 24));
}
