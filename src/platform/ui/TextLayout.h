#pragma once

#include "platform/ui/LineBreakMode.h"
#include "platform/ui/TextAlignment.h"

#include <QFont>
#include <QList>
#include <QRectF>
#include <QString>

class QPainter;

// The lines a text takes in a font within a width: the one computation
// behind measuring and drawing, so a measured size is exactly the size a
// label or a drawn text shows.
class TextLayout {
public:
    struct Line {
        QString text;
        qreal width = 0;
        // Where the line's shown characters come from in the text given:
        // `shownLength` characters from `start` (fewer than the line's text
        // when its end was cut for an ellipsis).
        int start = 0;
        int shownLength = 0;
    };

    // maxLines 0 means no limit; maxHeight <= 0 means no limit. Lines are
    // broken at word boundaries (a word longer than the width breaks inside),
    // or anywhere in CharacterWrap mode; explicit line breaks are kept.
    TextLayout(const QString& text, const QFont& font, qreal width, int maxLines = 0, qreal maxHeight = 0,
               LineBreakMode mode = LineBreakMode::WordWrap);

    const QList<Line>& lines() const { return m_lines; }
    int lineCount() const { return int(m_lines.size()); }
    bool isTruncated() const { return m_truncated; }
    qreal lineHeight() const { return m_lineHeight; }
    // Widest line by lines times the line height, each rounded up.
    QSizeF size() const;

    // Draws the lines from the top of `rect`, each placed by the alignment.
    void draw(QPainter& painter, const QRectF& rect, TextAlignment alignment) const;
    // Where the characters [start, end) of the text given show when drawn
    // into `rect` with the alignment: one rectangle for each line they are
    // shown on (none for characters cut off or not shown).
    QList<QRectF> rectsForRange(int start, int end, const QRectF& rect, TextAlignment alignment) const;

private:
    QList<Line> m_lines;
    QFont m_font;
    qreal m_lineHeight = 0;
    qreal m_ascent = 0;
    bool m_truncated = false;
};
