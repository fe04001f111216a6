#pragma once

#include "app/model/ModelObserver.h"
#include "app/screens/UIViewControllerCommon.h"
#include "forum/model/ForumInfo.h"
#include "forum/screens/SelectForumDelegate.h"

#include "platform/ui/TableViewDataSource.h"
#include "platform/ui/TableViewDelegate.h"

#include "platform/foundation/Observation.h"

class AppContext;
class Label;
class TableView;

// The forum picker: the forum tree one level at a time. At the top, one
// section per top-level entry (a category's forums, or a forum followed by
// its subforums); a forum with subforums opens its own level (the forum
// itself, then its subforums), where choosing the forum itself picks it.
// Categories cannot be picked. "Back" returns to the top from any level and
// closes the picker at the top without a word to the delegate. The opener
// sets the delegate (and may give a tree) and pushes it.
class SelectForumController : public UIViewControllerCommon,
                              public ModelObserver,
                              public TableViewDataSource,
                              public TableViewDelegate {
public:
    static constexpr qreal kSectionHeaderHeight = 44.0;

    explicit SelectForumController(AppContext& context);
    ~SelectForumController() override;

    void buildNib(View* root) override;
    void viewDidLoad() override;
    void viewDidAppear(bool animated) override;
    // The bar's "back".
    void handleBack();

    void modelHasChanged(Model* model) override;
    // The tree could not be fetched: the model shows why, the screen says
    // there is nothing to choose.
    bool modelHasFailedToUpdate(Model* model, const Error& error) override;

    int numberOfSectionsInTableView(TableView* tableView) override;
    int numberOfRowsInSection(TableView* tableView, int section) override;
    TableViewCell* cellForRowAtIndexPath(TableView* tableView, const IndexPath& indexPath) override;
    std::optional<qreal> heightForHeaderInSection(TableView* tableView, int section) override;
    View* viewForHeaderInSection(TableView* tableView, int section) override;
    IndexPath willSelectRowAtIndexPath(TableView* tableView, const IndexPath& indexPath) override;
    void didSelectRowAtIndexPath(TableView* tableView, const IndexPath& indexPath) override;

    // The forum of a row of the level shown, or null.
    ForumPtr retrieveForumAtIndexPath(const IndexPath& indexPath) const;
    // A section's header text (empty for a forum's section at the top).
    QString titleOfSection(int section) const;

    TableView* forumTable() const { return m_forumTable; }
    // The tree to choose from; the shared one when the opener gives none
    // (or an empty one).
    const ForumInfoPtr& info() const { return m_info; }
    void setInfo(const ForumInfoPtr& info);
    SelectForumDelegate* delegate() const { return m_delegate.get(); }
    void setDelegate(SelectForumDelegate* delegate) { m_delegate = WeakRef<SelectForumDelegate>(delegate); }
    // The forum whose level is shown; null at the top of the tree.
    const ForumPtr& level() const { return m_level; }
    // Says that the tree is on its way, or that it has nothing to choose.
    Label* emptyLabel() const { return m_emptyLabel; }

protected:
    // The context the screen was made on, which outlives it.
    AppContext& context() const { return m_context; }

private:
    AppContext& m_context;
    void showLevel(const ForumPtr& forum);
    // `failed`: the tree's fetch has just failed, nothing more is coming.
    void reload(bool failed = false);

    TableView* m_forumTable = nullptr;
    Label* m_emptyLabel = nullptr;
    ForumInfoPtr m_info;
    ForumPtr m_level;
    WeakRef<SelectForumDelegate> m_delegate;
    Observation m_infoObservation;
};
