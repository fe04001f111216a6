#include "app/net/InactiveForumUtil.h"

#include "app/config/AlertViewUtil.h"
#include "app/net/ApiAddress.h"
#include "app/net/ClientIdentity.h"
#include "app/net/JSONHTTPRequest.h"

namespace {
const QString kMemberMethod = QStringLiteral("member");

std::function<void()>& returnToLoginHandler()
{
    static std::function<void()> handler;
    return handler;
}
}  // namespace

InactiveForumUtil& InactiveForumUtil::instance()
{
    static InactiveForumUtil shared;
    return shared;
}

void InactiveForumUtil::checkIfForumIsActive()
{
    const QUrl url = ApiAddress::URLWithString(kMemberMethod);
    JSONHTTPRequest::requestURL(url, ClientIdentity::parameters(), RequestMethod::POST,
                                SELECTOR(InactiveForumUtil, handleInactiveForum), this, RequestTag::Ordinary,
                                ApiCall{kMemberMethod, {}});
}

void InactiveForumUtil::handleInactiveForum(const HTTPRequestPtr& request)
{
    const Value errormessage = request->response()[u"errormessage"];
    if (errormessage.isList())
        isForumActive(errormessage);
}

bool InactiveForumUtil::isForumActive(const Value& errormessage)
{
    if (!errormessage.isList() || errormessage.at(0) != Value(QStringLiteral("bbclosed")))
        return true;
    if (AlertViewUtil::isAlertBeingShown())
        return false;
    // Only a text is a message for the user.
    inactiveAlertWithMessage(errormessage.at(1).string())->show();
    return false;
}

std::shared_ptr<AlertView> InactiveForumUtil::inactiveAlertWithMessage(const QString& text)
{
    return AlertView::create(QString(), text, this, {QStringLiteral("OK")});
}

void InactiveForumUtil::didDismissWithButtonIndex(AlertView*, int)
{
    // A copy: showing the login screen may install another handler.
    const std::function<void()> handler = returnToLoginHandler();
    if (handler)
        handler();
}

void InactiveForumUtil::setReturnToLoginHandler(std::function<void()> handler)
{
    returnToLoginHandler() = std::move(handler);
}
