#include "app/widgets/PaginableTableView.h"

#include "app/config/Customizer.h"
#include "app/widgets/PageFailedCell.h"
#include "app/widgets/LoadCellNib.h"
#include "app/widgets/LoadingCell.h"
#include "app/widgets/PageNavView.h"
#include "app/widgets/PullRefreshTableHeaderView.h"
#include "app/widgets/SectionHeaderLabel.h"
#include "app/widgets/ShadowedTableView.h"

#include "platform/ui/Label.h"

#include "platform/foundation/Clock.h"
#include "platform/foundation/Localized.h"
#include "platform/foundation/TextFormat.h"

#include <typeinfo>

PaginableTableView::PaginableTableView(const QRectF& frame) : View(frame)
{
    setBackgroundColor(Qt::transparent);
    setOpaque(false);
}

PaginableTableView::~PaginableTableView()
{
    m_delegate.reset();
    if (m_refreshHeaderView)
        m_refreshHeaderView->setDelegate(nullptr);
    if (m_navView)
        m_navView->setDelegate(nullptr);
    if (m_tableView) {
        m_tableView->setDelegate(nullptr);
        m_tableView->setDataSource(nullptr);
    }
}

void PaginableTableView::setModel(const std::shared_ptr<ModelWithPages>& model)
{
    if (model == m_model)
        return;
    m_model = model;
    m_modelObservation.observe(m_model, this);
    // Another list: no row of it is chosen yet.
    if (m_tableView)
        m_tableView->deselectRowAtIndexPath(m_tableView->indexPathForSelectedRow(), false);
    if (!model) {
        m_replaced.reset();
        updateLayout();
        if (m_tableView)
            m_tableView->reloadData();
        return;
    }

    ShadowedTableView* table = tableView();
    if (m_refreshHeaderView) {
        m_refreshHeaderView->setDelegate(nullptr);
        m_refreshHeaderView->removeFromSuperview();
    }
    // A band still open for the old model closes with it.
    m_refreshClose.cancel();
    table->setContentInset(EdgeInsets{});
    const qreal bandHeight = table->bounds().height();
    m_refreshHeaderView = new PullRefreshTableHeaderView(QRectF(0, -bandHeight, frame().width(), bandHeight));
    m_refreshHeaderView->setDelegate(this);
    table->addSubview(m_refreshHeaderView);

    if (m_navView) {
        m_navView->removeFromSuperview();
        m_navView->setDelegate(nullptr);
    }
    m_navView = new PageNavView(QRectF(0, 0, frame().width(), kNavHeight));
    m_navView->setAutoresizingMask(Autoresizing::FlexibleWidth);
    m_navView->setDelegate(this);
    addSubview(m_navView);

    updateLayout();
    // This table showed nothing of the new model yet.
    m_replaced = ReplacedList{};
    m_shownFirstPage = 1;
    // Through the strip's delegate: loads page 1.
    m_navView->setSelectedPage(1);
}

PageNavView* PaginableTableView::navView() const
{
    return m_navView.data();
}

PullRefreshTableHeaderView* PaginableTableView::refreshHeaderView() const
{
    return m_refreshHeaderView.data();
}

ShadowedTableView* PaginableTableView::tableView()
{
    if (!m_tableView) {
        const qreal h = m_navView ? m_navView->frame().height() : 0;
        auto* table = new ShadowedTableView(QRectF(0, h, frame().width(), frame().height() - h));
        table->setAutoresizingMask(Autoresizing::FlexibleSize);
        // The screen's own colour rather than none: an opaque table moves
        // its drawn rows when it scrolls and draws only what comes into view.
        table->setBackgroundColor(Customizer::getInstance().colorForKey(kColorBackground));
        table->setSeparatorStyle(TableViewCellSeparatorStyle::None);
        table->setDataSource(this);
        table->setDelegate(this);
        addSubview(table);
        m_tableView = table;
    }
    return m_tableView;
}

void PaginableTableView::updateLayout()
{
    qreal h = 0;
    if (m_navView) {
        const bool paged = m_model && m_model->totalpages() >= 2;
        m_navView->setHidden(!paged);
        h = paged ? m_navView->frame().height() : 0;
    }
    if (m_tableView)
        m_tableView->setFrame(QRectF(0, h, frame().width(), frame().height() - h));
}

void PaginableTableView::reloadData()
{
    tableView()->reloadData();
}

void PaginableTableView::fetch(unsigned page)
{
    m_failure = QString();
    if (m_model)
        m_model->loadPage(page);
}

void PaginableTableView::refreshModel()
{
    fetch(m_navView ? m_navView->selectedPage() : 1);
}

void PaginableTableView::loadNewPage()
{
    if (m_navView)
        m_navView->setSelectedPage(0);
}

void PaginableTableView::scrollToTheLastRow()
{
    if (!m_model || !m_tableView)
        return;
    const int section = sectionCount() - 1;
    const int row = int(rowsForSection(section).size()) - 1;
    if (section >= 0 && row >= 0)
        m_tableView->scrollToRowAtIndexPath(IndexPath{section, row}, TableViewScrollPosition::Bottom, true);
}

void PaginableTableView::scrollToTheTopOfTheSection()
{
    if (m_tableView && m_tableView->numberOfRowsInSection(0) >= 1)
        m_tableView->setContentOffset(QPointF(0, 0), true);
}

void PaginableTableView::doneLoadingTableViewData()
{
    if (m_refreshHeaderView)
        m_refreshHeaderView->pullRefreshScrollViewDataSourceDidFinishedLoading(m_tableView);
}

unsigned PaginableTableView::pageForSection(int section) const
{
    return (m_navView ? m_navView->selectedPage() : 1) + static_cast<unsigned>(std::max(0, section));
}

QList<ModelPtr> PaginableTableView::rowsForSection(int section)
{
    QList<ModelPtr> rows;
    if (!m_model || section < 0)
        return rows;
    PaginableTableDelegate* delegate = m_delegate.get();
    if (section == 0 && delegate) {
        if (const std::optional<QList<ModelPtr>> prepended = delegate->prependArrayOfObjects())
            rows += *prepended;
    }
    rows += m_model->pages().value(ModelWithPages::pageKey(static_cast<int>(pageForSection(section))));
    if (section == sectionCount() - 1 && delegate && showsLastPage()) {
        if (const std::optional<QList<ModelPtr>> appended = delegate->appendArrayOfObjects())
            rows += *appended;
    }
    return rows;
}

int PaginableTableView::loadedRun() const
{
    if (!m_model)
        return 0;
    int run = 0;
    while (m_model->pages().contains(ModelWithPages::pageKey(static_cast<int>(pageForSection(run)))))
        ++run;
    return run;
}

bool PaginableTableView::showsLoadNextRow() const
{
    if (!m_model)
        return false;
    // A page chosen in place of a list shown: the row says it is on its way
    // (a first load has the screen's own sign).
    const int run = loadedRun();
    if (run == 0)
        return m_model->isLoadingPages() && m_replaced && !m_replaced->pages.isEmpty();
    return pageForSection(run) <= m_model->totalpages();
}

bool PaginableTableView::showsLastPage() const
{
    if (!m_model)
        return false;
    const int run = loadedRun();
    return run > 0 ? pageForSection(run - 1) >= m_model->totalpages() : m_model->pagenumber() == m_model->totalpages();
}

bool PaginableTableView::isLoadNextRow(const IndexPath& indexPath)
{
    if (!showsLoadNextRow() || !m_tableView)
        return false;
    return indexPath.section == m_tableView->numberOfSections() - 1
           && indexPath.row >= int(rowsForSection(indexPath.section).size());
}

void PaginableTableView::updatePageNavAtIndexPath(const IndexPath& indexPath)
{
    if (!m_model || !m_navView)
        return;
    const unsigned page = pageForSection(indexPath.section);
    const PageNavPtr block = m_model->navs().value(ModelWithPages::pageKey(static_cast<int>(page)));
    if (m_navView->currentPage() != page || (!m_navView->pageNav() && block)) {
        m_navView->setPageNav(block);
        m_navView->setCurrentPage(page);
    }
}

void PaginableTableView::followPageOnScreen()
{
    if (!m_tableView)
        return;
    // Rows come in section order: the first is the one at the top.
    const QList<IndexPath> visible = m_tableView->indexPathsForVisibleRows();
    if (!visible.isEmpty())
        updatePageNavAtIndexPath(visible.first());
}

void PaginableTableView::modelHasChanged(Model* model)
{
    if (!m_model || model != m_model.get())
        return;
    if (loadedRun() > 0)
        m_failure = QString();
    showModel(settleChosenPage());
}

bool PaginableTableView::modelHasFailedToUpdate(Model* model, const Error& error)
{
    if (!m_model || model != m_model.get() || m_model->isLoadingPages())
        return false;
    // Nothing to show, not even the list a page was chosen from: the page
    // says why, and offers it again.
    if (loadedRun() == 0 && (!m_replaced || m_replaced->pages.isEmpty()))
        m_failure = error.domain().isEmpty() ? QStringLiteral(" ") : error.domain();
    if (m_replaced)
        showModel(settleChosenPage());
    else if (!m_failure.isNull())
        reloadData();
    return false;
}

bool PaginableTableView::showsFailure() const
{
    return m_model && !m_failure.isNull() && loadedRun() == 0 && !m_model->isLoadingPages();
}

std::optional<QPointF> PaginableTableView::settleChosenPage()
{
    if (!m_replaced || m_model->isLoadingPages())
        return std::nullopt;
    const ReplacedList replaced = std::move(*m_replaced);
    m_replaced.reset();
    if (!m_model->pages().isEmpty())
        return std::nullopt;
    m_model->pages() = replaced.pages;
    m_model->navs() = replaced.navs;
    m_model->setPagenav(replaced.pagenav);
    if (m_navView)
        m_navView->restoreSelectedPage(replaced.firstPage);
    return replaced.offset;
}

void PaginableTableView::showModel(const std::optional<QPointF>& offset)
{
    // The strip takes the answer's block first: after a load of the page the
    // server chose, the sections are numbered from the page that came.
    if (m_navView) {
        m_navView->setPageNav(m_model->navs().value(ModelWithPages::pageKey(static_cast<int>(m_model->pagenumber()))));
        if (!m_replaced)
            m_shownFirstPage = m_navView->selectedPage();
    }
    updateLayout();
    reloadData();
    if (offset && m_tableView)
        m_tableView->setContentOffset(m_tableView->clampedOffset(*offset));
    followPageOnScreen();
    if (m_refreshHeaderView)
        m_refreshHeaderView->refreshLastUpdatedDate();
}

void PaginableTableView::pageNavViewDidSelectPage(PageNavView* pageNavView, unsigned page)
{
    if (m_model) {
        // What was on its way belonged to the list this choice replaces;
        // the list shown stays at hand until the chosen page comes.
        m_model->cancelPageLoads();
        if (!m_replaced) {
            m_replaced = ReplacedList{m_model->pages(), m_model->navs(), m_model->pagenav(), m_shownFirstPage,
                                      m_tableView ? m_tableView->contentOffset() : QPointF()};
        }
        m_model->pages().clear();
        m_model->navs().clear();
        fetch(page);
    }
    reloadData();
    if (m_delegate)
        scrollToTheTopOfTheSection();
}

void PaginableTableView::pullRefreshTableHeaderDidTriggerRefresh(PullRefreshTableHeaderView*)
{
    refreshModel();
    // The band closes after a while whatever the answer; the timer goes with
    // this view.
    m_refreshClose = Clock::current().after(kRefreshCloseDelayMs, [this] { doneLoadingTableViewData(); });
}

bool PaginableTableView::pullRefreshTableHeaderDataSourceIsLoading(PullRefreshTableHeaderView*)
{
    return m_model && m_model->hasRequests();
}

std::optional<QDateTime> PaginableTableView::pullRefreshTableHeaderDataSourceLastUpdated(PullRefreshTableHeaderView*)
{
    return Clock::current().now();
}

int PaginableTableView::sectionCount()
{
    if (!m_model)
        return 0;
    if (showsFailure())
        return 1;
    const int pages = loadedRun();
    if (pages > 0)
        return pages;
    PaginableTableDelegate* delegate = m_delegate.get();
    const std::optional<int> own = delegate ? delegate->numberOfSectionsInTableView(this) : std::nullopt;
    return own ? std::max(0, *own) : 0;
}

int PaginableTableView::rowsBefore(int section)
{
    PaginableTableDelegate* delegate = m_delegate.get();
    if (section != 0 || !delegate)
        return 0;
    const std::optional<QList<ModelPtr>> prepended = delegate->prependArrayOfObjects();
    return prepended ? int(prepended->size()) : 0;
}

int PaginableTableView::sectionOfPage(unsigned page)
{
    const int sections = sectionCount();
    for (int section = 0; section < sections && !showsFailure(); ++section) {
        if (pageForSection(section) == page)
            return section;
    }
    return -1;
}

QVariant PaginableTableView::keyForRowAtIndexPath(TableView*, const IndexPath& indexPath)
{
    if (!m_model || showsFailure() || !indexPath.isValid())
        return QVariant();
    RowKey key;
    const QList<ModelPtr> rows = rowsForSection(indexPath.section);
    if (indexPath.row >= rows.size()) {
        if (!isLoadNextRow(indexPath))
            return QVariant();
        key.place = RowKey::Place::LoadsPage;
        key.page = pageForSection(loadedRun());
        return QVariant::fromValue(key);
    }
    const ModelPtr& object = rows.at(indexPath.row);
    key.object = object;
    key.kind = object ? QString::fromLatin1(typeid(*object).name()) : QString();
    key.page = pageForSection(indexPath.section);
    const int before = rowsBefore(indexPath.section);
    const int onPage = int(m_model->pages().value(ModelWithPages::pageKey(static_cast<int>(key.page))).size());
    if (indexPath.row < before) {
        key.place = RowKey::Place::Before;
        key.index = indexPath.row;
    } else if (indexPath.row < before + onPage) {
        key.index = indexPath.row - before;
    } else {
        key.place = RowKey::Place::After;
        key.index = indexPath.row - before - onPage;
    }
    return QVariant::fromValue(key);
}

std::optional<IndexPath> PaginableTableView::indexPathForRowKey(TableView*, const QVariant& variant)
{
    if (!m_model || showsFailure() || !variant.canConvert<RowKey>())
        return IndexPath();
    const RowKey key = variant.value<RowKey>();
    const int sections = sectionCount();
    if (key.place == RowKey::Place::LoadsPage) {
        // The page came: its first row. Still on its way: the row that loads it.
        if (const int section = sectionOfPage(key.page); section > 0 && !rowsForSection(section).isEmpty())
            return IndexPath{section, 0};
        const IndexPath loading{sections - 1, int(rowsForSection(sections - 1).size())};
        return loading.isValid() && isLoadNextRow(loading) && pageForSection(loadedRun()) == key.page
                   ? loading
                   : IndexPath();
    }
    // The object itself, wherever the reload put it.
    if (const ModelPtr object = key.object.lock()) {
        for (int section = 0; section < sections; ++section) {
            const QList<ModelPtr> rows = rowsForSection(section);
            if (const qsizetype row = rows.indexOf(object); row >= 0)
                return IndexPath{section, int(row)};
        }
    }
    // A page loaded afresh has new objects in the old places.
    const int section = key.place == RowKey::Place::Before ? (sections > 0 ? 0 : -1)
                        : key.place == RowKey::Place::After ? sections - 1
                                                            : sectionOfPage(key.page);
    if (section < 0 || pageForSection(section) != key.page)
        return IndexPath();
    const QList<ModelPtr> rows = rowsForSection(section);
    const int before = rowsBefore(section);
    const int onPage = int(m_model->pages().value(ModelWithPages::pageKey(static_cast<int>(key.page))).size());
    const int row = key.place == RowKey::Place::Before ? key.index
                    : key.place == RowKey::Place::After ? before + onPage + key.index
                                                        : before + key.index;
    const bool inPlace = key.place == RowKey::Place::Before ? key.index < before
                         : key.place == RowKey::Place::After ? row < rows.size()
                                                             : key.index < onPage;
    if (!inPlace || row >= rows.size() || !rows.at(row) || QString::fromLatin1(typeid(*rows.at(row)).name()) != key.kind)
        return IndexPath();
    return IndexPath{section, row};
}

int PaginableTableView::numberOfSectionsInTableView(TableView*)
{
    return sectionCount();
}

int PaginableTableView::numberOfRowsInSection(TableView*, int section)
{
    if (!m_model)
        return 0;
    if (showsFailure())
        return 1;
    int rows = int(rowsForSection(section).size());
    if (section == sectionCount() - 1 && showsLoadNextRow())
        ++rows;
    return rows;
}

TableViewCell* PaginableTableView::cellForRowAtIndexPath(TableView* tableView, const IndexPath& indexPath)
{
    if (showsFailure()) {
        auto* failed = loadCellNibForTableView<PageFailedCell>(tableView);
        QPointer<PaginableTableView> self(this);
        failed->show(m_failure, [self] {
            if (self) {
                self->refreshModel();
                self->reloadData();
            }
        });
        return failed;
    }
    const QList<ModelPtr> rows = rowsForSection(indexPath.section);
    if (indexPath.row < rows.size()) {
        PaginableTableDelegate* delegate = m_delegate.get();
        return delegate ? delegate->cellForObject(this, rows[indexPath.row]) : nullptr;
    }
    return loadCellNibForTableView<LoadingCell>(tableView);
}

void PaginableTableView::willDisplayCell(TableView*, TableViewCell*, const IndexPath& indexPath)
{
    // Showing the row at the end is what loads the next page: once, while no
    // page is on its way (a page that did not come is asked for again the
    // next time the row shows).
    const int run = loadedRun();
    if (m_model && run > 0 && isLoadNextRow(indexPath) && !m_model->hasRequests())
        fetch(pageForSection(run));
}

std::optional<qreal> PaginableTableView::heightForRowAtIndexPath(TableView* tableView, const IndexPath& indexPath)
{
    if (showsFailure())
        return PageFailedCell::heightFor(m_failure, tableView->bounds().width());
    const QList<ModelPtr> rows = rowsForSection(indexPath.section);
    if (indexPath.row >= rows.size())
        return kLoadingRowHeight;
    PaginableTableDelegate* delegate = m_delegate.get();
    return delegate ? delegate->heightForCellWithObject(this, rows[indexPath.row]) : kLoadingRowHeight;
}

std::optional<qreal> PaginableTableView::heightForHeaderInSection(TableView*, int section)
{
    if (section > 0)
        return kSectionHeaderHeight;
    PaginableTableDelegate* delegate = m_delegate.get();
    return delegate && !delegate->titleForTheFirstSection().isNull() ? kSectionHeaderHeight : 0.0;
}

View* PaginableTableView::viewForHeaderInSection(TableView*, int section)
{
    QString text;
    if (section == 0) {
        if (PaginableTableDelegate* delegate = m_delegate.get()) {
            if (View* own = delegate->viewForHeaderInSection(this, 0))
                return own;
            text = delegate->titleForTheFirstSection();
        }
    } else {
        text = TextFormat::fill(localized("page"),
                                {Value(static_cast<int>(pageForSection(section)))});
    }
    return SectionHeaderLabel::make(QRectF(0, 0, 320, 29), text);
}

void PaginableTableView::didSelectRowAtIndexPath(TableView* tableView, const IndexPath& indexPath)
{
    const QList<ModelPtr> rows = rowsForSection(indexPath.section);
    // The delegate may open another screen or swap the whole stack away.
    QPointer<TableView> table(tableView);
    if (indexPath.row < rows.size()) {
        if (PaginableTableDelegate* delegate = m_delegate.get())
            delegate->didSelectCell(tableView->cellForRowAtIndexPath(indexPath), rows[indexPath.row]);
    }
    // In a list the keyboard walks, the row opened stays chosen, by a click
    // as by a key: the arrows go on from it.
    if (table && !table->keyboardChoosesRows())
        table->deselectRowAtIndexPath(indexPath, true);
}

void PaginableTableView::scrollViewDidScroll(ScrollView* scrollView)
{
    if (scrollView != m_tableView.data())
        return;
    followPageOnScreen();
    if (m_refreshHeaderView)
        m_refreshHeaderView->pullRefreshScrollViewDidScroll(scrollView);
}

void PaginableTableView::scrollViewDidEndDragging(ScrollView* scrollView, bool)
{
    if (m_refreshHeaderView && scrollView == m_tableView.data())
        m_refreshHeaderView->pullRefreshScrollViewDidEndDragging(scrollView);
}
