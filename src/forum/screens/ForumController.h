#pragma once

#include "app/model/ModelObserver.h"
#include "app/screens/MurmoraViewController.h"
#include "forum/model/ForumInfo.h"

#include "platform/ui/TableViewDataSource.h"
#include "platform/ui/TableViewDelegate.h"

#include "platform/foundation/Observation.h"

#include <QHash>
#include <QList>
#include <QString>

class AppContext;
class TableView;

// The forum index: one section per top-level entry of the forum tree. A
// category's section is headed by its title and lists its forums; a forum at
// the top has an untitled section with itself, then its subforums. Every row
// opens that forum's thread list. The tree is asked for afresh each time the
// screen comes into view.
class ForumController : public MurmoraViewController,
                        public ModelObserver,
                        public TableViewDataSource,
                        public TableViewDelegate {
public:
    static constexpr qreal kSectionHeaderHeight = 30.0;
    // The blanks before a section's title.
    static inline const QString kSectionTitleIndent = QStringLiteral("    ");

    explicit ForumController(AppContext& context);
    ~ForumController() override;

    void buildNib(View* root) override;
    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    QString getBarTitle() const override;

    // Starts a new thread, its forum chosen while composing (shown only where
    // the composing screen exists).
    void showCreate();

    void modelHasChanged(Model* model) override;
    bool modelHasFailedToUpdate(Model* model, const Error& error) override;
    // The forum of a row, or null.
    ForumPtr retrieveForumAtIndexPath(const IndexPath& indexPath) const;

    int numberOfSectionsInTableView(TableView* tableView) override;
    int numberOfRowsInSection(TableView* tableView, int section) override;
    TableViewCell* cellForRowAtIndexPath(TableView* tableView, const IndexPath& indexPath) override;
    // The tree is asked for afresh each time: a row is followed by its forum's id.
    QVariant keyForRowAtIndexPath(TableView* tableView, const IndexPath& indexPath) override;
    std::optional<qreal> heightForRowAtIndexPath(TableView* tableView, const IndexPath& indexPath) override;
    std::optional<qreal> heightForHeaderInSection(TableView* tableView, int section) override;
    View* viewForHeaderInSection(TableView* tableView, int section) override;
    void didSelectRowAtIndexPath(TableView* tableView, const IndexPath& indexPath) override;

    TableView* forumTable() const { return m_forumTable; }
    const ForumInfoPtr& info() const { return m_info; }
    // A section's title; a null text for an untitled one.
    QString titleOfSection(int section) const { return m_titles.value(section); }

private:
    TableView* m_forumTable = nullptr;
    ForumInfoPtr m_info;
    QHash<int, QString> m_titles;
    QHash<int, QList<ForumPtr>> m_forums;
    int m_sectionCount = 0;
    Observation m_infoObservation;
};
