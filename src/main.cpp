// The forum client: the phone's screen in a window of its own.
#include "wiring/AppWiring.h"

#include "app/screens/AppDelegate.h"
#include "app/session/AppContext.h"
#include "platform/ui/Application.h"
#include "platform/ui/FirstFrameReport.h"
#include "platform/ui/Font.h"
#include "platform/ui/Window.h"
#include "platform/ui/WindowSystemScreen.h"

#include "platform/foundation/Bundle.h"
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
    // The toolkit reads its zoom once, as it starts: the screen is asked of
    // the window system first, on a connection that stays open until the
    // toolkit's own is (see WindowSystemScreen).
    WindowSystemScreen screen = WindowSystemScreen::primary();
    Application::prepareZoom(argc, argv, screen.available());
    QApplication app(argc, argv);
    screen.close();
    // Only now that the toolkit is up: its start and a decoding beside it
    // corrupted each other's memory. The fonts load meanwhile (fontconfig
    // reads its whole configuration the first time): the first frame needs
    // both, its status bar the fonts.
    AppDelegate::prefetchSplash();
    Font::boldSystemFontOfSize(14);
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
    const QCommandLineOption firstFrame(QStringLiteral("first-frame"),
                                        QStringLiteral("Prints the monotonic clock's reading in seconds when the "
                                                       "first frame is drawn, then quits (start-up measurements)."));
    parser.addOptions({forum, zoom, firstFrame});
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

    // The application's parts and their connections, for as long as main
    // runs; the requests still in flight end with them.
    AppContext context(std::make_shared<SystemClock>());
    const AppWiring wiring(context);

    int result = 0;
    {
        AppDelegate delegate(context);
        Application& application = Application::sharedApplication();
        application.setDelegate(&delegate);
        application.finishLaunching();
        if (parser.isSet(firstFrame) && Window::keyWindow())
            FirstFrameReport::watch(Window::keyWindow());
        result = QApplication::exec();
    }
    // The last screen stack, which the window lets go on the event loop, and
    // the views deleted later go now, while the toolkit is up: the
    // application's own teardown cannot run them.
    for (int round = 0; round < 3; ++round) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    return result;
}
