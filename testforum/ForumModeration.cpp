#include "ForumModeration.h"

#include <QRegularExpression>

#include <algorithm>
#include <functional>

using namespace Qt::Literals::StringLiterals;

namespace {

// The ids of "tlist[12]=1"-style entries.
QList<int> listedIds(const TestForumRequest& request, const QString& list)
{
    const QRegularExpression key(u"^%1\\[(\\d+)\\]$"_s.arg(list));
    QList<int> ids;
    for (const auto& [name, value] : request.formPairs) {
        const QRegularExpressionMatch match = key.match(name);
        if (match.hasMatch() && value != u"0" && !ids.contains(match.captured(1).toInt()))
            ids.append(match.captured(1).toInt());
    }
    return ids;
}

// The ids of "threadids=12,40"-style fields.
QList<int> joinedIds(const TestForumRequest& request, const QString& field)
{
    QList<int> ids;
    for (const QString& piece : request.field(field).split(u',', Qt::SkipEmptyParts)) {
        const int id = piece.trimmed().toInt();
        if (id > 0 && !ids.contains(id))
            ids.append(id);
    }
    return ids;
}

}  // namespace

std::optional<QJsonValue> ForumModeration::answer(const TestForumRequest& request, const ForumViewer& viewer)
{
    const QString& method = request.apiMethod;
    if (!method.startsWith(u"inlinemod_") && method != u"postings_docopythread")
        return std::nullopt;
    if (!viewer.isMember())
        return ForumElements::code(u"nopermission_loggedout"_s);
    if (!viewer.moderator)
        return ForumElements::code(u"nopermission_loggedin"_s);

    if (method == u"inlinemod_dodeletethreads")
        return deleteThreads(joinedIds(request, u"threadids"_s), request.field(u"deletetype"_s), viewer);
    if (method == u"inlinemod_spamthread")
        return spamUsers(listedIds(request, u"tlist"_s));
    if (method == u"inlinemod_dodeletespam")
        return deleteThreads(joinedIds(request, u"threadids"_s), request.field(u"deletetype"_s), viewer);
    if (method == u"inlinemod_domovethreads")
        return moveThreads(joinedIds(request, u"threadids"_s), request.field(u"destforumid"_s).toInt());
    if (method == u"postings_docopythread")
        return copyThread(request.field(u"threadid"_s).toInt(), request.field(u"destforumid"_s).toInt());
    if (method == u"inlinemod_moveposts")
        return moveForm(listedIds(request, u"plist"_s));
    if (method == u"inlinemod_domoveposts" || method == u"inlinemod_docopyposts")
        return movePosts(request, method == u"inlinemod_docopyposts");
    if (method.endsWith(u"posts") || method.endsWith(u"attachments"))
        return postFlags(request, viewer);
    return threadFlags(request, viewer);
}

QJsonObject ForumModeration::threadFlags(const TestForumRequest& request, const ForumViewer& viewer)
{
    const QString action = request.apiMethod.mid(QStringLiteral("inlinemod_").size());
    static const QMap<QString, QString> codes{
        {u"close"_s, u"redirect_inline_closed"_s},         {u"open"_s, u"redirect_inline_opened"_s},
        {u"approvethread"_s, u"redirect_inline_approved"_s}, {u"unapprovethread"_s, u"redirect_inline_unapproved"_s},
        {u"stick"_s, u"redirect_inline_stuck"_s},          {u"unstick"_s, u"redirect_inline_unstuck"_s},
        {u"undeletethread"_s, u"redirect_inline_undeleted"_s},
    };
    if (!codes.contains(action))
        return ForumElements::code(u"invalid_api_method"_s);
    const QList<int> ids = listedIds(request, u"tlist"_s);
    int changed = 0;
    for (int id : ids) {
        ForumThread* thread = m_content.threadMutable(id);
        if (!thread)
            continue;
        ++changed;
        if (action == u"close" || action == u"open")
            thread->closed = action == u"close";
        else if (action == u"approvethread" || action == u"unapprovethread")
            thread->approved = action == u"approvethread";
        else if (action == u"stick" || action == u"unstick")
            thread->sticky = action == u"stick";
        else {
            thread->deleted = false;
            thread->deletedBy = 0;
        }
    }
    return changed ? ForumElements::code(codes.value(action)) : ForumElements::code(u"invalidid"_s);
}

QJsonObject ForumModeration::deleteThreads(const QList<int>& ids, const QString& deletetype, const ForumViewer& viewer)
{
    int changed = 0;
    for (int id : ids) {
        ForumThread* thread = m_content.threadMutable(id);
        if (!thread)
            continue;
        ++changed;
        // "1" hides the thread, to be undeleted later; "2" removes it for good.
        if (deletetype == u"2") {
            m_content.eraseThread(id);
        } else {
            thread->deleted = true;
            thread->deletedBy = viewer.userid;
        }
    }
    return changed ? ForumElements::code(u"redirect_inline_deleted"_s) : ForumElements::code(u"invalidid"_s);
}

QJsonObject ForumModeration::spamUsers(const QList<int>& ids) const
{
    QJsonArray users;
    QList<int> seen;
    for (int id : ids) {
        const ForumThread* thread = m_content.thread(id);
        if (!thread || seen.contains(thread->userid))
            continue;
        seen.append(thread->userid);
        users.append(QJsonObject{{u"userid"_s, thread->userid}, {u"username"_s, m_elements.username(thread->userid)}});
    }
    if (users.isEmpty())
        return ForumElements::code(u"invalidid"_s);
    QStringList joined;
    for (int id : ids)
        joined.append(QString::number(id));
    return ForumElements::response({{u"HTML"_s, QJsonObject{{u"users"_s, users}}},
                                    {u"threadids"_s, joined.join(u',')}});
}

std::optional<QJsonObject> ForumModeration::destinationRefusal(int destination) const
{
    const ForumNode* node = m_content.forum(destination);
    if (!node)
        return ForumElements::code(u"invalidid"_s);
    if (node->category || node->link)
        return ForumElements::code(u"moveillegalforum"_s);
    return std::nullopt;
}

QJsonObject ForumModeration::moveThreads(const QList<int>& ids, int destination)
{
    if (const auto refused = destinationRefusal(destination))
        return *refused;
    QList<ForumThread*> threads;
    for (int id : ids) {
        if (ForumThread* thread = m_content.threadMutable(id))
            threads.append(thread);
    }
    if (threads.isEmpty())
        return ForumElements::code(u"invalidid"_s);
    if (std::all_of(threads.begin(), threads.end(), [&](const ForumThread* t) { return t->forumid == destination; }))
        return ForumElements::code(u"movesameforum"_s);
    for (ForumThread* thread : threads)
        thread->forumid = destination;
    return ForumElements::code(u"redirect_inline_moved"_s);
}

int ForumModeration::duplicatePost(const ForumPost& post, int threadid)
{
    ForumPost copy = post;
    copy.postid = m_content.nextPostId();
    copy.threadid = threadid;
    m_content.addPost(copy);
    for (const ForumAttachment* attachment : m_content.attachmentsOf(post.postid)) {
        ForumAttachment twin = *attachment;
        twin.postid = copy.postid;
        m_content.addAttachment(twin);
    }
    return copy.postid;
}

QJsonObject ForumModeration::copyThread(int threadid, int destination)
{
    const ForumThread* source = m_content.thread(threadid);
    if (!source)
        return ForumElements::code(u"invalidid"_s);
    if (const auto refused = destinationRefusal(destination))
        return *refused;
    ForumThread copy = *source;
    copy.threadid = m_content.nextThreadId();
    copy.forumid = destination;
    copy.views = 0;
    const QList<int> posts = source->posts;
    m_content.addThread(copy);
    for (int postid : posts) {
        if (const ForumPost* post = m_content.post(postid))
            duplicatePost(ForumPost(*post), copy.threadid);
    }
    // A plain text, as the copier compares it.
    return ForumElements::code(u"redirect_movethread"_s);
}

QJsonObject ForumModeration::postFlags(const TestForumRequest& request, const ForumViewer& viewer)
{
    const QString action = request.apiMethod.mid(QStringLiteral("inlinemod_").size());
    const bool byList = action != u"dodeleteposts";
    const QList<int> ids = byList ? listedIds(request, u"plist"_s) : joinedIds(request, u"postids"_s);
    static const QList<QString> actions{u"dodeleteposts"_s, u"undeleteposts"_s, u"approveposts"_s,
                                        u"unapproveposts"_s, u"approveattachments"_s, u"unapproveattachments"_s};
    if (!actions.contains(action))
        return ForumElements::code(u"invalid_api_method"_s);
    int changed = 0;
    for (int id : ids) {
        ForumPost* post = m_content.postMutable(id);
        if (!post)
            continue;
        ++changed;
        if (action == u"dodeleteposts") {
            const int threadid = post->threadid;
            if (request.field(u"deletetype"_s) == u"2") {
                m_content.erasePost(id);
                if (const ForumThread* thread = m_content.thread(threadid); thread && thread->posts.isEmpty())
                    m_content.eraseThread(threadid);
            } else {
                post->deleted = true;
                post->deletedBy = viewer.userid;
            }
        } else if (action == u"undeleteposts") {
            post->deleted = false;
            post->deletedBy = 0;
        } else if (action == u"approveposts" || action == u"unapproveposts") {
            post->approved = action == u"approveposts";
        } else {
            for (ForumAttachment* attachment : m_content.attachmentsOfMutable(id))
                attachment->approved = action == u"approveattachments";
        }
    }
    if (!changed)
        return ForumElements::code(u"invalidid"_s);
    return ForumElements::code(u"redirect_inline_"_s + action.mid(action.startsWith(u"do") ? 2 : 0));
}

QJsonObject ForumModeration::moveForm(const QList<int>& ids) const
{
    QJsonArray forums;
    std::function<void(int, int)> walk = [&](int forumid, int depth) {
        const ForumNode* node = m_content.forum(forumid);
        if (!node)
            return;
        forums.append(QJsonObject{{u"optionclass"_s, u"d%1"_s.arg(depth)},
                                  {u"optiontitle"_s, node->title},
                                  {u"optionvalue"_s, node->forumid}});
        for (int child : node->children)
            walk(child, depth + 1);
    };
    for (int forumid : m_content.topForums())
        walk(forumid, 0);
    QStringList joined;
    for (int id : ids) {
        if (m_content.post(id))
            joined.append(QString::number(id));
    }
    if (joined.isEmpty())
        return ForumElements::code(u"invalidid"_s);
    return ForumElements::response({{u"HTML"_s, QJsonObject{{u"moveforumbits"_s, forums}}},
                                    {u"postids"_s, joined.join(u',')}});
}

QJsonObject ForumModeration::movePosts(const TestForumRequest& request, bool copy)
{
    const int destination = request.field(u"destforumid"_s).toInt();
    if (const auto refused = destinationRefusal(destination))
        return *refused;
    const QString title = request.field(u"title"_s).trimmed();
    if (title.isEmpty())
        return ForumElements::code(u"nosubject"_s);
    QList<const ForumPost*> posts;
    for (int id : joinedIds(request, u"postids"_s)) {
        if (const ForumPost* post = m_content.post(id))
            posts.append(post);
    }
    if (posts.isEmpty())
        return ForumElements::code(u"invalidid"_s);
    std::stable_sort(posts.begin(), posts.end(), [](const ForumPost* a, const ForumPost* b) { return a->time < b->time; });

    ForumThread thread;
    thread.threadid = m_content.nextThreadId();
    thread.forumid = destination;
    thread.userid = posts.first()->userid;
    thread.title = title;
    m_content.addThread(thread);
    QList<int> emptied;
    for (const ForumPost* post : posts) {
        if (copy) {
            duplicatePost(ForumPost(*post), thread.threadid);
            continue;
        }
        const int from = post->threadid;
        m_content.movePost(post->postid, thread.threadid);
        if (const ForumThread* source = m_content.thread(from); source && source->posts.isEmpty())
            emptied.append(from);
    }
    for (int threadid : emptied)
        m_content.eraseThread(threadid);
    if (const ForumThread* made = m_content.thread(thread.threadid); made && !made->posts.isEmpty())
        m_content.postMutable(made->posts.first())->title = title;
    return ForumElements::code(copy ? u"redirect_inline_copiedposts"_s : u"redirect_inline_movedposts"_s);
}
