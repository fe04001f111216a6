// The test forum as a program: the demo's forum, and a forum to try the client on by hand.
#include "TestForum.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QJsonArray>
#include <QTextStream>
#include <QTime>

#include <cstdio>
#include <mutex>

namespace {

QString membersText(const QJsonObject& seed)
{
    QString text = QStringLiteral("Seeded members (name / password):\n");
    for (const QJsonValue& value : seed.value(QStringLiteral("members")).toArray()) {
        const QJsonObject member = value.toObject();
        text += QStringLiteral("  %1 / %2%3\n")
                    .arg(member.value(QStringLiteral("username")).toString(),
                         member.value(QStringLiteral("password")).toString(),
                         member.value(QStringLiteral("moderator")).toBool()
                             ? QStringLiteral("   (moderates every forum)")
                             : QString());
    }
    return text;
}

// The password-protected forums, at any depth of the tree, with their passwords.
void addProtectedForums(const QJsonArray& forums, QString* text)
{
    for (const QJsonValue& value : forums) {
        const QJsonObject forum = value.toObject();
        const QString password = forum.value(QStringLiteral("password")).toString();
        if (!password.isEmpty())
            *text += QStringLiteral("  %1 / %2\n").arg(forum.value(QStringLiteral("title")).toString(), password);
        addProtectedForums(forum.value(QStringLiteral("children")).toArray(), text);
    }
}

QString protectedForumsText(const QJsonObject& seed)
{
    QString forums;
    addProtectedForums(seed.value(QStringLiteral("forums")).toArray(), &forums);
    return forums.isEmpty() ? QString() : QStringLiteral("Password-protected forums (forum / password):\n") + forums;
}

// One short line per request; never the query, which carries the session's token.
QString logLine(const TestForumRequest& request)
{
    const QString what = request.apiMethod.isEmpty() ? request.path : request.apiMethod;
    const QString who = request.memberId > 0 ? QStringLiteral(" member %1").arg(request.memberId) : QString();
    const QString status = request.status < 0 ? QStringLiteral("dropped") : QString::number(request.status);
    return QStringLiteral("%1 %2 %3 %4 %5 ms%6")
        .arg(QTime::currentTime().toString(QStringLiteral("hh:mm:ss")), request.httpMethod, what, status)
        .arg(request.elapsedMs)
        .arg(who);
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("testforum_server"));
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("A loopback forum for the forum client, with seeded members, forums, threads, blogs "
                       "and articles.\nPrints its base address on the first line of standard output and "
                       "logs each request briefly to standard error."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Shows this help."));
    const QCommandLineOption port(QStringLiteral("port"), QStringLiteral("Port on 127.0.0.1 (0: any free one)."),
                                  QStringLiteral("N"), QStringLiteral("8080"));
    const QCommandLineOption seed(QStringLiteral("seed"), QStringLiteral("Seed file (JSON)."), QStringLiteral("FILE"));
    const QCommandLineOption delay(QStringLiteral("delay-ms"), QStringLiteral("Delay of every answer."),
                                   QStringLiteral("N"), QStringLiteral("0"));
    const QCommandLineOption quiet(QStringLiteral("quiet"), QStringLiteral("Logs no requests."));
    parser.addOptions({help, port, seed, delay, quiet});

    QTextStream err(stderr);
    if (!parser.parse(QCoreApplication::arguments())) {
        err << "testforum_server: " << parser.errorText() << "\n";
        return 2;
    }
    TestForum forum(parser.value(seed));
    if (parser.isSet(help)) {
        QTextStream(stdout) << parser.helpText() << "\n" << membersText(forum.seed()) << protectedForumsText(forum.seed());
        return 0;
    }
    bool portOk = false;
    const int portNumber = parser.value(port).toInt(&portOk);
    bool delayOk = false;
    const int delayMs = parser.value(delay).toInt(&delayOk);
    if (!portOk || portNumber < 0 || portNumber > 65535 || !delayOk || delayMs < 0) {
        err << "testforum_server: --port and --delay-ms take a number\n";
        return 2;
    }

    // It may run for hours: it keeps only the last requests.
    forum.setLogLimits(200, 8LL * 1024 * 1024, 512 * 1024);
    forum.setDelay(delayMs);
    if (!parser.isSet(quiet)) {
        forum.setRequestObserver([](const TestForumRequest& request) {
            static std::mutex writing;
            const std::lock_guard lock(writing);
            std::fprintf(stderr, "%s\n", logLine(request).toLocal8Bit().constData());
            std::fflush(stderr);
        });
    }
    if (!forum.start(portNumber)) {
        err << "testforum_server: "
            << (forum.seedProblem().isEmpty() ? QStringLiteral("cannot listen on port %1").arg(portNumber)
                                              : forum.seedProblem())
            << "\n";
        return 1;
    }
    QTextStream(stdout) << forum.baseUrl() << Qt::endl;
    return app.exec();
}
