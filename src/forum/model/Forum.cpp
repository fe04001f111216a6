#include "forum/model/Forum.h"

#include "app/session/CurrentUser.h"
#include "forum/model/Announcement.h"
#include "forum/model/AnswerShape.h"
#include "forum/model/Thread.h"
#include "platform/foundation/Localized.h"
#include "platform/foundation/StringExtensions.h"

namespace {

// Subforums deeper than this are not taken: no forum is built so, and a
// hostile answer must not run the stack out.
constexpr int kMaxTreeDepth = 64;

// The id an announcement row stands for when its announcement has none: the
// number after the last "&a=" of its link ("announcement.php?f=2&a=42").
qint32 idFromAnnouncementLink(const Value& link)
{
    if (!link.isString())
        return 0;
    const QString text = link.string();
    const qsizetype at = text.lastIndexOf(QStringLiteral("&a="));
    return TextNumber::toInt(at < 0 ? text : text.mid(at + 3));
}

}  // namespace

Forum::Forum() = default;

Forum::~Forum() = default;

const PropertyTable& Forum::propertyTable()
{
    static const PropertyTable table =
        PropertyTable(&ModelWithPages::propertyTable())
            .integer("level", &Forum::level, &Forum::setLevel)
            .boolean("is_category", &Forum::is_category, &Forum::setIs_category)
            .boolean("isSubscribed", &Forum::isSubscribed, &Forum::setIsSubscribed)
            .boolean("canModerate", &Forum::canModerate, &Forum::setCanModerate)
            .boolean("canDeleteThreads", &Forum::canDeleteThreads, &Forum::setCanDeleteThreads)
            .boolean("canDeleteThreadsAsSpam", &Forum::canDeleteThreadsAsSpam, &Forum::setCanDeleteThreadsAsSpam)
            .boolean("canOpenCloseThread", &Forum::canOpenCloseThread, &Forum::setCanOpenCloseThread)
            .boolean("canApproveUnapproveThread", &Forum::canApproveUnapproveThread,
                     &Forum::setCanApproveUnapproveThread)
            .boolean("canMoveThread", &Forum::canMoveThread, &Forum::setCanMoveThread)
            .boolean("canViewThreads", &Forum::canViewThreads, &Forum::setCanViewThreads)
            .boolean("canSearchForums", &Forum::canSearchForums, &Forum::setCanSearchForums)
            .boolean("canPostThreads", &Forum::canPostThreads, &Forum::setCanPostThreads)
            .integer("forumid", &Forum::forumid, &Forum::setForumid)
            .text("statusicon", &Forum::statusicon, &Forum::setStatusicon)
            .integer("threadcount", &Forum::threadcount, &Forum::setThreadcount)
            .integer("replycount", &Forum::replycount, &Forum::setReplycount)
            .text("title_clean", &Forum::title_clean, &Forum::setTitle_clean)
            .text("description_clean", &Forum::description_clean, &Forum::setDescription_clean)
            .boolean("is_link", &Forum::is_link, &Forum::setIs_link)
            .setterOnly("parent_is_category", &Forum::setParentIsCategory)
            .setterOnly("subforums", &Forum::setSubforums)
            .setterOnly("childforumbits", &Forum::setChildforumbits)
            .setterOnly("show", &Forum::setShow)
            .setterOnly("forum", &Forum::setForum);
    return table;
}

std::shared_ptr<Forum> Forum::self()
{
    return std::static_pointer_cast<Forum>(keepAlive());
}

// ---- Filling

void Forum::setDictionary(const Value& dictionary)
{
    if (dictionary.isDict()) {
        const auto guard = keepAlive();
        const Value pagenumber = dictionary[u"pagenumber"];
        if (!pagenumber.isAbsent())
            setThreads(dictionary[u"threadbits"], AnswerShape::pageKeyOf(pagenumber));
        const Value announcebits = dictionary[u"announcebits"];
        if (!announcebits.isAbsent())
            populateAnnouncements(announcebits);
        const Value sticky = dictionary[u"threadbits_sticky"];
        if (!sticky.isAbsent())
            setStickies(sticky);
    }
    ModelWithPages::setDictionary(dictionary);
}

void Forum::setThreads(const Value& threadbits, const QString& pageKey)
{
    if (pageKey.isNull() || !(AnswerShape::isListLike(threadbits) || threadbits.isNull()))
        return;
    const std::shared_ptr<Forum> holder = self();
    Page threads;
    for (const Value& element : AnswerShape::dictionariesOf(threadbits)) {
        const ThreadPtr thread = Model::createWithDictionary<Thread>(element);
        thread->setForum(holder);
        threads.append(thread);
    }
    pages().insert(pageKey, threads);
}

void Forum::setStickies(const Value& stickies)
{
    const std::shared_ptr<Forum> holder = self();
    QList<ThreadPtr> threads;
    for (const Value& element : AnswerShape::dictionariesOf(stickies)) {
        const ThreadPtr thread = Model::createWithDictionary<Thread>(element);
        thread->setStickyFlag(true);
        thread->setForum(holder);
        threads.append(thread);
    }
    m_stickies = threads;
}

void Forum::populateAnnouncements(const Value& announcebits)
{
    const std::shared_ptr<Forum> holder = self();
    QList<ThreadPtr> rows;
    for (const Value& element : AnswerShape::dictionariesOf(announcebits)) {
        const auto announcement = Model::createWithDictionary<Announcement>(element[u"announcement"]);
        const ThreadPtr row = std::make_shared<Thread>();
        row->setForum(holder);
        row->setThreadtitle(announcement->title());
        row->user()->setUserid(announcement->userid());
        row->user()->setUsername(announcement->username());
        row->setIsAnnouncement(true);
        row->setThreadid(announcement->announcementid() != 0 ? announcement->announcementid()
                                                             : idFromAnnouncementLink(element[u"announcementidlink"]));
        rows.append(row);
    }
    m_announcements = rows;
}

QList<ThreadPtr> Forum::threadsOnPage(int pageNumber) const
{
    QList<ThreadPtr> threads;
    for (const ModelPtr& model : pages().value(pageKey(pageNumber)))
        threads.append(std::static_pointer_cast<Thread>(model));
    return threads;
}

void Forum::setSubforums(const Value& subforums)
{
    if (!AnswerShape::isListLike(subforums) || m_level >= kMaxTreeDepth)
        return;
    const std::shared_ptr<Forum> holder = self();
    QList<ForumPtr> children;
    for (const Value& element : AnswerShape::dictionariesOf(subforums)) {
        // Parent and depth first, so that its own subforums get theirs and
        // its "parent_is_category" reaches this forum.
        const ForumPtr child = std::make_shared<Forum>();
        child->setParent(holder);
        child->setLevel(m_level + 1);
        child->setDictionary(element);
        children.append(child);
    }
    m_children = children;
}

void Forum::setParent_is_category(bool category)
{
    if (const ForumPtr holder = parent())
        holder->setIs_category(category);
}

void Forum::setParentIsCategory(const Value& category)
{
    setParent_is_category(category.toBool());
}

void Forum::setShow(const Value& show)
{
    if (!show.isDict())
        return;
    setIsSubscribed(show[u"subscribed_to_forum"].toBool());
    m_canModerate = show[u"inlinemod"].toBool();
    m_canDeleteThreads = show[u"inlinemod"].toBool();
    m_canDeleteThreadsAsSpam = show[u"spamctrls"].toBool();
    m_canOpenCloseThread = show[u"openthread"].toBool();
    m_canApproveUnapproveThread = show[u"approvethread"].toBool();
    m_canMoveThread = show[u"movethread"].toBool();
    m_canSearchForums = show[u"forumsearch"].toBool();
    m_canViewThreads = true;
    m_canPostThreads = true;
}

void Forum::setForum(const Value& nested)
{
    const AnswerShape::NestingLevel level(m_nesting);
    if (!level.tooDeep())
        setDictionary(nested);
}

// ---- Requests

void Forum::fetchPage(int pageNumber)
{
    ValueDict params{{QStringLiteral("forumid"), Value(QString::number(m_forumid))},
                     {QStringLiteral("perpage"), Value(QString::number(ThreadsPerPage))},
                     {QStringLiteral("pagenumber"), Value(QString::number(pageNumber))}};
    const QString hash = passwordHash(m_forumid);
    if (!hash.isNull())
        params.insert(QStringLiteral("forumpwdmd5"), Value(hash));
    requestURL(QStringLiteral("forumdisplay"), params, RequestMethod::GET);
}

void Forum::refresh()
{
    m_stickies.clear();
    m_children.clear();
    fetchPage(1);
}

void Forum::setFromRequest(const HTTPRequestPtr& request)
{
    if (!request)
        return;
    const auto guard = keepAlive();
    const std::optional<RequestOutcome> answer = takeAnswer(request);
    if (!answer)
        return;
    // Permissions only from an answer that passed its checks.
    setShow(request->response()[u"show"]);
    // An answer that names a code (the forum asking for its password) brings
    // no page: its threads are not taken, only its keys.
    if (!answer->errorMessage().isAbsent()) {
        handleProtectedForums(answer->errorMessage());
        ModelWithPages::setDictionary(answer->dictionary());
        return;
    }
    setDictionary(answer->dictionary());
}

// ---- Password

QHash<qint32, QString>& Forum::forumPassword()
{
    static QHash<qint32, QString> hashes;
    return hashes;
}

QString Forum::passwordHash(qint32 forumid)
{
    const auto found = forumPassword().constFind(forumid);
    return found == forumPassword().constEnd() ? QString() : *found;
}

QString Forum::hashOfPassword(qint32 userid, const QString& password)
{
    return StringExtensions::md5(QString::number(userid) + password);
}

void Forum::resetForumPasswords()
{
    forumPassword().clear();
}

void Forum::handleProtectedForums(const Value& errormessage)
{
    if (!errormessage.isList() || errormessage.at(0) != Value(QStringLiteral("forumpasswordmissing")))
        return;
    // One prompt at a time, however many answers asked for it.
    if (m_passwordPrompt && m_passwordPrompt->isVisible())
        return;
    // Every request to the forum carries the password given for it: asked
    // again, the forum refused that one, and the prompt says so.
    const QString message = passwordHash(m_forumid).isNull()
                                ? QStringLiteral("\n                ")
                                : localized("forum_password_wrong");
    m_passwordPrompt = AlertView::create(
        m_titleClean, message, this,
        {localized("cancel"), localized("ok")});
    m_passwordPrompt->addTextField(localized("login_password"), true);
    m_passwordPrompt->show();
}

void Forum::clickedButtonAtIndex(AlertView* alertView, int buttonIndex)
{
    if (!m_passwordPrompt || alertView != m_passwordPrompt.get())
        return;
    const auto guard = keepAlive();
    const QString password = m_passwordPrompt->textFieldText();
    ForumPasswordDelegate* delegate = m_passwordDelegate ? m_passwordDelegate.get() : this;
    // Cancel, or nothing typed: nothing is stored and nothing asked again.
    if (buttonIndex != 1 || password.isEmpty()) {
        delegate->passwordCancelledForForum(this);
        return;
    }
    forumPassword().insert(m_forumid, hashOfPassword(CurrentUser::currentUser()->userid(), password));
    delegate->passwordSavedForForum(this);
}

void Forum::passwordSavedForForum(Forum* forum)
{
    if (forum)
        forum->fetchPage(1);
}

// ---- Subscription

std::pair<QString, qint32> Forum::subscriptionTarget() const
{
    return {QStringLiteral("forumid"), m_forumid};
}

// ---- Table

int Forum::numberOfRowsInSection(int section) const
{
    if (section == 0)
        return 1;
    return section == 1 ? int(m_children.size()) : 0;
}

ForumPtr Forum::retrieveForumAtIndexPath(int section, int row)
{
    if (section == 0)
        return row == 0 ? self() : nullptr;
    if (section == 1 && row >= 0 && row < m_children.size())
        return m_children.at(row);
    return nullptr;
}
