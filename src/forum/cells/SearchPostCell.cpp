#include "forum/cells/SearchPostCell.h"

#include "forum/cells/PostTextView.h"

#include "platform/ui/Label.h"
#include "platform/ui/TextLayout.h"

#include "platform/foundation/StringExtensions.h"

namespace {

qreal& searchPostCellTitleX()
{
    static qreal x = -1.0;
    return x;
}

}  // namespace

SearchPostCell::SearchPostCell() = default;

qreal SearchPostCell::titleX() const
{
    return searchPostCellTitleX();
}

void SearchPostCell::setTitleX(qreal x)
{
    searchPostCellTitleX() = x;
}

QList<View*> SearchPostCell::highlightBoxes() const
{
    QList<View*> boxes;
    for (const QPointer<View>& box : m_highlightBoxes) {
        if (box)
            boxes.append(box);
    }
    return boxes;
}

void SearchPostCell::removeHighlightBoxes()
{
    for (const QPointer<View>& box : std::as_const(m_highlightBoxes)) {
        if (box)
            box->removeFromSuperview();
    }
    m_highlightBoxes.clear();
}

void SearchPostCell::prepareForReuse()
{
    removeHighlightBoxes();
    PostCell::prepareForReuse();
}

void SearchPostCell::setPost(const PostPtr& post)
{
    removeHighlightBoxes();
    PostCell::setPost(post);
    highlightSubviews(contentView());
}

void SearchPostCell::highlightSubviews(View* view)
{
    if (!view || m_highlight.isEmpty())
        return;
    // A copy: the marks join the view's subviews as they are made.
    const QList<View*> subviews = view->subviews();
    for (View* subview : subviews) {
        if (m_highlightBoxes.contains(subview))
            continue;
        if (auto* label = qobject_cast<Label*>(subview)) {
            markText(view, label, label->currentLayout(), label->textRectForBounds(label->bounds()),
                     label->textAlignment(), label->text());
        } else if (auto* text = qobject_cast<PostTextView*>(subview)) {
            markText(view, text, text->currentLayout(), QRectF(QPointF(0, 0), text->frame().size()),
                     TextAlignment::Left, text->text());
        } else {
            highlightSubviews(subview);
        }
    }
}

void SearchPostCell::markText(View* view, View* textView, const TextLayout& layout, const QRectF& textRect,
                              TextAlignment alignment, const QString& text)
{
    // Nothing to find in, or no room to show it: no marks (and no search).
    if (text.isEmpty() || textView->frame().width() <= 0)
        return;
    const QPointF origin = textView->frame().topLeft();
    for (const auto& [start, end] : StringExtensions::rangesOfString(text, m_highlight)) {
        for (const QRectF& box : layout.rectsForRange(start, end, textRect, alignment)) {
            auto* mark = new View(box.translated(origin));
            mark->setBackgroundColor(kMarkColor);
            mark->setUserInteractionEnabled(false);
            view->insertSubviewBelow(mark, textView);
            m_highlightBoxes.append(mark);
        }
    }
}
