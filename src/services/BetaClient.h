#pragma once

#include <QString>
#include <QStringList>

// The beta-testing client as the application uses it: started once with the
// service token, then told of named checkpoints. It records them for the
// current session and sends nothing.
class BetaClient {
public:
    // Starts the client once per process; later calls change nothing.
    static void takeOff(const QString& token);
    // Logs and records the checkpoint when the client has been started.
    static void passCheckpoint(const QString& name);

    static bool isStarted();
    static QString token();
    // The checkpoints of this session, in the order they were passed.
    static QStringList checkpoints();
};
