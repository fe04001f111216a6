#pragma once

#include "forum/model/Forum.h"

#include "platform/ui/TableViewCell.h"

class Label;

// A row of the forum picker: the forum's title. A forum that opens a level
// of its own shows the disclosure arrow; a category, which cannot be
// chosen, is shown greyed.
class SelectForumCell : public TableViewCell {
    Q_OBJECT
public:
    static constexpr qreal kHeight = 44;

    SelectForumCell();
    ~SelectForumCell() override;

    // `opensLevel`: choosing the row shows the forum's subforums.
    void setForum(const ForumPtr& forum, bool opensLevel);

    Label* forum() const { return m_forum; }

    void layoutSubviews() override;

private:
    Label* m_forum;
};
