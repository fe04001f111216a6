#pragma once

#include "app/screens/MurmoraViewController.h"
#include "app/widgets/PaginableTableDelegate.h"

#include <QPointer>

#include <memory>

class AppContext;
class BlogEntriesTableView;
class EmptyStateView;
class PaginableTableView;

// The blog home screen. Its paged list (`table`) exists from the moment the
// screen is made, so that whoever opens the screen can give it a list of blog
// entries (by tag, author or category) before it shows; the list's rows open
// their entry. Without such a list the screen says that the forum's blogs are
// not browsed here.
class BlogHomeScreenViewController : public MurmoraViewController, public PaginableTableDelegate {
public:
    static constexpr qreal kRowHeight = 58;

    explicit BlogHomeScreenViewController(AppContext& context);
    ~BlogHomeScreenViewController() override;

    QString getBarTitle() const override { return title(); }
    void buildNib(View* root) override;
    void viewDidLoad() override;

    PaginableTableView* table() const;
    EmptyStateView* emptyState() const { return m_emptyState; }

    TableViewCell* cellForObject(PaginableTableView* tableView, const ModelPtr& object) override;
    qreal heightForCellWithObject(PaginableTableView* tableView, const ModelPtr& object) override;
    QString titleForTheFirstSection() override { return QString(); }
    // Opens the entry, fetched anew for its text.
    void didSelectCell(TableViewCell* cell, const ModelPtr& object) override;

private:
    // The empty state by what the list holds now, and whether its last load failed.
    void showState(bool failed);

    // Held until the view takes it in.
    std::unique_ptr<BlogEntriesTableView> m_tableHolder;
    QPointer<BlogEntriesTableView> m_table;
    EmptyStateView* m_emptyState = nullptr;
    bool m_failed = false;
};
