#include "AppTest.h"
#include "Fixtures.h"

#include "app/model/Config.h"
#include "app/model/FieldMultiPicker.h"
#include "app/model/FieldMultiText.h"
#include "app/model/FieldPicker.h"
#include "app/model/FieldText.h"
#include "app/session/Registration.h"
#include "platform/foundation/StringExtensions.h"

using namespace Qt::Literals::StringLiterals;

using RegistrationTest = AppTest;

namespace {

const QString kRegister = QStringLiteral("app/session/fixtures/register.json");

void configureForum()
{
    Config& config = Config::getInstance();
    config.setBbtitle(QStringLiteral("Ride Club"));
    config.setBburl(QStringLiteral("http://ride.example"));
    config.setForumhome(QStringLiteral("index"));
}

template <typename F>
std::shared_ptr<F> fieldAs(const RegistrationPtr& registration, const QString& name)
{
    for (const FieldPtr& field : registration->fields()) {
        if (field->name() == name)
            return std::dynamic_pointer_cast<F>(field);
    }
    return nullptr;
}

QStringList vals(const QList<FieldOptionPtr>& options)
{
    QStringList list;
    for (const FieldOptionPtr& option : options)
        list.append(option->val());
    return list;
}

// What the registration screen's form sends: each field's value under its name.
ValueDict formValues(const RegistrationPtr& registration)
{
    ValueDict values;
    for (const FieldPtr& field : registration->fields()) {
        const Value value = field->value();
        if (!value.isAbsent())
            values.insert(field->name(), value);
    }
    return values;
}

}  // namespace

TEST_F(RegistrationTest, OptionsAnswerBuildsFieldsAndFillsTheRulesPhrases)
{
    configureForum();
    CurrentUser::currentUser()->setApiaccesstoken(QStringLiteral("tok42"));
    const auto registration = Model::create<Registration>();
    RecordingObserver observer;
    registration->addObserver(&observer);

    registration->setRegistrationFromRequest(fixtureRequest(kRegister));

    EXPECT_EQ(registration->usecoppa(), Registration::CoppaUsed);
    EXPECT_EQ(registration->webmasteremail(), u"webmaster@example.org");
    EXPECT_EQ(observer.changes, 3);  // options, response, phrases
    EXPECT_TRUE(observer.failures.isEmpty());

    // Profile fields first, then "other", then "option"; the unknown type and
    // the nameless field are skipped.
    QStringList names;
    for (const FieldPtr& field : registration->fields())
        names.append(field->name());
    EXPECT_EQ(names, (QStringList{u"userfield[field2]"_s, u"userfield[field3]"_s, u"userfield[field5]"_s,
                                  u"userfield[field6]"_s, u"userfield[field7]"_s, u"userfield[field8]"_s}));
    const auto location = fieldAs<FieldText>(registration, u"userfield[field2]"_s);
    ASSERT_TRUE(location);
    EXPECT_EQ(location->label(), u"Location");
    EXPECT_EQ(location->description(), u"Where you live");
    EXPECT_TRUE(fieldAs<FieldMultiText>(registration, u"userfield[field3]"_s));

    // Check boxes read "radiobits" when there are no "selectbits"; an option
    // with both "checked" and "selected" is chosen once, and presence counts
    // even when empty.
    const auto interests = fieldAs<FieldMultiPicker>(registration, u"userfield[field5]"_s);
    ASSERT_TRUE(interests);
    EXPECT_EQ(vals(interests->options()), (QStringList{u"Cycling"_s, u"Maps"_s, u"Books"_s}));
    EXPECT_EQ(vals(interests->selectedOptions()), (QStringList{u"Maps"_s, u"Books"_s}));
    EXPECT_EQ(interests->value(), json(R"(["2","3"])"));

    // A select reads "selectbits"; a radio prefers "radiobits", one object as a list of one.
    const auto season = fieldAs<FieldPicker>(registration, u"userfield[field6]"_s);
    ASSERT_TRUE(season);
    // A single choice starts on the option the forum selected, if any.
    EXPECT_EQ(vals(season->options()), (QStringList{u"Spring"_s, u"Summer"_s}));
    ASSERT_NE(season->selected(), nullptr);
    EXPECT_EQ(season->selected()->val(), u"Summer"_s);
    EXPECT_EQ(season->value(), Value(u"2"_s));
    const auto newsletter = fieldAs<FieldPicker>(registration, u"userfield[field7]"_s);
    ASSERT_TRUE(newsletter);
    EXPECT_EQ(vals(newsletter->options()), QStringList{u"Yes"_s});
    EXPECT_TRUE(newsletter->value().isAbsent());
    EXPECT_TRUE(fieldAs<FieldMultiPicker>(registration, u"userfield[field8]"_s));

    EXPECT_EQ(registration->coppa_rules_description(),
              u"<p>Ride Club (http://ride.example) asks parents first. "
              u"<a href=\"http://ride.example/index.php?s=tok42&amp;api=1\">Home</a> "
              u"<a href=\"http://ride.example/index.php?s=tok42&amp;api=1&amp;do=rules\">Rules</a> "
              u"or webmaster@example.org.</p>");
    EXPECT_EQ(registration->forum_rules_registration(),
              u"<p>Agree to the <a href=\"index.php?s=tok42&amp;api=1&amp;do=rules\">rules</a>.</p>");
    EXPECT_EQ(registration->forum_rules_description(), u"<p>Be kind on Ride Club. More at http://ride.example.</p>");

    // A second answer keeps the fields (and what was typed into them) once.
    location->setValue(QStringLiteral("Lisbon"));
    registration->setRegistrationFromRequest(fixtureRequest(kRegister));
    EXPECT_EQ(registration->fields().size(), 6);
    EXPECT_EQ(fieldAs<FieldText>(registration, u"userfield[field2]"_s)->text(), u"Lisbon");
}

TEST_F(RegistrationTest, RulesPhrasesWithoutTokenOrConfiguration)
{
    // No session: the links carry an empty token, never a placeholder for nothing.
    configureForum();
    const auto registration = Model::create<Registration>();
    registration->setForum_rules_registration(QStringLiteral("%1$s.php%2$sdo=rules"));
    EXPECT_EQ(registration->forum_rules_registration(), u"index.php?s=&amp;api=1&amp;do=rules");
    registration->setCoppa_rules_description(QStringLiteral("%4$s|%6$s"));
    EXPECT_EQ(registration->coppa_rules_description(), u"?s=&amp;api=1|");

    // A configuration value a phrase needs is missing: that phrase is nothing.
    Config::getInstance().setForumhome(QString());
    registration->setForum_rules_registration(QStringLiteral("%1$s"));
    registration->setCoppa_rules_description(QStringLiteral("%1$s"));
    registration->setForum_rules_description(QStringLiteral("%2$s at %1$s"));
    EXPECT_TRUE(registration->forum_rules_registration().isNull());
    EXPECT_TRUE(registration->coppa_rules_description().isNull());
    EXPECT_EQ(registration->forum_rules_description(), u"Ride Club at http://ride.example");
}

TEST_F(RegistrationTest, CoppaFlagsFromOptionsAndDateChecks)
{
    configureForum();
    const auto registration = Model::create<Registration>();
    EXPECT_EQ(registration->usecoppa(), Registration::CoppaUnknown);
    EXPECT_EQ(registration->is_coppa(), Registration::DateNotChecked);

    registration->setRegistrationFromRequest(answeredRequest(R"({"response": {}})"));
    EXPECT_EQ(registration->usecoppa(), Registration::CoppaNotUsed);

    RecordingObserver observer;
    registration->addObserver(&observer);
    registration->setExtraFields(fixtureRequest(QStringLiteral("app/session/fixtures/register_checkdate.json")));
    EXPECT_EQ(registration->is_coppa(), Registration::DateUnderCoppa);
    EXPECT_EQ(registration->webmasteremail(), u"kids@example.org");
    EXPECT_EQ(registration->forum_rules_registration(), u"<p>Rules at index.php?s=&amp;api=1&amp;</p>");
    EXPECT_EQ(registration->usecoppa(), Registration::CoppaNotUsed);  // the date check leaves it
    EXPECT_EQ(observer.changes, 3);

    registration->setExtraFields(answeredRequest(R"({"show": {"coppa": 0}})"));
    EXPECT_EQ(registration->is_coppa(), Registration::DateNotUnderCoppa);

    // A date the forum refuses is no date checked, whatever "show" says.
    registration->setExtraFields(answeredRequest(
        R"({"show": {"coppa": 1}, "response": {"errormessage": "under_thirteen_registration_denied"}})"));
    EXPECT_EQ(registration->is_coppa(), Registration::DateNotChecked);
    EXPECT_EQ(observer.failures.last(), tableText(QStringLiteral("under_thirteen_registration_denied")));
    registration->setExtraFields(answeredRequest(R"({"show": {"coppa": 0}})"));
    EXPECT_EQ(registration->is_coppa(), Registration::DateNotUnderCoppa);

    // No answer: the no-connection text, and nothing changes.
    registration->setExtraFields(answeredRequest("{}", RequestOutcome::Kind::NoAnswer, 0));
    EXPECT_EQ(observer.failures.last(), tableText(QStringLiteral("nointernet")));
    EXPECT_EQ(registration->is_coppa(), Registration::DateNotUnderCoppa);
}

TEST_F(RegistrationTest, OptionsAskedOnTheOpenSessionLeaveUsecoppaWithoutTheForumsOptions)
{
    openGuestSession();
    forum().clearLog();
    const auto registration = Model::create<Registration>();
    RecordingObserver observer;
    registration->addObserver(&observer);
    registration->initRegistrationOptions();
    ASSERT_TRUE(settle());
    EXPECT_EQ(apiLog(), QStringList{u"register"_s});
    EXPECT_EQ(lastRequest(u"register"_s).httpMethod, u"GET");
    EXPECT_EQ(registration->usecoppa(), Registration::CoppaNotUsed);
    EXPECT_FALSE(registration->fields().isEmpty());
    EXPECT_TRUE(observer.failures.isEmpty());

    // Without the forum's options the flag stays; the other answer reads "not used".
    const auto fresh = Model::create<Registration>();
    fresh->setRegistrationOptions(answeredRequest(R"({"response": {}})"));
    EXPECT_EQ(fresh->usecoppa(), Registration::CoppaUnknown);
    fresh->setRegistrationOptions(answeredRequest(R"({"muoptions": {"usecoppa": 1}})"));
    EXPECT_EQ(fresh->usecoppa(), Registration::CoppaUsed);
    fresh->setRegistrationOptions(answeredRequest(R"({"response": {}})"));
    EXPECT_EQ(fresh->usecoppa(), Registration::CoppaUsed);
    fresh->setRegistrationFromRequest(answeredRequest(R"({"response": {}})"));
    EXPECT_EQ(fresh->usecoppa(), Registration::CoppaNotUsed);

    // A forum that takes no new members: said, and no options to lay a form out with.
    const auto closed = Model::create<Registration>();
    RecordingObserver told;
    closed->addObserver(&told);
    closed->setRegistrationFromRequest(
        answeredRequest(R"({"muoptions": {"usecoppa": 0}, "response": {"errormessage": "noregister"}})"));
    EXPECT_EQ(closed->usecoppa(), Registration::CoppaUnknown);
    EXPECT_EQ(closed->refusalCode(), u"noregister"_s);
    EXPECT_EQ(told.failures, QStringList{tableText(u"noregister"_s)});
    // A forum whose option refuses children checks dates as one that asks a parent does.
    closed->setRegistrationFromRequest(answeredRequest(R"({"muoptions": {"usecoppa": 2}})"));
    EXPECT_TRUE(closed->checksDates());
}

TEST_F(RegistrationTest, OutcomeCodes)
{
    const auto registration = Model::create<Registration>();
    RecordingObserver observer;
    registration->addObserver(&observer);

    registration->setErrormessage(Value(QStringLiteral("moderateuser")));
    EXPECT_EQ(registration->success(), Registration::ModerateUser);
    EXPECT_TRUE(observer.failures.isEmpty());

    // A code the table does not know is reported as itself; the first of a list counts.
    registration->setErrormessage(json(R"(["brand_new_refusal", "other"])"));
    EXPECT_EQ(registration->success(), Registration::NotRegistered);
    EXPECT_EQ(observer.failures, QStringList{u"brand_new_refusal"_s});
    registration->setErrormessage(Value(QStringLiteral("usernametaken")));
    EXPECT_EQ(observer.failures.last(), tableText(QStringLiteral("usernametaken")));

    // Neither text nor list: nothing.
    registration->setErrormessage(Value(3));
    registration->setErrormessage(json("[]"));
    EXPECT_EQ(observer.failures.size(), 2);
}

TEST_F(RegistrationTest, StaleSessionHashSignsOutOnce)
{
    const CurrentUserPtr user = signIn(QStringLiteral("bob"), QStringLiteral("secret2"));
    forum().clearLog();
    const auto registration = Model::create<Registration>();
    RecordingObserver observer;
    registration->addObserver(&observer);

    registration->setErrormessage(Value(QStringLiteral("invalid_sessionhash")));
    ASSERT_TRUE(settle());

    EXPECT_TRUE(user->anonymous());
    EXPECT_EQ(forum().requests(QStringLiteral("login_logout")).size(), 1);
    EXPECT_EQ(observer.failures, QStringList{tableText(QStringLiteral("invalid_sessionhash"))});
}

TEST_F(RegistrationTest, CurrentInstanceIsTheNewestThatIsLeft)
{
    EXPECT_FALSE(Registration::getInstance());
    auto first = Model::create<Registration>();
    EXPECT_EQ(Registration::getInstance(), first);
    auto second = Model::create<Registration>();
    EXPECT_EQ(Registration::getInstance(), second);
    // The older one going away leaves the newer current.
    first.reset();
    EXPECT_EQ(Registration::getInstance(), second);
    second.reset();
    EXPECT_FALSE(Registration::getInstance());
}

TEST_F(RegistrationTest, FillAndSendTheFormThenSignInAsTheNewMember)
{
    forum();
    // No session yet: preparing opens one first, then loads the options.
    const auto registration = Model::create<Registration>();
    RecordingObserver observer;
    registration->addObserver(&observer);
    registration->prepareRegistration();
    ASSERT_TRUE(waitFor([&] { return !registration->fields().isEmpty(); }));
    ASSERT_TRUE(settle());
    EXPECT_EQ(apiLog().filter(u"register"_s), QStringList{u"register"_s});
    EXPECT_EQ(registration->usecoppa(), Registration::CoppaNotUsed);
    EXPECT_FALSE(registration->forum_rules_registration().isEmpty());
    EXPECT_FALSE(registration->forum_rules_registration().contains(u"%1$s"));

    registration->checkCoppaDate({{u"day"_s, Value(u"14"_s)}, {u"month"_s, Value(u"3"_s)}, {u"year"_s, Value(1990)}});
    ASSERT_TRUE(settle());
    EXPECT_EQ(registration->is_coppa(), Registration::DateNotUnderCoppa);
    const TestForumRequest dateCheck = lastRequest(u"register_checkdate"_s);
    EXPECT_EQ(dateCheck.httpMethod, u"POST");
    EXPECT_EQ(dateCheck.formPairs.size(), 3);
    EXPECT_EQ(dateCheck.field(u"year"_s), u"1990");

    fieldAs<FieldText>(registration, u"userfield[field2]"_s)->setValue(u"Porto"_s);
    const auto interests = fieldAs<FieldMultiPicker>(registration, u"userfield[field5]"_s);
    ASSERT_TRUE(interests);
    interests->toggleOption(interests->options().at(0));
    interests->toggleOption(interests->options().at(3));
    const auto season = fieldAs<FieldPicker>(registration, u"userfield[field6]"_s);
    ASSERT_TRUE(season);
    season->setSelected(season->options().at(2).get());

    ValueDict values = formValues(registration);
    values.insert(u"username"_s, Value(u"henrique"_s));
    values.insert(u"email"_s, Value(u"henrique@example.org"_s));
    values.insert(u"emailconfirm"_s, Value(u"henrique@example.org"_s));
    values.insert(u"password"_s, Value(u"pedal&go"_s));
    values.insert(u"passwordconfirm"_s, Value(u"pedal&go"_s));
    values.insert(u"agree"_s, Value(u"1"_s));
    values.insert(u"day"_s, Value(u"14"_s));
    values.insert(u"month"_s, Value(u"3"_s));
    values.insert(u"year"_s, Value(u"1990"_s));
    registration->registerUser(values);
    ASSERT_TRUE(settle());

    const TestForumRequest sent = lastRequest(u"register_addmember"_s);
    EXPECT_EQ(sent.httpMethod, u"POST");
    EXPECT_EQ(sent.field(u"password_md5"_s), StringExtensions::md5(u"pedal&go"_s));
    EXPECT_EQ(sent.field(u"passwordconfirm_md5"_s), StringExtensions::md5(u"pedal&go"_s));
    EXPECT_FALSE(sent.fields.contains(u"password"_s));
    EXPECT_FALSE(sent.fields.contains(u"passwordconfirm"_s));
    EXPECT_EQ(sent.fieldValues(u"userfield[field5][]"_s), (QStringList{u"1"_s, u"4"_s}));
    EXPECT_EQ(sent.field(u"userfield[field6]"_s), u"3");
    EXPECT_EQ(sent.field(u"userfield[field2]"_s), u"Porto");

    EXPECT_EQ(registration->success(), Registration::RegistrationComplete);
    EXPECT_EQ(registration->username(), u"henrique");
    const CurrentUserPtr user = CurrentUser::currentUser();
    ASSERT_TRUE(waitFor([&] { return user->userid() > 0; }));
    EXPECT_EQ(user->userid(), forum().memberId(u"henrique"_s));
    EXPECT_FALSE(user->anonymous());
    EXPECT_TRUE(observer.failures.isEmpty());
}

TEST_F(RegistrationTest, RefusedSignUpKeepsWhatWasTyped)
{
    openGuestSession();
    const auto registration = Model::create<Registration>();
    RecordingObserver observer;
    registration->addObserver(&observer);
    registration->prepareRegistration();
    ASSERT_TRUE(settle());
    const auto location = fieldAs<FieldText>(registration, u"userfield[field2]"_s);
    ASSERT_TRUE(location);
    location->setValue(u"Faro"_s);
    const QList<FieldPtr> fieldsBefore = registration->fields();

    ValueDict values = formValues(registration);
    values.insert(u"username"_s, Value(u"alice"_s));  // taken
    values.insert(u"email"_s, Value(u"someone@example.org"_s));
    values.insert(u"emailconfirm"_s, Value(u"someone@example.org"_s));
    values.insert(u"password"_s, Value(u"long-enough"_s));
    values.insert(u"agree"_s, Value(u"1"_s));
    registration->registerUser(values);
    ASSERT_TRUE(settle());

    EXPECT_EQ(observer.failures, QStringList{tableText(u"usernametaken"_s)});
    EXPECT_EQ(registration->refusal(), Value(u"usernametaken"_s)) << "a code the table knows is kept too";
    EXPECT_EQ(registration->success(), Registration::NotRegistered);
    EXPECT_EQ(registration->fields(), fieldsBefore);
    EXPECT_EQ(location->text(), u"Faro");
    EXPECT_TRUE(CurrentUser::currentUser()->anonymous());

    // A code the forum has and the table lacks is refused with the code itself.
    forum().setAnswer(u"register_addmember"_s, QJsonObject{{u"response"_s, QJsonObject{{u"errormessage"_s, u"nopermission_signup"_s}}}}, 1);
    values.insert(u"username"_s, Value(u"zoe"_s));
    registration->registerUser(values);
    ASSERT_TRUE(settle());
    EXPECT_EQ(observer.failures.last(), u"nopermission_signup");
    EXPECT_EQ(registration->refusal(), Value(u"nopermission_signup"_s));
    EXPECT_EQ(location->text(), u"Faro");

    // "moderateuser": registered, but nobody is signed in.
    forum().setAnswer(u"register_addmember"_s, QJsonObject{{u"response"_s, QJsonObject{{u"errormessage"_s, u"moderateuser"_s}}}}, 1);
    registration->registerUser(values);
    ASSERT_TRUE(settle());
    EXPECT_EQ(registration->success(), Registration::ModerateUser);
    EXPECT_TRUE(CurrentUser::currentUser()->anonymous());
    EXPECT_TRUE(apiLog().filter(u"login_login"_s).isEmpty());
}
