#include "CarefulList.h"

#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTextOption>

#include <algorithm>
#include <cmath>

namespace {

const QColor kHeaderColour(0xe8, 0xec, 0xf2);
const QColor kSeparatorColour(0xd0, 0xd0, 0xd0);

// Lays the text out in lines of the width, one under the other from 0;
// answers the height they take.
qreal layOut(QTextLayout& layout, qreal width, QTextOption::WrapMode wrap)
{
    QTextOption option;
    option.setWrapMode(wrap);
    layout.setTextOption(option);
    layout.setCacheEnabled(true);
    qreal y = 0;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        line.setPosition(QPointF(0, y));
        y += line.height();
    }
    layout.endLayout();
    return y;
}

}  // namespace

CarefulList::CarefulList(const QFont& bodyFont, const QFont& authorFont)
    : m_bodyFont(bodyFont), m_authorFont(authorFont)
{
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Every pixel of the viewport is drawn by paintEvent: nothing beneath it.
    viewport()->setAutoFillBackground(false);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
}

CarefulList::~CarefulList() = default;

void CarefulList::setEntries(const QList<Entry>& entries)
{
    m_rows.clear();
    m_rows.reserve(size_t(entries.size()));
    int top = 0;
    for (const Entry& entry : entries) {
        Row row;
        row.author = std::make_unique<QTextLayout>(entry.author, m_authorFont);
        layOut(*row.author, kWidth - 2 * kTextLeft, QTextOption::NoWrap);
        // Its own line breaks are the lay-out's line separators.
        QString text = entry.text;
        text.replace(QLatin1Char('\n'), QChar(QChar::LineSeparator));
        row.body = std::make_unique<QTextLayout>(text, m_bodyFont);
        const qreal bodyHeight = layOut(*row.body, kTextWidth, QTextOption::WrapAtWordBoundaryOrAnywhere);
        row.top = top;
        row.height = int(std::ceil(kTextTop + bodyHeight + kBottom));
        top += row.height;
        m_rows.push_back(std::move(row));
    }
    m_height = top;
    updateRange();
    verticalScrollBar()->setValue(0);
    viewport()->update();
}

void CarefulList::updateRange()
{
    const int page = viewport()->height();
    verticalScrollBar()->setPageStep(page);
    verticalScrollBar()->setSingleStep(20);
    verticalScrollBar()->setRange(0, std::max(0, m_height - page));
}

void CarefulList::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateRange();
}

void CarefulList::scrollContentsBy(int dx, int dy)
{
    if (m_movesPixels)
        viewport()->scroll(dx, dy);
    else
        viewport()->update();
}

void CarefulList::paintEvent(QPaintEvent* event)
{
    QPainter painter(viewport());
    const QRect clip = event->rect();
    const int offset = verticalScrollBar()->value();
    const int width = viewport()->width();
    // The first row that reaches into the part to draw.
    auto row = std::upper_bound(m_rows.begin(), m_rows.end(), offset + clip.top(),
                                [](int y, const Row& r) { return y < r.top + r.height; });
    int bottom = clip.top();
    painter.setPen(Qt::black);
    for (; row != m_rows.end() && row->top - offset <= clip.bottom(); ++row) {
        const int y = row->top - offset;
        painter.fillRect(QRect(0, y, width, row->height), Qt::white);
        painter.fillRect(QRect(0, y, width, int(kHeaderHeight)), kHeaderColour);
        row->author->draw(&painter, QPointF(42, y + 9), {}, QRectF(clip));
        row->body->draw(&painter, QPointF(kTextLeft, y + kTextTop), {}, QRectF(clip));
        painter.fillRect(QRect(0, y + row->height - 1, width, 1), kSeparatorColour);
        bottom = y + row->height;
    }
    if (bottom <= clip.bottom())
        painter.fillRect(QRect(clip.left(), bottom, clip.width(), clip.bottom() - bottom + 1), Qt::white);
}
