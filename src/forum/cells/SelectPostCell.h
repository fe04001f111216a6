#pragma once

#include "forum/cells/PostCell.h"

// A post row of the moderation list: the post's row with a mark at the head
// that shows whether the post is chosen.
class SelectPostCell : public PostCell {
    Q_OBJECT
public:
    // The mark's room at the head's left; the picture and the name move over.
    static constexpr qreal kMarkRoom = 28.0;

    SelectPostCell();

    void setSelectedThread(bool selected);
    bool isMarked() const { return m_marked; }
    ImageView* selectedImage() const { return m_selectedImage; }

    qreal titleX() const override;
    void setTitleX(qreal x) override;

private:
    ImageView* m_selectedImage;
    bool m_marked = false;
};
