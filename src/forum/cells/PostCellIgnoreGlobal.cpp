#include "forum/cells/PostCellIgnoreGlobal.h"

#include "forum/cells/CollapsedRowParts.h"
#include "forum/cells/PostCellOwner.h"

#include "app/widgets/GradientButton.h"

#include "platform/ui/ControlEvents.h"
#include "platform/ui/Label.h"

namespace {
qreal& ignoreGlobalTitleX()
{
    static qreal x = -1.0;
    return x;
}
}  // namespace

PostCellIgnoreGlobal::PostCellIgnoreGlobal() : PostCell(true)
{
    using namespace CollapsedRowParts;
    m_ignoreDisclaimer = makeDisclaimer(contentView());
    m_viewPost = makeButton(contentView(), QRectF(15, kButtonY, 110, kButtonHeight), QStringLiteral("view_post"));
    m_viewPost->addTarget(this, &PostCellIgnoreGlobal::showPost, ControlEvent::TouchUpInside);
}

qreal PostCellIgnoreGlobal::titleX() const
{
    return ignoreGlobalTitleX();
}

void PostCellIgnoreGlobal::setTitleX(qreal x)
{
    ignoreGlobalTitleX() = x;
}

void PostCellIgnoreGlobal::setPost(const PostPtr& post)
{
    setForce(false);
    PostCell::setPost(post);
    m_ignoreDisclaimer->setText(CollapsedRowParts::disclaimerFor(post, QStringLiteral("the_admin_put_global_igno")));
    m_viewPost->useRedDeleteStyle();
}

void PostCellIgnoreGlobal::showPost()
{
    if (PostCellOwner* owner = controller(); owner && post())
        owner->showPost(post());
}
