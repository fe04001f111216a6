#include "wiring/AppWiring.h"

#include "app/screens/AppScreens.h"
#include "app/navigation/ScreenInputs.h"
#include "app/screens/RootNavigation.h"
#include "app/screens/SharedInfoUnreadMessages.h"
#include "forum/cells/HomeCell.h"
#include "forum/model/ForumInfo.h"
#include "forum/screens/ComposingScreens.h"
#include "forum/screens/ForumListScreens.h"
#include "forum/screens/ForumModerationScreens.h"
#include "forum/screens/ForumSearchScreens.h"
#include "forum/screens/ForumThreadScreens.h"
#include "forum/cells/HomeContent.h"
#include "neighbours/blogs/Article.h"
#include "neighbours/blogs/BlogModel.h"
#include "neighbours/blogs/NeighbourBlogs.h"
#include "neighbours/screens/ArticleDetails.h"
#include "neighbours/screens/BlogPostExpanded.h"
#include "neighbours/screens/MyProfile.h"
#include "neighbours/screens/NeighbourScreens.h"
#include "platform/ui/AlertPresenter.h"

#include <QStringList>

namespace {

// The stand-in screens that the home list's rows open with a model.
QStringList standInsWithInput()
{
    return {HomeContent::kArticleScreen, HomeContent::kBlogEntryScreen, HomeCell::kProfileScreen};
}

}  // namespace

AppWiring::AppWiring(AppContext& context)
    : m_context(context)
{
    AlertPresenter::install();
    // The one screen stack, which the sections replace and the delegate shows.
    m_context.setPart(std::make_shared<RootNavigation>());
    AppScreens::registerClasses(m_context);
    // Blog entries and articles among the search and feed rows.
    NeighbourBlogs::registerContent();
    registerForumThreadScreens(m_context);
    NeighbourScreens::registerClasses(m_context);
    ForumListScreens::registerClasses(m_context);
    ComposingScreens::registerClasses(m_context);
    ForumSearchScreens::registerClasses(m_context);
    ForumModerationScreens::registerClasses(m_context);
    // The home list shows and opens blog entries and articles too; the
    // screens of the libraries above take their models by their setters.
    HomeContent::registerBlogsAndArticles<BlogModel, Article>();
    ScreenInputs::registerSetter(HomeContent::kArticleScreen, &ArticleDetails::setArticle);
    ScreenInputs::registerSetter(HomeContent::kBlogEntryScreen, &BlogPostExpanded::setModel);
    ScreenInputs::registerSetter(HomeCell::kProfileScreen, &MyProfile::setUser);
    // Signing in or out clears the last member's tree and notices from the start.
    ForumInfo::attachTo(m_context);
    // The menu's unread-messages count comes from the forum's home data.
    m_context.setPart<UnreadMessagesSource>(std::make_shared<SharedInfoUnreadMessages<ForumInfo>>(m_context));
}

AppWiring::~AppWiring()
{
    for (const QString& name : standInsWithInput())
        ScreenInputs::unregisterSetter(name);
    m_context.setPart<UnreadMessagesSource>(nullptr);
    ForumInfo::detachFrom(m_context);
    m_context.setPart<RootNavigation>(nullptr);
}
