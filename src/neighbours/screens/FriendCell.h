#pragma once

#include "app/model/ModelObserver.h"
#include "app/session/Friend.h"

#include "platform/ui/TableViewCell.h"

#include "platform/foundation/Observation.h"

class ImageView;
class Label;

// A row of the friend list: the member's picture (its initial until the
// picture arrives, or when there is none), name and title. The row follows
// its member, whose picture may come later.
class FriendCell : public TableViewCell, public ModelObserver {
    Q_OBJECT
public:
    static constexpr qreal kHeight = 56.0;

    FriendCell();
    ~FriendCell() override;

    void setMember(const FriendPtr& member);
    const FriendPtr& member() const { return m_member; }

    void modelHasChanged(Model* model) override;

    ImageView* picture() const { return m_picture; }
    Label* initial() const { return m_initial; }
    Label* name() const { return m_name; }
    Label* userTitle() const { return m_userTitle; }

private:
    void showMember();

    FriendPtr m_member;
    ImageView* m_picture;
    Label* m_initial;
    Label* m_name;
    Label* m_userTitle;
    Observation m_memberObservation;
};
