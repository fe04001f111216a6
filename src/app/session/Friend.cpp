#include "app/session/Friend.h"

#include "app/config/ErrorMessages.h"
#include "app/session/Profile.h"
#include "platform/foundation/StringExtensions.h"

Friend::Friend() = default;

Friend::~Friend() = default;

const PropertyTable& Friend::propertyTable()
{
    static const PropertyTable table = PropertyTable(&ModelWithImage::propertyTable())
                                           .integer("userid", &Friend::userid, &Friend::setUserid)
                                           .text("username", &Friend::username, &Friend::setUsername)
                                           .text("usertitle", &Friend::usertitle, &Friend::setUsertitle)
                                           .text("avatarurl", &Friend::avatarurl, &Friend::setAvatarurl)
                                           .setterOnly("user", &Friend::setUser);
    return table;
}

ModelWithImage::ImagesProperties Friend::imagesProperties() const
{
    return {{QStringLiteral("avatarurl"), QStringLiteral("avatar")}};
}

bool Friend::setImageProperty(const QString& name, const Image& image)
{
    if (name == u"avatar") {
        setAvatar(image);
        return true;
    }
    return ModelWithImage::setImageProperty(name, image);
}

void Friend::setAvatarurl(const QString& avatarurl)
{
    m_avatarurl = avatarurl.isNull() ? QString() : StringExtensions::replaceAmpersands(avatarurl);
    if (!m_avatarurl.isNull())
        loadImages();
}

void Friend::setUser(const Value& user)
{
    setDictionary(user);
}

std::shared_ptr<Profile> Friend::profile()
{
    if (!m_profile)
        m_profile = Profile::initWithFriend(this);
    return m_profile;
}

void Friend::addAsFriend()
{
    requestURL(QStringLiteral("profile_doaddlist"),
               ValueDict{{QStringLiteral("userid"), Value(QString::number(m_userid))},
                         {QStringLiteral("userlist"), Value(QStringLiteral("friend"))},
                         {QStringLiteral("friend"), Value(QStringLiteral("1"))}},
               RequestMethod::POST);
}

void Friend::postVisitorMessage(const QString& message)
{
    if (message.isEmpty())
        return;
    requestURL(QStringLiteral("visitormessage_message"),
               ValueDict{{QStringLiteral("message"), Value(message)},
                         {QStringLiteral("userid"), Value(QString::number(m_userid))}},
               RequestMethod::POST, SELECTOR(Friend, postedVisitorMessage));
}

void Friend::postedVisitorMessage(const HTTPRequestPtr& request)
{
    if (!request)
        return;
    const std::shared_ptr<Model> guard = keepAlive();
    // The message preview's error list is judged below: its first code the
    // table knows refuses the message, unknown ones change nothing. A refusal
    // can also come as the answer's own code (a guest may not post).
    const std::optional<RequestOutcome> answer =
        takeAnswer(request, {.handlerJudgesRefusals = true});
    if (!answer)
        return;
    if (answer->is(RequestOutcome::Kind::ForumRefused)
        && answer->codeSource() == RequestOutcome::CodeSource::ErrorMessage) {
        failedWithError(answer->failure());
        return;
    }
    if (answer->errorListCodes().empty()) {
        // Accepted: the profile shows the new message once it is fetched again.
        profile()->fetchInfo();
        return;
    }
    for (const Value& code : answer->errorListCodes()) {
        const QString text = code.isString() ? ErrorMessages::errorForCode(code) : QString();
        if (!text.isNull()) {
            failedWithError(Error::failure(Error::Kind::Refused, text, code.string()));
            return;
        }
    }
}
