// The test forum as a program, for the demo and for trying the client by hand.
#include "TestForum.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Loopback forum for the forum client."));
    parser.addHelpOption();
    const QCommandLineOption port(QStringLiteral("port"), QStringLiteral("Port on 127.0.0.1 (0: any free one)."),
                                  QStringLiteral("N"), QStringLiteral("8080"));
    const QCommandLineOption seed(QStringLiteral("seed"), QStringLiteral("Seed file (JSON)."),
                                  QStringLiteral("FILE"));
    const QCommandLineOption delay(QStringLiteral("delay-ms"), QStringLiteral("Delay of every answer."),
                                   QStringLiteral("N"), QStringLiteral("0"));
    parser.addOptions({port, seed, delay});
    parser.process(app);

    QTextStream err(stderr);
    bool portOk = false;
    const int portNumber = parser.value(port).toInt(&portOk);
    bool delayOk = false;
    const int delayMs = parser.value(delay).toInt(&delayOk);
    if (!portOk || portNumber < 0 || portNumber > 65535 || !delayOk || delayMs < 0) {
        err << "testforum_server: --port and --delay-ms take a number\n";
        return 2;
    }

    TestForum forum(parser.value(seed));
    forum.setDelay(delayMs);
    if (!forum.start(portNumber)) {
        err << "testforum_server: cannot read the seed " << forum.seedPath()
            << " or listen on port " << portNumber << "\n";
        return 1;
    }
    QTextStream(stdout) << forum.baseUrl() << Qt::endl;
    return app.exec();
}
