#pragma once

#include "ForumContent.h"
#include "TestForumRequest.h"

#include <QJsonObject>
#include <QJsonValue>

#include <optional>

// Signing up: "register" (options, rules phrases and the extra profile fields
// as the seed's "registration" gives them), "register_checkdate" (whether a date
// of birth falls under the children's-privacy rules) and "register_addmember"
// (checks the form, makes the member, answers the outcome code). A forum
// closed to new members answers "noregister" to all three. Not locked:
// the forum guards it.
class ForumRegistration {
public:
    explicit ForumRegistration(ForumContent& content) : m_content(content) {}

    void load(const QJsonObject& seed);
    // "registration_complete", "registeremail" or "moderateuser".
    void setOutcome(const QString& code) { m_outcome = code; }
    void setUsesCoppa(bool uses) { m_usecoppa = uses ? 1 : 0; }
    // "usecoppa" 2: a child may not sign up at all.
    void setRefusesChildren() { m_usecoppa = 2; }
    // Every sign-up call answers "noregister".
    void setClosed(bool closed) { m_closed = closed; }

    std::optional<QJsonValue> answer(const TestForumRequest& request, const ForumViewer& viewer);

private:
    struct Field {
        QString name;  // "userfield[<name>]" in the form
        QString title;
        QString description;
        QString type;
        QString section;  // "profile", "other" or "option"
        QStringList options;
        int preset = -1;  // the option chosen at first
        bool required = false;
        bool number = false;  // a text that must be a whole number
    };

    QJsonObject options() const;
    QJsonObject phrases() const;
    QJsonObject checkDate(const TestForumRequest& request) const;
    QJsonObject addMember(const TestForumRequest& request, const ForumViewer& viewer);
    QJsonObject holder(const Field& field) const;
    // Years since the date, or -1 when it is no date.
    static int age(const TestForumRequest& request);
    // Whether the digest is that of a password too short to accept.
    static bool tooShort(const QString& digest);
    // A refusal that names the field it concerns by its title.
    static QJsonObject fieldRefused(const Field& field);

    ForumContent& m_content;
    QList<Field> m_fields;
    QJsonObject m_phrases;
    QString m_outcome = QStringLiteral("registration_complete");
    QString m_webmaster;
    int m_usecoppa = 0;  // 0 no date check, 1 a parent's consent for a child, 2 no children
    bool m_closed = false;
};
