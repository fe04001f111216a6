#pragma once

#include "app/model/ModelObserver.h"
#include "app/screens/MurmoraViewController.h"
#include "app/session/Notification.h"

#include "platform/ui/TableViewDataSource.h"
#include "platform/ui/TableViewDelegate.h"

#include "platform/foundation/Observation.h"

#include <QList>
#include <QString>

#include <memory>

class AppContext;
class EmptyStateView;
class ForumInfo;
class Label;
class TableView;

// The member's notification counters (unread private messages, friend
// requests...) as the forum's home data carries them. When its view loads it
// asks the shared forum info for the home data and lists the counters as they
// arrive; with none, and nothing on its way, it says there are none. A failed
// load says so instead of claiming there is nothing.
class NotificationsController : public MurmoraViewController,
                                public TableViewDataSource,
                                public TableViewDelegate,
                                public ModelObserver {
public:
    static constexpr qreal kRowHeight = 44;

    explicit NotificationsController(AppContext& context);
    ~NotificationsController() override;

    QString getBarTitle() const override { return title(); }
    void buildNib(View* root) override;
    void viewDidLoad() override;

    void modelHasChanged(Model* model) override;
    bool modelHasFailedToUpdate(Model* model, const Error& error) override;

    int numberOfRowsInSection(TableView* tableView, int section) override;
    TableViewCell* cellForRowAtIndexPath(TableView* tableView, const IndexPath& indexPath) override;

    // The counters listed now.
    const QList<std::shared_ptr<Notification>>& notifications() const { return m_notifications; }
    TableView* tableView() const { return m_table; }
    // The count shown at the end of a row.
    static Label* countLabel(TableViewCell* cell);
    EmptyStateView* emptyState() const { return m_emptyState; }

private:
    // Empty state, loading line or the list, by what the forum info holds.
    void showState();

    std::weak_ptr<ForumInfo> m_info;
    QList<std::shared_ptr<Notification>> m_notifications;
    QString m_failure;
    TableView* m_table = nullptr;
    EmptyStateView* m_emptyState = nullptr;
    Observation m_infoObservation;
};
