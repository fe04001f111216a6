#include "ForumSeed.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QRegularExpression>
#include <QTimeZone>
#include <QUrl>

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

ForumSeed::ForumSeed(ForumContent& content, const QString& folder)
    : m_content(content), m_folder(folder), m_origin(ForumContent::now())
{
}

int ForumSeed::userIdOf(const QJsonValue& value) const
{
    if (value.isDouble())
        return value.toInt();
    const ForumMember* member = m_content.members().findByName(value.toString());
    return member ? member->userid : 0;
}

bool ForumSeed::load(const QJsonObject& seed, QString* problem)
{
    const QJsonObject settings = seed.value(u"settings"_s).toObject();
    m_content.setSettings(settings, m_origin - seconds(settings.value(u"new_within"_s), 86400));

    for (const QJsonValue& group : seed.value(u"prefixes"_s).toArray()) {
        const QJsonObject object = group.toObject();
        for (const QJsonValue& option : object.value(u"options"_s).toArray()) {
            const QJsonObject prefix = option.toObject();
            m_content.addPrefix({prefix.value(u"id"_s).toString(), prefix.value(u"title"_s).toString(),
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

bool ForumSeed::loadForums(const QJsonArray& forums, int parentid, QString* problem)
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
        if (node.forumid <= 0 || m_content.forum(node.forumid)) {
            *problem = u"forum \"%1\" needs an id of its own"_s.arg(node.title);
            return false;
        }
        m_content.addForum(node);
        if (!loadForums(object.value(u"children"_s).toArray(), node.forumid, problem))
            return false;
    }
    return true;
}

bool ForumSeed::loadAttachment(const QJsonObject& object, int postid, int userid, QString* problem)
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
    m_content.addAttachment(attachment);
    return true;
}

bool ForumSeed::loadThread(const QJsonObject& object, QString* problem)
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
    if (thread.threadid <= 0 || m_content.thread(thread.threadid) || !m_content.forum(thread.forumid)) {
        *problem = u"thread \"%1\" needs an id of its own and a forum that exists"_s.arg(thread.title);
        return false;
    }
    if (!thread.prefixid.isEmpty() && !m_content.prefix(thread.prefixid)) {
        *problem = u"thread \"%1\" names an unknown prefix"_s.arg(thread.title);
        return false;
    }
    m_content.addThread(thread);

    qint64 time = m_origin - seconds(object.value(u"ago"_s), 86400);
    const qint64 spacing = seconds(object.value(u"spacing"_s), 3600);
    // A thread may fix its posts' ids, so that its quotes can name them.
    int postid = qMax(m_content.nextPostId(), object.value(u"first_postid"_s).toInt());
    bool first = true;
    const auto add = [&](const QJsonObject& item, const QString& text, int userid) -> bool {
        ForumPost post;
        post.postid = postid++;
        post.threadid = thread.threadid;
        post.userid = userid;
        post.title = item.value(u"title"_s).toString(first ? thread.title : QString());
        post.bbcode = text;
        post.html = item.value(u"html"_s).toString();
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
        m_content.addPost(post);
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
            const ForumMember* member = m_content.members().find(userid);
            if (!add({}, fill(lines.at(n % lines.size()), n, member ? member->username : QString()), userid))
                return false;
        }
    }
    if (m_content.thread(thread.threadid)->posts.isEmpty()) {
        *problem = u"thread %1 has no posts"_s.arg(thread.threadid);
        return false;
    }
    return true;
}

bool ForumSeed::loadFillerThreads(const QJsonObject& object, QString* problem)
{
    const int forumid = object.value(u"forumid"_s).toInt();
    const int count = object.value(u"count"_s).toInt();
    const int firstId = object.value(u"first_threadid"_s).toInt();
    const QJsonArray by = object.value(u"by"_s).toArray();
    const QStringList lines = texts(object.value(u"texts"_s));
    const QJsonArray replies = object.value(u"replies"_s).toArray();
    const qint64 newest = seconds(object.value(u"newest"_s), 3600);
    const qint64 every = seconds(object.value(u"every"_s), 3600);
    if (!m_content.forum(forumid) || firstId <= 0 || by.isEmpty() || lines.isEmpty()) {
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
        if (m_content.thread(thread.threadid) || thread.userid <= 0) {
            *problem = u"filler thread %1 clashes or names no member"_s.arg(thread.threadid);
            return false;
        }
        m_content.addThread(thread);
        const int answers = replies.isEmpty() ? 0 : replies.at(n % replies.size()).toInt();
        const qint64 last = m_origin - newest - qint64(count - n) * every;
        for (int k = 0; k <= answers; ++k) {
            ForumPost post;
            post.postid = m_content.nextPostId();
            post.threadid = thread.threadid;
            post.userid = userIdOf(by.at((n + k) % by.size()));
            post.title = k == 0 ? thread.title : QString();
            const ForumMember* member = m_content.members().find(post.userid);
            post.bbcode = fill(lines.at((n + k) % lines.size()), n, member ? member->username : QString());
            post.time = last - qint64(answers - k) * 1200;
            m_content.addPost(post);
        }
    }
    return true;
}

void ForumSeed::loadExtras(const QJsonObject& seed)
{
    for (const QJsonValue& value : seed.value(u"announcements"_s).toArray()) {
        const QJsonObject object = value.toObject();
        m_content.addAnnouncement({object.value(u"announcementid"_s).toInt(), object.value(u"forumid"_s).toInt(-1),
                                userIdOf(object.value(u"by"_s)), object.value(u"title"_s).toString(),
                                object.value(u"text"_s).toString(), m_origin - seconds(object.value(u"ago"_s))});
    }
    for (const QJsonValue& value : seed.value(u"notices"_s).toArray()) {
        const QJsonObject object = value.toObject();
        m_content.addNotice({object.value(u"noticeid"_s).toInt(), object.value(u"text"_s).toString(),
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
        m_content.addBlogCategory(it.key().toInt(), it.value().toString());
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
        m_content.addBlog(entry);
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
        m_content.addArticle(article);
    }
    const QJsonObject states = seed.value(u"member_state"_s).toObject();
    for (auto it = states.begin(); it != states.end(); ++it) {
        const int userid = userIdOf(QJsonValue(it.key()));
        if (userid <= 0)
            continue;
        const QJsonObject object = it.value().toObject();
        ForumMemberState& memberState = m_content.state(userid);
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

