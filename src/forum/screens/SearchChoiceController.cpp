#include "forum/screens/SearchChoiceController.h"

#include "forum/cells/SearchChoiceCell.h"

#include "app/widgets/LoadCellNib.h"

#include "platform/ui/TableView.h"

#include "platform/foundation/Localized.h"

SearchChoiceController::SearchChoiceController() = default;

SearchChoiceController::~SearchChoiceController()
{
    if (m_tableView) {
        m_tableView->setDataSource(nullptr);
        m_tableView->setDelegate(nullptr);
    }
}

void SearchChoiceController::buildNib(View* root)
{
    m_tableView = new TableView(root->bounds(), TableViewStyle::Plain);
    m_tableView->setAutoresizingMask(Autoresizing::FlexibleSize);
    m_tableView->setChoosesRowsByKeyboard(true);
    m_tableView->setBackgroundColor(Qt::white);
    root->addSubview(m_tableView);
}

void SearchChoiceController::viewDidLoad()
{
    UIViewControllerCommon::viewDidLoad();
    m_tableView->setDataSource(this);
    m_tableView->setDelegate(this);
}

void SearchChoiceController::viewWillAppear(bool animated)
{
    UIViewControllerCommon::viewWillAppear(animated);
    m_tableView->reloadData();
}

QString SearchChoiceController::titleAt(int row) const
{
    if (row < 0 || row >= rowCount())
        return QString();
    return localized(titleKeyAt(row));
}

int SearchChoiceController::numberOfRowsInSection(TableView*, int)
{
    return rowCount();
}

TableViewCell* SearchChoiceController::cellForRowAtIndexPath(TableView* tableView, const IndexPath& indexPath)
{
    auto* cell = loadCellNibForTableView<SearchChoiceCell>(tableView);
    cell->setChoice(titleAt(indexPath.row), iconAt(indexPath.row), isChosen(indexPath.row));
    return cell;
}

std::optional<qreal> SearchChoiceController::heightForRowAtIndexPath(TableView*, const IndexPath&)
{
    return SearchChoiceCell::kHeight;
}

void SearchChoiceController::didSelectRowAtIndexPath(TableView* tableView, const IndexPath& indexPath)
{
    if (indexPath.row < 0 || indexPath.row >= rowCount())
        return;
    choose(indexPath.row);
    tableView->deselectRowAtIndexPath(indexPath, true);
    tableView->reloadData();
}
