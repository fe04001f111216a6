#include "forum/screens/ScopedSearchController.h"

#include "app/widgets/StatusMessageView.h"
#include "forum/screens/SearchController.h"

#include "app/config/ConnectionError.h"
#include "app/config/Customizer.h"
#include "app/widgets/GradientButton.h"
#include "app/widgets/PaginableTableView.h"
#include "app/widgets/ShadowedTableView.h"

#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/SearchBar.h"
#include "platform/ui/TextField.h"

#include "platform/foundation/Localized.h"

ScopedSearchController::ScopedSearchController(AppContext& context) : m_context(context) {}

ScopedSearchController::~ScopedSearchController()
{
    if (m_searchInfo)
        m_searchInfo->setDelegate(nullptr);
    if (isViewLoaded()) {
        m_search->setDelegate(nullptr);
        m_table->setDelegate(nullptr);
    }
}

void ScopedSearchController::buildNib(View* root)
{
    const qreal width = root->bounds().width();
    m_search = new SearchBar(QRectF(0, 0, width, kBarHeight));
    m_search->setPlaceholder(localized("search_placeholder"));
    root->addSubview(m_search);
    const QRectF below(0, kBarHeight, width, root->bounds().height() - kBarHeight);
    m_status = new StatusMessageView(QRectF(0, kBarHeight, width, 0));
    m_status->setRetryTitle(localized("search_try_again"));
    m_status->setAutoresizingMask(Autoresizing::FlexibleWidth);
    root->addSubview(m_status);
    m_table = new PaginableTableView(below);
    m_table->setAutoresizingMask(Autoresizing::FlexibleSize);
    m_table->tableView()->setChoosesRowsByKeyboard(true);
    root->addSubview(m_table);
    m_loading = new ActivityIndicatorView(ActivityIndicatorStyle::Gray);
    m_loading->setFrame(QRectF((width - 20) / 2, kBarHeight + 30, 20, 20));
    m_loading->setHidesWhenStopped(true);
    root->addSubview(m_loading);
}

void ScopedSearchController::viewDidLoad()
{
    UIViewControllerCommon::viewDidLoad();
    m_search->setTintColor(Customizer::getInstance().colorForKey(kColorBackgroundButton));
    m_search->setDelegate(this);
    navigationItem()->setRightBarButtonItem(
        BarButtonItem::withSystemItem(BarButtonSystemItem::Search, this, &ScopedSearchController::doSearch));
    if (!m_searchInfo) {
        m_searchInfo = makeSearch();
        m_searchInfoObservation.observe(m_searchInfo, this);
        m_searchInfo->setDelegate(this);
    }
    m_table->setHidden(true);
    m_table->setDelegate(this);
    m_loading->stopAnimating();
    showStatus(QString(), hintText(), false);
    m_status->retryButton()->addTarget(this, &ScopedSearchController::retrySearch, ControlEvent::TouchUpInside);
}

void ScopedSearchController::viewDidAppear(bool animated)
{
    UIViewControllerCommon::viewDidAppear(animated);
    // Only a field in the window takes the keyboard: the words go in at once.
    if (m_search->textField()->text().isEmpty())
        m_search->becomeFirstResponder();
}

void ScopedSearchController::searchBarSearchButtonClicked(SearchBar*)
{
    doSearch();
}

void ScopedSearchController::searchBarCancelButtonClicked(SearchBar* searchBar)
{
    searchBar->resignFirstResponder();
}

void ScopedSearchController::searchBarTextDidBeginEditing(SearchBar* searchBar)
{
    searchBar->setShowsCancelButton(true);
}

void ScopedSearchController::searchBarTextDidEndEditing(SearchBar* searchBar)
{
    searchBar->setShowsCancelButton(false);
}

void ScopedSearchController::doSearch()
{
    if (!isViewLoaded())
        return;
    const QString text = SearchController::wordsToSearch(m_search);
    if (!text.isNull())
        startSearch(text);
}

void ScopedSearchController::retrySearch()
{
    if (!m_searchedText.isEmpty())
        startSearch(m_searchedText);
}

void ScopedSearchController::startSearch(const QString& text)
{
    m_searchedText = text;
    m_justSearched = true;
    willSearch(text);
    m_searchInfo->search(text);
    m_search->resignFirstResponder();
    m_status->setHidden(true);
    m_loading->startAnimating();
}

void ScopedSearchController::searchHasResults(Search*)
{
    // From the first page, whatever was shown before.
    m_table->setModel(nullptr);
    m_table->setModel(m_searchInfo);
}

void ScopedSearchController::modelHasChanged(Model* model)
{
    if (!m_searchInfo || model != m_searchInfo.get() || !isViewLoaded())
        return;
    m_loading->stopAnimating();
    const bool empty = std::all_of(m_searchInfo->pages().cbegin(), m_searchInfo->pages().cend(),
                                   [](const ModelWithPages::Page& page) { return page.isEmpty(); });
    if (empty) {
        m_table->setHidden(true);
        showStatus(localized("search_nothing_found"), localized("searchnoresults"), false);
        return;
    }
    m_status->setHidden(true);
    m_table->setHidden(false);
    m_table->reloadData();
}

bool ScopedSearchController::searchHasFailed(Search*, const Error& error)
{
    if (!isViewLoaded())
        return true;
    m_loading->stopAnimating();
    m_table->setModel(nullptr);
    m_table->setHidden(true);
    if (error.isCode(QStringLiteral("searchnoresults"))) {
        showStatus(localized("search_nothing_found"), error.domain(), false);
        return true;
    }
    // Why, once, in the alert; the screen offers the search again.
    ConnectionError::showMessage(error);
    showStatus(localized("search_failed_headline"), QString(), true);
    return true;
}

void ScopedSearchController::showStatus(const QString& headline, const QString& message, bool retry)
{
    m_status->setHidden(false);
    m_status->show(headline, message, retry);
}
