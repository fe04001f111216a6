#include "forum/screens/PostController.h"

#include "app/session/AppContext.h"

#include "forum/cells/PostCell.h"
#include "forum/cells/PostCellIgnoreGlobal.h"
#include "forum/cells/PostCellUserIgnore.h"
#include "forum/cells/QuickReplyCell.h"
#include "forum/model/Forum.h"
#include "forum/screens/PostDetailsController.h"
#include "forum/screens/WritingButton.h"
#include "app/navigation/ScreenInputs.h"

#include "app/model/Config.h"
#include "app/config/ConnectionError.h"
#include "app/config/Customizer.h"
#include "app/session/CurrentUser.h"
#include "app/text/QuoteFormatter.h"
#include "app/widgets/LoadCellNib.h"
#include "app/widgets/PageNavView.h"
#include "app/widgets/PaginableTableView.h"
#include "app/widgets/RoundedRectView.h"
#include "app/widgets/ShadowedTableView.h"
#include "app/widgets/TabBarHidding.h"
#include "services/ads/AdMediationView.h"

#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Font.h"
#include "platform/ui/Keyboard.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/ResourceImages.h"

#include "platform/foundation/AlertView.h"
#include "platform/foundation/Localized.h"
#include "platform/foundation/StringExtensions.h"

PostController::PostController(AppContext& context) : m_context(context) {}

PostController::~PostController() = default;

void PostController::setThread(const ThreadPtr& thread)
{
    if (thread == m_thread)
        return;
    m_threadObservation.reset();
    m_thread = thread;
    m_showEvenIgnored.clear();
    m_heights.clear();
    // The reply form is asked for while the member reads; a guest has no row.
    m_quickReply = m_thread && context().currentUser()->isMember() ? QuickReply::initWithThread(m_thread) : nullptr;
    if (!m_thread)
        return;
    m_thread->setThreadtitle(StringExtensions::replaceAmpersands(m_thread->threadtitle()));
    setTitle(QuoteFormatter::titleText(m_thread->threadtitle()));
    m_threadObservation.observe(m_thread, this);
    m_thread->markAsRead();
}

TabBarItemPtr PostController::item(Item index) const
{
    if (!m_actions)
        return nullptr;
    const QList<TabBarItemPtr> items = m_actions->initialItems();
    return index < items.size() ? items.at(index) : nullptr;
}

QList<TabBarItemPtr> PostController::makeActionItems()
{
    const auto item = [](const char* title, const char* picture, Item index) {
        return std::make_shared<TabBarItem>(localized(title), ResourceImages::named(QString::fromLatin1(picture)), index);
    };
    return {item("tabbar_reload", "tab_reload.png", Reload), item("tabbar_subscribe", "tab_subscribe.png", Subscribe),
            item("tabbar_moderate", "tab_moderate.png", Moderate),
            item("search_in_thread", "tab_search.png", SearchInThread),
            item("tabbar_last_unread", "tab_first_unread.png", FirstUnread)};
}

void PostController::buildNib(View* root)
{
    m_postTable = new PaginableTableView(QRectF(0, 0, 320, kContentHeight));
    root->addSubview(m_postTable);

    m_actions = new TabBarHidding(QRectF(0, kContentHeight, 320, TabBar::kHeight));
    m_actions->setAutoresizingMask(Autoresizing::FlexibleTopMargin | Autoresizing::FlexibleWidth);
    m_actions->setItems(makeActionItems());
    m_actions->awakeFromNib();
    root->addSubview(m_actions);

    m_loadingWrapper = new View(QRectF(100, 150, 120, 60));
    m_loadingWrapper->setBackgroundColor(Qt::transparent);
    m_loadingWrapper->setOpaque(false);
    m_loadingWrapper->setAutoresizingMask(Autoresizing::FlexibleTopMargin | Autoresizing::FlexibleBottomMargin);
    m_loading = new RoundedRectView(QRectF(0, 0, 120, 60));
    m_loadingWrapper->addSubview(m_loading);
    m_loadingText = new Label(QRectF(0, 20, 120, 20));
    m_loadingText->setTextAlignment(TextAlignment::Center);
    m_loadingText->setFont(Font::fontWithName(QStringLiteral("Helvetica-Bold"), 14));
    m_loadingText->setTextColor(Qt::white);
    m_loadingText->setBackgroundColor(Qt::transparent);
    m_loadingText->setOpaque(false);
    m_loadingText->setText(localized("loading"));
    m_loadingWrapper->addSubview(m_loadingText);
    m_loadingWrapper->setHidden(true);
    root->addSubview(m_loadingWrapper);
}

bool PostController::holdsUnsentWork() const
{
    return m_quickReply && !m_quickReply->text().trimmed().isEmpty();
}

void PostController::viewDidLoad()
{
    UIViewControllerCommon::viewDidLoad();
    const QColor button = Customizer::getInstance().colorForKey(kColorBackgroundButton);
    m_loading->setStrokeColor(button);
    m_loading->setRectColor(button);
    m_loading->setCornerRadius(kLoadingCornerRadius);

    updateReplyButton();
    updateActionItems();
    if (const TabBarItemPtr unread = item(FirstUnread))
        unread->setEnabled(false);
    m_actions->setDelegate(this);

    m_postTable->setDelegate(this);
    m_postTable->setModel(m_thread);
    m_loadingWrapper->setHidden(!(m_thread && m_thread->hasRequests()));
    requestFooterBanner();
    updateLayout();
    m_keyboardObservation.start([this] { Keyboard::addObserver(this); }, [this] { Keyboard::removeObserver(this); });
}

void PostController::viewWillAppear(bool animated)
{
    UIViewControllerCommon::viewWillAppear(animated);
    // A screen above may have changed the posts it shared with this one (a
    // moderator deleted one, approved its files): each row is measured anew.
    m_heights.clear();
    if (m_postTable)
        m_postTable->reloadData();
}

void PostController::updateLayout()
{
    if (!m_actions)
        return;
    updateActionItems();

    const QRectF banner = footerBanner() ? footerBanner()->frame() : QRectF();
    if (AdMediationView* ad = footerBanner())
        ad->setFrame(QRectF(banner.x(), kContentHeight - banner.height(), banner.width(), banner.height()));
    const QRectF table = m_postTable->frame();
    m_postTable->setFrame(
        QRectF(table.x(), table.y(), table.width(), kContentHeight - (banner.height() + table.y())));
    m_postTable->updateLayout();
}

void PostController::updateActionItems()
{
    if (!m_actions)
        return;
    if (const TabBarItemPtr subscribe = item(Subscribe)) {
        subscribe->setTitle(localized(m_thread && m_thread->isSubscribed() ? "tabbar_unsubscribe" : "tabbar_subscribe"));
    }
    if (const TabBarItemPtr moderate = item(Moderate))
        moderate->setTitle(localized("tabbar_moderate"));
    if (const TabBarItemPtr reload = item(Reload))
        reload->setTitle(localized("tabbar_reload"));
    if (const TabBarItemPtr unread = item(FirstUnread))
        unread->setTitle(localized("tabbar_last_unread"));
    if (context().currentUser()->isMember())
        m_actions->showButtonAtIndex(Subscribe);
    else
        m_actions->hideButtonAtIndex(Subscribe);
    // Moderating and searching show where the forum allows them and their screens exist.
    if (m_thread && m_thread->canModerate() && ScreenInputs::canCreate(kModerateScreen))
        m_actions->showButtonAtIndex(Moderate);
    else
        m_actions->hideButtonAtIndex(Moderate);
    if (context().config().isFeatureEnabled(Config::SearchesEnabled) && ScreenInputs::canCreate(kSearchScreen))
        m_actions->showButtonAtIndex(SearchInThread);
    else
        m_actions->hideButtonAtIndex(SearchInThread);
    m_actions->itemsChanged();
}

void PostController::modelHasChanged(Model* model)
{
    if (!m_thread || model != m_thread.get() || !isViewLoaded())
        return;
    m_loadingWrapper->setHidden(!m_thread->hasRequests());
    // The answer brings the title of a thread known by its id alone.
    setTitle(QuoteFormatter::titleText(m_thread->threadtitle()));
    if (const TabBarItemPtr unread = item(FirstUnread)) {
        const bool hasBlock = m_thread->pagenav() || (m_postTable->navView() && m_postTable->navView()->pageNav());
        unread->setEnabled(hasBlock);
    }
    forgetPostsNotShown();
    updateReplyButton();
    updateLayout();
}

bool PostController::modelHasFailedToUpdate(Model* model, const Error& error)
{
    if (isViewLoaded())
        m_loadingWrapper->setHidden(true);
    ConnectionError::showMessage(error);
    return true;
}

void PostController::forgetPostsNotShown()
{
    if (m_showEvenIgnored.isEmpty())
        return;
    QSet<const Post*> onPages;
    for (const ModelWithPages::Page& page : m_thread->pages()) {
        for (const ModelPtr& object : page)
            onPages.insert(dynamic_cast<const Post*>(object.get()));
    }
    m_showEvenIgnored.removeIf([&](const PostPtr& post) { return !onPages.contains(post.get()); });
}

bool PostController::isShownEvenIgnored(const Post* post) const
{
    for (const PostPtr& shown : m_showEvenIgnored) {
        if (shown.get() == post)
            return true;
    }
    return false;
}

void PostController::showPost(const PostPtr& post)
{
    if (!post || isShownEvenIgnored(post.get()))
        return;
    m_showEvenIgnored.append(post);
    if (m_postTable)
        m_postTable->reloadData();
}

bool PostController::showsCollapsed(const Post& post) const
{
    return (post.userIgnore() || post.ignoreGlobal()) && !isShownEvenIgnored(&post);
}

void PostController::updateReplyButton()
{
    // A member replies to an open thread; a thread known by its id alone
    // learns whether it is closed with its first page.
    WritingButton::update(*this, *context().currentUser(), BarButtonSystemItem::Add,
                          m_thread && !m_thread->isClosed() && ScreenInputs::canCreate(kReplyScreen),
                          &PostController::reply);
}

void PostController::reply()
{
    if (const ViewControllerPtr editor = ScreenInputs::create(kReplyScreen, m_thread))
        if (NavigationController* navigation = navigationController())
            navigation->pushViewController(editor, true);
}

std::optional<QList<ModelPtr>> PostController::appendArrayOfObjects()
{
    // Signed out while reading: the row goes with the next page shown.
    if (!m_quickReply || !context().currentUser()->isMember())
        return std::nullopt;
    return QList<ModelPtr>{m_quickReply};
}

TableViewCell* PostController::cellForObject(PaginableTableView* tableView, const ModelPtr& object)
{
    if (object && object == m_quickReply) {
        auto* cell = loadCellNibForTableView<QuickReplyCell>(tableView->tableView());
        cell->setQuickReply(m_quickReply);
        return cell;
    }
    const PostPtr post = std::dynamic_pointer_cast<Post>(object);
    if (!post)
        return nullptr;
    TableView* table = tableView->tableView();
    PostCell* cell = nullptr;
    if (showsCollapsed(*post)) {
        if (post->userIgnore())
            cell = loadCellNibForTableView<PostCellUserIgnore>(table);
        else
            cell = loadCellNibForTableView<PostCellIgnoreGlobal>(table);
    } else {
        cell = loadCellNibForTableView<PostCell>(table);
        cell->setForce(true);
    }
    cell->setController(this);
    cell->setPost(post);
    return cell;
}

qreal PostController::heightForCellWithObject(PaginableTableView*, const ModelPtr& object)
{
    if (object && object == m_quickReply)
        return kQuickReplyRowHeight;
    qreal height = 0;
    if (const PostPtr post = std::dynamic_pointer_cast<Post>(object)) {
        height = showsCollapsed(*post)
                     ? kCollapsedRowHeight
                     : m_heights.heightFor(post, [](const Post& p) { return PostCell::heightForPost(p); });
    }
    return height > kMinimumRowHeight ? height : kMinimumRowHeight;
}

QString PostController::titleForTheFirstSection()
{
    return m_thread ? QuoteFormatter::titleText(m_thread->threadtitle()) : QString();
}

void PostController::didSelectCell(TableViewCell*, const ModelPtr& object)
{
    const PostPtr post = std::dynamic_pointer_cast<Post>(object);
    if (!post || post->isDeleted() || !navigationController())
        return;
    auto details = std::make_shared<PostDetailsController>(context());
    details->setPost(post);
    navigationController()->pushViewController(details, true);
}

void PostController::didSelectItem(TabBar* tabBar, const TabBarItemPtr& tapped)
{
    switch (m_actions->initialIndexOfItem(tapped)) {
    case Reload:
        m_postTable->refreshModel();
        m_loadingWrapper->setHidden(!(m_thread && m_thread->hasRequests()));
        break;
    case Subscribe:
        askSubscription();
        break;
    case Moderate:
        pushScreen(kModerateScreen);
        break;
    case SearchInThread:
        pushScreen(kSearchScreen);
        break;
    case FirstUnread:
        m_postTable->loadNewPage();
        m_loadingWrapper->setHidden(!(m_thread && m_thread->hasRequests()));
        break;
    default:
        break;
    }
    m_actions->setSelectedItem(nullptr);
}

void PostController::pushScreen(const QString& className)
{
    if (const ViewControllerPtr screen = ScreenInputs::create(className, m_thread))
        if (NavigationController* navigation = navigationController())
            navigation->pushViewController(screen, true);
}

void PostController::askSubscription()
{
    if (!m_thread)
        return;
    m_subscriptionAlert =
        AlertView::create(localized("title_subscription"),
                          localized(m_thread->isSubscribed() ? "thread_unsubscribe" : "thread_subscribe"), this,
                          {localized("cancel"), localized("yes")});
    m_subscriptionAlert->show();
}

void PostController::clickedButtonAtIndex(AlertView* alertView, int buttonIndex)
{
    if (alertView != m_subscriptionAlert.get())
        return;
    m_subscriptionAlert.reset();
    if (buttonIndex != 1 || !m_thread)
        return;
    if (m_thread->isSubscribed())
        m_thread->unsubscribe();
    else
        m_thread->subscribe();
}

void PostController::keyboardWillShow(const KeyboardInfo& info)
{
    if (!m_postTable)
        return;
    // The table ends where the keyboard begins, and its last row (the quick
    // reply) comes into view; a keyboard that takes no room moves nothing.
    TableView* table = m_postTable->tableView();
    const QRectF f = table->frame();
    const qreal above = info.frameEnd.top() - table->convertRect(table->bounds(), nullptr).top();
    if (above >= f.height())
        return;
    table->setFrame(QRectF(f.x(), f.y(), f.width(), qMax<qreal>(0, above)));
    m_shortenedForKeyboard = true;
    m_postTable->scrollToTheLastRow();
}

void PostController::keyboardWillHide(const KeyboardInfo&)
{
    if (!m_postTable || !std::exchange(m_shortenedForKeyboard, false))
        return;
    m_postTable->updateLayout();
    m_postTable->scrollToTheLastRow();
}
