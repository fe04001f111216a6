#include "neighbours/screens/PhotoController.h"

PhotoController::PhotoController()
    : StandInSectionController(QStringLiteral("album_title"), QStringLiteral("photos_empty_headline"),
                               QStringLiteral("photos_empty_message"))
{
}
