#pragma once

#include "app/model/Model.h"
#include "app/navigation/ScreenInputs.h"
#include "app/session/Friend.h"

#include "platform/ui/ViewController.h"

#include "platform/foundation/StringExtensions.h"

#include <QDateTime>
#include <QString>

#include <memory>
#include <optional>

// What a row of the home list shows of its item.
struct HomeItemFace {
    QString title;
    qint32 number = 0;
    // The by-line's format: the author's name, then the date.
    QString byFormatKey;
    QString username;
    QDateTime date;
    QString iconName;
    // The author, whose profile the row's picture opens.
    FriendPtr user;
};

// One kind of content of the home list: how its rows read and what opens
// an item of the kind.
class HomeContentKind {
public:
    virtual ~HomeContentKind() = default;
    // The item's face when it is of this kind, else nothing.
    virtual std::optional<HomeItemFace> faceOf(const ModelPtr& item) const = 0;
    // The screen that shows the item (given it), or null.
    virtual ViewControllerPtr screenFor(const ModelPtr& item) const = 0;
};

// The kinds of content the home list shows: the forum's threads, and what
// the program lends it of the libraries above (blog entries, articles),
// registered by whoever links them (main).
class HomeContent {
public:
    // The screens the rows open, by class name.
    static inline const QString kThreadScreen = QStringLiteral("PostController");
    static inline const QString kArticleScreen = QStringLiteral("ArticleDetails");
    static inline const QString kBlogEntryScreen = QStringLiteral("BlogPostExpanded");

    // A kind under a name; a later one of the same name replaces it.
    static void registerKind(const QString& name, std::shared_ptr<HomeContentKind> kind);
    // The blog entries and articles of the libraries that model them; the
    // classes answer to the blog and article models' names (title, comments_total, user,
    // lastpost, blogid, getBlog; clean_title, comment_count, publish).
    template <typename BlogEntry, typename Article>
    static void registerBlogsAndArticles();

    // The face of an item of any registered kind (threads always), or nothing.
    static std::optional<HomeItemFace> faceOf(const ModelPtr& item);
    // The screen that opens it, or null for items nothing opens.
    static ViewControllerPtr screenFor(const ModelPtr& item);
};

// A blog entry: its title, its comments, its author and last activity; it
// opens the entry fetched afresh by its id.
template <typename BlogEntry>
class BlogEntryContentKind : public HomeContentKind {
public:
    std::optional<HomeItemFace> faceOf(const ModelPtr& item) const override
    {
        const auto entry = std::dynamic_pointer_cast<BlogEntry>(item);
        if (!entry)
            return std::nullopt;
        HomeItemFace face;
        face.title = StringExtensions::replaceAmpersands(entry->title());
        face.number = entry->comments_total();
        face.byFormatKey = QStringLiteral("blog_by");
        face.user = entry->user();
        face.username = face.user ? face.user->username() : QString();
        face.date = entry->lastpost();
        face.iconName = QStringLiteral("icon_blog.png");
        return face;
    }
    ViewControllerPtr screenFor(const ModelPtr& item) const override
    {
        const auto entry = std::dynamic_pointer_cast<BlogEntry>(item);
        if (!entry || !ScreenInputs::canCreate(HomeContent::kBlogEntryScreen))
            return nullptr;
        return ScreenInputs::create(HomeContent::kBlogEntryScreen, BlogEntry::getBlog(entry->blogid()));
    }
};

// An article: its clean title, its comments, its author and publication.
template <typename Article>
class ArticleContentKind : public HomeContentKind {
public:
    std::optional<HomeItemFace> faceOf(const ModelPtr& item) const override
    {
        const auto article = std::dynamic_pointer_cast<Article>(item);
        if (!article)
            return std::nullopt;
        HomeItemFace face;
        face.title = StringExtensions::replaceAmpersands(article->clean_title());
        face.number = article->comment_count();
        face.byFormatKey = QStringLiteral("article_by");
        face.user = article->user();
        face.username = face.user ? face.user->username() : QString();
        face.date = article->publish();
        face.iconName = QStringLiteral("icon_article.png");
        return face;
    }
    ViewControllerPtr screenFor(const ModelPtr& item) const override
    {
        return ScreenInputs::create(HomeContent::kArticleScreen, item);
    }
};

template <typename BlogEntry, typename Article>
void HomeContent::registerBlogsAndArticles()
{
    registerKind(QStringLiteral("blog"), std::make_shared<BlogEntryContentKind<BlogEntry>>());
    registerKind(QStringLiteral("article"), std::make_shared<ArticleContentKind<Article>>());
}
