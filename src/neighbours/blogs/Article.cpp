#include "neighbours/blogs/Article.h"

#include "neighbours/blogs/AnswerDate.h"
#include "platform/foundation/StringExtensions.h"

#include <QRegularExpression>

Article::Article() : m_user(std::make_shared<Friend>()) {}

Article::~Article() = default;

const PropertyTable& Article::propertyTable()
{
    static const PropertyTable table =
        PropertyTable(&AbstractThread::propertyTable())
            .text("clean_title", &Article::clean_title, &Article::setClean_title)
            .integer("comment_count", &Article::comment_count, &Article::setComment_count)
            .setterOnly("user", &Article::setUser)
            .setterOnly("userid", &Article::setUserid)
            .setterOnly("username", &Article::setUsername)
            .setterOnly("publish", &Article::setPublish)
            .text("pagetext", &Article::pagetext, &Article::setPagetext)
            .text("previewimage", &Article::previewimage, &Article::setPreviewimage)
            .setterOnly("avatar", &Article::setAvatar)
            .object("avatarurl", &Article::avatarurlValue, &Article::setAvatar)
            .integer("currentPage", &Article::currentPage, &Article::setCurrentPage)
            .boolean("editable", &Article::editable, &Article::setEditable)
            .notArchived("currentPage")
            .notArchived("editable");
    return table;
}

ModelWithImage::ImagesProperties Article::imagesProperties() const
{
    return {{QStringLiteral("picurl"), QStringLiteral("pic")}, {QStringLiteral("avatarurl"), QStringLiteral("avatar")}};
}

bool Article::setImageProperty(const QString& name, const Image& image)
{
    if (name == u"avatar") {
        m_avatar = image;
        return true;
    }
    return AbstractThread::setImageProperty(name, image);
}

std::shared_ptr<Article> Article::initWithArticleId(qint32 articleId)
{
    auto article = std::make_shared<Article>();
    article->setThreadid(articleId);
    article->setCurrentPage(1);
    article->setEditable(false);
    article->fetchDetails();
    return article;
}

void Article::fetchDetails()
{
    notifyChanged();
}

std::shared_ptr<Article> Article::fromSearchRow(const Value& row)
{
    if (!row.isDict())
        return nullptr;
    const auto article = Model::createWithDictionary<Article>(row);
    if (row[u"article"].isDict())
        article->setDictionary(row[u"article"]);
    return article;
}

std::shared_ptr<Article> Article::fromFeedRow(const Value& row)
{
    if (!row.isDict())
        return nullptr;
    // The row's "avatarurl" reaches setAvatar through the filling.
    return Model::createWithDictionary<Article>(row);
}

void Article::setUser(const Value& user)
{
    if (user.isDict())
        m_user->setDictionary(user);
}

void Article::setUserid(const Value& userid)
{
    m_user->setUserid(userid.toInt());
}

void Article::setUsername(const Value& username)
{
    m_user->setUsername(username.isString() ? username.string() : QString());
}

void Article::setPublish(const Value& seconds)
{
    m_publish = AnswerDate::fromSeconds(seconds);
}

void Article::setPreviewimage(const QString& address)
{
    m_previewimage = address.isNull() ? QString() : StringExtensions::replaceAmpersands(address);
    if (m_previewimage.isEmpty())
        return;
    setPicurl(m_previewimage);
    loadImages();
}

void Article::setAvatar(const Value& avatar)
{
    if (!m_previewimage.isEmpty()) {
        setPicurl(m_previewimage);
    } else if (avatar.isString()) {
        setPicurl(StringExtensions::replaceAmpersands(avatar.string()));
    } else {
        const Value address = avatar.isList() ? avatar.at(0) : avatar.isDict() ? avatar[u"0"] : Value();
        if (!address.isString())
            return;
        m_avatarurl = StringExtensions::replaceAmpersands(address.string());
    }
    loadImages();
}

QStringList Article::pagesOf(const QString& bbcode)
{
    static const QRegularExpression pageBreak(QStringLiteral("\\[page\\]"), QRegularExpression::CaseInsensitiveOption);
    QStringList pages;
    for (const QString& page : bbcode.split(pageBreak)) {
        if (!page.trimmed().isEmpty())
            pages.append(page.trimmed());
    }
    return pages;
}
