#include "platform/ui/EmojiText.h"

#include <QCoreApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QHash>
#include <QPainter>
#include <QTextBoundaryFinder>

#include <cmath>
#include <optional>

namespace {

constexpr char32_t kEmojiSelector = 0xFE0F;
constexpr char32_t kTextSelector = 0xFE0E;
constexpr char32_t kZeroWidthJoiner = 0x200D;
constexpr char32_t kKeycap = 0x20E3;
const QString kEllipsis = QStringLiteral("\u2026");

struct Range {
    char32_t first;
    char32_t last;
};

// Characters whose default look is the emoji picture. Below U+1F000 only
// these few; above, the blocks of pictographs, faces, transport, flags and
// the later additions.
constexpr Range kEmojiByDefault[] = {
    {0x231A, 0x231B},   {0x23E9, 0x23EC},   {0x23F0, 0x23F0},   {0x23F3, 0x23F3},   {0x25FD, 0x25FE},
    {0x2614, 0x2615},   {0x2648, 0x2653},   {0x267F, 0x267F},   {0x2693, 0x2693},   {0x26A1, 0x26A1},
    {0x26AA, 0x26AB},   {0x26BD, 0x26BE},   {0x26C4, 0x26C5},   {0x26CE, 0x26CE},   {0x26D4, 0x26D4},
    {0x26EA, 0x26EA},   {0x26F2, 0x26F3},   {0x26F5, 0x26F5},   {0x26FA, 0x26FA},   {0x26FD, 0x26FD},
    {0x2705, 0x2705},   {0x270A, 0x270B},   {0x2728, 0x2728},   {0x274C, 0x274C},   {0x274E, 0x274E},
    {0x2753, 0x2755},   {0x2757, 0x2757},   {0x2795, 0x2797},   {0x27B0, 0x27B0},   {0x27BF, 0x27BF},
    {0x2B1B, 0x2B1C},   {0x2B50, 0x2B50},   {0x2B55, 0x2B55},   {0x1F004, 0x1F004}, {0x1F0CF, 0x1F0CF},
    {0x1F18E, 0x1F18E}, {0x1F191, 0x1F19A}, {0x1F1E6, 0x1F1FF}, {0x1F201, 0x1F251}, {0x1F300, 0x1F6FF},
    {0x1F7E0, 0x1F7FF}, {0x1F900, 0x1F9FF}, {0x1FA70, 0x1FAFF},
};

bool isEmojiByDefault(char32_t c)
{
    for (const Range& range : kEmojiByDefault) {
        if (c < range.first)
            return false;
        if (c <= range.last)
            return true;
    }
    return false;
}

// What joins the emoji before it: selectors, skin tones, the keycap, tags.
bool extendsEmoji(char32_t c)
{
    return c == kEmojiSelector || c == kTextSelector || c == kKeycap || (c >= 0x1F3FB && c <= 0x1F3FF)
           || (c >= 0xE0020 && c <= 0xE007F);
}

char32_t codePointAt(const QString& text, qsizetype i, qsizetype* length)
{
    const QChar c = text.at(i);
    if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
        *length = 2;
        return QChar::surrogateToUcs4(c, text.at(i + 1));
    }
    *length = 1;
    return c.unicode();
}

// The end of the emoji that starts at `i`, or `i` when none starts there.
qsizetype emojiEnd(const QString& text, qsizetype i)
{
    qsizetype length = 0;
    const char32_t c = codePointAt(text, i, &length);
    qsizetype end = i + length;
    qsizetype nextLength = 0;
    const char32_t next = end < text.size() ? codePointAt(text, end, &nextLength) : 0;
    const bool emoji = next == kEmojiSelector ? !QChar::isSpace(c) : isEmojiByDefault(c) && next != kTextSelector;
    if (!emoji)
        return i;
    while (end < text.size()) {
        const char32_t more = codePointAt(text, end, &length);
        if (extendsEmoji(more)) {
            end += length;
        } else if (more == kZeroWidthJoiner && end + length < text.size()) {
            end += length;
            codePointAt(text, end, &length);
            end += length;
        } else {
            break;
        }
    }
    return end;
}

// Cheap test before the careful one: every emoji lies above U+2300.
bool mayHoldEmoji(const QString& text)
{
    for (const QChar c : text) {
        if (c.unicode() >= 0x231A)
            return true;
    }
    return false;
}

const QString& emojiFamily()
{
    static const QString family = [] {
        const QStringList installed = QFontDatabase::families();
        for (const char* name : {"Noto Color Emoji", "Twemoji", "JoyPixels", "EmojiOne Color"}) {
            const QString candidate = QString::fromLatin1(name);
            if (installed.contains(candidate, Qt::CaseInsensitive))
                return candidate;
        }
        return QString();
    }();
    return family;
}

// A run's advance in a font; an emoji run's is kept, as its glyphs' advances
// never change and the colour emoji font reads them by decoding the
// glyphs' pictures again on every shaping.
qreal advanceOf(const QString& part, const QFont& font, bool emoji)
{
    if (!emoji)
        return QFontMetricsF(font).horizontalAdvance(part);
    thread_local QHash<QString, qreal> kept;
    const QString key = font.key() + QChar(0) + part;
    const auto found = kept.constFind(key);
    if (found != kept.constEnd())
        return *found;
    const qreal advance = QFontMetricsF(font).horizontalAdvance(part);
    if (kept.size() < 4096)
        kept.insert(key, advance);
    return advance;
}

// The glyphs of one line of text in one font as QPainter::drawText(point,
// text) shapes them (the direction found from the text, as a painter's is,
// no wrapping, the leftmost glyph at the point), placed from a baseline at
// `origin`.
void appendGlyphRuns(QList<QGlyphRun>& out, const QString& text, const QFont& font, const QPointF& origin)
{
    QTextLayout layout(text, font);
    QTextOption option;
    option.setAlignment(Qt::AlignLeft | Qt::AlignAbsolute);
    option.setWrapMode(QTextOption::NoWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    if (!line.isValid()) {
        layout.endLayout();
        return;
    }
    line.setPosition(QPointF(0, 0));
    layout.endLayout();
    const QPointF shift = origin - QPointF(0, line.ascent());
    for (QGlyphRun run : line.glyphRuns()) {
        QList<QPointF> positions = run.positions();
        for (QPointF& position : positions)
            position += shift;
        run.setPositions(positions);
        run.setBoundingRect(run.boundingRect().translated(shift));
        out.append(run);
    }
}

// The glyphs of emoji runs, placed from a baseline at (0, 0): the same
// emoji come back on line after line, and shaping one decodes its picture
// again. They hold their font's engine, so they go before the toolkit does.
using KeptGlyphs = QHash<QString, QList<QGlyphRun>>;

KeptGlyphs& keptEmojiGlyphs()
{
    static KeptGlyphs kept;
    return kept;
}

void forgetEmojiGlyphs()
{
    keptEmojiGlyphs() = KeptGlyphs();
}

void appendEmojiGlyphRuns(QList<QGlyphRun>& out, const QString& part, const QFont& font, const QPointF& origin)
{
    KeptGlyphs& kept = keptEmojiGlyphs();
    const QString key = font.key() + QChar(0) + part;
    QList<QGlyphRun> runs = kept.value(key);
    if (runs.isEmpty()) {
        appendGlyphRuns(runs, part, font, QPointF(0, 0));
        if (kept.isEmpty())
            qAddPostRoutine(forgetEmojiGlyphs);
        if (kept.size() < 1024)
            kept.insert(key, runs);
    }
    for (QGlyphRun run : std::as_const(runs)) {
        QList<QPointF> positions = run.positions();
        for (QPointF& position : positions)
            position += origin;
        run.setPositions(positions);
        run.setBoundingRect(run.boundingRect().translated(origin));
        out.append(run);
    }
}

}  // namespace

bool EmojiText::contains(const QString& text)
{
    if (!mayHoldEmoji(text))
        return false;
    for (qsizetype i = 0; i < text.size();) {
        if (emojiEnd(text, i) > i)
            return true;
        i += text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
    }
    return false;
}

QList<EmojiText::Run> EmojiText::runs(const QString& text)
{
    QList<Run> runs;
    const auto add = [&runs](qsizetype start, qsizetype end, bool emoji) {
        if (!runs.isEmpty() && runs.last().emoji == emoji)
            runs.last().length = end - runs.last().start;
        else
            runs.append(Run{start, end - start, emoji});
    };
    if (!mayHoldEmoji(text)) {
        if (!text.isEmpty())
            add(0, text.size(), false);
        return runs;
    }
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype end = emojiEnd(text, i);
        if (end > i) {
            add(i, end, true);
            i = end;
        } else {
            qsizetype length = 0;
            codePointAt(text, i, &length);
            add(i, i + length, false);
            i += length;
        }
    }
    return runs;
}

QFont EmojiText::fontFor(const QFont& font)
{
    if (emojiFamily().isEmpty())
        return font;
    // The size found once for each font: it never changes. (Sizes, not
    // fonts, are kept: a kept font would hold its font engine past the
    // application's end.)
    thread_local QHash<QString, int> found;
    const QString key = font.key();
    QFont emoji(emojiFamily());
    const auto known = found.constFind(key);
    if (known != found.constEnd()) {
        emoji.setPixelSize(*known);
        return emoji;
    }
    const int size = font.pixelSize() > 0 ? font.pixelSize() : QFontInfo(font).pixelSize();
    emoji.setPixelSize(qMax(1, size));
    // The emoji font's pictures sit lower in its em than letters do: scaled
    // so that both reach as high above the baseline.
    const qreal letters = QFontMetricsF(font).ascent();
    const qreal pictures = QFontMetricsF(emoji).ascent();
    if (letters > 0 && pictures > 0)
        emoji.setPixelSize(qMax(1, qRound(size * letters / pictures)));
    if (found.size() < 256)
        found.insert(key, emoji.pixelSize());
    return emoji;
}

QList<QTextLayout::FormatRange> EmojiText::formats(const QString& text, const QFont& font)
{
    QList<QTextLayout::FormatRange> formats;
    QTextCharFormat format;
    format.setFont(fontFor(font), QTextCharFormat::FontPropertiesAll);
    for (const Run& run : runs(text)) {
        if (run.emoji)
            formats.append(QTextLayout::FormatRange{int(run.start), int(run.length), format});
    }
    return formats;
}

namespace {

// A text laid out alone on one line as the line-breaking layout lays it out:
// its advance, and the right bearing of its last glyph as the line breaking
// counts it (only an overhang, never less than nothing).
struct Measured {
    qreal advance = 0;
    qreal overhang = 0;
};

Measured measuredAlone(const QString& text, const QFont& font, const QList<QTextLayout::FormatRange>& formats)
{
    QTextLayout layout(text, font);
    layout.setFormats(formats);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    line.setLineWidth(1e6);
    layout.endLayout();
    Measured measured{line.naturalTextWidth(), 0};
    const QList<QGlyphRun> runs = line.glyphRuns();
    if (!runs.isEmpty() && !runs.last().glyphIndexes().isEmpty()) {
        const QGlyphRun& run = runs.last();
        const quint32 glyph = run.glyphIndexes().last();
        const QRectF box = run.rawFont().boundingRect(glyph);
        const qreal right = run.positions().last().x() + box.right() - line.x();
        measured.overhang = qMax<qreal>(0, right - measured.advance);
    }
    return measured;
}

// Whether an emoji may stand in as its first character for line breaking:
// one code point that the rest only joins as a combining mark does
// (selectors, keycap, tags), so the breaks before and after it are its
// first character's; a flag's two halves shape as one picture.
bool joinsOnlyAsMarks(const QString& cluster)
{
    qsizetype length = 0;
    const char32_t first = codePointAt(cluster, 0, &length);
    if (first >= 0x1F1E6 && first <= 0x1F1FF)
        return false;
    for (qsizetype i = length; i < cluster.size(); i += length) {
        const char32_t c = codePointAt(cluster, i, &length);
        if (c != kEmojiSelector && c != kTextSelector && c != kKeycap && !(c >= 0xE0020 && c <= 0xE007F))
            return false;
    }
    QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, cluster);
    QTextBoundaryFinder lines(QTextBoundaryFinder::Line, cluster);
    for (QTextBoundaryFinder* finder : {&graphemes, &lines}) {
        const qsizetype next = finder->toNextBoundary();
        if (next > 0 && next < cluster.size())
            return false;
    }
    return true;
}

// The stand-in's font for an emoji: the text's font alone, without
// fallback, letter-spaced to the emoji's advance.
QFont standInFont(const QFont& font, qreal spacing)
{
    QFont alone = font;
    alone.setStyleStrategy(QFont::StyleStrategy(alone.styleStrategy() | QFont::NoFontMerging));
    alone.setLetterSpacing(QFont::AbsoluteSpacing, spacing);
    return alone;
}

QTextCharFormat formatIn(const QFont& font)
{
    QTextCharFormat format;
    format.setFont(font, QTextCharFormat::FontPropertiesAll);
    return format;
}

// The stand-in's spacing for an emoji in a text's font, or none where it
// cannot match the emoji. Kept, as an emoji's advance never changes (the
// spacing, not a format: a format keeps the font it was drawn with, and a
// font kept past the application's end outlives its font engine).
std::optional<qreal> standInSpacing(const QString& cluster, const QFont& font)
{
    thread_local QHash<QString, std::optional<qreal>> kept;
    const QString key = font.key() + QChar(0) + cluster;
    const auto found = kept.constFind(key);
    if (found != kept.constEnd())
        return *found;
    std::optional<qreal> spacing;
    if (joinsOnlyAsMarks(cluster)) {
        qsizetype length = 0;
        codePointAt(cluster, 0, &length);
        const QString standIn = cluster.left(length);
        const int size = int(standIn.size());
        const Measured emoji = measuredAlone(cluster, font, EmojiText::formats(cluster, font));
        const Measured bare = measuredAlone(standIn, font, {{0, size, formatIn(standInFont(font, 0))}});
        // Spacing in the 64ths of a point that glyph advances are counted in.
        const qreal wanted = std::round((emoji.advance - bare.advance) * 64) / 64;
        const Measured spaced = measuredAlone(standIn, font, {{0, size, formatIn(standInFont(font, wanted))}});
        // The line breaking reads the glyph's own overhang, not its spacing.
        if (spaced.advance == emoji.advance && bare.overhang == emoji.overhang)
            spacing = wanted;
    }
    if (kept.size() < 4096)
        kept.insert(key, spacing);
    return spacing;
}

}  // namespace

EmojiText::ForBreaking EmojiText::forLineBreaking(const QString& text, const QFont& font)
{
    ForBreaking out;
    out.text.reserve(text.size());
    out.from.reserve(text.size() + 1);
    const QTextCharFormat emojiFormat = formatIn(fontFor(font));
    const auto keep = [&out, &text](qsizetype start, qsizetype length) {
        out.text.append(QStringView(text).mid(start, length));
        for (qsizetype i = start; i < start + length; ++i)
            out.from.append(int(i));
    };
    for (const Run& run : runs(text)) {
        if (!run.emoji) {
            keep(run.start, run.length);
            continue;
        }
        const qsizetype end = run.start + run.length;
        for (qsizetype at = run.start; at < end;) {
            const qsizetype clusterEnd = emojiEnd(text, at);
            const QString cluster = text.mid(at, clusterEnd - at);
            const int position = int(out.text.size());
            const std::optional<qreal> spacing =
                emojiFamily().isEmpty() ? std::nullopt : standInSpacing(cluster, font);
            if (spacing) {
                qsizetype length = 0;
                codePointAt(cluster, 0, &length);
                out.text.append(QStringView(cluster).left(length));
                for (qsizetype i = 0; i < length; ++i)
                    out.from.append(int(at));
                out.formats.append(
                    QTextLayout::FormatRange{position, int(length), formatIn(standInFont(font, *spacing))});
            } else {
                keep(at, clusterEnd - at);
                // Consecutive emoji in the emoji font shape as one run, as in `formats`.
                QList<QTextLayout::FormatRange>& formats = out.formats;
                if (!formats.isEmpty() && formats.last().start + formats.last().length == position
                    && formats.last().format == emojiFormat)
                    formats.last().length += int(clusterEnd - at);
                else
                    formats.append(QTextLayout::FormatRange{position, int(clusterEnd - at), emojiFormat});
            }
            at = clusterEnd;
        }
    }
    out.from.append(int(text.size()));
    return out;
}

qreal EmojiText::width(const QString& text, const QFont& font)
{
    const QList<Run> parts = runs(text);
    if (parts.size() == 1 && !parts.first().emoji)
        return QFontMetricsF(font).horizontalAdvance(text);
    const QFontMetricsF letters(font);
    qreal total = 0;
    const QFont emoji = fontFor(font);
    for (const Run& run : parts)
        total += run.emoji ? advanceOf(text.mid(run.start, run.length), emoji, true)
                           : letters.horizontalAdvance(text.mid(run.start, run.length));
    return total;
}

void EmojiText::draw(QPainter& painter, const QPointF& baseline, const QString& text, const QFont& font)
{
    const QList<Run> parts = runs(text);
    if (parts.size() <= 1 && (parts.isEmpty() || !parts.first().emoji)) {
        painter.setFont(font);
        painter.drawText(baseline, text);
        return;
    }
    const QFont emoji = fontFor(font);
    QPointF at = baseline;
    for (const Run& run : parts) {
        const QString part = text.mid(run.start, run.length);
        const QFont& used = run.emoji ? emoji : font;
        painter.setFont(used);
        painter.drawText(at, part);
        at.rx() += advanceOf(part, used, run.emoji);
    }
    painter.setFont(font);
}

QList<QGlyphRun> EmojiText::glyphRuns(const QString& text, const QFont& font)
{
    QList<QGlyphRun> out;
    const QList<Run> parts = runs(text);
    if (parts.size() <= 1 && (parts.isEmpty() || !parts.first().emoji)) {
        if (!text.isEmpty())
            appendGlyphRuns(out, text, font, QPointF(0, 0));
        return out;
    }
    const QFont emoji = fontFor(font);
    QPointF at(0, 0);
    for (const Run& run : parts) {
        const QString part = text.mid(run.start, run.length);
        if (run.emoji)
            appendEmojiGlyphRuns(out, part, emoji, at);
        else
            appendGlyphRuns(out, part, font, at);
        at.rx() += advanceOf(part, run.emoji ? emoji : font, run.emoji);
    }
    return out;
}

QString EmojiText::elided(const QString& text, const QFont& font, Qt::TextElideMode mode, qreal width)
{
    if (mode == Qt::ElideNone || EmojiText::width(text, font) <= width)
        return text;
    if (!contains(text))
        return QFontMetricsF(font).elidedText(text, mode, width);
    // Cut between whole characters as the reader sees them, so that no
    // sequence of joined emoji falls apart.
    QList<qsizetype> bounds;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    for (qsizetype at = finder.toNextBoundary(); at > 0; at = finder.toNextBoundary())
        bounds.append(at);
    const qsizetype count = bounds.size();
    const auto start = [&](qsizetype k) { return k == 0 ? 0 : bounds.at(k - 1); };
    QString best = kEllipsis;
    // Keep `head` characters at the front and `tail` at the back.
    for (qsizetype kept = count - 1; kept > 0; --kept) {
        const qsizetype head = mode == Qt::ElideRight ? kept : mode == Qt::ElideLeft ? 0 : (kept + 1) / 2;
        const qsizetype tail = kept - head;
        const QString candidate = text.left(start(head)) + kEllipsis + text.mid(start(count - tail));
        if (EmojiText::width(candidate, font) <= width) {
            best = candidate;
            break;
        }
    }
    return best;
}
