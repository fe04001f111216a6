#include "ForumRegistration.h"

#include "ForumElements.h"

#include <QCryptographicHash>
#include <QDate>
#include <QRegularExpression>
#include <QSet>

using namespace Qt::Literals::StringLiterals;

void ForumRegistration::load(const QJsonObject& seed)
{
    const QJsonObject registration = seed.value(u"registration"_s).toObject();
    m_usecoppa = registration.value(u"usecoppa"_s).toInt();
    m_outcome = registration.value(u"outcome"_s).toString(m_outcome);
    m_webmaster = registration.value(u"webmasteremail"_s).toString();
    m_phrases = registration.value(u"phrases"_s).toObject();
    for (const QJsonValue& value : registration.value(u"fields"_s).toArray()) {
        const QJsonObject object = value.toObject();
        Field field;
        field.name = object.value(u"name"_s).toString();
        field.title = object.value(u"title"_s).toString();
        field.description = object.value(u"description"_s).toString();
        field.type = object.value(u"type"_s).toString();
        field.section = object.value(u"section"_s).toString(u"profile"_s);
        for (const QJsonValue& option : object.value(u"options"_s).toArray())
            field.options.append(option.toString());
        field.preset = object.value(u"preset"_s).toInt(-1);
        field.required = object.value(u"required"_s).toBool();
        field.number = object.value(u"number"_s).toBool();
        m_fields.append(field);
    }
}

std::optional<QJsonValue> ForumRegistration::answer(const TestForumRequest& request, const ForumViewer& viewer)
{
    const QString& method = request.apiMethod;
    if (m_closed && (method == u"register" || method == u"register_checkdate" || method == u"register_addmember"))
        return ForumElements::code(u"noregister"_s);
    if (method == u"register") {
        QJsonObject fields;
        for (const QString& section : {u"profile"_s, u"other"_s, u"option"_s}) {
            QJsonArray list;
            for (const Field& field : m_fields) {
                if (field.section == section)
                    list.append(holder(field));
            }
            if (!list.isEmpty())
                fields.insert(u"customfields_"_s + section, ForumElements::listOrSingle(list));
        }
        return QJsonObject{{u"muoptions"_s, options()}, {u"response"_s, fields}, {u"muphrase"_s, phrases()}};
    }
    if (method == u"register_checkdate")
        return checkDate(request);
    if (method == u"register_addmember")
        return addMember(request, viewer);
    return std::nullopt;
}

QJsonObject ForumRegistration::options() const
{
    return {{u"usecoppa"_s, m_usecoppa}, {u"webmasteremail"_s, m_webmaster}, {u"birthdayrequired"_s, 1}};
}

QJsonObject ForumRegistration::phrases() const
{
    return m_phrases;
}

QJsonObject ForumRegistration::holder(const Field& field) const
{
    QJsonArray bits;
    for (qsizetype i = 0; i < field.options.size(); ++i) {
        QJsonObject option{{u"key"_s, QString::number(i + 1)}, {u"val"_s, field.options.at(i)}};
        if (i == field.preset)
            option.insert(field.type.startsWith(u"select") ? u"selected"_s : u"checked"_s, u"checked"_s);
        bits.append(option);
    }
    QJsonObject holder{
        {u"profilefieldname"_s, field.name},
        {u"profilefield"_s, QJsonObject{{u"title"_s, field.title},
                                        {u"description"_s, field.description},
                                        {u"type"_s, field.type},
                                        {u"required"_s, field.required}}},
    };
    if (!bits.isEmpty())
        holder.insert(field.type == u"radio" || field.type == u"checkbox" ? u"radiobits"_s : u"selectbits"_s, bits);
    return {{u"custom_field_holder"_s, holder}};
}

int ForumRegistration::age(const TestForumRequest& request)
{
    const QDate born(request.field(u"year"_s).toInt(), request.field(u"month"_s).toInt(),
                     request.field(u"day"_s).toInt());
    const QDate today = QDate::currentDate();
    if (!born.isValid() || born > today)
        return -1;
    int years = today.year() - born.year();
    if (today.month() < born.month() || (today.month() == born.month() && today.day() < born.day()))
        --years;
    return years;
}

bool ForumRegistration::tooShort(const QString& digest)
{
    // The forum sees only the password's digest: it knows the digests of
    // every password of fewer than four lower-case letters and digits.
    static const QSet<QString> digests = [] {
        const QByteArray alphabet = "abcdefghijklmnopqrstuvwxyz0123456789";
        QSet<QString> known;
        QList<QByteArray> words{QByteArray()};
        for (int length = 1; length <= 3; ++length) {
            QList<QByteArray> longer;
            for (const QByteArray& word : std::as_const(words)) {
                for (const char c : alphabet) {
                    const QByteArray next = word + c;
                    known.insert(QString::fromLatin1(QCryptographicHash::hash(next, QCryptographicHash::Md5).toHex()));
                    longer.append(next);
                }
            }
            words = longer;
        }
        return known;
    }();
    return digests.contains(digest);
}

QJsonObject ForumRegistration::fieldRefused(const Field& field)
{
    return ForumElements::code(QJsonArray{u"required_field_x_missing_or_invalid"_s, field.title});
}

QJsonObject ForumRegistration::checkDate(const TestForumRequest& request) const
{
    const int years = age(request);
    QJsonObject content;
    if (years < 0)
        content.insert(u"errormessage"_s, u"fieldmissing"_s);
    else if (m_usecoppa == 2 && years < 13)
        content.insert(u"errormessage"_s, u"under_thirteen_registration_denied"_s);
    return {{u"muoptions"_s, options()},
            {u"muphrase"_s, phrases()},
            {u"show"_s, QJsonObject{{u"coppa"_s, m_usecoppa && years >= 0 && years < 13 ? 1 : 0}}},
            {u"response"_s, content}};
}

QJsonObject ForumRegistration::addMember(const TestForumRequest& request, const ForumViewer& viewer)
{
    if (viewer.isMember())
        return ForumElements::code(u"alreadyregistered"_s);
    const QString username = request.field(u"username"_s).trimmed();
    const QString email = request.field(u"email"_s).trimmed();
    const QString digest = request.field(u"password_md5"_s).toLower();
    static const QRegularExpression emailForm(u"^[^@\\s]+@[^@\\s]+\\.[^@\\s]+$"_s);
    static const QRegularExpression md5Form(u"^[0-9a-f]{32}$"_s);
    if (username.isEmpty() || email.isEmpty() || !md5Form.match(digest).hasMatch())
        return ForumElements::code(u"fieldmissing"_s);
    if (request.field(u"passwordconfirm_md5"_s).toLower() != digest)
        return ForumElements::code(u"fieldmissing"_s);
    if (tooShort(digest))
        return ForumElements::code(u"passwordtooshort"_s);
    if (m_content.members().findByName(username))
        return ForumElements::code(u"usernametaken"_s);
    if (!emailForm.match(email).hasMatch() || request.field(u"emailconfirm"_s).trimmed() != email)
        return ForumElements::code(u"bademail"_s);
    if (m_content.members().findByEmail(email))
        return ForumElements::code(u"emailtaken"_s);
    if (request.field(u"agree"_s) != u"1")
        return ForumElements::code(u"register_not_agreed"_s);
    const int years = age(request);
    if (years < 0)
        return ForumElements::code(u"fieldmissing"_s);
    // A child signs up with a parent's address, where children may.
    const QString parent = request.field(u"parent_email"_s).trimmed();
    if (m_usecoppa && years < 13 && (m_usecoppa == 2 || !emailForm.match(parent).hasMatch()))
        return ForumElements::code(u"under_thirteen_registration_denied"_s);

    QJsonArray answers;
    for (const Field& field : m_fields) {
        const QString key = u"userfield[%1]"_s.arg(field.name);
        QStringList values = request.fieldValues(key + u"[]"_s);
        if (values.isEmpty() && !request.field(key).isEmpty())
            values.append(request.field(key));
        QStringList shown;
        for (const QString& value : values) {
            if (field.options.isEmpty()) {
                shown.append(value.trimmed());
                continue;
            }
            const int index = value.toInt() - 1;
            if (index < 0 || index >= field.options.size())
                return fieldRefused(field);
            shown.append(field.options.at(index));
        }
        shown.removeAll(QString());
        if (field.required && shown.isEmpty())
            return fieldRefused(field);
        static const QRegularExpression wholeNumber(u"^[0-9]{1,9}$"_s);
        if (field.number && !shown.isEmpty() && !wholeNumber.match(shown.first()).hasMatch())
            return fieldRefused(field);
        if (!shown.isEmpty())
            answers.append(QJsonObject{{u"name"_s, field.title}, {u"value"_s, shown.join(u", "_s)}});
    }

    ForumMember member;
    member.username = username;
    member.passwordDigest = digest;
    member.email = email;
    member.usertitle = u"Junior Member"_s;
    member.joindate = ForumContent::now();
    member.profile = {
        {u"joindate"_s, QDate::currentDate().toString(Qt::ISODate)},
        {u"posts"_s, u"0"_s},
        {u"categories"_s, QJsonArray{QJsonObject{{u"title"_s, u"About "_s + username}, {u"fields"_s, answers}}}},
    };
    m_content.members().add(member);
    return ForumElements::code(m_outcome);
}
