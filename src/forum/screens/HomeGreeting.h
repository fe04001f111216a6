#pragma once

#include "platform/ui/View.h"

#include <QImage>
#include <QString>

class Button;
class FocusRing;
class GradientButton;
class ImageView;
class Label;

// The top of the home screen: for a member, their picture (or the place for
// one) and a greeting by name; for a guest, the forum's welcome, a way back
// to signing in and, where the forum takes new members here, signing up.
// The screen wires the buttons.
class HomeGreeting : public View {
    Q_OBJECT
public:
    explicit HomeGreeting(const QRectF& frame);

    Button* changePicture() const { return m_changePicture; }
    Button* welcome() const { return m_welcome; }
    Button* notLoggedIn() const { return m_notLoggedIn; }
    GradientButton* signUp() const { return m_signup; }

    // The guest's part, welcomed to the forum, the member's hidden.
    void showGuest(bool offersSignUp);
    // The member's part, greeted by name, the guest's hidden.
    void showMember(const QString& name);
    // The member's picture; without one its place offers one.
    void showPicture(const QImage& picture, bool guest);

private:
    View* m_member = nullptr;
    ImageView* m_avatar = nullptr;
    Button* m_changePicture = nullptr;
    FocusRing* m_pictureMark = nullptr;
    Button* m_welcome = nullptr;
    View* m_guest = nullptr;
    Label* m_guestWelcome = nullptr;
    Button* m_notLoggedIn = nullptr;
    GradientButton* m_signup = nullptr;
};
