#include "app/screens/LoginController.h"

#include "app/session/AppContext.h"

#include "app/config/AlertViewUtil.h"
#include "app/model/Config.h"
#include "app/config/ConnectionError.h"
#include "app/config/Customizer.h"
#include "app/config/ErrorMessages.h"
#include "app/net/ApiAddress.h"
#include "app/net/ClientIdentity.h"
#include "app/net/JSONHTTPRequest.h"
#include "app/screens/LoginBusyOverlay.h"
#include "app/screens/LoginForm.h"
#include "app/screens/LoginKeyboard.h"
#include "app/widgets/GradientButton.h"
#include "services/BetaClient.h"
#include "platform/ui/Application.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Button.h"
#include "platform/ui/Font.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/ResourceImages.h"
#include "platform/ui/Toolbar.h"
#include "platform/ui/ViewControllerRegistry.h"

#include "platform/foundation/AlertView.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/Clock.h"
#include "platform/foundation/Localized.h"

namespace {

const QString kRegistrationController = QStringLiteral("RegistrationController");
const QString kHomeController = QStringLiteral("HomeController");

}  // namespace

LoginController::LoginController(AppContext& context) : m_context(context) {}

LoginController::~LoginController() = default;

// ---- The nib

void LoginController::buildNib(View* root)
{
    const qreal height = root->frame().height();

    // The two pictures decode while the rest of the screen is built; they
    // are set last.
    const QString backdropImage = QStringLiteral("background.png");
    const QString logoImage = QStringLiteral("logo.png");
    ResourceImages::prefetch({backdropImage, logoImage});

    // The splash's sky behind everything, so the fade reveals the same sky.
    root->setBackgroundColor(QColor(0x10, 0x24, 0x47));
    auto* backdrop = new ImageView(QRectF(0, 0, 320, height));
    backdrop->setContentMode(ContentMode::ScaleAspectFill);
    backdrop->setClipsToBounds(true);
    backdrop->setAutoresizingMask(Autoresizing::FlexibleSize);
    root->addSubview(backdrop);

    m_form = new LoginForm(context(), QRectF(0, 0, 320, 424));
    root->addSubview(m_form);

    // The keyboard's previous / next / done bar, at the foot while editing
    // with a keyboard that takes room.
    m_keyboard = std::make_unique<LoginKeyboard>(root, m_form, [this] { login(); });

    m_loading = new LoginBusyOverlay(QRectF(0, 0, 320, height));
    root->addSubview(m_loading);

    backdrop->setImageNamed(backdropImage);
    m_form->showLogo(logoImage);
}

void LoginController::viewDidLoad()
{
    ViewController::viewDidLoad();
    checkForPaidSubscriptions();

    m_form->load(m_keyboard.get());
    m_loading->load();

    navigationItem()->setBackBarButtonItem(BarButtonItem::withTitle(localized("login"), BarButtonItemStyle::Bordered));

    m_form->loginButton()->addTarget(this, &LoginController::login, ControlEvent::TouchUpInside);
    m_form->registerButton()->addTarget(this, &LoginController::registration, ControlEvent::TouchUpInside);
    m_form->skipNowButton()->addTarget(this, &LoginController::skipLogin, ControlEvent::TouchUpInside);
    m_form->placeOptionalRows(m_registrationOffered);

    const QColor text = Customizer::getInstance().colorForKey(kColorTextNotification);
    m_versionLabel = new Label(QRectF(100, view()->frame().height() - 20, 210, 14));
    m_versionLabel->setTextAlignment(TextAlignment::Right);
    m_versionLabel->setText(
        QStringLiteral("v") +
        Bundle::main().objectForInfoDictionaryKey(QStringLiteral("CFBundleShortVersionString")).toString());
    m_versionLabel->setFont(Font::fontWithName(QStringLiteral("HelveticaNeue-Bold"), 12));
    m_versionLabel->setTextColor(text);
    m_versionLabel->setBackgroundColor(Qt::transparent);
    m_versionLabel->setAutoresizingMask(Autoresizing::FlexibleTopMargin);
    view()->insertSubviewBelow(m_versionLabel, m_keyboard->accessory());

    m_keyboard->load();

    m_applicationObservation.observe(Application::sharedApplication(), this);
}

void LoginController::viewWillAppear(bool animated)
{
    if (NavigationController* navigation = navigationController())
        navigation->setNavigationBarHidden(true, animated);
}

void LoginController::viewWillDisappear(bool animated)
{
    if (NavigationController* navigation = navigationController())
        navigation->setNavigationBarHidden(false, animated);
}

// ---- The forum's features

QUrl LoginController::featuresProbeURL()
{
    // Always a new client's session opening: one sent on the current session
    // would replace that session's token, and the session is not this
    // screen's to end.
    return QUrl(ApiAddress::baseAddress() +
                QStringLiteral("/api.php?api_v=%1&api_m=api_init").arg(ApiAddress::ApiVersion));
}

void LoginController::checkForPaidSubscriptions()
{
    JSONHTTPRequest::requestURL(featuresProbeURL(), ClientIdentity::parameters(), RequestMethod::POST,
                                SELECTOR(LoginController, handlePaidSubscriptions), this, RequestTag::Ordinary,
                                ApiCall{QStringLiteral("api_init"), {}});
}

void LoginController::handlePaidSubscriptions(const HTTPRequestPtr& request)
{
    // A new client's answer is signed with no session of ours: what counts is
    // that it decoded. A missing or failed answer means no paid subscriptions.
    const Value features = request ? request->response()[u"features"] : Value();
    const bool paid = features.isDict() && features[u"paidsubs"].toBool();
    m_registrationOffered = !paid && ViewControllerRegistry::isRegistered(kRegistrationController);
    if (isViewLoaded()) {
        m_form->placeOptionalRows(m_registrationOffered);
        m_form->skipNowButton()->setEnabled(true);
    }
    context().config().setPaidsubscription(paid);
}

// ---- Signing in, skipping, registering

void LoginController::login()
{
    done();
    m_form->takeTypedText();
    const QString& name = m_form->userName();
    const QString& password = m_form->userPassword();
    if (name.isEmpty() || password.isEmpty()) {
        AlertView::create(QString(), localized("reg_missing_user_or_pass"), nullptr, {localized("ok")})->show();
        return;
    }
    observe(CurrentUser::login(name, password));
    m_signingIn = true;
    showBusy(true);
    // A sign-in that ends without a word must not leave the overlay up.
    m_signInWatch = Clock::current().every(kSignInWatchMs, [this] { checkSignInEnded(); });
    BetaClient::passCheckpoint(QStringLiteral("ON_LOGIN_SUCCESS"));
}

void LoginController::skipLogin()
{
    observe(CurrentUser::skipLogin());
    m_user->setAnonymous(true);
    modelHasChanged(m_user.get());
    BetaClient::passCheckpoint(QStringLiteral("ON_SKIP_LOGIN_CLICK"));
}

void LoginController::registration()
{
    const ViewControllerPtr screen = ViewControllerRegistry::create(kRegistrationController);
    if (screen && navigationController())
        navigationController()->pushViewController(screen, true);
    BetaClient::passCheckpoint(QStringLiteral("ON_REGISTRATION_CLICK"));
}

void LoginController::observe(const CurrentUserPtr& user)
{
    m_user = user;
    m_userObservation.observe(m_user, this);
}

void LoginController::modelHasChanged(Model* model)
{
    if (!m_user || model != m_user.get())
        return;
    const bool ready = (m_user->userid() >= 1 || m_user->anonymous()) && !m_user->apiaccesstoken().isEmpty() &&
                       !m_user->secret().isEmpty();
    if (ready) {
        m_userObservation.reset();
        endSignIn();
        gotoHome();
        return;
    }
    // The session opened for a sign-in is not its answer: the overlay stays
    // until the sign-in itself has answered.
    if (!m_signingIn)
        showBusy(false);
}

bool LoginController::modelHasFailedToUpdate(Model* model, const Error& error)
{
    if (!m_user || model != m_user.get())
        return false;
    ConnectionError::showMessage(error);
    endSignIn();
    m_user->setAnonymous(true);
    return true;
}

bool LoginController::isSignInUnderWay() const
{
    if (!m_user)
        return false;
    const CurrentUser::Operation signIn = &CurrentUser::login;
    if (m_user->whenInitializedCall() == signIn || m_user->session_hash_request())
        return true;
    for (const HTTPRequestPtr& request : m_user->requests().requests()) {
        const QString& method = request->apiCall().method;
        if (method == u"login_login" || method == u"api_init")
            return true;
    }
    return false;
}

void LoginController::checkSignInEnded()
{
    if (!m_signingIn || isSignInUnderWay())
        return;
    // The answer came without a member and without a failure: say so, unless
    // an alert already speaks for it.
    endSignIn();
    if (m_user)
        m_user->setAnonymous(true);
    if (!AlertViewUtil::isAlertBeingShown())
        ConnectionError::showMessage(
            Error::withMessage(ErrorMessages::errorForCode(Value(QStringLiteral("unexpected_server_response")))));
}

void LoginController::endSignIn()
{
    m_signingIn = false;
    m_signInWatch = ClockTimer();
    showBusy(false);
}

void LoginController::showBusy(bool busy)
{
    if (isViewLoaded())
        m_loading->showBusy(busy);
}

bool LoginController::isBusy() const
{
    return m_loading && m_loading->isBusy();
}

void LoginController::gotoHome()
{
    // The form is done with: whoever comes back to it after a sign-out finds
    // it empty, the password first of all.
    done();
    m_form->clear();
    const ViewControllerPtr home = ViewControllerRegistry::create(kHomeController);
    if (home && navigationController())
        navigationController()->pushViewController(home, true);
}

// ---- The form

void LoginController::changeField()
{
    m_keyboard->changeField();
}

void LoginController::done()
{
    if (m_keyboard)
        m_keyboard->done();
}

void LoginController::didEnterBackground()
{
    done();
}

void LoginController::applicationWillResignActive(Application*)
{
    didEnterBackground();
}

TableView* LoginController::myTableView() const { return m_form ? m_form->table() : nullptr; }
TextField* LoginController::fieldWithTag(int tag) const { return m_form ? m_form->fieldWithTag(tag) : nullptr; }
GradientButton* LoginController::loginButton() const { return m_form ? m_form->loginButton() : nullptr; }
GradientButton* LoginController::registerButton() const { return m_form ? m_form->registerButton() : nullptr; }
Label* LoginController::noAccountLabel() const { return m_form ? m_form->noAccountLabel() : nullptr; }
Button* LoginController::skipNowButton() const { return m_form ? m_form->skipNowButton() : nullptr; }
SegmentedControl* LoginController::navigation() const { return m_keyboard ? m_keyboard->navigation() : nullptr; }
View* LoginController::loadingWrapper() const { return m_loading; }
ImageView* LoginController::loadingWheel() const { return m_loading ? m_loading->wheel() : nullptr; }
qreal LoginController::animatedDistance() const { return m_keyboard ? m_keyboard->animatedDistance() : 0; }
TextField* LoginController::activeTextField() const { return m_keyboard ? m_keyboard->activeTextField() : nullptr; }
QString LoginController::userName() const { return m_form ? m_form->userName() : QString(); }
