#include "neighbours/screens/NeighbourScreens.h"

#include "neighbours/screens/AlbumController.h"
#include "neighbours/screens/ArticleDetails.h"
#include "neighbours/screens/ArticleListController.h"
#include "neighbours/screens/ArticleSettingsController.h"
#include "neighbours/screens/BlogHomeScreenViewController.h"
#include "neighbours/screens/BlogPostExpanded.h"
#include "neighbours/screens/BlogSettingsController.h"
#include "neighbours/screens/FriendsController.h"
#include "neighbours/screens/MemberBlogHomeViewController.h"
#include "neighbours/screens/MyProfile.h"
#include "neighbours/screens/NotificationsController.h"
#include "neighbours/screens/PhotoController.h"
#include "neighbours/screens/PrivateMessageReply.h"
#include "neighbours/screens/PrivateMessagesController.h"
#include "neighbours/screens/ProfileController.h"
#include "neighbours/screens/SlideshowController.h"

#include "app/model/ModelMakers.h"
#include "app/navigation/ContextScreens.h"
#include "app/navigation/ScreenInputs.h"
#include "app/session/Friend.h"
#include "app/widgets/PaginableTableView.h"
#include "neighbours/blogs/Article.h"
#include "neighbours/blogs/BlogEntriesModel.h"
#include "neighbours/blogs/BlogModel.h"
#include "neighbours/members/Photo.h"
#include "neighbours/members/PhotoAlbum.h"

#include "platform/ui/SegmentedControl.h"
#include "platform/ui/ViewControllerRegistry.h"

namespace {

// Registers the class on the context, or only names it without one.
template <typename T>
void add(AppContext* context, QStringList* names, const char* name)
{
    const QString className = QString::fromLatin1(name);
    if (names)
        names->append(className);
    if (context)
        ContextScreens::registerClass<T>(*context, className);
}

// One list for both: what is registered is what is named.
void each(AppContext* context, QStringList* names)
{
    add<AlbumController>(context, names, "AlbumController");
    add<ArticleDetails>(context, names, "ArticleDetails");
    add<ArticleListController>(context, names, "ArticleListController");
    add<ArticleSettingsController>(context, names, "ArticleSettingsController");
    add<BlogHomeScreenViewController>(context, names, "BlogHomeScreenViewController");
    add<BlogPostExpanded>(context, names, "BlogPostExpanded");
    add<BlogSettingsController>(context, names, "BlogSettingsController");
    add<FriendsController>(context, names, "FriendsController");
    add<MemberBlogHomeViewController>(context, names, "MemberBlogHomeViewController");
    add<MyProfile>(context, names, "MyProfile");
    add<NotificationsController>(context, names, "NotificationsController");
    add<PhotoController>(context, names, "PhotoController");
    add<PrivateMessageReply>(context, names, "PrivateMessageReply");
    add<PrivateMessagesController>(context, names, "PrivateMessagesController");
    add<ProfileController>(context, names, "ProfileController");
    add<SlideshowController>(context, names, "SlideshowController");
}

template <typename Screen>
Screen* as(ViewController& screen)
{
    return dynamic_cast<Screen*>(&screen);
}

std::shared_ptr<PhotoAlbum> album(qint32 albumid)
{
    auto made = Model::create<PhotoAlbum>();
    made->setAlbumid(albumid);
    return made;
}

// The models that in-app links name: blog entries and lists of them,
// articles, photos and albums.
void registerLinkModels()
{
    ModelMakers::registerMaker(QStringLiteral("BlogModel"), [](const ValueDict& values) -> ModelPtr {
        return BlogModel::getBlog(values.value(QStringLiteral("blogid")).toString());
    });
    ModelMakers::registerMaker(QStringLiteral("BlogEntriesModel"), [](const ValueDict& values) -> ModelPtr {
        if (values.contains(QStringLiteral("blogcategoryid"))) {
            const qint32 category = values.value(QStringLiteral("blogcategoryid")).toInt();
            const qint32 userid = values.value(QStringLiteral("userid")).toInt();
            return userid != 0 ? BlogEntriesModel::getRecentEntriesForCategoryId(category, userid, 1)
                               : BlogEntriesModel::getRecentEntriesForCategoryId(category, 1);
        }
        if (values.contains(QStringLiteral("username")))
            return BlogEntriesModel::getRecentEntriesForUsername(values.value(QStringLiteral("username")).toString(), 1);
        if (values.contains(QStringLiteral("tag")))
            return BlogEntriesModel::getEntriesForTag(values.value(QStringLiteral("tag")).toString(), 1);
        return nullptr;
    });
    ModelMakers::registerMaker(QStringLiteral("Article"), [](const ValueDict& values) -> ModelPtr {
        return Article::initWithArticleId(values.value(QStringLiteral("articleid")).toInt());
    });
    ModelMakers::registerMaker(QStringLiteral("PhotoAlbum"), [](const ValueDict& values) -> ModelPtr {
        return album(values.value(QStringLiteral("albumid")).toInt());
    });
    ModelMakers::registerMaker(QStringLiteral("Photo"), [](const ValueDict& values) -> ModelPtr {
        auto photo = Model::create<Photo>();
        photo->setAttachmentid(values.value(QStringLiteral("attachmentid")).toInt());
        photo->setAlbum(album(values.value(QStringLiteral("albumid")).toInt()));
        return photo;
    });
}

// What the screens above take from whoever opens them.
void registerInputs()
{
    // The list goes to the table, which the screen keeps when its view loads.
    ScreenInputs::registerSetter(QStringLiteral("BlogHomeScreenViewController"),
                                 [](ViewController& screen, const ModelPtr& input) {
                                     auto* home = as<BlogHomeScreenViewController>(screen);
                                     auto entries = std::dynamic_pointer_cast<BlogEntriesModel>(input);
                                     if (!home || !entries || !home->table())
                                         return false;
                                     home->table()->setModel(entries);
                                     return true;
                                 });
    ScreenInputs::registerSetter(QStringLiteral("MemberBlogHomeViewController"),
                                 [](ViewController& screen, const ModelPtr& input) {
                                     auto* blog = as<MemberBlogHomeViewController>(screen);
                                     auto member = std::dynamic_pointer_cast<Friend>(input);
                                     if (!blog || !member)
                                         return false;
                                     blog->setUserId(member->userid());
                                     return true;
                                 });
    ScreenInputs::registerSetter(QStringLiteral("PhotoController"), &PhotoController::setAlbum);
    ScreenInputs::registerSetter(QStringLiteral("SlideshowController"), &SlideshowController::setPhoto);
    // A profile opened on one of its sections (a member's albums).
    ScreenInputs::registerOption(QStringLiteral("MyProfile"), QStringLiteral("section"),
                                 [](ViewController& screen, const Value& value) {
                                     auto* profile = as<MyProfile>(screen);
                                     const int section = value.toInt();
                                     if (!profile || !profile->view() || section < 0
                                         || section >= profile->sections()->numberOfSegments())
                                         return false;
                                     profile->sections()->setSelectedSegmentIndex(section);
                                     profile->sectionChanged();
                                     return true;
                                 });
}

}  // namespace

void NeighbourScreens::registerClasses(AppContext& context)
{
    each(&context, nullptr);
    registerInputs();
    registerLinkModels();
}

QStringList NeighbourScreens::classNames()
{
    QStringList names;
    each(nullptr, &names);
    return names;
}
