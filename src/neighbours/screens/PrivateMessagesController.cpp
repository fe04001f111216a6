#include "neighbours/screens/PrivateMessagesController.h"

PrivateMessagesController::PrivateMessagesController()
    : StandInSectionController(QStringLiteral("nav_messages"), QStringLiteral("messages_empty_headline"),
                               QStringLiteral("messages_empty_message"))
{
}
