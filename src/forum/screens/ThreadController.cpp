#include "forum/screens/ThreadController.h"

#include "app/session/AppContext.h"

#include "app/config/ConnectionError.h"
#include "app/config/Customizer.h"
#include "app/navigation/ScreenInputs.h"
#include "app/session/CurrentUser.h"
#include "app/widgets/LoadCellNib.h"
#include "app/widgets/PaginableTableView.h"
#include "app/widgets/RoundedRectView.h"
#include "app/widgets/ShadowedTableView.h"
#include "app/widgets/TabBarHidding.h"
#include "forum/cells/ForumCell.h"
#include "forum/cells/SubforumsHeader.h"
#include "forum/cells/ThreadCell.h"
#include "forum/model/Announcement.h"
#include "forum/model/Thread.h"
#include "forum/screens/AnnouncementDetailsController.h"
#include "forum/screens/WritingButton.h"
#include "services/ads/AdMediationView.h"

#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Font.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/ResourceImages.h"
#include "platform/ui/ViewControllerRegistry.h"

#include "platform/foundation/Localized.h"
#include "platform/foundation/StringExtensions.h"
#include "platform/foundation/TextFormat.h"

ThreadController::ThreadController(AppContext& context) : m_context(context) {}

ThreadController::~ThreadController()
{
    // The outlets went with the view, if it has gone.
    if (isViewLoaded()) {
        m_actions->setDelegate(nullptr);
        m_threadTable->setDelegate(nullptr);
    }
    if (m_header)
        m_header->setDelegate(nullptr);
}

void ThreadController::setForum(const ForumPtr& forum)
{
    if (forum == m_forum)
        return;
    m_forumObservation.reset();
    m_forum = forum;
    setTitle(titleForTheFirstSection());
    updateLayout();
    m_forumObservation.observe(m_forum, this);
}

QList<TabBarItemPtr> ThreadController::makeActionItems()
{
    m_refresh = std::make_shared<TabBarItem>(localized("tabbar_reload"), ResourceImages::named(QStringLiteral("tab_reload.png")),
                                             ReloadItem);
    m_subscribe = std::make_shared<TabBarItem>(localized("tabbar_subscribe"),
                                               ResourceImages::named(QStringLiteral("tab_subscribe.png")), SubscribeItem);
    m_moderate = std::make_shared<TabBarItem>(localized("tabbar_moderate"),
                                              ResourceImages::named(QStringLiteral("tab_moderate.png")), ModerateItem);
    m_search = std::make_shared<TabBarItem>(localized("tabbar_search"), ResourceImages::named(QStringLiteral("tab_search.png")),
                                            SearchItem);
    return {m_refresh, m_subscribe, m_moderate, m_search};
}

void ThreadController::buildNib(View* root)
{
    const qreal width = root->frame().width();
    m_threadTable = new PaginableTableView(QRectF(0, 0, width, kContentHeight));
    m_threadTable->setAutoresizingMask(Autoresizing::FlexibleWidth);
    m_threadTable->tableView()->setChoosesRowsByKeyboard(true);
    root->addSubview(m_threadTable);

    m_actions = new TabBarHidding(QRectF(0, kContentHeight, width, TabBar::kHeight));
    // Placed by the numbers, as the list is: the screen may be loaded before
    // the navigation bar takes its room.
    m_actions->setAutoresizingMask(Autoresizing::FlexibleWidth);
    m_actions->setItems(makeActionItems());
    m_actions->awakeFromNib();
    root->addSubview(m_actions);

    // The loading box in the middle of the list, until the first answer.
    m_loadingWrapper = new View(QRectF(0, 0, width, kContentHeight));
    m_loadingWrapper->setAutoresizingMask(Autoresizing::FlexibleWidth);
    m_loadingWrapper->setBackgroundColor(Qt::transparent);
    m_loadingWrapper->setOpaque(false);
    m_loadingWrapper->setUserInteractionEnabled(false);
    m_loading = new RoundedRectView(QRectF((width - 130) / 2, 130, 130, 90));
    auto* wheel = new ActivityIndicatorView(ActivityIndicatorStyle::WhiteLarge);
    wheel->setFrame(QRectF(47, 14, 37, 37));
    wheel->startAnimating();
    m_loading->addSubview(wheel);
    m_loadingText = new Label(QRectF(5, 56, 120, 22));
    m_loadingText->setFont(Font::fontWithName(QStringLiteral("Helvetica-Bold"), 14));
    m_loadingText->setTextColor(Qt::white);
    m_loadingText->setTextAlignment(TextAlignment::Center);
    m_loadingText->setBackgroundColor(Qt::transparent);
    m_loadingText->setOpaque(false);
    m_loadingText->setText(localized("loading"));
    m_loading->addSubview(m_loadingText);
    m_loadingWrapper->addSubview(m_loading);
    root->addSubview(m_loadingWrapper);
}

void ThreadController::viewDidLoad()
{
    UIViewControllerCommon::viewDidLoad();
    const QColor button = Customizer::getInstance().colorForKey(kColorBackgroundButton);
    m_loading->setCornerRadius(kLoadingCornerRadius);
    m_loading->setStrokeColor(button);
    m_loading->setRectColor(button);
    m_actions->setDelegate(this);
    m_threadTable->setDelegate(this);
    // Page 1 starts loading.
    m_threadTable->setModel(m_forum);
    hideLoadingWhenIdle();
    requestFooterBanner();
    updateLayout();
}

void ThreadController::viewWillAppear(bool)
{
    // Composing comes with its own screen, for a member.
    WritingButton::update(*this, *context().currentUser(), BarButtonSystemItem::Compose,
                          ScreenInputs::canCreate(kComposeScreen), &ThreadController::createPost);
    m_threadTable->reloadData();
    // Back from a thread: the page seen last, afresh.
    if (m_forum && !m_forum->hasRequests())
        m_forum->fetchPage(std::max(1, int(m_forum->pagenumber())));
}

void ThreadController::createPost()
{
    if (const ViewControllerPtr editor = ScreenInputs::create(kComposeScreen, m_forum))
        if (NavigationController* navigation = navigationController())
            navigation->pushViewController(editor, true);
}

void ThreadController::updateLayout()
{
    // setForum may come before the screen is shown, a model's news after its view has gone.
    if (!isViewLoaded())
        return;
    AdMediationView* banner = footerBanner();
    const QRectF b = banner ? banner->frame() : QRectF();
    if (banner)
        banner->setFrame(QRectF(b.x(), kContentHeight - b.height(), b.width(), b.height()));
    QRectF t = m_threadTable->frame();
    t.setHeight(kContentHeight - (t.y() + b.height()));
    m_threadTable->setFrame(t);
    updateActionItems();
}

void ThreadController::updateActionItems()
{
    m_refresh->setTitle(localized("tabbar_reload"));
    m_subscribe->setTitle(m_forum && m_forum->isSubscribed() ? localized("tabbar_unsubscribe") : localized("tabbar_subscribe"));
    m_moderate->setTitle(localized("tabbar_moderate"));
    m_actions->setHidden(false);
    if (context().currentUser()->isMember())
        m_actions->showButtonAtIndex(SubscribeItem);
    else
        m_actions->hideButtonAtIndex(SubscribeItem);
    if (m_forum && m_forum->canModerate() && ScreenInputs::canCreate(kModerateScreen))
        m_actions->showButtonAtIndex(ModerateItem);
    else
        m_actions->hideButtonAtIndex(ModerateItem);
    if (m_forum && m_forum->canSearchForums() && ScreenInputs::canCreate(kSearchScreen))
        m_actions->showButtonAtIndex(SearchItem);
    else
        m_actions->hideButtonAtIndex(SearchItem);
    m_actions->itemsChanged();
}

void ThreadController::hideLoadingWhenIdle()
{
    if (isViewLoaded() && (!m_forum || !m_forum->hasRequests()))
        m_loadingWrapper->setHidden(true);
}

void ThreadController::modelHasChanged(Model* model)
{
    if (!m_forum || model != m_forum.get())
        return;
    setTitle(titleForTheFirstSection());
    // The subforums' count follows the forum.
    if (m_header)
        m_header->setTitleText(TextFormat::fill(localized("subforums"), {Value(int(m_forum->children().size()))}));
    if (isViewLoaded())
        m_threadTable->reloadData();
    updateLayout();
    hideLoadingWhenIdle();
}

bool ThreadController::modelHasFailedToUpdate(Model* model, const Error& error)
{
    ConnectionError::showMessage(error);
    // Nothing is coming: the box would wait for ever.
    if (m_forum && model == m_forum.get())
        hideLoadingWhenIdle();
    return true;
}

TableViewCell* ThreadController::cellForObject(PaginableTableView* tableView, const ModelPtr& object)
{
    if (const auto thread = std::dynamic_pointer_cast<Thread>(object)) {
        ThreadCell* cell = loadCellNibForTableView<ThreadCell>(tableView->tableView());
        cell->setThread(thread);
        return cell;
    }
    if (const auto forum = std::dynamic_pointer_cast<Forum>(object)) {
        ForumCell* cell = loadCellNibForTableView<ForumCell>(tableView->tableView());
        cell->setForum(forum);
        return cell;
    }
    // Nothing to show: an empty row of no height.
    return new TableViewCell();
}

qreal ThreadController::heightForCellWithObject(PaginableTableView*, const ModelPtr& object)
{
    if (std::dynamic_pointer_cast<Thread>(object))
        return ThreadCell::height();
    if (const auto forum = std::dynamic_pointer_cast<Forum>(object))
        return ForumCell::heightForForum(forum);
    return 0;
}

View* ThreadController::viewForHeaderInSection(PaginableTableView* tableView, int section)
{
    // The subforums open before the first page's threads only: a list that
    // starts later has the forum's title over it.
    if (section != 0 || !m_forum || m_forum->children().isEmpty() || !tableView || tableView->pageForSection(0) != 1)
        return nullptr;
    if (!m_header) {
        m_header = new SubforumsHeader();
        m_header->setShowChilds(false);
        m_header->setDelegate(this);
    }
    m_header->setTitleText(TextFormat::fill(localized("subforums"), {Value(int(m_forum->children().size()))}));
    return m_header;
}

std::optional<int> ThreadController::numberOfSectionsInTableView(PaginableTableView*)
{
    return 1;
}

QString ThreadController::titleForTheFirstSection()
{
    // Never a null text: the first section always has its header. The
    // forum's answers write "&" as "&amp;".
    const QString title = m_forum ? m_forum->title_clean() : QString();
    return title.isNull() ? QStringLiteral("") : StringExtensions::replaceAmpersands(title);
}

std::optional<QList<ModelPtr>> ThreadController::prependArrayOfObjects()
{
    QList<ModelPtr> rows;
    // Only before the first page's threads: a list that starts at a later
    // page starts with its threads.
    if (!m_forum || !isViewLoaded() || m_threadTable->pageForSection(0) != 1)
        return rows;
    if (m_header && m_header->showChilds()) {
        for (const ForumPtr& child : m_forum->children())
            rows.append(child);
    }
    for (const ThreadPtr& announcement : m_forum->announcements())
        rows.append(announcement);
    for (const ThreadPtr& sticky : m_forum->stickies())
        rows.append(sticky);
    return rows;
}

void ThreadController::didSelectCell(TableViewCell*, const ModelPtr& object)
{
    NavigationController* navigation = navigationController();
    if (!navigation)
        return;
    if (const auto thread = std::dynamic_pointer_cast<Thread>(object)) {
        if (thread->isAnnouncement()) {
            auto announcement = std::make_shared<Announcement>();
            announcement->setForum(thread->forum());
            announcement->setAnnouncementid(thread->threadid());
            auto screen = std::make_shared<AnnouncementDetailsController>(context());
            screen->setAnnouncement(announcement);
            navigation->pushViewController(screen, true);
        } else if (const ViewControllerPtr page = ScreenInputs::create(kThreadScreen, thread)) {
            navigation->pushViewController(page, true);
        }
    } else if (const auto forum = std::dynamic_pointer_cast<Forum>(object)) {
        auto threads = std::make_shared<ThreadController>(context());
        threads->setForum(forum);
        navigation->pushViewController(threads, true);
    }
}

void ThreadController::subforumsHeaderHasChanged(SubforumsHeader*)
{
    if (isViewLoaded())
        m_threadTable->reloadData();
}

void ThreadController::didSelectItem(TabBar*, const TabBarItemPtr& item)
{
    if (!isViewLoaded())
        return;
    const int index = m_actions->initialIndexOfItem(item);
    m_actions->setSelectedItem(nullptr);
    switch (index) {
    case ReloadItem:
        m_threadTable->refreshModel();
        break;
    case SubscribeItem: {
        if (!m_forum)
            break;
        const bool subscribed = m_forum->isSubscribed();
        const auto alert = AlertView::create(localized("title_subscription"),
                                             subscribed ? localized("forum_unsubscribe") : localized("forum_subscribe"), this,
                                             {localized("cancel"), localized("yes")});
        m_subscriptionAlert = alert;
        alert->show();
        break;
    }
    case ModerateItem:
        if (const ViewControllerPtr screen = ScreenInputs::create(kModerateScreen, m_forum))
            if (NavigationController* navigation = navigationController())
                navigation->pushViewController(screen, true);
        break;
    case SearchItem:
        if (const ViewControllerPtr screen = ScreenInputs::create(kSearchScreen, m_forum))
            if (NavigationController* navigation = navigationController())
                navigation->pushViewController(screen, true);
        break;
    default:
        break;
    }
}

void ThreadController::clickedButtonAtIndex(AlertView* alertView, int buttonIndex)
{
    if (alertView != m_subscriptionAlert.lock().get() || buttonIndex != 1 || !m_forum)
        return;
    if (m_forum->isSubscribed())
        m_forum->unsubscribe();
    else
        m_forum->subscribe();
    // The item's title changes at once.
    modelHasChanged(m_forum.get());
}
