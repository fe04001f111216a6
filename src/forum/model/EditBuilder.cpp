#include "forum/model/EditBuilder.h"

#include "app/net/ApiAddress.h"
#include "app/net/JSONHTTPRequest.h"
#include "forum/model/Post.h"
#include "forum/model/PostingForm.h"
#include "forum/model/Thread.h"
#include "platform/foundation/AlertView.h"
#include "platform/foundation/Clock.h"
#include "platform/foundation/Localized.h"

#include <algorithm>
#include <utility>

EditBuilder::EditBuilder() = default;

EditBuilder::~EditBuilder()
{
    for (const HTTPRequestPtr& upload : std::exchange(m_uploads, {})) {
        upload->setCallbackObject(nullptr);
        upload->cancel();
    }
}

std::shared_ptr<EditBuilder> EditBuilder::initWithPost(const std::shared_ptr<Post>& post)
{
    auto builder = std::make_shared<EditBuilder>();
    builder->setPost(post);
    builder->m_postid = post ? post->postid() : 0;
    builder->requestURL(QStringLiteral("editpost_editpost"),
                        {{QStringLiteral("postid"), Value(QString::number(builder->m_postid))}}, RequestMethod::GET);
    return builder;
}

const PropertyTable& EditBuilder::propertyTable()
{
    static const PropertyTable table =
        PropertyTable(&Builder::propertyTable())
            .text("message_bbcode", &EditBuilder::message_bbcode, &EditBuilder::setMessage_bbcode)
            .setterOnly("messagearea", &EditBuilder::setMessagearea);
    return table;
}

void EditBuilder::setMessagearea(const Value& area)
{
    const Value newpost = area[u"newpost"];
    setDictionary(newpost.isDict() ? newpost : Value());
}

// ---- Sending

Error EditBuilder::sendContent()
{
    setRequestStatus(BuilderStatus::Sending);
    if (attachments().isEmpty()) {
        postEdit();
        return Error();
    }
    if (posthash().isNull()) {
        setRequestStatus(BuilderStatus::Failed);
        return Error(AuthErrorName, 1, AuthErrorReason);
    }
    if (renewSpentForm())
        return Error();
    const HTTPRequestPtr upload = makeUpload();
    if (!upload) {
        postEdit();
        return Error();
    }
    m_uploads.append(upload);
    upload->requestUrl(ApiAddress::URLWithString(UploadMethod));
    return Error();
}

HTTPRequestPtr EditBuilder::makeUpload()
{
    const std::shared_ptr<JSONHTTPRequest> request = JSONHTTPRequest::create();
    request->setCallbackObject(this);
    // One handler tells a finished upload from a failed one by its outcome.
    request->setSuccessSelector(SELECTOR(EditBuilder, finishedUploading));
    request->setFailureSelector(SELECTOR(EditBuilder, finishedUploading));
    request->setMethod(RequestMethod::POST);
    request->setApiCall(ApiCall{UploadMethod, ValueDict()});
    watchPostingCall(request);
    request->addParameters({{QStringLiteral("values[postid]"), Value(QString::number(m_postid))},
                            {QStringLiteral("poststarttime"), Value(QString::number(poststarttime()))},
                            {QStringLiteral("posthash"), Value(posthash())},
                            {QStringLiteral("upload"), Value(QStringLiteral("Upload"))},
                            {QStringLiteral("contenttypeid"), Value(QStringLiteral("1"))}});
    bool carriesSomething = false;
    int position = 0;
    for (const UploadAttachment& attachment : attachments()) {
        const int n = position++;
        if (attachment.isWebAddress()) {
            request->addParameter(QStringLiteral("attachmenturl[]"), Value(attachment.webAddress()));
            carriesSomething = true;
            continue;
        }
        const QByteArray jpeg = jpegOf(attachment);
        if (jpeg.isEmpty())
            continue;
        // Distinct names keep the files apart: a request keeps one file per name.
        const QString name = n == 0 ? QStringLiteral("image.jpg") : QStringLiteral("image%1.jpg").arg(n);
        request->addFile(QStringLiteral("attachment[]"), name, jpeg, QStringLiteral("image/jpeg"));
        carriesSomething = true;
    }
    return carriesSomething ? request : nullptr;
}

void EditBuilder::finishedUploading(const HTTPRequestPtr& request)
{
    if (!request || !m_uploads.removeOne(request))
        return;
    const auto guard = keepAlive();
    uploadEnded(*request);
    // Refused by the forum (whatever its code) or lost on the way: not taken.
    if (uploadRefusal(*request)) {
        uploadingFailed(request);
        return;
    }
    if (m_uploads.isEmpty())
        postEdit();
}

void EditBuilder::uploadingFailed(const HTTPRequestPtr& request)
{
    m_uploads.removeOne(request);
    const auto guard = keepAlive();
    dismissNotice();
    // A closed forum has said so in its own alert.
    if (!request->outcome().is(RequestOutcome::Kind::ForumClosed))
        showAlertViewForEditSuccess(false);
    // Not sent: the text stays for another try.
    setRequestStatus(BuilderStatus::Failed);
    notifyChanged();
}

void EditBuilder::postEdit()
{
    // The edit needs the form's hash: it goes when the form has come.
    if (posthash().isNull()) {
        m_sendWhenPrepared = true;
        return;
    }
    m_sendWhenPrepared = false;
    setRequestStatus(BuilderStatus::Sending);
    ValueDict params{{QStringLiteral("postid"), Value(QString::number(m_postid))},
                     {QStringLiteral("message"), Value(PostingForm::text(message()))},
                     {QStringLiteral("title"), Value(PostingForm::text(title()))}};
    PostingForm::addFixedFields(params);
    params.insert(QStringLiteral("poststarttime"), Value(QString::number(poststarttime())));
    params.insert(QStringLiteral("posthash"), Value(posthash()));
    m_sending = sendCreating(QStringLiteral("editpost_updatepost"), params);
}

HTTPRequestPtr EditBuilder::askForFreshForm()
{
    return sendFormRenewal(QStringLiteral("editpost_editpost"), {{QStringLiteral("postid"), Value(QString::number(m_postid))}});
}

HTTPRequestPtr EditBuilder::lookForSentContent()
{
    // The parameter travels in the body, as a post's own look does.
    return sendLookup(QStringLiteral("showthread"), {{QStringLiteral("postid"), Value(QString::number(m_postid))}});
}

bool EditBuilder::holdsSentContent(const RequestOutcome& answer)
{
    const QList<PostPtr> posts = Post::postsOfPostbits(answer.dictionary()[u"postbits"]);
    return std::any_of(posts.cbegin(), posts.cend(), [&](const PostPtr& post) {
        return post->postid() == m_postid && PostingForm::sameText(message(), post->sourceBbcode());
    });
}

// ---- Answers

void EditBuilder::setFromRequest(const HTTPRequestPtr& request)
{
    if (!request)
        return;
    const auto guard = keepAlive();
    const bool isTheEdit = m_sending.lock() == request;
    if (isTheEdit) {
        m_sending.reset();
        setRequestStatus(BuilderStatus::Failed);
    }
    Model::setFromRequest(request);
    if (isTheEdit)
        return;
    // The form's answer: an edit waiting for it goes now, or fails with it.
    if (m_sendWhenPrepared) {
        if (!posthash().isNull()) {
            postEdit();
        } else {
            m_sendWhenPrepared = false;
            setRequestStatus(BuilderStatus::Failed);
            notifyChanged();
        }
    }
}

void EditBuilder::setErrormessage(const Value& code)
{
    if (!m_uploads.isEmpty()) {
        setRequestStatus(BuilderStatus::Sending);
    } else if (wasSent(code)) {
        if (alreadyPosted())
            showEditAlert(QStringLiteral("edit_already_saved"));
        else
            showAlertViewForEditSuccess(true);
        setRequestStatus(BuilderStatus::Sent);
    }
    reloadThread();
    notifyChanged();
}

bool EditBuilder::wasSent(const Value& code) const
{
    static const QStringList codes = {QStringLiteral("redirect_postthanks"),     QStringLiteral("redirect_postthanks_moderate"),
                                      QStringLiteral("redirect_editthanks"),     QStringLiteral("blog_editthanks_notify"),
                                      QStringLiteral("blog_entrythanks_notify"), QStringLiteral("redirect_blog_entrythanks")};
    const Value first = code.isList() ? code.at(0) : code;
    return first.isString() && codes.contains(first.string());
}

void EditBuilder::reloadThread()
{
    if (const std::shared_ptr<Post> edited = m_post.lock()) {
        if (const std::shared_ptr<Thread> thread = edited->thread())
            thread->reload();
    }
}

void EditBuilder::showAlertViewForEditSuccess(bool success)
{
    showEditAlert(success ? QStringLiteral("edit_successfully") : QStringLiteral("error"));
}

void EditBuilder::showEditAlert(const QString& key)
{
    const std::shared_ptr<AlertView> alert =
        AlertView::create(localized(key), QString(), nullptr, QStringList());
    alert->show();
    // The alert goes by itself, whoever is still there.
    const std::weak_ptr<AlertView> shown = alert;
    Clock::current().schedule(AlertMs, false, [shown] {
        if (const std::shared_ptr<AlertView> stillShown = shown.lock())
            stillShown->dismissWithoutButton();
    });
}
