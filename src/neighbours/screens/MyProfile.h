#pragma once

#include "app/model/ModelObserver.h"
#include "app/screens/MurmoraViewController.h"
#include "app/session/Friend.h"

#include "platform/ui/TableViewDataSource.h"
#include "platform/ui/TableViewDelegate.h"

#include "platform/foundation/Observation.h"
#include "platform/foundation/Value.h"

#include <QString>

#include <memory>

class AppContext;
class EmptyStateView;
class ImageView;
class Label;
class Profile;
class SegmentedControl;
class TableView;

// A member's profile: picture, name and title on top, the profile's sections
// below them (`sections`), and under those when the member joined, how many
// posts the member wrote and the profile's categories of fields, as the
// forum's "member" answer brings them. The visitor messages, friends
// and albums sections are not shown by this application; choosing one says so.
// The screen observes its member and the member's profile and fills itself
// as their data arrives.
class MyProfile : public MurmoraViewController,
                  public ModelObserver,
                  public TableViewDataSource,
                  public TableViewDelegate {
public:
    enum Section : int { ProfileSection = 0, MessagesSection = 1, FriendsSection = 2, AlbumsSection = 3 };

    static constexpr qreal kHeaderHeight = 76;
    static constexpr qreal kAvatarSize = 56;
    static constexpr qreal kSectionsTop = 76;
    static constexpr qreal kSectionsHeight = 32;
    static constexpr qreal kContentTop = 118;
    static constexpr qreal kRowHeight = 44;

    // The screen of the interface file of that name, opening on the section
    // of that index (0 the profile, 3 the albums).
    explicit MyProfile(AppContext& context, const QString& nibName = QStringLiteral("MyProfile"),
                       unsigned selectedIndex = 0);
    ~MyProfile() override;

    QString nibName() const { return m_nibName; }
    QString getBarTitle() const override;
    void buildNib(View* root) override;
    void viewDidLoad() override;

    // The member shown (a member or the current user; null for none). Stops
    // observing the former member and its profile, observes the new ones,
    // asks the profile for its data when it has no categories yet, and lays
    // the screen out.
    void setUser(const FriendPtr& member);
    const FriendPtr& user() const { return m_user; }
    const std::shared_ptr<Profile>& profile() const { return m_profile; }

    SegmentedControl* sections() const { return m_sections; }
    // The section on screen.
    int selectedSection() const;
    void sectionChanged();

    void modelHasChanged(Model* model) override;
    bool modelHasFailedToUpdate(Model* model, const Error& error) override;

    int numberOfSectionsInTableView(TableView* tableView) override;
    int numberOfRowsInSection(TableView* tableView, int section) override;
    TableViewCell* cellForRowAtIndexPath(TableView* tableView, const IndexPath& indexPath) override;
    QString titleForHeaderInSection(TableView* tableView, int section) override;

    Label* nameLabel() const { return m_name; }
    Label* userTitleLabel() const { return m_userTitle; }
    ImageView* avatarView() const { return m_avatar; }
    TableView* tableView() const { return m_table; }
    EmptyStateView* emptyState() const { return m_emptyState; }

    using Fields = QList<std::pair<QString, QString>>;
    // A category's fields as (name, value) pairs: a list of field
    // dictionaries or a single one; fields without a value are left out.
    static Fields fieldsOf(const Value& category);
    // When the member joined (a date in whole seconds, or a text as the forum
    // writes it) and the count of posts, as far as the profile has them.
    static Fields factsOf(const Profile& profile);

private:
    // Header and the chosen section's content, from the member and profile now.
    void layout();
    void showEmptyState(const char* headlineKey, const QString& message);

    struct ShownSection {
        QString title;
        Fields fields;
    };
    // The table's sections, from the profile now.
    QList<ShownSection> m_shown;
    QString m_nibName;
    unsigned m_selectedIndex;
    FriendPtr m_user;
    std::shared_ptr<Profile> m_profile;
    QString m_failure;

    ImageView* m_avatar = nullptr;
    Label* m_name = nullptr;
    Label* m_userTitle = nullptr;
    SegmentedControl* m_sections = nullptr;
    TableView* m_table = nullptr;
    EmptyStateView* m_emptyState = nullptr;
    Observation m_userObservation;
    Observation m_profileObservation;
};
