#include "platform/ui/EmojiText.h"

#include <QCoreApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QHash>
#include <QPainter>
#include <QTextBoundaryFinder>

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
