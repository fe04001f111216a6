#include "ForumFeeds.h"

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace {

struct Row {
    QJsonObject json;
    qint64 newness = 0;
    qint64 popularity = 0;
};

QJsonArray rowsBy(QList<Row> rows, bool top, int size)
{
    std::stable_sort(rows.begin(), rows.end(), [top](const Row& a, const Row& b) {
        if (top && a.popularity != b.popularity)
            return a.popularity > b.popularity;
        return a.newness > b.newness;
    });
    QJsonArray list;
    for (qsizetype i = 0; i < qMin<qsizetype>(size, rows.size()); ++i)
        list.append(rows.at(i).json);
    return list;
}

}  // namespace

std::optional<QJsonValue> ForumFeeds::answer(const TestForumRequest& request, const ForumViewer& viewer)
{
    const QString& method = request.apiMethod;
    if (method == u"api_getnewtop")
        return newTop(viewer);
    if (method == u"subscription_addsubscription" || method == u"subscription_doaddsubscription"
        || method == u"subscription_removesubscription")
        return subscription(request, viewer);
    if (method == u"subscription_viewsubscription")
        return subscribedThreads(request, viewer);
    if (method == u"blog_list")
        return blogList(request);
    if (method == u"blog_blog")
        return blogEntry(request);
    if (method == u"blog.post_newblog") {
        if (!viewer.isMember())
            return ForumElements::code(u"nopermission_loggedout"_s);
        QJsonArray categories;
        for (auto it = m_content.blogCategories().begin(); it != m_content.blogCategories().end(); ++it)
            categories.append(QJsonObject{{u"blogcategoryid"_s, it.key()}, {u"title"_s, it.value()}});
        return QJsonObject{{u"show"_s, QJsonObject{{u"smiliebox"_s, 1}}},
                           {u"response"_s, QJsonObject{{u"content"_s, QJsonObject{{u"blogcategories"_s, categories}}}}}};
    }
    return std::nullopt;
}

QList<const ForumThread*> ForumFeeds::listedThreads(const ForumViewer& viewer) const
{
    QList<const ForumThread*> found;
    for (int threadid : m_content.threadIds()) {
        const ForumThread* thread = m_content.thread(threadid);
        if (m_content.canSee(*thread, viewer) && m_content.openToListings(thread->forumid, viewer))
            found.append(thread);
    }
    return found;
}

QJsonObject ForumFeeds::threadRow(const ForumThread& thread, const ForumViewer& viewer) const
{
    QJsonObject row{{u"thread"_s, m_elements.thread(thread, viewer)}};
    if (const QJsonObject picture = m_elements.avatar(thread.userid); !picture.isEmpty())
        row.insert(u"avatar"_s, picture);
    return row;
}

QJsonObject ForumFeeds::blogRow(const ForumBlogEntry& entry) const
{
    QJsonObject row{
        {u"blog"_s, m_elements.blogFields(entry)},
        {u"blogposter"_s, QJsonObject{{u"userid"_s, entry.userid}, {u"username"_s, m_elements.username(entry.userid)}}},
    };
    if (const QJsonObject picture = m_elements.avatar(entry.userid); !picture.isEmpty())
        row.insert(u"avatar"_s, picture);
    return row;
}

QJsonObject ForumFeeds::articleRow(const ForumArticle& article) const
{
    QJsonObject row = m_elements.articleFields(article);
    row.insert(u"article"_s, m_elements.articleFields(article));
    if (const QString address = m_elements.avatarUrl(article.userid); !address.isEmpty())
        row.insert(u"avatarurl"_s, address);
    return row;
}

QJsonObject ForumFeeds::newTop(const ForumViewer& viewer) const
{
    QList<Row> threads;
    for (const ForumThread* thread : listedThreads(viewer)) {
        QJsonObject json = m_elements.thread(*thread, viewer);
        json.insert(u"type"_s, u"thread"_s);
        json.insert(u"username"_s, m_elements.username(thread->userid));
        if (const QString address = m_elements.avatarUrl(thread->userid); !address.isEmpty())
            json.insert(u"avatarurl"_s, address);
        threads.append({json, m_content.lastPostTime(*thread),
                        qint64(m_content.replyCount(*thread)) * 1000000 + thread->views});
    }
    QList<Row> blogs;
    for (const ForumBlogEntry& entry : m_content.blogs()) {
        QJsonObject json = m_elements.blogFields(entry);
        json.insert(u"type"_s, u"blog"_s);
        json.insert(u"blogposter"_s, blogRow(entry).value(u"blogposter"_s));
        if (const QJsonObject picture = m_elements.avatar(entry.userid); !picture.isEmpty())
            json.insert(u"avatar"_s, picture);
        blogs.append({json, entry.lastActivity(), entry.views});
    }
    QList<Row> articles;
    for (const ForumArticle& article : m_content.articles()) {
        QJsonObject json = m_elements.articleFields(article);
        json.insert(u"type"_s, u"article"_s);
        if (const QString address = m_elements.avatarUrl(article.userid); !address.isEmpty())
            json.insert(u"avatarurl"_s, address);
        articles.append({json, article.publish, article.views});
    }
    const int size = m_content.setting(u"feed_size"_s, 15);
    const auto lists = [&](bool top) {
        return QJsonObject{
            {u"all"_s, rowsBy(threads + blogs + articles, top, size)},
            {u"thread"_s, rowsBy(threads, top, size)},
            {u"blog"_s, rowsBy(blogs, top, size)},
            {u"article"_s, rowsBy(articles, top, size)},
        };
    };
    // At the top level of the answer, where the client reads them.
    return {{u"new"_s, lists(false)}, {u"top"_s, lists(true)}};
}

QJsonObject ForumFeeds::subscription(const TestForumRequest& request, const ForumViewer& viewer)
{
    if (!viewer.isMember())
        return ForumElements::code(u"nopermission_loggedout"_s);
    const bool isThread = !request.field(u"threadid"_s).isEmpty();
    const int id = request.field(isThread ? u"threadid"_s : u"forumid"_s).toInt();
    const bool known = isThread ? m_content.thread(id) && m_content.canSee(*m_content.thread(id), viewer)
                                : m_content.forum(id) && m_content.canSee(*m_content.forum(id), viewer);
    if (!known)
        return ForumElements::code(u"invalidid"_s);
    ForumMemberState& state = m_content.state(viewer.userid);
    QMap<int, int>& subscriptions = isThread ? state.threadSubscriptions : state.forumSubscriptions;
    const QString kind = isThread ? u"thread"_s : u"forum"_s;
    const QString& method = request.apiMethod;
    if (method == u"subscription_addsubscription") {
        const int mode = subscriptions.value(id, state.emailupdate);
        QJsonObject selected;
        if (mode > 0)
            selected.insert(u"[%1]"_s.arg(mode), u"selected"_s);
        const QJsonObject html{{u"emailselected"_s, selected}};
        // Under "response" and at the top level: where clients look for it.
        return {{u"response"_s, QJsonObject{{u"HTML"_s, html}}}, {u"HTML"_s, html}};
    }
    if (method == u"subscription_doaddsubscription") {
        subscriptions.insert(id, qBound(0, request.field(u"emailupdate"_s).toInt(), 3));
        return ForumElements::code(u"redirect_subsadd_"_s + kind);
    }
    subscriptions.remove(id);
    return ForumElements::code(u"redirect_subsremove_"_s + kind);
}

QJsonObject ForumFeeds::subscribedThreads(const TestForumRequest& request, const ForumViewer& viewer) const
{
    if (!viewer.isMember())
        return ForumElements::code(u"nopermission_loggedout"_s);
    QList<const ForumThread*> threads;
    for (int threadid : m_content.stateOf(viewer.userid).threadSubscriptions.keys()) {
        const ForumThread* thread = m_content.thread(threadid);
        if (thread && m_content.canSee(*thread, viewer))
            threads.append(thread);
    }
    const bool byTitle = request.field(u"sortfield"_s) == u"title";
    const bool ascending = request.field(u"sortorder"_s) == u"asc";
    std::stable_sort(threads.begin(), threads.end(), [&](const ForumThread* a, const ForumThread* b) {
        const bool before = byTitle ? a->title.compare(b->title, Qt::CaseInsensitive) < 0
                                    : m_content.lastPostTime(*a) < m_content.lastPostTime(*b);
        const bool after = byTitle ? b->title.compare(a->title, Qt::CaseInsensitive) < 0
                                   : m_content.lastPostTime(*b) < m_content.lastPostTime(*a);
        return ascending ? before : after;
    });
    const int perpage = ForumElements::perPage(request, m_content, u"threads_perpage"_s, 20);
    const int total = int(threads.size());
    const int totalpages = ForumElements::pageCount(total, perpage);
    const int page = ForumElements::clampPage(request.field(u"pagenumber"_s), totalpages);
    QJsonArray rows;
    for (int i = (page - 1) * perpage; i < qMin(total, page * perpage); ++i)
        rows.append(threadRow(*threads.at(i), viewer));
    return ForumElements::response({{u"HTML"_s, QJsonObject{
        {u"threadbits"_s, rows.size() == 1 ? rows.first() : QJsonValue(rows)},
        {u"pagenav"_s, ForumElements::pagenav(page, totalpages, total, perpage)},
    }}});
}

QJsonObject ForumFeeds::blogList(const TestForumRequest& request) const
{
    const QString tag = request.field(u"tag"_s);
    const QString username = request.field(u"username"_s);
    const QString category = request.field(u"blogcategoryid"_s);
    const QString userid = request.field(u"userid"_s);
    QList<const ForumBlogEntry*> entries;
    for (const ForumBlogEntry& entry : m_content.blogs()) {
        const bool match = (tag.isEmpty() || entry.tags.contains(tag, Qt::CaseInsensitive))
                           && (username.isEmpty()
                               || m_elements.username(entry.userid).compare(username, Qt::CaseInsensitive) == 0)
                           && (category.isEmpty() || entry.categoryid == category.toInt())
                           && (userid.isEmpty() || entry.userid == userid.toInt());
        if (match)
            entries.append(&entry);
    }
    std::stable_sort(entries.begin(), entries.end(),
                     [](const ForumBlogEntry* a, const ForumBlogEntry* b) { return a->time > b->time; });
    const int perpage = ForumElements::perPage(request, m_content, u"blogs_perpage"_s, 10);
    const int total = int(entries.size());
    const int totalpages = ForumElements::pageCount(total, perpage);
    const int page = ForumElements::clampPage(request.field(u"pagenumber"_s), totalpages);
    QJsonArray rows;
    for (int i = (page - 1) * perpage; i < qMin(total, page * perpage); ++i)
        rows.append(blogRow(*entries.at(i)));
    return ForumElements::response({
        {u"pagenumber"_s, page},
        {u"blogbits"_s, rows.size() == 1 ? rows.first() : QJsonValue(rows)},
        {u"pagenav"_s, ForumElements::pagenav(page, totalpages, total, perpage)},
    });
}

QJsonObject ForumFeeds::blogEntry(const TestForumRequest& request)
{
    const ForumBlogEntry* entry = m_content.blog(request.field(u"blogid"_s).toInt());
    if (!entry)
        return ForumElements::code(u"invalidid"_s);
    QJsonObject fields = m_elements.blogFields(*entry);
    fields.insert(u"message"_s, m_elements.html(entry->bbcode));
    fields.insert(u"pagetext"_s, entry->bbcode);
    if (const QJsonObject picture = m_elements.avatar(entry->userid); !picture.isEmpty())
        fields.insert(u"avatar"_s, picture);
    QJsonArray comments;
    for (const ForumComment& comment : entry->comments) {
        comments.append(QJsonObject{{u"userid"_s, comment.userid},
                                    {u"username"_s, m_elements.username(comment.userid)},
                                    {u"message"_s, m_elements.html(comment.text)},
                                    {u"dateline"_s, comment.time}});
    }
    fields.insert(u"comments"_s, comments);
    return ForumElements::response(fields);
}
