#pragma once

#include "app/model/ModelObserver.h"
#include "app/net/HTTPRequest.h"
#include "app/session/CurrentUser.h"
#include "platform/ui/ApplicationDelegate.h"
#include "platform/ui/TableViewDataSource.h"
#include "platform/ui/TextField.h"
#include "platform/ui/ViewController.h"

#include "platform/foundation/ClockTimer.h"
#include "platform/foundation/Observation.h"

#include <QPointer>
#include <QStringList>

class Button;
class GradientButton;
class ImageView;
class Label;
class RoundedRectView;
class SegmentedControl;
class TableView;
class Toolbar;

// The first screen and the root of the navigation: sign in with a name and a
// password, go on as a guest ("skip"), or register. It hides the navigation
// bar while on screen, moves its view up while a field is edited by as much
// as the keyboard would cover (nothing, with the desktop's keyboard), and
// shows a busy overlay while the sign-in runs. Return in the password field
// signs in. Registration is offered only when the forum sells no subscriptions
// and a registration screen ("RegistrationController") is registered.
//
// The password is shown masked and never written anywhere; a failed sign-in
// leaves everything typed in place.
class LoginController : public ViewController,
                        public ModelObserver,
                        public TextFieldDelegate,
                        public TableViewDataSource,
                        public ApplicationDelegate {
public:
    // A sign-in whose answer has come and gone without making a member or a
    // failure is looked for this often.
    static constexpr int kSignInWatchMs = 1000;

    LoginController();
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

    int numberOfRowsInSection(TableView* tableView, int section) override;
    TableViewCell* cellForRowAtIndexPath(TableView* tableView, const IndexPath& indexPath) override;

    bool textFieldShouldBeginEditing(TextField* textField) override;
    void textFieldDidBeginEditing(TextField* textField) override;
    void textFieldDidEndEditing(TextField* textField) override;
    bool textFieldShouldReturn(TextField* textField) override;

    // The outlets and the state, for the screen's tests.
    TableView* myTableView() const { return m_myTableView; }
    TextField* fieldWithTag(int tag) const;
    GradientButton* loginButton() const { return m_loginButton; }
    GradientButton* registerButton() const { return m_registerButton; }
    Label* noAccountLabel() const { return m_noAccountLabel; }
    Button* skipNowButton() const { return m_skipNowButton; }
    Label* versionLabel() const { return m_versionLabel; }
    SegmentedControl* navigation() const { return m_navigation; }
    View* loadingWrapper() const { return m_loadingWrapper; }
    ImageView* loadingWheel() const { return m_loadingWheel; }
    bool isBusy() const;
    qreal animatedDistance() const { return m_animatedDistance; }
    TextField* activeTextField() const { return m_activeTextField; }
    QString userName() const { return m_userName; }
    const CurrentUserPtr& user() const { return m_user; }

private:
    void observe(const CurrentUserPtr& user);
    void showBusy(bool busy);
    // The typed texts, read from the fields.
    void takeTypedText();
    // Where the optional rows stand, with registration offered or not.
    void placeOptionalRows();
    bool isSignInUnderWay() const;
    void checkSignInEnded();
    void endSignIn();
    void moveView(qreal distance);
    static QUrl featuresProbeURL();

    View* m_form = nullptr;  // everything but the version, the overlay and the keyboard's bar
    RoundedRectView* m_loading = nullptr;
    View* m_loadingWrapper = nullptr;
    ImageView* m_loadingWheel = nullptr;
    qreal m_animatedDistance = 0;
    QPointer<TextField> m_activeTextField;
    QList<QStringList> m_myArray;
    TableView* m_myTableView = nullptr;
    QString m_userName;
    QString m_userPassword;
    SegmentedControl* m_navigation = nullptr;
    Toolbar* m_accessory = nullptr;
    CurrentUserPtr m_user;
    GradientButton* m_loginButton = nullptr;
    GradientButton* m_registerButton = nullptr;
    Label* m_noAccountLabel = nullptr;
    Button* m_skipNowButton = nullptr;
    Label* m_versionLabel = nullptr;
    bool m_registrationOffered = false;
    bool m_signingIn = false;
    ClockTimer m_signInWatch;
    Observation m_userObservation;
    Observation m_applicationObservation;
};
