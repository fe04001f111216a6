#include "ForumElements.h"

#include "ForumBBCode.h"

#include <QDateTime>
#include <QLocale>
#include <QTimeZone>

using namespace Qt::Literals::StringLiterals;

QJsonObject ForumElements::response(const QJsonObject& content)
{
    return {{u"response"_s, content}};
}

QJsonObject ForumElements::code(const QJsonValue& errormessage)
{
    return response({{u"errormessage"_s, errormessage}});
}

QJsonValue ForumElements::listOrSingle(const QJsonArray& list)
{
    if (list.isEmpty())
        return QJsonValue::Null;
    return list.size() == 1 ? list.first() : QJsonValue(list);
}

QJsonObject ForumElements::pagenav(int page, int totalpages, int total, int perpage)
{
    QJsonArray pages;
    for (int number = qMax(1, page - 10); number <= qMin(totalpages, page + 10); ++number) {
        pages.append(QJsonObject{
            {u"curpage"_s, number},
            {u"pagenumbers"_s, QJsonObject{{u"first"_s, (number - 1) * perpage + 1},
                                           {u"last"_s, qMin(number * perpage, total)}}},
        });
    }
    return {
        {u"pagenumber"_s, page},
        {u"nextpage"_s, page < totalpages ? page + 1 : 0},
        {u"totalpages"_s, totalpages},
        {u"total"_s, total},
        {u"pagenav"_s, pages},
    };
}

int ForumElements::clampPage(const QString& asked, int totalpages)
{
    return qBound(1, asked.toInt(), qMax(1, totalpages));
}

int ForumElements::perPage(const TestForumRequest& request, const ForumContent& content, const QString& setting,
                           int fallback)
{
    const int asked = request.field(u"perpage"_s).toInt();
    return qBound(1, asked > 0 ? asked : content.setting(setting, fallback), 100);
}

QString ForumElements::dateText(qint64 time)
{
    return QLocale::c().toString(QDateTime::fromSecsSinceEpoch(time, QTimeZone::utc()),
                                 u"MM-dd-yyyy, hh:mm AP"_s);
}

QString ForumElements::ampersands(const QString& text)
{
    return QString(text).replace(u"&"_s, u"&amp;"_s);
}

QString ForumElements::username(int userid) const
{
    const ForumMember* member = m_content.members().find(userid);
    return member ? member->username : QString();
}

QString ForumElements::avatarUrl(int userid) const
{
    const ForumMember* member = m_content.members().find(userid);
    return member ? member->avatarurl : QString();
}

QJsonObject ForumElements::avatar(int userid) const
{
    const QString url = avatarUrl(userid);
    return url.isEmpty() ? QJsonObject() : QJsonObject{{u"0"_s, url}};
}

QString ForumElements::html(const QString& bbcode) const
{
    QMap<QString, QString> smilies;
    const QJsonObject table = m_content.settings().value(u"smilies"_s).toObject();
    for (auto it = table.begin(); it != table.end(); ++it)
        smilies.insert(it.key(), it.value().toString());
    return ForumBBCode::toHtml(bbcode, smilies);
}

QJsonObject ForumElements::forumShow(const ForumNode& node, const ForumViewer& viewer) const
{
    const bool moderator = viewer.moderator;
    return {
        {u"subscribed_to_forum"_s,
         viewer.isMember() && m_content.stateOf(viewer.userid).forumSubscriptions.contains(node.forumid)},
        {u"inlinemod"_s, moderator},
        {u"spamctrls"_s, moderator},
        {u"openthread"_s, moderator},
        {u"approvethread"_s, moderator},
        {u"movethread"_s, moderator},
        {u"forumsearch"_s, !node.category && !node.link},
        {u"newthreadlink"_s, viewer.isMember() && !node.category && !node.link},
    };
}

QJsonObject ForumElements::forum(const ForumNode& node, const ForumViewer& viewer, bool children) const
{
    int threads = 0;
    int posts = 0;
    bool unread = false;
    for (int forumid : m_content.forumAndBelow(node.forumid)) {
        for (const ForumThread* thread : m_content.publicThreads(forumid)) {
            ++threads;
            posts += int(m_content.publicPosts(*thread).size());
            unread = unread || m_content.isNewFor(*thread, viewer.userid);
        }
    }
    const ForumNode* parent = m_content.forum(node.parentid);
    QJsonObject element{
        {u"forumid"_s, node.forumid},
        {u"title"_s, ForumBBCode::escape(node.title)},
        {u"title_clean"_s, ampersands(node.title)},
        {u"description"_s, ForumBBCode::escape(node.description)},
        {u"description_clean"_s, node.description},
        {u"threadcount"_s, threads},
        {u"replycount"_s, posts},
        {u"statusicon"_s, unread ? u"new"_s : u"old"_s},
        {u"is_category"_s, node.category},
        {u"is_link"_s, node.link},
        {u"parent_is_category"_s, parent && parent->category},
        {u"show"_s, forumShow(node, viewer)},
    };
    if (node.link)
        element.insert(u"link"_s, node.linkUrl);
    if (children && !node.children.isEmpty()) {
        QJsonArray subforums;
        for (int childid : node.children) {
            if (const ForumNode* child = m_content.forum(childid))
                subforums.append(forum(*child, viewer, true));
        }
        element.insert(u"subforums"_s, listOrSingle(subforums));
    }
    return element;
}

QJsonArray ForumElements::forumTree(const ForumViewer& viewer) const
{
    QJsonArray tree;
    for (int forumid : m_content.topForums()) {
        if (const ForumNode* node = m_content.forum(forumid))
            tree.append(forum(*node, viewer, true));
    }
    return tree;
}

QJsonObject ForumElements::thread(const ForumThread& thread, const ForumViewer& viewer) const
{
    const ForumPost* first = thread.posts.isEmpty() ? nullptr : m_content.post(thread.posts.first());
    const ForumPost* last = m_content.lastPost(thread);
    QJsonObject status;
    if (m_content.isHot(thread))
        status.insert(u"hot"_s, u"hot"_s);
    if (m_content.isNewFor(thread, viewer.userid))
        status.insert(u"new"_s, u"new"_s);
    if (m_content.hasPosted(thread, viewer.userid))
        status.insert(u"dot"_s, u"dot"_s);
    if (thread.closed)
        status.insert(u"lock"_s, u"lock"_s);
    const ForumNode* node = m_content.forum(thread.forumid);
    QJsonObject element{
        {u"threadid"_s, thread.threadid},
        {u"threadtitle"_s, ampersands(thread.title)},
        {u"title"_s, ampersands(thread.title)},
        {u"postusername"_s, username(thread.userid)},
        {u"postuserid"_s, thread.userid},
        {u"replycount"_s, m_content.replyCount(thread)},
        {u"views"_s, thread.views},
        {u"sticky"_s, thread.sticky ? 1 : 0},
        {u"status"_s, status},
        {u"lastposttime"_s, last ? last->time : 0},
        {u"lastpostdate"_s, dateText(last ? last->time : 0)},
        {u"lastposter"_s, last ? username(last->userid) : QString()},
        {u"lastpostid"_s, last ? last->postid : 0},
        {u"dateline"_s, first ? first->time : 0},
        {u"preview"_s, first ? ForumBBCode::toPlain(first->bbcode).left(150) : QString()},
        {u"forumid"_s, thread.forumid},
        {u"forumtitle"_s, node ? node->title : QString()},
        {u"taglist"_s, thread.tags.join(u", "_s)},
        {u"show"_s, QJsonObject{{u"moderated"_s, !thread.approved}, {u"deletedthread"_s, thread.deleted}}},
    };
    if (const QJsonObject picture = avatar(thread.userid); !picture.isEmpty())
        element.insert(u"avatar"_s, picture);
    if (const ForumPrefix* prefix = m_content.prefix(thread.prefixid)) {
        element.insert(u"prefixid"_s, prefix->id);
        element.insert(u"prefix_plain"_s, prefix->title);
        element.insert(u"prefix_rich"_s, u"<span style=\"color:%1\">%2</span>"_s.arg(
                                            prefix->color, ForumBBCode::escape(prefix->title)));
    }
    if (thread.deleted) {
        element.insert(u"del_userid"_s, thread.deletedBy);
        element.insert(u"del_username"_s, username(thread.deletedBy));
    }
    return element;
}

QString ForumElements::postbitType(const ForumPost& post, const ForumViewer& viewer) const
{
    if (post.deleted)
        return u"postbit_deleted"_s;
    const ForumMember* me = m_content.members().find(viewer.userid);
    if (me && me->ignored.contains(post.userid))
        return u"postbit_ignore"_s;
    const ForumMember* author = m_content.members().find(post.userid);
    if (author && author->globallyIgnored && !viewer.moderator && post.userid != viewer.userid)
        return u"postbit_ignore_global"_s;
    return u"postbit"_s;
}

void ForumElements::addAttachments(QJsonObject& element, const ForumPost& post, const ForumViewer& viewer) const
{
    QJsonArray thumbnails;
    QJsonArray others;
    QJsonArray links;
    QJsonArray moderated;
    const bool mayModerate = viewer.moderator || (viewer.isMember() && viewer.userid == post.userid);
    for (const ForumAttachment* attachment : m_content.attachmentsOf(post.postid)) {
        const QString address = u"attachment.php?attachmentid=%1"_s.arg(attachment->attachmentid);
        QJsonObject item{
            {u"attachmentid"_s, attachment->attachmentid},
            {u"filename"_s, attachment->filename},
            {u"filesize"_s, attachment->linkUrl.isEmpty() ? QString::number((attachment->bytes.size() + 1023) / 1024)
                                                          : QString()},
        };
        if (!attachment->linkUrl.isEmpty()) {
            item.insert(u"url"_s, attachment->linkUrl);
            links.append(item);
            continue;
        }
        item.insert(u"url"_s, address);
        if (attachment->isImage()) {
            item.insert(u"hasthumbnail"_s, true);
            item.insert(u"pictureurl"_s, address + u"&thumb=1"_s);
            item.insert(u"thumbnail_dateline"_s, QString::number(attachment->stamp.toSecsSinceEpoch()));
            item.insert(u"capital"_s, attachment->filename);
            item.insert(u"caption_preview"_s, false);
        } else {
            item.insert(u"hasthumbnail"_s, false);
        }
        if (!attachment->approved) {
            if (mayModerate)
                moderated.append(item);
        } else {
            (attachment->isImage() ? thumbnails : others).append(item);
        }
    }
    const auto put = [&](const char16_t* key, const QJsonArray& list) {
        if (!list.isEmpty())
            element.insert(QString::fromUtf16(key), listOrSingle(list));
    };
    put(u"thumbnailattachments", thumbnails);
    put(u"otherattachments", others);
    put(u"imageattachmentlinks", links);
    put(u"moderatedattachments", moderated);
}

QJsonObject ForumElements::post(const ForumPost& post, const ForumViewer& viewer) const
{
    const ForumThread* owner = m_content.thread(post.threadid);
    const ForumMember* author = m_content.members().find(post.userid);
    const bool open = owner && (!owner->closed || viewer.moderator);
    const bool member = viewer.isMember();
    QJsonObject element{
        {u"postid"_s, post.postid},
        {u"threadid"_s, post.threadid},
        {u"title"_s, post.title},
        {u"username"_s, author ? author->username : QString()},
        {u"userid"_s, post.userid},
        {u"usertitle"_s, author ? author->usertitle : QString()},
        {u"posttime"_s, post.time},
        {u"postdate"_s, dateText(post.time)},
        {u"show"_s, QJsonObject{
                        {u"moderated"_s, !post.approved},
                        {u"deletedpost"_s, post.deleted},
                        {u"editlink"_s, member && open && (viewer.moderator || post.userid == viewer.userid)},
                        {u"replylink"_s, member && open},
                        {u"reportlink"_s, member && post.userid != viewer.userid},
                    }},
    };
    if (author && !author->avatarurl.isEmpty())
        element.insert(u"avatarurl"_s, author->avatarurl);
    // A deleted post shows its text to moderators only.
    if (!post.deleted || viewer.moderator) {
        element.insert(u"message"_s, post.html.isEmpty() ? html(post.bbcode) : post.html);
        element.insert(u"message_bbcode"_s, post.bbcode);
        element.insert(u"message_plain"_s, ForumBBCode::toPlain(post.bbcode));
        if (author && !author->signature.isEmpty())
            element.insert(u"signature"_s, html(author->signature));
        addAttachments(element, post, viewer);
    }
    if (post.deleted) {
        element.insert(u"del_username"_s, username(post.deletedBy));
        element.insert(u"del_userid"_s, post.deletedBy);
    }
    if (post.editedBy > 0) {
        element.insert(u"edit_username"_s, username(post.editedBy));
        element.insert(u"edit_date"_s, dateText(post.editedTime));
    }
    return element;
}

QJsonObject ForumElements::postbit(const ForumPost& post, const ForumViewer& viewer) const
{
    return {{u"post"_s, this->post(post, viewer)}, {u"postbit_type"_s, postbitType(post, viewer)}};
}

QJsonObject ForumElements::blogFields(const ForumBlogEntry& entry) const
{
    const QString name = username(entry.userid);
    return {
        {u"blogid"_s, QString::number(entry.blogid)},
        {u"title"_s, ampersands(entry.title)},
        {u"comments_total"_s, int(entry.comments.size())},
        {u"views"_s, entry.views},
        {u"lastpost"_s, entry.lastActivity()},
        {u"dateline"_s, entry.time},
        {u"postdate"_s, dateText(entry.time)},
        {u"blogcategoryid"_s, entry.categoryid},
        {u"categorytitle"_s, m_content.blogCategories().value(entry.categoryid)},
        {u"taglist"_s, entry.tags.join(u", "_s)},
        {u"preview"_s, ForumBBCode::toPlain(entry.bbcode).left(150)},
        {u"userid"_s, entry.userid},
        {u"username"_s, name},
        {u"user"_s, QJsonObject{{u"userid"_s, entry.userid}, {u"username"_s, name}}},
    };
}

QJsonObject ForumElements::articleFields(const ForumArticle& article) const
{
    const QString name = username(article.userid);
    QJsonObject fields{
        {u"nodeid"_s, article.articleid},
        {u"contentid"_s, article.articleid},
        {u"threadid"_s, article.articleid},
        {u"title"_s, article.title},
        {u"clean_title"_s, article.title},
        {u"comment_count"_s, int(article.comments.size())},
        {u"views"_s, article.views},
        {u"publish"_s, article.publish},
        {u"publishdate"_s, dateText(article.publish)},
        {u"categorytitle"_s, article.category},
        {u"taglist"_s, article.tags.join(u", "_s)},
        {u"pagetext"_s, article.bbcode},
        {u"preview"_s, ForumBBCode::toPlain(article.bbcode).left(150)},
        {u"userid"_s, article.userid},
        {u"username"_s, name},
        {u"user"_s, QJsonObject{{u"userid"_s, article.userid}, {u"username"_s, name}}},
    };
    if (!article.previewImage.isEmpty())
        fields.insert(u"previewimage"_s, u"images/"_s + article.previewImage);
    return fields;
}
