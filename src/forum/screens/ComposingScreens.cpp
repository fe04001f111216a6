#include "forum/screens/ComposingScreens.h"

#include "forum/screens/ContentTags.h"
#include "forum/screens/CreateContent.h"
#include "forum/screens/EditPost.h"
#include "forum/screens/InsertTextController.h"
#include "forum/screens/Reply.h"
#include "forum/screens/ReportPost.h"
#include "app/navigation/ScreenInputs.h"
#include "app/session/AppContext.h"
#include "forum/screens/SelectForumController.h"
#include "forum/screens/SelectThreadPrefix.h"

#include "platform/ui/ViewControllerRegistry.h"

void ComposingScreens::registerClasses()
{
    ViewControllerRegistry::registerClass<SelectForumController>(QStringLiteral("SelectForumController"));
    ViewControllerRegistry::registerClass<InsertTextController>(QStringLiteral("InsertTextController"));
    ViewControllerRegistry::registerClass<ContentTags>(QStringLiteral("ContentTags"));
    // The composing screens are made on the context in use when they are asked for.
    ViewControllerRegistry::registerClass(QStringLiteral("CreateContent"), [] {
        return std::make_shared<CreateContent>(AppContext::current());
    });
    ViewControllerRegistry::registerClass(QStringLiteral("Reply"),
                                          [] { return std::make_shared<Reply>(AppContext::current()); });
    ViewControllerRegistry::registerClass(QStringLiteral("EditPost"),
                                          [] { return std::make_shared<EditPost>(AppContext::current()); });
    ViewControllerRegistry::registerClass<ReportPost>(QStringLiteral("ReportPost"));
    ViewControllerRegistry::registerClass<SelectThreadPrefix>(QStringLiteral("SelectThreadPrefix"));
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
