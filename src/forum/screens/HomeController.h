#pragma once

#include "app/model/ModelObserver.h"
#include "app/screens/MurmoraViewController.h"
#include "app/widgets/PaginableTableDelegate.h"
#include "forum/model/HomeState.h"
#include "forum/model/NewTopSearchDelegate.h"
#include "forum/model/SearchDelegate.h"
#include "forum/screens/NoticeController.h"

#include "platform/foundation/AlertView.h"
#include "platform/foundation/Observation.h"

#include <QList>
#include <QString>

#include <memory>

class ActivityIndicatorView;
class AppContext;
class HomeFilterPanel;
class HomeGreeting;
class HomeListBar;
class HomeNotices;
class HomeNotificationStrip;
class HomePictureMenu;
class HomeSortBar;
class PaginableTableView;
class SegmentedControl;

// The first screen: a greeting (signing in or up for a guest, signing out
// for a member), the member's count of notifications, the forum's notices,
// and one list of recent content in three sorts: newest and top (of all
// content or one kind, chosen in a picker) and the member's subscribed
// threads. Each row opens its thread, blog entry or article. The member's
// picture (or the place for one) changes or deletes it. The forum's home
// data and the list are fetched again every time the screen shows.
class HomeController : public MurmoraViewController,
                       public PaginableTableDelegate,
                       public SearchDelegate,
                       public NewTopSearchDelegate,
                       public AlertViewDelegate,
                       public ModelObserver,
                       public NoticeControllerDelegate {
public:
    // The sorts of the list.
    enum Sort { Newest = HomeState::Newest, Top = HomeState::Top, Subscribed = HomeState::Subscribed };
    static constexpr qreal kRowHeight = 50;
    // The vertical layout: the list ends at kListBottom, above the bottom bar.
    static constexpr qreal kStripOffset = 20;
    static constexpr qreal kHeaderYWithStrip = 28;
    static constexpr qreal kHeaderY = 5;
    static constexpr qreal kBarGap = 60;
    static constexpr qreal kListGap = 95;
    static constexpr qreal kListHeight = 278;
    // The screens the home screen opens, by class name.
    static inline const QString kNotificationsScreen = QStringLiteral("NotificationsController");
    static inline const QString kProfileScreen = QStringLiteral("ProfileController");
    static inline const QString kComposeScreen = QStringLiteral("CreateContent");
    static inline const QString kSearchScreen = QStringLiteral("SearchController");
    static inline const QString kRegistrationScreen = QStringLiteral("RegistrationController");
    // The screen the home screen stands on in its own place.
    static inline const QString kLoginScreen = QStringLiteral("LoginController");

    explicit HomeController(AppContext& context);
    ~HomeController() override;

    void buildNib(View* root) override;
    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    QString getBarTitle() const override;

    // The controls' actions.
    void changeOrder();
    void changeFilter();
    void gotoSearch();
    void gotoNotifications();
    void gotoNotices();
    void gotoProfile();
    void registration();
    void logout();
    void logoutConfirmed();
    // The member's picture: a menu to delete or change it, or at once the
    // picker when there is none.
    void changeProfilePic();
    void showDeleteAvatarMenu();
    void showUploadAvatarMenu();
    void createContent();
    // Back to the login screen under this one.
    void login();
    // Closes the filter's panel, keeping the filter.
    void closeFilter();
    void showLoading();
    void hideLoading();
    // Places every part by the session, the notifications and the notices.
    void updateLayout();

    void deleteNotice(NoticeController* controller) override;
    void modelHasChanged(Model* model) override;
    bool modelHasFailedToUpdate(Model* model, const Error& error) override;
    void searchHasResults(Search* search) override;
    bool searchHasFailed(Search* search, const Error& error) override;
    void newTopHasResults(NewTopSearch* search) override;
    bool newTopHasResults(NewTopSearch* search, const Error& error) override;
    void clickedButtonAtIndex(AlertView* alertView, int buttonIndex) override;

    TableViewCell* cellForObject(PaginableTableView* tableView, const ModelPtr& object) override;
    qreal heightForCellWithObject(PaginableTableView* tableView, const ModelPtr& object) override;
    QString titleForTheFirstSection() override;
    void didSelectCell(TableViewCell* cell, const ModelPtr& object) override;

    // What the screen shows, as it stands.
    const HomeState& state() const { return m_state; }
    // The sorts, chosen as a link asks.
    SegmentedControl* sort() const;

private:
    // The list, its name and the filter as the sort has them.
    void showSort();
    // The filter's segment names the filter in force.
    void showFilterTitle();
    // On the login screen (or alone), as the application places it; not
    // above other screens, as a link opens it.
    bool standsInItsOwnPlace() const;

    HomeState m_state;
    bool m_listShown = false;
    PaginableTableView* m_news = nullptr;
    HomeListBar* m_top = nullptr;
    HomeSortBar* m_bottom = nullptr;
    HomeFilterPanel* m_filterPanel = nullptr;
    HomeGreeting* m_greeting = nullptr;
    HomeNotificationStrip* m_strip = nullptr;
    HomeNotices* m_notices = nullptr;
    std::unique_ptr<HomePictureMenu> m_pictureMenu;
    ActivityIndicatorView* m_loading = nullptr;
    std::weak_ptr<AlertView> m_logoutAlert;
    // The models observed: the member and the forum's home data.
    std::weak_ptr<Model> m_user;
    std::weak_ptr<Model> m_info;
    Observation m_userObservation;
    Observation m_infoObservation;
};
