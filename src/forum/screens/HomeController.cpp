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
#include "forum/screens/WritingButton.h"
#include "services/ads/AdMediationView.h"

#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/ResourceImages.h"
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

#include "platform/foundation/ClassName.h"
#include "platform/foundation/Localized.h"
#include "platform/foundation/TextFormat.h"

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

HomeController::HomeController()
{
    setTitle(localized("nav_home"));
}

HomeController::~HomeController()
{
    if (m_newTopDataSource)
        m_newTopDataSource->setDelegate(nullptr);
    if (m_finder)
        m_finder->setDelegate(nullptr);
    if (m_selector)
        m_selector->setDelegate(nullptr);
    if (m_filterBox && !m_filterBox->superview())
        m_filterBox->deleteLater();
}

QString HomeController::getBarTitle() const
{
    return localized("nav_home");
}

QList<HomeController::FilterRow> HomeController::filterRows()
{
    const Config& config = Config::getInstance();
    QList<FilterRow> rows{{QStringLiteral("nav_forums"), NewTopSearch::Threads}};
    if (config.isFeatureEnabled(Config::CmsEnabled))
        rows.append({QStringLiteral("nav_articles"), NewTopSearch::Articles});
    if (config.isFeatureEnabled(Config::BlogEnabled))
        rows.append({QStringLiteral("nav_blogs"), NewTopSearch::BlogEntries});
    rows.append({QStringLiteral("home_all"), NewTopSearch::AllTypes});
    return rows;
}

void HomeController::buildNib(View* root)
{
    Customizer& theme = Customizer::getInstance();
    const QColor white(Qt::white);

    // The notification strip.
    m_notificationsView = new View(QRectF(0, 0, 320, kStripOffset));
    m_notificationsBg = new Toolbar(QRectF(0, 0, 320, kStripOffset));
    m_notificationsView->addSubview(m_notificationsBg);
    m_notificationsText = new Button(QRectF(0, 0, 320, kStripOffset), ButtonType::Custom);
    m_notificationsText->titleLabel()->setFont(Font::fontWithName(QStringLiteral("Helvetica-Bold"), 12));
    m_notificationsText->addTarget(this, &HomeController::gotoNotifications, ControlEvent::TouchUpInside);
    m_notificationsView->addSubview(m_notificationsText);
    root->addSubview(m_notificationsView);

    // The member's greeting.
    m_loggedin = new View(QRectF(0, kHeaderY, 320, 50));
    m_loggedin->setBackgroundColor(Qt::transparent);
    m_loggedin->setOpaque(false);
    m_avatar = new ImageView(QRectF(10, 1, 48, 48));
    m_avatar->setContentMode(ContentMode::ScaleAspectFill);
    m_avatar->setClipsToBounds(true);
    m_loggedin->addSubview(m_avatar);
    m_changePicture = new Button(QRectF(10, 1, 48, 48), ButtonType::Custom);
    m_changePicture->setAdjustsImageWhenHighlighted(false);
    m_changePicture->addTarget(this, &HomeController::changeProfilePic, ControlEvent::TouchUpInside);
    m_loggedin->addSubview(m_changePicture);
    m_welcome = new Button(QRectF(66, 13, 244, 24), ButtonType::Custom);
    m_welcome->titleLabel()->setFont(Font::fontWithName(QStringLiteral("Helvetica-Bold"), 17));
    m_welcome->setTitleColor(theme.colorForKey(kColorTextTitle), ControlState::Normal);
    m_loggedin->addSubview(m_welcome);
    root->addSubview(m_loggedin);

    // The guest's greeting.
    m_anonymous = new View(QRectF(0, kHeaderY, 320, 50));
    m_anonymous->setBackgroundColor(Qt::transparent);
    m_anonymous->setOpaque(false);
    m_welcomeAnonymous = new Label(QRectF(10, 2, 300, 22));
    m_welcomeAnonymous->setFont(Font::fontWithName(QStringLiteral("Helvetica-Bold"), 17));
    m_welcomeAnonymous->setTextColor(theme.colorForKey(kColorTextTitle));
    m_welcomeAnonymous->setBackgroundColor(Qt::transparent);
    m_welcomeAnonymous->setOpaque(false);
    m_anonymous->addSubview(m_welcomeAnonymous);
    m_notLoggedIn = new Button(QRectF(10, 26, 200, 20), ButtonType::Custom);
    m_notLoggedIn->titleLabel()->setFont(Font::fontWithName(QStringLiteral("Helvetica"), 13));
    m_notLoggedIn->setTitleColor(theme.colorForKey(kColorTextSecondary), ControlState::Normal);
    m_notLoggedIn->addTarget(this, &HomeController::login, ControlEvent::TouchUpInside);
    m_anonymous->addSubview(m_notLoggedIn);
    m_signup = new GradientButton(QRectF(222, 12, 88, 30));
    m_signup->addTarget(this, &HomeController::registration, ControlEvent::TouchUpInside);
    m_anonymous->addSubview(m_signup);
    root->addSubview(m_anonymous);

    // The notices, one strip each.
    m_noticesView = new View(QRectF(0, kBarGap, 320, 0));
    m_noticesView->setBackgroundColor(Qt::transparent);
    m_noticesView->setOpaque(false);
    root->addSubview(m_noticesView);

    // The bar above the list: the sort's name, and the content filter.
    m_top = new Toolbar(QRectF(0, kBarGap, 320, kTopBarHeight));
    m_listIcon = new ImageView(QRectF(8, 7, 20, 20));
    m_listIcon->setContentMode(ContentMode::Center);
    m_top->addSubview(m_listIcon);
    m_listTitle = new Label(QRectF(34, 0, 120, kTopBarHeight));
    m_listTitle->setFont(Font::fontWithName(QStringLiteral("Helvetica-Bold"), 15));
    m_listTitle->setTextColor(white);
    m_listTitle->setShadowColor(QColor(0, 0, 0, 90));
    m_listTitle->setBackgroundColor(Qt::transparent);
    m_listTitle->setOpaque(false);
    m_top->addSubview(m_listTitle);
    m_filterBox = new View(QRectF(0, 0, kFilterWidth, kTopBarHeight));
    m_filterBox->setBackgroundColor(Qt::transparent);
    m_filterBox->setOpaque(false);
    m_selectedFilter = new View(QRectF(0, 0, kFilterWidth, kTopBarHeight));
    m_selectedFilter->setBackgroundColor(QColor(0, 0, 0, 40));
    m_selectedFilter->setOpaque(false);
    m_filterBox->addSubview(m_selectedFilter);
    m_filter = new SegmentedControl({QString()});
    m_filter->setSegmentedControlStyle(SegmentedControlStyle::Bar);
    m_filter->addTarget(this, &HomeController::changeFilter, ControlEvent::ValueChanged);
    m_filterBox->addSubview(m_filter);
    m_contentTypeButton = BarButtonItem::withCustomView(m_filterBox);
    m_top->setItems({BarButtonItem::withSystemItem(BarButtonSystemItem::FlexibleSpace), m_contentTypeButton});
    root->addSubview(m_top);

    m_news = new PaginableTableView(QRectF(0, kListGap, 320, kListHeight));
    m_news->tableView()->setChoosesRowsByKeyboard(true);
    root->addSubview(m_news);
    m_loading = new ActivityIndicatorView(ActivityIndicatorStyle::Gray);
    m_loading->setFrame(QRectF(150, kListGap + 40, 20, 20));
    root->addSubview(m_loading);

    // The bar under the list: the sorts, and search.
    // Placed by the numbers, as the list is: the screen may be loaded before
    // the navigation bar takes its room.
    m_bottom = new Toolbar(QRectF(0, kListBottom, 320, kBottomBarHeight));
    m_sort = new SegmentedControl({QString(), QString(), QString()});
    m_sort->setSegmentedControlStyle(SegmentedControlStyle::Bar);
    m_sort->setSelectedSegmentIndex(Newest);
    m_sort->addTarget(this, &HomeController::changeOrder, ControlEvent::ValueChanged);
    m_search = new SegmentedControl({localized("nav_search")});
    m_search->setSegmentedControlStyle(SegmentedControlStyle::Bar);
    m_search->setMomentary(true);
    m_search->addTarget(this, &HomeController::gotoSearch, ControlEvent::ValueChanged);
    root->addSubview(m_bottom);

    // The content filter's panel, out of sight until the filter is tapped.
    m_filterSelection = new View(kFilterPanelStart);
    m_filterSelection->setBackgroundColor(QColor(0, 0, 0, 110));
    m_filterSelection->setOpaque(false);
    auto* outside = new Button(QRectF(0, 0, 320, 156), ButtonType::Custom);
    outside->addTarget(this, &HomeController::closeFilter, ControlEvent::TouchUpInside);
    m_filterSelection->addSubview(outside);
    auto* pickerBar = new Toolbar(QRectF(0, 156, 320, Toolbar::kHeight));
    pickerBar->setItems({BarButtonItem::withSystemItem(BarButtonSystemItem::FlexibleSpace),
                         BarButtonItem::withTitle(localized("done"), BarButtonItemStyle::Done, this,
                                                  &HomeController::closeFilter)});
    m_filterSelection->addSubview(pickerBar);
    m_filterPicker = new PickerView(QRectF(0, 200, 320, PickerView::kHeight));
    m_filterPicker->setDataSource(this);
    m_filterPicker->setDelegate(this);
    m_filterSelection->addSubview(m_filterPicker);
    root->addSubview(m_filterSelection);
}

void HomeController::viewDidLoad()
{
    MurmoraViewController::viewDidLoad();
    Config& config = Config::getInstance();
    Customizer& theme = Customizer::getInstance();

    m_news->setDelegate(this);
    if (!m_newTopDataSource) {
        showLoading();
        m_newTopDataSource = std::make_shared<NewTopSearch>();
        m_newTopDataSource->setDelegate(this);
        m_news->setModel(m_newTopDataSource);
    }
    if (!m_finder) {
        m_finder = std::make_shared<SearchAll>();
        m_finder->setType(kFinderType);
        m_finder->setDelegate(this);
    }
    // Without articles, blogs or a search across kinds there is nothing to choose.
    if (!config.isFeatureEnabled(Config::CmsEnabled) && !config.isFeatureEnabled(Config::BlogEnabled)
        && !config.isFeatureEnabled(Config::MultiTypeSearch))
        m_top->setItems({});

    const CurrentUserPtr user = CurrentUser::currentUser();
    m_userObservation.observe(user, this);
    m_user = user;
    user->fetchInfo();
    const ForumInfoPtr info = ForumInfo::getInstance();
    m_infoObservation.observe(info, this);
    m_info = info;

    m_signup->useRedDeleteStyle();

    m_filterRows = filterRows();
    m_filterPicker->reloadAllComponents();
    if (config.isFeatureEnabled(Config::MultiTypeSearch)) {
        // All content, as the feed starts.
        m_filterPicker->selectRow(int(m_filterRows.size()) - 1, 0, false);
    } else {
        m_filterPicker->selectRow(0, 0, false);
        didSelectRow(m_filterPicker, 0, 0);
    }

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

    m_notLoggedIn->setTitle(localized("home_not_logged_in"), ControlState::Normal);
    m_signup->setTitle(localized("home_sign_up"), ControlState::Normal);
    // The filter names the filter in force.
    showFilterTitle();
    m_listTitle->setText(localized("home_order_newest"));
    m_listIcon->setImageNamed(QStringLiteral("star.png"));
    m_sort->setTitle(localized("home_order_newest"), Newest);
    m_sort->setTitle(localized("home_order_top"), Top);
    m_sort->setTitle(localized("home_order_subscribed"), Subscribed);
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
    m_filterBox->setHidden(false);
    switch (m_sort->selectedSegmentIndex()) {
    case Top:
        m_newTopDataSource->setSearchOrder(NewTopSearch::TopOrder);
        m_news->setModel(m_newTopDataSource);
        m_listTitle->setText(localized("home_order_top"));
        m_listIcon->setImageNamed(QStringLiteral("icon_top.png"));
        break;
    case Subscribed:
        m_finder->setOrder(SearchAll::SubscribedOrder);
        m_news->setModel(m_finder);
        m_listTitle->setText(localized("home_order_subscribed"));
        m_listIcon->setImageNamed(QStringLiteral("icon_suscribed.png"));
        m_filterBox->setHidden(true);
        showLoading();
        break;
    default:
        m_newTopDataSource->setSearchOrder(NewTopSearch::NewOrder);
        m_news->setModel(m_newTopDataSource);
        m_listTitle->setText(localized("home_order_newest"));
        m_listIcon->setImageNamed(QStringLiteral("star.png"));
        break;
    }
}

void HomeController::changeFilter()
{
    if (!isViewLoaded())
        return;
    m_filter->setSelectedSegmentIndex(SegmentedControl::NoSegment);
    if (!m_filterSelection->superview()) {
        m_filterSelection->setFrame(kFilterPanelStart);
        view()->addSubview(m_filterSelection);
    }
    view()->bringSubviewToFront(m_filterSelection);
    m_filterSelection->setFrame(QRectF(QPointF(0, 0), m_filterSelection->frame().size()));
}

void HomeController::closeFilter()
{
    if (isViewLoaded())
        m_filterSelection->setFrame(QRectF(QPointF(0, m_filterSelection->frame().height()), m_filterSelection->frame().size()));
}

void HomeController::showFilterTitle()
{
    const int row = m_filterPicker->selectedRowInComponent(0);
    m_filter->setTitle(localized(row >= 0 && row < m_filterRows.size() ? m_filterRows[row].titleKey : QStringLiteral("home_all")), 0);
    m_filter->setWidth(0, 0);
    m_filter->sizeToFit();
    QRectF f = m_filter->frame();
    f.setWidth(std::min<qreal>(std::max<qreal>(f.width(), 90), kFilterWidth - 12));
    f.moveCenter(m_selectedFilter->frame().center());
    m_filter->setFrame(f);
}

int HomeController::numberOfComponentsInPickerView(PickerView*)
{
    return 1;
}

int HomeController::numberOfRowsInComponent(PickerView*, int)
{
    return int(m_filterRows.size());
}

QString HomeController::titleForRow(PickerView*, int row, int)
{
    return row >= 0 && row < m_filterRows.size() ? localized(m_filterRows[row].titleKey) : QString();
}

void HomeController::didSelectRow(PickerView*, int row, int)
{
    if (row < 0 || row >= m_filterRows.size())
        return;
    m_newTopDataSource->setSearchType(m_filterRows[row].searchType);
    showFilterTitle();
    // A row the wheel turned to shows at once, and the panel stays for more
    // turns; a click on a row, or "done", closes it.
    if (!m_filterPicker->isPickingByWheel())
        closeFilter();
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
    const ForumInfoPtr info = ForumInfo::getInstance();
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

bool HomeController::forgetListsOfAnotherReader()
{
    const CurrentUserPtr user = CurrentUser::currentUser();
    const qint32 reader = user->isMember() ? user->userid() : 0;
    const qint32 before = std::exchange(m_listReader, reader);
    if (before == reader || before < 0)
        return false;
    // What the last reader could see (a member's own thread waiting for
    // approval, their subscriptions) is not shown to the next one.
    for (const std::shared_ptr<ModelWithPages>& list :
         {std::static_pointer_cast<ModelWithPages>(m_newTopDataSource), std::static_pointer_cast<ModelWithPages>(m_finder)}) {
        if (!list)
            continue;
        list->cancelPageLoads();
        list->pages().clear();
        list->navs().clear();
    }
    return true;
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
    auto* menu = new ActionSheet(QString(), this, localized("cancel"), localized("home_avatar_delete"),
                                 {localized("home_avatar_change")});
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
    m_avatarBuilderObservation.observe(builder, this);
    builder->setTheNewAvatar(image);
    builder->upload();
}

void HomeController::showLoading()
{
    if (!isViewLoaded())
        return;
    m_loading->setHidden(false);
    m_loading->startAnimating();
}

void HomeController::hideLoading()
{
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
    Customizer& theme = Customizer::getInstance();
    const CurrentUserPtr user = CurrentUser::currentUser();
    const ForumInfoPtr info = ForumInfo::getInstance();
    const bool guest = !user->isMember();
    // Signing in and out are the home screen's in its own place, on the
    // login screen; opened by a link above other screens, it has the back
    // button that every screen so opened has.
    const bool ownPlace = standsInItsOwnPlace();

    const bool readAgain = forgetListsOfAnotherReader();
    m_news->reloadData();
    m_loggedin->setHidden(guest);
    WritingButton::update(*this, BarButtonSystemItem::Compose, ViewControllerRegistry::isRegistered(kComposeScreen),
                          &HomeController::createContent);
    m_anonymous->setHidden(!guest);
    const int notifications = info->numberOfNotifications();

    bool strip = false;
    if (guest) {
        // A guest has no subscriptions: the list goes back to the newest.
        if (m_sort->selectedSegmentIndex() == Subscribed) {
            m_sort->setSelectedSegmentIndex(Newest);
            changeOrder();
        }
        m_sort->setEnabledForSegmentAtIndex(false, Subscribed);
        m_welcomeAnonymous->setText(TextFormat::fill(localized("home_welcome_to"), {Value(theme.appLabel())}));
        // The caption reads from the left edge, under the greeting.
        m_notLoggedIn->sizeToFit();
        m_notLoggedIn->setFrame(QRectF(10, 26, std::min<qreal>(m_notLoggedIn->frame().width(), 200), 20));
        navigationItem()->setLeftBarButtonItem(
            ownPlace ? BarButtonItem::withTitle(localized("login"), BarButtonItemStyle::Done, this, &HomeController::login)
                     : nullptr);
        // Signing up has a screen of its own, not in a paid forum.
        m_signup->setHidden(Config::getInstance().isPaidSubscription()
                            || !ViewControllerRegistry::isRegistered(kRegistrationScreen));
    } else {
        m_sort->setEnabledForSegmentAtIndex(true, Subscribed);
        m_welcome->setTitle(TextFormat::fill(localized("home_welcome"), {Value(user->username())}), ControlState::Normal);
        navigationItem()->setLeftBarButtonItem(
            ownPlace
                ? BarButtonItem::withTitle(localized("home_logout"), BarButtonItemStyle::Done, this, &HomeController::logout)
                : nullptr);
        if (notifications >= 1) {
            strip = true;
            m_notificationsText->setTitle(
                notifications == 1 ? localized("home_notification")
                                   : TextFormat::fill(localized("home_notifications"), {Value(notifications)}),
                ControlState::Normal);
            m_notificationsBg->setFrame(m_notificationsView->bounds());
            m_notificationsBg->setTintColor(theme.colorForKey(kColorBackgroundNotification));
            m_notificationsText->setTitleColor(theme.colorForKey(kColorTextNotification), ControlState::Normal);
        }
    }
    m_notificationsView->setHidden(!strip);
    // Another reader: the list shown is read again for them, unless choosing
    // the order above asked for it already.
    if (readAgain && m_news->model() && !m_news->model()->isLoadingPages()) {
        m_news->refreshModel();
        showLoading();
    }

    qreal offset = strip ? kStripOffset : 0;
    View* header = guest ? m_anonymous : m_loggedin;
    header->setFrame(QRectF(QPointF(0, strip ? kHeaderYWithStrip : kHeaderY), header->frame().size()));

    // The notices, stacked.
    for (const NoticeControllerPtr& controller : std::as_const(m_noticeControllers)) {
        if (controller->isViewLoaded())
            controller->view()->removeFromSuperview();
    }
    m_noticeControllers.clear();
    const QList<NoticePtr> notices = info->notices();
    if (!notices.isEmpty()) {
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
        m_noticesView->setFrame(QRectF(0, offset + kBarGap, 320, stacked));
        offset += stacked;
    } else {
        m_noticesView->setHidden(true);
    }

    m_top->setFrame(QRectF(0, offset + kBarGap, 320, kTopBarHeight));
    AdMediationView* banner = footerBanner();
    const qreal bannerHeight = banner && banner->superview() ? banner->frame().height() : 0;
    const QRectF list(0, offset + kListGap, 320, kListHeight - (offset + bannerHeight));
    m_news->setFrame(list);
    if (banner)
        banner->setFrame(QRectF(QPointF(banner->frame().x(), list.bottom()), banner->frame().size()));
    m_loading->setFrame(QRectF(150, list.y() + 40, 20, 20));

    const QImage picture = user->avatar().qimage();
    m_avatar->setImage(picture);
    m_avatar->setHidden(guest || picture.isNull());
    // Without a picture, its place offers one.
    m_changePicture->setImage(picture.isNull() ? ResourceImages::named(QStringLiteral("avatar_add.png")) : QImage());
    m_welcome->sizeToFit();
    const qreal x = 66;
    m_welcome->setFrame(QRectF(x, 13, std::min<qreal>(m_welcome->frame().width(), 310 - x), 24));
    // The greeting opens the member's profile where that screen exists.
    m_welcome->removeTarget(this, ControlEvent::TouchUpInside);
    if (ViewControllerRegistry::isRegistered(kProfileScreen))
        m_welcome->addTarget(this, &HomeController::gotoProfile, ControlEvent::TouchUpInside);
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
