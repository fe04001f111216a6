#include "forum/screens/HomeController.h"

#include "app/model/Config.h"
#include "app/config/ConnectionError.h"
#include "app/config/Customizer.h"
#include "app/screens/RootNavigation.h"
#include "app/session/AvatarBuilder.h"
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
#include "forum/screens/HomeNotificationStrip.h"
#include "forum/screens/WritingButton.h"
#include "services/ads/AdMediationView.h"

#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Button.h"
#include "platform/ui/Font.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/SegmentedControl.h"
#include "platform/ui/Toolbar.h"
#include "platform/ui/ViewControllerRegistry.h"

#include "platform/foundation/Bundle.h"
#include "platform/foundation/ClassName.h"
#include "platform/foundation/TextFormat.h"

#include <utility>

namespace {

QString text(const QString& key)
{
    return Bundle::main().localizedString(key);
}

QString text(const char* key)
{
    return text(QString::fromLatin1(key));
}

void pushOn(ViewController* from, const ViewControllerPtr& screen)
{
    if (screen && from && from->navigationController())
        from->navigationController()->pushViewController(screen, true);
}

// The bottom of the list, above the bottom bar.
constexpr qreal kListBottom = HomeController::kListGap + HomeController::kListHeight;

}  // namespace

HomeController::HomeController()
{
    setTitle(text("nav_home"));
}

HomeController::~HomeController()
{
    if (const auto user = m_user.lock())
        user->removeObserver(this);
    if (const auto info = m_info.lock())
        info->removeObserver(this);
    m_state.newTop()->setDelegate(nullptr);
    m_state.subscribed()->setDelegate(nullptr);
    if (m_selector)
        m_selector->setDelegate(nullptr);
    if (const auto builder = m_avatarBuilder.lock())
        builder->removeObserver(this);
    if (m_filterBox && !m_filterBox->superview())
        m_filterBox->deleteLater();
}

QString HomeController::getBarTitle() const
{
    return text("nav_home");
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
    m_noticesView = new View(QRectF(0, kBarGap, 320, 0));
    m_noticesView->setObjectName(QStringLiteral("notices"));
    m_noticesView->setBackgroundColor(Qt::transparent);
    m_noticesView->setOpaque(false);
    root->addSubview(m_noticesView);

    buildBars(root);

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

void HomeController::buildBars(View* root)
{
    // The bar above the list: the sort's name, and the content filter.
    m_top = new Toolbar(QRectF(0, kBarGap, 320, kTopBarHeight));
    m_top->setObjectName(QStringLiteral("topBar"));
    m_listIcon = new ImageView(QRectF(8, 7, 20, 20));
    m_listIcon->setObjectName(QStringLiteral("listIcon"));
    m_listIcon->setContentMode(ContentMode::Center);
    m_top->addSubview(m_listIcon);
    m_listTitle = new Label(QRectF(34, 0, 120, kTopBarHeight));
    m_listTitle->setObjectName(QStringLiteral("listTitle"));
    m_listTitle->setFont(Font::fontWithName(QStringLiteral("Helvetica-Bold"), 15));
    m_listTitle->setTextColor(Qt::white);
    m_listTitle->setShadowColor(QColor(0, 0, 0, 90));
    m_listTitle->setBackgroundColor(Qt::transparent);
    m_listTitle->setOpaque(false);
    m_top->addSubview(m_listTitle);
    m_filterBox = new View(QRectF(0, 0, kFilterWidth, kTopBarHeight));
    m_filterBox->setObjectName(QStringLiteral("filterBox"));
    m_filterBox->setBackgroundColor(Qt::transparent);
    m_filterBox->setOpaque(false);
    m_selectedFilter = new View(QRectF(0, 0, kFilterWidth, kTopBarHeight));
    m_selectedFilter->setObjectName(QStringLiteral("selectedFilter"));
    m_selectedFilter->setBackgroundColor(QColor(0, 0, 0, 40));
    m_selectedFilter->setOpaque(false);
    m_filterBox->addSubview(m_selectedFilter);
    m_filter = new SegmentedControl({QString()});
    m_filter->setObjectName(QStringLiteral("filter"));
    m_filter->setSegmentedControlStyle(SegmentedControlStyle::Bar);
    m_filter->addTarget(this, &HomeController::changeFilter, ControlEvent::ValueChanged);
    m_filterBox->addSubview(m_filter);
    m_top->setItems({BarButtonItem::withSystemItem(BarButtonSystemItem::FlexibleSpace),
                     BarButtonItem::withCustomView(m_filterBox)});
    root->addSubview(m_top);

    m_news = new PaginableTableView(QRectF(0, kListGap, 320, kListHeight));
    m_news->setObjectName(QStringLiteral("news"));
    m_news->tableView()->setChoosesRowsByKeyboard(true);
    root->addSubview(m_news);
    m_loading = new ActivityIndicatorView(ActivityIndicatorStyle::Gray);
    m_loading->setObjectName(QStringLiteral("loading"));
    m_loading->setFrame(QRectF(150, kListGap + 40, 20, 20));
    root->addSubview(m_loading);

    // The bar under the list: the sorts, and search.
    // Placed by the numbers, as the list is: the screen may be loaded before
    // the navigation bar takes its room.
    m_bottom = new Toolbar(QRectF(0, kListBottom, 320, kBottomBarHeight));
    m_bottom->setObjectName(QStringLiteral("bottomBar"));
    m_sort = new SegmentedControl({QString(), QString(), QString()});
    m_sort->setObjectName(QStringLiteral("sort"));
    m_sort->setSegmentedControlStyle(SegmentedControlStyle::Bar);
    m_sort->setSelectedSegmentIndex(Newest);
    m_sort->addTarget(this, &HomeController::changeOrder, ControlEvent::ValueChanged);
    m_search = new SegmentedControl({text("nav_search")});
    m_search->setObjectName(QStringLiteral("search"));
    m_search->setSegmentedControlStyle(SegmentedControlStyle::Bar);
    m_search->setMomentary(true);
    m_search->addTarget(this, &HomeController::gotoSearch, ControlEvent::ValueChanged);
    root->addSubview(m_bottom);
}

void HomeController::viewDidLoad()
{
    MurmoraViewController::viewDidLoad();
    Config& config = Config::getInstance();
    Customizer& theme = Customizer::getInstance();

    m_news->setDelegate(this);
    if (!std::exchange(m_listShown, true)) {
        showLoading();
        m_state.newTop()->setDelegate(this);
        m_news->setModel(m_state.newTop());
        m_state.subscribed()->setDelegate(this);
    }
    if (!HomeState::forumOffersKinds())
        m_top->setItems({});

    const CurrentUserPtr user = CurrentUser::currentUser();
    user->addObserver(this);
    m_user = user;
    user->fetchInfo();
    const ForumInfoPtr info = ForumInfo::getInstance();
    info->addObserver(this);
    m_info = info;

    m_greeting->signUp()->useRedDeleteStyle();

    const int row = m_state.resetFilter();
    QStringList titles;
    for (const FilterRow& filterRow : m_state.filterRows())
        titles.append(text(filterRow.titleKey));
    m_filterPanel->setRows(titles);
    m_filterPanel->selectRow(row);
    // Filtered to threads at first, the panel goes down as after a choice.
    if (!config.isFeatureEnabled(Config::MultiTypeSearch))
        m_filterPanel->close();

    const QColor tint = theme.colorForKey(kColorBackgroundButton);
    m_top->setTintColor(tint);
    m_bottom->setTintColor(tint);
    m_sort->setTintColor(tint);
    m_search->setTintColor(tint);
    m_filter->setTintColor(tint);
    m_search->setHidden(!config.isFeatureEnabled(Config::SearchesEnabled)
                        || !ViewControllerRegistry::isRegistered(kSearchScreen));
    QList<std::shared_ptr<BarButtonItem>> bottomItems{BarButtonItem::withSystemItem(BarButtonSystemItem::FlexibleSpace),
                                                      BarButtonItem::withCustomView(m_sort),
                                                      BarButtonItem::withSystemItem(BarButtonSystemItem::FlexibleSpace)};
    if (!m_search->isHidden()) {
        // As high as the sorts beside it.
        m_search->sizeToFit();
        bottomItems.append(BarButtonItem::withCustomView(m_search));
    } else {
        // Searching comes with its own screen; until then the control goes.
        m_search->deleteLater();
        m_search = nullptr;
    }

    m_greeting->notLoggedIn()->setTitle(text("home_not_logged_in"), ControlState::Normal);
    m_greeting->signUp()->setTitle(text("home_sign_up"), ControlState::Normal);
    // The filter names the filter in force.
    showFilterTitle();
    m_listTitle->setText(text("home_order_newest"));
    m_listIcon->setImageNamed(QStringLiteral("star.png"));
    m_sort->setTitle(text("home_order_newest"), Newest);
    m_sort->setTitle(text("home_order_top"), Top);
    m_sort->setTitle(text("home_order_subscribed"), Subscribed);
    // Beside the search control the sorts take less room, so both fit the bar.
    const qreal sortWidth = m_search ? 72 : 84;
    for (int segment = 0; segment < 3; ++segment)
        m_sort->setWidth(sortWidth, segment);
    m_sort->setFrame(QRectF(0, 0, 3 * sortWidth, m_sort->sizeThatFits(QSizeF()).height()));
    m_bottom->setItems(bottomItems);
    requestFooterBanner();
    updateLayout();
}

void HomeController::viewWillAppear(bool)
{
    ForumInfo::getInstance()->fetchForumHome();
    if (Button* button = navButton()) {
        for (unsigned state : {ControlState::Normal, ControlState::Highlighted, ControlState::Selected})
            button->setTitle(text("nav_home"), state);
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
    m_state.setSort(HomeState::Sort(qBound(0, m_sort->selectedSegmentIndex(), 2)));
    showSort();
    if (m_state.sort() == HomeState::Subscribed)
        showLoading();
}

void HomeController::showSort()
{
    m_filterBox->setHidden(!m_state.showsFilter());
    m_news->setModel(m_state.list());
    m_listTitle->setText(text(m_state.listTitleKey()));
    m_listIcon->setImageNamed(m_state.listIconName());
}

void HomeController::changeFilter()
{
    if (!isViewLoaded())
        return;
    m_filter->setSelectedSegmentIndex(SegmentedControl::NoSegment);
    m_filterPanel->open(view());
}

void HomeController::closeFilter()
{
    if (isViewLoaded())
        m_filterPanel->close();
}

void HomeController::showFilterTitle()
{
    m_filter->setTitle(text(m_state.filterTitleKey()), 0);
    m_filter->setWidth(0, 0);
    m_filter->sizeToFit();
    QRectF f = m_filter->frame();
    f.setWidth(std::min<qreal>(std::max<qreal>(f.width(), 90), kFilterWidth - 12));
    f.moveCenter(m_selectedFilter->frame().center());
    m_filter->setFrame(f);
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
            button->setTitle(text("nav_notifications"), state);
        button->sizeToFit();
    }
    pushController(screen);
}

void HomeController::gotoNotices()
{
    const ForumInfoPtr info = ForumInfo::getInstance();
    if (info->notices().isEmpty() || !info->notices().first())
        return;
    AlertView::create(text("home_notice"), info->notices().first()->notice_plain(), nullptr, {text("ok")})->show();
}

void HomeController::gotoProfile()
{
    NavigationController* navigation = RootNavigation::controller();
    ViewController* visible = navigation ? navigation->visibleViewController() : nullptr;
    if (visible && className(*visible) == kProfileScreen)
        return;
    if (const ViewControllerPtr profile = ViewControllerRegistry::create(kProfileScreen))
        RootNavigation::setController(profile);
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
    const auto alert = AlertView::create(text("home_logout"), text("home_logout_confirmation"), this,
                                         {text("yes"), text("no")});
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
    CurrentUser::currentUser()->logout();
    updateLayout();
}

// ---- The member's picture

void HomeController::changeProfilePic()
{
    if (!CurrentUser::currentUser()->avatarurl().isEmpty())
        showDeleteAvatarMenu();
    else
        showUploadAvatarMenu();
}

void HomeController::showDeleteAvatarMenu()
{
    auto* menu = new ActionSheet(QString(), this, text("cancel"), text("home_avatar_delete"),
                                 {text("home_avatar_change")});
    m_avatarMenu = menu;
    menu->showInView(view());
}

void HomeController::clickedButtonAtIndex(ActionSheet* actionSheet, int buttonIndex)
{
    if (actionSheet != m_avatarMenu.data())
        return;
    if (buttonIndex == 0)
        CurrentUser::currentUser()->deleteAvatar();
    else if (buttonIndex == 1)
        showUploadAvatarMenu();
}

void HomeController::showUploadAvatarMenu()
{
    if (m_selector)
        m_selector->setDelegate(nullptr);
    m_selector = std::make_shared<SelectImage>();
    m_selector->setMediaType(SelectImage::kMediaTypeImage);
    m_selector->setController(this);
    m_selector->setDelegate(this);
    m_selector->showInView(view());
}

void HomeController::imageWasSelected(const std::shared_ptr<ImageToUpload>& image, SelectImage*)
{
    auto builder = Model::create<AvatarBuilder>();
    // A refusal is told once, through this screen.
    builder->addObserver(this);
    if (const auto previous = m_avatarBuilder.lock())
        previous->removeObserver(this);
    m_avatarBuilder = builder;
    builder->setTheNewAvatar(image);
    builder->upload();
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
    const CurrentUserPtr user = CurrentUser::currentUser();
    const ForumInfoPtr info = ForumInfo::getInstance();
    const bool leftSubscriptions = m_state.sort() == HomeState::Subscribed;
    const bool readAgain = m_state.followReader(user->isMember() ? user->userid() : 0);
    const bool guest = m_state.isGuest();
    m_state.setNotifications(info->numberOfNotifications());
    // Signing in and out are the home screen's in its own place, on the
    // login screen; opened by a link above other screens, it has the back
    // button that every screen so opened has.
    const bool ownPlace = standsInItsOwnPlace();

    m_news->reloadData();
    WritingButton::update(*this, BarButtonSystemItem::Compose, ViewControllerRegistry::isRegistered(kComposeScreen),
                          &HomeController::createContent);
    if (guest) {
        // A guest has no subscriptions: the list goes back to the newest.
        if (leftSubscriptions) {
            m_sort->setSelectedSegmentIndex(Newest);
            showSort();
        }
        m_sort->setEnabledForSegmentAtIndex(false, Subscribed);
        // Signing up has a screen of its own, not in a paid forum.
        m_greeting->showGuest(TextFormat::fill(text("home_welcome_to"), {Value(Customizer::getInstance().appLabel())}),
                              !Config::getInstance().isPaidSubscription()
                                  && ViewControllerRegistry::isRegistered(kRegistrationScreen));
        navigationItem()->setLeftBarButtonItem(
            ownPlace ? BarButtonItem::withTitle(text("login"), BarButtonItemStyle::Done, this, &HomeController::login)
                     : nullptr);
    } else {
        m_sort->setEnabledForSegmentAtIndex(true, Subscribed);
        m_greeting->showMember(TextFormat::fill(text("home_welcome"), {Value(user->username())}));
        navigationItem()->setLeftBarButtonItem(
            ownPlace
                ? BarButtonItem::withTitle(text("home_logout"), BarButtonItemStyle::Done, this, &HomeController::logout)
                : nullptr);
    }
    const bool strip = m_state.showsNotificationStrip();
    if (strip)
        m_strip->showCount(m_state.notifications());
    m_strip->setHidden(!strip);
    // Another reader: the list shown is read again for them, unless choosing
    // the order above asked for it already.
    if (readAgain && m_news->model() && !m_news->model()->isLoadingPages()) {
        m_news->refreshModel();
        showLoading();
    }

    m_greeting->setFrame(QRectF(QPointF(0, strip ? kHeaderYWithStrip : kHeaderY), m_greeting->frame().size()));
    const qreal offset = (strip ? kStripOffset : 0) + stackNotices();
    m_top->setFrame(QRectF(0, offset + kBarGap, 320, kTopBarHeight));
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

qreal HomeController::stackNotices()
{
    for (const NoticeControllerPtr& controller : std::as_const(m_noticeControllers)) {
        if (controller->isViewLoaded())
            controller->view()->removeFromSuperview();
    }
    m_noticeControllers.clear();
    const QList<NoticePtr> notices = ForumInfo::getInstance()->notices();
    if (notices.isEmpty()) {
        m_noticesView->setHidden(true);
        return 0;
    }
    qreal stacked = 0;
    for (int i = 0; i < notices.size(); ++i) {
        auto controller = std::make_shared<NoticeController>();
        controller->setDelegate(this);
        controller->setNotice(notices[i]);
        controller->setNoticeIndex(i);
        View* strip = controller->view();
        strip->setFrame(QRectF(QPointF(0, stacked), strip->frame().size()));
        m_noticesView->addSubview(strip);
        stacked += strip->frame().height();
        m_noticeControllers.append(controller);
    }
    m_noticesView->setHidden(false);
    const bool strip = m_state.showsNotificationStrip();
    m_noticesView->setFrame(QRectF(0, (strip ? kStripOffset : 0) + kBarGap, 320, stacked));
    return stacked;
}

// ---- Models

void HomeController::deleteNotice(NoticeController* controller)
{
    if (!controller || !controller->notice())
        return;
    ForumInfo::getInstance()->dismissNotice(controller->notice()->_noticeid());
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
