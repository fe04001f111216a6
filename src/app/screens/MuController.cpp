#include "app/screens/MuController.h"

#include "app/config/ConnectionError.h"
#include "app/config/ErrorMessages.h"
#include "app/model/ModelMakers.h"
#include "app/screens/LogoutHelper.h"
#include "app/navigation/ScreenInputs.h"
#include "app/session/AppContext.h"
#include "app/session/CurrentUser.h"
#include "app/session/Friend.h"
#include "app/text/MuLink.h"

#include "platform/ui/ViewControllerRegistry.h"

#include <QHash>

namespace {

using Command = ViewControllerPtr (*)(AppContext& context, const MuLink& link);

QString name(const char* text)
{
    return QString::fromLatin1(text);
}

ViewControllerPtr screen(const char* className)
{
    return ViewControllerRegistry::create(name(className));
}

// A screen given its model before it is shown, as each such screen expects.
ViewControllerPtr screenWith(const char* className, const ModelPtr& model)
{
    return model ? ScreenInputs::create(name(className), model) : nullptr;
}

// A screen whose view exists before it takes its model: the model goes to
// what the view holds, and the view, once loaded, keeps it.
ViewControllerPtr loadedScreenWith(const char* className, const ModelPtr& model)
{
    const ViewControllerPtr made = model ? screen(className) : nullptr;
    if (!made)
        return nullptr;
    (void)made->view();
    return ScreenInputs::give(*made, name(className), model) ? made : nullptr;
}

ModelPtr make(const char* className, const ValueDict& values)
{
    return ModelMakers::make(name(className), values);
}

FriendPtr member(qint32 userid)
{
    auto made = Model::create<Friend>();
    made->setUserid(userid);
    return made;
}

qint32 memberId(const MuLink& link)
{
    return link.id(name("userid"), name("u"));
}

qint32 forumId(const MuLink& link)
{
    return link.id(name("forumid"), name("f"));
}

qint32 threadId(const MuLink& link)
{
    return link.id(name("threadid"), name("t"));
}

qint32 postId(const MuLink& link)
{
    return link.id(name("postid"), name("p"));
}

ModelPtr forum(qint32 forumid)
{
    return make("Forum", {{name("forumid"), Value(forumid)}});
}

ViewControllerPtr blogEntry(qint32 blogid)
{
    return screenWith("BlogPostExpanded", make("BlogModel", {{name("blogid"), Value(QString::number(blogid))}}));
}

// The blog home with a list of entries (none: the home as it is).
ViewControllerPtr blogHome(const ValueDict& entries)
{
    if (entries.isEmpty())
        return screen("BlogHomeScreenViewController");
    return loadedScreenWith("BlogHomeScreenViewController", make("BlogEntriesModel", entries));
}

ViewControllerPtr album(AppContext&, const MuLink& link)
{
    if (link.has(name("attachmentid"))) {
        return screenWith("SlideshowController", make("Photo", {{name("attachmentid"), Value(link.integer(name("attachmentid")))},
                                                                {name("albumid"), Value(link.integer(name("albumid")))}}));
    }
    if (link.has(name("albumid")))
        return screenWith("PhotoController", make("PhotoAlbum", {{name("albumid"), Value(link.integer(name("albumid")))}}));
    // A member's albums need a member: without a usable id, the album list.
    const qint32 userid = memberId(link);
    if ((!link.has(name("userid")) && !link.has(name("u"))) || userid < 1)
        return screen("AlbumController");
    const ViewControllerPtr profile = screenWith("MyProfile", member(userid));
    if (!profile)
        return nullptr;
    (void)profile->view();
    ScreenInputs::setOption(*profile, name("MyProfile"), name("section"), Value(3));
    return profile;
}

ViewControllerPtr blog(AppContext&, const MuLink& link)
{
    if (link.has(name("blogid")) || link.has(name("b")))
        return blogEntry(link.id(name("blogid"), name("b")));
    if (link.has(name("blogcategoryid"))) {
        ValueDict entries{{name("blogcategoryid"), Value(link.integer(name("blogcategoryid")))}};
        if (const qint32 userid = memberId(link))
            entries.insert(name("userid"), Value(userid));
        return blogHome(entries);
    }
    if (link.has(name("userid")) || link.has(name("u")))
        return screenWith("MemberBlogHomeViewController", member(memberId(link)));
    if (link.has(name("blogtextid")) || link.has(name("bt")))
        return blogEntry(link.id(name("blogtextid"), name("bt")));
    if (link.has(name("username")))
        return blogHome({{name("username"), Value(link.value(name("username")))}});
    if (link.has(name("tag")))
        return blogHome({{name("tag"), Value(link.value(name("tag")))}});
    return blogHome({});
}

ViewControllerPtr content(AppContext&, const MuLink& link)
{
    if (link.has(name("r")) && link.integer(name("r")) >= 2)
        return screenWith("ArticleDetails", make("Article", {{name("articleid"), Value(link.integer(name("r")))}}));
    return screen("ArticleListController");
}

ViewControllerPtr index(AppContext&, const MuLink&)
{
    return screen("HomeController");
}

ViewControllerPtr subscription(AppContext&, const MuLink&)
{
    const ViewControllerPtr home = screen("HomeController");
    if (home) {
        (void)home->view();
        ScreenInputs::setOption(*home, name("HomeController"), name("sort"), Value(2));
    }
    return home;
}

ViewControllerPtr login(AppContext& context, const MuLink&)
{
    LogoutHelper::setGoToRegister(false);
    if (context.currentUser()->isMember())
        LogoutHelper::showConfirmation(context);
    else
        LogoutHelper::showLogin(context, false);
    return nullptr;
}

ViewControllerPtr registration(AppContext& context, const MuLink&)
{
    LogoutHelper::setGoToRegister(true);
    if (context.currentUser()->isMember())
        LogoutHelper::showConfirmation(context);
    else
        LogoutHelper::showLogin(context, true);
    return nullptr;
}

ViewControllerPtr memberProfile(AppContext&, const MuLink& link)
{
    const qint32 userid = memberId(link);
    return userid >= 1 ? screenWith("MyProfile", member(userid)) : nullptr;
}

ViewControllerPtr forumDisplay(AppContext&, const MuLink& link)
{
    const qint32 forumid = forumId(link);
    return forumid >= 1 ? screenWith("ThreadController", forum(forumid)) : nullptr;
}

ViewControllerPtr showThread(AppContext&, const MuLink& link)
{
    if (const qint32 postid = postId(link); postid >= 1)
        return screenWith("PostDetailsController", make("Post", {{name("postid"), Value(postid)}}));
    if (const qint32 threadid = threadId(link); threadid >= 1)
        return screenWith("PostController", make("Thread", {{name("threadid"), Value(threadid)}}));
    return nullptr;
}

// Writing is a member's: a guest is told so here, as the forum would tell
// him, rather than given a composer that the forum refuses.
bool isWriting(const MuLink& link)
{
    return link.command() == u"newthread" || link.command() == u"newreply" || link.command() == u"blog_post";
}

bool refusedToAGuest(const AppContext& context)
{
    if (context.currentUser()->isMember())
        return false;
    ConnectionError::showMessage(
        Error::withMessage(ErrorMessages::errorForCode(Value(QStringLiteral("nopermission_loggedout")))));
    return true;
}

ViewControllerPtr newThread(AppContext& context, const MuLink& link)
{
    if (refusedToAGuest(context))
        return nullptr;
    const qint32 forumid = forumId(link);
    return forumid >= 1 ? loadedScreenWith("CreateContent", forum(forumid)) : nullptr;
}

ViewControllerPtr newReply(AppContext& context, const MuLink& link)
{
    if (refusedToAGuest(context))
        return nullptr;
    if (const qint32 threadid = threadId(link); threadid >= 1)
        return screenWith("Reply", make("Thread", {{name("threadid"), Value(threadid)}}));
    if (const qint32 postid = postId(link); postid >= 1)
        return screenWith("Reply", make("Post", {{name("postid"), Value(postid)}}));
    return nullptr;
}

ViewControllerPtr profile(AppContext& context, const MuLink&)
{
    const CurrentUserPtr user = context.currentUser();
    return user->isMember() ? screenWith("MyProfile", user) : nullptr;
}

const QHash<QString, Command>& commands()
{
    static const QHash<QString, Command> table{
        {name("album"), album},
        {name("blog"), blog},
        {name("entry"), blog},
        {name("content"), content},
        {name("list"), content},
        {name("forum"), [](AppContext&, const MuLink&) { return screen("ForumController"); }},
        {name("index"), index},
        {name("subscription"), subscription},
        {name("login"), login},
        {name("member"), memberProfile},
        {name("forumdisplay"), forumDisplay},
        {name("showthread"), showThread},
        {name("blog_post"),
         [](AppContext& context, const MuLink&) {
             return refusedToAGuest(context) ? nullptr : screen("CreateContent");
         }},
        {name("newthread"), newThread},
        {name("newreply"), newReply},
        {name("profile"), profile},
        {name("private"), [](AppContext&, const MuLink&) { return screen("PrivateMessagesController"); }},
        {name("register"), registration},
        {name("search"), [](AppContext&, const MuLink&) { return screen("SearchController"); }},
        {name("sendmessage"), [](AppContext&, const MuLink&) { return screen("PrivateMessageReply"); }},
    };
    return table;
}

}  // namespace

bool MuController::carriesOut(const AppContext& context, const QString& text)
{
    const std::optional<MuLink> link = MuLink::parse(text);
    return link
           && (link->command() == u"login" || link->command() == u"register"
               || (isWriting(*link) && !context.currentUser()->isMember()));
}

ViewControllerPtr MuController::muController(AppContext& context, const QString& text)
{
    const std::optional<MuLink> link = MuLink::parse(text);
    if (!link)
        return nullptr;
    const Command command = commands().value(link->command());
    return command ? command(context, *link) : nullptr;
}
