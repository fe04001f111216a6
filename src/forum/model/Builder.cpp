#include "forum/model/Builder.h"

#include "app/config/ConnectionError.h"
#include "app/config/Customizer.h"
#include "app/media/ImageToUpload.h"
#include "app/net/ApiAddress.h"
#include "app/net/JSONHTTPRequest.h"
#include "app/session/CurrentUser.h"
#include "platform/foundation/AlertView.h"
#include "platform/foundation/Clock.h"
#include "platform/foundation/Localized.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/TextFormat.h"

#include <QFile>
#include <QTimeZone>
#include <QUrl>

#include <algorithm>
#include <utility>

const QString Builder::UploadMethod = QStringLiteral("newattachment_manageattach");
const QString Builder::AuthErrorName = QStringLiteral("AuthError");
const QString Builder::AuthErrorReason = QStringLiteral("You do not have permission to upload an attachment");

namespace {

const QString redirectPostThanks = QStringLiteral("redirect_postthanks");
const QString redirectPostThanksModerate = QStringLiteral("redirect_postthanks_moderate");

// JPEG quality of a picture held in memory.
constexpr double InMemoryJpegQuality = 0.7;

}  // namespace

Builder::Builder() = default;

Builder::~Builder()
{
    cancelUploads();
}

const PropertyTable& Builder::propertyTable()
{
    static const PropertyTable table = PropertyTable(&Model::propertyTable())
        .integer("requestStatus", &Builder::requestStatusValue, &Builder::setRequestStatusValue)
        .integer("poststarttime", &Builder::poststarttime, &Builder::setPoststarttime)
        .text("posthash", &Builder::posthash, &Builder::setPosthash)
        .text("title", &Builder::title, &Builder::setTitle)
        .text("message", &Builder::message, &Builder::setMessage)
        .text("tags", &Builder::tags, &Builder::setTags)
        .boolean("canCreateTags", &Builder::canCreateTags, &Builder::setCanCreateTags)
        .boolean("canpostattachment", &Builder::canpostattachment, &Builder::setCanpostattachment)
        .setterOnly("response", &Builder::setResponse)
        .setterOnly("errormessage", &Builder::setErrormessage);
    return table;
}

void Builder::setRequestStatusValue(qint32 status)
{
    // A value no status has leaves the builder idle.
    m_requestStatus = status >= 0 && status <= static_cast<qint32>(BuilderStatus::Failed)
                          ? static_cast<BuilderStatus>(status)
                          : BuilderStatus::Idle;
}

// ---- Sending

Error Builder::create()
{
    if (m_requestStatus == BuilderStatus::Sending)
        return Error();
    m_alreadyPosted = false;
    m_awaitsApproval = false;
    m_approvalPhrase.clear();
    if (m_answerLost) {
        m_requestStatus = BuilderStatus::Sending;
        if (look(Look::BeforeSendingAgain))
            return Error();
    }
    return sendContent();
}

Error Builder::sendContent()
{
    m_requestStatus = BuilderStatus::Sending;
    if (m_attachments.isEmpty()) {
        post();
        return Error();
    }
    if (m_posthash.isNull() && uploadsNeedFormHash()) {
        m_requestStatus = BuilderStatus::Failed;
        return Error(AuthErrorName, 1, AuthErrorReason);
    }

    if (renewSpentForm())
        return Error();
    // Uploads left over from an earlier send would end this one too early.
    cancelUploads();
    m_uploadFailure.reset();
    // What the forum took under another form is not attached to this one.
    if (m_uploadedHash != m_posthash) {
        m_uploaded.clear();
        m_uploadedHash = m_posthash;
    }
    const ValueDict fields = uploadFields();
    QList<HTTPRequestPtr> uploads;
    for (const UploadAttachment& attachment : std::as_const(m_attachments)) {
        const bool taken = std::any_of(m_uploaded.cbegin(), m_uploaded.cend(),
                                       [&](const UploadAttachment& done) { return done.isSameAs(attachment); });
        if (taken)
            continue;
        if (HTTPRequestPtr upload = makeUpload(attachment, fields)) {
            m_uploading.append({upload, attachment});
            uploads.append(std::move(upload));
        }
    }
    if (uploads.isEmpty()) {
        post();
        return Error();
    }
    // All of them are counted before the first goes out, so that one that
    // ends at once cannot look like the last.
    m_attachmentRequests = uploads;
    const QUrl url = ApiAddress::URLWithString(UploadMethod);
    for (const HTTPRequestPtr& upload : uploads)
        upload->requestUrl(url);
    return Error();
}

ValueDict Builder::uploadFields()
{
    ValueDict fields = getParams().value_or(ValueDict());
    fields.insert(QStringLiteral("poststarttime"), Value(QString::number(m_poststarttime)));
    fields.insert(QStringLiteral("posthash"), Value(m_posthash));
    fields.insert(QStringLiteral("upload"), Value(QStringLiteral("Upload")));
    return fields;
}

HTTPRequestPtr Builder::makeUpload(const UploadAttachment& attachment, const ValueDict& fields)
{
    QByteArray jpeg;
    const bool withPicture =
        attachment.isImageToUpload() || (attachment.isPicture() && uploadsPicturesHeldInMemory());
    if (withPicture) {
        jpeg = jpegOf(attachment);
        if (jpeg.isEmpty()) {
            // An empty file part would reach the forum as a broken picture.
            MU_LOG(Log::model, QStringLiteral("UploadAttachment skipped: its picture cannot be read: ")
                   + (attachment.isImageToUpload() ? attachment.imageToUpload()->path() : QStringLiteral("in memory")));
            return nullptr;
        }
    }

    const std::shared_ptr<JSONHTTPRequest> request = JSONHTTPRequest::create();
    request->setCallbackObject(this);
    request->setSuccessSelector(SELECTOR(Builder, finishedUploading));
    request->setFailureSelector(SELECTOR(Builder, finishedUploading));
    request->setMethod(RequestMethod::POST);
    request->setApiCall(ApiCall{UploadMethod, ValueDict()});
    watchPostingCall(request);
    request->addParameters(fields);
    if (withPicture)
        request->addFile(QStringLiteral("attachment[]"), QStringLiteral("image.jpg"), jpeg,
                         QStringLiteral("image/jpeg"));
    else if (attachment.isWebAddress())
        request->addParameter(QStringLiteral("attachmenturl[]"), Value(attachment.webAddress()));
    return request;
}

QByteArray Builder::jpegOf(const UploadAttachment& attachment)
{
    if (attachment.isPicture())
        return attachment.picture().jpegData(InMemoryJpegQuality);
    if (!attachment.isImageToUpload() || attachment.imageToUpload()->path().isEmpty())
        return QByteArray();
    QFile file(attachment.imageToUpload()->path());
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

void Builder::finishedUploading(const HTTPRequestPtr& request)
{
    // Only uploads of the running send count.
    if (!request || !m_attachmentRequests.removeOne(request))
        return;
    const std::shared_ptr<Model> guard = keepAlive();
    UploadAttachment carried;
    for (qsizetype i = 0; i < m_uploading.size(); ++i) {
        if (m_uploading.at(i).first == request) {
            carried = m_uploading.takeAt(i).second;
            break;
        }
    }
    uploadEnded(*request);
    if (std::optional<Error> refusal = uploadRefusal(*request)) {
        if (!m_uploadFailure)
            m_uploadFailure = std::move(refusal);
    } else {
        m_uploaded.append(carried);
    }
    if (!m_attachmentRequests.isEmpty())
        return;
    // A post without a picture the member chose would lose it: nothing is
    // posted, and the send can be made again as it stands.
    if (const std::optional<Error> failure = std::exchange(m_uploadFailure, std::nullopt)) {
        dismissNotice();
        m_requestStatus = BuilderStatus::Failed;
        failedWithError(*failure);
        return;
    }
    post();
}

std::optional<Error> Builder::uploadRefusal(const HTTPRequest& upload)
{
    const RequestOutcome& outcome = upload.outcome();
    if (!outcome.success())
        return failureOf(outcome, upload).value_or(Error::withMessage(textForCode(QStringLiteral("nointernet"))));
    if (outcome.is(RequestOutcome::Kind::ForumRefused) && outcome.isKnownCode())
        return outcome.failure();
    // A code the error table does not know ("upload_file_exceeds_forum_limit")
    // still says that the forum kept nothing.
    if (outcome.is(RequestOutcome::Kind::ForumRefused) || !outcome.answerCode().isNull())
        return Error::withMessage(localized("attachment_not_uploaded"));
    return std::nullopt;
}

void Builder::cancelUploads()
{
    m_uploading.clear();
    const QList<HTTPRequestPtr> uploads = std::exchange(m_attachmentRequests, {});
    for (const HTTPRequestPtr& upload : uploads) {
        upload->setCallbackObject(nullptr);
        upload->cancel();
    }
}

HTTPRequestPtr Builder::sendCreating(const QString& apiMethod, const ValueDict& params)
{
    const HTTPRequestPtr request =
        requestURL(apiMethod, params, RequestMethod::POST, SELECTOR(Builder, finishedCreating));
    watchPostingCall(request);
    return request;
}

void Builder::watchPostingCall(const HTTPRequestPtr& request)
{
    if (request)
        request->setOverdueSelector(SELECTOR(Builder, postingOverdue));
}

HTTPRequestPtr Builder::sendLookup(const QString& apiMethod, const ValueDict& params)
{
    return requestURL(apiMethod, params, RequestMethod::POST, SELECTOR(Builder, finishedLooking));
}

HTTPRequestPtr Builder::sendFormRenewal(const QString& apiMethod, const ValueDict& params)
{
    return requestURL(apiMethod, params, RequestMethod::GET, SELECTOR(Builder, finishedRenewingForm));
}

void Builder::uploadEnded(const HTTPRequest& upload)
{
    if (upload.outcome().isInconclusive())
        m_formSpent = true;
}

bool Builder::renewSpentForm()
{
    if (!m_formSpent)
        return false;
    const HTTPRequestPtr form = askForFreshForm();
    m_formRenewal = form;
    return form != nullptr;
}

void Builder::finishedRenewingForm(const HTTPRequestPtr& request)
{
    if (!request)
        return;
    if (m_formRenewal.lock() != request) {
        removeRequest(request);
        return;
    }
    const std::shared_ptr<Model> guard = keepAlive();
    m_formRenewal.reset();
    const RequestOutcome& outcome = request->outcome();
    const QString hash = outcome.dictionary()[u"posthash"].toString();
    if (!outcome.is(RequestOutcome::Kind::Ok) || hash.isEmpty()) {
        m_requestStatus = BuilderStatus::Failed;
        if (takeAnswer(request))
            failedWithError(Error::withMessage(textForCode(QStringLiteral("unexpected_server_response"))));
        return;
    }
    removeRequest(request);
    // Only the form's hash and start: what the member wrote stays as it is.
    m_posthash = hash;
    m_poststarttime = outcome.dictionary()[u"poststarttime"].toInt();
    m_formSpent = false;
    const Error refused = sendContent();
    if (refused.isSet())
        failedWithError(refused);
}

HTTPRequestPtr Builder::look(Look why)
{
    m_lookFor = why;
    const HTTPRequestPtr lookup = lookForSentContent();
    m_lookup = lookup;
    return lookup;
}

bool Builder::isMembersSinceForm(qint32 userid, const QDateTime& made) const
{
    const qint32 member = CurrentUser::currentUser()->userid();
    // The form's start and the content's time are both the forum's clock;
    // what the member wrote before the form is other content alike.
    const QDateTime formGiven = QDateTime::fromSecsSinceEpoch(m_poststarttime, QTimeZone::utc());
    return member >= 1 && userid == member && made.isValid() && made >= formGiven;
}

// ---- The subclass's part

std::optional<ValueDict> Builder::getParams()
{
    MU_LOG(Log::model, QStringLiteral("Child Must Overwrite getParams method"));
    return std::nullopt;
}

void Builder::post()
{
    MU_LOG(Log::model, QStringLiteral("Child Must Overwrite post method"));
}

bool Builder::wasSentFine(const Value&)
{
    MU_LOG(Log::model, QStringLiteral("child of Builder must overwrite wasSent method"));
    return false;
}

// ---- Answers

void Builder::setResponse(const Value& response)
{
    if (response.isDict())
        setDictionary(response);
}

void Builder::setErrormessage(const Value& code)
{
    if (!m_attachmentRequests.isEmpty())
        m_requestStatus = BuilderStatus::Sending;
    else if (endsSent(code))
        m_requestStatus = BuilderStatus::Sent;
    notifyChanged();
}

bool Builder::isSentCode(const Value& code)
{
    // A list of codes stands for its first, as everywhere an answer is judged.
    const Value first = code.isList() ? code.at(0) : code;
    return first.isString() && (first.string() == redirectPostThanks || first.string() == redirectPostThanksModerate);
}

bool Builder::wasSended(const Value& code)
{
    if (isSentCode(code))
        return true;
    return wasSentFine(code.isList() ? code.at(0) : code);
}

bool Builder::endsSent(const Value& code)
{
    const Value first = code.isList() ? code.at(0) : code;
    m_awaitsApproval = first.isString() && first.string() == redirectPostThanksModerate;
    // The forum's words come as the answer's refusals bring theirs: [code, text].
    m_approvalPhrase = m_awaitsApproval && code.isList() && code.size() == 2 && code.at(1).isString()
                           ? code.at(1).string()
                           : QString();
    return wasSended(code);
}

std::shared_ptr<AlertView> Builder::announceApproval(const QString& key, AlertViewDelegate* delegate) const
{
    if (!m_approvalPhrase.trimmed().isEmpty()) {
        // Said as the request said it, so that one alert carries it.
        ConnectionError::showMessage(Error::withMessage(m_approvalPhrase));
        return nullptr;
    }
    const std::shared_ptr<AlertView> alert =
        AlertView::create(localized("awaiting_approval_title"), localized(key),
                          delegate, {localized("ok")});
    alert->show();
    return alert;
}

void Builder::setFromRequest(const HTTPRequestPtr& request)
{
    if (m_requestStatus == BuilderStatus::Sending)
        m_requestStatus = BuilderStatus::Failed;
    Model::setFromRequest(request);
}

void Builder::finishedCreating(const HTTPRequestPtr& request)
{
    if (!request)
        return;
    // Only the forum's own verdict says whether it holds the content.
    m_answerLost = request->outcome().isInconclusive();
    if (m_answerLost) {
        // The forum itself is asked before the member hears anything.
        removeRequest(request);
        if (!look(Look::AfterLostAnswer))
            failOpenFate("fate_unknown");
        return;
    }
    dismissNotice();
    if (request->success()) {
        setFromRequest(request);
        return;
    }
    const std::shared_ptr<Model> guard = keepAlive();
    // Failed before the observers hear of it, so that what they read is final.
    m_requestStatus = BuilderStatus::Failed;
    // A post that never got the forum's own answer reads as its verdict says.
    takeAnswer(request);
}

void Builder::finishedLooking(const HTTPRequestPtr& request)
{
    if (!request)
        return;
    if (m_lookup.lock() != request) {
        removeRequest(request);
        return;
    }
    const std::shared_ptr<Model> guard = keepAlive();
    m_lookup.reset();
    const Look why = m_lookFor;
    std::optional<RequestOutcome> answer;
    if (request->success()) {
        answer = takeAnswer(request, {.handlerJudgesRefusals = true});
    } else if (why == Look::BeforeSendingAgain) {
        // Not knowing what the forum holds, nothing goes out again: the member
        // reads why, and the next send looks once more.
        m_requestStatus = BuilderStatus::Failed;
        takeAnswer(request);
        return;
    } else {
        // While the fate is open the look's own failure is no news yet.
        removeRequest(request);
    }
    if (answer && answer->is(RequestOutcome::Kind::Ok) && holdsSentContent(*answer)) {
        m_answerLost = false;
        m_alreadyPosted = true;
        dismissNotice();
        // As the forum's own verdict on a post it took would end the send.
        setErrormessage(Value(redirectPostThanks));
        return;
    }
    switch (why) {
    case Look::BeforeSendingAgain: {
        // Not there, or a place the forum does not show: the content goes now.
        m_answerLost = false;
        const Error refused = sendContent();
        if (refused.isSet())
            failedWithError(refused);
        return;
    }
    case Look::AfterLostAnswer:
        waitForGrace();
        return;
    case Look::AfterGrace:
        failOpenFate(answer ? "not_arrived" : "look_failed");
        return;
    }
}

void Builder::postingOverdue(const HTTPRequestPtr&)
{
    // Said once while the send is open, whichever of its calls is late.
    const std::shared_ptr<AlertView> shown = m_notice.lock();
    if (m_requestStatus != BuilderStatus::Sending || (shown && shown->isVisible()))
        return;
    showNotice(fateText("waiting"));
}

void Builder::waitForGrace()
{
    showNotice(fateText("answer_lost"));
    // The timer is a member: it cannot fire once the builder has gone.
    m_grace = Clock::current().after(GraceMs, [this] {
        const std::shared_ptr<Model> guard = keepAlive();
        if (!look(Look::AfterGrace))
            failOpenFate("fate_unknown");
    });
}

void Builder::failOpenFate(const char* suffix)
{
    const std::shared_ptr<Model> guard = keepAlive();
    dismissNotice();
    m_requestStatus = BuilderStatus::Failed;
    failedWithError(Error::failure(Error::Kind::NoAnswer, fateText(suffix)));
}

QString Builder::fateText(const char* suffix) const
{
    const QString key = (changesExistingPost() ? QStringLiteral("edit_") : QStringLiteral("post_"))
                        + QString::fromLatin1(suffix);
    const Value name(Customizer::getInstance().appLabel());
    return TextFormat::fill(localized(key), {name, name});
}

void Builder::showNotice(const QString& text)
{
    dismissNotice();
    const std::shared_ptr<AlertView> notice =
        AlertView::create(localized("fate_open_title"), text, nullptr, {localized("ok")});
    notice->show();
    m_notice = notice;
}

void Builder::dismissNotice()
{
    if (const std::shared_ptr<AlertView> shown = std::exchange(m_notice, {}).lock(); shown && shown->isVisible())
        shown->dismissWithoutButton();
}
