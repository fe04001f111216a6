#pragma once

#include "app/model/ModelObserver.h"
#include "app/screens/MurmoraViewController.h"
#include "app/navigation/SelectImage.h"
#include "app/widgets/PaginableTableDelegate.h"
#include "forum/model/HomeState.h"
#include "forum/model/NewTopSearchDelegate.h"
#include "forum/model/SearchDelegate.h"
#include "forum/screens/NoticeController.h"

#include "platform/ui/ActionSheet.h"

#include "platform/foundation/AlertView.h"

#include <QList>
#include <QPointer>
#include <QString>

#include <memory>

class ActivityIndicatorView;
class AvatarBuilder;
class HomeFilterPanel;
class HomeGreeting;
class HomeNotificationStrip;
class ImageView;
class Label;
class PaginableTableView;
class SegmentedControl;
class Toolbar;

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
                       public ActionSheetDelegate,
                       public SelectImageDelegate,
                       public NoticeControllerDelegate {
public:
    // The sorts of the list.
    enum Sort { Newest = HomeState::Newest, Top = HomeState::Top, Subscribed = HomeState::Subscribed };
    static constexpr qint32 kFinderType = HomeState::kFinderType;
    static constexpr qreal kRowHeight = 50;
    // The vertical layout: the list ends at kListBottom, above the bottom bar.
    static constexpr qreal kStripOffset = 20;
    static constexpr qreal kHeaderYWithStrip = 28;
    static constexpr qreal kHeaderY = 5;
    static constexpr qreal kBarGap = 60;
    static constexpr qreal kListGap = 95;
    static constexpr qreal kListHeight = 278;
    static constexpr qreal kTopBarHeight = 35;
    static constexpr qreal kBottomBarHeight = 43;
    static constexpr qreal kFilterWidth = 160;
    // The screens the home screen opens, by class name.
    static inline const QString kNotificationsScreen = QStringLiteral("NotificationsController");
    static inline const QString kProfileScreen = QStringLiteral("ProfileController");
    static inline const QString kComposeScreen = QStringLiteral("CreateContent");
    static inline const QString kSearchScreen = QStringLiteral("SearchController");
    static inline const QString kRegistrationScreen = QStringLiteral("RegistrationController");
    // The screen the home screen stands on in its own place.
    static inline const QString kLoginScreen = QStringLiteral("LoginController");

    using FilterRow = HomeState::FilterRow;

    HomeController();
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

    // The rows of the content picker, by the forum's features.
    static QList<FilterRow> filterRows() { return HomeState::filterRowsOfForum(); }

    void deleteNotice(NoticeController* controller) override;
    void modelHasChanged(Model* model) override;
    bool modelHasFailedToUpdate(Model* model, const Error& error) override;
    void searchHasResults(Search* search) override;
    bool searchHasFailed(Search* search, const Error& error) override;
    void newTopHasResults(NewTopSearch* search) override;
    bool newTopHasResults(NewTopSearch* search, const Error& error) override;
    void clickedButtonAtIndex(AlertView* alertView, int buttonIndex) override;
    void clickedButtonAtIndex(ActionSheet* actionSheet, int buttonIndex) override;
    // Uploads the picked picture as the member's avatar.
    void imageWasSelected(const std::shared_ptr<ImageToUpload>& image, SelectImage* selectImage) override;

    TableViewCell* cellForObject(PaginableTableView* tableView, const ModelPtr& object) override;
    qreal heightForCellWithObject(PaginableTableView* tableView, const ModelPtr& object) override;
    QString titleForTheFirstSection() override;
    void didSelectCell(TableViewCell* cell, const ModelPtr& object) override;

    // What the screen shows, as it stands.
    const HomeState& state() const { return m_state; }
    // The sorts, chosen as a link asks.
    SegmentedControl* sort() const { return m_sort; }
    // The notices on screen, top first.
    const QList<NoticeControllerPtr>& noticeControllers() const { return m_noticeControllers; }
    // The picture's menu and the logout question while they are up.
    ActionSheet* avatarMenu() const { return m_avatarMenu.data(); }
    AlertView* logoutAlert() const { return m_logoutAlert.lock().get(); }

private:
    void buildBars(View* root);
    // The list, its name and the filter as the sort has them.
    void showSort();
    // The filter's segment names the filter in force.
    void showFilterTitle();
    // The notices, stacked from the top of their place; answers their height.
    qreal stackNotices();
    // On the login screen (or alone), as the application places it; not
    // above other screens, as a link opens it.
    bool standsInItsOwnPlace() const;

    HomeState m_state;
    bool m_listShown = false;
    PaginableTableView* m_news = nullptr;
    Toolbar* m_top = nullptr;
    Toolbar* m_bottom = nullptr;
    SegmentedControl* m_sort = nullptr;
    SegmentedControl* m_search = nullptr;
    SegmentedControl* m_filter = nullptr;
    View* m_selectedFilter = nullptr;
    // Off the bar (no kinds to choose) it has no superview: the screen keeps it.
    QPointer<View> m_filterBox;
    HomeFilterPanel* m_filterPanel = nullptr;
    HomeGreeting* m_greeting = nullptr;
    HomeNotificationStrip* m_strip = nullptr;
    QPointer<ActionSheet> m_avatarMenu;
    SelectImagePtr m_selector;
    // The upload on its way, observed for its failure.
    std::weak_ptr<AvatarBuilder> m_avatarBuilder;
    View* m_noticesView = nullptr;
    QList<NoticeControllerPtr> m_noticeControllers;
    ActivityIndicatorView* m_loading = nullptr;
    Label* m_listTitle = nullptr;
    ImageView* m_listIcon = nullptr;
    std::weak_ptr<AlertView> m_logoutAlert;
    // The models observed: the member and the forum's home data.
    std::weak_ptr<Model> m_user;
    std::weak_ptr<Model> m_info;
};
