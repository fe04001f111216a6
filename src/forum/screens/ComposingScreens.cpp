#include "forum/screens/ComposingScreens.h"

#include "forum/screens/ContentTags.h"
#include "forum/screens/CreateContent.h"
#include "forum/screens/EditPost.h"
#include "forum/screens/InsertTextController.h"
#include "forum/screens/Reply.h"
#include "forum/screens/ReportPost.h"
#include "app/navigation/ContextScreens.h"
#include "app/navigation/ScreenInputs.h"
#include "forum/screens/SelectForumController.h"
#include "forum/screens/SelectThreadPrefix.h"

#include "platform/ui/ViewControllerRegistry.h"

void ComposingScreens::registerClasses(AppContext& context)
{
    ContextScreens::registerClass<SelectForumController>(context, QStringLiteral("SelectForumController"));
    ContextScreens::registerClass<InsertTextController>(context, QStringLiteral("InsertTextController"));
    ContextScreens::registerClass<ContentTags>(context, QStringLiteral("ContentTags"));
    ContextScreens::registerClass<CreateContent>(context, QStringLiteral("CreateContent"));
    ContextScreens::registerClass<Reply>(context, QStringLiteral("Reply"));
    ContextScreens::registerClass<EditPost>(context, QStringLiteral("EditPost"));
    ContextScreens::registerClass<ReportPost>(context, QStringLiteral("ReportPost"));
    ContextScreens::registerClass<SelectThreadPrefix>(context, QStringLiteral("SelectThreadPrefix"));
    ScreenInputs::registerSetter(QStringLiteral("CreateContent"), &CreateContent::setForum);
    ScreenInputs::registerSetter(QStringLiteral("EditPost"), &EditPost::setPost);
    ScreenInputs::registerSetter(QStringLiteral("ReportPost"), &ReportPost::setPost);
    // A reply is to a thread, or to a post whose thread its form names.
    ScreenInputs::registerSetter(QStringLiteral("Reply"), [](ViewController& screen, const ModelPtr& input) {
        auto* reply = dynamic_cast<Reply*>(&screen);
        if (!reply)
            return false;
        if (const auto thread = std::dynamic_pointer_cast<Thread>(input)) {
            reply->setThread(thread);
            return true;
        }
        if (const auto post = std::dynamic_pointer_cast<Post>(input)) {
            reply->setPost(post);
            return true;
        }
        return false;
    });
}

QStringList ComposingScreens::classNames()
{
    return {QStringLiteral("SelectForumController"), QStringLiteral("InsertTextController"),
            QStringLiteral("ContentTags"),           QStringLiteral("CreateContent"),
            QStringLiteral("Reply"),                 QStringLiteral("EditPost"),
            QStringLiteral("ReportPost"),            QStringLiteral("SelectThreadPrefix")};
}
