#include "neighbours/screens/PrivateMessagesController.h"

PrivateMessagesController::PrivateMessagesController(AppContext& context)
    : StandInSectionController(
          context, QStringLiteral("nav_messages"), QStringLiteral("messages_empty_headline"),
          QStringLiteral("messages_empty_message"))
{
}
