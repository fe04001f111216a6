#pragma once

#include "platform/ui/LineBreakMode.h"
#include "platform/ui/TextAlignment.h"

#include <QFont>
#include <QGlyphRun>
#include <QList>
#include <QRectF>
#include <QString>

#include <memory>

class QPainter;
class QTextLayout;

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

    const QList<Line>& lines() const
    {
        measureLines();
        return m_lines;
    }
    int lineCount() const { return int(m_lines.size()); }
    bool isTruncated() const { return m_truncated; }
    qreal lineHeight() const { return m_lineHeight; }
    // Widest line by lines times the line height, each rounded up.
    QSizeF size() const;
    // The height alone: what a row's measurement needs, without measuring
    // each line's width.
    qreal height() const;

    // Lay-outs whose lines were measured so far, on this thread: only counts,
    // for the checks that a drawn frame measures nothing again.
    static qint64 measureCount();
    // Lines shaped for drawing so far, on this thread: only counts, for the
    // checks that a long text shapes only the lines it shows.
    static qint64 shapeCount();

    // Draws the lines from the top of `rect`, each placed by the alignment;
    // with a `visible` rectangle, only the lines that reach into it.
    void draw(QPainter& painter, const QRectF& rect, TextAlignment alignment, const QRectF& visible = QRectF()) const;
    // Where the characters [start, end) of the text given show when drawn
    // into `rect` with the alignment: one rectangle for each line they are
    // shown on (none for characters cut off or not shown).
    QList<QRectF> rectsForRange(int start, int end, const QRectF& rect, TextAlignment alignment) const;

private:
    // Each line's width, measured when first asked for.
    void measureLines() const;

    mutable QList<Line> m_lines;
    mutable bool m_measured = false;
    QFont m_font;
    qreal m_lineHeight = 0;
    qreal m_ascent = 0;
    bool m_truncated = false;
    // Each line's glyphs, shaped when the line is first drawn and kept
    // (shared by copies), so drawing the same layout again shapes nothing
    // and a long text shapes only the lines that ever show.
    struct Glyphs {
        QList<bool> shaped;
        QList<QList<QGlyphRun>> lines;
        // The line-breaking lay-out, when its lines place each glyph as a
        // line shaped alone does (left-to-right text without emoji): a line
        // drawn takes its glyphs from it instead of being shaped again. Let
        // go once every line was drawn.
        std::shared_ptr<QTextLayout> source;
        QList<int> sourceLine;
        int left = 0;
    };
    std::shared_ptr<Glyphs> m_glyphs = std::make_shared<Glyphs>();
};
