#pragma once

#include "app/model/ModelObserver.h"
#include "app/screens/MurmoraViewController.h"
#include "app/navigation/SelectImage.h"
#include "app/widgets/PaginableTableDelegate.h"
#include "forum/model/NewTopSearch.h"
#include "forum/model/NewTopSearchDelegate.h"
#include "forum/model/SearchAll.h"
#include "forum/model/SearchDelegate.h"
#include "forum/screens/NoticeController.h"

#include "platform/ui/ActionSheet.h"
#include "platform/ui/PickerView.h"

#include "platform/foundation/AlertView.h"
#include "platform/foundation/Observation.h"

#include <QList>
#include <QPointer>
#include <QString>

#include <memory>

class ActivityIndicatorView;
class BarButtonItem;
class Button;
class GradientButton;
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
                       public PickerViewDataSource,
                       public PickerViewDelegate,
                       public ModelObserver,
                       public ActionSheetDelegate,
                       public SelectImageDelegate,
                       public NoticeControllerDelegate {
public:
    // The sorts of the list.
    enum Sort { Newest = 0, Top = 1, Subscribed = 2 };
    // The subscribed list searches every kind of content.
    static constexpr qint32 kFinderType = 63;
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
    // Where the filter's panel waits, and its size.
    static inline const QRectF kFilterPanelStart = QRectF(0, 480, 320, 460);
    // The screens the home screen opens, by class name.
    static inline const QString kNotificationsScreen = QStringLiteral("NotificationsController");
    static inline const QString kProfileScreen = QStringLiteral("ProfileController");
    static inline const QString kComposeScreen = QStringLiteral("CreateContent");
    static inline const QString kSearchScreen = QStringLiteral("SearchController");
    static inline const QString kRegistrationScreen = QStringLiteral("RegistrationController");
    // The screen the home screen stands on in its own place.
    static inline const QString kLoginScreen = QStringLiteral("LoginController");

    // One row of the content picker.
    struct FilterRow {
        QString titleKey;
        qint32 searchType;
    };

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
    static QList<FilterRow> filterRows();

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

    int numberOfComponentsInPickerView(PickerView* pickerView) override;
    int numberOfRowsInComponent(PickerView* pickerView, int component) override;
    QString titleForRow(PickerView* pickerView, int row, int component) override;
    void didSelectRow(PickerView* pickerView, int row, int component) override;

    PaginableTableView* news() const { return m_news; }
    const NewTopSearchPtr& newTopDataSource() const { return m_newTopDataSource; }
    const SearchAllPtr& finder() const { return m_finder; }
    Toolbar* top() const { return m_top; }
    Toolbar* bottom() const { return m_bottom; }
    const std::shared_ptr<BarButtonItem>& contentTypeButton() const { return m_contentTypeButton; }
    SegmentedControl* sort() const { return m_sort; }
    SegmentedControl* search() const { return m_search; }
    SegmentedControl* filter() const { return m_filter; }
    View* filterSelection() const { return m_filterSelection; }
    PickerView* filterPicker() const { return m_filterPicker; }
    View* selectedFilter() const { return m_selectedFilter; }
    GradientButton* signup() const { return m_signup; }
    Button* notLoggedIn() const { return m_notLoggedIn; }
    Button* welcome() const { return m_welcome; }
    Label* welcomeAnonymous() const { return m_welcomeAnonymous; }
    View* loggedin() const { return m_loggedin; }
    View* anonymous() const { return m_anonymous; }
    ImageView* avatar() const { return m_avatar; }
    // Over the picture, or a place for one when there is none.
    Button* changePicture() const { return m_changePicture; }
    // The picture's menu while it is up, and the picker of a new picture.
    ActionSheet* avatarMenu() const { return m_avatarMenu.data(); }
    const SelectImagePtr& selector() const { return m_selector; }
    View* notificationsView() const { return m_notificationsView; }
    Toolbar* notificationsBg() const { return m_notificationsBg; }
    Button* notificationsText() const { return m_notificationsText; }
    View* noticesView() const { return m_noticesView; }
    const QList<NoticeControllerPtr>& noticeControllers() const { return m_noticeControllers; }
    ActivityIndicatorView* loading() const { return m_loading; }
    Label* list_title() const { return m_listTitle; }
    ImageView* list_icon() const { return m_listIcon; }
    // The logout question on screen, if any.
    AlertView* logoutAlert() const { return m_logoutAlert.lock().get(); }

private:
    // The filter's segment names the filter in force.
    void showFilterTitle();
    // Empties the lists when they were read for another reader (a member
    // signed out, or another signed in); answers whether they were.
    bool forgetListsOfAnotherReader();
    // On the login screen (or alone), as the application places it; not
    // above other screens, as a link opens it.
    bool standsInItsOwnPlace() const;

    PaginableTableView* m_news = nullptr;
    NewTopSearchPtr m_newTopDataSource;
    SearchAllPtr m_finder;
    // Who the lists were read for: 0 a guest, else the member's id; -1 nobody yet.
    qint32 m_listReader = -1;
    Toolbar* m_top = nullptr;
    Toolbar* m_bottom = nullptr;
    std::shared_ptr<BarButtonItem> m_contentTypeButton;
    SegmentedControl* m_sort = nullptr;
    SegmentedControl* m_search = nullptr;
    SegmentedControl* m_filter = nullptr;
    View* m_filterSelection = nullptr;
    PickerView* m_filterPicker = nullptr;
    View* m_selectedFilter = nullptr;
    // Off the bar (no kinds to choose) it has no superview: the screen keeps it.
    QPointer<View> m_filterBox;
    GradientButton* m_signup = nullptr;
    Button* m_notLoggedIn = nullptr;
    Button* m_welcome = nullptr;
    Label* m_welcomeAnonymous = nullptr;
    View* m_loggedin = nullptr;
    View* m_anonymous = nullptr;
    ImageView* m_avatar = nullptr;
    Button* m_changePicture = nullptr;
    QPointer<ActionSheet> m_avatarMenu;
    SelectImagePtr m_selector;
    View* m_notificationsView = nullptr;
    Toolbar* m_notificationsBg = nullptr;
    Button* m_notificationsText = nullptr;
    View* m_noticesView = nullptr;
    QList<NoticeControllerPtr> m_noticeControllers;
    ActivityIndicatorView* m_loading = nullptr;
    Label* m_listTitle = nullptr;
    ImageView* m_listIcon = nullptr;
    std::weak_ptr<AlertView> m_logoutAlert;
    // The rows of the picker as it was filled.
    QList<FilterRow> m_filterRows;
    // The models observed: the member and the forum's home data.
    std::weak_ptr<Model> m_user;
    std::weak_ptr<Model> m_info;
    Observation m_userObservation;
    Observation m_infoObservation;
    // The upload on its way, observed for its failure.
    Observation m_avatarBuilderObservation;
};
