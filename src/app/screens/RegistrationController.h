#pragma once

#include "app/model/FieldCheckbox.h"
#include "app/model/FieldDate.h"
#include "app/model/FieldLink.h"
#include "app/model/FieldPassword.h"
#include "app/model/ModelObserver.h"
#include "app/screens/UIViewControllerCommon.h"
#include "app/session/CurrentUser.h"
#include "app/session/Registration.h"

#include "platform/foundation/AlertViewDelegate.h"
#include "platform/foundation/Observation.h"

#include <QHash>

#include <memory>

class ActivityIndicatorView;
class AppContext;
class BarButtonItem;
class Label;
class RegistrationForm;
class RegistrationLeaving;

// The sign-up screen. It builds its form from what the forum says about
// signing up (the extra profile fields, the rules, whether a date of birth
// is checked against the children's-privacy rules), checks the entries,
// sends the sign-up and says how it went; a new member signed in finds the
// home screen, with the login screen beneath it, and the chosen picture on
// the way to the forum.
//
// What was typed stays through every answer: the fields are this screen's,
// and the form is laid out anew only when the forum's options or a date
// check change what it asks. The date of birth stays on the form to be
// mended; a date the forum refuses brings the date-only form back. A refused
// sign-up names the field it concerns and why, in one alert, and the field
// has the keyboard. A forum that takes no new members says so and the screen
// goes; the member who leaves a form that holds entries is asked first. The
// password is sent only as its digest and shown only masked.
class RegistrationController : public UIViewControllerCommon,
                               public ModelObserver,
                               public FieldDateObserver,
                               public AlertViewDelegate {
public:
    explicit RegistrationController(AppContext& context);
    ~RegistrationController() override;

    void buildNib(View* root) override;
    void viewDidLoad() override;
    // The keyboard is on the form's first field as it opens, and back on
    // the row that had it when another screen came over this one.
    void viewDidAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;
    // Leaving a form that holds what was entered asks first.
    bool shouldGoBack() override;
    bool holdsUnsentWork() const override { return holdsEntries(); }
    // Whether the member entered anything the form did not hold when it came.
    bool holdsEntries() const;

    // The submit button's action.
    void submit();
    void sendUserRegistration();

    void modelHasChanged(Model* model) override;
    bool modelHasFailedToUpdate(Model* model, const Error& error) override;
    void onDateOfBirthChange() override;

    // The date-only form of a forum that checks the date first, and the full one.
    void prepareRegistrationView();
    void addExtraFields();

    static bool validPassword(const QString& password, const QString& confirmation);
    void showRegistrationErrorMessage(const QString& message, const QString& title);
    void showPasswordConfirmNotMatch();

    // The alert of a sign-up held for moderation leads back to the login screen.
    void didDismissWithButtonIndex(AlertView* alertView, int buttonIndex) override;

    // For the screen's tests.
    const RegistrationPtr& registration() const { return m_registration; }
    RegistrationForm* form() const { return m_form; }
    const std::shared_ptr<BarButtonItem>& submitButton() const { return m_submit; }
    Label* statusLabel() const { return m_status; }
    bool isSending() const { return m_stage == Stage::Sending; }

protected:
    // The context the screen was made on, which outlives it.
    AppContext& context() const { return m_context; }

private:
    AppContext& m_context;
    enum class Stage { Loading, Form, Sending, SigningIn, Done };

    void makeFields();
    // The values the fields came with, for those not known yet.
    void noteUntouchedValues();
    // Gives the keyboard to the form when nothing on it has it: to the row
    // that had it before another screen came, else (once) the first field.
    void placeKeyboard();
    // The field in view and with the keyboard, before the alert that says
    // what is wrong with it (which gives the keyboard back to it).
    void showFieldProblem(const FieldPtr& field, const QString& message, const QString& title);
    // Lays the form out again for the forum's options or a date check.
    void rebuildForm();
    void showSubmit(bool shown);
    void showStatus(const QString& text, bool busy);
    // The field the forum's refusal concerns, or null.
    FieldPtr refusedField(const Value& refusal) const;
    void showRefusal(const Error& error);
    // Takes down the bare alert of the forum's own text for an answer that
    // this screen explains itself.
    static void withdrawBareAlert(const QString& text);
    // A forum that takes no new members: said, and the screen goes.
    void leaveClosedForum(const Error& error);
    void observeUser();
    void signedIn();
    void backToLogin();
    // A sign-up held for moderation keeps the chosen picture for the
    // member's first sign-in.
    void keepPhotoForLater();

    RegistrationPtr m_registration;
    CurrentUserPtr m_user;
    RegistrationForm* m_form = nullptr;
    Label* m_status = nullptr;
    ActivityIndicatorView* m_wheel = nullptr;
    std::shared_ptr<BarButtonItem> m_submit;
    Stage m_stage = Stage::Loading;
    std::unique_ptr<RegistrationLeaving> m_leaving;
    QHash<QString, Value> m_untouched;
    std::weak_ptr<Field> m_returnTo;
    bool m_keyboardPlaced = false;

    std::shared_ptr<FieldText> m_username;
    std::shared_ptr<FieldPassword> m_password;
    std::shared_ptr<FieldPassword> m_passwordConfirm;
    std::shared_ptr<FieldText> m_email;
    std::shared_ptr<FieldDate> m_dateOfBirth;
    std::shared_ptr<FieldText> m_parentEmail;
    std::shared_ptr<FieldCheckbox> m_agreement;
    std::shared_ptr<FieldLink> m_rules;

    Observation m_registrationObservation;
    Observation m_userObservation;
    Observation m_dateOfBirthObservation;
};
