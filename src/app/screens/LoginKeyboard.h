#pragma once

#include "platform/ui/TextField.h"

#include <QPointer>

#include <functional>

class LoginForm;
class SegmentedControl;
class Toolbar;
class View;

// The editing of the login form's fields: the keyboard's previous / next /
// done bar at the foot (shown only with a keyboard that takes room), the
// screen moved up while a field is edited by as much as the keyboard would
// cover, and Return going from the name to the password and from the
// password on to signing in.
class LoginKeyboard : public TextFieldDelegate {
public:
    // Builds the bar into the screen's root view; neither is owned. The last
    // field's Return calls the sign-in.
    LoginKeyboard(View* screen, LoginForm* form, std::function<void()> signIn);

    // The bar's buttons and colours.
    void load();

    // The other field (previous or next: there are two).
    void changeField();
    // Editing ends, whichever field it was in.
    void done();

    Toolbar* accessory() const;
    SegmentedControl* navigation() const;
    qreal animatedDistance() const { return m_animatedDistance; }
    TextField* activeTextField() const { return m_activeTextField; }

    bool textFieldShouldBeginEditing(TextField* textField) override;
    void textFieldDidBeginEditing(TextField* textField) override;
    void textFieldDidEndEditing(TextField* textField) override;
    bool textFieldShouldReturn(TextField* textField) override;

private:
    void moveView(qreal distance);

    QPointer<View> m_screen;
    QPointer<LoginForm> m_form;
    std::function<void()> m_signIn;
    QPointer<SegmentedControl> m_navigation;
    QPointer<Toolbar> m_accessory;
    qreal m_animatedDistance = 0;
    QPointer<TextField> m_activeTextField;
};
