#include "neighbours/screens/PhotoController.h"

PhotoController::PhotoController(AppContext& context)
    : StandInSectionController(
          context, QStringLiteral("album_title"), QStringLiteral("photos_empty_headline"),
          QStringLiteral("photos_empty_message"))
{
}
