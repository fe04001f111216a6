#pragma once

#include "forum/cells/PostCell.h"

class GradientButton;

// The collapsed row of a post whose author the member ignores: the header,
// a line that says so, and two buttons: show the post, or show it and take
// the author off the ignore list.
class PostCellUserIgnore : public PostCell {
    Q_OBJECT
public:
    PostCellUserIgnore();

    void setPost(const PostPtr& post) override;
    qreal titleX() const override;
    void setTitleX(qreal x) override;

    Label* ignoreDisclaimer() const { return m_ignoreDisclaimer; }
    GradientButton* viewPost() const { return m_viewPost; }
    GradientButton* removeFromIgnoreList() const { return m_removeFromIgnoreList; }

    void showPost();
    void showPostAndRemoveFromIgnoreList();

private:
    Label* m_ignoreDisclaimer = nullptr;
    GradientButton* m_viewPost = nullptr;
    GradientButton* m_removeFromIgnoreList = nullptr;
};
