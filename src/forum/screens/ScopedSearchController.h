#pragma once

#include "app/model/ModelObserver.h"
#include "app/screens/UIViewControllerCommon.h"
#include "app/widgets/PaginableTableDelegate.h"
#include "forum/model/Search.h"
#include "forum/model/SearchDelegate.h"

#include "platform/ui/SearchBar.h"

#include "platform/foundation/Observation.h"

class ActivityIndicatorView;
class AppContext;
class PaginableTableView;
class StatusMessageView;

// The base of the searches within one forum and within one thread: a
// search field on top, the results below it page by page once there are
// some. Until then, and when nothing was found or the search failed, the
// place of the results says so (a failed search can be tried again). The
// kinds say what is searched and how a row shows and opens.
class ScopedSearchController : public UIViewControllerCommon,
                               public SearchDelegate,
                               public SearchBarDelegate,
                               public ModelObserver,
                               public PaginableTableDelegate {
public:
    static constexpr qreal kBarHeight = 44.0;

    explicit ScopedSearchController(AppContext& context);
    ~ScopedSearchController() override;

    void buildNib(View* root) override;
    void viewDidLoad() override;
    void viewDidAppear(bool animated) override;

    // Searches for the field's text (the search key, the search button).
    void doSearch();
    // The last search again.
    void retrySearch();

    void searchBarSearchButtonClicked(SearchBar* searchBar) override;
    void searchBarCancelButtonClicked(SearchBar* searchBar) override;
    void searchBarTextDidBeginEditing(SearchBar* searchBar) override;
    void searchBarTextDidEndEditing(SearchBar* searchBar) override;

    void searchHasResults(Search* search) override;
    bool searchHasFailed(Search* search, const Error& error) override;
    void modelHasChanged(Model* model) override;

    QString titleForTheFirstSection() override { return QString(); }

    // The search field.
    SearchBar* searchField() const { return m_search; }
    PaginableTableView* table() const { return m_table; }
    StatusMessageView* status() const { return m_status; }
    ActivityIndicatorView* loading() const { return m_loading; }
    bool justSearched() const { return m_justSearched; }
    // The search of the screen, made when its view loads.
    const SearchPtr& searchModel() const { return m_searchInfo; }

protected:
    // The context the screen was made on, which outlives it.
    AppContext& context() const { return m_context; }

    // The screen's kind of search, made once.
    virtual SearchPtr makeSearch() = 0;
    // What the place of the results says before the first search.
    virtual QString hintText() const = 0;
    // Told of each search's text before it is sent.
    virtual void willSearch(const QString& text) {}

private:
    AppContext& m_context;
    void startSearch(const QString& text);
    void showStatus(const QString& headline, const QString& message, bool retry);

    SearchBar* m_search = nullptr;
    PaginableTableView* m_table = nullptr;
    StatusMessageView* m_status = nullptr;
    ActivityIndicatorView* m_loading = nullptr;
    SearchPtr m_searchInfo;
    QString m_searchedText;
    bool m_justSearched = false;
    Observation m_searchInfoObservation;
};
