#include "forum/model/Announcement.h"

#include "forum/model/AnswerShape.h"
#include "forum/model/Forum.h"
#include "forum/model/PostedDate.h"

const PropertyTable& Announcement::propertyTable()
{
    static const PropertyTable table =
        PropertyTable(&ModelWithImage::propertyTable())
            .text("title", &Announcement::title, &Announcement::setTitle)
            .text("username", &Announcement::username, &Announcement::setUsername)
            .text("usertitle", &Announcement::usertitle, &Announcement::setUsertitle)
            .text("announcementidlink", &Announcement::announcementidlink, &Announcement::setAnnouncementidlink)
            .text("message", &Announcement::message, &Announcement::setMessage)
            .text("avatarurl", &Announcement::avatarurl, &Announcement::setAvatarurl)
            .integer("userid", &Announcement::userid, &Announcement::setUserid)
            .text("postdate", &Announcement::postdate, &Announcement::setPostdate)
            .integer("announcementid", &Announcement::announcementid, &Announcement::setAnnouncementid);
    return table;
}

ModelWithImage::ImagesProperties Announcement::imagesProperties() const
{
    return {{QStringLiteral("avatarurl"), QStringLiteral("avatar")}};
}

bool Announcement::setImageProperty(const QString& name, const Image& image)
{
    if (name == u"avatar") {
        setAvatar(image);
        return true;
    }
    return ModelWithImage::setImageProperty(name, image);
}

QDateTime Announcement::date() const
{
    return PostedDate::fromSeconds(m_postdate);
}

void Announcement::fetchData()
{
    const std::shared_ptr<Forum> holder = forum();
    // The parameters travel in the body.
    requestURL(QStringLiteral("announcement_view"),
               ValueDict{{QStringLiteral("forumid"), Value(QString::number(holder ? holder->forumid() : 0))},
                         {QStringLiteral("announcementId"), Value(QString::number(m_announcementid))}},
               RequestMethod::POST, SELECTOR(Announcement, announcementResult));
}

void Announcement::announcementResult(const HTTPRequestPtr& request)
{
    if (!request)
        return;
    const auto guard = keepAlive();
    const std::optional<RequestOutcome> answer = takeAnswer(request);
    if (!answer)
        return;
    for (const Value& element : AnswerShape::dictionariesOf(answer->dictionary()[u"announcebits"])) {
        const Value post = element[u"post"];
        if (post.isDict() && post[u"postid"].toInt() == m_announcementid) {
            setDictionary(post);
            loadImages();
            return;
        }
    }
    // Told also when the answer did not hold it, so that a screen stops waiting.
    notifyChanged();
}
