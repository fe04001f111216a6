#pragma once

#include "forum/model/PostQuote.h"

#include "platform/ui/LineBreakMode.h"

#include <QColor>
#include <QFont>
#include <QSizeF>

class View;

// A quote tree as nested boxes: its measure (what a post row reserves) and
// its views. Each box's content stands 10 points in from both sides and, in
// a quoted block (a rounded box in the theme's quote colours), 4 points
// below its top edge and 3 above its bottom edge; a quoted block stands 4
// points below what comes before it, and the text after it 4 points below
// it. The root is a plain transparent view as high as its content.
//
// Measuring and drawing are one walk over the tree, so the measure is
// exactly the height of the view drawn: a row given that height neither
// clips its last line nor leaves room empty under it.
class PostQuoteDrawing {
public:
    static constexpr qreal kInset = 10.0;
    static constexpr qreal kNestedShrink = 20.0;
    static constexpr qreal kGapBeforeNested = 4.0;
    static constexpr qreal kGapAfterNested = 4.0;
    static constexpr qreal kTopInBox = 4.0;
    static constexpr qreal kBottom = 3.0;
    static constexpr qreal kCornerRadius = 8.0;

    // Width: the given width. Height: the height of the view that
    // createViewInSize makes for the same width (the line-break mode is the
    // drawing's own: texts are wrapped, never cut).
    static QSizeF sizeWithFont(const PostQuote& node, const QFont& font, const QSizeF& size,
                               LineBreakMode lineBreakMode);
    // The node's view (a rounded box for a quoted block, a plain transparent
    // view for the root), of the given width and as high as its content.
    // `backdrop` is the one colour under the view, where there is one: its
    // boxes are then drawn once over it (RoundedRectView::setBackdropColor).
    static View* createViewInSize(const PostQuote& node, const QSizeF& size, const QFont& font,
                                  const QColor& backdrop = QColor());
    // Tells a view that createViewInSize made what now lies under it: its
    // boxes stand on that (the boxes within them stand on their box).
    static void setBackdropColor(View* view, const QColor& backdrop);

    // The text a part shows: "author:\n" first in a quoted block with an
    // author, formatting tags shown as their text, no blank lines around it.
    static QString shownText(const PostQuote& node, const QString& part);

private:
    // The walk: places the node's parts within the width and answers the
    // node's height; with a view, it makes the parts' views in it.
    static qreal layOut(const PostQuote& node, qreal width, const QFont& font, View* into,
                        const QColor& backdrop = QColor());
};
