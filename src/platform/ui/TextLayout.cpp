#include "platform/ui/TextLayout.h"

#include "platform/ui/EmojiText.h"
#include "platform/ui/Font.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QTextLayout>
#include <QtMath>

#include <cmath>

namespace {

Qt::TextElideMode elideModeFor(LineBreakMode mode)
{
    switch (mode) {
    case LineBreakMode::HeadTruncation:
        return Qt::ElideLeft;
    case LineBreakMode::MiddleTruncation:
        return Qt::ElideMiddle;
    case LineBreakMode::TailTruncation:
        return Qt::ElideRight;
    default:
        return Qt::ElideNone;
    }
}

// Whether a line-breaking lay-out of the text places each line's glyphs as
// a line shaped alone does: every character runs left to right (a line of a
// right-to-left paragraph orders its neutral characters by the paragraph),
// no emoji (those are shaped a run at a time) and no soft hyphen (shown
// only where a line breaks at it).
bool linesDrawAsShapedAlone(const QString& text)
{
    for (const QChar c : text) {
        switch (c.direction()) {
        case QChar::DirR:
        case QChar::DirAL:
        case QChar::DirAN:
        case QChar::DirRLE:
        case QChar::DirRLO:
        case QChar::DirRLI:
        case QChar::DirLRE:
        case QChar::DirLRO:
        case QChar::DirLRI:
        case QChar::DirFSI:
        case QChar::DirPDF:
        case QChar::DirPDI:
            return false;
        default:
            break;
        }
    }
    return !text.contains(QChar(0x00AD)) && !EmojiText::contains(text);
}

// Trailing blanks do not take room at the end of a wrapped line.
QString trimmedEnd(const QString& s)
{
    qsizetype end = s.size();
    while (end > 0 && s.at(end - 1).isSpace())
        --end;
    return s.left(end);
}

}  // namespace

TextLayout::TextLayout(const QString& text, const QFont& font, qreal width, int maxLines, qreal maxHeight,
                       LineBreakMode mode)
    : m_font(font)
{
    const QFontMetricsF metrics(font);
    m_lineHeight = Font::lineHeight(font);
    m_ascent = metrics.ascent();
    if (text.isEmpty())
        return;

    int allowed = maxLines > 0 ? maxLines : INT_MAX;
    if (maxHeight > 0)
        allowed = qMin(allowed, qMax(1, int(std::floor((maxHeight + 0.001) / m_lineHeight))));

    // Line breaks become the layout's own; where "\r\n" loses its "\r",
    // `source` keeps each character's place in the text given.
    QString prepared;
    prepared.reserve(text.size());
    QList<int> source;
    source.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n')
            continue;
        prepared.append(c == u'\n' ? QChar(QChar::LineSeparator) : c);
        source.append(int(i));
    }

    // With emoji, the layout that breaks the lines holds stand-ins for them
    // and `breaking.from` leads its positions back to `prepared`.
    const bool emoji = EmojiText::contains(prepared);
    const EmojiText::ForBreaking breaking = emoji ? EmojiText::forLineBreaking(prepared, font) : EmojiText::ForBreaking();
    auto kept = std::make_shared<QTextLayout>(emoji ? breaking.text : prepared, font);
    QTextLayout& layout = *kept;
    if (emoji)
        layout.setFormats(breaking.formats);
    QTextOption option;
    option.setWrapMode(mode == LineBreakMode::CharacterWrap ? QTextOption::WrapAnywhere
                                                            : QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    // A single-line text is never wrapped: it is cut or truncated instead.
    const qreal lineWidth = (allowed == 1 && mode != LineBreakMode::WordWrap && mode != LineBreakMode::CharacterWrap)
                                ? 1e9
                                : qMax<qreal>(1, width);
    QList<QPair<int, int>> ranges;
    for (;;) {
        QTextLine line = layout.createLine();
        if (!line.isValid())
            break;
        line.setLineWidth(lineWidth);
        if (emoji) {
            const int start = breaking.from.at(line.textStart());
            ranges.append({start, breaking.from.at(line.textStart() + line.textLength()) - start});
        } else {
            ranges.append({line.textStart(), line.textLength()});
        }
    }
    layout.endLayout();

    const int shown = qMin<int>(allowed, int(ranges.size()));
    const Qt::TextElideMode elide = elideModeFor(mode);
    const bool reusable = linesDrawAsShapedAlone(prepared);
    for (int i = 0; i < shown; ++i) {
        QString lineText = prepared.mid(ranges[i].first, ranges[i].second);
        const bool last = i == shown - 1;
        const bool moreFollows = last && shown < ranges.size();
        lineText.remove(QChar::LineSeparator);
        if (last && elide != Qt::ElideNone) {
            // The last shown line carries the rest of the text, cut to fit.
            QString rest = moreFollows ? prepared.mid(ranges[i].first) : lineText;
            rest.replace(QChar::LineSeparator, QLatin1Char(' '));
            const QString elided = EmojiText::elided(trimmedEnd(rest), font, elide, qMax<qreal>(1, width));
            if (elided != trimmedEnd(rest) || moreFollows) {
                lineText = elided;
                m_truncated = true;
            }
        } else if (moreFollows) {
            m_truncated = true;
        }
        lineText = trimmedEnd(lineText);
        // The shown characters that are the text's own (an ellipsis is not).
        const QStringView from = QStringView(prepared).mid(ranges[i].first);
        int shown = 0;
        while (shown < lineText.size() && shown < from.size() && lineText.at(shown) == from.at(shown))
            ++shown;
        const int start = ranges[i].first < source.size() ? source.at(ranges[i].first) : int(text.size());
        m_lines.append(Line{lineText, 0, start, shown});
        // A line cut for an ellipsis is shaped as it shows.
        if (reusable && shown == lineText.size() && !lineText.isEmpty()) {
            m_glyphs->sourceLine.resize(i + 1, -1);
            m_glyphs->sourceLine[i] = i;
            ++m_glyphs->left;
        }
    }
    if (m_glyphs->left > 0)
        m_glyphs->source = std::move(kept);
}

namespace {
qint64& measured()
{
    thread_local qint64 count = 0;
    return count;
}
}  // namespace

qint64 TextLayout::measureCount()
{
    return measured();
}

namespace {
qint64& shaped()
{
    thread_local qint64 count = 0;
    return count;
}
}  // namespace

qint64 TextLayout::shapeCount()
{
    return shaped();
}

void TextLayout::measureLines() const
{
    if (m_measured)
        return;
    ++measured();
    for (Line& line : m_lines)
        line.width = EmojiText::width(line.text, m_font);
    m_measured = true;
}

qreal TextLayout::height() const
{
    return std::ceil(m_lineHeight * m_lines.size() - 0.001);
}

QSizeF TextLayout::size() const
{
    measureLines();
    qreal widest = 0;
    for (const Line& line : m_lines)
        widest = qMax(widest, line.width);
    return QSizeF(std::ceil(widest - 0.001), std::ceil(m_lineHeight * m_lines.size() - 0.001));
}

QList<QRectF> TextLayout::rectsForRange(int start, int end, const QRectF& rect, TextAlignment alignment) const
{
    measureLines();
    QList<QRectF> rects;
    qreal y = rect.top();
    for (const Line& line : m_lines) {
        const int from = qMax(start, line.start);
        const int to = qMin(end, line.start + line.shownLength);
        if (from < to) {
            // Measured as it is drawn: one line, its own direction, from its left edge.
            QTextLayout measure(line.text, m_font);
            if (EmojiText::contains(line.text))
                measure.setFormats(EmojiText::formats(line.text, m_font));
            measure.beginLayout();
            QTextLine shaped = measure.createLine();
            shaped.setLineWidth(1e6);
            shaped.setLineWidth(shaped.naturalTextWidth());
            measure.endLayout();
            const qreal a = shaped.cursorToX(from - line.start);
            const qreal b = shaped.cursorToX(to - line.start);
            qreal x = rect.left();
            if (alignment == TextAlignment::Center)
                x += (rect.width() - line.width) / 2;
            else if (alignment == TextAlignment::Right)
                x += rect.width() - line.width;
            rects.append(QRectF(x + qMin(a, b), y, qAbs(b - a), m_lineHeight));
        }
        y += m_lineHeight;
    }
    return rects;
}

namespace {

// A laid-out line's glyphs placed from a baseline at (0, 0), as
// EmojiText::glyphRuns places those of the line shaped alone.
QList<QGlyphRun> glyphRunsOfLine(const QTextLine& line)
{
    QList<QGlyphRun> runs = line.glyphRuns();
    const QPointF shift(-line.x(), -(line.y() + line.ascent()));
    for (QGlyphRun& run : runs) {
        QList<QPointF> positions = run.positions();
        for (QPointF& position : positions)
            position += shift;
        run.setPositions(positions);
        run.setBoundingRect(run.boundingRect().translated(shift));
    }
    return runs;
}

}  // namespace

void TextLayout::draw(QPainter& painter, const QRectF& rect, TextAlignment alignment, const QRectF& visible) const
{
    Glyphs& glyphs = *m_glyphs;
    if (glyphs.lines.size() != m_lines.size()) {
        glyphs.lines.resize(m_lines.size());
        glyphs.shaped.fill(false, m_lines.size());
    }
    if (alignment != TextAlignment::Left)
        measureLines();
    // The glyph runs carry their font: the painter's state stays as it is.
    qreal y = rect.top();
    // A glyph may reach a little beyond its line (an emoji, an accent): a
    // line is left out only when it is a whole line away from what shows.
    const bool clipped = !visible.isNull();
    for (qsizetype i = 0; i < m_lines.size(); ++i, y += m_lineHeight) {
        if (clipped && (y + 2 * m_lineHeight < visible.top() || y - m_lineHeight > visible.bottom()))
            continue;
        const Line& line = m_lines.at(i);
        qreal x = rect.left();
        if (alignment == TextAlignment::Center)
            x += (rect.width() - line.width) / 2;
        else if (alignment == TextAlignment::Right)
            x += rect.width() - line.width;
        // Where QPainter::drawText puts the line: its start cut to the glyph
        // positions' 1/64 of a point (as Qt's fixed-point numbers cut it), so
        // that each glyph lands on the same fraction of a pixel.
        const QPointF baseline(int(x * 64) / 64.0, y + m_ascent);
        if (!glyphs.shaped.at(i)) {
            const int from = i < glyphs.sourceLine.size() ? glyphs.sourceLine.at(i) : -1;
            if (from >= 0 && glyphs.source) {
                glyphs.lines[i] = glyphRunsOfLine(glyphs.source->lineAt(from));
                if (--glyphs.left == 0)
                    glyphs.source.reset();
            } else {
                ++shaped();
                glyphs.lines[i] = EmojiText::glyphRuns(line.text, m_font);
            }
            glyphs.shaped[i] = true;
        }
        for (const QGlyphRun& run : std::as_const(glyphs.lines).at(i))
            painter.drawGlyphRun(baseline, run);
    }
}
