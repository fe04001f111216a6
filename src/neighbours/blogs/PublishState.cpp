#include "neighbours/blogs/PublishState.h"

#include "platform/foundation/Localized.h"

QString publishStateText(PublishState state, const QString& draftKey)
{
    switch (state) {
    case PublishState::PublishNow:
        return localized("publish_now");
    case PublishState::PublishOn:
        return localized("publish_on");
    case PublishState::Draft:
        return localized(draftKey);
    case PublishState::None:
        break;
    }
    return QStringLiteral("");
}
