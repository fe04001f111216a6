#include "neighbours/screens/SlideshowController.h"

SlideshowController::SlideshowController(AppContext& context)
    : StandInSectionController(
          context, QStringLiteral("photo_title"), QStringLiteral("photos_empty_headline"),
          QStringLiteral("photos_empty_message"))
{
}
