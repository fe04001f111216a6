#include "forum/screens/HomeController.h"

#include "app/session/AppContext.h"

#include "app/model/Config.h"
#include "app/config/ConnectionError.h"
#include "app/config/Customizer.h"
#include "app/screens/RootNavigation.h"
#include "app/session/CurrentUser.h"
#include "app/widgets/GradientButton.h"
#include "app/widgets/LoadCellNib.h"
#include "app/widgets/PaginableTableView.h"
#include "app/widgets/ShadowedTableView.h"
#include "forum/cells/HomeCell.h"
#include "forum/model/ForumInfo.h"
#include "forum/cells/HomeContent.h"
#include "forum/screens/HomeFilterPanel.h"
#include "forum/screens/HomeGreeting.h"
#include "forum/screens/HomeListBar.h"
#include "forum/screens/HomeListKeys.h"
#include "forum/screens/HomeNotices.h"
#include "forum/screens/HomeNotificationStrip.h"
#include "forum/screens/HomePictureMenu.h"
#include "forum/screens/HomeSortBar.h"
#include "forum/screens/WritingButton.h"
#include "services/ads/AdMediationView.h"

#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Button.h"
#include "platform/ui/Font.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/SegmentedControl.h"
#include "platform/ui/ViewControllerRegistry.h"

#include "platform/foundation/Localized.h"
#include "platform/foundation/ClassName.h"

#include <utility>

namespace {

void pushOn(ViewController* from, const ViewControllerPtr& screen)
{
    if (screen && from && from->navigationController())
        from->navigationController()->pushViewController(screen, true);
}

// The bottom of the list, above the bottom bar.
constexpr qreal kListBottom = HomeController::kListGap + HomeController::kListHeight;

}  // namespace

HomeController::HomeController(AppContext& context)
    : MurmoraViewController(context), m_state(context), m_pictureMenu(std::make_unique<HomePictureMenu>(context, this))
{
    setTitle(localized("nav_home"));
}

HomeController::~HomeController()
{
    m_state.newTop()->setDelegate(nullptr);
    m_state.subscribed()->setDelegate(nullptr);
}

QString HomeController::getBarTitle() const
{
    return localized("nav_home");
}

void HomeController::buildNib(View* root)
{
    m_strip = new HomeNotificationStrip(QRectF(0, 0, 320, kStripOffset));
    m_strip->button()->addTarget(this, &HomeController::gotoNotifications, ControlEvent::TouchUpInside);
    root->addSubview(m_strip);

    m_greeting = new HomeGreeting(QRectF(0, kHeaderY, 320, 50));
    m_greeting->changePicture()->addTarget(this, &HomeController::changeProfilePic, ControlEvent::TouchUpInside);
    m_greeting->notLoggedIn()->addTarget(this, &HomeController::login, ControlEvent::TouchUpInside);
    m_greeting->signUp()->addTarget(this, &HomeController::registration, ControlEvent::TouchUpInside);
    root->addSubview(m_greeting);

    // The notices, one strip each.
    m_notices = new HomeNotices(QRectF(0, kBarGap, 320, 0));
    root->addSubview(m_notices);

    // The bar above the list: the sort's name, and the content filter.
    m_top = new HomeListBar(QRectF(0, kBarGap, 320, HomeListBar::kHeight));
    m_top->filter()->addTarget(this, &HomeController::changeFilter, ControlEvent::ValueChanged);
    root->addSubview(m_top);

    m_news = new PaginableTableView(QRectF(0, kListGap, 320, kListHeight));
    m_news->setObjectName(QStringLiteral("news"));
    m_news->tableView()->setChoosesRowsByKeyboard(true);
    new HomeListKeys(m_news->tableView());
    root->addSubview(m_news);
    m_loading = new ActivityIndicatorView(ActivityIndicatorStyle::Gray);
    m_loading->setObjectName(QStringLiteral("loading"));
    m_loading->setFrame(QRectF(150, kListGap + 40, 20, 20));
    root->addSubview(m_loading);

    // The bar under the list: the sorts, and search.
    // Placed by the numbers, as the list is: the screen may be loaded before
    // the navigation bar takes its room.
    m_bottom = new HomeSortBar(QRectF(0, kListBottom, 320, HomeSortBar::kHeight));
    m_bottom->sort()->addTarget(this, &HomeController::changeOrder, ControlEvent::ValueChanged);
    m_bottom->search()->addTarget(this, &HomeController::gotoSearch, ControlEvent::ValueChanged);
    root->addSubview(m_bottom);

    // The content filter's panel, out of sight until the filter is tapped.
    m_filterPanel = new HomeFilterPanel();
    m_filterPanel->setOnChoice([this](int row) {
        if (!m_state.chooseFilterRow(row))
            return false;
        showFilterTitle();
        return true;
    });
    root->addSubview(m_filterPanel);
}

void HomeController::viewDidLoad()
{
    MurmoraViewController::viewDidLoad();
    Config& config = context().config();
    Customizer& theme = Customizer::getInstance();

    m_news->setDelegate(this);
    if (!std::exchange(m_listShown, true)) {
        showLoading();
        m_state.newTop()->setDelegate(this);
        m_news->setModel(m_state.newTop());
        m_state.subscribed()->setDelegate(this);
    }
    if (!HomeState::forumOffersKinds(context().config()))
        m_top->dropFilter();

    const CurrentUserPtr user = context().currentUser();
    m_user = user;
    m_userObservation.observe(user, this);
    user->fetchInfo();
    const ForumInfoPtr info = context().part<ForumInfo>();
    m_info = info;
    m_infoObservation.observe(info, this);

    const int row = m_state.resetFilter();
    QStringList titles;
    for (const HomeState::FilterRow& filterRow : m_state.filterRows())
        titles.append(localized(filterRow.titleKey));
    m_filterPanel->setRows(titles);
    m_filterPanel->selectRow(row);
    // Filtered to threads at first, the panel goes down as after a choice.
    if (!config.isFeatureEnabled(Config::MultiTypeSearch))
        m_filterPanel->close();

    const QColor tint = theme.colorForKey(kColorBackgroundButton);
    m_top->setTint(tint);
    m_bottom->arrange(config.isFeatureEnabled(Config::SearchesEnabled) && ViewControllerRegistry::isRegistered(kSearchScreen),
                      tint);

    // The filter names the filter in force.
    showFilterTitle();
    m_top->showList(localized("home_order_newest"), QStringLiteral("star.png"), true);
    requestFooterBanner();
    updateLayout();
}

void HomeController::viewWillAppear(bool)
{
    context().part<ForumInfo>()->fetchForumHome();
    if (Button* button = navButton()) {
        for (unsigned state : {ControlState::Normal, ControlState::Highlighted, ControlState::Selected})
            button->setTitle(localized("nav_home"), state);
        button->titleLabel()->setTextAlignment(TextAlignment::Center);
    }
    // The list afresh, unless its first answer is still on its way.
    if (m_news->model() && !m_news->model()->hasRequests())
        m_news->refreshModel();
    updateLayout();
}

// ---- The list's sorts and filter

void HomeController::changeOrder()
{
    if (!isViewLoaded())
        return;
    m_state.setSort(HomeState::Sort(qBound(0, sort()->selectedSegmentIndex(), 2)));
    showSort();
    if (m_state.sort() == HomeState::Subscribed)
        showLoading();
}

SegmentedControl* HomeController::sort() const
{
    return m_bottom ? m_bottom->sort() : nullptr;
}

void HomeController::showSort()
{
    m_news->setModel(m_state.list());
    m_top->showList(localized(m_state.listTitleKey()), m_state.listIconName(), m_state.showsFilter());
}

void HomeController::changeFilter()
{
    if (!isViewLoaded())
        return;
    m_top->filter()->setSelectedSegmentIndex(SegmentedControl::NoSegment);
    m_filterPanel->open(view());
}

void HomeController::closeFilter()
{
    if (isViewLoaded())
        m_filterPanel->close();
}

void HomeController::showFilterTitle()
{
    m_top->showFilterTitle(localized(m_state.filterTitleKey()));
}

// ---- Going elsewhere

void HomeController::gotoSearch()
{
    if (const ViewControllerPtr screen = ViewControllerRegistry::create(kSearchScreen))
        pushController(screen);
}

void HomeController::gotoNotifications()
{
    const ViewControllerPtr screen = ViewControllerRegistry::create(kNotificationsScreen);
    if (!screen)
        return;
    if (Button* button = navButton()) {
        for (unsigned state : {ControlState::Normal, ControlState::Highlighted, ControlState::Selected})
            button->setTitle(localized("nav_notifications"), state);
        button->sizeToFit();
    }
    pushController(screen);
}

void HomeController::gotoNotices()
{
    const ForumInfoPtr info = context().part<ForumInfo>();
    if (info->notices().isEmpty() || !info->notices().first())
        return;
    AlertView::create(localized("home_notice"), info->notices().first()->notice_plain(), nullptr, {localized("ok")})->show();
}

void HomeController::gotoProfile()
{
    NavigationController* navigation = RootNavigation::controller();
    ViewController* visible = navigation ? navigation->visibleViewController() : nullptr;
    if (visible && className(*visible) == kProfileScreen)
        return;
    if (const ViewControllerPtr profile = ViewControllerRegistry::create(kProfileScreen))
        context().part<RootNavigation>()->setController(profile);
}

void HomeController::registration()
{
    pushOn(this, ViewControllerRegistry::create(kRegistrationScreen));
}

void HomeController::createContent()
{
    pushOn(this, ViewControllerRegistry::create(kComposeScreen));
}

void HomeController::login()
{
    if (NavigationController* navigation = navigationController())
        navigation->popViewControllerAnimated(true);
}

void HomeController::logout()
{
    // "Yes" comes first, but "no" answers Escape: only a press of "yes"
    // signs out.
    const auto alert = AlertView::create(localized("home_logout"), localized("home_logout_confirmation"), this,
                                         {localized("yes"), localized("no")});
    alert->setCancelButtonIndex(1);
    m_logoutAlert = alert;
    alert->show();
}

void HomeController::clickedButtonAtIndex(AlertView* alertView, int buttonIndex)
{
    if (alertView == m_logoutAlert.lock().get() && buttonIndex == 0)
        logoutConfirmed();
}

void HomeController::logoutConfirmed()
{
    context().currentUser()->logout();
    updateLayout();
}

// ---- The member's picture

void HomeController::changeProfilePic()
{
    m_pictureMenu->open();
}

void HomeController::showDeleteAvatarMenu()
{
    m_pictureMenu->showDeleteMenu();
}

void HomeController::showUploadAvatarMenu()
{
    m_pictureMenu->showPicker();
}

void HomeController::showLoading()
{
    m_state.setLoading(true);
    if (!isViewLoaded())
        return;
    m_loading->setHidden(false);
    m_loading->startAnimating();
}

void HomeController::hideLoading()
{
    m_state.setLoading(false);
    if (!isViewLoaded())
        return;
    m_loading->stopAnimating();
    m_loading->setHidden(true);
}

// ---- Layout

bool HomeController::standsInItsOwnPlace() const
{
    NavigationController* navigation = navigationController();
    const QList<ViewControllerPtr> stack = navigation ? navigation->viewControllers() : QList<ViewControllerPtr>();
    qsizetype at = stack.size() - 1;
    while (at >= 0 && stack.at(at).get() != this)
        --at;
    return at <= 0 || className(*stack.at(at - 1)) == kLoginScreen;
}

void HomeController::updateLayout()
{
    if (!isViewLoaded())
        return;
    const CurrentUserPtr user = context().currentUser();
    const ForumInfoPtr info = context().part<ForumInfo>();
    const bool leftSubscriptions = m_state.sort() == HomeState::Subscribed;
    const bool readAgain = m_state.followReader(user->isMember() ? user->userid() : 0);
    const bool guest = m_state.isGuest();
    m_state.setNotifications(info->numberOfNotifications());
    // Signing in and out are the home screen's in its own place, on the
    // login screen; opened by a link above other screens, it has the back
    // button that every screen so opened has.
    const bool ownPlace = standsInItsOwnPlace();

    m_news->reloadData();
    WritingButton::update(*this, *context().currentUser(), BarButtonSystemItem::Compose,
                          ViewControllerRegistry::isRegistered(kComposeScreen), &HomeController::createContent);
    if (guest) {
        // A guest has no subscriptions: the list goes back to the newest.
        if (leftSubscriptions) {
            sort()->setSelectedSegmentIndex(Newest);
            showSort();
        }
        sort()->setEnabledForSegmentAtIndex(false, Subscribed);
        // Signing up has a screen of its own, not in a paid forum.
        m_greeting->showGuest(!context().config().isPaidSubscription()
                              && ViewControllerRegistry::isRegistered(kRegistrationScreen));
        navigationItem()->setLeftBarButtonItem(
            ownPlace ? BarButtonItem::withTitle(localized("login"), BarButtonItemStyle::Done, this, &HomeController::login)
                     : nullptr);
    } else {
        sort()->setEnabledForSegmentAtIndex(true, Subscribed);
        m_greeting->showMember(user->username());
        navigationItem()->setLeftBarButtonItem(
            ownPlace
                ? BarButtonItem::withTitle(localized("home_logout"), BarButtonItemStyle::Done, this, &HomeController::logout)
                : nullptr);
    }
    const bool strip = m_state.showsNotificationStrip();
    if (strip)
        m_strip->showCount(m_state.notifications());
    m_strip->setHidden(!strip);
    // Another reader: the list shown is read again for them, unless choosing
    // the order above asked for it already. A home out of sight (under the
    // sign-up that made the member, which puts a home of its own up) reads
    // it when it comes back.
    if (readAgain && isAppeared() && m_news->model() && !m_news->model()->isLoadingPages()) {
        m_news->refreshModel();
        showLoading();
    }

    m_greeting->setFrame(QRectF(QPointF(0, strip ? kHeaderYWithStrip : kHeaderY), m_greeting->frame().size()));
    const qreal stacked = m_notices->show(info->notices(), this);
    if (!m_notices->controllers().isEmpty())
        m_notices->setFrame(QRectF(0, (strip ? kStripOffset : 0) + kBarGap, 320, stacked));
    const qreal offset = (strip ? kStripOffset : 0) + stacked;
    m_top->setFrame(QRectF(0, offset + kBarGap, 320, HomeListBar::kHeight));
    AdMediationView* banner = footerBanner();
    const qreal bannerHeight = banner && banner->superview() ? banner->frame().height() : 0;
    const QRectF list(0, offset + kListGap, 320, kListHeight - (offset + bannerHeight));
    m_news->setFrame(list);
    if (banner)
        banner->setFrame(QRectF(QPointF(banner->frame().x(), list.bottom()), banner->frame().size()));
    m_loading->setFrame(QRectF(150, list.y() + 40, 20, 20));

    m_greeting->showPicture(user->avatar().qimage(), guest);
    // The greeting opens the member's profile where that screen exists.
    m_greeting->welcome()->removeTarget(this, ControlEvent::TouchUpInside);
    if (ViewControllerRegistry::isRegistered(kProfileScreen))
        m_greeting->welcome()->addTarget(this, &HomeController::gotoProfile, ControlEvent::TouchUpInside);
}

// ---- Models

void HomeController::deleteNotice(NoticeController* controller)
{
    if (!controller || !controller->notice())
        return;
    context().part<ForumInfo>()->dismissNotice(controller->notice()->_noticeid());
    if (controller->isViewLoaded())
        controller->view()->setHidden(true);
    updateLayout();
}

void HomeController::modelHasChanged(Model* model)
{
    if (model && (model == m_user.lock().get() || model == m_info.lock().get()))
        updateLayout();
}

bool HomeController::modelHasFailedToUpdate(Model* model, const Error& error)
{
    // The forum's home data failing only lays the screen out again; the
    // member's profile failing changes nothing shown.
    if (model && model == m_info.lock().get())
        updateLayout();
    return model && (model == m_info.lock().get() || model == m_user.lock().get());
}

void HomeController::searchHasResults(Search*)
{
    hideLoading();
}

bool HomeController::searchHasFailed(Search*, const Error& error)
{
    hideLoading();
    ConnectionError::showMessage(error);
    updateLayout();
    return true;
}

void HomeController::newTopHasResults(NewTopSearch* search)
{
    // A change of order or type while the feed is on its way keeps the sign.
    if (!search || !search->hasRequests())
        hideLoading();
    if (isViewLoaded())
        m_news->reloadData();
}

bool HomeController::newTopHasResults(NewTopSearch*, const Error& error)
{
    hideLoading();
    ConnectionError::showMessage(error);
    updateLayout();
    return true;
}

// ---- The list

TableViewCell* HomeController::cellForObject(PaginableTableView* tableView, const ModelPtr& object)
{
    HomeCell* cell = loadCellNibForTableView<HomeCell>(tableView->tableView());
    cell->setController(this);
    cell->setItem(object);
    return cell;
}

qreal HomeController::heightForCellWithObject(PaginableTableView*, const ModelPtr&)
{
    return kRowHeight;
}

QString HomeController::titleForTheFirstSection()
{
    return QString();
}

void HomeController::didSelectCell(TableViewCell*, const ModelPtr& object)
{
    pushOn(this, HomeContent::screenFor(object));
}
