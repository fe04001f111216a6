#pragma once

#include "forum/cells/PostCell.h"

// A post row of the moderation list: the post's row with a mark at the head
// that shows whether the post is chosen. A click anywhere on the row, the
// mark and the header included, chooses the post: here the header opens no
// profile.
class SelectPostCell : public PostCell {
    Q_OBJECT
public:
    // The mark's room at the head's left; the picture and the name move over.
    static constexpr qreal kMarkRoom = 28.0;

    SelectPostCell();

    void setPost(const PostPtr& post) override;
    void setSelectedThread(bool selected);
    bool isMarked() const { return m_marked; }
    ImageView* selectedImage() const { return m_selectedImage; }

    qreal titleX() const override;
    void setTitleX(qreal x) override;

private:
    ImageView* m_selectedImage;
    bool m_marked = false;
};
