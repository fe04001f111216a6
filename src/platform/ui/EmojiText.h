#pragma once

#include <QFont>
#include <QGlyphRun>
#include <QList>
#include <QString>
#include <QTextLayout>

class QPainter;

// Emoji among letters, the one place that knows about them: a text splits
// into runs of letters, drawn in the text's own font, and runs of emoji,
// drawn in the colour emoji font at the height of the letters. An emoji run
// holds an emoji with all that joins it (variation selector, skin tone,
// zero-width joins, keycap, tags), so a sequence draws as the one picture it
// names; a character that is text by default (a heart, the female sign)
// is an emoji only when the emoji variation selector follows it.
class EmojiText {
public:
    struct Run {
        qsizetype start = 0;
        qsizetype length = 0;
        bool emoji = false;
    };

    static bool contains(const QString& text);
    // Consecutive runs covering the whole text.
    static QList<Run> runs(const QString& text);
    // The colour emoji font whose emoji stand as tall above the baseline as
    // the letters of `font` do; `font` itself when no emoji font is installed.
    static QFont fontFor(const QFont& font);
    // For a layout that breaks lines: the emoji runs in the emoji font.
    static QList<QTextLayout::FormatRange> formats(const QString& text, const QFont& font);
    // The same text for a layout that only breaks lines, breaking them where
    // the layout with `formats` does, without asking the colour emoji font
    // for an advance: that font decodes the glyph's picture for every
    // advance asked of it, about a million instructions an emoji. An emoji
    // whose break and advance can be matched stands in as its first
    // character, in `font` alone and spaced to the emoji's advance; `from`
    // gives each position's place in the text (with one past its end).
    struct ForBreaking {
        QString text;
        QList<QTextLayout::FormatRange> formats;
        QList<int> from;
    };
    static ForBreaking forLineBreaking(const QString& text, const QFont& font);

    // One line: its width, the line drawn from a point on its baseline, and
    // the line cut to a width with an ellipsis.
    static qreal width(const QString& text, const QFont& font);
    static void draw(QPainter& painter, const QPointF& baseline, const QString& text, const QFont& font);
    // The glyphs `draw` puts down, shaped once, placed from a baseline at
    // (0, 0): drawn with QPainter::drawGlyphRun at the baseline's point they
    // show the same line without shaping the text again.
    static QList<QGlyphRun> glyphRuns(const QString& text, const QFont& font);
    static QString elided(const QString& text, const QFont& font, Qt::TextElideMode mode, qreal width);
};
