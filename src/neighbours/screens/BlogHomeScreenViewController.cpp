#include "neighbours/screens/BlogHomeScreenViewController.h"

#include "app/text/QuoteFormatter.h"

#include "neighbours/screens/BlogEntriesTableView.h"
#include "neighbours/screens/BlogPostExpanded.h"
#include "neighbours/screens/ContentPageController.h"
#include "neighbours/screens/EmptyStateView.h"

#include "app/text/QuoteFormatter.h"
#include "app/config/Customizer.h"
#include "app/widgets/ShadowedTableView.h"
#include "neighbours/blogs/BlogModel.h"

#include "platform/ui/Font.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/TableViewCell.h"

#include "platform/foundation/Localized.h"
#include "platform/foundation/WeakRef.h"

namespace {

const QString kEntryCell = QStringLiteral("BlogEntryCell");

}  // namespace

BlogHomeScreenViewController::BlogHomeScreenViewController(AppContext& context)
    : MurmoraViewController(context),
      m_tableHolder(std::make_unique<BlogEntriesTableView>(QRectF(0, 0, kScreenWidth, kScreenHeight - 44)))
{
    setTitle(localized("nav_blogs"));
    m_table = m_tableHolder.get();
    m_table->setAutoresizingMask(Autoresizing::FlexibleSize);
    m_table->setDelegate(this);
    m_table->tableView()->setChoosesRowsByKeyboard(true);
    WeakRef<BlogHomeScreenViewController> self(this);
    m_table->setChangeHandler([self](bool failed) {
        if (BlogHomeScreenViewController* screen = self.get())
            screen->showState(failed);
    });
}

BlogHomeScreenViewController::~BlogHomeScreenViewController()
{
    if (m_table)
        m_table->setChangeHandler({});
}

PaginableTableView* BlogHomeScreenViewController::table() const
{
    return m_table.data();
}

void BlogHomeScreenViewController::buildNib(View* root)
{
    m_emptyState = new EmptyStateView(root->bounds());
    root->addSubview(m_emptyState);
    if (m_tableHolder) {
        m_tableHolder->setFrame(root->bounds());
        root->addSubview(m_tableHolder.release());
    }
}

void BlogHomeScreenViewController::viewDidLoad()
{
    MurmoraViewController::viewDidLoad();
    showState(false);
    requestFooterBanner();
}

void BlogHomeScreenViewController::showState(bool failed)
{
    if (!isViewLoaded() || !m_table)
        return;
    const std::shared_ptr<ModelWithPages> model = m_table->model();
    bool hasRows = false;
    if (model) {
        for (const ModelWithPages::Page& page : model->pages())
            hasRows = hasRows || !page.isEmpty();
    }
    m_failed = failed || (m_failed && model && !model->hasRequests());
    // The empty state lies under the list, which stays to be pulled down.
    m_table->setHidden(!model);
    m_emptyState->setHidden(model && hasRows);
    if (!model)
        m_emptyState->show(localized("blogs_empty_headline"), localized("blogs_empty_message"));
    else if (hasRows)
        return;
    else if (model->hasRequests())
        m_emptyState->show(localized("loading"), QString());
    else if (m_failed)
        m_emptyState->show(localized("blogs_failed_headline"), localized("blogs_failed_message"));
    else
        m_emptyState->show(localized("blogs_no_entries_headline"), localized("blogs_no_entries_message"));
}

TableViewCell* BlogHomeScreenViewController::cellForObject(PaginableTableView* tableView, const ModelPtr& object)
{
    TableViewCell* cell = tableView->tableView()->dequeueReusableCellWithIdentifier(kEntryCell);
    if (!cell) {
        cell = new TableViewCell(TableViewCellStyle::Subtitle, kEntryCell);
        Customizer& theme = Customizer::getInstance();
        cell->textLabel()->setFont(Font::fontWithName(QStringLiteral("Helvetica-Bold"), 15));
        cell->textLabel()->setTextColor(theme.colorForKey(kColorTextTitle));
        cell->detailTextLabel()->setFont(Font::fontWithName(QStringLiteral("Helvetica"), 12));
        cell->detailTextLabel()->setTextColor(theme.colorForKey(kColorTextSecondary));
        cell->setSeparator(TableViewCellSeparatorStyle::SingleLine, QColor(0xD5, 0xDC, 0xE6));
        cell->setAccessoryType(TableViewCellAccessoryType::DisclosureIndicator);
    }
    const auto* entry = dynamic_cast<const BlogModel*>(object.get());
    cell->textLabel()->setText(entry ? QuoteFormatter::titleText(entry->title()) : QString());
    cell->detailTextLabel()->setText(
        entry ? ContentPageController::byline(entry->user() ? entry->user()->username() : QString(), entry->lastpost(),
                                              entry->comments_total())
              : QString());
    return cell;
}

qreal BlogHomeScreenViewController::heightForCellWithObject(PaginableTableView*, const ModelPtr&)
{
    return kRowHeight;
}

void BlogHomeScreenViewController::didSelectCell(TableViewCell*, const ModelPtr& object)
{
    const auto* entry = dynamic_cast<const BlogModel*>(object.get());
    NavigationController* navigation = navigationController();
    if (!entry || entry->blogid().isEmpty() || !navigation)
        return;
    navigation->pushViewController(
        BlogPostExpanded::initWithModel(context(), BlogModel::getBlog(entry->blogid())), true);
}
