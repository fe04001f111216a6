// The forum client: the phone's screen in a window of its own.
#include "app/net/ApiClient.h"
#include "app/screens/AppDelegate.h"
#include "app/screens/AppScreens.h"
#include "app/screens/GlobalNavigationViewController.h"
#include "app/screens/SharedInfoUnreadMessages.h"
#include "forum/model/ForumInfo.h"
#include "forum/screens/ForumListScreens.h"
#include "forum/screens/ForumThreadScreens.h"
#include "forum/screens/HomeContent.h"
#include "forum/screens/ScreenInputs.h"
#include "neighbours/blogs/Article.h"
#include "neighbours/blogs/BlogModel.h"
#include "neighbours/blogs/NeighbourBlogs.h"
#include "neighbours/clients/AnalyticsTracker.h"
#include "neighbours/screens/ArticleDetails.h"
#include "neighbours/screens/BlogPostExpanded.h"
#include "neighbours/screens/MyProfile.h"
#include "neighbours/screens/NeighbourScreens.h"
#include "platform/ui/AlertPresenter.h"
#include "platform/ui/Application.h"

#include "platform/foundation/Bundle.h"
#include "platform/foundation/Clock.h"
#include "platform/foundation/SystemClock.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QTextStream>
#include <QUrl>

namespace {

// "http://host/forum" or "https://...": the forum's base address, without
// the trailing slash the addresses are built on.
QString forumAddress(const QString& text, QString* problem)
{
    const QUrl url = QUrl::fromUserInput(text.trimmed());
    if (!url.isValid() || (url.scheme() != u"http" && url.scheme() != u"https") || url.host().isEmpty()) {
        *problem = QStringLiteral("--forum takes the forum's address, such as http://127.0.0.1:8080/forum");
        return QString();
    }
    QString address = url.toString(QUrl::FullyEncoded);
    while (address.endsWith(u'/'))
        address.chop(1);
    return address;
}

}  // namespace

int main(int argc, char** argv)
{
    Application::prepareZoom(argc, argv);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("muforum"));
    const QString name =
        Bundle::main().objectForInfoDictionaryKey(QStringLiteral("CFBundleDisplayName")).toString();
    const QString version =
        Bundle::main().objectForInfoDictionaryKey(QStringLiteral("CFBundleShortVersionString")).toString();
    QApplication::setApplicationDisplayName(name);
    QApplication::setApplicationVersion(version);

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("%1: a client for one forum, on a phone-sized screen.\n"
                       "Settings, the signed-in member and cached pictures are kept in the user's data "
                       "folders, or below MU_HOME when it is set.")
            .arg(name));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption forum(QStringLiteral("forum"),
                                   QStringLiteral("The forum's address for this run (instead of the one it is "
                                                  "built with)."),
                                   QStringLiteral("URL"));
    const QCommandLineOption zoom(QStringLiteral("zoom"),
                                  QStringLiteral("The window's zoom (default: about four fifths of the screen's "
                                                 "height; also MU_ZOOM)."),
                                  QStringLiteral("F"));
    parser.addOptions({forum, zoom});
    parser.process(app);

    if (parser.isSet(forum)) {
        QString problem;
        const QString address = forumAddress(parser.value(forum), &problem);
        if (address.isEmpty()) {
            QTextStream(stderr) << "muforum: " << problem << "\n";
            return 2;
        }
        Bundle::main().setInfoValue(QStringLiteral("ZtServerBaseUrl"), Value(address));
    }

    Clock::install(std::make_shared<SystemClock>());
    const auto client = std::make_shared<ApiClient>();
    client->setPageviewHandler(
        [](const QString& page, Error* error) { return AnalyticsTracker::sharedTracker().trackPageview(page, error); });
    ApiClient::install(client);
    AlertPresenter::install();
    AppScreens::registerClasses();
    // Blog entries and articles among the search and feed rows.
    NeighbourBlogs::registerContent();
    registerForumThreadScreens();
    NeighbourScreens::registerClasses();
    ForumListScreens::registerClasses();
    // The home list shows and opens blog entries and articles too; the
    // screens of the libraries above take their models by their setters.
    HomeContent::registerBlogsAndArticles<BlogModel, Article>();
    ScreenInputs::registerSetter(QStringLiteral("ArticleDetails"), &ArticleDetails::setArticle);
    ScreenInputs::registerSetter(QStringLiteral("BlogPostExpanded"), &BlogPostExpanded::setModel);
    ScreenInputs::registerSetter(QStringLiteral("MyProfile"), &MyProfile::setUser);
    // The menu's unread-messages count comes from the forum's home data.
    GlobalNavigationViewController::setUnreadMessagesSource(std::make_shared<SharedInfoUnreadMessages<ForumInfo>>());

    int result = 0;
    {
        AppDelegate delegate;
        Application& application = Application::sharedApplication();
        application.setDelegate(&delegate);
        application.finishLaunching();
        result = QApplication::exec();
    }
    // The last screen stack, which the window lets go on the event loop, and
    // the views deleted later go now, while the toolkit is up: the
    // application's own teardown cannot run them.
    for (int round = 0; round < 3; ++round) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    // Requests still in flight end with their client.
    ApiClient::install(nullptr);
    return result;
}
