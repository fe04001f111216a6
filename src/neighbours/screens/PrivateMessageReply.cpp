#include "neighbours/screens/PrivateMessageReply.h"

PrivateMessageReply::PrivateMessageReply(AppContext& context)
    : StandInSectionController(
          context, QStringLiteral("message_new"), QStringLiteral("pmreply_empty_headline"),
          QStringLiteral("pmreply_empty_message"))
{
}
