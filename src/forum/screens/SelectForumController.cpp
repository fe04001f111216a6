#include "forum/screens/SelectForumController.h"

#include "app/session/AppContext.h"

#include "app/widgets/LoadCellNib.h"
#include "forum/cells/SelectForumCell.h"
#include "forum/screens/AccessoryBackdrop.h"
#include "forum/screens/SkySectionHeader.h"

#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Font.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/TableView.h"

#include "platform/foundation/Localized.h"
#include "platform/foundation/StringExtensions.h"
#include "platform/foundation/TextFormat.h"

#include <QPointer>

SelectForumController::SelectForumController(AppContext& context) : m_context(context)
{
    setTitle(localized("select_forum"));
}

SelectForumController::~SelectForumController()
{
    if (isViewLoaded()) {
        m_forumTable->setDataSource(nullptr);
        m_forumTable->setDelegate(nullptr);
    }
}

void SelectForumController::buildNib(View* root)
{
    AccessoryBackdrop::addTo(root);
    const QRectF area = root->bounds();
    m_forumTable = new TableView(area);
    m_forumTable->setAutoresizingMask(Autoresizing::FlexibleSize);
    m_forumTable->setRowHeight(SelectForumCell::kHeight);
    m_forumTable->setSeparatorColor(QColor(0xD5, 0xDC, 0xE4));
    m_forumTable->setDataSource(this);
    m_forumTable->setDelegate(this);
    // Walked with the keyboard too: the arrows, then Return as a click.
    m_forumTable->setChoosesRowsByKeyboard(true);
    root->addSubview(m_forumTable);
    m_emptyLabel = new Label(QRectF(20, 120, area.width() - 40, 60));
    m_emptyLabel->setFont(Font::boldSystemFontOfSize(17));
    m_emptyLabel->setTextColor(Qt::white);
    m_emptyLabel->setBackgroundColor(Qt::transparent);
    m_emptyLabel->setOpaque(false);
    m_emptyLabel->setTextAlignment(TextAlignment::Center);
    m_emptyLabel->setNumberOfLines(0);
    m_emptyLabel->setAutoresizingMask(Autoresizing::FlexibleWidth);
    root->addSubview(m_emptyLabel);
}

void SelectForumController::viewDidLoad()
{
    UIViewControllerCommon::viewDidLoad();
    // The sky shows through the table.
    m_forumTable->setBackgroundColor(Qt::transparent);
    if (!m_info || m_info->forums().isEmpty()) {
        setInfo(context().part<ForumInfo>());
        m_info->fetchForumList();
    }
    navigationItem()->setLeftBarButtonItem(
        BarButtonItem::withTitle(localized("back"), BarButtonItemStyle::Bordered, this, &SelectForumController::handleBack));
    reload();
}

void SelectForumController::viewDidAppear(bool animated)
{
    UIViewControllerCommon::viewDidAppear(animated);
    // Nothing else here takes keys: the list has them.
    m_forumTable->becomeFirstResponder();
}

void SelectForumController::setInfo(const ForumInfoPtr& info)
{
    if (m_info == info)
        return;
    m_info = info;
    m_level = nullptr;
    m_infoObservation.observe(m_info, this);
    reload();
}

void SelectForumController::handleBack()
{
    if (m_level) {
        showLevel(nullptr);
        return;
    }
    if (NavigationController* navigation = navigationController())
        navigation->popViewController(this, true);
}

void SelectForumController::showLevel(const ForumPtr& forum)
{
    m_level = forum;
    reload();
}

void SelectForumController::reload(bool failed)
{
    if (!isViewLoaded())
        return;
    m_forumTable->reloadData();
    const bool empty = !m_info || m_info->forums().isEmpty();
    m_emptyLabel->setHidden(!empty);
    const bool loading = !failed && m_info && m_info->initRequest();
    if (empty)
        m_emptyLabel->setText(loading ? localized("loading") : localized("select_forum_empty"));
}

void SelectForumController::modelHasChanged(Model* model)
{
    if (!m_info || model != m_info.get())
        return;
    // A tree fetched anew holds new forums: the level shown follows its forum.
    if (m_level)
        m_level = ForumInfo::searchForum(m_level->forumid(), m_info->forums());
    reload();
}

bool SelectForumController::modelHasFailedToUpdate(Model* model, const Error&)
{
    if (m_info && model == m_info.get())
        reload(true);
    return false;
}

// ---- The table: the tree's top level, or one forum's level

ForumPtr SelectForumController::retrieveForumAtIndexPath(const IndexPath& indexPath) const
{
    if (m_level)
        return m_level->retrieveForumAtIndexPath(indexPath.section, indexPath.row);
    return m_info ? m_info->retrieveForumAtIndexPath(indexPath.section, indexPath.row) : nullptr;
}

QString SelectForumController::titleOfSection(int section) const
{
    if (m_level) {
        if (section == 0)
            return localized("nav_forums");
        return TextFormat::fill(localized("subforums"), {Value(qint64(m_level->children().size()))});
    }
    if (!m_info || section < 0 || section >= m_info->forums().size())
        return QString();
    const ForumPtr& entry = m_info->forums().at(section);
    return entry && entry->is_category() ? StringExtensions::replaceAmpersands(entry->title_clean()) : QString();
}

int SelectForumController::numberOfSectionsInTableView(TableView*)
{
    if (m_level)
        return m_level->numberOfSections();
    return m_info ? m_info->numberOfSections() : 0;
}

int SelectForumController::numberOfRowsInSection(TableView*, int section)
{
    if (m_level)
        return m_level->numberOfRowsInSection(section);
    return m_info ? m_info->numberOfRowsInSection(section) : 0;
}

TableViewCell* SelectForumController::cellForRowAtIndexPath(TableView* tableView, const IndexPath& indexPath)
{
    const ForumPtr forum = retrieveForumAtIndexPath(indexPath);
    auto* cell = loadCellNibForTableView<SelectForumCell>(tableView);
    const bool opensLevel = forum && !forum->is_category() && !forum->children().isEmpty() && forum != m_level;
    cell->setForum(forum, opensLevel);
    return cell;
}

std::optional<qreal> SelectForumController::heightForHeaderInSection(TableView*, int section)
{
    // A forum at the top heads its own section: no title, no band above it.
    return titleOfSection(section).isEmpty() ? 0.0 : kSectionHeaderHeight;
}

View* SelectForumController::viewForHeaderInSection(TableView*, int section)
{
    const QString title = titleOfSection(section);
    return title.isEmpty() ? nullptr : new SkySectionHeader(title);
}

IndexPath SelectForumController::willSelectRowAtIndexPath(TableView*, const IndexPath& indexPath)
{
    const ForumPtr forum = retrieveForumAtIndexPath(indexPath);
    // A category holds no threads, and a link forum is only a web address.
    if (!forum || forum->is_category() || forum->is_link())
        return IndexPath();
    return indexPath;
}

void SelectForumController::didSelectRowAtIndexPath(TableView* tableView, const IndexPath& indexPath)
{
    QPointer<TableView> table(tableView);
    const ForumPtr forum = retrieveForumAtIndexPath(indexPath);
    if (!forum)
        return;
    forum->setTitle_clean(StringExtensions::replaceAmpersands(forum->title_clean()));
    if (!forum->children().isEmpty() && forum != m_level) {
        showLevel(forum);
        if (table)
            table->deselectRowAtIndexPath(indexPath, true);
        return;
    }
    // The delegate may push a screen over this one, or rewrite the stack.
    const std::shared_ptr<ViewController> guard = weak_from_this().lock();
    SelectForumDelegate* d = m_delegate.get();
    if (d && d->forumWasSelected(forum)) {
        if (NavigationController* navigation = navigationController())
            navigation->popViewController(this, true);
    }
    if (table)
        table->deselectRowAtIndexPath(indexPath, true);
}
