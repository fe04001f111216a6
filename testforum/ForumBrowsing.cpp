#include "ForumBrowsing.h"

#include "ForumBBCode.h"

using namespace Qt::Literals::StringLiterals;

std::optional<QJsonValue> ForumBrowsing::answer(const TestForumRequest& request, const ForumViewer& viewer)
{
    const QString& method = request.apiMethod;
    if (method == u"forum")
        return home(viewer);
    if (method == u"api_forumlist")
        return m_elements.forumTree(viewer);
    if (method == u"forumdisplay")
        return forumDisplay(request, viewer);
    if (method == u"showthread")
        return showThread(request, viewer, false);
    if (method == u"api_gotonewpost")
        return showThread(request, viewer, true);
    if (method == u"announcement_view")
        return announcement(request);
    if (method == u"ajax_dismissnotice")
        return dismissNotice(request, viewer);
    return std::nullopt;
}

std::optional<QJsonObject> ForumBrowsing::refusal(const ForumNode* node, const ForumViewer& viewer) const
{
    if (!node)
        return ForumElements::code(u"invalidid"_s);
    if (!m_content.canSee(*node, viewer))
        return ForumElements::code(u"nopermission_loggedout"_s);
    // A list of one: a list of two would be shown as a message by the client.
    if (!m_content.passwordAccepted(*node, viewer))
        return ForumElements::code(QJsonArray{u"forumpasswordmissing"_s});
    return std::nullopt;
}

QJsonObject ForumBrowsing::home(const ForumViewer& viewer) const
{
    QJsonArray notifications;
    if (viewer.isMember()) {
        const ForumMemberState state = m_content.stateOf(viewer.userid);
        notifications.append(QJsonObject{{u"phrase"_s, u"Unread Private Messages"_s},
                                         {u"total"_s, state.unreadPms},
                                         {u"name"_s, u"pmunread"_s}});
        notifications.append(QJsonObject{{u"phrase"_s, u"Friend Requests"_s},
                                         {u"total"_s, m_content.members().incomingRequestCount(viewer.userid)},
                                         {u"name"_s, u"friendreqcount"_s}});
    }
    QJsonArray notices;
    const ForumMemberState state = m_content.stateOf(viewer.userid);
    for (const ForumNotice& notice : m_content.notices()) {
        const bool audience = notice.audience == u"all"
                              || (notice.audience == u"members") == viewer.isMember();
        if (!audience || state.dismissedNotices.contains(notice.noticeid))
            continue;
        notices.append(QJsonObject{{u"_noticeid"_s, notice.noticeid},
                                   {u"notice_plain"_s, notice.text},
                                   {u"notice_html"_s, ForumBBCode::escape(notice.text)}});
    }
    return ForumElements::response({
        {u"forums"_s, m_elements.forumTree(viewer)},
        {u"notifications_menubits"_s, notifications},
        // One notice as its element; none as an empty list, so that the client empties its own.
        {u"notices"_s, notices.size() == 1 ? notices.first() : QJsonValue(notices)},
    });
}

QJsonArray ForumBrowsing::announcementsOf(int forumid) const
{
    QJsonArray found;
    for (const ForumAnnouncement& item : m_content.announcements()) {
        if (item.forumid != -1 && item.forumid != forumid)
            continue;
        found.append(QJsonObject{
            {u"announcement"_s, QJsonObject{{u"announcementid"_s, item.announcementid},
                                            {u"title"_s, item.title},
                                            {u"userid"_s, item.userid},
                                            {u"username"_s, m_elements.username(item.userid)},
                                            {u"startdate"_s, ForumElements::dateText(item.start)}}},
            {u"announcementidlink"_s, u"&a=%1"_s.arg(item.announcementid)},
        });
    }
    return found;
}

QJsonObject ForumBrowsing::forumDisplay(const TestForumRequest& request, const ForumViewer& viewer) const
{
    const ForumNode* node = m_content.forum(request.field(u"forumid"_s).toInt());
    if (const auto refused = refusal(node, viewer))
        return *refused;
    const int perpage = ForumElements::perPage(request, m_content, u"threads_perpage"_s, 20);
    const QList<const ForumThread*> threads = m_content.threadsOf(node->forumid, viewer, false);
    const int total = int(threads.size());
    const int totalpages = ForumElements::pageCount(total, perpage);
    const int page = ForumElements::clampPage(request.field(u"pagenumber"_s), totalpages);

    QJsonArray bits;
    for (int i = (page - 1) * perpage; i < qMin(total, page * perpage); ++i)
        bits.append(m_elements.thread(*threads.at(i), viewer));
    QJsonObject content{
        {u"forum"_s, m_elements.forum(*node, viewer, false)},
        {u"pagenumber"_s, page},
        {u"threadbits"_s, ForumElements::listOrSingle(bits)},
        {u"pagenav"_s, ForumElements::pagenav(page, totalpages, total, perpage)},
    };
    if (page == 1) {
        QJsonArray stickies;
        for (const ForumThread* thread : m_content.threadsOf(node->forumid, viewer, true))
            stickies.append(m_elements.thread(*thread, viewer));
        content.insert(u"threadbits_sticky"_s, ForumElements::listOrSingle(stickies));
        if (const QJsonArray announcements = announcementsOf(node->forumid); !announcements.isEmpty())
            content.insert(u"announcebits"_s, ForumElements::listOrSingle(announcements));
    }
    if (!node->children.isEmpty()) {
        QJsonArray children;
        for (int childid : node->children) {
            if (const ForumNode* child = m_content.forum(childid))
                children.append(m_elements.forum(*child, viewer, true));
        }
        content.insert(u"subforums"_s, ForumElements::listOrSingle(children));
    }
    QJsonObject answer = ForumElements::response(content);
    answer.insert(u"show"_s, m_elements.forum(*node, viewer, false).value(u"show"_s));
    return answer;
}

QJsonObject ForumBrowsing::showThread(const TestForumRequest& request, const ForumViewer& viewer, bool firstNew)
{
    int threadid = request.field(u"threadid"_s).toInt();
    const int postid = request.field(u"postid"_s).toInt();
    if (threadid <= 0 && postid > 0) {
        if (const ForumPost* post = m_content.post(postid))
            threadid = post->threadid;
    }
    ForumThread* thread = m_content.threadMutable(threadid);
    if (!thread || !m_content.canSee(*thread, viewer))
        return ForumElements::code(u"invalidid"_s);
    if (const auto refused = refusal(m_content.forum(thread->forumid), viewer))
        return *refused;

    const int perpage = ForumElements::perPage(request, m_content, u"posts_perpage"_s, 10);
    const QList<const ForumPost*> posts = m_content.postsOf(*thread, viewer);
    const int total = int(posts.size());
    const int totalpages = ForumElements::pageCount(total, perpage);
    int page = ForumElements::clampPage(request.field(u"pagenumber"_s), totalpages);
    // The page that holds the post asked for, or the member's first unread post (else the last page).
    int target = -1;
    if (postid > 0 && request.field(u"threadid"_s).isEmpty()) {
        for (int i = 0; i < total && target < 0; ++i)
            target = posts.at(i)->postid == postid ? i : -1;
    } else if (firstNew) {
        target = total - 1;
        const qint64 seen = m_content.seenUpTo(thread->threadid, viewer.userid);
        for (int i = 0; i < total && viewer.isMember(); ++i) {
            if (posts.at(i)->time > seen) {
                target = i;
                break;
            }
        }
    }
    if (target >= 0)
        page = target / perpage + 1;

    QJsonArray bits;
    qint64 readUpTo = 0;
    for (int i = (page - 1) * perpage; i < qMin(total, page * perpage); ++i) {
        bits.append(m_elements.postbit(*posts.at(i), viewer));
        readUpTo = qMax(readUpTo, posts.at(i)->time);
    }
    if (page == 1)
        ++thread->views;
    QJsonObject content{
        {u"thread"_s, m_elements.thread(*thread, viewer)},
        {u"pagenumber"_s, page},
        {u"postbits"_s, ForumElements::listOrSingle(bits)},
        {u"pagenav"_s, ForumElements::pagenav(page, totalpages, total, perpage)},
        {u"totalposts"_s, total},
    };
    if (target >= 0 && target < total)
        content.insert(u"postid"_s, posts.at(target)->postid);
    m_content.markRead(*thread, viewer.userid, readUpTo);

    QJsonObject answer = ForumElements::response(content);
    const bool subscribed =
        viewer.isMember() && m_content.stateOf(viewer.userid).threadSubscriptions.contains(thread->threadid);
    answer.insert(u"show"_s, QJsonObject{{u"inlinemod"_s, viewer.moderator},
                                         {u"subscribed"_s, subscribed},
                                         {u"closethread"_s, viewer.moderator},
                                         {u"quickreply"_s, viewer.isMember() && (!thread->closed || viewer.moderator)}});
    return answer;
}

QJsonObject ForumBrowsing::announcement(const TestForumRequest& request) const
{
    const int forumid = request.field(u"forumid"_s).toInt();
    const int id = request.field(u"announcementId"_s).toInt();
    for (const ForumAnnouncement& item : m_content.announcements()) {
        if (item.announcementid != id || (item.forumid != -1 && item.forumid != forumid))
            continue;
        const ForumMember* author = m_content.members().find(item.userid);
        QJsonObject post{
            {u"postid"_s, item.announcementid},
            {u"announcementid"_s, item.announcementid},
            {u"title"_s, item.title},
            {u"userid"_s, item.userid},
            {u"username"_s, author ? author->username : QString()},
            {u"usertitle"_s, author ? author->usertitle : QString()},
            {u"message"_s, m_elements.html(item.bbcode)},
            {u"postdate"_s, QString::number(item.start)},
            {u"announcementidlink"_s, u"&a=%1"_s.arg(item.announcementid)},
        };
        if (author && !author->avatarurl.isEmpty())
            post.insert(u"avatarurl"_s, author->avatarurl);
        return ForumElements::response({{u"announcebits"_s, QJsonObject{{u"post"_s, post}}}});
    }
    return ForumElements::code(u"invalidid"_s);
}

QJsonObject ForumBrowsing::dismissNotice(const TestForumRequest& request, const ForumViewer& viewer)
{
    const int noticeid = request.field(u"noticeid"_s).toInt();
    if (viewer.isMember())
        m_content.state(viewer.userid).dismissedNotices.insert(noticeid);
    return ForumElements::response({{u"noticeid"_s, noticeid}});
}
