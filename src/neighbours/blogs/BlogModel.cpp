#include "neighbours/blogs/BlogModel.h"

#include "neighbours/blogs/AnswerDate.h"
#include "platform/foundation/StringExtensions.h"

BlogModel::BlogModel() : m_user(std::make_shared<Friend>()) {}

BlogModel::~BlogModel() = default;

const PropertyTable& BlogModel::propertyTable()
{
    static const PropertyTable table =
        PropertyTable(&ModelWithImage::propertyTable())
            .text("blogid", &BlogModel::blogid, &BlogModel::setBlogid)
            .text("title", &BlogModel::title, &BlogModel::setTitle)
            .text("message", &BlogModel::message, &BlogModel::setMessage)
            .text("pagetext", &BlogModel::pagetext, &BlogModel::setPagetext)
            .integer("comments_total", &BlogModel::comments_total, &BlogModel::setComments_total)
            .setterOnly("lastpost", &BlogModel::setLastpost)
            .setterOnly("user", &BlogModel::setUser)
            .setterOnly("userid", &BlogModel::setUserid)
            .setterOnly("username", &BlogModel::setUsername)
            .setterOnly("avatar", &BlogModel::setAvatar)
            .secondName("blogtitle", "title");
    return table;
}

std::shared_ptr<BlogModel> BlogModel::getBlog(const QString& blogid)
{
    auto entry = Model::fetchFromURL<BlogModel>(QStringLiteral("blog_blog"),
                                                ValueDict{{QStringLiteral("blogid"), Value(blogid)}});
    // Known by its id while the answer is on its way.
    entry->setBlogid(blogid);
    return entry;
}

std::shared_ptr<BlogModel> BlogModel::fromListRow(const Value& row)
{
    if (!row[u"blog"].isDict())
        return nullptr;
    const auto entry = Model::createWithDictionary<BlogModel>(row[u"blog"]);
    entry->setAvatar(row[u"avatar"]);
    if (row[u"blogposter"].isDict())
        entry->setDictionary(row[u"blogposter"]);
    return entry;
}

std::shared_ptr<BlogModel> BlogModel::fromFeedRow(const Value& row)
{
    if (!row.isDict())
        return nullptr;
    const auto entry = Model::createWithDictionary<BlogModel>(row);
    if (!entry->title().isNull())
        entry->setTitle(StringExtensions::replaceAmpersands(entry->title()));
    // The row's own "avatar" has been taken by the filling above.
    if (row[u"blogposter"].isDict())
        entry->setDictionary(row[u"blogposter"]);
    return entry;
}

void BlogModel::setLastpost(const Value& seconds)
{
    m_lastpost = AnswerDate::fromSeconds(seconds);
}

void BlogModel::setUser(const Value& user)
{
    if (user.isDict())
        m_user->setDictionary(user);
}

void BlogModel::setUserid(const Value& userid)
{
    m_user->setUserid(userid.toInt());
}

void BlogModel::setUsername(const Value& username)
{
    m_user->setUsername(username.isString() ? username.string() : QString());
}

void BlogModel::setAvatar(const Value& avatar)
{
    if (!avatar.isDict())
        return;
    const Value address = avatar[u"0"];
    if (!address.isString())
        return;
    setPicurl(StringExtensions::replaceAmpersands(address.string()));
    loadImages();
}
