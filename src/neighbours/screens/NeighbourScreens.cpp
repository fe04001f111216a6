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

#include "platform/ui/ViewControllerRegistry.h"

namespace {

template <typename T>
void add(QStringList* names, const char* name)
{
    const QString className = QString::fromLatin1(name);
    if (names)
        names->append(className);
    else
        ViewControllerRegistry::registerClass<T>(className);
}

// One list for both: what is registered is what is named.
void each(QStringList* names)
{
    add<AlbumController>(names, "AlbumController");
    add<ArticleDetails>(names, "ArticleDetails");
    add<ArticleListController>(names, "ArticleListController");
    add<ArticleSettingsController>(names, "ArticleSettingsController");
    add<BlogHomeScreenViewController>(names, "BlogHomeScreenViewController");
    add<BlogPostExpanded>(names, "BlogPostExpanded");
    add<BlogSettingsController>(names, "BlogSettingsController");
    add<FriendsController>(names, "FriendsController");
    add<MemberBlogHomeViewController>(names, "MemberBlogHomeViewController");
    add<MyProfile>(names, "MyProfile");
    add<NotificationsController>(names, "NotificationsController");
    add<PhotoController>(names, "PhotoController");
    add<PrivateMessageReply>(names, "PrivateMessageReply");
    add<PrivateMessagesController>(names, "PrivateMessagesController");
    add<ProfileController>(names, "ProfileController");
    add<SlideshowController>(names, "SlideshowController");
}

}  // namespace

void NeighbourScreens::registerClasses()
{
    each(nullptr);
}

QStringList NeighbourScreens::classNames()
{
    QStringList names;
    each(&names);
    return names;
}
