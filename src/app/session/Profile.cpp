#include "app/session/Profile.h"

#include "app/session/Friend.h"
#include "platform/foundation/Log.h"

const PropertyTable& Profile::propertyTable()
{
    static const PropertyTable table = PropertyTable(&ModelWithPages::propertyTable())
                                           .text("username", &Profile::username, &Profile::setUsername)
                                           .text("usertitle", &Profile::usertitle, &Profile::setUsertitle)
                                           .text("avatarurl", &Profile::avatarurl, &Profile::setAvatarurl)
                                           .text("profilepicurl", &Profile::profilepicurl, &Profile::setProfilepicurl)
                                           .object("joindate", &Profile::joindate, &Profile::setJoindate)
                                           .object("posts", &Profile::posts, &Profile::setPosts)
                                           .nested("categories", &Profile::setCategories);
    return table;
}

std::shared_ptr<Profile> Profile::initWithFriend(Friend* member)
{
    auto profile = Model::create<Profile>();
    profile->setUser(member);
    return profile;
}

void Profile::fetchInfo()
{
    const Friend* member = user();
    if (!member) {
        MU_LOG(Log::session, QStringLiteral("The profile's member has gone; nothing to fetch"));
        return;
    }
    requestURL(QStringLiteral("member"),
               ValueDict{{QStringLiteral("userid"), Value(QString::number(member->userid()))}}, RequestMethod::POST);
}

void Profile::setCategories(const Value& categories)
{
    if (categories.isList())
        m_categories = categories.list();
    else if (categories.isDict())
        m_categories = ValueList{categories};
    else
        m_categories.clear();
}

Value Profile::withPreparedFields(const Value& dictionary)
{
    const Value prepared = dictionary[u"prepared"];
    if (!dictionary.isDict() || !prepared.isDict())
        return dictionary;
    ValueDict merged = prepared.dict();
    for (const auto& [key, value] : dictionary.dict()) {
        if (key != u"prepared")
            merged.insert(key, value);
    }
    return Value(std::move(merged));
}

void Profile::setDictionary(const Value& answer)
{
    const std::shared_ptr<Model> guard = keepAlive();
    const Value dictionary = withPreparedFields(answer);
    ModelWithPages::setDictionary(dictionary);
    Friend* member = user();
    if (!member || !dictionary.isDict())
        return;
    // Only an answer about this very member may change it.
    const Value userid = dictionary[u"userid"];
    if (userid.isAbsent() || userid.toInt() != member->userid())
        return;
    ValueDict refreshed;
    for (const char16_t* key : {u"username", u"usertitle", u"avatarurl", u"profilepicurl"}) {
        const Value value = dictionary[key];
        if (!value.isAbsent())
            refreshed.insert(QString::fromUtf16(key), value);
    }
    if (!refreshed.isEmpty())
        member->setDictionary(Value(refreshed));
}
