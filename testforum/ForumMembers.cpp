#include "ForumMembers.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QJsonArray>

using namespace Qt::Literals::StringLiterals;

namespace {

QJsonObject response(const QJsonObject& content)
{
    return {{u"response"_s, content}};
}

QJsonObject code(const QString& errormessage)
{
    return response({{u"errormessage"_s, errormessage}});
}

// The forum writes a list of one as the element itself.
QJsonValue listOrSingle(const QJsonArray& list)
{
    return list.size() == 1 ? list.first() : QJsonValue(list);
}

QString md5Hex(const QString& text)
{
    return QString::fromLatin1(QCryptographicHash::hash(text.toUtf8(), QCryptographicHash::Md5).toHex());
}

QList<int> idsOf(const QJsonValue& value)
{
    QList<int> ids;
    for (const QJsonValue& id : value.toArray())
        ids.append(id.toInt());
    return ids;
}

}  // namespace

void ForumMembers::load(const QJsonObject& seed)
{
    m_members.clear();
    m_buddies.clear();
    for (const QJsonValue& value : seed.value(u"members"_s).toArray()) {
        const QJsonObject object = value.toObject();
        ForumMember member;
        member.userid = object.value(u"userid"_s).toInt();
        member.username = object.value(u"username"_s).toString();
        member.password = object.value(u"password"_s).toString();
        member.passwordDigest = md5Hex(member.password);
        member.email = object.value(u"email"_s).toString(member.username + u"@example.org"_s);
        member.usertitle = object.value(u"usertitle"_s).toString();
        member.signature = object.value(u"signature"_s).toString();
        member.moderator = object.value(u"moderator"_s).toBool();
        member.globallyIgnored = object.value(u"globally_ignored"_s).toBool();
        member.joindate = QDateTime::currentSecsSinceEpoch()
                          - qint64(object.value(u"joined_days_ago"_s).toInt(400)) * 86400;
        member.avatarurl = object.value(u"avatarurl"_s).toString();
        member.profilepicurl = object.value(u"profilepicurl"_s).toString();
        member.profile = object.value(u"profile"_s).toObject();
        if (member.userid > 0)
            m_members.append(member);
    }
    // Ignore lists name members, so they are read once every member is known.
    for (const QJsonValue& value : seed.value(u"members"_s).toArray()) {
        const QJsonObject object = value.toObject();
        ForumMember* member = findMutable(object.value(u"userid"_s).toInt());
        for (const QJsonValue& name : object.value(u"ignores"_s).toArray()) {
            if (const ForumMember* other = findByName(name.toString()); member && other)
                member->ignored.append(other->userid);
        }
    }
    const QJsonObject buddies = seed.value(u"buddies"_s).toObject();
    for (auto it = buddies.begin(); it != buddies.end(); ++it) {
        const QJsonObject lists = it.value().toObject();
        m_buddies.insert(it.key().toInt(), Buddies{idsOf(lists.value(u"friends"_s)), idsOf(lists.value(u"contacts"_s)),
                                                   idsOf(lists.value(u"incoming"_s)),
                                                   idsOf(lists.value(u"outgoing"_s))});
    }
    m_perPage = qMax(1, seed.value(u"settings"_s).toObject().value(u"buddylist_perpage"_s).toInt(10));
}

const ForumMember* ForumMembers::find(int userid) const
{
    for (const ForumMember& member : m_members) {
        if (member.userid == userid)
            return &member;
    }
    return nullptr;
}

ForumMember* ForumMembers::findMutable(int userid)
{
    return const_cast<ForumMember*>(std::as_const(*this).find(userid));
}

const ForumMember* ForumMembers::findByName(const QString& username) const
{
    for (const ForumMember& member : m_members) {
        if (member.username.compare(username.trimmed(), Qt::CaseInsensitive) == 0)
            return &member;
    }
    return nullptr;
}

const ForumMember* ForumMembers::findByEmail(const QString& email) const
{
    for (const ForumMember& member : m_members) {
        if (member.email.compare(email.trimmed(), Qt::CaseInsensitive) == 0)
            return &member;
    }
    return nullptr;
}

const ForumMember* ForumMembers::authenticate(const QString& username, const QString& digest) const
{
    const ForumMember* member = findByName(username);
    return member && member->passwordDigest == digest.toLower() ? member : nullptr;
}

const ForumMember& ForumMembers::add(ForumMember member)
{
    int next = 1;
    for (const ForumMember& existing : m_members)
        next = qMax(next, existing.userid + 1);
    member.userid = next;
    m_members.append(member);
    return m_members.last();
}

std::optional<QJsonObject> ForumMembers::answer(const TestForumRequest& request, int memberId,
                                                const PictureStore& store)
{
    const QString& method = request.apiMethod;
    if (method == u"member")
        return memberAnswer(request);
    // Everything below is for signed-in members only.
    const bool known = method == u"profile_buddylist" || method == u"profile_doaddlist"
                       || method == u"profile_doremovelist" || method == u"visitormessage_message" || method == u"profile_updateprofilepic"
                       || method == u"profile_updateavatar";
    if (!known)
        return std::nullopt;
    if (!find(memberId))
        return code(u"nopermission_loggedout"_s);
    if (method == u"profile_buddylist")
        return buddyList(request, memberId);
    if (method == u"profile_doaddlist")
        return addToList(request, memberId);
    if (method == u"profile_doremovelist")
        return removeFromList(request, memberId);
    if (method == u"visitormessage_message")
        return visitorMessage(request, memberId);
    return updatePicture(request, memberId, store, method == u"profile_updateavatar");
}

QJsonObject ForumMembers::summary(int userid) const
{
    const ForumMember* member = find(userid);
    if (!member)
        return {};
    return {{u"userid"_s, QString::number(member->userid)},
            {u"username"_s, member->username},
            {u"usertitle"_s, member->usertitle},
            {u"avatarurl"_s, member->avatarurl}};
}

QJsonObject ForumMembers::memberAnswer(const TestForumRequest& request) const
{
    const QString userid = request.field(u"userid"_s);
    // Without a member named this is the forum-closed probe: an empty answer.
    if (userid.isEmpty())
        return response({});
    const ForumMember* found = find(userid.toInt());
    if (!found)
        return code(u"invalidid"_s);
    QJsonObject content = found->profile;
    content.insert(u"userid"_s, QString::number(found->userid));
    content.insert(u"username"_s, found->username);
    content.insert(u"usertitle"_s, found->usertitle);
    content.insert(u"avatarurl"_s, found->avatarurl);
    content.insert(u"profilepicurl"_s, found->profilepicurl);
    if (!found->visitorMessages.isEmpty())
        content.insert(u"visitormessages"_s, QJsonArray::fromStringList(found->visitorMessages));
    if (m_fieldsUnderPrepared)
        return response({{u"userid"_s, content.value(u"userid"_s)}, {u"prepared"_s, content}});
    return response(content);
}

QJsonObject ForumMembers::buddyList(const TestForumRequest& request, int memberId) const
{
    const Buddies buddies = m_buddies.value(memberId);
    QJsonArray entries;
    const auto addEntries = [&](const QList<int>& ids, bool friendChecked, bool outgoing) {
        for (int id : ids) {
            QJsonObject entry = summary(id);
            if (entry.isEmpty())
                continue;
            entry.insert(u"friendcheck_checked"_s, friendChecked ? 1 : 0);
            entry.insert(u"show"_s, QJsonObject{{u"outgoingrequest"_s, outgoing ? 1 : 0}});
            entries.append(entry);
        }
    };
    addEntries(buddies.friends, true, false);
    addEntries(buddies.contacts, false, false);
    addEntries(buddies.outgoing, false, true);

    const int totalPages = qMax(1, int((entries.size() + m_perPage - 1) / m_perPage));
    const int page = qBound(1, request.field(u"page"_s).toInt(), totalPages);
    QJsonArray pageEntries;
    for (int i = (page - 1) * m_perPage; i < qMin(int(entries.size()), page * m_perPage); ++i)
        pageEntries.append(entries.at(i));

    QJsonArray incoming;
    for (int id : buddies.incoming) {
        const QJsonObject entry = summary(id);
        if (!entry.isEmpty())
            incoming.append(entry);
    }

    QJsonObject html;
    if (!incoming.isEmpty())
        html.insert(u"incominglist"_s, listOrSingle(incoming));
    if (!pageEntries.isEmpty())
        html.insert(u"buddylist"_s, listOrSingle(pageEntries));
    // A single page comes without page navigation.
    if (totalPages > 1)
        html.insert(u"pagenav"_s, QJsonObject{{u"pagenumber"_s, page}, {u"totalpages"_s, totalPages}});
    return response({{u"HTML"_s, html}});
}

QJsonObject ForumMembers::addToList(const TestForumRequest& request, int memberId)
{
    const int target = request.field(u"userid"_s).toInt();
    if (!find(target))
        return code(u"invalidid"_s);
    if (target == memberId)
        return code(u"redirect_friendswithself"_s);
    if (request.field(u"userlist"_s) == u"ignore") {
        ForumMember* me = findMutable(memberId);
        if (!me->ignored.contains(target))
            me->ignored.append(target);
        return code(u"redirect_addlist_ignore"_s);
    }
    Buddies& mine = m_buddies[memberId];
    if (request.field(u"userlist"_s) != u"friend") {
        if (!mine.contacts.contains(target) && !mine.friends.contains(target))
            mine.contacts.append(target);
        return code(u"redirect_addlist_contact"_s);
    }
    if (mine.friends.contains(target))
        return code(u"redirect_friendsalready"_s);
    if (mine.outgoing.contains(target))
        return code(u"redirect_friendspending"_s);
    Buddies& theirs = m_buddies[target];
    if (mine.incoming.removeAll(target) > 0) {
        theirs.outgoing.removeAll(memberId);
        mine.contacts.removeAll(target);
        mine.friends.append(target);
        theirs.friends.append(memberId);
        return code(u"redirect_friendadded"_s);
    }
    mine.outgoing.append(target);
    theirs.incoming.append(memberId);
    return code(u"redirect_friendrequested"_s);
}

QJsonObject ForumMembers::removeFromList(const TestForumRequest& request, int memberId)
{
    const int target = request.field(u"userid"_s).toInt();
    if (!find(target))
        return code(u"invalidid"_s);
    const QString list = request.field(u"userlist"_s);
    if (list == u"ignore") {
        findMutable(memberId)->ignored.removeAll(target);
        return code(u"redirect_removelist_ignore"_s);
    }
    Buddies& mine = m_buddies[memberId];
    Buddies& theirs = m_buddies[target];
    mine.contacts.removeAll(target);
    if (list == u"friend" || list == u"buddy") {
        mine.friends.removeAll(target);
        mine.outgoing.removeAll(target);
        theirs.friends.removeAll(memberId);
        theirs.incoming.removeAll(memberId);
    }
    return code(u"redirect_removelist_"_s + (list.isEmpty() ? u"buddy"_s : list));
}

QJsonObject ForumMembers::visitorMessage(const TestForumRequest& request, int memberId)
{
    ForumMember* target = findMutable(request.field(u"userid"_s).toInt());
    if (!target)
        return code(u"invalidid"_s);
    const QString message = request.field(u"message"_s).trimmed();
    if (message.isEmpty()) {
        return response({{u"postpreview"_s,
                          QJsonObject{{u"errorlist"_s, QJsonArray{QJsonObject{{u"errormessage"_s, u"tooshort"_s}}}}}}});
    }
    target->visitorMessages.append(find(memberId)->username + u": "_s + message);
    return code(u"redirect_visitormessagethanks"_s);
}

QJsonObject ForumMembers::updatePicture(const TestForumRequest& request, int memberId, const PictureStore& store,
                                        bool avatar)
{
    ForumMember* member = findMutable(memberId);
    if (avatar && request.field(u"avatarid"_s) == u"-1") {
        member->avatarurl.clear();
        return code(u"redirect_updatethanks"_s);
    }
    for (const TestForumUpload& upload : request.uploads) {
        if (upload.parameterName != u"upload" || upload.data.isEmpty())
            continue;
        // A new name for every upload, so that a cached old picture never stands in for it.
        const QString name = u"%1_%2_%3.jpg"_s.arg(avatar ? u"avatar"_s : u"profilepic"_s)
                                 .arg(memberId)
                                 .arg(++m_pictureVersion);
        store(name, upload.data);
        (avatar ? member->avatarurl : member->profilepicurl) = u"images/"_s + name;
        return code(u"redirect_updatethanks"_s);
    }
    return code(u"fieldmissing"_s);
}
