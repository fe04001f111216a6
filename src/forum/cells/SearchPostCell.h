#pragma once

#include "forum/cells/PostCell.h"

#include "platform/ui/TextAlignment.h"

#include <QList>
#include <QPointer>

// The row of a post found by a search in a thread: the post's row, with the
// searched term marked in orange wherever its texts show it.
class TextLayout;

class SearchPostCell : public PostCell {
    Q_OBJECT
public:
    static inline const QColor kMarkColor = QColor(255, 127, 0);

    SearchPostCell();

    // The term to mark; marks follow at the next filling.
    QString highlight() const { return m_highlight; }
    void setHighlight(const QString& highlight) { m_highlight = highlight; }
    // The marks on the row now.
    QList<View*> highlightBoxes() const;

    // Fills the row as a post row does, then marks the term.
    void setPost(const PostPtr& post) override;
    // Marks every place of the term in the texts among the view's subviews,
    // and in theirs: an orange box under each, one per line a place is
    // shown on.
    void highlightSubviews(View* view);
    void prepareForReuse() override;

    qreal titleX() const override;
    void setTitleX(qreal x) override;

private:
    void removeHighlightBoxes();
    void markText(View* view, View* textView, const TextLayout& layout, const QRectF& textRect,
                  TextAlignment alignment, const QString& text);

    QString m_highlight;
    QList<QPointer<View>> m_highlightBoxes;
};
