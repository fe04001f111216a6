#include "app/screens/RegistrationController.h"

#include "app/session/AppContext.h"

#include "app/config/ConnectionError.h"
#include "app/config/Customizer.h"
#include "app/config/ErrorMessages.h"
#include "app/screens/LoginController.h"
#include "app/screens/RegistrationLeaving.h"
#include "app/widgets/FieldCell.h"
#include "app/widgets/FindAndResignFirstResponder.h"
#include "app/widgets/RegistrationForm.h"

#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Font.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/TableView.h"
#include "platform/ui/ViewControllerRegistry.h"

#include "platform/foundation/AlertView.h"
#include "platform/foundation/Localized.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/TextFormat.h"

#include <QFile>

namespace {

const QString kHomeController = QStringLiteral("HomeController");
const QString kLoginController = QStringLiteral("LoginController");
const QString kUserfieldPrefix = QStringLiteral("userfield[");

QString decimal(int number)
{
    return TextFormat::fill(QStringLiteral("%d"), {Value(number)});
}

// The field a refusal code concerns, and the reason to give when the forum's
// own text for the code is not one to show.
struct Refusal {
    const char* code;
    const char* field;
    const char* reasonKey;
};

constexpr Refusal kRefusals[] = {
    {"usernametaken", "username", nullptr},
    {"emailtaken", "email", nullptr},
    {"bademail", "email", nullptr},
    {"fieldmissing_email", "email", nullptr},
    {"register_not_agreed", "forum_rules_agreement", nullptr},
    {"under_thirteen_registration_denied", "parent_email", nullptr},
    {"passwordtooshort", "password", "reg_password_too_short"},
};

// What a field holds as an entry: an empty text or list is none.
Value entry(const Value& value)
{
    if ((value.isString() || value.isList()) && value.size() == 0)
        return Value();
    return value;
}

// The rules' HTML: both parts when there are both, else the one there is.
QString joined(const QString& first, const QString& second)
{
    if (!first.isEmpty() && !second.isEmpty())
        return TextFormat::fill(QStringLiteral("%@%@"), {Value(first), Value(second)});
    return !first.isEmpty() ? first : second;
}

}  // namespace

RegistrationController::RegistrationController(AppContext& context)
    : m_context(context),
      m_leaving(std::make_unique<RegistrationLeaving>(*this, [this] { return holdsEntries(); }))
{
    makeFields();
    m_registration = Model::create<Registration>();
    m_registrationObservation.observe(m_registration, this);
    m_registration->prepareRegistration();
}

RegistrationController::~RegistrationController() = default;

void RegistrationController::makeFields()
{
    m_username = std::make_shared<FieldText>(QStringLiteral("Username"), QString(), QStringLiteral("username"));
    m_password = std::make_shared<FieldPassword>(QStringLiteral("Password"), QString(), QStringLiteral("password"));
    m_passwordConfirm = std::make_shared<FieldPassword>(QStringLiteral("Confirm Password"), QString(),
                                                        QStringLiteral("passwordconfirm"));
    m_email = std::make_shared<FieldText>(QStringLiteral("Email Address"), QString(), QStringLiteral("email"));
    m_dateOfBirth = std::make_shared<FieldDate>(QStringLiteral("Date of Birth"), QStringLiteral("date_of_birth"));
    m_dateOfBirthObservation.observe(m_dateOfBirth, this);
    m_parentEmail = std::make_shared<FieldText>(QStringLiteral("Parent/Guardian Email"), QString(),
                                                QStringLiteral("parent_email"));
    m_agreement = std::make_shared<FieldCheckbox>(
        TextFormat::fill(localized("reg_checkbox"), {Value(Customizer::getInstance().appLabel())}), QString(),
        QStringLiteral("forum_rules_agreement"));
    m_rules = std::make_shared<FieldLink>(QStringLiteral("Forum Rules"), QString(), QStringLiteral("forum_rules"));
}

// ---- The screen

void RegistrationController::buildNib(View* root)
{
    const QRectF b = root->bounds();
    m_wheel = new ActivityIndicatorView(ActivityIndicatorStyle::Gray);
    m_wheel->setFrame(QRectF((b.width() - 20) / 2, 150, 20, 20));
    m_wheel->setAutoresizingMask(Autoresizing::FlexibleLeftMargin | Autoresizing::FlexibleRightMargin);
    root->addSubview(m_wheel);
    m_status = new Label(QRectF(20, 180, b.width() - 40, 60));
    m_status->setNumberOfLines(3);
    m_status->setTextAlignment(TextAlignment::Center);
    m_status->setFont(Font::systemFontOfSize(15));
    m_status->setTextColor(Customizer::getInstance().colorForKey(kColorTextSecondary));
    m_status->setBackgroundColor(Qt::transparent);
    m_status->setOpaque(false);
    m_status->setAutoresizingMask(Autoresizing::FlexibleWidth);
    root->addSubview(m_status);
}

void RegistrationController::viewDidLoad()
{
    UIViewControllerCommon::viewDidLoad();
    setTitle(localized("reg_title"));
    navigationItem()->setBackBarButtonItem(BarButtonItem::withTitle(localized("back"), BarButtonItemStyle::Bordered));
    m_submit = BarButtonItem::withTitle(localized("submit"), BarButtonItemStyle::Done, this, &RegistrationController::submit);
    showSubmit(true);
    if (m_stage == Stage::Loading) {
        m_submit->setEnabled(false);
        showStatus(localized("loading"), true);
    }
    // The options may have come before the view.
    if (m_registration->usecoppa() != Registration::CoppaUnknown)
        rebuildForm();
}

void RegistrationController::viewDidAppear(bool animated)
{
    UIViewControllerCommon::viewDidAppear(animated);
    m_leaving->watchEscape(view()->window());
    placeKeyboard();
}

void RegistrationController::viewWillDisappear(bool animated)
{
    UIViewControllerCommon::viewWillDisappear(animated);
    m_returnTo = m_form ? m_form->focusedField() : nullptr;
}

bool RegistrationController::shouldGoBack()
{
    return m_leaving->mayLeave();
}

void RegistrationController::placeKeyboard()
{
    // An alert keeps the keys until it is answered.
    if (!m_form || !isAppeared() || AlertView::isAnyAlertShown() || m_form->focusedField())
        return;
    const FieldPtr back = std::exchange(m_returnTo, {}).lock();
    if (back && m_form->giveFocus(back.get()))
        return;
    // Once, as the form opens: later the member's place in the form counts
    // more than its first field.
    if (std::exchange(m_keyboardPlaced, true))
        return;
    if (const FieldPtr first = m_form->firstStop())
        m_form->giveFocus(first.get());
}

void RegistrationController::noteUntouchedValues()
{
    for (const FieldPtr& field : m_form->fields()) {
        if (!m_untouched.contains(field->name()))
            m_untouched.insert(field->name(), entry(field->value()));
    }
}

bool RegistrationController::holdsEntries() const
{
    if (!m_form || m_stage == Stage::Done)
        return false;
    // The date counts also while a date check has taken it off the form.
    QList<FieldPtr> fields = m_form->fields();
    fields.append(m_dateOfBirth);
    return std::any_of(fields.cbegin(), fields.cend(), [this](const FieldPtr& field) {
        return !(entry(field->value()) == m_untouched.value(field->name()));
    });
}

void RegistrationController::showSubmit(bool shown)
{
    if (!isViewLoaded())
        return;
    navigationItem()->setRightBarButtonItem(shown ? m_submit : nullptr);
}

void RegistrationController::showStatus(const QString& text, bool busy)
{
    if (!isViewLoaded())
        return;
    m_status->setText(text);
    m_status->setHidden(text.isEmpty());
    if (busy)
        m_wheel->startAnimating();
    else
        m_wheel->stopAnimating();
    m_wheel->setHidden(!busy);
}

void RegistrationController::submit()
{
    sendUserRegistration();
}

// ---- The forms

void RegistrationController::rebuildForm()
{
    if (!isViewLoaded())
        return;
    const bool first = !m_form;
    // The rows go and come again: meanwhile the keyboard waits on the form
    // (a row hidden with it would hand it round the screen, to the bar),
    // then goes back to its field.
    const FieldPtr focused = m_form ? m_form->focusedField() : nullptr;
    if (focused)
        m_form->setFocus(Qt::OtherFocusReason);
    if (!m_form) {
        m_form = new RegistrationForm(view()->bounds());
        m_form->setAutoresizingMask(Autoresizing::FlexibleSize);
        m_form->setController(this);
        view()->addSubview(m_form);
    }
    m_form->setFields({});
    // A forum that checks dates asks for the date alone until one is checked
    // (and nothing can be sent before).
    const bool full = m_registration->usecoppa() == Registration::CoppaNotUsed
                      || m_registration->is_coppa() != Registration::DateNotChecked;
    if (full)
        addExtraFields();
    else
        prepareRegistrationView();
    m_stage = Stage::Form;
    showStatus(QString(), false);
    m_submit->setEnabled(full);
    noteUntouchedValues();
    if (focused && !m_form->giveFocus(focused.get())) {
        const FieldPtr firstStop = m_form->firstStop();
        if (!firstStop || !m_form->giveFocus(firstStop.get()))
            m_form->clearFocus();
    }
    if (first)
        placeKeyboard();
}

void RegistrationController::prepareRegistrationView()
{
    if (m_form && m_registration->usecoppa() != Registration::CoppaUnknown)
        m_form->setFields({m_dateOfBirth});
}

void RegistrationController::addExtraFields()
{
    if (!m_form)
        return;
    const Registration& r = *m_registration;
    m_form->removeFieldWithName(m_parentEmail->name());
    if (r.usecoppa() != Registration::CoppaUnknown) {
        // The date stays after a check, so that a mistaken one can be mended
        // (and is checked again).
        for (const FieldPtr& field : {FieldPtr(m_username), FieldPtr(m_password), FieldPtr(m_passwordConfirm),
                                      FieldPtr(m_email), FieldPtr(m_dateOfBirth)})
            m_form->addField(field);
    }
    if (r.checksDates() && r.is_coppa() == Registration::DateUnderCoppa) {
        m_form->addField(m_parentEmail);
        m_rules->setHtml(joined(r.coppa_rules_description(), r.forum_rules_registration()));
    } else {
        m_rules->setHtml(joined(r.forum_rules_description(), r.forum_rules_registration()));
    }
    for (const FieldPtr& field : r.fields()) {
        if (!m_form->containsFieldWithName(field->name()))
            m_form->addField(field);
    }
    m_form->removeFieldWithName(m_rules->name());
    m_form->removeFieldWithName(m_agreement->name());
    m_form->addField(m_agreement);
    m_form->addField(m_rules);
    m_form->addField(m_form->photo());
}

// ---- Sending

bool RegistrationController::validPassword(const QString& password, const QString& confirmation)
{
    return !password.isEmpty() && password == confirmation;
}

void RegistrationController::showRegistrationErrorMessage(const QString& message, const QString& title)
{
    AlertView::create(title, message, nullptr, {localized("ok")})->show();
}

void RegistrationController::showPasswordConfirmNotMatch()
{
    showRegistrationErrorMessage(localized("reg_invalid_password"), QString());
}

void RegistrationController::sendUserRegistration()
{
    if (!m_form || m_stage != Stage::Form)
        return;
    findAndResignFirstResponder(view());
    FieldCell::endTextEditing();
    const ValueDict values = m_form->values();

    if (!validPassword(values.value(QStringLiteral("password")).toString(),
                       values.value(QStringLiteral("passwordconfirm")).toString())) {
        showFieldProblem(m_password, localized("reg_invalid_password"), QString());
        return;
    }
    const int agree = values.value(m_agreement->name()).toInt();
    if (agree == 0) {
        showFieldProblem(m_agreement, localized("register_not_agreed"), QString());
        return;
    }
    // The date chosen before a date check took its field away still counts.
    const QDate born = m_dateOfBirth->date();
    if (!born.isValid()) {
        showFieldProblem(m_dateOfBirth, localized("reg_missing_bday"), QString());
        return;
    }

    ValueDict params;
    for (const char* key : {"username", "password", "passwordconfirm", "email"}) {
        const QString name = QString::fromLatin1(key);
        if (values.contains(name))
            params.insert(name, values.value(name));
    }
    params.insert(QStringLiteral("emailconfirm"), values.value(QStringLiteral("email")));
    params.insert(QStringLiteral("agree"), Value(decimal(agree)));
    params.insert(QStringLiteral("day"), Value(decimal(born.day())));
    params.insert(QStringLiteral("month"), Value(decimal(born.month())));
    params.insert(QStringLiteral("year"), Value(decimal(born.year())));
    if (m_form->containsFieldWithName(m_parentEmail->name()))
        params.insert(m_parentEmail->name(), values.value(m_parentEmail->name()));
    for (const QString& name : values.keys()) {
        if (name.startsWith(kUserfieldPrefix))
            params.insert(name, values.value(name));
    }
    m_stage = Stage::Sending;
    showSubmit(false);
    m_registration->registerUser(params);
}

// ---- Answers

void RegistrationController::modelHasChanged(Model* model)
{
    if (m_user && model == m_user.get()) {
        if (m_stage == Stage::SigningIn)
            signedIn();
        return;
    }
    if (model != m_registration.get())
        return;
    const qint32 success = m_registration->success();
    if (m_stage == Stage::Sending) {
        // A refusal keeps the form as it is; its failure speaks for it.
        if (success == Registration::NotRegistered)
            return;
    } else {
        // The options or a date check: the form asks anew (a refused
        // options answer offers none).
        if (success == Registration::NotRegistered && m_stage != Stage::SigningIn && m_stage != Stage::Done
            && m_registration->usecoppa() != Registration::CoppaUnknown)
            rebuildForm();
        return;
    }

    if (success == Registration::ModerateUser) {
        m_stage = Stage::Done;
        keepPhotoForLater();
        AlertView::create(QString(), localized("reg_moderate_user"), this, {localized("ok")})->show();
        return;
    }
    if (success == Registration::RegisterEmail)
        showRegistrationErrorMessage(localized("reg_confirmation"), QStringLiteral("Registration Complete"));
    m_stage = Stage::SigningIn;
    showStatus(QString(), false);
    observeUser();
}

bool RegistrationController::modelHasFailedToUpdate(Model* model, const Error& error)
{
    if (m_user && model == m_user.get()) {
        if (m_stage != Stage::SigningIn)
            return false;
        // Signed up, but the sign-in failed: the login screen lets the new
        // member try again.
        m_stage = Stage::Done;
        ConnectionError::showMessage(error);
        backToLogin();
        return true;
    }
    if (model != m_registration.get())
        return false;
    if (m_registration->refusalCode() == u"noregister") {
        leaveClosedForum(error);
        return true;
    }
    if (m_stage == Stage::Sending) {
        m_stage = Stage::Form;
        showRefusal(error);
        showSubmit(true);
        return true;
    }
    ConnectionError::showMessage(error);
    if (m_stage == Stage::Loading)
        showStatus(localized("reg_load_failed"), false);
    return true;
}

FieldPtr RegistrationController::refusedField(const Value& refusal) const
{
    const QString code = m_registration->refusalCode();
    if (code == u"required_field_x_missing_or_invalid" && refusal.isList() && refusal.list().size() > 1) {
        // The forum names the field by its title.
        const QString named = refusal.at(1).toString();
        for (const FieldPtr& field : m_form->fields()) {
            if (field->label() == named || field->name() == kUserfieldPrefix + named + u']')
                return field;
        }
        return nullptr;
    }
    if (code == u"fieldmissing") {
        for (const FieldPtr& field : {FieldPtr(m_username), FieldPtr(m_email), FieldPtr(m_password)}) {
            if (field->value().toString().isEmpty())
                return field;
        }
        return nullptr;
    }
    for (const Refusal& known : kRefusals) {
        if (code != QLatin1StringView(known.code))
            continue;
        const FieldPtr field = m_form->fieldWithName(QString::fromLatin1(known.field));
        // Too young without a parent's address field: the date is what counts.
        if (!field && code == u"under_thirteen_registration_denied")
            return m_dateOfBirth;
        return field;
    }
    return nullptr;
}

void RegistrationController::showRefusal(const Error& error)
{
    const Value refusal = m_registration->refusal();
    const FieldPtr field = m_form ? refusedField(refusal) : nullptr;
    if (!field) {
        ConnectionError::showMessage(error);
        return;
    }
    QString reason = error.domain();
    const QString code = m_registration->refusalCode();
    // A refusal that names the field by its own text: the title heads the
    // alert, the table says why.
    const QString tableText = ErrorMessages::errorForCode(Value(code));
    if (refusal.isList() && refusal.size() > 1 && !refusal.at(1).toString().trimmed().isEmpty() && !tableText.isEmpty())
        reason = tableText;
    for (const Refusal& known : kRefusals) {
        if (code == QLatin1StringView(known.code) && known.reasonKey)
            reason = localized(known.reasonKey);
    }
    // The forum's own text went up bare as the answer came: this alert says
    // it for the field, once.
    if (refusal.isList() && refusal.size() > 1)
        withdrawBareAlert(refusal.at(1).toString().trimmed());
    showFieldProblem(field, reason, field->label());
}

void RegistrationController::showFieldProblem(const FieldPtr& field, const QString& message, const QString& title)
{
    // Where the member mends it, in the middle of the form.
    const IndexPath row = m_form ? m_form->indexPathForField(field.get()) : IndexPath();
    if (row.isValid()) {
        m_form->giveFocus(field.get());
        m_form->table()->scrollToRowAtIndexPath(row, TableViewScrollPosition::Middle, true);
    }
    showRegistrationErrorMessage(message, title);
}

void RegistrationController::withdrawBareAlert(const QString& text)
{
    for (const std::shared_ptr<AlertView>& alert : AlertView::visibleAlerts()) {
        if (alert->delegate() == &ConnectionError::getInstance() && alert->title().isEmpty()
            && alert->message().trimmed() == text)
            alert->dismissWithoutButton();
    }
}

void RegistrationController::leaveClosedForum(const Error& error)
{
    m_stage = Stage::Done;
    showSubmit(false);
    ConnectionError::showMessage(error);
    // Back where the member came from: the login screen, or the page with
    // the link to sign up.
    NavigationController* navigation = navigationController();
    if (navigation && navigation->viewControllers().size() > 1)
        navigation->popViewController(this, true);
    else
        backToLogin();
}

void RegistrationController::onDateOfBirthChange()
{
    // Only a forum that checks dates is asked; the answer lays the form out
    // again, and the chosen day stays for the sign-up.
    if (!m_registration->checksDates() || m_stage != Stage::Form)
        return;
    const QDate born = m_dateOfBirth->date();
    if (!born.isValid())
        return;
    m_registration->checkCoppaDate({{QStringLiteral("day"), Value(decimal(born.day()))},
                                    {QStringLiteral("month"), Value(decimal(born.month()))},
                                    {QStringLiteral("year"), Value(decimal(born.year()))}});
}

// ---- After the sign-up

void RegistrationController::observeUser()
{
    m_user = context().currentUser();
    m_userObservation.observe(m_user, this);
    signedIn();
}

void RegistrationController::signedIn()
{
    if (!m_user || m_user->userid() < 1 || m_user->apiaccesstoken().isEmpty() || m_user->secret().isEmpty()
        || m_user->secret() == u"guest")
        return;
    m_stage = Stage::Done;
    m_userObservation.reset();
    if (const auto& image = m_form ? m_form->photo()->image() : nullptr; image && !image->path().isEmpty())
        m_user->uploadPicture(*image);
    NavigationController* navigation = navigationController();
    const ViewControllerPtr home = ViewControllerRegistry::create(kHomeController);
    if (!navigation || !home || navigation->viewControllers().isEmpty())
        return;
    navigation->setViewControllers({navigation->viewControllers().first(), home}, true);
}

void RegistrationController::didDismissWithButtonIndex(AlertView*, int)
{
    backToLogin();
}

void RegistrationController::backToLogin()
{
    NavigationController* navigation = navigationController();
    if (!navigation || navigation->viewControllers().isEmpty())
        return;
    if (dynamic_cast<LoginController*>(navigation->viewControllers().first().get())) {
        navigation->popToRootViewControllerAnimated(true);
        return;
    }
    if (const ViewControllerPtr login = ViewControllerRegistry::create(kLoginController))
        navigation->setViewControllers({login}, true);
}

void RegistrationController::keepPhotoForLater()
{
    const auto& image = m_form ? m_form->photo()->image() : nullptr;
    if (!image || image->path().isEmpty())
        return;
    const QString pending = CurrentUser::registrationPicturePath(m_registration->username());
    QFile::remove(pending);
    if (!QFile::copy(image->path(), pending))
        MU_LOG(Log::screens, QStringLiteral("The picture could not be kept for the first sign-in: ") + pending);
}
