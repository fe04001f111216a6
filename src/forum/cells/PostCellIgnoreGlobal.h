#pragma once

#include "forum/cells/PostCell.h"

class GradientButton;

// The collapsed row of a post whose author the forum ignores for everyone:
// the header, a line that says so, and a button that shows the post.
class PostCellIgnoreGlobal : public PostCell {
    Q_OBJECT
public:
    PostCellIgnoreGlobal();

    void setPost(const PostPtr& post) override;
    qreal titleX() const override;
    void setTitleX(qreal x) override;

    Label* ignoreDisclaimer() const { return m_ignoreDisclaimer; }
    GradientButton* viewPost() const { return m_viewPost; }

    void showPost();

private:
    Label* m_ignoreDisclaimer = nullptr;
    GradientButton* m_viewPost = nullptr;
};
