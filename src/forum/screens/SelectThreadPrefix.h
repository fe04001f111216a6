#pragma once

#include "forum/screens/SelectThreadPrefixDelegate.h"

#include "app/screens/UIViewControllerCommon.h"

#include "platform/ui/TableViewDataSource.h"
#include "platform/ui/TableViewDelegate.h"

#include "platform/foundation/Value.h"

class TableView;

// The prefixes a forum offers a new thread, a section per group (its title
// over it, none for a group without one), a row per prefix. Choosing one
// tells the delegate, when it takes prefixes, and takes this very screen off
// the stack either way.
class SelectThreadPrefix : public UIViewControllerCommon, public TableViewDataSource, public TableViewDelegate {
public:
    SelectThreadPrefix();
    ~SelectThreadPrefix() override;

    void buildNib(View* root) override;
    void viewDidLoad() override;
    // The list has the keyboard as it opens.
    void viewDidAppear(bool animated) override;

    // Groups: {"optgroup_label", "optgroup_options": a list of prefixes or one
    // prefix}, a prefix {"optionvalue", "optiontitle"}.
    const Value& prefixes() const { return m_prefixes; }
    void setPrefixes(const Value& prefixes);
    // The prefixes of a group as a list (one prefix as a list of one); nothing
    // for a missing group.
    Value prefixesForGroup(int section) const;
    SelectThreadPrefixDelegate* delegate() const { return m_delegate.get(); }
    void setDelegate(SelectThreadPrefixDelegate* delegate) { m_delegate = WeakRef<SelectThreadPrefixDelegate>(delegate); }
    TableView* table() const { return m_table; }

    int numberOfSectionsInTableView(TableView* tableView) override;
    int numberOfRowsInSection(TableView* tableView, int section) override;
    TableViewCell* cellForRowAtIndexPath(TableView* tableView, const IndexPath& indexPath) override;
    std::optional<qreal> heightForHeaderInSection(TableView* tableView, int section) override;
    View* viewForHeaderInSection(TableView* tableView, int section) override;
    void didSelectRowAtIndexPath(TableView* tableView, const IndexPath& indexPath) override;

private:
    QString titleOfGroup(int section) const;

    TableView* m_table = nullptr;
    Value m_prefixes;
    WeakRef<SelectThreadPrefixDelegate> m_delegate;
};
