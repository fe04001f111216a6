#include "platform/foundation/Reachability.h"

#include <QCoreApplication>
#include <QNetworkInformation>

bool Reachability::isCellular()
{
    // Loading a backend talks to the system's network service; try it once.
    static bool tried = false;
    if (!tried && QCoreApplication::instance()) {
        tried = true;
        if (!QNetworkInformation::instance())
            QNetworkInformation::loadDefaultBackend();
    }
    const QNetworkInformation* information = QNetworkInformation::instance();
    if (!information || !information->supports(QNetworkInformation::Feature::TransportMedium))
        return false;
    return information->transportMedium() == QNetworkInformation::TransportMedium::Cellular;
}
