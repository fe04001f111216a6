#include "platform/foundation/Reachability.h"

#include <QCoreApplication>
#include <QNetworkInformation>

namespace {
bool asked = false;
}  // namespace

void Reachability::ask()
{
    if (asked || !QCoreApplication::instance())
        return;
    asked = true;
    if (!QNetworkInformation::instance())
        QNetworkInformation::loadDefaultBackend();
}

std::optional<bool> Reachability::isCellular()
{
    if (!asked)
        return std::nullopt;
    const QNetworkInformation* information = QNetworkInformation::instance();
    if (!information || !information->supports(QNetworkInformation::Feature::TransportMedium))
        return false;
    return information->transportMedium() == QNetworkInformation::TransportMedium::Cellular;
}
