#include "forum/screens/CreateContent.h"

#include "app/session/AppContext.h"

#include "forum/model/Thread.h"
#include "forum/screens/EditorPublishArea.h"
#include "forum/cells/HomeContent.h"
#include "forum/screens/PostController.h"
#include "forum/screens/PublishSettingsScreen.h"
#include "forum/screens/SelectForumController.h"
#include "forum/screens/SelectThreadPrefix.h"

#include "app/model/Config.h"
#include "app/model/ModelMakers.h"
#include "app/navigation/ScreenInputs.h"
#include "app/widgets/SegmentControlHidding.h"

#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/ViewControllerRegistry.h"

#include "platform/foundation/AlertView.h"
#include "platform/foundation/DateFormatter.h"
#include "platform/foundation/Localized.h"
#include "platform/foundation/StringExtensions.h"
#include "platform/foundation/TextFormat.h"

CreateContent::CreateContent(AppContext& context)
    : Editor(context)
{
}

// The result alert outlives the screen it closed: it answers nobody then.
CreateContent::~CreateContent() = default;

void CreateContent::viewDidLoad()
{
    Editor::viewDidLoad();
    const Config& config = context().config();
    if (!config.isFeatureEnabled(Config::CmsEnabled))
        setPublishChoiceShown(EditorPublishArea::Article, false);
    if (!config.isFeatureEnabled(Config::BlogEnabled))
        setPublishChoiceShown(EditorPublishArea::Blog, false);
    setAttachmentAllowed(false);
    // A forum given before the view was made.
    if (forum())
        applyForum();
    if (m_threadBuilder)
        modelHasChanged(m_threadBuilder.get());
}

void CreateContent::viewWillAppear(bool animated)
{
    Editor::viewWillAppear(animated);
    // Back from a picker without a choice: nothing is chosen, and nothing can be sent.
    if (m_selContentType != NoContentType && !builderFor(m_selContentType)) {
        selectPublishPosition(-1);
        m_selContentType = NoContentType;
    }
}

// ---- Where it goes

void CreateContent::setForum(const ForumPtr& forum)
{
    m_forum = forum;
    m_selContentType = ThreadContent;
    if (forum) {
        m_threadBuilderObservation.reset();
        m_threadBuilder = ThreadBuilder::initWithForum(forum);
        m_threadBuilderObservation.observe(m_threadBuilder, this);
    }
    if (isViewLoaded())
        applyForum();
}

void CreateContent::applyForum()
{
    const ForumPtr chosen = forum();
    selectPublishPosition(EditorPublishArea::Forum);
    publishArea()->forumName()->setText(
        chosen ? StringExtensions::replaceAmpersands(chosen->title_clean()) : QString());
    publishArea()->changePublishBtn()->setSelectedSegmentIndex(SegmentedControl::NoSegment);
    changePublishViewWith(publishArea()->selectedForumInfo());
    // The new form says what this forum allows.
    enableThreadPrefix(false);
    setTagsEnabled(false);
    setAttachmentAllowed(false);
}

bool CreateContent::forumWasSelected(const ForumPtr& forum)
{
    setForum(forum);
    return true;
}

void CreateContent::changedPublish()
{
    const int position = publishArea()->publishIn()->selectedSegmentIndex();
    ViewControllerPtr screen;
    if (position == BlogContent || position == ArticleContent) {
        screen = ViewControllerRegistry::create(position == BlogContent ? kBlogSettingsScreen : kArticleSettingsScreen);
        if (auto* settings = dynamic_cast<PublishSettingsScreen*>(screen.get()))
            settings->setController(this);
        else
            screen.reset();
    } else if (position == ThreadContent) {
        auto picker = std::make_shared<SelectForumController>(context());
        picker->setDelegate(this);
        screen = picker;
    }
    NavigationController* navigation = navigationController();
    if (!screen || !navigation) {
        selectPublishPosition(-1);
        m_selContentType = NoContentType;
        return;
    }
    m_selContentType = position;
    openAccessory(screen, publishArea());
}

void CreateContent::changePublish()
{
    Editor::changePublish();
    m_forum.reset();
    dropBuilders();
    m_selContentType = NoContentType;
    setTagsEnabled(false);
    setAttachmentAllowed(false);
    enableThreadPrefix(false);
}

void CreateContent::changePublishViewWith(View* target)
{
    publishArea()->showTarget(target);
    updateLayout();
}

void CreateContent::setBuilder(PublishingBuilderPtr& slot, Observation& observation, const PublishingBuilderPtr& builder)
{
    slot = builder;
    observation.observe(slot, this);
}

void CreateContent::blogWasSet(const PublishingBuilderPtr& builder)
{
    setBuilder(m_blogBuilder, m_blogBuilderObservation, builder);
    if (!builder)
        return;
    m_selContentType = BlogContent;
    selectPublishPosition(EditorPublishArea::Blog);
    showPublishedSettings(*builder, BlogContent);
    setTagsEnabled(builder->canCreateTags());
    setAttachmentAllowed(builder->canpostattachment());
}

void CreateContent::articleWasSet(const PublishingBuilderPtr& builder)
{
    setBuilder(m_articleBuilder, m_articleBuilderObservation, builder);
    if (!builder)
        return;
    m_selContentType = ArticleContent;
    selectPublishPosition(EditorPublishArea::Article);
    showPublishedSettings(*builder, ArticleContent);
    setTagsEnabled(true);
    setAttachmentAllowed(builder->canpostattachment());
}

void CreateContent::editBlogPost(const PublishingBuilderPtr& builder)
{
    if (!builder)
        return;
    // The fields are filled now, so they must exist.
    view();
    setBuilder(m_blogBuilder, m_blogBuilderObservation, builder);
    fillWithContent(*builder);
    m_selContentType = BlogContent;
    blogWasSet(builder);
}

void CreateContent::editArticlePost(const PublishingBuilderPtr& builder)
{
    if (!builder)
        return;
    view();
    setBuilder(m_articleBuilder, m_articleBuilderObservation, builder);
    fillWithContent(*builder);
    m_selContentType = ArticleContent;
    setTagsEnabled(true);
    articleWasSet(builder);
}

void CreateContent::fillWithContent(const PublishingBuilder& builder)
{
    messageTitle()->setText(builder.contentTitle());
    setMessageText(builder.contentText());
}

void CreateContent::showPublishedSettings(const PublishingBuilder& builder, int which)
{
    if (!isViewLoaded())
        return;
    EditorPublishArea* area = publishArea();
    const bool blog = which == BlogContent;
    QString status = builder.getPublishStatus();
    if (status == localized("publish_on"))
        status = TextFormat::fill(QStringLiteral("%@\n%@"), {Value(status), Value(getDateText(which == BlogContent ? 1 : 2))});
    (blog ? area->selectedBlogCategorys() : area->selectedArticleCategorys())
        ->setText(builder.getCsvOfSelectedCategorysTitles());
    (blog ? area->selectedBlogPublishStatus() : area->selectedArticlePublishStatus())->setText(status);
    (blog ? area->changePublishBlogBtn() : area->changePublishArticleBtn())
        ->setSelectedSegmentIndex(SegmentedControl::NoSegment);
    changePublishViewWith(blog ? area->selectedBlogOptions() : area->selectedArticleOptions());
}

QString CreateContent::getDateText(int which) const
{
    const PublishingBuilderPtr& builder = which == 1 ? m_blogBuilder : which == 2 ? m_articleBuilder : nullptr;
    if (!builder || !builder->publishDate().isValid())
        return QString();
    const DateFormatter formatter(kDatePattern, QStringLiteral("en_US_POSIX"), QTimeZone::systemTimeZone());
    return formatter.format(builder->publishDate());
}

// ---- The thread prefix

void CreateContent::selectPrefix()
{
    if (!m_threadBuilder || !navigationController())
        return;
    auto prefixes = std::make_shared<SelectThreadPrefix>();
    prefixes->setPrefixes(m_threadBuilder->prefix_options());
    prefixes->setDelegate(this);
    openAccessory(prefixes, selectPrefixButton());
}

bool CreateContent::prefixSelectedWithValue(const Value& value, const QString& title)
{
    if (!m_threadBuilder)
        return false;
    prefixTitle()->setText(title);
    m_threadBuilder->setThreadPrefix(value.isNumeric() ? value.numberText() : value.toString());
    return true;
}

// ---- Sending

Builder* CreateContent::builderFor(int type) const
{
    switch (type) {
    case ThreadContent:
        return m_threadBuilder.get();
    case ArticleContent:
        return m_articleBuilder.get();
    case BlogContent:
        return m_blogBuilder.get();
    default:
        return nullptr;
    }
}

void CreateContent::alert(const QString& titleKey, const QString& message)
{
    AlertView::create(localized(titleKey), message, nullptr, {localized("ok")})->show();
}

void CreateContent::done()
{
    QString missing;
    if (messageTitle()->text().trimmed().isEmpty())
        missing = localized("create_missing_field");
    else if (isBlank(messageText()))
        missing = localized("create_blank_content");
    // Nothing chosen, or a choice left without its target.
    Builder* builder = builderFor(m_selContentType);
    if (!builder) {
        alert(QStringLiteral("no_content_type_selected"), localized("please_select_where_your"));
        return;
    }
    if (!missing.isEmpty()) {
        alert(QStringLiteral("create_error_title"), missing);
        return;
    }
    if (builder->requestStatus() == BuilderStatus::Sending)
        return;
    // Busy first: a refusal that comes at once stops it again.
    Editor::done();
    const Error refused = createContent();
    if (refused.isSet()) {
        stopLoading();
        alert(QStringLiteral("create_error_title"), refused.description());
    }
}

Error CreateContent::createContent()
{
    Builder* builder = builderFor(m_selContentType);
    if (!builder)
        return Error();
    builder->setTitle(messageTitle()->text());
    builder->setMessage(messageText());
    builder->setTags(draft().tagsToSend());
    builder->setAttachments(attachmentsToSend());
    if (m_selContentType == ThreadContent)
        return m_threadBuilder->create();
    auto* published = static_cast<PublishingBuilder*>(builder);
    return published->send();
}

void CreateContent::modelHasChanged(Model* model)
{
    auto* builder = dynamic_cast<Builder*>(model);
    if (!builder || (builder != m_threadBuilder.get() && builder != m_blogBuilder.get()
                     && builder != m_articleBuilder.get()))
        return;
    if (!isViewLoaded())
        return;
    const std::shared_ptr<ViewController> guard = weak_from_this().lock();
    switch (builder->requestStatus()) {
    case BuilderStatus::Sending:
        Editor::done();
        break;
    case BuilderStatus::Sent:
        stopLoading();
        if (m_resultType == NoContentType)
            showResult(*builder);
        break;
    case BuilderStatus::Failed:
        stopLoading();
        break;
    case BuilderStatus::Idle:
        break;
    }
    setAttachmentAllowed(builder->canpostattachment());
    const bool threadChoice = publishArea()->publishIn()->selectedSegmentIndex() == EditorPublishArea::Forum;
    enableThreadPrefix(builder == m_threadBuilder.get() && threadChoice
                       && m_threadBuilder->prefix_options().size() > 0);
    setTagsEnabled(builder == m_articleBuilder.get() || builder->canCreateTags());
}

void CreateContent::showResult(Builder& builder)
{
    QString title = localized("published_title");
    QString message;
    QString view;
    if (&builder == m_threadBuilder.get()) {
        m_resultType = ThreadContent;
        if (m_threadBuilder->awaitsApproval()) {
            // Nobody, its author included, can open it before a moderator
            // has: nothing to offer, and the screen has done its work.
            m_viewNewContent = m_threadBuilder->announceApproval(QStringLiteral("thread_awaits_approval"), this);
            popSelf(true);
            return;
        }
        message = localized(m_threadBuilder->alreadyPosted() ? "thread_already_posted" : "create_ok_thread");
        if (m_threadBuilder->threadid() >= 1)
            view = localized("view_post");
    } else if (&builder == m_blogBuilder.get()) {
        m_resultType = BlogContent;
        message = localized("create_ok_blog");
        if (m_blogBuilder->publishedId() >= 1)
            view = localized("view_blog");
    } else {
        m_resultType = ArticleContent;
        title = localized("create_ok_article");
        message = localized("your_article_just_created");
        if (m_articleBuilder->publishedId() >= 1 && m_articleBuilder->content())
            view = localized("view_article");
    }
    const QStringList buttons = view.isEmpty() ? QStringList{localized("ok")}
                                               : QStringList{view, localized("create_go_home")};
    m_viewNewContent = AlertView::create(title, message, this, buttons);
    // Escape leaves, as "create_go_home" does: the screen has done its work.
    m_viewNewContent->setCancelButtonIndex(int(buttons.size()) - 1);
    m_viewNewContent->show();
    // Nothing to open: the screen has done its work.
    if (buttons.size() == 1)
        popSelf(true);
}

void CreateContent::clickedButtonAtIndex(AlertView* alertView, int buttonIndex)
{
    if (alertView && alertView == m_viewNewContent.get()) {
        // Only while this screen is still where the alert was asked from.
        if (isOnStack() && alertView->buttonTitles().size() > 1) {
            const ViewControllerPtr content = buttonIndex == 0 ? newContentScreen() : nullptr;
            if (content)
                replaceSelfWith(content);
            else
                popSelf(true);
        }
    }
}

ViewControllerPtr CreateContent::newContentScreen() const
{
    switch (m_resultType) {
    case ThreadContent: {
        if (!m_threadBuilder || m_threadBuilder->threadid() < 1 || m_threadBuilder->awaitsApproval())
            return nullptr;
        const ThreadPtr thread = Thread::initWithThreadid(m_threadBuilder->threadid());
        thread->setThreadtitle(m_threadBuilder->title());
        thread->setForum(m_threadBuilder->forum());
        auto page = std::make_shared<PostController>(context());
        page->setThread(thread);
        return page;
    }
    case BlogContent: {
        if (!m_blogBuilder || m_blogBuilder->publishedId() < 1)
            return nullptr;
        // Fetched afresh; what was written shows until the forum's answer
        // comes. It is BB-code: the entry's own text, never its HTML.
        const ModelPtr entry = ModelMakers::make(
            kBlogEntryModel, {{QStringLiteral("blogid"), Value(QString::number(m_blogBuilder->publishedId()))}});
        if (!entry)
            return nullptr;
        entry->setDictionary(Value(ValueDict{{QStringLiteral("blogtitle"), Value(m_blogBuilder->title())},
                                             {QStringLiteral("pagetext"), Value(m_blogBuilder->message())}}));
        return ScreenInputs::create(HomeContent::kBlogEntryScreen, entry);
    }
    case ArticleContent:
        if (!m_articleBuilder || m_articleBuilder->publishedId() < 1 || !m_articleBuilder->content())
            return nullptr;
        return ScreenInputs::create(HomeContent::kArticleScreen, m_articleBuilder->content());
    default:
        return nullptr;
    }
}

void CreateContent::replaceSelfWith(const ViewControllerPtr& screen)
{
    NavigationController* navigation = navigationController();
    if (!navigation)
        return;
    QList<ViewControllerPtr> stack = navigation->viewControllers();
    for (ViewControllerPtr& shown : stack) {
        if (shown.get() == this)
            shown = screen;
    }
    navigation->setViewControllers(stack, false);
}

void CreateContent::dropBuilders()
{
    m_threadBuilderObservation.reset();
    m_threadBuilder.reset();
    setBuilder(m_blogBuilder, m_blogBuilderObservation, nullptr);
    setBuilder(m_articleBuilder, m_articleBuilderObservation, nullptr);
}
