#include "neighbours/screens/AlbumController.h"

AlbumController::AlbumController()
    : StandInSectionController(QStringLiteral("nav_photos"), QStringLiteral("albums_empty_headline"),
                               QStringLiteral("albums_empty_message"))
{
}
