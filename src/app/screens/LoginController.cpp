#include "app/screens/LoginController.h"

#include "app/config/AlertViewUtil.h"
#include "app/model/Config.h"
#include "app/config/ConnectionError.h"
#include "app/config/Customizer.h"
#include "app/config/ErrorMessages.h"
#include "app/net/ApiAddress.h"
#include "app/net/ClientIdentity.h"
#include "app/net/JSONHTTPRequest.h"
#include "app/widgets/GradientButton.h"
#include "app/widgets/RoundedRectView.h"
#include "services/BetaClient.h"
#include "platform/ui/Application.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Button.h"
#include "platform/ui/Font.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Keyboard.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/ResourceImages.h"
#include "platform/ui/SegmentedControl.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TableViewCell.h"
#include "platform/ui/Toolbar.h"
#include "platform/ui/ViewControllerRegistry.h"

#include "platform/foundation/AlertView.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/Clock.h"
#include "platform/foundation/Localized.h"

#include <cmath>

namespace {

const QString kRegistrationController = QStringLiteral("RegistrationController");
const QString kHomeController = QStringLiteral("HomeController");

// The nib's layout, in points of a 460-point view (no navigation bar). The
// form stands lower when it has no registration rows, so that it keeps to
// the middle of the screen.
constexpr qreal kFormTopWithout = 36;
constexpr qreal kRowsTop = 136;
constexpr qreal kLoginTop = 250;
constexpr qreal kNoAccountTop = 310;
constexpr qreal kRegisterTop = 334;
constexpr qreal kSkipTopWithRegistration = 392;
constexpr qreal kSkipTopWithout = 312;

}  // namespace

LoginController::LoginController() = default;

LoginController::~LoginController() = default;

// ---- The nib

void LoginController::buildNib(View* root)
{
    const QColor text = Customizer::getInstance().colorForKey(kColorTextNotification);
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

    m_form = new View(QRectF(0, 0, 320, 424));
    m_form->setBackgroundColor(Qt::transparent);
    m_form->setOpaque(false);
    root->addSubview(m_form);
    auto* logo = new ImageView(QRectF(128, 30, 64, 64));
    m_form->addSubview(logo);
    auto* name = new Label(QRectF(20, 98, 280, 30));
    name->setText(Customizer::getInstance().appLabel());
    name->setFont(Font::boldSystemFontOfSize(24));
    name->setTextColor(text);
    name->setTextAlignment(TextAlignment::Center);
    name->setBackgroundColor(Qt::transparent);
    m_form->addSubview(name);

    m_myTableView = new TableView(QRectF(0, kRowsTop, 320, 108), TableViewStyle::Grouped);
    m_myTableView->setScrollEnabled(false);
    m_myTableView->setBounces(false);
    m_form->addSubview(m_myTableView);

    m_loginButton = new GradientButton(QRectF(20, kLoginTop, 280, 44), GradientButton::Archive{});
    m_loginButton->titleLabel()->setFont(Font::boldSystemFontOfSize(18));
    m_form->addSubview(m_loginButton);

    m_noAccountLabel = new Label(QRectF(20, kNoAccountTop, 280, 20));
    m_noAccountLabel->setFont(Font::systemFontOfSize(14));
    m_noAccountLabel->setTextAlignment(TextAlignment::Center);
    m_noAccountLabel->setBackgroundColor(Qt::transparent);
    m_form->addSubview(m_noAccountLabel);

    m_registerButton = new GradientButton(QRectF(20, kRegisterTop, 280, 44));
    m_registerButton->titleLabel()->setFont(Font::boldSystemFontOfSize(17));
    m_form->addSubview(m_registerButton);

    m_skipNowButton = new Button(QRectF(60, kSkipTopWithRegistration, 200, 32), ButtonType::Custom);
    m_skipNowButton->titleLabel()->setFont(Font::boldSystemFontOfSize(16));
    m_skipNowButton->setBackgroundColor(Qt::transparent);
    m_form->addSubview(m_skipNowButton);

    // The keyboard's previous / next / done bar, at the foot while editing
    // with a keyboard that takes room.
    m_navigation = new SegmentedControl({localized("previous"), localized("next")});
    m_navigation->setSegmentedControlStyle(SegmentedControlStyle::Bar);
    m_navigation->setMomentary(true);
    m_navigation->setFrame(QRectF(0, 0, 150, 30));
    m_accessory = new Toolbar(QRectF(0, height - Toolbar::kHeight, 320, Toolbar::kHeight));
    m_accessory->setAutoresizingMask(Autoresizing::FlexibleTopMargin | Autoresizing::FlexibleWidth);
    m_accessory->setHidden(true);
    root->addSubview(m_accessory);

    m_loadingWrapper = new View(QRectF(0, 0, 320, height));
    m_loadingWrapper->setBackgroundColor(QColor(0, 0, 0, 70));
    m_loadingWrapper->setAutoresizingMask(Autoresizing::FlexibleSize);
    m_loading = new RoundedRectView(QRectF(110, 150, 100, 100));
    m_loading->setCornerRadius(12);
    m_loadingWrapper->addSubview(m_loading);
    m_loadingWheel = new ImageView(QRectF(141.5, 181.5, 37, 37));
    m_loadingWrapper->addSubview(m_loadingWheel);
    root->addSubview(m_loadingWrapper);

    backdrop->setImageNamed(backdropImage);
    logo->setImageNamed(logoImage);
}

void LoginController::viewDidLoad()
{
    ViewController::viewDidLoad();
    checkForPaidSubscriptions();

    m_myArray = {{localized("login_username"), QStringLiteral("NO")}, {localized("login_password"), QStringLiteral("YES")}};
    m_myTableView->setBackgroundColor(Qt::transparent);
    m_myTableView->setOpaque(false);
    m_myTableView->setDataSource(this);
    m_myTableView->reloadData();
    m_registerButton->useRedDeleteStyle();
    m_loadingWrapper->setHidden(true);
    m_loadingWheel->setAnimationDuration(1.0);
    m_loadingWheel->setAnimationRepeatCount(0);
    const QColor panel = QColor::fromRgbF(0.2f, 0.2f, 0.2f, 1.0f);
    m_loading->setRectColor(panel);
    m_loading->setStrokeColor(panel);

    navigationItem()->setBackBarButtonItem(BarButtonItem::withTitle(localized("login"), BarButtonItemStyle::Bordered));

    const QColor text = Customizer::getInstance().colorForKey(kColorTextNotification);
    m_loginButton->setTitle(localized("login"), ControlState::Normal);
    m_loginButton->setTitleColor(Qt::white, ControlState::Normal);
    m_loginButton->setTitleColor(Qt::white, ControlState::Highlighted);
    m_loginButton->addTarget(this, &LoginController::login, ControlEvent::TouchUpInside);
    m_noAccountLabel->setText(localized("login_no_account"));
    m_noAccountLabel->setTextColor(text);
    m_noAccountLabel->setHidden(true);
    m_registerButton->setTitle(localized("login_crate_account"), ControlState::Normal);
    m_registerButton->setTitleColor(Qt::white, ControlState::Normal);
    m_registerButton->setTitleColor(Qt::white, ControlState::Highlighted);
    m_registerButton->setHidden(true);
    m_registerButton->addTarget(this, &LoginController::registration, ControlEvent::TouchUpInside);
    m_skipNowButton->setTitle(localized("login_skipfornow"), ControlState::Normal);
    m_skipNowButton->setTitleColor(text, ControlState::Normal);
    m_skipNowButton->setTitleColor(text, ControlState::Highlighted);
    QColor waiting = text;
    waiting.setAlphaF(0.4f);
    m_skipNowButton->setTitleColor(waiting, ControlState::Disabled);
    m_skipNowButton->setEnabled(false);
    m_skipNowButton->addTarget(this, &LoginController::skipLogin, ControlEvent::TouchUpInside);
    placeOptionalRows();

    m_versionLabel = new Label(QRectF(100, view()->frame().height() - 20, 210, 14));
    m_versionLabel->setTextAlignment(TextAlignment::Right);
    m_versionLabel->setText(
        QStringLiteral("v") +
        Bundle::main().objectForInfoDictionaryKey(QStringLiteral("CFBundleShortVersionString")).toString());
    m_versionLabel->setFont(Font::fontWithName(QStringLiteral("HelveticaNeue-Bold"), 12));
    m_versionLabel->setTextColor(text);
    m_versionLabel->setBackgroundColor(Qt::transparent);
    m_versionLabel->setAutoresizingMask(Autoresizing::FlexibleTopMargin);
    view()->insertSubviewBelow(m_versionLabel, m_accessory);

    m_navigation->addTarget(this, &LoginController::changeField, ControlEvent::ValueChanged);
    m_accessory->setItems({BarButtonItem::withCustomView(m_navigation),
                           BarButtonItem::withSystemItem(BarButtonSystemItem::FlexibleSpace),
                           BarButtonItem::withSystemItem(BarButtonSystemItem::Done, this, &LoginController::done)});
    m_accessory->setTintColor(Customizer::getInstance().colorForKey(kColorBackgroundButton));

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

void LoginController::placeOptionalRows()
{
    const bool offered = m_registrationOffered;
    m_registerButton->setHidden(!offered);
    m_noAccountLabel->setHidden(!offered);
    QRectF skip = m_skipNowButton->frame();
    skip.moveTop(offered ? kSkipTopWithRegistration : kSkipTopWithout);
    m_skipNowButton->setFrame(skip);
    QRectF form = m_form->frame();
    form.moveTop(offered ? 0 : kFormTopWithout);
    m_form->setFrame(form);
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
        placeOptionalRows();
        m_skipNowButton->setEnabled(true);
    }
    Config::getInstance().setPaidsubscription(paid);
}

// ---- Signing in, skipping, registering

void LoginController::login()
{
    done();
    takeTypedText();
    if (m_userName.isEmpty() || m_userPassword.isEmpty()) {
        AlertView::create(QString(), localized("reg_missing_user_or_pass"), nullptr, {localized("ok")})->show();
        return;
    }
    observe(CurrentUser::login(m_userName, m_userPassword));
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
    if (!isViewLoaded())
        return;
    m_loadingWrapper->setHidden(!busy);
    if (!busy) {
        m_loadingWheel->stopAnimating();
        return;
    }
    // The wheel's pictures are decoded when it first turns: the screen
    // shows without them.
    if (m_loadingWheel->animationImages().isEmpty()) {
        QList<QImage> frames;
        for (int i = 1; i <= 12; ++i)
            frames.append(ResourceImages::named(QStringLiteral("%1.png").arg(i)));
        m_loadingWheel->setAnimationImages(frames);
    }
    m_loadingWheel->startAnimating();
}

bool LoginController::isBusy() const
{
    return m_loadingWrapper && !m_loadingWrapper->isHidden();
}

void LoginController::gotoHome()
{
    // The form is done with: whoever comes back to it after a sign-out finds
    // it empty, the password first of all.
    done();
    for (const int tag : {1, 2}) {
        if (TextField* field = fieldWithTag(tag))
            field->setText(QString());
    }
    m_userName = QString();
    m_userPassword = QString();
    const ViewControllerPtr home = ViewControllerRegistry::create(kHomeController);
    if (home && navigationController())
        navigationController()->pushViewController(home, true);
}

// ---- The form

int LoginController::numberOfRowsInSection(TableView*, int)
{
    return int(m_myArray.size());
}

TableViewCell* LoginController::cellForRowAtIndexPath(TableView* tableView, const IndexPath& indexPath)
{
    const QString identifier = QStringLiteral("%1:%2").arg(indexPath.section).arg(indexPath.row);
    if (TableViewCell* reused = tableView->dequeueReusableCellWithIdentifier(identifier))
        return reused;
    const QStringList& row = m_myArray.at(indexPath.row);
    auto* cell = new TableViewCell(TableViewCellStyle::Default, identifier);
    cell->setSelectionStyle(TableViewCellSelectionStyle::None);
    auto* field = new TextField(QRectF(25, 10, 270, 25));
    field->setAdjustsFontSizeToFitWidth(true);
    field->setTextColor(Qt::black);
    field->setFont(Font::systemFontOfSize(17));
    field->setPlaceholder(row.at(0));
    field->setAutocorrectionEnabled(false);
    field->setAutocapitalizationEnabled(false);
    field->setTextAlignment(TextAlignment::Left);
    field->setKeyboardType(KeyboardType::Default);
    field->setReturnKeyType(indexPath.row + 1 < m_myArray.size() ? ReturnKeyType::Next : ReturnKeyType::Done);
    field->setSecureTextEntry(row.at(1) != u"NO");
    field->setTag(indexPath.row + 1);
    field->setClearButtonMode(TextFieldViewMode::WhileEditing);
    // A member whose session could not be renewed finds the name kept.
    const CurrentUserPtr user = CurrentUser::currentUser();
    field->setText(indexPath.row == 0 && user->userid() < 1 ? user->username() : QString());
    field->setDelegate(this);
    cell->addSubview(field);
    return cell;
}

TextField* LoginController::fieldWithTag(int tag) const
{
    return m_myTableView ? qobject_cast<TextField*>(m_myTableView->viewWithTag(tag)) : nullptr;
}

void LoginController::takeTypedText()
{
    if (const TextField* name = fieldWithTag(1))
        m_userName = name->text();
    if (const TextField* password = fieldWithTag(2))
        m_userPassword = password->text();
}

bool LoginController::textFieldShouldBeginEditing(TextField* textField)
{
    // The field being left ends its editing first, so the view's moves
    // always undo each other.
    if (m_activeTextField && m_activeTextField != textField && m_activeTextField->isEditing())
        m_activeTextField->resignFirstResponder();
    m_activeTextField = textField;
    m_navigation->setEnabledForSegmentAtIndex(textField->tag() != 1, 0);
    m_navigation->setEnabledForSegmentAtIndex(textField->tag() != 2, 1);
    return true;
}

void LoginController::textFieldDidBeginEditing(TextField* textField)
{
    const QRectF field = textField->convertRect(textField->bounds(), nullptr);
    const QRectF screen = view()->convertRect(view()->bounds(), nullptr);
    const qreal midline = field.y() + 0.5 * field.height();
    const qreal numerator = midline - screen.y() - 0.2 * screen.height();
    const qreal denominator = 0.6 * screen.height();
    const qreal fraction = qBound(0.0, numerator / denominator, 1.0);
    // As much room as the keyboard takes: none for a hardware keyboard, whose
    // Tab, Shift+Tab and Return stand for the bar's buttons too.
    const qreal keyboard = Keyboard::frame().height();
    m_animatedDistance = std::floor(keyboard * fraction);
    m_accessory->setHidden(keyboard <= 0);
    moveView(-m_animatedDistance);
}

void LoginController::textFieldDidEndEditing(TextField* textField)
{
    if (textField->tag() == 1)
        m_userName = textField->text();
    else if (textField->tag() == 2)
        m_userPassword = textField->text();
    m_accessory->setHidden(true);
    moveView(m_animatedDistance);
    m_animatedDistance = 0;
}

void LoginController::moveView(qreal distance)
{
    // Up by the distance, and as much longer at the foot, so that what the
    // phone's keyboard would cover is still the screen's own background.
    if (distance == 0)
        return;
    View* root = view();
    QRectF frame = root->frame();
    frame.translate(0, distance);
    frame.setHeight(frame.height() - distance);
    View::animate(0.3, 0, AnimationCurve::EaseInOut, [root, frame] { root->setFrame(frame); });
}

bool LoginController::textFieldShouldReturn(TextField* textField)
{
    if (textField->tag() != m_myArray.size()) {
        if (TextField* next = fieldWithTag(textField->tag() + 1)) {
            m_activeTextField = next;
            next->becomeFirstResponder();
        }
        return false;
    }
    done();
    // The last field's return key goes on: it signs in.
    login();
    return false;
}

void LoginController::changeField()
{
    const int target = m_activeTextField && m_activeTextField->tag() == 2 ? 1 : 2;
    if (TextField* field = fieldWithTag(target))
        field->becomeFirstResponder();
}

void LoginController::done()
{
    if (m_activeTextField)
        m_activeTextField->resignFirstResponder();
    m_activeTextField = nullptr;
}

void LoginController::didEnterBackground()
{
    done();
}

void LoginController::applicationWillResignActive(Application*)
{
    didEnterBackground();
}
