#include "ErrorMessages.h"

#include "app/config/Customizer.h"
#include "platform/foundation/Localized.h"
#include "platform/foundation/TextFormat.h"

#include <QHash>

#include <optional>

namespace {

const QString kNoInternet = QStringLiteral("nointernet");
const QString kInvalidSessionHash = QStringLiteral("invalid_sessionhash");

std::function<void()>& invalidSessionHashHandler()
{
    static std::function<void()> handler;
    return handler;
}

std::optional<QHash<QString, QString>>& messages()
{
    static std::optional<QHash<QString, QString>> table;
    return table;
}

// Built on the first lookup and kept: a later change of the display name or
// language is not reflected.
const QHash<QString, QString>& table()
{
    std::optional<QHash<QString, QString>>& messages = ::messages();
    if (!messages) {
        messages.emplace();
        for (const QString& code : ErrorMessages::codes())
            messages->insert(code, localized(code));
        // Filled without printf: the text comes from a resource file.
        messages->insert(kNoInternet, TextFormat::fill(messages->value(kNoInternet),
                                                       {Value(Customizer::getInstance().appLabel())}));
    }
    return *messages;
}

}  // namespace

const QStringList& ErrorMessages::codes()
{
    static const QStringList list = {
        QStringLiteral("alreadyregistered"),
        QStringLiteral("api_disabled"),
        QStringLiteral("api_version_too_low"),
        QStringLiteral("bademail"),
        QStringLiteral("badlogin"),
        QStringLiteral("badlogin_passthru"),
        QStringLiteral("badlogin_strikes"),
        QStringLiteral("badlogin_strikes_passthru"),
        QStringLiteral("emailtaken"),
        QStringLiteral("fieldmissing"),
        QStringLiteral("fieldmissing_email"),
        QStringLiteral("forumclosed"),
        QStringLiteral("invalid_accesstoken"),
        QStringLiteral("invalid_api_signature"),
        QStringLiteral("invalid_sessionhash"),
        QStringLiteral("invalid_tag_specified"),
        QStringLiteral("invalidid"),
        QStringLiteral("moveillegalforum"),
        QStringLiteral("movesameforum"),
        QStringLiteral("nointernet"),
        QStringLiteral("tag_no_create"),
        QStringLiteral("forum_inactive"),
        QStringLiteral("bbclosed"),
        QStringLiteral("nopermission_banned"),
        QStringLiteral("nopermission_loggedin"),
        QStringLiteral("nopermission_loggedout"),
        QStringLiteral("noregister"),
        QStringLiteral("nosubject"),
        QStringLiteral("please_complete_field"),
        QStringLiteral("pm_adminoff"),
        QStringLiteral("pminvalidrecipient"),
        QStringLiteral("pmrecipientsnotfound"),
        QStringLiteral("postfloodcheck"),
        QStringLiteral("redirect_addlist_contact"),
        QStringLiteral("redirect_addlist_ignore"),
        QStringLiteral("redirect_friendadded"),
        QStringLiteral("redirect_friendsalready"),
        QStringLiteral("redirect_friendrequested"),
        QStringLiteral("redirect_friendspending"),
        QStringLiteral("redirect_friendswithself"),
        QStringLiteral("redirect_reportthanks"),
        QStringLiteral("register_not_agreed"),
        QStringLiteral("required_field_x_missing_or_invalid"),
        QStringLiteral("searchdisabled"),
        QStringLiteral("searchnoresults"),
        QStringLiteral("session_timed_out_login"),
        QStringLiteral("strikes"),
        QStringLiteral("threadclosed"),
        QStringLiteral("tooshort"),
        QStringLiteral("threadprefixrequired"),
        QStringLiteral("under_thirteen_registration_denied"),
        QStringLiteral("unexpected_server_response"),
        QStringLiteral("usernametaken"),
        QStringLiteral("words_very_common"),
        QStringLiteral("blog_category_entry_limit"),
    };
    return list;
}

QString ErrorMessages::errorForCode(const Value& code)
{
    Value key = code;
    if (key.isList()) {
        if (key.list().empty())
            return QString();
        key = key.at(0);
    }
    const QHash<QString, QString>& messages = table();
    if (!key.isString())
        return QString();
    const QString text = key.string();

    if (text == kInvalidSessionHash) {
        // A lookup made while signing out (the sign-out reads error texts
        // too) must not start another sign-out inside the first.
        static bool signingOut = false;
        const std::function<void()> handler = invalidSessionHashHandler();
        if (handler && !signingOut) {
            signingOut = true;
            handler();
            signingOut = false;
        }
    }
    return messages.value(text);
}

void ErrorMessages::forgetTable()
{
    messages().reset();
}

void ErrorMessages::setInvalidSessionHashHandler(std::function<void()> handler)
{
    invalidSessionHashHandler() = std::move(handler);
}
