#pragma once

#include "app/model/Model.h"
#include "forum/model/BuilderStatus.h"
#include "forum/model/UploadAttachment.h"
#include "platform/foundation/ClockTimer.h"

#include <QDateTime>
#include <QList>
#include <QPair>
#include <QString>

#include <memory>
#include <optional>

class AlertView;
class AlertViewDelegate;

// The model that sends one piece of new or changed content: it uploads each
// attachment by its own request, all at once, and when the last upload has
// ended the concrete builder's post sends the content itself. The answer to
// the post decides between sent and failed.
//
// An upload the forum did not take (refused, or lost on the way) fails the
// send before anything is posted: the observers hear why, once, and nothing
// the member wrote is lost. Sending again uploads only what the forum has
// not taken yet under the same form. An upload whose answer was lost may
// have been kept under the form all the same: the next send asks the forum
// for a fresh form first and uploads every picture under it, so that none is
// attached twice.
//
// Our own wait proves nothing about a post: a slow forum may store it long
// after. While the fate of a send is open it stays Sending and nothing goes
// out again. A post or upload the forum has not answered within the timeout
// keeps its connection (see HTTPRequestAsyncronic) and the member is told
// once that it may still arrive. A post whose answer was lost on the way back
// (see RequestOutcome::isInconclusive) may be on the forum all the same: the
// forum is looked at before the member hears anything, and content the member
// posted since the form was given ends the send as sent, with alreadyPosted().
// Not found, the fate stays open for GraceMs, the member told so, and the
// forum is looked at again; only then does the send fail. A later send after
// a lost answer looks once more before anything goes.
//
// Abstract: a concrete builder gives getParams, post and wasSentFine.
class Builder : public Model {
public:
    // The API method of each attachment upload.
    static const QString UploadMethod;
    // What create answers when attachments cannot be uploaded for want of a form hash.
    static const QString AuthErrorName;
    static const QString AuthErrorReason;
    // How long a post whose answer was lost, and that the forum does not
    // show yet, stays open before the forum is looked at again.
    static constexpr qint64 GraceMs = 60'000;

    ~Builder() override;

    static const PropertyTable& propertyTable();
    const PropertyTable& properties() const override { return propertyTable(); }

    // Model::create<M>() stays reachable beside the send operation.
    using Model::create;

    // Starts the send; does nothing while one is running or its fate is
    // open. Answers an unset error once the send is under way, or the refusal
    // "AuthError" (domain) with its reason (description) when there are
    // attachments but no form hash: the status is then failed and nothing is
    // sent. After a post whose answer was lost the forum is looked at first
    // (see above); a look that gets no answer fails the send, which is then
    // not made.
    virtual Error create();
    // The last send ended as sent because the forum was found to hold the
    // content already: nothing went out again.
    bool alreadyPosted() const { return m_alreadyPosted; }
    // The last post went out and its answer was lost: the next send looks first.
    bool answerLost() const { return m_answerLost; }
    // The last send ended as sent with the content kept for a moderator
    // ("redirect_postthanks_moderate"): nobody else can see it yet.
    bool awaitsApproval() const { return m_awaitsApproval; }
    // Says so to the member, once: in the forum's own words when its answer
    // gave them with the code (["redirect_postthanks_moderate", text]; the
    // request showed them as it ended, and they are not shown twice), else
    // in the text of the localised key under "awaiting_approval_title". The
    // alert of that text, answering `delegate`, is returned; null for the
    // forum's words.
    std::shared_ptr<AlertView> announceApproval(const QString& key, AlertViewDelegate* delegate = nullptr) const;

    // The content's own fields of every upload (the owner field and
    // "contenttypeid"); nothing when there are none.
    virtual std::optional<ValueDict> getParams();
    // Sends the content after the uploads.
    virtual void post();

    // A dictionary fills the builder like an answer does; anything else is ignored.
    void setResponse(const Value& response);
    // The result code of an answer: decides between sending and sent, then
    // tells the observers.
    virtual void setErrormessage(const Value& code);
    bool wasSended(const Value& code);
    // "redirect_postthanks" and "redirect_postthanks_moderate" (the first of a list).
    static bool isSentCode(const Value& code);
    // Whether a code of the concrete builder's own means success.
    virtual bool wasSentFine(const Value& code);

    // The answer of the builder's own requests: a send that was running has
    // failed unless the answer's code says otherwise.
    void setFromRequest(const HTTPRequestPtr& request) override;
    // An answer handler for the final post: a request that failed on the way
    // is reported as no connection.
    virtual void finishedCreating(const HTTPRequestPtr& request);
    // The end of each upload, successful or not.
    virtual void finishedUploading(const HTTPRequestPtr& request);
    // The answer to the look for content whose answer was lost.
    void finishedLooking(const HTTPRequestPtr& request);
    // The fresh form asked for after an upload whose answer was lost.
    void finishedRenewingForm(const HTTPRequestPtr& request);
    // A post or upload of the running send waits past the timeout: the
    // member hears once that it may still arrive.
    void postingOverdue(const HTTPRequestPtr& request);
    // Why the forum did not take an upload: its refusal, or the lost
    // connection; nothing when it took it.
    static std::optional<Error> uploadRefusal(const HTTPRequest& upload);

    BuilderStatus requestStatus() const { return m_requestStatus; }
    void setRequestStatus(BuilderStatus status) { m_requestStatus = status; }
    const UploadAttachmentList& attachments() const { return m_attachments; }
    void setAttachments(const UploadAttachmentList& attachments) { m_attachments = attachments; }
    // The uploads still running.
    const QList<HTTPRequestPtr>& attachmentRequests() const { return m_attachmentRequests; }
    qint32 poststarttime() const { return m_poststarttime; }
    void setPoststarttime(qint32 time) { m_poststarttime = time; }
    QString posthash() const { return m_posthash; }
    void setPosthash(const QString& hash) { m_posthash = hash; }
    QString title() const { return m_title; }
    void setTitle(const QString& title) { m_title = title; }
    QString message() const { return m_message; }
    void setMessage(const QString& message) { m_message = message; }
    QString tags() const { return m_tags; }
    void setTags(const QString& tags) { m_tags = tags; }
    bool canCreateTags() const { return m_canCreateTags; }
    void setCanCreateTags(bool can) { m_canCreateTags = can; }
    bool canpostattachment() const { return m_canpostattachment; }
    void setCanpostattachment(bool can) { m_canpostattachment = can; }

protected:
    Builder();

    // wasSended, for the send's last answer: notes too whether the content
    // waits for a moderator.
    bool endsSent(const Value& code);

    // The send itself, once nothing stands in its way: the uploads, then post.
    virtual Error sendContent();
    // Asks the forum for the place where the content would be, answered to
    // finishedLooking (through sendLookup); null when the builder cannot look.
    virtual HTTPRequestPtr lookForSentContent() { return nullptr; }
    HTTPRequestPtr sendLookup(const QString& apiMethod, const ValueDict& params);
    // Whether the answer to that look shows the content as it is to be sent
    // now, posted by the member since the form was given; the builder takes
    // what it learns of it (the new thread's id).
    virtual bool holdsSentContent(const RequestOutcome&) { return false; }
    // Whether content of that author and time (the forum's clock) is the
    // signed-in member's, made since the forum gave the form.
    bool isMembersSinceForm(qint32 userid, const QDateTime& made) const;
    // Whether the content changes a post that exists: the member is told of
    // "changes" rather than of a "post".
    virtual bool changesExistingPost() const { return false; }
    // Asks the forum for a fresh form of the content, answered to
    // finishedRenewingForm (through sendFormRenewal); null when the builder
    // cannot ask.
    virtual HTTPRequestPtr askForFreshForm() { return nullptr; }
    HTTPRequestPtr sendFormRenewal(const QString& apiMethod, const ValueDict& params);
    // Notes an upload that ended: one whose answer was lost spends the form.
    void uploadEnded(const HTTPRequest& upload);
    // The form is spent and a fresh one is being asked for, in place of the
    // send's uploads: true when the send waits for it.
    bool renewSpentForm();
    // A call of the send that may change the forum: its overdue is heard.
    void watchPostingCall(const HTTPRequestPtr& request);
    // The notice of an open fate goes, the fate settled.
    void dismissNotice();

    // A POST of the content answered to finishedCreating, kept among the
    // model's requests.
    HTTPRequestPtr sendCreating(const QString& apiMethod, const ValueDict& params);
    // Whether attachments are refused without a form hash ("AuthError").
    virtual bool uploadsNeedFormHash() const { return true; }
    // Whether a picture held in memory is uploaded (as JPEG); builders that
    // take none upload such an element without a picture.
    virtual bool uploadsPicturesHeldInMemory() const { return false; }
    // The JPEG bytes of a picture attachment: a prepared picture's file, or a
    // picture held in memory encoded at quality 0.7. Empty for anything else,
    // and for a file that cannot be read.
    static QByteArray jpegOf(const UploadAttachment& attachment);

private:
    // The status as the property table fills and archives it.
    qint32 requestStatusValue() const { return static_cast<qint32>(m_requestStatus); }
    void setRequestStatusValue(qint32 status);
    // The upload request of one attachment, not yet sent; null when the
    // attachment has nothing that can be read.
    HTTPRequestPtr makeUpload(const UploadAttachment& attachment, const ValueDict& fields);
    ValueDict uploadFields();
    void cancelUploads();

    // What a look at the forum is for.
    enum class Look {
        // A press after a lost answer: not found, the content goes.
        BeforeSendingAgain,
        // At once after the answer was lost: not found, the fate stays open.
        AfterLostAnswer,
        // At the end of the grace: not found, the send fails.
        AfterGrace,
    };
    // Sends the look; null when the builder cannot look.
    HTTPRequestPtr look(Look why);
    // Not found at once: the member hears that it may still arrive, and the
    // forum is looked at again after the grace.
    void waitForGrace();
    // The open fate ends as failed, said in the fateText of the suffix; the
    // next send looks first.
    void failOpenFate(const char* suffix);
    // The text under "post_<suffix>" (or "edit_<suffix>") with the
    // application's name.
    QString fateText(const char* suffix) const;
    // Shows the notice of an open fate in place of an earlier one.
    void showNotice(const QString& text);

    BuilderStatus m_requestStatus = BuilderStatus::Idle;
    UploadAttachmentList m_attachments;
    QList<HTTPRequestPtr> m_attachmentRequests;
    // What each running upload carries.
    QList<QPair<HTTPRequestPtr, UploadAttachment>> m_uploading;
    // What the forum has taken under the form `m_uploadedHash`.
    UploadAttachmentList m_uploaded;
    QString m_uploadedHash;
    // The first upload of the running send that was not taken.
    std::optional<Error> m_uploadFailure;
    std::weak_ptr<HTTPRequest> m_lookup;
    // An upload under the form lost its answer: the forum may keep it.
    bool m_formSpent = false;
    std::weak_ptr<HTTPRequest> m_formRenewal;
    Look m_lookFor = Look::BeforeSendingAgain;
    ClockTimer m_grace;
    std::weak_ptr<AlertView> m_notice;
    bool m_answerLost = false;
    bool m_alreadyPosted = false;
    bool m_awaitsApproval = false;
    QString m_approvalPhrase;
    qint32 m_poststarttime = 0;
    QString m_posthash;
    QString m_title;
    QString m_message;
    QString m_tags;
    bool m_canCreateTags = false;
    bool m_canpostattachment = false;
};

using BuilderPtr = std::shared_ptr<Builder>;
