#include "app/session/Registration.h"

#include "app/model/Config.h"
#include "app/config/ErrorMessages.h"
#include "app/model/FieldMultiPicker.h"
#include "app/model/FieldMultiText.h"
#include "app/model/FieldPicker.h"
#include "app/model/FieldText.h"
#include "app/net/SessionCredentials.h"
#include "app/session/CurrentUser.h"
#include "platform/foundation/StringExtensions.h"
#include "platform/foundation/TextFormat.h"

#include <algorithm>
#include <mutex>

namespace {

// The registration's answers: the answer's own code is read where filling
// brings it (setErrormessage).
constexpr AnswerRules kAnswerRules{.handlerJudgesRefusals = true};

// Not owned: the screen that made the registration owns it.
WeakRef<Registration>& currentSlot()
{
    static WeakRef<Registration> current;
    return current;
}

std::mutex& classLock()
{
    static std::mutex lock;
    return lock;
}

// The session's token for the rules links; the empty text without one.
QString sessionToken()
{
    const SessionCredentials* session = SessionCredentials::current();
    const QString token = session ? session->apiaccesstoken() : QString();
    return token.isNull() ? QStringLiteral("") : token;
}

QString tokenQuery(const char* format)
{
    return TextFormat::fill(QString::fromLatin1(format), {Value(sessionToken())});
}

// Replaces each placeholder wherever it occurs, in the order given; nothing
// when there is no phrase or a value it needs is not known.
QString filled(QString phrase, const QList<std::pair<QString, QString>>& replacements)
{
    if (phrase.isNull())
        return QString();
    for (const auto& [placeholder, value] : replacements) {
        if (value.isNull())
            return QString();
    }
    for (const auto& [placeholder, value] : replacements)
        phrase.replace(placeholder, value);
    return phrase;
}

// The choices of an options member (the preferred one, else the other): a
// dictionary stands for a list of one, and an element that is no dictionary
// names no choice.
ValueList choicesOf(const Value& preferred, const Value& other)
{
    const Value& bits = preferred.isNothing() ? other : preferred;
    ValueList elements = bits.isList() ? bits.list() : bits.isDict() ? ValueList{bits} : ValueList{};
    elements.erase(std::remove_if(elements.begin(), elements.end(), [](const Value& v) { return !v.isDict(); }),
                   elements.end());
    return elements;
}

// The code of an "errormessage": itself, or the first of a list.
Value codeOf(const Value& errormessage)
{
    if (!errormessage.isList())
        return errormessage;
    return errormessage.list().empty() ? Value() : errormessage.at(0);
}

// Whether the forum marks the option as chosen: presence counts, whatever
// the value.
bool preselected(const Value& element)
{
    return !element[u"selected"].isAbsent() || !element[u"checked"].isAbsent();
}

QList<FieldOptionPtr> optionsFrom(const ValueList& bits)
{
    QList<FieldOptionPtr> options;
    for (const Value& element : bits)
        options.append(Model::createWithDictionary<FieldOption>(element));
    return options;
}

}  // namespace

Registration::Registration()
{
    std::lock_guard lock(classLock());
    currentSlot() = this;
}

Registration::~Registration()
{
    // A newer registration that is current stays current.
    std::lock_guard lock(classLock());
    if (currentSlot().rawPointer() == this)
        currentSlot().reset();
}

const PropertyTable& Registration::propertyTable()
{
    static const PropertyTable table =
        PropertyTable(&Model::propertyTable())
            .readOnly("usecoppa", PropertyKind::Int32, &Registration::usecoppa)
            .readOnly("is_coppa", PropertyKind::Int32, &Registration::is_coppa)
            .integer("success", &Registration::success, &Registration::setSuccess)
            .text("username", &Registration::username, &Registration::setUsername)
            .text("password", &Registration::password, &Registration::setPassword)
            .text("coppa_rules_description", &Registration::coppa_rules_description,
                  &Registration::setCoppa_rules_description)
            .text("forum_rules_registration", &Registration::forum_rules_registration,
                  &Registration::setForum_rules_registration)
            .text("forum_rules_description", &Registration::forum_rules_description,
                  &Registration::setForum_rules_description)
            .text("webmasteremail", &Registration::webmasteremail, &Registration::setWebmasteremail)
            .setterOnly("errormessage", &Registration::setErrormessage)
            .setterOnly("customfields_other", &Registration::setCustomfields)
            .setterOnly("customfields_option", &Registration::setCustomfields)
            .setterOnly("customfields_profile", &Registration::setCustomfields)
            // The password never reaches a description or an archive.
            .notArchived("password");
    return table;
}

std::shared_ptr<Registration> Registration::getInstance()
{
    std::lock_guard lock(classLock());
    Registration* current = currentSlot().get();
    return current ? std::static_pointer_cast<Registration>(current->weak_from_this().lock()) : nullptr;
}

// ---- Options

void Registration::prepareRegistration()
{
    const SessionCredentials* session = SessionCredentials::current();
    if (session && !session->apiaccesstoken().isEmpty() && !session->secret().isEmpty()) {
        requestURL(QStringLiteral("register"), ValueDict(), RequestMethod::GET,
                   SELECTOR(Registration, setRegistrationFromRequest));
        return;
    }
    // The session asks the current registration again once it is open (the
    // application's context connects the two).
    CurrentUser::currentUser()->prepareRegistration();
}

void Registration::setRegistrationFromRequest(const HTTPRequestPtr& request)
{
    readOptions(request, MissingOptions::CoppaNotUsed);
}

void Registration::initRegistrationOptions()
{
    requestURL(QStringLiteral("register"), ValueDict(), RequestMethod::GET,
               SELECTOR(Registration, setRegistrationOptions));
}

void Registration::setRegistrationOptions(const HTTPRequestPtr& request)
{
    readOptions(request, MissingOptions::CoppaKept);
}

void Registration::readOptions(const HTTPRequestPtr& request, MissingOptions missing)
{
    const auto guard = keepAlive();
    const std::optional<RequestOutcome> answer = takeAnswer(request, kAnswerRules);
    if (!answer)
        return;
    const Value json = request->response();
    // A forum that refuses (one that takes no new members) says so and
    // offers no form to fill in.
    if (answer->is(RequestOutcome::Kind::ForumRefused)) {
        fillFrom(answer->dictionary());
        return;
    }
    const Value options = json[u"muoptions"];
    if (!options.isAbsent() || missing == MissingOptions::CoppaNotUsed)
        m_usecoppa = options[u"usecoppa"].toInt() + 1;
    bool told = false;
    if (!options.isAbsent()) {
        fillFrom(options);
        told = true;
    }
    if (!json[u"response"].isAbsent()) {
        fillFrom(answer->dictionary());
        told = true;
    }
    if (json[u"muphrase"].isDict()) {
        fillFrom(json[u"muphrase"]);
        told = true;
    }
    if (!told)
        notifyChanged();
}

void Registration::fillFrom(const Value& member)
{
    // Nothing (a response with no dictionary to fill from) still tells the observers.
    setDictionary(member.isDict() ? member : Value());
}

// ---- Date of birth

void Registration::checkCoppaDate(const ValueDict& date)
{
    ValueDict params;
    for (const char* key : {"day", "month", "year"}) {
        const Value value = date.value(QString::fromLatin1(key));
        if (value.isString())
            params.insert(QString::fromLatin1(key), value);
        else if (value.isNumeric())
            params.insert(QString::fromLatin1(key), Value(value.numberText()));
    }
    requestURL(QStringLiteral("register_checkdate"), params, RequestMethod::POST,
               SELECTOR(Registration, setExtraFields));
}

void Registration::setExtraFields(const HTTPRequestPtr& request)
{
    const auto guard = keepAlive();
    const std::optional<RequestOutcome> answer = takeAnswer(request, kAnswerRules);
    if (!answer)
        return;
    const Value json = request->response();
    if (!json[u"muoptions"].isAbsent())
        fillFrom(json[u"muoptions"]);
    if (json[u"muphrase"].isDict())
        fillFrom(json[u"muphrase"]);
    // A date the forum refuses (a child where children may not sign up) is
    // no date checked: the form asks for the date again.
    if (answer->is(RequestOutcome::Kind::ForumRefused))
        m_isCoppa = DateNotChecked;
    else
        m_isCoppa = json[u"show"][u"coppa"].toInt() != 0 ? DateUnderCoppa : DateNotUnderCoppa;
    fillFrom(answer->dictionary());
}

// ---- Rules phrases

void Registration::setCoppa_rules_description(const QString& phrase)
{
    const Config& config = Config::getInstance();
    m_coppaRulesDescription = filled(phrase, {
        {QStringLiteral("%1$s"), config.bbtitle()},
        {QStringLiteral("%2$s"), config.bburl()},
        {QStringLiteral("%3$s"), config.forumhome()},
        {QStringLiteral("%4$s"), tokenQuery("?s=%@&amp;api=1")},
        {QStringLiteral("%5$s"), tokenQuery("?s=%@&amp;api=1&amp;")},
        {QStringLiteral("%6$s"), m_webmasteremail.isNull() ? QStringLiteral("") : m_webmasteremail},
    });
}

void Registration::setForum_rules_registration(const QString& phrase)
{
    const Config& config = Config::getInstance();
    m_forumRulesRegistration = filled(phrase, {
        {QStringLiteral("%1$s"), config.forumhome()},
        {QStringLiteral("%2$s"), tokenQuery("?s=%@&amp;api=1&amp;")},
    });
}

void Registration::setForum_rules_description(const QString& phrase)
{
    const Config& config = Config::getInstance();
    m_forumRulesDescription = filled(phrase, {
        {QStringLiteral("%2$s"), config.bbtitle()},
        {QStringLiteral("%1$s"), config.bburl()},
    });
}

// ---- Extra profile fields

void Registration::setCustomfields(const Value& fields)
{
    if (!fields.isList() && !fields.isDict())
        return;
    QList<FieldPtr> updated = m_fields;
    for (const Value& element : fields.isList() ? fields.list() : ValueList{fields}) {
        const FieldPtr field = fieldFrom(element);
        if (!field)
            continue;
        // A field that came before keeps what was typed into it.
        const bool known = std::any_of(updated.cbegin(), updated.cend(),
                                       [&](const FieldPtr& f) { return f->name() == field->name(); });
        if (!known)
            updated.append(field);
    }
    m_fields = updated;
}

FieldPtr Registration::fieldFrom(const Value& element)
{
    const Value holder = element[u"custom_field_holder"];
    const Value fieldName = holder[u"profilefieldname"];
    // A field without a name could never be sent.
    if (!fieldName.isString() && !fieldName.isNumber())
        return nullptr;
    const QString name = TextFormat::fill(QStringLiteral("userfield[%@]"), {fieldName});
    const Value profilefield = holder[u"profilefield"];
    const QString label = profilefield[u"title"].toString();
    const QString description = profilefield[u"description"].toString();
    const QString type = profilefield[u"type"].toString();
    const Value radiobits = holder[u"radiobits"];
    const Value selectbits = holder[u"selectbits"];

    if (type == u"input")
        return std::make_shared<FieldText>(label, description, name);
    if (type == u"textarea")
        return std::make_shared<FieldMultiText>(label, description, name);
    if (type == u"radio" || type == u"select") {
        const ValueList bits = choicesOf(radiobits, selectbits);
        auto picker = std::make_shared<FieldPicker>(label, description, name);
        picker->setOptions(optionsFrom(bits));
        // The form starts on the forum's choice (the first, should it mark several).
        const auto marked = std::find_if(bits.cbegin(), bits.cend(), preselected);
        if (marked != bits.cend())
            picker->setSelected(picker->options().at(marked - bits.cbegin()).get());
        return picker;
    }
    if (type == u"select_multiple" || type == u"checkbox") {
        const ValueList bits = choicesOf(selectbits, radiobits);
        auto picker = std::make_shared<FieldMultiPicker>(label, description, name);
        picker->setOptions(optionsFrom(bits));
        for (qsizetype i = 0; i < picker->options().size(); ++i) {
            const Value& element = bits.at(static_cast<size_t>(i));
            // Both members still preselect once.
            if (preselected(element))
                picker->addSelectedOption(picker->options().at(i));
        }
        return picker;
    }
    return nullptr;
}

// ---- Sign-up

void Registration::registerUser(const ValueDict& values)
{
    m_username = values.value(QStringLiteral("username")).toString();
    m_password = values.value(QStringLiteral("password")).toString();
    m_success = NotRegistered;
    m_refusal = Value();

    ValueDict params = values;
    // Both digests are of the password: the screen has checked the confirmation.
    const Value digest(StringExtensions::md5(m_password.isNull() ? QStringLiteral("") : m_password));
    params.insert(QStringLiteral("password_md5"), digest);
    params.insert(QStringLiteral("passwordconfirm_md5"), digest);
    params.remove(QStringLiteral("password"));
    params.remove(QStringLiteral("passwordconfirm"));
    requestURL(QStringLiteral("register_addmember"), params, RequestMethod::POST);
}

void Registration::setErrormessage(const Value& value)
{
    const Value code = codeOf(value);
    if (!code.isString())
        return;
    const QString name = code.string();
    m_success = NotRegistered;
    // Looking "invalid_sessionhash" up signs the member out: that lookup is
    // the one sign-out.
    const QString tableText = ErrorMessages::errorForCode(code);
    const QString text = tableText.isNull() ? name : tableText;
    if (name == u"registration_complete")
        m_success = RegistrationComplete;
    else if (name == u"moderateuser")
        m_success = ModerateUser;
    else if (name == u"registeremail")
        m_success = RegisterEmail;

    if (m_success == RegisterEmail || m_success == RegistrationComplete)
        signInNewMember();
    m_refusal = m_success == NotRegistered ? value : Value();
    if (m_success == NotRegistered && !text.isEmpty())
        failedWithError(Error::withMessage(text));
}

QString Registration::refusalCode() const
{
    const Value code = codeOf(m_refusal);
    return code.isString() ? code.string() : QString();
}

void Registration::failedWithError(const Error& error, const HTTPRequestPtr& request)
{
    // A code the error table knows is judged before filling: the refusal is
    // read from the answer here.
    if (request && request->apiCall().method == u"register_addmember")
        m_refusal = request->outcome().errorMessage();
    Model::failedWithError(error, request);
}

void Registration::signInNewMember()
{
    const CurrentUserPtr user = CurrentUser::currentUser();
    // The session of the guest who signed up is not the member's.
    user->setApiaccesstoken(QString());
    user->setSecret(QString());
    CurrentUser::login(m_username, m_password);
}
