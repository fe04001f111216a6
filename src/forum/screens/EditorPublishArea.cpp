#include "forum/screens/EditorPublishArea.h"

#include "app/config/Customizer.h"
#include "app/widgets/SegmentControlHidding.h"

#include "platform/ui/Font.h"
#include "platform/ui/Label.h"

#include "platform/foundation/Localized.h"

namespace {

// White text on the editor's dark sky.
Label* label(View* parent, const QRectF& frame, const QFont& font, const QColor& colour, int lines = 1)
{
    auto* made = new Label(frame);
    made->setFont(font);
    made->setTextColor(colour);
    made->setShadowColor(QColor(0, 0, 0, 110));
    made->setBackgroundColor(Qt::transparent);
    made->setOpaque(false);
    made->setNumberOfLines(lines);
    parent->addSubview(made);
    return made;
}

const QColor kDimWhite(0xC9, 0xD6, 0xE6);

View* plainView(const QRectF& frame)
{
    auto* view = new View(frame);
    view->setBackgroundColor(Qt::transparent);
    view->setOpaque(false);
    return view;
}

}  // namespace

EditorPublishArea::EditorPublishArea(const QPointF& origin) : View(QRectF(origin, QSizeF(kWidth, kHeight)))
{
    setBackgroundColor(Qt::transparent);
    setOpaque(false);
    const QColor tint = Customizer::getInstance().colorForKey(kColorBackgroundButton);

    m_publishView = plainView(QRectF(0, 0, kWidth, kHeight));
    m_labelPublishIn = label(m_publishView, QRectF(0, 0, kWidth, 18), Font::boldSystemFontOfSize(14), Qt::white);
    m_labelPublishIn->setText(localized("label_publish_in"));
    m_publishIn = new SegmentControlHidding(
        {localized("nav_forums"), localized("nav_articles"), localized("nav_blogs")});
    m_publishIn->setFrame(QRectF(0, 20, kWidth, 30));
    m_publishIn->setTintColor(tint);
    m_publishIn->awakeFromNib();
    m_publishView->addSubview(m_publishIn);
    m_labelSelectOne = label(m_publishView, QRectF(0, 51, kWidth, 15), Font::systemFontOfSize(12), kDimWhite);
    m_labelSelectOne->setText(localized("label_select_one"));
    addSubview(m_publishView);

    m_selectedForumInfo = makeTarget(&m_labelForumOption, &m_changePublishBtn);
    m_labelForumOption->setText(localized("label_option_forum"));
    m_forumName = label(m_selectedForumInfo, QRectF(0, 17, 186, 44), Font::boldSystemFontOfSize(16), Qt::white, 2);

    m_selectedBlogOptions = makeTarget(&m_labelBlogOption, &m_changePublishBlogBtn);
    m_labelBlogOption->setText(localized("label_option_blog"));
    m_selectedBlogCategorys =
        label(m_selectedBlogOptions, QRectF(0, 17, 186, 20), Font::boldSystemFontOfSize(15), Qt::white);
    m_selectedBlogPublishStatus =
        label(m_selectedBlogOptions, QRectF(0, 36, 186, 30), Font::systemFontOfSize(12), kDimWhite, 2);

    m_selectedArticleOptions = makeTarget(&m_labelArticleOption, &m_changePublishArticleBtn);
    m_labelArticleOption->setText(localized("label_option_article"));
    m_selectedArticleCategorys =
        label(m_selectedArticleOptions, QRectF(0, 17, 186, 20), Font::boldSystemFontOfSize(15), Qt::white);
    m_selectedArticlePublishStatus =
        label(m_selectedArticleOptions, QRectF(0, 36, 186, 30), Font::systemFontOfSize(12), kDimWhite, 2);

    for (SegmentedControl* change : {m_changePublishBtn, m_changePublishBlogBtn, m_changePublishArticleBtn})
        change->setTintColor(tint);
}

EditorPublishArea::~EditorPublishArea() = default;

View* EditorPublishArea::makeTarget(Label** option, SegmentedControl** change)
{
    View* target = plainView(QRectF(0, 0, kWidth, kHeight));
    *option = label(target, QRectF(0, 0, 186, 16), Font::systemFontOfSize(12), kDimWhite);
    *change = new SegmentedControl({localized("label_change")});
    (*change)->sizeToFit();
    const QSizeF size = (*change)->frame().size();
    (*change)->setFrame(QRectF(kWidth - qMax<qreal>(84, size.width()), 18, qMax<qreal>(84, size.width()), 30));
    target->addSubview(*change);
    target->setHidden(true);
    addSubview(target);
    return target;
}

void EditorPublishArea::showChoice()
{
    m_publishView->setHidden(false);
    for (View* target : {m_selectedForumInfo, m_selectedBlogOptions, m_selectedArticleOptions})
        target->setHidden(true);
}

void EditorPublishArea::reopenChoice()
{
    showChoice();
    m_publishIn->setSelectedPosition(-1);
    for (SegmentedControl* change : {m_changePublishBtn, m_changePublishBlogBtn, m_changePublishArticleBtn})
        change->setSelectedSegmentIndex(SegmentedControl::NoSegment);
}

void EditorPublishArea::setChoiceShown(int position, bool shown)
{
    const int selected = m_publishIn->selectedSegmentIndex();
    if (shown)
        m_publishIn->showButtonAtIndex(position);
    else
        m_publishIn->hideButtonAtIndex(position);
    m_publishIn->setSelectedPosition(selected == position && !shown ? -1 : selected);
}

void EditorPublishArea::showTarget(View* target)
{
    m_publishView->setHidden(true);
    for (View* each : {m_selectedForumInfo, m_selectedBlogOptions, m_selectedArticleOptions})
        each->setHidden(each != target);
}

View* EditorPublishArea::shownTarget() const
{
    for (View* each : {m_selectedForumInfo, m_selectedBlogOptions, m_selectedArticleOptions}) {
        if (!each->isHidden())
            return each;
    }
    return nullptr;
}
