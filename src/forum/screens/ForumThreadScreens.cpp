#include "forum/screens/ForumThreadScreens.h"

#include "app/navigation/ScreenInputs.h"
#include "forum/screens/CachedWebImageProvider.h"
#include "forum/screens/PostController.h"
#include "forum/screens/PostDetailsController.h"

#include "platform/ui/ViewControllerRegistry.h"
#include "platform/ui/WebView.h"

void registerForumThreadScreens()
{
    ViewControllerRegistry::registerClass<PostController>(QStringLiteral("PostController"));
    ViewControllerRegistry::registerClass<PostDetailsController>(QStringLiteral("PostDetailsController"));
    ScreenInputs::registerSetter(QStringLiteral("PostDetailsController"), &PostDetailsController::setPost);
    WebView::setImageProvider(std::make_shared<CachedWebImageProvider>());
}
