#include "neighbours/screens/FriendsController.h"

FriendsController::FriendsController()
    : StandInSectionController(QStringLiteral("nav_friends"), QStringLiteral("friends_empty_headline"),
                               QStringLiteral("friends_empty_message"))
{
}
