#include "ForumSignature.h"
#include "ForumTest.h"

#include <QDate>

namespace {

using RegisterTest = ForumTest;

TEST_F(RegisterTest, FormCheckRefusalsAndANewMemberWhoSignsIn)
{
    const auto guest = client();
    const QJsonObject options = guest->callGet(s("register"), {}).json();
    EXPECT_EQ(options.value(s("muoptions")).toObject().value(s("usecoppa")).toInt(), 0);
    EXPECT_TRUE(options.value(s("muphrase")).toObject().value(s("forum_rules_registration")).toString().contains(s("%1$s")));
    const QJsonArray profileFields = list(options.value(s("response")).toObject().value(s("customfields_profile")));
    ASSERT_EQ(profileFields.size(), 4);
    const QJsonObject interests = profileFields.at(3).toObject().value(s("custom_field_holder")).toObject();
    EXPECT_EQ(interests.value(s("profilefieldname")).toString(), s("field5"));
    EXPECT_EQ(interests.value(s("profilefield")).toObject().value(s("type")).toString(), s("checkbox"));
    EXPECT_EQ(interests.value(s("radiobits")).toArray().first().toObject().value(s("val")).toString(), s("Cycling"));
    const QJsonObject season = list(options.value(s("response")).toObject().value(s("customfields_other"))).first()
                                   .toObject().value(s("custom_field_holder")).toObject();
    EXPECT_TRUE(season.value(s("selectbits")).toArray().at(1).toObject().contains(s("selected")));

    const QJsonObject child = guest->call(s("register_checkdate"), "day=1&month=1&year=2022").json();
    EXPECT_EQ(child.value(s("show")).toObject().value(s("coppa")).toInt(), 0);  // the forum asks no consent

    const QString digest = ForumSignature::md5Hex("fresh-pass");
    QList<QPair<QString, QString>> fields{
        {s("username"), s("newbie")}, {s("email"), s("newbie@example.org")},
        {s("emailconfirm"), s("newbie@example.org")}, {s("agree"), s("1")},
        {s("day"), s("4")}, {s("month"), s("7")}, {s("year"), s("1990")},
        {s("password_md5"), digest}, {s("passwordconfirm_md5"), digest},
        {s("userfield[field2]"), s("Porto")}, {s("userfield[field5][]"), s("1")}, {s("userfield[field5][]"), s("3")},
        {s("userfield[field6]"), s("2")}};
    const auto withField = [&](const QString& key, const QString& value) {
        auto changed = fields;
        bool found = false;
        for (auto& pair : changed) {
            if (pair.first == key) {
                pair.second = value;
                found = true;
            }
        }
        if (!found)
            changed.append({key, value});
        return form(changed);
    };
    EXPECT_EQ(code(guest->call(s("register_addmember"), withField(s("username"), s("Alice")))), s("usernametaken"));
    EXPECT_EQ(code(guest->call(s("register_addmember"), withField(s("agree"), s("0")))), s("register_not_agreed"));
    EXPECT_EQ(code(guest->call(s("register_addmember"), withField(s("emailconfirm"), s("other@example.org")))),
              s("bademail"));
    // A refused field is named by its title.
    const QJsonValue missing =
        guest->call(s("register_addmember"), withField(s("userfield[field2]"), s(""))).response().value(s("errormessage"));
    EXPECT_EQ(missing, (QJsonArray{s("required_field_x_missing_or_invalid"), s("Location")}));
    // The season is required too, whatever the forum selected at first.
    const QJsonValue noSeason =
        guest->call(s("register_addmember"), withField(s("userfield[field6]"), s(""))).response().value(s("errormessage"));
    EXPECT_EQ(noSeason, (QJsonArray{s("required_field_x_missing_or_invalid"), s("Favourite season")}));
    EXPECT_EQ(code(guest->call(s("register_addmember"), withField(s("userfield[field4]"), s("nineteen")))),
              s("required_field_x_missing_or_invalid"));
    // The digest of a short password is known as one.
    const QString shortDigest = ForumSignature::md5Hex("ab1");
    auto shortPassword = fields;
    for (auto& pair : shortPassword) {
        if (pair.first.startsWith(s("password")))
            pair.second = shortDigest;
    }
    EXPECT_EQ(code(guest->call(s("register_addmember"), form(shortPassword))), s("passwordtooshort"));
    EXPECT_EQ(forum.memberId(s("newbie")), 0);

    fields.append({s("userfield[field4]"), s("2004")});
    EXPECT_EQ(code(guest->call(s("register_addmember"), form(fields))), s("registration_complete"));
    const int newbie = forum.memberId(s("newbie"));
    EXPECT_GT(newbie, 11);
    const auto signedIn = client(s("newbie"), s("fresh-pass"));
    EXPECT_EQ(forum.memberIdForToken(signedIn->token), newbie);
    const QJsonObject profile = signedIn->call(s("member"), "userid=" + QByteArray::number(newbie)).response();
    const QJsonArray answers = profile.value(s("categories")).toArray().first().toObject().value(s("fields")).toArray();
    EXPECT_EQ(answers.at(0).toObject().value(s("value")).toString(), s("Porto"));
    EXPECT_EQ(answers.at(1).toObject().value(s("value")).toString(), s("2004"));
    EXPECT_EQ(answers.at(2).toObject().value(s("value")).toString(), s("Cycling, Photography"));

    forum.setRegistrationOutcome(s("moderateuser"));
    EXPECT_EQ(code(client()->call(s("register_addmember"),
                                  form({{s("username"), s("second")}, {s("email"), s("second@example.org")},
                                        {s("emailconfirm"), s("second@example.org")}, {s("agree"), s("1")},
                                        {s("day"), s("1")}, {s("month"), s("2")}, {s("year"), s("1980")},
                                        {s("password_md5"), digest}, {s("passwordconfirm_md5"), digest},
                                        {s("userfield[field2]"), s("Faro")}, {s("userfield[field6]"), s("1")}}))),
              s("moderateuser"));
}

TEST_F(RegisterTest, AForumThatChecksDatesAsksAChildForAParentsAddress)
{
    forum.setRegistrationUsesCoppa(true);
    const auto guest = client();
    EXPECT_EQ(guest->callGet(s("register"), {}).json().value(s("muoptions")).toObject().value(s("usecoppa")).toInt(), 1);
    const int year = QDate::currentDate().year();
    const QByteArray child = "day=1&month=1&year=" + QByteArray::number(year - 8);
    const QByteArray adult = "day=1&month=1&year=" + QByteArray::number(year - 30);
    EXPECT_EQ(guest->call(s("register_checkdate"), child).json().value(s("show")).toObject().value(s("coppa")).toInt(), 1);
    EXPECT_EQ(guest->call(s("register_checkdate"), adult).json().value(s("show")).toObject().value(s("coppa")).toInt(), 0);

    const QString digest = ForumSignature::md5Hex("fresh-pass");
    QList<QPair<QString, QString>> fields{
        {s("username"), s("kiddo")}, {s("email"), s("kiddo@example.org")},
        {s("emailconfirm"), s("kiddo@example.org")}, {s("agree"), s("1")},
        {s("day"), s("1")}, {s("month"), s("1")}, {s("year"), QString::number(year - 8)},
        {s("password_md5"), digest}, {s("passwordconfirm_md5"), digest}, {s("userfield[field2]"), s("Braga")},
        {s("userfield[field6]"), s("4")}};
    EXPECT_EQ(code(guest->call(s("register_addmember"), form(fields))), s("under_thirteen_registration_denied"));
    fields.append({s("parent_email"), s("parent@example.org")});
    auto refused = fields;
    forum.setRegistrationRefusesChildren();
    EXPECT_EQ(guest->callGet(s("register"), {}).json().value(s("muoptions")).toObject().value(s("usecoppa")).toInt(), 2);
    const QJsonObject denied = guest->call(s("register_checkdate"), child).json();
    EXPECT_EQ(denied.value(s("response")).toObject().value(s("errormessage")).toString(),
              s("under_thirteen_registration_denied"));
    EXPECT_TRUE(guest->call(s("register_checkdate"), adult).json().value(s("response")).toObject().isEmpty());
    EXPECT_EQ(code(guest->call(s("register_addmember"), form(refused))), s("under_thirteen_registration_denied"))
        << "a parent's address does not help where children are refused";
    EXPECT_EQ(forum.memberId(s("kiddo")), 0);

    forum.setRegistrationUsesCoppa(true);
    EXPECT_EQ(code(guest->call(s("register_addmember"), form(fields))), s("registration_complete"));
    EXPECT_GT(forum.memberId(s("kiddo")), 0);
}

TEST_F(RegisterTest, AForumClosedToNewMembersRefusesEverySignUpCall)
{
    forum.setRegistrationClosed(true);
    const auto guest = client();
    EXPECT_EQ(code(guest->callGet(s("register"), {})), s("noregister"));
    EXPECT_EQ(code(guest->call(s("register_checkdate"), "day=1&month=1&year=1990")), s("noregister"));
    const QString digest = ForumSignature::md5Hex("fresh-pass");
    const QList<QPair<QString, QString>> fields{
        {s("username"), s("late")}, {s("email"), s("late@example.org")}, {s("emailconfirm"), s("late@example.org")},
        {s("agree"), s("1")}, {s("day"), s("1")}, {s("month"), s("1")}, {s("year"), s("1990")},
        {s("password_md5"), digest}, {s("passwordconfirm_md5"), digest}, {s("userfield[field2]"), s("Evora")},
        {s("userfield[field6]"), s("2")}};
    EXPECT_EQ(code(guest->call(s("register_addmember"), form(fields))), s("noregister"));
    EXPECT_EQ(forum.memberId(s("late")), 0);
    forum.setRegistrationClosed(false);
    EXPECT_EQ(code(guest->call(s("register_addmember"), form(fields))), s("registration_complete"));
}

}  // namespace
