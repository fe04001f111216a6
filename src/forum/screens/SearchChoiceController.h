#pragma once

#include "app/screens/UIViewControllerCommon.h"

#include "platform/ui/TableViewDataSource.h"
#include "platform/ui/TableViewDelegate.h"

#include <QString>

class TableView;

// The base of the general search's setting screens: one plain list of
// rows, a tap chooses (or toggles) a row, and the chosen rows show a check
// mark. The kinds of setting say what the rows are and what a tap does.
class SearchChoiceController : public UIViewControllerCommon, public TableViewDataSource, public TableViewDelegate {
public:
    SearchChoiceController();
    ~SearchChoiceController() override;

    TableView* tableView() const { return m_tableView; }

    void buildNib(View* root) override;
    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;

    int numberOfRowsInSection(TableView* tableView, int section) override;
    TableViewCell* cellForRowAtIndexPath(TableView* tableView, const IndexPath& indexPath) override;
    std::optional<qreal> heightForRowAtIndexPath(TableView* tableView, const IndexPath& indexPath) override;
    void didSelectRowAtIndexPath(TableView* tableView, const IndexPath& indexPath) override;

    // The rows, as the list shows them.
    virtual int rowCount() const = 0;
    // The title's localisation key of a row.
    virtual QString titleKeyAt(int row) const = 0;
    virtual QString iconAt(int row) const { return QString(); }
    virtual bool isChosen(int row) const = 0;
    // A tap on the row.
    virtual void choose(int row) = 0;

    // The localised title of a row, or an empty text for a row there is not.
    QString titleAt(int row) const;

private:
    TableView* m_tableView = nullptr;
};
