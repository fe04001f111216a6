#include "app/session/AvatarBuilder.h"

#include "app/config/ErrorMessages.h"
#include "app/media/ImageToUpload.h"
#include "app/net/ApiRequest.h"
#include "app/session/CurrentUser.h"
#include "platform/foundation/Localized.h"
#include "platform/foundation/Log.h"

#include <QFile>

AvatarBuilder::AvatarBuilder() = default;

AvatarBuilder::~AvatarBuilder() = default;

void AvatarBuilder::upload()
{
    if (!m_newAvatar || m_newAvatar->path().isEmpty()) {
        MU_LOG(Log::session, QStringLiteral("No picture to upload"));
        return;
    }
    QFile file(m_newAvatar->path());
    if (!file.open(QIODevice::ReadOnly)) {
        MU_LOG(Log::session, QStringLiteral("The picture to upload cannot be read: ") + m_newAvatar->path());
        return;
    }
    m_self = keepAlive();
    addRequest(ApiRequest::sendPicture(QStringLiteral("profile_updateavatar"), file.readAll(),
                                       SELECTOR(AvatarBuilder, response), this));
}

void AvatarBuilder::response(const HTTPRequestPtr& request)
{
    if (!request)
        return;
    // Let go at the end of the answer, whatever it says.
    const std::shared_ptr<Model> self = std::move(m_self);
    // A failed or refused picture changes nothing; the observers hear why.
    const std::optional<RequestOutcome> answer = takeAnswer(request, {.handlerJudgesRefusals = true});
    if (!answer)
        return;
    const Value code = ApiRequest::errorMessage(*answer);
    if (code.isString() && code.string() == u"redirect_updatethanks") {
        CurrentUser::currentUser()->fetchInfo();
        return;
    }
    const QString known = ErrorMessages::errorForCode(code);
    failedWithError(Error::withMessage(
        known.isNull() ? localized("home_avatar_not_changed") : known));
}
