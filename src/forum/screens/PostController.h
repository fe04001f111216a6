#pragma once

#include "forum/cells/PostCellOwner.h"
#include "forum/cells/PostHeightCache.h"
#include "forum/model/QuickReply.h"
#include "forum/model/Thread.h"

#include "app/model/ModelObserver.h"
#include "app/screens/UIViewControllerCommon.h"
#include "app/widgets/PaginableTableDelegate.h"
#include "app/widgets/PaginableTableView.h"

#include "platform/foundation/AlertViewDelegate.h"
#include "platform/foundation/Observation.h"
#include "platform/ui/KeyboardObserver.h"
#include "platform/ui/TabBar.h"

#include <QList>
#include <QPointer>

class AppContext;
class Label;

class RoundedRectView;
class TabBarHidding;

// The posts of one thread, page by page: a paged table with one section per
// page (the thread's title over the first), one post row per post, the
// quick-reply row after the last page's posts, and a tab bar: reload,
// subscribe, moderate (for the forum's moderators), search in the thread
// (where the forum searches) and the first unread post. Posts of ignored
// members show collapsed until the user asks to see them; a tapped post
// opens alone. A member replies to an open thread with the bar's add button.
//
// Its caller gives it the thread with setThread before the view loads; a
// screen without a thread shows nothing and asks for nothing.
class PostController : public UIViewControllerCommon,
                       public PaginableTableDelegate,
                       public PostCellOwner,
                       public ModelObserver,
                       public TabBarDelegate,
                       public AlertViewDelegate,
                       public KeyboardObserver {
public:
    // The items of the tab bar, by their place in the full list.
    enum Item { Reload = 0, Subscribe = 1, Moderate = 2, SearchInThread = 3, FirstUnread = 4 };
    // The height between the navigation bar and the tab bar.
    static constexpr qreal kContentHeight = 367.0;
    static constexpr qreal kCollapsedRowHeight = 90.0;
    static constexpr qreal kQuickReplyRowHeight = 140.0;
    static constexpr qreal kMinimumRowHeight = 70.0;
    static constexpr qreal kLoadingCornerRadius = 15.0;
    static inline const QString kReplyScreen = QStringLiteral("Reply");
    // The screens the moderate and search items open, shown where they exist.
    static inline const QString kModerateScreen = QStringLiteral("PostModerateController");
    static inline const QString kSearchScreen = QStringLiteral("SearchPostController");

    explicit PostController(AppContext& context);
    ~PostController() override;

    const ThreadPtr& thread() const { return m_thread; }
    // Observes the thread (its title without "&amp;"), marks it read.
    void setThread(const ThreadPtr& thread);

    void buildNib(View* root) override;
    void viewDidLoad() override;
    // Measures the rows again: the posts may have changed meanwhile.
    void viewWillAppear(bool animated) override;

    // The quick-reply row of the thread, made with it.
    const QuickReplyPtr& quickReply() const { return m_quickReply; }
    // Text typed in the quick-reply row and not sent yet.
    bool holdsUnsentWork() const override;
    // The add button: the reply screen, given the thread.
    void reply();

    // Shows a collapsed post in full, while its page is loaded.
    void showPost(const PostPtr& post) override;
    bool isShownEvenIgnored(const Post* post) const;
    void updateLayout();

    PaginableTableView* postTable() const { return m_postTable; }
    TabBarHidding* actions() const { return m_actions; }
    View* loadingWrapper() const { return m_loadingWrapper; }
    RoundedRectView* loading() const { return m_loading; }
    Label* loadingText() const { return m_loadingText; }
    TabBarItemPtr item(Item index) const;
    const PostHeightCache& heights() const { return m_heights; }

    void modelHasChanged(Model* model) override;
    bool modelHasFailedToUpdate(Model* model, const Error& error) override;

    TableViewCell* cellForObject(PaginableTableView* tableView, const ModelPtr& object) override;
    qreal heightForCellWithObject(PaginableTableView* tableView, const ModelPtr& object) override;
    QString titleForTheFirstSection() override;
    void didSelectCell(TableViewCell* cell, const ModelPtr& object) override;
    std::optional<QList<ModelPtr>> appendArrayOfObjects() override;

    void didSelectItem(TabBar* tabBar, const TabBarItemPtr& item) override;
    void clickedButtonAtIndex(AlertView* alertView, int buttonIndex) override;

    void keyboardWillShow(const KeyboardInfo& info) override;
    void keyboardWillHide(const KeyboardInfo& info) override;

protected:
    // The context the screen was made on, which outlives it.
    AppContext& context() const { return m_context; }

    // The items of the bar, by their place; a kind of thread page lays out its own.
    virtual QList<TabBarItemPtr> makeActionItems();
    // Titles the items and shows those the member may use.
    virtual void updateActionItems();

private:
    AppContext& m_context;
    // Opens the screen of that class with the thread.
    void pushScreen(const QString& className);
    bool showsCollapsed(const Post& post) const;
    void updateReplyButton();
    // Forgets the posts shown in full that are no longer on a loaded page.
    void forgetPostsNotShown();
    void askSubscription();

    // Gone with the view, which may go before this screen does.
    QPointer<PaginableTableView> m_postTable;
    TabBarHidding* m_actions = nullptr;
    View* m_loadingWrapper = nullptr;
    RoundedRectView* m_loading = nullptr;
    Label* m_loadingText = nullptr;
    ThreadPtr m_thread;
    QuickReplyPtr m_quickReply;
    // Owned: posts the user chose to see although their author is ignored.
    QList<PostPtr> m_showEvenIgnored;
    PostHeightCache m_heights;
    std::shared_ptr<AlertView> m_subscriptionAlert;
    // The table was shortened for a keyboard that takes room.
    bool m_shortenedForKeyboard = false;
    Observation m_threadObservation;
    Observation m_keyboardObservation;
};
