#include "ForumContent.h"

#include "ForumSignature.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QRegularExpression>
#include <QTimeZone>
#include <QUrl>
#include <QUuid>

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace {

// "90s", "30m", "5h", "2d" or a plain number of seconds.
qint64 seconds(const QJsonValue& value, qint64 fallback = 0)
{
    if (value.isDouble())
        return qint64(value.toDouble());
    const QString text = value.toString().trimmed();
    static const QRegularExpression form(u"^(\\d+)\\s*([smhd]?)$"_s);
    const QRegularExpressionMatch match = form.match(text);
    if (!match.hasMatch())
        return fallback;
    const qint64 amount = match.captured(1).toLongLong();
    const QString unit = match.captured(2);
    if (unit == u"m")
        return amount * 60;
    if (unit == u"h")
        return amount * 3600;
    if (unit == u"d")
        return amount * 86400;
    return amount;
}

QStringList texts(const QJsonValue& value)
{
    QStringList list;
    for (const QJsonValue& item : value.toArray())
        list.append(item.toString());
    return list;
}

QString fill(QString text, int n, const QString& by)
{
    return text.replace(u"%n%"_s, QString::number(n)).replace(u"%by%"_s, by);
}

QDateTime wholeSecondsNow()
{
    return QDateTime::fromSecsSinceEpoch(QDateTime::currentSecsSinceEpoch(), QTimeZone::utc());
}

}  // namespace

QString ForumAttachment::typeOf(const QString& filename)
{
    static const QHash<QString, QString> types{
        {u"jpg"_s, u"image/jpeg"_s}, {u"jpeg"_s, u"image/jpeg"_s}, {u"png"_s, u"image/png"_s},
        {u"gif"_s, u"image/gif"_s},  {u"txt"_s, u"text/plain"_s},  {u"pdf"_s, u"application/pdf"_s},
        {u"gpx"_s, u"application/gpx+xml"_s},
    };
    return types.value(QFileInfo(filename).suffix().toLower(), u"application/octet-stream"_s);
}

qint64 ForumContent::now()
{
    return QDateTime::currentSecsSinceEpoch();
}

int ForumContent::setting(const QString& key, int fallback) const
{
    return m_settings.value(key).toInt(fallback);
}

qint64 ForumContent::defaultLastVisit() const
{
    return m_origin - seconds(m_settings.value(u"new_within"_s), 86400);
}

int ForumContent::userIdOf(const QJsonValue& value) const
{
    if (value.isDouble())
        return value.toInt();
    const ForumMember* member = m_members.findByName(value.toString());
    return member ? member->userid : 0;
}

bool ForumContent::load(const QJsonObject& seed, const QString& folder, QString* problem)
{
    m_settings = seed.value(u"settings"_s).toObject();
    m_folder = folder;
    m_origin = now();

    for (const QJsonValue& group : seed.value(u"prefixes"_s).toArray()) {
        const QJsonObject object = group.toObject();
        for (const QJsonValue& option : object.value(u"options"_s).toArray()) {
            const QJsonObject prefix = option.toObject();
            m_prefixes.append({prefix.value(u"id"_s).toString(), prefix.value(u"title"_s).toString(),
                               object.value(u"group"_s).toString(), prefix.value(u"color"_s).toString()});
        }
    }
    if (!loadForums(seed.value(u"forums"_s).toArray(), 0, problem))
        return false;
    for (const QJsonValue& value : seed.value(u"threads"_s).toArray()) {
        if (!loadThread(value.toObject(), problem))
            return false;
    }
    for (const QJsonValue& value : seed.value(u"filler_threads"_s).toArray()) {
        if (!loadFillerThreads(value.toObject(), problem))
            return false;
    }
    loadExtras(seed);
    return true;
}

bool ForumContent::loadForums(const QJsonArray& forums, int parentid, QString* problem)
{
    for (const QJsonValue& value : forums) {
        const QJsonObject object = value.toObject();
        ForumNode node;
        node.forumid = object.value(u"forumid"_s).toInt();
        node.parentid = parentid;
        node.title = object.value(u"title"_s).toString();
        node.description = object.value(u"description"_s).toString();
        node.category = object.value(u"category"_s).toBool();
        node.linkUrl = object.value(u"link"_s).toString();
        node.link = !node.linkUrl.isEmpty();
        node.password = object.value(u"password"_s).toString();
        node.membersOnly = object.value(u"members_only"_s).toBool();
        node.moderateNew = object.value(u"moderate_new"_s).toBool();
        node.prefixes = object.value(u"prefixes"_s).toBool();
        if (node.forumid <= 0 || m_forums.contains(node.forumid)) {
            *problem = u"forum \"%1\" needs an id of its own"_s.arg(node.title);
            return false;
        }
        m_forums.insert(node.forumid, node);
        if (parentid == 0)
            m_top.append(node.forumid);
        else
            m_forums[parentid].children.append(node.forumid);
        if (!loadForums(object.value(u"children"_s).toArray(), node.forumid, problem))
            return false;
    }
    return true;
}

bool ForumContent::loadAttachment(const QJsonObject& object, int postid, int userid, QString* problem)
{
    ForumAttachment attachment;
    attachment.postid = postid;
    attachment.userid = userid;
    attachment.approved = object.value(u"approved"_s).toBool(true);
    attachment.stamp = wholeSecondsNow();
    attachment.linkUrl = object.value(u"link"_s).toString();
    if (attachment.linkUrl.isEmpty()) {
        const QString name = object.value(u"file"_s).toString();
        QFile file(QDir(m_folder).filePath(name));
        if (name.isEmpty() || !file.open(QIODevice::ReadOnly)) {
            *problem = u"attachment file \"%1\" is missing"_s.arg(name);
            return false;
        }
        attachment.bytes = file.readAll();
        attachment.filename = QFileInfo(name).fileName();
        attachment.contentType = ForumAttachment::typeOf(name);
    } else {
        attachment.filename = QUrl(attachment.linkUrl).fileName();
        attachment.contentType = u"image/jpeg"_s;
    }
    addAttachment(attachment);
    return true;
}

bool ForumContent::loadThread(const QJsonObject& object, QString* problem)
{
    ForumThread thread;
    thread.threadid = object.value(u"threadid"_s).toInt();
    thread.forumid = object.value(u"forumid"_s).toInt();
    thread.userid = userIdOf(object.value(u"by"_s));
    thread.title = object.value(u"title"_s).toString();
    thread.prefixid = object.value(u"prefix"_s).toString();
    thread.tags = texts(object.value(u"tags"_s));
    thread.sticky = object.value(u"sticky"_s).toBool();
    thread.closed = object.value(u"closed"_s).toBool();
    thread.approved = object.value(u"approved"_s).toBool(true);
    thread.deletedBy = userIdOf(object.value(u"deleted_by"_s));
    thread.deleted = thread.deletedBy > 0;
    thread.views = object.value(u"views"_s).toInt(thread.threadid % 97 + 12);
    if (thread.threadid <= 0 || m_threads.contains(thread.threadid) || !m_forums.contains(thread.forumid)) {
        *problem = u"thread \"%1\" needs an id of its own and a forum that exists"_s.arg(thread.title);
        return false;
    }
    if (!thread.prefixid.isEmpty() && !prefix(thread.prefixid)) {
        *problem = u"thread \"%1\" names an unknown prefix"_s.arg(thread.title);
        return false;
    }
    addThread(thread);

    qint64 time = m_origin - seconds(object.value(u"ago"_s), 86400);
    const qint64 spacing = seconds(object.value(u"spacing"_s), 3600);
    // A thread may fix its posts' ids, so that its quotes can name them.
    int postid = qMax(nextPostId(), object.value(u"first_postid"_s).toInt());
    bool first = true;
    const auto add = [&](const QJsonObject& item, const QString& text, int userid) -> bool {
        ForumPost post;
        post.postid = postid++;
        post.threadid = thread.threadid;
        post.userid = userid;
        post.title = item.value(u"title"_s).toString(first ? thread.title : QString());
        post.bbcode = text;
        if (item.contains(u"ago"_s))
            time = m_origin - seconds(item.value(u"ago"_s));
        post.time = time;
        time += spacing;
        post.approved = item.value(u"approved"_s).toBool(true);
        post.deletedBy = userIdOf(item.value(u"deleted_by"_s));
        post.deleted = post.deletedBy > 0;
        post.editedBy = userIdOf(item.value(u"edited_by"_s));
        post.editedTime = post.editedBy ? post.time + 600 : 0;
        if (post.userid <= 0) {
            *problem = u"a post of thread %1 names no known member"_s.arg(thread.threadid);
            return false;
        }
        addPost(post);
        first = false;
        for (const QJsonValue& attachment : item.value(u"attachments"_s).toArray()) {
            if (!loadAttachment(attachment.toObject(), post.postid, post.userid, problem))
                return false;
        }
        return true;
    };
    for (const QJsonValue& value : object.value(u"posts"_s).toArray()) {
        const QJsonObject item = value.toObject();
        if (!item.contains(u"filler"_s)) {
            if (!add(item, item.value(u"text"_s).toString(), userIdOf(item.value(u"by"_s))))
                return false;
            continue;
        }
        const QJsonObject filler = item.value(u"filler"_s).toObject();
        const QJsonArray by = filler.value(u"by"_s).toArray();
        const QStringList lines = texts(filler.value(u"texts"_s));
        const int count = filler.value(u"count"_s).toInt();
        for (int n = 1; n <= count && !by.isEmpty() && !lines.isEmpty(); ++n) {
            const int userid = userIdOf(by.at(n % by.size()));
            const ForumMember* member = m_members.find(userid);
            if (!add({}, fill(lines.at(n % lines.size()), n, member ? member->username : QString()), userid))
                return false;
        }
    }
    if (this->thread(thread.threadid)->posts.isEmpty()) {
        *problem = u"thread %1 has no posts"_s.arg(thread.threadid);
        return false;
    }
    return true;
}

bool ForumContent::loadFillerThreads(const QJsonObject& object, QString* problem)
{
    const int forumid = object.value(u"forumid"_s).toInt();
    const int count = object.value(u"count"_s).toInt();
    const int firstId = object.value(u"first_threadid"_s).toInt();
    const QJsonArray by = object.value(u"by"_s).toArray();
    const QStringList lines = texts(object.value(u"texts"_s));
    const QJsonArray replies = object.value(u"replies"_s).toArray();
    const qint64 newest = seconds(object.value(u"newest"_s), 3600);
    const qint64 every = seconds(object.value(u"every"_s), 3600);
    if (!m_forums.contains(forumid) || firstId <= 0 || by.isEmpty() || lines.isEmpty()) {
        *problem = u"filler threads need a forum, a first thread id, members and texts"_s;
        return false;
    }
    for (int n = 1; n <= count; ++n) {
        ForumThread thread;
        thread.threadid = firstId + n - 1;
        thread.forumid = forumid;
        thread.userid = userIdOf(by.at(n % by.size()));
        thread.title = fill(object.value(u"title"_s).toString(), n, QString());
        thread.views = 7 + (n * 37) % 180;
        if (m_threads.contains(thread.threadid) || thread.userid <= 0) {
            *problem = u"filler thread %1 clashes or names no member"_s.arg(thread.threadid);
            return false;
        }
        addThread(thread);
        const int answers = replies.isEmpty() ? 0 : replies.at(n % replies.size()).toInt();
        const qint64 last = m_origin - newest - qint64(count - n) * every;
        for (int k = 0; k <= answers; ++k) {
            ForumPost post;
            post.postid = nextPostId();
            post.threadid = thread.threadid;
            post.userid = userIdOf(by.at((n + k) % by.size()));
            post.title = k == 0 ? thread.title : QString();
            const ForumMember* member = m_members.find(post.userid);
            post.bbcode = fill(lines.at((n + k) % lines.size()), n, member ? member->username : QString());
            post.time = last - qint64(answers - k) * 1200;
            addPost(post);
        }
    }
    return true;
}

void ForumContent::loadExtras(const QJsonObject& seed)
{
    for (const QJsonValue& value : seed.value(u"announcements"_s).toArray()) {
        const QJsonObject object = value.toObject();
        m_announcements.append({object.value(u"announcementid"_s).toInt(), object.value(u"forumid"_s).toInt(-1),
                                userIdOf(object.value(u"by"_s)), object.value(u"title"_s).toString(),
                                object.value(u"text"_s).toString(), m_origin - seconds(object.value(u"ago"_s))});
    }
    for (const QJsonValue& value : seed.value(u"notices"_s).toArray()) {
        const QJsonObject object = value.toObject();
        m_notices.append({object.value(u"noticeid"_s).toInt(), object.value(u"text"_s).toString(),
                          object.value(u"audience"_s).toString(u"all"_s)});
    }
    const auto comments = [this](const QJsonValue& list) {
        QList<ForumComment> found;
        for (const QJsonValue& value : list.toArray()) {
            const QJsonObject object = value.toObject();
            found.append({userIdOf(object.value(u"by"_s)), object.value(u"text"_s).toString(),
                          m_origin - seconds(object.value(u"ago"_s))});
        }
        return found;
    };
    const QJsonObject blogs = seed.value(u"blogs"_s).toObject();
    const QJsonObject categories = blogs.value(u"categories"_s).toObject();
    for (auto it = categories.begin(); it != categories.end(); ++it)
        m_blogCategories.insert(it.key().toInt(), it.value().toString());
    for (const QJsonValue& value : blogs.value(u"entries"_s).toArray()) {
        const QJsonObject object = value.toObject();
        ForumBlogEntry entry;
        entry.blogid = object.value(u"blogid"_s).toInt();
        entry.userid = userIdOf(object.value(u"by"_s));
        entry.categoryid = object.value(u"category"_s).toInt();
        entry.title = object.value(u"title"_s).toString();
        entry.bbcode = object.value(u"text"_s).toString();
        entry.tags = texts(object.value(u"tags"_s));
        entry.time = m_origin - seconds(object.value(u"ago"_s));
        entry.views = object.value(u"views"_s).toInt();
        entry.comments = comments(object.value(u"comments"_s));
        m_blogs.append(entry);
    }
    for (const QJsonValue& value : seed.value(u"articles"_s).toArray()) {
        const QJsonObject object = value.toObject();
        ForumArticle article;
        article.articleid = object.value(u"articleid"_s).toInt();
        article.userid = userIdOf(object.value(u"by"_s));
        article.title = object.value(u"title"_s).toString();
        article.bbcode = object.value(u"text"_s).toString();
        article.category = object.value(u"category"_s).toString();
        article.previewImage = object.value(u"preview_image"_s).toString();
        article.tags = texts(object.value(u"tags"_s));
        article.publish = m_origin - seconds(object.value(u"ago"_s));
        article.views = object.value(u"views"_s).toInt();
        article.comments = comments(object.value(u"comments"_s));
        m_articles.append(article);
    }
    const QJsonObject states = seed.value(u"member_state"_s).toObject();
    for (auto it = states.begin(); it != states.end(); ++it) {
        const int userid = userIdOf(QJsonValue(it.key()));
        if (userid <= 0)
            continue;
        const QJsonObject object = it.value().toObject();
        ForumMemberState& memberState = state(userid);
        const QJsonObject threads = object.value(u"subscribed_threads"_s).toObject();
        for (auto sub = threads.begin(); sub != threads.end(); ++sub)
            memberState.threadSubscriptions.insert(sub.key().toInt(), sub.value().toInt());
        const QJsonObject forums = object.value(u"subscribed_forums"_s).toObject();
        for (auto sub = forums.begin(); sub != forums.end(); ++sub)
            memberState.forumSubscriptions.insert(sub.key().toInt(), sub.value().toInt());
        memberState.unreadPms = object.value(u"unread_pms"_s).toInt();
        memberState.autosubscribe = object.value(u"autosubscribe"_s).toBool();
        memberState.emailupdate = object.value(u"emailupdate"_s).toInt();
    }
}

ForumViewer ForumContent::viewer(int userid, const QString& forumPasswordHash) const
{
    const ForumMember* member = m_members.find(userid);
    return {member ? userid : 0, member && member->moderator, forumPasswordHash.toLower()};
}

const ForumNode* ForumContent::forum(int forumid) const
{
    const auto found = m_forums.constFind(forumid);
    return found == m_forums.constEnd() ? nullptr : &*found;
}

ForumNode* ForumContent::forumMutable(int forumid)
{
    const auto found = m_forums.find(forumid);
    return found == m_forums.end() ? nullptr : &*found;
}

bool ForumContent::canSee(const ForumNode& node, const ForumViewer& viewer) const
{
    return !node.membersOnly || viewer.isMember();
}

bool ForumContent::passwordAccepted(const ForumNode& node, const ForumViewer& viewer) const
{
    if (node.password.isEmpty())
        return true;
    return viewer.forumPasswordHash == ForumSignature::md5Hex(QString::number(viewer.userid).toUtf8()
                                                             + node.password.toUtf8());
}

QList<int> ForumContent::forumAndBelow(int forumid) const
{
    QList<int> found;
    if (const ForumNode* node = forum(forumid)) {
        found.append(forumid);
        for (int child : node->children)
            found.append(forumAndBelow(child));
    }
    return found;
}

bool ForumContent::openToListings(int forumid, const ForumViewer& viewer) const
{
    const ForumNode* node = forum(forumid);
    return node && canSee(*node, viewer) && node->password.isEmpty();
}

const ForumThread* ForumContent::thread(int threadid) const
{
    const auto found = m_threads.constFind(threadid);
    return found == m_threads.constEnd() ? nullptr : &*found;
}

ForumThread* ForumContent::threadMutable(int threadid)
{
    const auto found = m_threads.find(threadid);
    return found == m_threads.end() ? nullptr : &*found;
}

const ForumPost* ForumContent::post(int postid) const
{
    const auto found = m_posts.constFind(postid);
    return found == m_posts.constEnd() ? nullptr : &*found;
}

ForumPost* ForumContent::postMutable(int postid)
{
    const auto found = m_posts.find(postid);
    return found == m_posts.end() ? nullptr : &*found;
}

bool ForumContent::canSee(const ForumThread& thread, const ForumViewer& viewer) const
{
    const ForumNode* node = forum(thread.forumid);
    if (!node || !canSee(*node, viewer))
        return false;
    if (viewer.moderator)
        return true;
    return !thread.deleted && (thread.approved || (viewer.isMember() && thread.userid == viewer.userid));
}

bool ForumContent::canSee(const ForumPost& post, const ForumViewer& viewer) const
{
    return post.approved || viewer.moderator || (viewer.isMember() && post.userid == viewer.userid);
}

QList<const ForumThread*> ForumContent::threadsOf(int forumid, const ForumViewer& viewer, bool sticky) const
{
    QList<const ForumThread*> found;
    for (const ForumThread& thread : m_threads) {
        if (thread.forumid == forumid && thread.sticky == sticky && canSee(thread, viewer))
            found.append(&thread);
    }
    std::stable_sort(found.begin(), found.end(), [this](const ForumThread* a, const ForumThread* b) {
        const qint64 ta = lastPostTime(*a);
        const qint64 tb = lastPostTime(*b);
        return ta != tb ? ta > tb : a->threadid > b->threadid;
    });
    return found;
}

QList<const ForumThread*> ForumContent::publicThreads(int forumid) const
{
    QList<const ForumThread*> found;
    for (const ForumThread& thread : m_threads) {
        if (thread.forumid == forumid && thread.approved && !thread.deleted)
            found.append(&thread);
    }
    return found;
}

QList<const ForumPost*> ForumContent::postsOf(const ForumThread& thread, const ForumViewer& viewer) const
{
    QList<const ForumPost*> found;
    for (int postid : thread.posts) {
        const ForumPost* candidate = post(postid);
        if (candidate && canSee(*candidate, viewer))
            found.append(candidate);
    }
    return found;
}

QList<const ForumPost*> ForumContent::publicPosts(const ForumThread& thread) const
{
    QList<const ForumPost*> found;
    for (int postid : thread.posts) {
        const ForumPost* candidate = post(postid);
        if (candidate && candidate->approved && !candidate->deleted)
            found.append(candidate);
    }
    return found;
}

const ForumPost* ForumContent::lastPost(const ForumThread& thread) const
{
    const QList<const ForumPost*> shown = publicPosts(thread);
    if (!shown.isEmpty())
        return shown.last();
    return thread.posts.isEmpty() ? nullptr : post(thread.posts.first());
}

qint64 ForumContent::lastPostTime(const ForumThread& thread) const
{
    const ForumPost* last = lastPost(thread);
    return last ? last->time : 0;
}

int ForumContent::replyCount(const ForumThread& thread) const
{
    return qMax(0, int(publicPosts(thread).size()) - 1);
}

bool ForumContent::isHot(const ForumThread& thread) const
{
    return replyCount(thread) >= setting(u"hot_replies"_s, 15) || thread.views >= setting(u"hot_views"_s, 300);
}

bool ForumContent::isNewFor(const ForumThread& thread, int userid) const
{
    if (userid <= 0)
        return false;
    return lastPostTime(thread) > seenUpTo(thread.threadid, userid);
}

qint64 ForumContent::seenUpTo(int threadid, int userid) const
{
    const ForumMemberState memberState = stateOf(userid);
    return qMax(memberState.readUpTo.value(threadid), memberState.lastVisit);
}

bool ForumContent::hasPosted(const ForumThread& thread, int userid) const
{
    if (userid <= 0)
        return false;
    for (int postid : thread.posts) {
        const ForumPost* candidate = post(postid);
        if (candidate && candidate->userid == userid && !candidate->deleted)
            return true;
    }
    return false;
}

void ForumContent::markRead(const ForumThread& thread, int userid, qint64 upTo)
{
    if (userid <= 0)
        return;
    qint64& mark = state(userid).readUpTo[thread.threadid];
    mark = qMax(mark, upTo);
}

ForumThread& ForumContent::addThread(ForumThread thread)
{
    const int threadid = thread.threadid;
    thread.posts.clear();
    m_threads.insert(threadid, thread);
    return m_threads[threadid];
}

ForumPost& ForumContent::addPost(ForumPost post)
{
    const int postid = post.postid;
    m_posts.insert(postid, post);
    if (ForumThread* owner = threadMutable(post.threadid)) {
        owner->posts.append(postid);
        sortPosts(*owner);
    }
    return m_posts[postid];
}

void ForumContent::sortPosts(ForumThread& thread)
{
    std::stable_sort(thread.posts.begin(), thread.posts.end(), [this](int a, int b) {
        const qint64 ta = m_posts.value(a).time;
        const qint64 tb = m_posts.value(b).time;
        return ta != tb ? ta < tb : a < b;
    });
}

void ForumContent::eraseThread(int threadid)
{
    const ForumThread* found = thread(threadid);
    if (!found)
        return;
    for (int postid : QList<int>(found->posts))
        erasePost(postid);
    m_threads.remove(threadid);
}

void ForumContent::erasePost(int postid)
{
    const ForumPost* found = post(postid);
    if (!found)
        return;
    if (ForumThread* owner = threadMutable(found->threadid))
        owner->posts.removeAll(postid);
    for (auto it = m_attachments.begin(); it != m_attachments.end();)
        it = it->postid == postid ? m_attachments.erase(it) : std::next(it);
    m_posts.remove(postid);
}

void ForumContent::movePost(int postid, int threadid)
{
    ForumPost* moved = postMutable(postid);
    ForumThread* target = threadMutable(threadid);
    if (!moved || !target || moved->threadid == threadid)
        return;
    if (ForumThread* owner = threadMutable(moved->threadid))
        owner->posts.removeAll(postid);
    moved->threadid = threadid;
    target->posts.append(postid);
    sortPosts(*target);
}

int ForumContent::nextThreadId() const
{
    return m_threads.isEmpty() ? 1 : m_threads.lastKey() + 1;
}

int ForumContent::nextPostId() const
{
    return m_posts.isEmpty() ? 1 : m_posts.lastKey() + 1;
}

const ForumAttachment* ForumContent::attachment(int attachmentid) const
{
    const auto found = m_attachments.constFind(attachmentid);
    return found == m_attachments.constEnd() ? nullptr : &*found;
}

QList<const ForumAttachment*> ForumContent::attachmentsOf(int postid) const
{
    QList<const ForumAttachment*> found;
    for (const ForumAttachment& attachment : m_attachments) {
        if (attachment.postid == postid)
            found.append(&attachment);
    }
    return found;
}

QList<ForumAttachment*> ForumContent::attachmentsOfMutable(int postid)
{
    QList<ForumAttachment*> found;
    for (ForumAttachment& attachment : m_attachments) {
        if (attachment.postid == postid)
            found.append(&attachment);
    }
    return found;
}

ForumAttachment& ForumContent::addAttachment(ForumAttachment attachment)
{
    attachment.attachmentid = m_attachments.isEmpty() ? 1 : m_attachments.lastKey() + 1;
    const int id = attachment.attachmentid;
    m_attachments.insert(id, attachment);
    return m_attachments[id];
}

void ForumContent::claimUploads(const QString& posthash, int userid, int postid)
{
    if (posthash.isEmpty())
        return;
    for (ForumAttachment& attachment : m_attachments) {
        if (attachment.postid == 0 && attachment.posthash == posthash && attachment.userid == userid)
            attachment.postid = postid;
    }
}

ForumForm ForumContent::openForm(int userid)
{
    // Old forms go, so that a long demo does not collect them for ever.
    if (m_forms.size() >= 500) {
        auto oldest = m_forms.begin();
        for (auto it = m_forms.begin(); it != m_forms.end(); ++it) {
            if (it->starttime < oldest->starttime)
                oldest = it;
        }
        m_forms.erase(oldest);
    }
    const ForumForm form{ForumSignature::md5Hex(QUuid::createUuid().toByteArray()), now(), userid};
    m_forms.insert(form.posthash, form);
    return form;
}

bool ForumContent::formIsKnown(const QString& posthash, int userid) const
{
    const auto found = m_forms.constFind(posthash);
    return found != m_forms.constEnd() && found->userid == userid;
}

const ForumBlogEntry* ForumContent::blog(int blogid) const
{
    for (const ForumBlogEntry& entry : m_blogs) {
        if (entry.blogid == blogid)
            return &entry;
    }
    return nullptr;
}

const ForumPrefix* ForumContent::prefix(const QString& id) const
{
    for (const ForumPrefix& candidate : m_prefixes) {
        if (candidate.id == id)
            return &candidate;
    }
    return nullptr;
}

ForumMemberState& ForumContent::state(int userid)
{
    if (!m_states.contains(userid))
        m_states[userid].lastVisit = defaultLastVisit();
    return m_states[userid];
}

ForumMemberState ForumContent::stateOf(int userid) const
{
    if (const auto found = m_states.constFind(userid); found != m_states.constEnd())
        return *found;
    ForumMemberState fresh;
    fresh.lastVisit = defaultLastVisit();
    return fresh;
}

void ForumContent::addReport(const ForumReport& report)
{
    m_reports.append(report);
    if (m_reports.size() > 500)
        m_reports.removeFirst();
}
