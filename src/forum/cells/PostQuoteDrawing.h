#pragma once

#include "forum/model/PostQuote.h"

#include "platform/ui/LineBreakMode.h"

#include <QFont>
#include <QSizeF>

class View;

// A quote tree as nested boxes: its measure (what a post row reserves) and
// its views. Each box's content stands 10 points in from both sides and, in
// a quoted block (a rounded box in the theme's quote colours), 4 points
// below its top edge; the text after a quoted block stands 4 points below it.
//
// The measure covers what is drawn: a text is measured at the width it is
// drawn at, with the "author:" line a quoted block's text carries, so a
// drawn tree never runs past the height reserved for it.
class PostQuoteDrawing {
public:
    static constexpr qreal kInset = 10.0;
    static constexpr qreal kNestedShrink = 20.0;
    static constexpr qreal kGapWithAuthor = 8.0;
    static constexpr qreal kGapWithoutAuthor = 4.0;
    static constexpr qreal kGapBeforeNested = 4.0;
    static constexpr qreal kGapAfterNested = 4.0;
    static constexpr qreal kTopInBox = 4.0;
    static constexpr qreal kBottom = 3.0;
    static constexpr qreal kCornerRadius = 8.0;

    // Width: the given width. Height: 3 plus, for each part, its height and a
    // gap of 8 (a block with an author) or 4.
    static QSizeF sizeWithFont(const PostQuote& node, const QFont& font, const QSizeF& size,
                               LineBreakMode lineBreakMode);
    // The node's view (a rounded box for a quoted block, a plain transparent
    // view for the root), of the given width and as high as its content.
    static View* createViewInSize(const PostQuote& node, const QSizeF& size, const QFont& font);

    // The text a part shows: "author:\n" first in a quoted block with an
    // author, formatting tags shown as their text, no blank lines around it.
    static QString shownText(const PostQuote& node, const QString& part);
};
