#include "forum/screens/EditPost.h"

#include "forum/screens/PostDetailsController.h"

#include "platform/ui/NavigationController.h"

#include "platform/foundation/AlertView.h"
#include "platform/foundation/Localized.h"

EditPost::EditPost(AppContext& context)
    : Editor(context)
{
    setTitle(localized("tabbar_edit"));
}

EditPost::~EditPost() = default;

void EditPost::viewDidLoad()
{
    Editor::viewDidLoad();
    setPublishAreaHidden(true);
    setSubmitEnabled(isPrepared());
    fillFromForm();
}

void EditPost::setPost(const PostPtr& post)
{
    m_post = post;
    if (!post)
        return;
    m_editBuilderObservation.reset();
    m_editBuilder = EditBuilder::initWithPost(post);
    m_editBuilderObservation.observe(m_editBuilder, this);
    if (isViewLoaded())
        setSubmitEnabled(false);
}

bool EditPost::isPrepared() const
{
    return m_editBuilder && !m_editBuilder->posthash().isNull();
}

void EditPost::fillFromForm()
{
    if (!isViewLoaded() || !isPrepared() || m_editBuilder->requestStatus() != BuilderStatus::Idle)
        return;
    if (messageTitle()->text().isEmpty())
        messageTitle()->setText(m_editBuilder->title());
    // The whole text from the form: a long post's own shows only a notice.
    if (isBlank(messageText())) {
        const QString bbcode = m_editBuilder->message_bbcode();
        setMessageText(bbcode.isNull() ? m_editBuilder->message() : bbcode);
    }
}

void EditPost::done()
{
    if (!m_editBuilder || !isPrepared() || m_editBuilder->requestStatus() == BuilderStatus::Sending)
        return;
    const QString text = messageText();
    if (isBlank(text)) {
        AlertView::create(localized("create_error_title"), localized("create_missing_field"), nullptr,
                          {localized("ok")})
            ->show();
        return;
    }
    m_editBuilder->setTitle(messageTitle()->text());
    m_editBuilder->setMessage(text);
    m_editBuilder->setAttachments(attachmentsToSend());
    Editor::done();
    const Error refused = m_editBuilder->create();
    if (refused.isSet()) {
        stopLoading();
        AlertView::create(localized("create_error_title"), refused.description(), nullptr, {localized("ok")})->show();
    }
}

void EditPost::modelHasChanged(Model* model)
{
    if (!m_editBuilder || model != m_editBuilder.get() || !isViewLoaded())
        return;
    switch (m_editBuilder->requestStatus()) {
    case BuilderStatus::Idle:
        fillFromForm();
        setSubmitEnabled(isPrepared());
        break;
    case BuilderStatus::Sent:
        stopLoading();
        returnToThread();
        break;
    case BuilderStatus::Failed:
        stopLoading();
        break;
    case BuilderStatus::Sending:
        break;
    }
}

void EditPost::returnToThread()
{
    NavigationController* navigation = navigationController();
    if (!navigation || !isOnStack())
        return;
    QList<ViewControllerPtr> kept;
    for (const ViewControllerPtr& screen : navigation->viewControllers()) {
        if (screen.get() != this && !dynamic_cast<PostDetailsController*>(screen.get()))
            kept.append(screen);
    }
    if (content()->isFirstResponder())
        content()->resignFirstResponder();
    navigation->setViewControllers(kept, false);
}
