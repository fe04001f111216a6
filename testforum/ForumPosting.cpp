#include "ForumPosting.h"

#include <QJsonArray>
#include <QTimeZone>
#include <QUrl>

using namespace Qt::Literals::StringLiterals;

namespace {

// Errors of a new thread's preview, where the new-thread form reads them.
QJsonObject previewError(const QString& code)
{
    return ForumElements::response(
        {{u"postpreview"_s, QJsonObject{{u"errorlist"_s, QJsonObject{{u"errors"_s, QJsonArray{code}}}}}}});
}

QJsonObject sent(bool approved, int threadid, int postid)
{
    QJsonObject ids{{u"threadid"_s, threadid}, {u"postid"_s, postid}};
    QJsonObject content = ids;
    content.insert(u"errormessage"_s, approved ? u"redirect_postthanks"_s : u"redirect_postthanks_moderate"_s);
    QJsonObject answer = ForumElements::response(content);
    // A thread that waits for approval cannot be opened yet: no id to open.
    if (approved)
        answer.insert(u"show"_s, ids);
    return answer;
}

}  // namespace

std::optional<QJsonValue> ForumPosting::answer(const TestForumRequest& request, const ForumViewer& viewer)
{
    const QString& method = request.apiMethod;
    static const QList<QString> known{u"newthread_newthread"_s, u"newthread_postthread"_s, u"newreply_newreply"_s,
                                      u"newreply_postreply"_s,  u"editpost_editpost"_s,    u"editpost_updatepost"_s,
                                      u"newattachment_manageattach"_s, u"report_sendemail"_s};
    if (!known.contains(method))
        return std::nullopt;
    if (!viewer.isMember())
        return ForumElements::code(u"nopermission_loggedout"_s);
    if (method == u"newthread_newthread")
        return prepareThread(request, viewer);
    if (method == u"newthread_postthread")
        return postThread(request, viewer);
    if (method == u"newreply_newreply")
        return prepareReply(request, viewer);
    if (method == u"newreply_postreply")
        return postReply(request, viewer);
    if (method == u"editpost_editpost")
        return prepareEdit(request, viewer);
    if (method == u"editpost_updatepost")
        return updatePost(request, viewer);
    if (method == u"newattachment_manageattach")
        return upload(request, viewer);
    return report(request, viewer);
}

bool ForumPosting::tooShort(const QString& message) const
{
    return message.trimmed().size() < m_content.setting(u"postminchars"_s, 2);
}

QJsonObject ForumPosting::formFields(const ForumForm& form) const
{
    return {
        {u"posthash"_s, form.posthash},
        {u"poststarttime"_s, form.starttime},
        {u"forumrules"_s, QJsonObject{{u"can"_s, QJsonObject{{u"postattachment"_s, true}, {u"postnew"_s, true}}}}},
    };
}

QJsonValue ForumPosting::prefixOptions(const ForumNode& node) const
{
    if (!node.prefixes)
        return u""_s;
    QJsonArray groups;
    QString group;
    for (const ForumPrefix& prefix : m_content.prefixes()) {
        if (groups.isEmpty() || prefix.group != group) {
            groups.append(QJsonObject{{u"optgroup_label"_s, prefix.group}, {u"optgroup_options"_s, QJsonArray()}});
            group = prefix.group;
        }
        QJsonObject last = groups.last().toObject();
        QJsonArray options = last.value(u"optgroup_options"_s).toArray();
        options.append(QJsonObject{{u"optionvalue"_s, prefix.id}, {u"optiontitle"_s, prefix.title}});
        last.insert(u"optgroup_options"_s, options);
        groups.replace(groups.size() - 1, last);
    }
    // A group of one prefix gives it as it is, not as a list of one, as forums do.
    for (qsizetype i = 0; i < groups.size(); ++i) {
        QJsonObject group = groups.at(i).toObject();
        const QJsonArray options = group.value(u"optgroup_options"_s).toArray();
        if (options.size() == 1) {
            group.insert(u"optgroup_options"_s, options.first());
            groups.replace(i, group);
        }
    }
    return groups;
}

std::optional<QJsonObject> ForumPosting::forumRefusal(const ForumNode* node, const ForumViewer& viewer) const
{
    if (!node || node->category || node->link)
        return ForumElements::code(u"invalidid"_s);
    if (!m_content.canSee(*node, viewer))
        return ForumElements::code(u"nopermission_loggedout"_s);
    if (!m_content.passwordAccepted(*node, viewer))
        return ForumElements::code(QJsonArray{u"forumpasswordmissing"_s});
    return std::nullopt;
}

QJsonObject ForumPosting::prepareThread(const TestForumRequest& request, const ForumViewer& viewer)
{
    const ForumNode* node = m_content.forum(request.field(u"forumid"_s).toInt());
    if (const auto refused = forumRefusal(node, viewer))
        return *refused;
    QJsonObject content = formFields(m_content.openForm(viewer.userid));
    content.insert(u"prefix_options"_s, prefixOptions(*node));
    content.insert(u"canpostnew"_s, 1);
    content.insert(u"postminchars"_s, m_content.setting(u"postminchars"_s, 2));
    content.insert(u"titlemaxchars"_s, m_content.setting(u"titlemaxchars"_s, 85));
    content.insert(u"maxpolloptions"_s, 10);
    QJsonObject answer = ForumElements::response(content);
    answer.insert(u"show"_s, QJsonObject{{u"tag_option"_s, true}});
    return answer;
}

QJsonObject ForumPosting::postThread(const TestForumRequest& request, const ForumViewer& viewer)
{
    const ForumNode* node = m_content.forum(request.field(u"forumid"_s).toInt());
    if (const auto refused = forumRefusal(node, viewer))
        return *refused;
    const QString subject = request.field(u"subject"_s).trimmed();
    const QString message = request.field(u"message"_s);
    const QString prefix = request.field(u"prefixid"_s);
    if (subject.isEmpty() || subject.size() > m_content.setting(u"titlemaxchars"_s, 85))
        return previewError(u"nosubject"_s);
    if (tooShort(message))
        return previewError(u"tooshort"_s);
    if (node->prefixes && m_content.settings().value(u"prefix_required"_s).toBool() && prefix.isEmpty())
        return previewError(u"threadprefixrequired"_s);

    ForumThread thread;
    thread.threadid = m_content.nextThreadId();
    thread.forumid = node->forumid;
    thread.userid = viewer.userid;
    thread.title = subject;
    thread.prefixid = node->prefixes && m_content.prefix(prefix) ? prefix : QString();
    for (const QString& tag : request.field(u"taglist"_s).split(u',', Qt::SkipEmptyParts)) {
        if (!tag.trimmed().isEmpty())
            thread.tags.append(tag.trimmed());
    }
    thread.approved = !node->moderateNew || viewer.moderator;
    m_content.addThread(thread);

    ForumPost post;
    post.postid = m_content.nextPostId();
    post.threadid = thread.threadid;
    post.userid = viewer.userid;
    post.title = subject;
    post.bbcode = message;
    post.time = ForumContent::now();
    post.approved = thread.approved;
    m_content.addPost(post);
    m_content.claimUploads(request.field(u"posthash"_s), viewer.userid, post.postid);
    ForumMemberState& state = m_content.state(viewer.userid);
    if (state.autosubscribe)
        state.threadSubscriptions.insert(thread.threadid, state.emailupdate);
    m_content.markRead(*m_content.thread(thread.threadid), viewer.userid, post.time);
    return sent(thread.approved, thread.threadid, post.postid);
}

QJsonObject ForumPosting::prepareReply(const TestForumRequest& request, const ForumViewer& viewer)
{
    int threadid = request.field(u"threadid"_s).toInt();
    if (threadid <= 0) {
        const ForumPost* post = m_content.post(request.field(u"postid"_s).toInt());
        threadid = post ? post->threadid : 0;
    }
    const ForumThread* thread = m_content.thread(threadid);
    if (!thread || !m_content.canSee(*thread, viewer))
        return ForumElements::code(u"invalidid"_s);
    if (thread->closed && !viewer.moderator)
        return ForumElements::code(u"threadclosed"_s);
    const ForumMemberState state = m_content.stateOf(viewer.userid);
    // A number says the member is subscribed to the thread; a text is the
    // form's default for the subscription box.
    const QJsonValue subscribe = state.threadSubscriptions.contains(threadid)
                                     ? QJsonValue(1)
                                     : QJsonValue(state.autosubscribe ? u"checked=\"checked\""_s : u""_s);
    QJsonObject content = formFields(m_content.openForm(viewer.userid));
    content.insert(u"threadinfo"_s, QJsonObject{{u"threadid"_s, threadid},
                                               {u"title"_s, thread->title},
                                               {u"forumid"_s, thread->forumid}});
    content.insert(u"checked"_s, QJsonObject{{u"subscribe"_s, subscribe}});
    return ForumElements::response(content);
}

QJsonObject ForumPosting::postReply(const TestForumRequest& request, const ForumViewer& viewer)
{
    const ForumThread* thread = m_content.thread(request.field(u"threadid"_s).toInt());
    if (!thread || !m_content.canSee(*thread, viewer))
        return ForumElements::code(u"invalidid"_s);
    const ForumNode* node = m_content.forum(thread->forumid);
    if (!m_content.passwordAccepted(*node, viewer))
        return ForumElements::code(QJsonArray{u"forumpasswordmissing"_s});
    if (thread->closed && !viewer.moderator)
        return ForumElements::code(u"threadclosed"_s);
    const QString message = request.field(u"message"_s);
    if (tooShort(message))
        return ForumElements::code(u"tooshort"_s);

    ForumPost post;
    post.postid = m_content.nextPostId();
    post.threadid = thread->threadid;
    post.userid = viewer.userid;
    post.title = request.field(u"title"_s).trimmed();
    post.bbcode = message;
    post.time = ForumContent::now();
    post.approved = !node->moderateNew || viewer.moderator;
    m_content.addPost(post);
    m_content.claimUploads(request.field(u"posthash"_s), viewer.userid, post.postid);
    // "0" leaves a subscription as it is: it only means the box was not ticked.
    if (request.field(u"subscribe"_s) == u"1") {
        ForumMemberState& state = m_content.state(viewer.userid);
        state.threadSubscriptions.insert(thread->threadid, state.emailupdate);
    }
    m_content.markRead(*thread, viewer.userid, post.time);
    return sent(post.approved, thread->threadid, post.postid);
}

std::optional<QJsonObject> ForumPosting::editRefusal(const ForumPost* post, const ForumViewer& viewer) const
{
    if (!post || post->deleted || !m_content.canSee(*post, viewer))
        return ForumElements::code(u"invalidid"_s);
    const ForumThread* thread = m_content.thread(post->threadid);
    if (!thread || !m_content.canSee(*thread, viewer))
        return ForumElements::code(u"invalidid"_s);
    if (!viewer.moderator && post->userid != viewer.userid)
        return ForumElements::code(u"nopermission_loggedin"_s);
    if (thread->closed && !viewer.moderator)
        return ForumElements::code(u"threadclosed"_s);
    return std::nullopt;
}

QJsonObject ForumPosting::prepareEdit(const TestForumRequest& request, const ForumViewer& viewer)
{
    const ForumPost* post = m_content.post(request.field(u"postid"_s).toInt());
    if (const auto refused = editRefusal(post, viewer))
        return *refused;
    QJsonObject content = formFields(m_content.openForm(viewer.userid));
    content.insert(u"postid"_s, post->postid);
    content.insert(u"messagearea"_s, QJsonObject{{u"newpost"_s, QJsonObject{{u"message"_s, post->bbcode},
                                                                            {u"message_bbcode"_s, post->bbcode},
                                                                            {u"title"_s, post->title}}}});
    return ForumElements::response(content);
}

QJsonObject ForumPosting::updatePost(const TestForumRequest& request, const ForumViewer& viewer)
{
    ForumPost* post = m_content.postMutable(request.field(u"postid"_s).toInt());
    if (const auto refused = editRefusal(post, viewer))
        return *refused;
    const QString message = request.field(u"message"_s);
    if (tooShort(message))
        return ForumElements::code(u"tooshort"_s);
    post->bbcode = message;
    post->html.clear();
    post->title = request.field(u"title"_s).trimmed();
    post->editedBy = viewer.userid;
    post->editedTime = ForumContent::now();
    m_content.claimUploads(request.field(u"posthash"_s), viewer.userid, post->postid);
    return ForumElements::code(u"redirect_editthanks"_s);
}

QJsonObject ForumPosting::upload(const TestForumRequest& request, const ForumViewer& viewer)
{
    const QString posthash = request.field(u"posthash"_s);
    if (!m_content.formIsKnown(posthash, viewer.userid))
        return ForumElements::code(u"invalidid"_s);
    const QDateTime stamp = QDateTime::fromSecsSinceEpoch(ForumContent::now(), QTimeZone::utc());
    QJsonArray ids;
    for (const TestForumUpload& part : request.uploads) {
        if (part.parameterName != u"attachment[]" || part.data.isEmpty())
            continue;
        ForumAttachment attachment;
        attachment.posthash = posthash;
        attachment.userid = viewer.userid;
        attachment.filename = part.fileName.isEmpty() ? u"image.jpg"_s : part.fileName;
        attachment.contentType =
            part.contentType.isEmpty() ? ForumAttachment::typeOf(attachment.filename) : part.contentType;
        attachment.bytes = part.data;
        attachment.stamp = stamp;
        ids.append(m_content.addAttachment(attachment).attachmentid);
    }
    for (const QString& address : request.fieldValues(u"attachmenturl[]"_s)) {
        if (address.trimmed().isEmpty())
            continue;
        ForumAttachment attachment;
        attachment.posthash = posthash;
        attachment.userid = viewer.userid;
        attachment.linkUrl = address.trimmed();
        attachment.filename = QUrl(attachment.linkUrl).fileName();
        attachment.contentType = u"image/jpeg"_s;
        attachment.stamp = stamp;
        ids.append(m_content.addAttachment(attachment).attachmentid);
    }
    if (ids.isEmpty())
        return ForumElements::code(u"fieldmissing"_s);
    return ForumElements::response({{u"attachmentids"_s, ids}});
}

QJsonObject ForumPosting::report(const TestForumRequest& request, const ForumViewer& viewer)
{
    const ForumPost* post = m_content.post(request.field(u"postid"_s).toInt());
    if (!post || !m_content.canSee(*post, viewer))
        return ForumElements::code(u"invalidid"_s);
    m_content.addReport({post->postid, viewer.userid, request.field(u"reason"_s), ForumContent::now()});
    // A plain text: a list of two would be shown by the client as a message of its own.
    return ForumElements::code(u"redirect_reportthanks"_s);
}
