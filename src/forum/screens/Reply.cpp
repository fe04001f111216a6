#include "forum/screens/Reply.h"

#include "forum/model/Forum.h"

#include "platform/foundation/AlertView.h"
#include "platform/foundation/Localized.h"

Reply::Reply(AppContext& context)
    : Editor(context)
{
    setTitle(localized("reply"));
}

Reply::~Reply() = default;

void Reply::viewDidLoad()
{
    Editor::viewDidLoad();
    messageTitle()->setText(QString());
    setPublishAreaHidden(true);
    setAttachmentAllowed(m_replyBuilder && m_replyBuilder->canpostattachment());
    if (!m_pendingText.isNull())
        setMessageText(std::exchange(m_pendingText, QString()));
}

void Reply::setBuilder(const ReplyBuilderPtr& builder)
{
    m_replyBuilder = builder;
    m_replyBuilderObservation.observe(m_replyBuilder, this);
    if (isViewLoaded())
        messageTitle()->setText(QString());
}

void Reply::setThread(const ThreadPtr& thread)
{
    m_thread = thread;
    if (!thread)
        return;
    const ReplyBuilderPtr builder = ReplyBuilder::initWithThread(thread);
    builder->setForum(thread->forum());
    setBuilder(builder);
}

void Reply::setPost(const PostPtr& post)
{
    m_post = post;
    if (post)
        setBuilder(ReplyBuilder::initWithPost(post));
}

void Reply::setText(const QString& text)
{
    if (!isViewLoaded()) {
        m_pendingText = text.isNull() ? QStringLiteral("") : text;
        return;
    }
    setMessageText(text);
}

void Reply::done()
{
    const QString text = messageText();
    if (isBlank(text)) {
        AlertView::create(localized("create_error_title"), localized("create_blank_content"), nullptr,
                          {localized("ok")})
            ->show();
        return;
    }
    if (!m_replyBuilder || m_replyBuilder->status() == BuilderStatus::Sending)
        return;
    m_replyBuilder->setTitle(messageTitle()->text());
    m_replyBuilder->setMessage(text);
    m_replyBuilder->setTags(draft().tagsToSend());
    m_replyBuilder->setAttachments(attachmentsToSend());
    Editor::done();
    m_replyBuilder->create();
}

void Reply::modelHasChanged(Model* model)
{
    if (!m_replyBuilder || model != m_replyBuilder.get() || !isViewLoaded())
        return;
    switch (m_replyBuilder->status()) {
    case BuilderStatus::Sent:
        // Its work done, the screen hears no more of the answer: what became
        // of the reply is said once.
        m_replyBuilderObservation.reset();
        stopLoading();
        m_replyBuilder->announceSent();
        popSelf(true);
        return;
    case BuilderStatus::Failed:
        stopLoading();
        break;
    default:
        break;
    }
    setAttachmentAllowed(m_replyBuilder->canpostattachment());
}
