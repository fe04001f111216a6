#include "neighbours/screens/AlbumController.h"

AlbumController::AlbumController(AppContext& context)
    : StandInSectionController(
          context, QStringLiteral("nav_photos"), QStringLiteral("albums_empty_headline"),
          QStringLiteral("albums_empty_message"))
{
}
