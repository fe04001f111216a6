#include "BetaClient.h"

#include "platform/foundation/Log.h"
#include "platform/foundation/TextFormat.h"

namespace {

struct State {
    bool started = false;
    QString token;
    QStringList checkpoints;
};

State& state()
{
    static State s;
    return s;
}

}  // namespace

void BetaClient::takeOff(const QString& token)
{
    State& s = state();
    if (s.started)
        return;
    s.started = true;
    s.token = token;
}

void BetaClient::passCheckpoint(const QString& name)
{
    State& s = state();
    if (!s.started)
        return;
    Log::write(TextFormat::fill(QStringLiteral("BetaClient: Checkpoint Passed - %@"), {Value(name)}));
    s.checkpoints.append(name);
}

bool BetaClient::isStarted()
{
    return state().started;
}

QString BetaClient::token()
{
    return state().token;
}

QStringList BetaClient::checkpoints()
{
    return state().checkpoints;
}
