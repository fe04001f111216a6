#include "forum/cells/PostCellUserIgnore.h"

#include "forum/cells/CollapsedRowParts.h"
#include "forum/cells/PostCellOwner.h"

#include "app/widgets/GradientButton.h"

#include "platform/ui/ControlEvents.h"
#include "platform/ui/Label.h"

namespace {
qreal& userIgnoreTitleX()
{
    static qreal x = -1.0;
    return x;
}
}  // namespace

PostCellUserIgnore::PostCellUserIgnore() : PostCell(true)
{
    using namespace CollapsedRowParts;
    m_ignoreDisclaimer = makeDisclaimer(contentView());
    m_viewPost = makeButton(contentView(), QRectF(15, kButtonY, 110, kButtonHeight), QStringLiteral("view_post"));
    m_viewPost->addTarget(this, &PostCellUserIgnore::showPost, ControlEvent::TouchUpInside);
    m_removeFromIgnoreList = makeButton(contentView(), QRectF(133, kButtonY, 172, kButtonHeight),
                                        QStringLiteral("view_post_and_unignore"));
    m_removeFromIgnoreList->addTarget(this, &PostCellUserIgnore::showPostAndRemoveFromIgnoreList,
                                      ControlEvent::TouchUpInside);
}

qreal PostCellUserIgnore::titleX() const
{
    return userIgnoreTitleX();
}

void PostCellUserIgnore::setTitleX(qreal x)
{
    userIgnoreTitleX() = x;
}

void PostCellUserIgnore::setPost(const PostPtr& post)
{
    setForce(false);
    PostCell::setPost(post);
    m_ignoreDisclaimer->setText(CollapsedRowParts::disclaimerFor(post, QStringLiteral("this_message_hidden_ig")));
    m_viewPost->useRedDeleteStyle();
    m_removeFromIgnoreList->useRedDeleteStyle();
}

void PostCellUserIgnore::showPost()
{
    if (PostCellOwner* owner = controller(); owner && post())
        owner->showPost(post());
}

void PostCellUserIgnore::showPostAndRemoveFromIgnoreList()
{
    const PostPtr shown = post();
    if (!shown)
        return;
    if (PostCellOwner* owner = controller())
        owner->showPost(shown);
    shown->unignore();
}
