#include "forum/screens/ForumThreadScreens.h"

#include "app/navigation/ContextScreens.h"
#include "app/navigation/ScreenInputs.h"
#include "forum/screens/CachedWebImageProvider.h"
#include "forum/screens/PostController.h"
#include "forum/screens/PostDetailsController.h"

#include "platform/ui/ViewControllerRegistry.h"
#include "platform/ui/WebView.h"

void registerForumThreadScreens(AppContext& context)
{
    ContextScreens::registerClass<PostController>(context, QStringLiteral("PostController"));
    ContextScreens::registerClass<PostDetailsController>(context, QStringLiteral("PostDetailsController"));
    ScreenInputs::registerSetter(QStringLiteral("PostDetailsController"), &PostDetailsController::setPost);
    WebView::setImageProvider(std::make_shared<CachedWebImageProvider>());
}
