#pragma once

#include "app/model/ModelObserver.h"
#include "app/screens/UIViewControllerCommon.h"
#include "app/widgets/PaginableTableDelegate.h"
#include "forum/cells/SubforumsHeader.h"
#include "forum/model/Forum.h"

#include "platform/ui/TabBar.h"

#include "platform/foundation/AlertView.h"
#include "platform/foundation/Observation.h"

#include <QPointer>

class AppContext;
class Label;
class PaginableTableView;
class RoundedRectView;
class TabBarHidding;

// The threads of one forum, page by page. Before the first page's threads
// come, in this order, the forum's subforums (while the user has opened them
// under the subforums header), its announcements and its sticky threads. A
// tab bar reloads the list and subscribes to the forum; moderating and
// searching the forum show where their screens exist. A password-protected
// forum asks for its password itself and stays empty until it is given.
class ThreadController : public UIViewControllerCommon,
                         public ModelObserver,
                         public PaginableTableDelegate,
                         public TabBarDelegate,
                         public AlertViewDelegate,
                         public SubforumsHeaderDelegate {
public:
    // The height the list and the banner share above the tab bar.
    static constexpr qreal kContentHeight = 367.0;
    static constexpr qreal kLoadingCornerRadius = 15.0;
    // The tab bar's items by their place in the full list.
    enum ActionItem { ReloadItem = 0, SubscribeItem = 1, ModerateItem = 2, SearchItem = 3 };
    // The screens the moderate and search items open, shown where they exist.
    static inline const QString kModerateScreen = QStringLiteral("ThreadModerateController");
    static inline const QString kSearchScreen = QStringLiteral("SearchThreadController");
    // The screens a row opens.
    static inline const QString kThreadScreen = QStringLiteral("PostController");
    static inline const QString kComposeScreen = QStringLiteral("CreateContent");

    explicit ThreadController(AppContext& context);
    ~ThreadController() override;

    const ForumPtr& forum() const { return m_forum; }
    // Shows the forum (observed while shown); given before the screen is pushed.
    void setForum(const ForumPtr& forum);

    void buildNib(View* root) override;
    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;

    // Starts a new thread in the forum (shown where the composing screen exists).
    void createPost();
    // Places the banner and the list, titles the items and shows those the
    // member may use.
    void updateLayout();

    void modelHasChanged(Model* model) override;
    bool modelHasFailedToUpdate(Model* model, const Error& error) override;

    TableViewCell* cellForObject(PaginableTableView* tableView, const ModelPtr& object) override;
    qreal heightForCellWithObject(PaginableTableView* tableView, const ModelPtr& object) override;
    View* viewForHeaderInSection(PaginableTableView* tableView, int section) override;
    std::optional<int> numberOfSectionsInTableView(PaginableTableView* tableView) override;
    QString titleForTheFirstSection() override;
    std::optional<QList<ModelPtr>> prependArrayOfObjects() override;
    void didSelectCell(TableViewCell* cell, const ModelPtr& object) override;

    void subforumsHeaderHasChanged(SubforumsHeader* header) override;
    void didSelectItem(TabBar* tabBar, const TabBarItemPtr& item) override;
    void clickedButtonAtIndex(AlertView* alertView, int buttonIndex) override;

    SubforumsHeader* header() const { return m_header.data(); }
    PaginableTableView* threadTable() const { return m_threadTable; }
    RoundedRectView* loading() const { return m_loading; }
    Label* loadingText() const { return m_loadingText; }
    View* loadingWrapper() const { return m_loadingWrapper; }
    const TabBarItemPtr& refresh() const { return m_refresh; }
    const TabBarItemPtr& subscribe() const { return m_subscribe; }
    const TabBarItemPtr& moderate() const { return m_moderate; }
    const TabBarItemPtr& search() const { return m_search; }
    TabBarHidding* actions() const { return m_actions; }
    // The subscription question on screen, if any.
    AlertView* subscriptionAlert() const { return m_subscriptionAlert.lock().get(); }

protected:
    // The context the screen was made on, which outlives it.
    AppContext& context() const { return m_context; }

    // The items of the bar, by their place; a kind of thread list lays out its own.
    virtual QList<TabBarItemPtr> makeActionItems();
    // Titles the items and shows those the member may use.
    virtual void updateActionItems();

private:
    AppContext& m_context;
    void hideLoadingWhenIdle();

    ForumPtr m_forum;
    QPointer<SubforumsHeader> m_header;
    PaginableTableView* m_threadTable = nullptr;
    RoundedRectView* m_loading = nullptr;
    Label* m_loadingText = nullptr;
    View* m_loadingWrapper = nullptr;
    TabBarItemPtr m_refresh;
    TabBarItemPtr m_subscribe;
    TabBarItemPtr m_moderate;
    TabBarItemPtr m_search;
    TabBarHidding* m_actions = nullptr;
    std::weak_ptr<AlertView> m_subscriptionAlert;
    Observation m_forumObservation;
};
