#include "neighbours/blogs/PublishState.h"

#include "platform/foundation/Bundle.h"

QString publishStateText(PublishState state, const QString& draftKey)
{
    switch (state) {
    case PublishState::PublishNow:
        return Bundle::main().localizedString(QStringLiteral("publish_now"));
    case PublishState::PublishOn:
        return Bundle::main().localizedString(QStringLiteral("publish_on"));
    case PublishState::Draft:
        return Bundle::main().localizedString(draftKey);
    case PublishState::None:
        break;
    }
    return QStringLiteral("");
}
