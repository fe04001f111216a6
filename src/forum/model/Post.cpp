#include "forum/model/Post.h"

#include "forum/model/AnswerShape.h"
#include "forum/model/Thread.h"
#include "app/text/QuoteFormatter.h"
#include "platform/foundation/Localized.h"
#include "platform/foundation/StringExtensions.h"

#include <QSet>

namespace {

// How deep a "message" dictionary inside a "message" dictionary is followed.
constexpr int kMaxMessageNesting = AnswerShape::kMaxNesting;

}  // namespace

Post::Post()
    : m_user(std::make_shared<Friend>())
{
}

Post::~Post() = default;

std::shared_ptr<Post> Post::initWithPostid(qint32 postid)
{
    auto post = std::make_shared<Post>();
    post->setPostid(postid);
    // The parameter travels in the body.
    post->requestURL(QStringLiteral("showthread"), ValueDict{{QStringLiteral("postid"), Value(QString::number(postid))}},
                     RequestMethod::POST, SELECTOR(Post, parseFromThread));
    return post;
}

QList<PostPtr> Post::postsOfPostbits(const Value& postbits)
{
    QList<PostPtr> posts;
    for (const Value& element : AnswerShape::dictionariesOf(postbits)) {
        if (!element.dict().contains(QStringLiteral("post")))
            continue;
        const PostPtr post = Model::createWithDictionary<Post>(element);
        post->setPostbit_type(element[u"postbit_type"]);
        posts.append(post);
    }
    return posts;
}

const PropertyTable& Post::propertyTable()
{
    static const PropertyTable table =
        PropertyTable(&ModelWithImage::propertyTable())
            .integer("postid", &Post::postid, &Post::setPostid)
            .text("postdate", &Post::postdate, &Post::setPostdate)
            .text("posttime", &Post::posttime, &Post::setPosttime)
            .integer("status_flags", &Post::status_flags, &Post::setStatus_flags)
            .text("message_bbcode", &Post::message_bbcode, &Post::setMessage_bbcode)
            .text("signature", &Post::signature, &Post::setSignature)
            .text("title", &Post::title, &Post::setTitle)
            .text("del_username", &Post::del_username, &Post::setDel_username)
            .boolean("canEdit", &Post::canEdit, &Post::setCanEdit)
            .boolean("canReply", &Post::canReply, &Post::setCanReply)
            .boolean("canReport", &Post::canReport, &Post::setCanReport)
            .setterOnly("post", &Post::setPost)
            .setterOnly("username", &Post::setUsername)
            .setterOnly("userid", &Post::setUserid)
            .setterOnly("message", &Post::setMessage)
            .setterOnly("pagetext", &Post::setMessage)
            .setterOnly("avatarurl", &Post::setAvatarurl)
            .setterOnly("moderatedattachments", &Post::setModeratedattachments)
            .setterOnly("thumbnailattachments", &Post::setThumbnailattachments)
            .setterOnly("otherattachments", &Post::setOtherattachments)
            .setterOnly("imageattachments", &Post::setImageattachments)
            .setterOnly("imageattachmentlinks", &Post::setImageattachmentlinks)
            .setterOnly("postbit_type", &Post::setPostbit_type)
            .setterOnly("show", &Post::setShow);
    return table;
}

// ---- Answer keys

void Post::setPost(const Value& nested)
{
    const AnswerShape::NestingLevel level(m_nesting);
    if (!level.tooDeep())
        setDictionary(nested);
}

void Post::setUsername(const Value& name)
{
    m_user->setUsername(name.isString() ? name.string() : QString());
}

void Post::setUserid(const Value& id)
{
    m_user->setUserid(id.toInt());
}

void Post::setMessage(const Value& message)
{
    // Followed without recursion, and only so deep.
    Value value = message;
    for (int depth = 0; value.isDict() && depth < kMaxMessageNesting; ++depth)
        value = value[u"message"];
    if (value.isString())
        m_message = value.string();
}

void Post::setMessage_bbcode(const QString& bbcode)
{
    m_sourceBbcode = bbcode;
    m_messageBbcode = bbcode.size() > MaxShownBbcode
                          ? localized("message_too_long")
                          : bbcode;
    m_messagePostquote = PostQuote::initWithAuthor(QString(), m_messageBbcode);
}

void Post::setAvatarurl(const Value& address)
{
    setPicurl(address.isString() ? StringExtensions::replaceAmpersands(address.string()) : QString());
}

void Post::setModeratedattachments(const Value& list)
{
    m_moderatedattachments = Attachment::attachments(list);
}

void Post::setThumbnailattachments(const Value& list)
{
    m_thumbnailattachments = Attachment::attachments(list);
}

void Post::setOtherattachments(const Value& list)
{
    m_otherattachments = Attachment::attachments(list);
}

void Post::setImageattachments(const Value& list)
{
    m_imageattachments = Attachment::attachments(list);
}

void Post::setImageattachmentlinks(const Value& list)
{
    m_imageattachmentlinks = Attachment::attachments(list);
}

void Post::setPostbit_type(const Value& type)
{
    if (!type.isString())
        return;
    const QString kind = type.string();
    if (kind == u"postbit_deleted")
        setFlag(Deleted, true);
    else if (kind == u"postbit_ignore")
        setFlag(UserIgnore, true);
    else if (kind == u"postbit_ignore_global")
        setFlag(IgnoreGlobal, true);
}

void Post::setShow(const Value& show)
{
    if (!show.isDict())
        return;
    const Value deleted = show[u"deletedpost"];
    if (!deleted.isAbsent())
        setFlag(Deleted, deleted.toBool());
    const Value moderated = show[u"moderated"];
    if (!moderated.isAbsent())
        setFlag(Approved, !moderated.toBool());
    m_canEdit = show[u"editlink"].toBool();
    m_canReply = show[u"replylink"].toBool();
    m_canReport = show[u"reportlink"].toBool();
}

void Post::setFlag(qint32 flag, bool on)
{
    m_statusFlags = on ? (m_statusFlags | flag) : (m_statusFlags & ~flag);
}

// ---- Texts and attachments

QString Post::message_nohtml() const
{
    if (m_hasNohtml)
        return m_messageNohtml;
    // Every tag of the message, each text removed wherever it stands; a "<"
    // without its ">" ends the removal and stays.
    QString result = m_message;
    QSet<QString> removed;
    qsizetype from = 0;
    while (true) {
        const qsizetype open = m_message.indexOf(u'<', from);
        if (open < 0)
            break;
        const qsizetype close = m_message.indexOf(u'>', open);
        if (close < 0)
            break;
        const QString tag = m_message.mid(open, close - open + 1);
        if (!removed.contains(tag)) {
            removed.insert(tag);
            result.remove(tag);
        }
        from = close;
    }
    m_messageNohtml = result;
    m_hasNohtml = true;
    return m_messageNohtml;
}

AttachmentList Post::thumbnailattachments() const
{
    if (m_thumbnailattachments.isEmpty())
        return m_imageattachments;
    return m_thumbnailattachments + m_imageattachments;
}

void Post::setApprovedAttachment(bool approved)
{
    if (approved) {
        for (const AttachmentPtr& attachment : std::as_const(m_moderatedattachments))
            (attachment->hasthumbnail() ? m_thumbnailattachments : m_otherattachments).append(attachment);
        m_moderatedattachments.clear();
        return;
    }
    m_moderatedattachments = m_otherattachments + m_thumbnailattachments;
    m_thumbnailattachments.clear();
    m_otherattachments.clear();
}

QString Post::quote() const
{
    // A post too long for the thread page is quoted as far as that page
    // would show one: the editor lays out a whole paragraph again on each key.
    return PostQuote::writeQuote(m_user->username(), m_postid,
                                 QuoteFormatter::quotedPart(m_sourceBbcode, MaxShownBbcode));
}

// ---- Requests

void Post::parseFromThread(const HTTPRequestPtr& request)
{
    if (!request)
        return;
    const auto guard = keepAlive();
    // A page that failed, or that does not hold the post, fills nothing, and
    // is told: the post is gone, or cannot be read now.
    if (!takeAnswer(request))
        return;
    const Value content = request->response()[u"response"];
    for (const Value& element : AnswerShape::dictionariesOf(content[u"postbits"])) {
        if (element[u"post"][u"postid"].toInt() == m_postid) {
            // Set before the observers are told, with the post.
            m_threadtitle = content[u"thread"][u"threadtitle"].toString();
            setDictionary(element);
            return;
        }
    }
    failedWithError(Error::withMessage(textForCode(QStringLiteral("invalidid"))));
}

void Post::report(const QString& reason)
{
    requestURL(QStringLiteral("report_sendemail"),
               ValueDict{{QStringLiteral("postid"), Value(QString::number(m_postid))},
                         {QStringLiteral("reason"), Value(reason.isNull() ? QStringLiteral("") : reason)}},
               RequestMethod::POST, SELECTOR(Post, reportedRequest));
}

void Post::reportedRequest(const HTTPRequestPtr& request)
{
    if (!request)
        return;
    const auto guard = keepAlive();
    // No connection is told once; nothing more is read from such a request.
    const std::optional<RequestOutcome> answer =
        takeAnswer(request, {.handlerJudgesRefusals = true});
    if (answer && answer->is(RequestOutcome::Kind::ForumRefused))
        failedWithError(answer->failure());
}

void Post::unignore()
{
    requestURL(QStringLiteral("profile_doremovelist"),
               ValueDict{{QStringLiteral("userid"), Value(QString::number(m_user->userid()))},
                         {QStringLiteral("userlist"), Value(QStringLiteral("ignore"))}},
               RequestMethod::POST);
    setFlag(UserIgnore, false);
    notifyChanged();
}

// ---- Inline moderation

ValueDict Post::buildIdsParams(const QList<qint32>& ids)
{
    ValueDict params;
    for (qint32 id : ids)
        params.insert(QStringLiteral("plist[%1]").arg(id), Value(QStringLiteral("1")));
    return params;
}

void Post::deletePosts(const QList<qint32>& ids, Done done)
{
    ModerationRequest::send(QStringLiteral("inlinemod_dodeleteposts"),
                            ValueDict{{QStringLiteral("postids"), Value(Thread::joinedIds(ids))},
                                      {QStringLiteral("deletetype"), Value(QStringLiteral("1"))}},
                            std::move(done));
}

void Post::undelete(const QList<qint32>& ids, Done done)
{
    ModerationRequest::send(QStringLiteral("inlinemod_undeleteposts"), buildIdsParams(ids), std::move(done));
}

void Post::approve(const QList<qint32>& ids, Done done)
{
    ModerationRequest::send(QStringLiteral("inlinemod_approveposts"), buildIdsParams(ids), std::move(done));
}

void Post::unapprove(const QList<qint32>& ids, Done done)
{
    ModerationRequest::send(QStringLiteral("inlinemod_unapproveposts"), buildIdsParams(ids), std::move(done));
}

void Post::approveAttachments(const QList<qint32>& ids, Done done)
{
    ModerationRequest::send(QStringLiteral("inlinemod_approveattachments"), buildIdsParams(ids), std::move(done));
}

void Post::unapproveAttachments(const QList<qint32>& ids, Done done)
{
    ModerationRequest::send(QStringLiteral("inlinemod_unapproveattachments"), buildIdsParams(ids), std::move(done));
}
