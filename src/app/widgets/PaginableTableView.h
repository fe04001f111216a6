#pragma once

#include "app/model/ModelWithPages.h"
#include "app/widgets/PageNavViewDelegate.h"
#include "app/widgets/PaginableTableDelegate.h"
#include "app/widgets/PullRefreshTableHeaderDelegate.h"

#include "platform/ui/TableViewDataSource.h"
#include "platform/ui/TableViewDelegate.h"
#include "platform/ui/View.h"

#include "platform/foundation/ClockTimer.h"
#include "platform/foundation/Observation.h"
#include "platform/foundation/WeakRef.h"

#include <QList>
#include <QMap>
#include <QPointer>

#include <optional>

#include <memory>

class PageNavView;
class PullRefreshTableHeaderView;
class ShadowedTableView;

// The list view of every paged server list: a strip of page numbers on top,
// below it a table with one section per loaded page (the page chosen first,
// then the pages after it), and a pull-to-refresh band above the table's
// content. It observes its paged model, loads the next page by itself when
// the row at the end of the loaded pages comes into view, and leaves the
// rows' cells and heights to its delegate.
//
// The pages shown always follow each other from the page chosen, whatever
// order answers come in. Choosing a page cancels the pages still on their
// way; when the chosen page does not come, the list shown before comes back.
//
// Without a model it shows no sections and asks for nothing.
class PaginableTableView : public View,
                           public ModelObserver,
                           public PageNavViewDelegate,
                           public PullRefreshTableHeaderDelegate,
                           public TableViewDataSource,
                           public TableViewDelegate {
    Q_OBJECT
public:
    static constexpr qreal kNavHeight = 30.0;
    static constexpr qreal kSectionHeaderHeight = 30.0;
    static constexpr qreal kLoadingRowHeight = 44.0;
    // The band closes this long after a pull, whatever the answer.
    static constexpr qint64 kRefreshCloseDelayMs = 3000;

    explicit PaginableTableView(const QRectF& frame = QRectF());
    ~PaginableTableView() override;

    PaginableTableDelegate* delegate() const { return m_delegate.get(); }
    void setDelegate(PaginableTableDelegate* delegate) { m_delegate = delegate; }

    const std::shared_ptr<ModelWithPages>& model() const { return m_model; }
    // A new model gets a new strip and band and starts again at page 1; no
    // model empties the list.
    void setModel(const std::shared_ptr<ModelWithPages>& model);

    PageNavView* navView() const;
    PullRefreshTableHeaderView* refreshHeaderView() const;
    // The table, made on first use.
    ShadowedTableView* tableView();

    // Shows the strip only for lists of two pages or more; the table takes the rest.
    void updateLayout();
    void reloadData();
    // Loads the chosen page again.
    void refreshModel();
    // Empties the list and loads the page the server chooses.
    void loadNewPage();
    void scrollToTheLastRow();
    void scrollToTheTopOfTheSection();
    // Closes the pull-to-refresh band.
    void doneLoadingTableViewData();
    bool isRefreshCloseScheduled() const { return m_refreshClose.isActive(); }

    // The page a section shows, and the objects of its rows (without the row
    // that loads the next page).
    unsigned pageForSection(int section) const;
    QList<ModelPtr> rowsForSection(int section);
    // The strip shows the page of a row: its block, marked as on screen.
    void updatePageNavAtIndexPath(const IndexPath& indexPath);
    // The strip follows the page at the top of the list as it scrolls.
    void followPageOnScreen();
    // Whether the row is the one that loads the next page.
    bool isLoadNextRow(const IndexPath& indexPath);

    void modelHasChanged(Model* model) override;
    // Only puts the list back when a chosen page failed; whoever shows
    // failures shows this one.
    bool modelHasFailedToUpdate(Model* model, const Error& error) override;
    void pageNavViewDidSelectPage(PageNavView* pageNavView, unsigned page) override;
    void pullRefreshTableHeaderDidTriggerRefresh(PullRefreshTableHeaderView* view) override;
    bool pullRefreshTableHeaderDataSourceIsLoading(PullRefreshTableHeaderView* view) override;
    std::optional<QDateTime> pullRefreshTableHeaderDataSourceLastUpdated(PullRefreshTableHeaderView* view) override;

    // A row's key names its place (a page's row, a row before or after the
    // pages, the row that loads a page) and its object: a reload finds the
    // object where it went, else the same place (a page loaded afresh), and
    // the row that loaded a page becomes that page's first row.
    QVariant keyForRowAtIndexPath(TableView* tableView, const IndexPath& indexPath) override;
    std::optional<IndexPath> indexPathForRowKey(TableView* tableView, const QVariant& key) override;
    int numberOfSectionsInTableView(TableView* tableView) override;
    int numberOfRowsInSection(TableView* tableView, int section) override;
    TableViewCell* cellForRowAtIndexPath(TableView* tableView, const IndexPath& indexPath) override;
    std::optional<qreal> heightForRowAtIndexPath(TableView* tableView, const IndexPath& indexPath) override;
    std::optional<qreal> heightForHeaderInSection(TableView* tableView, int section) override;
    View* viewForHeaderInSection(TableView* tableView, int section) override;
    void didSelectRowAtIndexPath(TableView* tableView, const IndexPath& indexPath) override;
    void willDisplayCell(TableView* tableView, TableViewCell* cell, const IndexPath& indexPath) override;
    void scrollViewDidScroll(ScrollView* scrollView) override;
    void scrollViewDidEndDragging(ScrollView* scrollView, bool willDecelerate) override;

private:
    // The list shown before a page was chosen: kept until that page comes,
    // given back when it does not.
    struct ReplacedList {
        QMap<QString, ModelWithPages::Page> pages;
        QMap<QString, PageNavPtr> navs;
        PageNavPtr pagenav;
        unsigned firstPage = 1;
        QPointF offset;
    };

    struct RowKey {
        enum class Place { PageRow, Before, After, LoadsPage };
        Place place = Place::PageRow;
        unsigned page = 0;
        int index = 0;
        std::weak_ptr<Model> object;
        QString kind;
    };

    int sectionCount();
    // The rows before a section's page rows (those the delegate puts first).
    int rowsBefore(int section);
    // The section showing the page, or -1.
    int sectionOfPage(unsigned page);
    // How many pages in a row, from the first shown, are loaded.
    int loadedRun() const;
    bool showsLoadNextRow() const;
    // The first page did not come: one row says why and offers it again.
    bool showsFailure() const;
    // Whether the pages shown reach the list's last page.
    bool showsLastPage() const;
    // Loads a page; 0 asks for the page the server chooses.
    void fetch(unsigned page);
    // Once the chosen page's load has ended: its page replaces the list, or
    // the list replaced comes back. The offset to scroll back to, if so.
    std::optional<QPointF> settleChosenPage();
    void showModel(const std::optional<QPointF>& offset = std::nullopt);

    QPointer<PageNavView> m_navView;
    QPointer<ShadowedTableView> m_tableView;
    QPointer<PullRefreshTableHeaderView> m_refreshHeaderView;
    std::shared_ptr<ModelWithPages> m_model;
    WeakRef<PaginableTableDelegate> m_delegate;
    ClockTimer m_refreshClose;
    std::optional<ReplacedList> m_replaced;
    // Why the page did not come, while nothing is shown; null otherwise.
    QString m_failure;
    unsigned m_shownFirstPage = 1;
    Observation m_modelObservation;
};
