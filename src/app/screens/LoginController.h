#pragma once

#include "app/model/ModelObserver.h"
#include "app/net/HTTPRequest.h"
#include "app/session/CurrentUser.h"
#include "platform/ui/ApplicationDelegate.h"
#include "platform/ui/TextField.h"
#include "platform/ui/ViewController.h"

#include "platform/foundation/ClockTimer.h"
#include "platform/foundation/Observation.h"

#include <memory>

class AppContext;
class Button;
class GradientButton;
class ImageView;
class Label;
class LoginBusyOverlay;
class LoginForm;
class LoginKeyboard;
class SegmentedControl;
class TableView;
class View;

// The first screen and the root of the navigation: sign in with a name and a
// password, go on as a guest ("skip"), or register. It hides the navigation
// bar while on screen, moves its view up while a field is edited by as much
// as the keyboard would cover (nothing, with the desktop's keyboard), and
// shows a busy overlay while the sign-in runs. Return in the password field
// signs in. Registration is offered only when the forum sells no subscriptions
// and a registration screen ("RegistrationController") is registered.
//
// The password is shown masked and never written anywhere; a failed sign-in
// leaves everything typed in place. The form (LoginForm), the editing of its
// fields (LoginKeyboard) and the busy overlay (LoginBusyOverlay) are views and
// helpers of their own; the screen runs the sign-in.
class LoginController : public ViewController, public ModelObserver, public ApplicationDelegate {
public:
    // A sign-in whose answer has come and gone without making a member or a
    // failure is looked for this often.
    static constexpr int kSignInWatchMs = 1000;

    explicit LoginController(AppContext& context);
    ~LoginController() override;

    void buildNib(View* root) override;
    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;

    // Actions.
    void login();
    void skipLogin();
    void registration();
    void changeField();
    void done();

    void modelHasChanged(Model* model) override;
    bool modelHasFailedToUpdate(Model* model, const Error& error) override;

    void gotoHome();
    // Asks the forum (a session opening of its own, kept nowhere) whether it
    // sells subscriptions, which decides whether registration is offered.
    void checkForPaidSubscriptions();
    void handlePaidSubscriptions(const HTTPRequestPtr& request);
    // The application leaves the user's attention: editing ends.
    void didEnterBackground();
    void applicationWillResignActive(Application* application) override;

    // The outlets and the state, for the screen's tests.
    LoginForm* form() const { return m_form; }
    TableView* myTableView() const;
    TextField* fieldWithTag(int tag) const;
    GradientButton* loginButton() const;
    GradientButton* registerButton() const;
    Label* noAccountLabel() const;
    Button* skipNowButton() const;
    Label* versionLabel() const { return m_versionLabel; }
    SegmentedControl* navigation() const;
    View* loadingWrapper() const;
    ImageView* loadingWheel() const;
    bool isBusy() const;
    qreal animatedDistance() const;
    TextField* activeTextField() const;
    QString userName() const;
    const CurrentUserPtr& user() const { return m_user; }

protected:
    // The context the screen was made on, which outlives it.
    AppContext& context() const { return m_context; }

private:
    AppContext& m_context;
    void observe(const CurrentUserPtr& user);
    void showBusy(bool busy);
    bool isSignInUnderWay() const;
    void checkSignInEnded();
    void endSignIn();
    static QUrl featuresProbeURL();

    LoginForm* m_form = nullptr;  // everything but the version, the overlay and the keyboard's bar
    LoginBusyOverlay* m_loading = nullptr;
    std::unique_ptr<LoginKeyboard> m_keyboard;
    Label* m_versionLabel = nullptr;
    CurrentUserPtr m_user;
    bool m_registrationOffered = false;
    bool m_signingIn = false;
    ClockTimer m_signInWatch;
    Observation m_userObservation;
    Observation m_applicationObservation;
};
