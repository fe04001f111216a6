#include "forum/cells/SelectThreadCell.h"

#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"

SelectThreadCell::SelectThreadCell()
{
    setReuseIdentifier(QStringLiteral("SelectThreadCell"));
    m_deletedBg = new View(QRectF(0, 0, 320, kHeight));
    m_deletedBg->setBackgroundColor(QColor(0xF6, 0xD5, 0xD1));
    m_deletedBg->setAutoresizingMask(Autoresizing::FlexibleSize);
    m_deletedBg->setHidden(true);
    m_deletedBg->setUserInteractionEnabled(false);
    contentView()->insertSubview(m_deletedBg, 0);
    // The mark takes the left edge; the texts move over.
    m_selectedImage = new ImageView(QRectF(4, 12, 24, 24));
    m_selectedImage->setContentMode(ContentMode::Center);
    contentView()->addSubview(m_selectedImage);
    for (View* view : std::initializer_list<View*>{title(), info(), replied()}) {
        QRectF f = view->frame();
        f.translate(28, 0);
        if (view != replied())
            f.setWidth(f.width() - 28);
        view->setFrame(f);
    }
    setSelectedThread(false);
}

void SelectThreadCell::setSelectedThread(bool selected)
{
    m_selectedImage->setImageNamed(selected ? QStringLiteral("delete_on.png") : QStringLiteral("delete_off.png"));
}

void SelectThreadCell::setThread(const ThreadPtr& thread)
{
    ThreadCell::setThread(thread);
    showDeletedBand();
}

void SelectThreadCell::selectionShownDidChange()
{
    ThreadCell::selectionShownDidChange();
    showDeletedBand();
}

void SelectThreadCell::showDeletedBand()
{
    const ThreadPtr shown = thread();
    m_deletedBg->setHidden(!shown || !shown->deleted() || showsSelection());
}
