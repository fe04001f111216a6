#include "forum/screens/SelectThreadPrefix.h"

#include "forum/screens/AccessoryBackdrop.h"
#include "forum/screens/SkySectionHeader.h"

#include "app/model/Model.h"

#include "platform/ui/Font.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TableViewCell.h"

#include "platform/foundation/Localized.h"
#include "platform/foundation/StringExtensions.h"

SelectThreadPrefix::SelectThreadPrefix()
{
    setTitle(localized("select_thread_prefix"));
}

SelectThreadPrefix::~SelectThreadPrefix()
{
    if (m_table) {
        m_table->setDataSource(nullptr);
        m_table->setDelegate(nullptr);
    }
}

void SelectThreadPrefix::buildNib(View* root)
{
    AccessoryBackdrop::addTo(root);
    m_table = new TableView(QRectF(0, 0, 320, 416));
    m_table->setAutoresizingMask(Autoresizing::FlexibleSize);
    m_table->setChoosesRowsByKeyboard(true);
    m_table->setSeparatorColor(QColor(0xD5, 0xDC, 0xE4));
    m_table->setDataSource(this);
    m_table->setDelegate(this);
    root->addSubview(m_table);
}

void SelectThreadPrefix::viewDidLoad()
{
    UIViewControllerCommon::viewDidLoad();
    m_table->setBackgroundColor(Qt::transparent);
    m_table->reloadData();
}

void SelectThreadPrefix::viewDidAppear(bool animated)
{
    UIViewControllerCommon::viewDidAppear(animated);
    // Nothing else here takes keys: the arrows and Return choose in the list.
    m_table->becomeFirstResponder();
}

void SelectThreadPrefix::setPrefixes(const Value& prefixes)
{
    m_prefixes = prefixes;
    if (m_table)
        m_table->reloadData();
}

Value SelectThreadPrefix::prefixesForGroup(int section) const
{
    if (!m_prefixes.isList() || section < 0 || section >= m_prefixes.size())
        return Value();
    const Value options = Model::arrayFromJsonObject(m_prefixes.at(section)[u"optgroup_options"]);
    return options.isList() ? options : Value();
}

QString SelectThreadPrefix::titleOfGroup(int section) const
{
    return StringExtensions::replaceAmpersands(m_prefixes.at(section)[u"optgroup_label"].toString());
}

int SelectThreadPrefix::numberOfSectionsInTableView(TableView*)
{
    return m_prefixes.isList() ? int(m_prefixes.size()) : 0;
}

int SelectThreadPrefix::numberOfRowsInSection(TableView*, int section)
{
    return int(prefixesForGroup(section).size());
}

TableViewCell* SelectThreadPrefix::cellForRowAtIndexPath(TableView* tableView, const IndexPath& indexPath)
{
    TableViewCell* cell = tableView->dequeueReusableCellWithIdentifier(QStringLiteral("cell"));
    if (!cell)
        cell = new TableViewCell(TableViewCellStyle::Default, QStringLiteral("cell"));
    cell->textLabel()->setFont(Font::boldSystemFontOfSize(17));
    cell->textLabel()->setText(prefixesForGroup(indexPath.section).at(indexPath.row)[u"optiontitle"].toString());
    return cell;
}

std::optional<qreal> SelectThreadPrefix::heightForHeaderInSection(TableView*, int section)
{
    return titleOfGroup(section).isEmpty() ? 0.0 : SkySectionHeader::kHeight;
}

View* SelectThreadPrefix::viewForHeaderInSection(TableView*, int section)
{
    const QString title = titleOfGroup(section);
    return title.isEmpty() ? nullptr : new SkySectionHeader(title);
}

void SelectThreadPrefix::didSelectRowAtIndexPath(TableView*, const IndexPath& indexPath)
{
    const Value prefix = prefixesForGroup(indexPath.section).at(indexPath.row);
    const std::shared_ptr<ViewController> guard = weak_from_this().lock();
    WeakRef<NavigationController> navigation(navigationController());
    if (SelectThreadPrefixDelegate* d = m_delegate.get())
        d->prefixSelectedWithValue(prefix[u"optionvalue"], prefix[u"optiontitle"].toString());
    if (NavigationController* stack = navigation.get())
        stack->popViewController(this, true);
}
