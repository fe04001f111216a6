#include "ForumContent.h"

#include "ForumSignature.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QUuid>

#include <algorithm>

using namespace Qt::Literals::StringLiterals;


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

void ForumContent::setSettings(const QJsonObject& settings, qint64 newSince)
{
    m_settings = settings;
    m_newSince = newSince;
}

void ForumContent::addForum(const ForumNode& node)
{
    m_forums.insert(node.forumid, node);
    if (node.parentid == 0)
        m_top.append(node.forumid);
    else if (ForumNode* parent = forumMutable(node.parentid))
        parent->children.append(node.forumid);
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
        m_states[userid].lastVisit = m_newSince;
    return m_states[userid];
}

QJsonObject ForumContent::threadSnapshot(int threadid) const
{
    const ForumThread* thread = this->thread(threadid);
    if (!thread)
        return {};
    QJsonArray posts;
    for (int postid : thread->posts)
        posts.append(postid);
    return {
        {u"threadid"_s, thread->threadid}, {u"forumid"_s, thread->forumid},
        {u"title"_s, thread->title},       {u"userid"_s, thread->userid},
        {u"prefixid"_s, thread->prefixid}, {u"tags"_s, QJsonArray::fromStringList(thread->tags)},
        {u"sticky"_s, thread->sticky},     {u"closed"_s, thread->closed},
        {u"approved"_s, thread->approved}, {u"deleted"_s, thread->deleted},
        {u"views"_s, thread->views},       {u"posts"_s, posts},
    };
}

QJsonObject ForumContent::postSnapshot(int postid) const
{
    const ForumPost* post = this->post(postid);
    if (!post)
        return {};
    QJsonArray attachments;
    for (const ForumAttachment* attachment : attachmentsOf(postid)) {
        attachments.append(QJsonObject{{u"attachmentid"_s, attachment->attachmentid},
                                       {u"filename"_s, attachment->filename},
                                       {u"approved"_s, attachment->approved},
                                       {u"bytes"_s, int(attachment->bytes.size())}});
    }
    return {
        {u"postid"_s, post->postid},     {u"threadid"_s, post->threadid},   {u"userid"_s, post->userid},
        {u"title"_s, post->title},       {u"bbcode"_s, post->bbcode},       {u"approved"_s, post->approved},
        {u"deleted"_s, post->deleted},   {u"editedby"_s, post->editedBy},   {u"attachments"_s, attachments},
    };
}

ForumMemberState ForumContent::stateOf(int userid) const
{
    if (const auto found = m_states.constFind(userid); found != m_states.constEnd())
        return *found;
    ForumMemberState fresh;
    fresh.lastVisit = m_newSince;
    return fresh;
}

void ForumContent::addReport(const ForumReport& report)
{
    m_reports.append(report);
    if (m_reports.size() > 500)
        m_reports.removeFirst();
}
