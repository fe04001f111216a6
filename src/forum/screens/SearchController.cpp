#include "forum/screens/SearchController.h"

#include "forum/cells/HomeCell.h"
#include "forum/cells/SearchCell.h"
#include "app/widgets/StatusMessageView.h"
#include "forum/cells/HomeContent.h"
#include "forum/screens/SearchForController.h"
#include "forum/screens/SearchFromController.h"
#include "forum/screens/SearchOrderController.h"

#include "app/config/ConnectionError.h"
#include "app/config/Customizer.h"
#include "app/widgets/GradientButton.h"
#include "app/widgets/LoadCellNib.h"
#include "app/widgets/PaginableTableView.h"
#include "app/widgets/ShadowedTableView.h"
#include "services/ads/AdMediationView.h"

#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/AlertPresenter.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/SegmentedControl.h"
#include "platform/ui/TableView.h"
#include "platform/ui/Toolbar.h"

#include "platform/foundation/AlertView.h"
#include "platform/foundation/Localized.h"

namespace {

constexpr qreal kBarHeight = 44.0;
constexpr qreal kResultsTop = 2 * kBarHeight;

}  // namespace

SearchController::SearchController(AppContext& context)
    : MurmoraViewController(context), m_search(std::make_shared<SearchAll>(context))
{
    m_search->setDelegate(this);
    m_searchObservation.observe(m_search, this);
    setTitle(getBarTitle());
}

SearchController::~SearchController()
{
    m_search->setDelegate(nullptr);
    if (isViewLoaded()) {
        m_searchBar->setDelegate(nullptr);
        m_resultsTable->setDelegate(nullptr);
        m_settings->setDataSource(nullptr);
        m_settings->setDelegate(nullptr);
    }
}

QString SearchController::getBarTitle() const
{
    return localized("search");
}

void SearchController::buildNib(View* root)
{
    m_searchBar = new SearchBar(QRectF(0, 0, 320, kBarHeight));
    m_searchBar->setPlaceholder(localized("search_placeholder"));
    root->addSubview(m_searchBar);

    m_searchType = new Toolbar(QRectF(0, kBarHeight, 320, kBarHeight));
    m_searchCriteria = new SegmentedControl({localized("button_keywords"), localized("button_usernames"), localized("button_tags")});
    m_searchCriteria->setSegmentedControlStyle(SegmentedControlStyle::Bar);
    for (int segment = 0; segment < 3; ++segment)
        m_searchCriteria->setWidth(100, segment);
    m_searchCriteria->setFrame(QRectF(0, 0, 300, 30));
    m_searchType->setItems({BarButtonItem::withSystemItem(BarButtonSystemItem::FlexibleSpace),
                            BarButtonItem::withCustomView(m_searchCriteria),
                            BarButtonItem::withSystemItem(BarButtonSystemItem::FlexibleSpace)});
    root->addSubview(m_searchType);

    m_resultsTable = new PaginableTableView(QRectF(0, kResultsTop, 320, kContentHeight - kResultsTop));
    m_resultsTable->tableView()->setChoosesRowsByKeyboard(true);
    root->addSubview(m_resultsTable);
    m_settings = new TableView(QRectF(0, 0, 320, kSettingsHeight), TableViewStyle::Grouped);
    m_settings->setScrollEnabled(false);
    m_status = new StatusMessageView(QRectF(0, 0, 320, 0));
    m_status->setRetryTitle(localized("search_try_again"));
    m_status->setHidden(true);

    m_loading = new ActivityIndicatorView(ActivityIndicatorStyle::Gray);
    m_loading->setFrame(QRectF(150, kResultsTop + kSettingsHeight + 24, 20, 20));
    m_loading->setHidesWhenStopped(true);
    root->addSubview(m_loading);

    // Placed by the numbers, as the list is: the screen may be loaded before
    // the navigation bar takes its room.
    m_searchButtonBar = new Toolbar(QRectF(0, kContentHeight, 320, kBarHeight));
    m_searchButton = BarButtonItem::withTitle(localized("nav_search"), BarButtonItemStyle::Done, this, &SearchController::doSearch);
    m_searchButtonBar->setItems({BarButtonItem::withSystemItem(BarButtonSystemItem::FlexibleSpace), m_searchButton,
                                 BarButtonItem::withSystemItem(BarButtonSystemItem::FlexibleSpace)});
    root->addSubview(m_searchButtonBar);
}

void SearchController::viewDidLoad()
{
    MurmoraViewController::viewDidLoad();
    m_resultsTable->setDelegate(this);
    const QColor tint = Customizer::getInstance().colorForKey(kColorBackgroundButton);
    m_searchCriteria->setTintColor(tint);
    m_searchType->setTintColor(tint);
    m_searchButtonBar->setTintColor(tint);
    m_searchBar->setTintColor(tint);
    m_searchBar->setDelegate(this);
    m_settings->setBackgroundColor(Qt::transparent);
    m_settings->setOpaque(false);
    m_settings->setDataSource(this);
    m_settings->setDelegate(this);
    ShadowedTableView* results = m_resultsTable->tableView();
    results->setTableHeaderView(m_settings);
    results->setTableFooterView(m_status);
    m_searchForController = std::make_shared<SearchForController>(context());
    m_searchFromController = std::make_shared<SearchFromController>();
    m_searchOrderController = std::make_shared<SearchOrderController>();
    m_searchCriteria->setSelectedSegmentIndex(Keywords);
    m_searchCriteria->addTarget(this, &SearchController::changeCriteria, ControlEvent::ValueChanged);
    m_loading->stopAnimating();
    showStatus(QString(), localized("search_hint"), false);
    requestFooterBanner();
    updateLayout();
}

void SearchController::viewWillAppear(bool animated)
{
    MurmoraViewController::viewWillAppear(animated);
    // The settings read as the setting screens left them.
    m_settings->reloadData();
}

void SearchController::updateLayout()
{
    if (!isViewLoaded())
        return;
    AdMediationView* banner = footerBanner();
    const QRectF b = banner ? banner->frame() : QRectF();
    if (banner)
        banner->setFrame(QRectF(b.x(), kContentHeight - b.height(), b.width(), b.height()));
    const QRectF t = m_resultsTable->frame();
    m_resultsTable->setFrame(QRectF(t.x(), t.y(), t.width(), kContentHeight - (b.height() + t.y())));
    m_settings->setFrame(QRectF(0, 0, 320, kSettingsHeight));
    m_resultsTable->updateLayout();
}

QString SearchController::settingValue(SettingRow row) const
{
    switch (row) {
    case SearchForRow:
        return m_searchForController ? m_searchForController->valueText() : QString();
    case FindPostRow:
        return m_searchFromController ? m_searchFromController->selectedTitle() : QString();
    case SortResultRow:
        return m_searchOrderController ? m_searchOrderController->selectedTitle() : QString();
    }
    return QString();
}

// ---- Searching

void SearchController::searchBarSearchButtonClicked(SearchBar*)
{
    doSearch();
}

QString SearchController::wordsToSearch(SearchBar* bar)
{
    const QString text = bar->text().trimmed();
    if (text.size() >= kMinimumSearchLength)
        return text;
    // Too little to look for: nothing is asked.
    bar->resignFirstResponder();
    AlertView::create(QString(), localized("words_very_common"), nullptr, {localized("ok")})->show();
    return QString();
}

void SearchController::doSearch()
{
    if (!isViewLoaded())
        return;
    const QString text = wordsToSearch(m_searchBar);
    if (!text.isNull())
        startSearch(text);
}

void SearchController::retrySearch()
{
    if (!m_searchedText.isEmpty())
        startSearch(m_searchedText);
}

void SearchController::startSearch(const QString& text)
{
    m_searchedText = text;
    m_search->setFilterType(m_searchCriteria->selectedSegmentIndex() == Usernames ? SearchAll::FilterMemberName
                            : m_searchCriteria->selectedSegmentIndex() == Tags    ? SearchAll::FilterTag
                                                                                   : SearchAll::FilterText);
    m_search->setType(m_searchForController->selectedItems());
    m_search->setTime(m_searchFromController->selectedValue());
    m_search->setOrder(m_searchOrderController->selectedValue());
    m_search->search(text);
    m_searchBar->resignFirstResponder();
    hideStatus();
    m_loading->setHidden(false);
    m_loading->startAnimating();
    m_search->forgetSearchResult();
    // What the last search found goes while this one runs.
    m_resultsTable->setModel(nullptr);
    updateLayout();
    m_resultsTable->reloadData();
    m_resultsTable->tableView()->setContentOffset(QPointF(0, 0));
}

void SearchController::changeCriteria()
{
    m_search->forgetSearchResult();
    // What was found was found for the other criteria: a search is to come.
    m_resultsTable->setModel(nullptr);
    m_resultsTable->reloadData();
    showStatus(QString(), localized("search_hint"), false);
}

void SearchController::stopLoading()
{
    if (m_loading)
        m_loading->stopAnimating();
}

void SearchController::searchHasResults(Search*)
{
    // From its first page, whatever the last search showed.
    m_showFirstResults = true;
    m_resultsTable->setModel(nullptr);
    m_resultsTable->setModel(m_search);
    m_resultsTable->reloadData();
    stopLoading();
}

bool SearchController::searchHasFailed(Search*, const Error& error)
{
    stopLoading();
    if (!isViewLoaded())
        return true;
    m_resultsTable->setModel(nullptr);
    m_resultsTable->reloadData();
    if (error.isCode(QStringLiteral("searchnoresults"))) {
        showStatus(localized("search_nothing_found"), error.domain(), false);
        return true;
    }
    // Why, once, in the alert; the list offers the search again.
    ConnectionError::showMessage(error);
    showStatus(localized("search_failed_headline"), QString(), true);
    return true;
}

void SearchController::modelHasChanged(Model* model)
{
    if (model != m_search.get() || !isViewLoaded() || m_resultsTable->model() != m_search)
        return;
    const bool empty = m_search->pages().isEmpty()
                       || std::all_of(m_search->pages().cbegin(), m_search->pages().cend(),
                                      [](const ModelWithPages::Page& page) { return page.isEmpty(); });
    if (empty) {
        showStatus(localized("search_nothing_found"), localized("searchnoresults"), false);
        return;
    }
    hideStatus();
    // A new search's first rows come into view; the settings are above them.
    if (m_showFirstResults) {
        m_showFirstResults = false;
        m_resultsTable->reloadData();
        m_resultsTable->tableView()->scrollToRowAtIndexPath(IndexPath{0, 0}, TableViewScrollPosition::Top, false);
    }
}

void SearchController::showStatus(const QString& headline, const QString& message, bool retry)
{
    m_status->setHidden(false);
    m_status->show(headline, message, retry);
    m_status->retryButton()->removeTarget(this, ControlEvent::TouchUpInside);
    m_status->retryButton()->addTarget(this, &SearchController::retrySearch, ControlEvent::TouchUpInside);
    m_resultsTable->tableView()->setTableFooterView(m_status);
    m_resultsTable->tableView()->reloadData();
}

void SearchController::hideStatus()
{
    if (m_status->isHidden())
        return;
    m_status->setHidden(true);
    m_status->setFrame(QRectF(0, 0, 320, 0));
    m_resultsTable->tableView()->setTableFooterView(m_status);
    m_resultsTable->tableView()->reloadData();
}

// ---- The results

TableViewCell* SearchController::cellForObject(PaginableTableView* tableView, const ModelPtr& object)
{
    HomeCell* cell = loadCellNibForTableView<HomeCell>(tableView->tableView());
    cell->setController(this);
    cell->setItem(object);
    return cell;
}

qreal SearchController::heightForCellWithObject(PaginableTableView*, const ModelPtr&)
{
    return kRowHeight;
}

QString SearchController::titleForTheFirstSection()
{
    return QString();
}

void SearchController::didSelectCell(TableViewCell*, const ModelPtr& object)
{
    NavigationController* navigation = navigationController();
    if (!navigation)
        return;
    if (const ViewControllerPtr screen = HomeContent::screenFor(object))
        navigation->pushViewController(screen, true);
}

// ---- The settings

int SearchController::numberOfRowsInSection(TableView*, int)
{
    return 3;
}

TableViewCell* SearchController::cellForRowAtIndexPath(TableView* tableView, const IndexPath& indexPath)
{
    auto* cell = loadCellNibForTableView<SearchCell>(tableView);
    static const char* const titles[] = {"search_for", "find_post", "sort_result"};
    const int row = qBound(0, indexPath.row, 2);
    cell->setSetting(localized(titles[row]), settingValue(SettingRow(row)));
    return cell;
}

std::optional<qreal> SearchController::heightForRowAtIndexPath(TableView*, const IndexPath&)
{
    return SearchCell::kHeight;
}

void SearchController::didSelectRowAtIndexPath(TableView* tableView, const IndexPath& indexPath)
{
    tableView->deselectRowAtIndexPath(indexPath, true);
    ViewControllerPtr screen;
    switch (indexPath.row) {
    case SearchForRow:
        screen = m_searchForController;
        break;
    case FindPostRow:
        screen = m_searchFromController;
        break;
    case SortResultRow:
        screen = m_searchOrderController;
        break;
    default:
        return;
    }
    m_searchBar->resignFirstResponder();
    if (NavigationController* navigation = navigationController())
        navigation->pushViewController(screen, true);
}
