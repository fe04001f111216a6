#pragma once

#include "app/model/Field.h"
#include "app/model/Model.h"

#include <QList>
#include <QString>

#include <memory>

// What the forum says about signing up, and the sign-up itself: the options,
// the rules texts and the extra profile fields ("register"), whether a date
// of birth falls under the children's-privacy rules ("register_checkdate"),
// and the new member's data ("register_addmember"). A completed sign-up signs
// the new member in. The registration screen observes it and builds its form
// from it.
//
// One instance is current at a time: the one made last that is still there.
class Registration : public Model {
public:
    // usecoppa: 0 before the options, then the forum's option + 1.
    enum Coppa { CoppaUnknown = 0, CoppaNotUsed = 1, CoppaUsed = 2 };
    // is_coppa: 0 before a date check, then whether the date falls under it.
    enum DateCheck { DateNotChecked = 0, DateUnderCoppa = 1, DateNotUnderCoppa = 2 };
    // success: the outcome of the last sign-up.
    enum Outcome { NotRegistered = 0, RegisterEmail = 1, ModerateUser = 2, RegistrationComplete = 3 };

    Registration();
    ~Registration() override;

    static const PropertyTable& propertyTable();
    const PropertyTable& properties() const override { return propertyTable(); }

    // The current instance, or null; it never makes one.
    static std::shared_ptr<Registration> getInstance();

    // Loads the options ("register"); without an open session the session
    // is opened first and the current instance asked again. A refusal (a
    // forum that takes no new members) leaves usecoppa unknown: no form.
    void prepareRegistration();
    void setRegistrationFromRequest(const HTTPRequestPtr& request);
    // The same options request on the open session, whose answer sets
    // usecoppa only when it carries the forum's options.
    void initRegistrationOptions();
    void setRegistrationOptions(const HTTPRequestPtr& request);
    // Asks whether the date ("day", "month", "year" as decimal texts) falls
    // under the children's-privacy rules. A refused date leaves it unchecked.
    void checkCoppaDate(const ValueDict& date);
    void setExtraFields(const HTTPRequestPtr& request);
    // Sends the sign-up: the form's values with the password as its MD5
    // digest (under "password_md5" and "passwordconfirm_md5") in place of
    // the password and its confirmation.
    void registerUser(const ValueDict& values);

    // Reads the outcome code of an answer.
    void setErrormessage(const Value& code);
    // The forum's last refusal as it wrote it (of the sign-up, the options or
    // a date check): its code, or a list of the code and what the code names
    // (a field's title); nothing while a sign-up is sent, after one was
    // accepted, or when no answer came.
    const Value& refusal() const { return m_refusal; }
    // The refusal's code ("usernametaken", "noregister"...), or nothing.
    QString refusalCode() const;
    // A refused sign-up is kept as the forum wrote it (refusal()).
    using Model::failedWithError;
    void failedWithError(const Error& error, const HTTPRequestPtr& request) override;
    // Each of the three members adds its fields to fields().
    void setCustomfields(const Value& fields);

    qint32 usecoppa() const { return m_usecoppa; }
    // Whether the forum checks a date of birth before the sign-up: it asks
    // children for a parent's consent, or (an option above 1) refuses them.
    bool checksDates() const { return m_usecoppa >= CoppaUsed; }
    qint32 is_coppa() const { return m_isCoppa; }
    qint32 success() const { return m_success; }
    void setSuccess(qint32 success) { m_success = success; }
    QString username() const { return m_username; }
    void setUsername(const QString& username) { m_username = username; }
    QString password() const { return m_password; }
    void setPassword(const QString& password) { m_password = password; }
    QString webmasteremail() const { return m_webmasteremail; }
    void setWebmasteremail(const QString& email) { m_webmasteremail = email; }
    // The rules phrases with their placeholders filled; nothing when a value
    // they need is not configured.
    QString coppa_rules_description() const { return m_coppaRulesDescription; }
    void setCoppa_rules_description(const QString& phrase);
    QString forum_rules_registration() const { return m_forumRulesRegistration; }
    void setForum_rules_registration(const QString& phrase);
    QString forum_rules_description() const { return m_forumRulesDescription; }
    void setForum_rules_description(const QString& phrase);
    // The forum's extra profile fields, in the order they came.
    const QList<FieldPtr>& fields() const { return m_fields; }
    // Kept for whoever sets them: no answer fills them.
    bool birthdayRequired() const { return m_birthdayRequired; }
    void setBirthdayRequired(bool required) { m_birthdayRequired = required; }
    bool adminEmailsCheckedByDefault() const { return m_adminEmailsCheckedByDefault; }
    void setAdminEmailsCheckedByDefault(bool checked) { m_adminEmailsCheckedByDefault = checked; }
    bool membersEmailsCheckedByDefault() const { return m_membersEmailsCheckedByDefault; }
    void setMembersEmailsCheckedByDefault(bool checked) { m_membersEmailsCheckedByDefault = checked; }
    bool humanVeriryEnabled() const { return m_humanVeriryEnabled; }
    void setHumanVeriryEnabled(bool enabled) { m_humanVeriryEnabled = enabled; }

private:
    // A field made from one element of a custom-fields member; null when the
    // element describes none.
    static FieldPtr fieldFrom(const Value& element);
    // Reads an options answer; usecoppa falls back to "not used" without
    // the forum's options, or stays as it is.
    enum class MissingOptions { CoppaNotUsed, CoppaKept };
    void readOptions(const HTTPRequestPtr& request, MissingOptions missing);
    // Fills from a member of an answer when the member is there.
    void fillFrom(const Value& member);
    void signInNewMember();

    qint32 m_usecoppa = CoppaUnknown;
    qint32 m_isCoppa = DateNotChecked;
    qint32 m_success = NotRegistered;
    QString m_username;
    QString m_password;
    QString m_coppaRulesDescription;
    QString m_forumRulesRegistration;
    QString m_forumRulesDescription;
    QString m_webmasteremail;
    QList<FieldPtr> m_fields;
    Value m_refusal;
    bool m_birthdayRequired = false;
    bool m_adminEmailsCheckedByDefault = false;
    bool m_membersEmailsCheckedByDefault = false;
    bool m_humanVeriryEnabled = false;
};

using RegistrationPtr = std::shared_ptr<Registration>;
