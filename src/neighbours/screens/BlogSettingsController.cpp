#include "neighbours/screens/BlogSettingsController.h"

#include "forum/screens/BlogSettingsDelegate.h"
#include "neighbours/blogs/BlogBuilder.h"

#include "app/net/ApiRequest.h"

#include "platform/ui/Font.h"
#include "platform/ui/Label.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TableViewCell.h"

#include "platform/foundation/Localized.h"
#include "platform/foundation/StringExtensions.h"

BlogSettingsController::BlogSettingsController()
    : PublishSettingsController(QStringLiteral("blog_settings_title"), QStringLiteral("draft_blog"))
{
}

BlogSettingsController::~BlogSettingsController()
{
    if (const HTTPRequestPtr request = m_request.lock()) {
        request->setCallbackObject(nullptr);
        request->cancel();
    }
    if (m_table) {
        m_table->setDataSource(nullptr);
        m_table->setDelegate(nullptr);
    }
}

void BlogSettingsController::buildCategories(View* root, const QRectF& area)
{
    m_table = new TableView(area);
    m_table->setRowHeight(32);
    // A stop of Tab's: the arrows walk the categories, Space or Return ticks one.
    m_table->setChoosesRowsByKeyboard(true);
    m_table->setDataSource(this);
    m_table->setDelegate(this);
    root->addSubview(m_table);
    m_empty = new Label(area);
    m_empty->setFont(Font::systemFontOfSize(14));
    m_empty->setTextColor(Qt::white);
    m_empty->setBackgroundColor(Qt::transparent);
    m_empty->setOpaque(false);
    m_empty->setNumberOfLines(2);
    root->addSubview(m_empty);
}

void BlogSettingsController::viewDidLoad()
{
    PublishSettingsController::viewDidLoad();
    m_table->setHidden(true);
    m_empty->setText(localized("loading"));
    m_request = ApiRequest::send(QStringLiteral("blog.post_newblog"), ValueDict(), RequestMethod::GET,
                                 SELECTOR(BlogSettingsController, categoriesArrived), this);
}

void BlogSettingsController::categoriesArrived(const HTTPRequestPtr& request)
{
    m_request.reset();
    m_categories.clear();
    if (request && request->outcome().is(RequestOutcome::Kind::Ok)) {
        const Value list = request->response()[u"response"][u"content"][u"blogcategories"];
        for (int i = 0; i < list.size(); ++i) {
            const Value entry = list.at(i);
            m_categories.append(BlogCategory{entry[u"blogcategoryid"].toInt(),
                                             StringExtensions::replaceAmpersands(entry[u"title"].toString())});
        }
    }
    m_table->setHidden(m_categories.isEmpty());
    m_empty->setHidden(!m_categories.isEmpty());
    m_empty->setText(localized("settings_no_categories"));
    m_table->reloadData();
}

QList<BlogCategory> BlogSettingsController::selectedCategories() const
{
    QList<BlogCategory> chosen;
    for (int i = 0; i < m_categories.size(); ++i) {
        if (m_ticked.contains(i))
            chosen.append(m_categories.at(i));
    }
    return chosen;
}

int BlogSettingsController::numberOfRowsInSection(TableView*, int)
{
    return int(m_categories.size());
}

TableViewCell* BlogSettingsController::cellForRowAtIndexPath(TableView* tableView, const IndexPath& indexPath)
{
    TableViewCell* cell = tableView->dequeueReusableCellWithIdentifier(QStringLiteral("cell"));
    if (!cell)
        cell = new TableViewCell(TableViewCellStyle::Default, QStringLiteral("cell"));
    cell->textLabel()->setFont(Font::boldSystemFontOfSize(15));
    cell->textLabel()->setText(m_categories.value(indexPath.row).title);
    cell->setAccessoryType(m_ticked.contains(indexPath.row) ? TableViewCellAccessoryType::Checkmark
                                                           : TableViewCellAccessoryType::None);
    return cell;
}

void BlogSettingsController::didSelectRowAtIndexPath(TableView* tableView, const IndexPath& indexPath)
{
    if (m_ticked.contains(indexPath.row))
        m_ticked.remove(indexPath.row);
    else
        m_ticked.insert(indexPath.row);
    if (TableViewCell* cell = tableView->cellForRowAtIndexPath(indexPath))
        cell->setAccessoryType(m_ticked.contains(indexPath.row) ? TableViewCellAccessoryType::Checkmark
                                                                : TableViewCellAccessoryType::None);
    // A tap only ticks; a row ticked by the keys stays their place in the list.
    if (!tableView->isChoosingByKeyboard())
        tableView->deselectRowAtIndexPath(indexPath, false);
}

PublishingBuilderPtr BlogSettingsController::makeBuilder(PublishState state, const QDateTime& date)
{
    auto builder = std::make_shared<BlogBuilder>();
    builder->setSelectedCategories(selectedCategories());
    builder->setPublishState(state);
    builder->setPublishDate(date);
    return builder;
}

void BlogSettingsController::handOver(ViewController* controller, const PublishingBuilderPtr& builder)
{
    if (auto* composer = dynamic_cast<BlogSettingsDelegate*>(controller))
        composer->blogWasSet(builder);
}
