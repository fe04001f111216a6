#pragma once

#include "app/model/ModelObserver.h"
#include "app/screens/MurmoraViewController.h"
#include "app/widgets/PaginableTableDelegate.h"
#include "forum/model/SearchAll.h"
#include "forum/model/SearchDelegate.h"

#include "platform/ui/SearchBar.h"
#include "platform/ui/TableViewDataSource.h"
#include "platform/ui/TableViewDelegate.h"

#include "platform/foundation/Observation.h"

#include <memory>

class ActivityIndicatorView;
class AppContext;
class BarButtonItem;
class PaginableTableView;
class SearchForController;
class SearchFromController;
class SearchOrderController;
class SegmentedControl;
class StatusMessageView;
class TableView;
class Toolbar;

// The general search: words, a member's name or a tag, in the content
// kinds, within the date limit and in the sort order chosen on the three
// setting rows above the results. Its results open their threads, articles
// and blog entries. A search needs three characters at least; one that
// finds nothing says so where the results would be, and one that failed
// says why and can be tried again.
class SearchController : public MurmoraViewController,
                         public SearchDelegate,
                         public SearchBarDelegate,
                         public ModelObserver,
                         public PaginableTableDelegate,
                         public TableViewDataSource,
                         public TableViewDelegate {
public:
    // The screen's height above its search button's bar.
    static constexpr qreal kContentHeight = 372.0;
    static constexpr qreal kSettingsHeight = 180.0;
    static constexpr qreal kRowHeight = 50.0;
    static constexpr int kMinimumSearchLength = 3;
    // The bar's words, trimmed, for any search screen; null when they are too
    // few to look for, after the bar let go of the keyboard and an alert said so.
    static QString wordsToSearch(SearchBar* bar);
    // The setting rows.
    enum SettingRow { SearchForRow = 0, FindPostRow = 1, SortResultRow = 2 };
    // The segments of what the text is.
    enum Criteria { Keywords = 0, Usernames = 1, Tags = 2 };

    explicit SearchController(AppContext& context);
    ~SearchController() override;

    QString getBarTitle() const override;
    void buildNib(View* root) override;
    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void updateLayout();

    // Searches for the field's text (the search key, the search button).
    void doSearch();
    // The last search again.
    void retrySearch();
    // Another segment: what was found goes.
    void changeCriteria();

    void searchHasResults(Search* search) override;
    bool searchHasFailed(Search* search, const Error& error) override;
    void modelHasChanged(Model* model) override;

    void searchBarSearchButtonClicked(SearchBar* searchBar) override;

    TableViewCell* cellForObject(PaginableTableView* tableView, const ModelPtr& object) override;
    qreal heightForCellWithObject(PaginableTableView* tableView, const ModelPtr& object) override;
    QString titleForTheFirstSection() override;
    void didSelectCell(TableViewCell* cell, const ModelPtr& object) override;

    // The settings' table.
    int numberOfRowsInSection(TableView* tableView, int section) override;
    TableViewCell* cellForRowAtIndexPath(TableView* tableView, const IndexPath& indexPath) override;
    std::optional<qreal> heightForRowAtIndexPath(TableView* tableView, const IndexPath& indexPath) override;
    void didSelectRowAtIndexPath(TableView* tableView, const IndexPath& indexPath) override;

    const SearchAllPtr& search() const { return m_search; }
    SearchBar* searchBar() const { return m_searchBar; }
    Toolbar* searchType() const { return m_searchType; }
    Toolbar* searchButtonBar() const { return m_searchButtonBar; }
    const std::shared_ptr<BarButtonItem>& searchButton() const { return m_searchButton; }
    SegmentedControl* searchCriteria() const { return m_searchCriteria; }
    TableView* settings() const { return m_settings; }
    PaginableTableView* resultsTable() const { return m_resultsTable; }
    ActivityIndicatorView* loading() const { return m_loading; }
    StatusMessageView* status() const { return m_status; }
    const std::shared_ptr<SearchForController>& searchForController() const { return m_searchForController; }
    const std::shared_ptr<SearchFromController>& searchFromController() const { return m_searchFromController; }
    const std::shared_ptr<SearchOrderController>& searchOrderController() const { return m_searchOrderController; }
    // The value a setting row shows.
    QString settingValue(SettingRow row) const;

private:
    void startSearch(const QString& text);
    void showStatus(const QString& headline, const QString& message, bool retry);
    void hideStatus();
    void stopLoading();

    SearchAllPtr m_search;
    SearchBar* m_searchBar = nullptr;
    Toolbar* m_searchType = nullptr;
    Toolbar* m_searchButtonBar = nullptr;
    std::shared_ptr<BarButtonItem> m_searchButton;
    SegmentedControl* m_searchCriteria = nullptr;
    TableView* m_settings = nullptr;
    PaginableTableView* m_resultsTable = nullptr;
    ActivityIndicatorView* m_loading = nullptr;
    StatusMessageView* m_status = nullptr;
    std::shared_ptr<SearchForController> m_searchForController;
    std::shared_ptr<SearchFromController> m_searchFromController;
    std::shared_ptr<SearchOrderController> m_searchOrderController;
    // The text of the search in hand, for trying it again.
    QString m_searchedText;
    bool m_showFirstResults = false;
    Observation m_searchObservation;
};
