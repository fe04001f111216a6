#include "ForumSearch.h"

#include "ForumBBCode.h"

#include <QRegularExpression>
#include <QSet>

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int kKeptSearches = 200;

struct Candidate {
    int kind = 0;
    int id = 0;
    QString title;
    QString text;  // lower case: title and texts
    QList<int> authors;
    int userid = 0;  // who started or wrote it
    QStringList tags;
    qint64 time = 0;
    int views = 0;
    int relevance = 0;
};

QStringList wordsOf(const QString& query)
{
    QStringList words;
    static const QRegularExpression separators(u"[\\s,.;:!?\"()]+"_s);
    for (const QString& word : query.toLower().split(separators, Qt::SkipEmptyParts)) {
        // Words shorter than three letters are too common to search for.
        if (word.size() >= 3)
            words.append(word);
    }
    return words;
}

}  // namespace

std::optional<QJsonValue> ForumSearch::answer(const TestForumRequest& request, const ForumViewer& viewer)
{
    if (request.apiMethod == u"search_process")
        return process(request, viewer);
    if (request.apiMethod == u"search_showresults")
        return showResults(request, viewer);
    return std::nullopt;
}

QJsonObject ForumSearch::process(const TestForumRequest& request, const ForumViewer& viewer)
{
    const QString query = request.field(u"query"_s).trimmed();
    const QString username = request.field(u"searchuser"_s).trimmed();
    const QString tag = request.field(u"tag"_s).trimmed();
    const QStringList words = wordsOf(query);
    const bool general = request.field(u"search_type"_s) == u"0";
    if (!query.isEmpty() && words.isEmpty())
        return ForumElements::code(u"words_very_common"_s);
    if (!general && query.isEmpty() && username.isEmpty() && tag.isEmpty())
        return ForumElements::code(u"searchnoresults"_s);
    int userid = 0;
    if (!username.isEmpty()) {
        const ForumMember* member = m_content.members().findByName(username);
        if (!member)
            return ForumElements::code(u"searchnoresults"_s);
        userid = member->userid;
    }

    Result result;
    result.userid = viewer.userid;
    result.mixed = general;
    result.posts = !general && request.field(u"showposts"_s) == u"1";
    result.made = ForumContent::now();

    // The kinds asked for: content type ids of "type[]" or "contenttypeid".
    QSet<int> kinds;
    if (general) {
        const QJsonObject types = m_content.settings().value(u"contenttypes"_s).toObject();
        QStringList asked = request.fieldValues(u"type[]"_s);
        if (!request.field(u"contenttypeid"_s).isEmpty())
            asked.append(request.field(u"contenttypeid"_s));
        for (const QString& id : asked) {
            if (id.toInt() == types.value(u"Post"_s).toInt())
                kinds.insert(int(Kind::Thread));
            else if (id.toInt() == types.value(u"BlogEntry"_s).toInt())
                kinds.insert(int(Kind::Blog));
            else if (id.toInt() == types.value(u"Article"_s).toInt())
                kinds.insert(int(Kind::Article));
        }
        if (asked.isEmpty())
            kinds = {int(Kind::Thread), int(Kind::Blog), int(Kind::Article)};
    } else {
        kinds.insert(int(result.posts ? Kind::Post : Kind::Thread));
    }

    QSet<int> forums;
    for (const QString& id : request.fieldValues(u"forumchoice[]"_s)) {
        for (int forumid : m_content.forumAndBelow(id.toInt()))
            forums.insert(forumid);
    }
    const int onlyThread = request.field(u"searchthreadid"_s).toInt();

    QList<Candidate> candidates;
    for (const ForumThread* thread : m_feeds.listedThreads(viewer)) {
        if ((!forums.isEmpty() && !forums.contains(thread->forumid)) || (onlyThread && thread->threadid != onlyThread))
            continue;
        const QList<const ForumPost*> posts = m_content.postsOf(*thread, viewer);
        if (kinds.contains(int(Kind::Thread))) {
            Candidate candidate{int(Kind::Thread), thread->threadid, thread->title, thread->title.toLower(), {},
                                thread->userid, thread->tags, m_content.lastPostTime(*thread), thread->views, 0};
            for (const ForumPost* post : posts) {
                if (post->deleted)
                    continue;
                candidate.text += u' ' + ForumBBCode::toPlain(post->bbcode).toLower();
                candidate.authors.append(post->userid);
            }
            candidates.append(candidate);
        }
        if (kinds.contains(int(Kind::Post))) {
            for (const ForumPost* post : posts) {
                if (post->deleted)
                    continue;
                candidates.append({int(Kind::Post), post->postid, post->title.isEmpty() ? thread->title : post->title,
                                   (post->title + u' ' + ForumBBCode::toPlain(post->bbcode)).toLower(),
                                   {post->userid}, post->userid, thread->tags, post->time, thread->views, 0});
            }
        }
    }
    if (kinds.contains(int(Kind::Blog))) {
        for (const ForumBlogEntry& entry : m_content.blogs()) {
            candidates.append({int(Kind::Blog), entry.blogid, entry.title,
                               (entry.title + u' ' + ForumBBCode::toPlain(entry.bbcode)).toLower(), {entry.userid},
                               entry.userid, entry.tags, entry.lastActivity(), entry.views, 0});
        }
    }
    if (kinds.contains(int(Kind::Article))) {
        for (const ForumArticle& article : m_content.articles()) {
            candidates.append({int(Kind::Article), article.articleid, article.title,
                               (article.title + u' ' + ForumBBCode::toPlain(article.bbcode)).toLower(),
                               {article.userid}, article.userid, article.tags, article.publish, article.views, 0});
        }
    }

    const QString beforeAfter = request.field(u"beforeafter"_s);
    const QString searchDate = request.field(u"searchdate"_s);
    qint64 cutoff = 0;
    if (searchDate == u"lastvisit")
        cutoff = m_content.stateOf(viewer.userid).lastVisit;
    else if (searchDate.toInt() > 0)
        cutoff = ForumContent::now() - qint64(searchDate.toInt()) * 86400;

    QList<Candidate> found;
    for (Candidate& candidate : candidates) {
        bool match = std::all_of(words.begin(), words.end(), [&](const QString& w) { return candidate.text.contains(w); });
        match = match && (userid == 0 || candidate.authors.contains(userid));
        match = match && (tag.isEmpty() || candidate.tags.contains(tag, Qt::CaseInsensitive));
        if (cutoff > 0 && !beforeAfter.isEmpty())
            match = match && (beforeAfter == u"after" ? candidate.time >= cutoff : candidate.time < cutoff);
        if (!match)
            continue;
        for (const QString& word : words)
            candidate.relevance += int(candidate.text.count(word));
        found.append(candidate);
    }
    if (found.isEmpty())
        return ForumElements::code(u"searchnoresults"_s);

    const QString sortBy = request.field(u"sortby"_s);
    const bool ascending = request.field(u"order"_s) == u"ascending";
    std::stable_sort(found.begin(), found.end(), [&](const Candidate& a, const Candidate& b) {
        const auto key = [&](const Candidate& c) -> std::pair<qint64, QString> {
            if (sortBy == u"views")
                return {c.views, {}};
            if (sortBy == u"relevance")
                return {c.relevance, {}};
            if (sortBy == u"user")
                return {0, m_elements.username(c.userid).toLower()};
            if (sortBy == u"title")
                return {0, c.title.toLower()};
            return {c.time, {}};
        };
        const auto ka = key(a);
        const auto kb = key(b);
        if (ka == kb)
            return false;
        return ascending ? ka < kb : kb < ka;
    });
    for (const Candidate& candidate : found)
        result.hits.append({Kind(candidate.kind), candidate.id});
    const int searchid = m_nextId++;
    keep(searchid, result);
    // "search" is how the forum says the search was made.
    QJsonObject answer = ForumElements::code(u"search"_s);
    answer.insert(u"show"_s, QJsonObject{{u"searchid"_s, searchid}});
    return answer;
}

void ForumSearch::keep(int searchid, const Result& result)
{
    m_results.insert(searchid, result);
    while (m_results.size() > kKeptSearches) {
        int oldest = searchid;
        for (auto it = m_results.cbegin(); it != m_results.cend(); ++it)
            oldest = qMin(oldest, it.key());
        m_results.remove(oldest);
    }
}

QJsonObject ForumSearch::showResults(const TestForumRequest& request, const ForumViewer& viewer) const
{
    const auto found = m_results.constFind(request.field(u"searchid"_s).toInt());
    if (found == m_results.constEnd() || found->userid != viewer.userid)
        return ForumElements::code(u"invalidid"_s);
    QList<Hit> hits = found->hits;
    // The general search without several types narrows the rows to one content type.
    const QString type = request.field(u"contenttypeid"_s);
    if (found->mixed && !type.isEmpty()) {
        const QJsonObject types = m_content.settings().value(u"contenttypes"_s).toObject();
        Kind kind = Kind::Post;  // matches no row
        if (type.toInt() == types.value(u"Post"_s).toInt())
            kind = Kind::Thread;
        else if (type.toInt() == types.value(u"BlogEntry"_s).toInt())
            kind = Kind::Blog;
        else if (type.toInt() == types.value(u"Article"_s).toInt())
            kind = Kind::Article;
        hits.removeIf([kind](const Hit& hit) { return hit.kind != kind; });
    }
    const int perpage = ForumElements::perPage(request, m_content, u"search_perpage"_s, 10);
    const int total = int(hits.size());
    const int totalpages = ForumElements::pageCount(total, perpage);
    const int page = ForumElements::clampPage(request.field(u"pagenumber"_s), totalpages);
    QJsonArray rows;
    for (int i = (page - 1) * perpage; i < qMin(total, page * perpage); ++i) {
        const QJsonObject made = row(hits.at(i), viewer);
        if (!made.isEmpty())
            rows.append(made);
    }
    return ForumElements::response({
        {u"pagenumber"_s, page},
        {u"searchbits"_s, rows.size() == 1 ? rows.first() : QJsonValue(rows)},
        {u"pagenav"_s, ForumElements::pagenav(page, totalpages, total, perpage)},
    });
}

QJsonObject ForumSearch::row(const Hit& hit, const ForumViewer& viewer) const
{
    switch (hit.kind) {
    case Kind::Thread:
        if (const ForumThread* thread = m_content.thread(hit.id))
            return m_feeds.threadRow(*thread, viewer);
        break;
    case Kind::Post:
        if (const ForumPost* post = m_content.post(hit.id)) {
            QJsonObject bit = m_elements.postbit(*post, viewer);
            if (const QJsonObject picture = m_elements.avatar(post->userid); !picture.isEmpty())
                bit.insert(u"avatar"_s, picture);
            return bit;
        }
        break;
    case Kind::Blog:
        if (const ForumBlogEntry* entry = m_content.blog(hit.id))
            return m_feeds.blogRow(*entry);
        break;
    case Kind::Article:
        for (const ForumArticle& article : m_content.articles()) {
            if (article.articleid == hit.id)
                return m_feeds.articleRow(article);
        }
        break;
    }
    return {};
}
