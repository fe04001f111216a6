#include "neighbours/screens/NotificationsController.h"

#include "app/session/AppContext.h"

#include "neighbours/screens/EmptyStateView.h"

#include "app/config/ConnectionError.h"
#include "app/config/Customizer.h"
#include "forum/model/ForumInfo.h"

#include "platform/ui/Font.h"
#include "platform/ui/Label.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TableViewCell.h"

#include "platform/foundation/Localized.h"

namespace {

const QString kCellIdentifier = QStringLiteral("NotificationCell");

}  // namespace

NotificationsController::NotificationsController(AppContext& context) : MurmoraViewController(context)
{
    setTitle(localized("nav_notifications"));
}

NotificationsController::~NotificationsController() = default;

void NotificationsController::buildNib(View* root)
{
    m_table = new TableView(root->bounds(), TableViewStyle::Plain);
    m_table->setAutoresizingMask(Autoresizing::FlexibleSize);
    m_table->setRowHeight(kRowHeight);
    m_table->setAllowsSelection(false);
    root->addSubview(m_table);
    m_emptyState = new EmptyStateView(root->bounds());
    root->addSubview(m_emptyState);
}

void NotificationsController::viewDidLoad()
{
    MurmoraViewController::viewDidLoad();
    m_table->setDataSource(this);
    m_table->setDelegate(this);
    const std::shared_ptr<ForumInfo> info = context().part<ForumInfo>();
    info->fetchForumHome();
    m_info = info;
    m_infoObservation.observe(info, this);
    m_notifications = info->notifications();
    showState();
    requestFooterBanner();
}

void NotificationsController::modelHasChanged(Model* model)
{
    const std::shared_ptr<ForumInfo> info = m_info.lock();
    if (!info || model != info.get())
        return;
    m_failure.clear();
    m_notifications = info->notifications();
    showState();
}

bool NotificationsController::modelHasFailedToUpdate(Model* model, const Error& error)
{
    const std::shared_ptr<ForumInfo> info = m_info.lock();
    if (!info || model != info.get())
        return false;
    ConnectionError::showMessage(error);
    m_failure = error.domain();
    showState();
    return true;
}

void NotificationsController::showState()
{
    if (!isViewLoaded())
        return;
    const std::shared_ptr<ForumInfo> info = m_info.lock();
    const bool loading = info && info->hasRequests();
    m_table->reloadData();
    const bool empty = m_notifications.isEmpty();
    m_table->setHidden(empty);
    m_emptyState->setHidden(!empty);
    if (!empty)
        return;
    if (loading)
        m_emptyState->show(localized("loading"), QString());
    else if (!m_failure.isEmpty())
        m_emptyState->show(localized("notifications_failed_headline"), m_failure);
    else
        m_emptyState->show(localized("message_no_notification"), localized("notifications_empty_message"));
}

int NotificationsController::numberOfRowsInSection(TableView*, int)
{
    return int(m_notifications.size());
}

TableViewCell* NotificationsController::cellForRowAtIndexPath(TableView* tableView, const IndexPath& indexPath)
{
    TableViewCell* cell = tableView->dequeueReusableCellWithIdentifier(kCellIdentifier);
    Customizer& theme = Customizer::getInstance();
    if (!cell) {
        cell = new TableViewCell(TableViewCellStyle::Default, kCellIdentifier);
        cell->textLabel()->setFont(Font::fontWithName(QStringLiteral("Helvetica-Bold"), 15));
        cell->textLabel()->setTextColor(theme.colorForKey(kColorTextPrimary));
        cell->setSelectionStyle(TableViewCellSelectionStyle::None);
    }
    const std::shared_ptr<Notification>& row = m_notifications.at(indexPath.row);
    // A counter the forum sends without a phrase still shows what it counts.
    cell->textLabel()->setText(row->phrase().isEmpty() ? row->name() : row->phrase());
    // The count stands at the right end; the phrase has the rest of the row.
    auto* count = new Label();
    count->setFont(Font::fontWithName(QStringLiteral("Helvetica-Bold"), 15));
    count->setTextColor(theme.colorForKey(kColorTextCategory));
    count->setTextAlignment(TextAlignment::Right);
    count->setBackgroundColor(Qt::transparent);
    count->setOpaque(false);
    count->setText(QString::number(row->total()));
    count->setFrame(QRectF(0, 0, count->sizeThatFits(QSizeF()).width() + 2, kRowHeight));
    cell->setAccessoryView(count);
    return cell;
}

Label* NotificationsController::countLabel(TableViewCell* cell)
{
    return cell ? dynamic_cast<Label*>(cell->accessoryView()) : nullptr;
}
