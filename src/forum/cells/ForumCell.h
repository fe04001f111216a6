#pragma once

#include "forum/model/Forum.h"

#include "platform/ui/TableViewCell.h"

class ImageView;
class Label;

// A row of the forum index and of a thread list's subforums: the forum's
// title, its description, its subforums after a caption, and its thread and
// reply counts (not for a link). The row is as high as its texts.
class ForumCell : public TableViewCell {
    Q_OBJECT
public:
    // The layout: where the texts start, their width and fonts.
    static constexpr qreal kTextX = 30;
    static constexpr qreal kTextWidth = 280;
    static constexpr qreal kTitleY = 7;
    // A row is at least this high before its counts line.
    static constexpr qreal kMinimumHeight = 40.0;
    // The subforums' caption sits this much lower than their first line.
    static constexpr qreal kSubforumsCaptionOffset = 1.0;
    // The blanks before the subforums' names: their first line starts after the caption.
    static inline const QString kSubforumsIndent = QStringLiteral("                       ");

    ForumCell();
    ~ForumCell() override;

    // Fills the row and works out its height.
    void setForum(const ForumPtr& forum);
    const ForumPtr& forum() const { return m_forum; }
    // The height worked out by the last setForum.
    qreal height() const { return m_height; }
    // The height of a row showing the forum, measured on a cell kept for that.
    static qreal heightForForum(const ForumPtr& forum);

    // How wide the blanks before the subforums' names are in a font.
    static qreal indentWidth(const QFont& font);

    Label* title() const { return m_title; }
    Label* short_description() const { return m_shortDescription; }
    ImageView* unread() const { return m_unread; }
    Label* threads_posts() const { return m_threadsPosts; }
    Label* subforums() const { return m_subforums; }
    Label* subforums_title() const { return m_subforumsTitle; }

private:
    Label* m_title;
    Label* m_shortDescription;
    ImageView* m_unread;
    Label* m_threadsPosts;
    Label* m_subforums;
    Label* m_subforumsTitle;
    qreal m_height = 0;
    ForumPtr m_forum;
};
