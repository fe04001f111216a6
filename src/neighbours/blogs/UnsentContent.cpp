#include "neighbours/blogs/UnsentContent.h"

#include "forum/model/Builder.h"
#include "platform/foundation/Bundle.h"

void UnsentContent::refuse(Builder& builder)
{
    if (builder.requestStatus() == BuilderStatus::Sending)
        return;
    builder.setRequestStatus(BuilderStatus::Failed);
    builder.failedWithError(
        Error::withMessage(Bundle::main().localizedString(QStringLiteral("content_sending_unavailable"))));
    builder.notifyChanged();
}
