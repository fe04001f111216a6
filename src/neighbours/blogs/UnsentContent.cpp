#include "neighbours/blogs/UnsentContent.h"

#include "forum/model/Builder.h"
#include "platform/foundation/Localized.h"

void UnsentContent::refuse(Builder& builder)
{
    if (builder.requestStatus() == BuilderStatus::Sending)
        return;
    builder.setRequestStatus(BuilderStatus::Failed);
    builder.failedWithError(
        Error::withMessage(localized("content_sending_unavailable")));
    builder.notifyChanged();
}
