#include "forum/cells/SelectPostCell.h"

#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"

namespace {

qreal& selectPostCellTitleX()
{
    static qreal x = -1.0;
    return x;
}

}  // namespace

SelectPostCell::SelectPostCell()
{
    setReuseIdentifier(QStringLiteral("SelectPostCell"));
    for (View* moved : std::initializer_list<View*>{avatar(), title()}) {
        QRectF f = moved->frame();
        f.translate(kMarkRoom, 0);
        if (moved == title())
            f.setWidth(f.width() - kMarkRoom);
        moved->setFrame(f);
    }
    // A tap anywhere on the row chooses the post; its pictures open nothing here.
    message()->setUserInteractionEnabled(false);
    m_selectedImage = new ImageView(QRectF(4, 6, 24, 24));
    m_selectedImage->setContentMode(ContentMode::Center);
    contentView()->addSubview(m_selectedImage);
    setSelectedThread(false);
}

qreal SelectPostCell::titleX() const
{
    return selectPostCellTitleX();
}

void SelectPostCell::setTitleX(qreal x)
{
    selectPostCellTitleX() = x;
}

void SelectPostCell::setPost(const PostPtr& post)
{
    PostCell::setPost(post);
    // The mark stands on the header: a click there goes to the row.
    headerButton()->setUserInteractionEnabled(false);
}

void SelectPostCell::setSelectedThread(bool selected)
{
    m_marked = selected;
    m_selectedImage->setImageNamed(selected ? QStringLiteral("delete_on.png") : QStringLiteral("delete_off.png"));
}
