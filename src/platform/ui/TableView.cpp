#include "platform/ui/TableView.h"

#include "platform/ui/FocusRing.h"
#include "platform/ui/Font.h"
#include "platform/ui/Label.h"
#include "platform/ui/TableViewCell.h"

#include <QKeyEvent>
#include <QLinearGradient>
#include <QPainter>
#include <QPointer>
#include <QSet>

#include <algorithm>

namespace {

// The platform's plain section header: a grey bar with a bold white title.
class PlainHeaderView : public View {
public:
    explicit PlainHeaderView(const QString& title) : m_label(new Label())
    {
        m_label->setText(title);
        m_label->setFont(Font::boldSystemFontOfSize(18));
        m_label->setTextColor(Qt::white);
        m_label->setShadowColor(QColor(0, 0, 0, 110));
        m_label->setShadowOffset(QSizeF(0, 1));
        addSubview(m_label);
    }
    void layoutSubviews() override { m_label->setFrame(bounds().adjusted(12, 0, -12, 0)); }
    void drawRect(QPainter& painter, const QRectF& rect) override
    {
        QLinearGradient g(rect.topLeft(), rect.bottomLeft());
        g.setColorAt(0, QColor(144, 159, 171, 235));
        g.setColorAt(1, QColor(184, 193, 200, 235));
        painter.fillRect(rect, g);
        painter.setPen(QColor(113, 125, 133));
        painter.drawLine(QPointF(rect.left(), rect.top() + 0.5), QPointF(rect.right(), rect.top() + 0.5));
    }

private:
    Label* m_label;
};

}  // namespace

TableView::TableView(const QRectF& frame, TableViewStyle style) : ScrollView(frame), m_style(style)
{
    setAlwaysBounceVertical(true);
    if (style == TableViewStyle::Grouped) {
        m_sectionHeaderHeight = 10;
        m_sectionFooterHeight = 10;
        setBackgroundColor(QColor(197, 204, 212));
    } else {
        setBackgroundColor(Qt::white);
    }
}

TableView::~TableView() = default;

void TableView::setDataSource(TableViewDataSource* dataSource)
{
    m_dataSource = WeakRef<TableViewDataSource>(dataSource);
}

TableViewDelegate* TableView::tableDelegate() const
{
    return m_tableDelegate.get();
}

void TableView::setDelegate(TableViewDelegate* delegate)
{
    m_tableDelegate = WeakRef<TableViewDelegate>(delegate);
    ScrollView::setDelegate(delegate);
}

void TableView::setSeparatorStyle(TableViewCellSeparatorStyle style)
{
    m_separatorStyle = style;
    for (const auto& cell : std::as_const(m_visible)) {
        if (cell)
            cell->setSeparator(style, m_separatorColor);
    }
}

void TableView::setSeparatorColor(const QColor& color)
{
    m_separatorColor = color;
    setSeparatorStyle(m_separatorStyle);
}

View* TableView::tableHeaderView() const
{
    return m_headerView.data();
}

void TableView::setTableHeaderView(View* view)
{
    if (m_headerView && m_headerView != view)
        m_headerView->removeFromSuperview();
    m_headerView = view;
    if (view)
        addSubview(view);
    if (m_loaded)
        reloadData();
}

View* TableView::tableFooterView() const
{
    return m_footerView.data();
}

void TableView::setTableFooterView(View* view)
{
    if (m_footerView && m_footerView != view)
        m_footerView->removeFromSuperview();
    m_footerView = view;
    if (view)
        addSubview(view);
    if (m_loaded)
        reloadData();
}

View* TableView::backgroundView() const
{
    return m_backgroundView.data();
}

void TableView::setBackgroundView(View* view)
{
    if (m_backgroundView)
        m_backgroundView->removeFromSuperview();
    m_backgroundView = view;
    if (view) {
        insertSubview(view, 0);
        view->setFrame(bounds());
    }
}

qreal TableView::rowsLeft() const
{
    return m_style == TableViewStyle::Grouped ? 10 : 0;
}

qreal TableView::rowsWidth() const
{
    return frame().width() - 2 * rowsLeft();
}

int TableView::numberOfRowsInSection(int section) const
{
    if (section < 0 || section >= m_sections.size())
        return 0;
    return int(m_sections[section].rowTops.size()) - 1;
}

View* TableView::defaultHeaderView(const QString& title, bool footer) const
{
    if (m_style == TableViewStyle::Plain && !footer)
        return new PlainHeaderView(title);
    auto* label = new Label();
    label->setText(title);
    label->setNumberOfLines(0);
    if (footer) {
        label->setFont(Font::systemFontOfSize(15));
        label->setTextAlignment(TextAlignment::Center);
    } else {
        label->setFont(Font::boldSystemFontOfSize(17));
    }
    label->setTextColor(QColor(76, 86, 108));
    label->setShadowColor(Qt::white);
    label->setShadowOffset(QSizeF(0, 1));
    auto* holder = new View();
    holder->addSubview(label);
    label->setAutoresizingMask(Autoresizing::FlexibleWidth);
    label->setTag(-1);
    return holder;
}

void TableView::clearSectionViews()
{
    for (Section& s : m_sections) {
        if (s.header)
            s.header->removeFromSuperview();
        if (s.footer)
            s.footer->removeFromSuperview();
    }
}

void TableView::computeLayout()
{
    clearSectionViews();
    m_sections.clear();
    TableViewDataSource* source = m_dataSource.get();
    TableViewDelegate* delegate = m_tableDelegate.get();
    const int sectionCount = source ? qMax(0, source->numberOfSectionsInTableView(this)) : 0;
    const bool grouped = m_style == TableViewStyle::Grouped;
    qreal y = 0;
    if (m_headerView) {
        m_headerView->setFrame(QRectF(0, 0, frame().width(), m_headerView->frame().height()));
        y = m_headerView->frame().height();
    }
    for (int s = 0; s < sectionCount; ++s) {
        Section section;
        section.top = y;
        const QString title = source->titleForHeaderInSection(this, s);
        const std::optional<qreal> headerHeight = delegate ? delegate->heightForHeaderInSection(this, s) : std::nullopt;
        // A header the delegate makes zero high is not asked for.
        View* header = nullptr;
        if (!headerHeight || *headerHeight > 0) {
            header = delegate ? delegate->viewForHeaderInSection(this, s) : nullptr;
            if (!header && !title.isNull())
                header = defaultHeaderView(title, false);
        }
        if (headerHeight)
            section.headerHeight = qMax<qreal>(0, *headerHeight);
        else if (header && !title.isNull() && grouped)
            section.headerHeight = (s == 0 ? 46 : 36);
        else if (header)
            section.headerHeight = header->frame().height() > 0 && title.isNull() ? header->frame().height()
                                                                                   : m_sectionHeaderHeight;
        else
            section.headerHeight = grouped ? m_sectionHeaderHeight : 0;
        section.header = header;
        if (header) {
            addSubview(header);
            header->setFrame(QRectF(0, section.top, frame().width(), section.headerHeight));
            if (View* l = header->viewWithTag(-1); l && l != header)
                l->setFrame(QRectF(20, section.headerHeight - 32, frame().width() - 40, 28));
        }
        y += section.headerHeight;
        const int rows = qMax(0, source->numberOfRowsInSection(this, s));
        section.rowTops.reserve(rows + 1);
        for (int r = 0; r < rows; ++r) {
            section.rowTops.append(y);
            const std::optional<qreal> h =
                delegate ? delegate->heightForRowAtIndexPath(this, IndexPath{s, r}) : std::nullopt;
            y += qMax<qreal>(0, h ? *h : m_rowHeight);
        }
        section.rowTops.append(y);
        const QString footerTitle = source->titleForFooterInSection(this, s);
        View* footer = delegate ? delegate->viewForFooterInSection(this, s) : nullptr;
        const std::optional<qreal> footerHeight = delegate ? delegate->heightForFooterInSection(this, s) : std::nullopt;
        if (!footer && !footerTitle.isNull())
            footer = defaultHeaderView(footerTitle, true);
        if (footerHeight)
            section.footerHeight = qMax<qreal>(0, *footerHeight);
        else if (footer)
            section.footerHeight = !footerTitle.isNull() ? 44 : qMax(footer->frame().height(), m_sectionFooterHeight);
        else
            section.footerHeight = grouped ? m_sectionFooterHeight : 0;
        section.footer = footer;
        if (footer) {
            addSubview(footer);
            footer->setFrame(QRectF(0, y, frame().width(), section.footerHeight));
            if (View* l = footer->viewWithTag(-1); l && l != footer)
                l->setFrame(QRectF(20, 4, frame().width() - 40, section.footerHeight - 8));
        }
        y += section.footerHeight;
        section.bottom = y;
        m_sections.append(std::move(section));
    }
    if (m_footerView) {
        m_footerView->setFrame(QRectF(0, y, frame().width(), m_footerView->frame().height()));
        y += m_footerView->frame().height();
    }
    setContentSize(QSizeF(frame().width(), y));
}

void TableView::recycle(TableViewCell* cell)
{
    if (!cell)
        return;
    cell->setHighlighted(false);
    cell->setSelected(false);
    if (cell->reuseIdentifier().isEmpty()) {
        cell->removeFromSuperview();
        return;
    }
    cell->hide();
    m_queue[cell->reuseIdentifier()].append(cell);
}

void TableView::clearCells()
{
    const auto visible = m_visible;
    m_visible.clear();
    for (const auto& cell : visible)
        recycle(cell);
}

void TableView::reloadData()
{
    m_loaded = true;
    clearCells();
    m_selected = IndexPath();
    computeLayout();
    // The offset may now lie past the shorter content.
    if (!isDragging() && !isDecelerating()) {
        const QPointF clamped = clampedOffset(contentOffset());
        if (clamped.y() < contentOffset().y())
            setContentOffset(clamped);
    }
    layoutVisible();
}

TableViewCell* TableView::dequeueReusableCellWithIdentifier(const QString& identifier)
{
    auto it = m_queue.find(identifier);
    if (it == m_queue.end())
        return nullptr;
    while (!it->isEmpty()) {
        QPointer<TableViewCell> cell = it->takeLast();
        if (cell) {
            cell->prepareForReuse();
            return cell;
        }
    }
    return nullptr;
}

void TableView::layoutVisible()
{
    if (m_inLayout) {
        // A cell handed out may change the table (a size, an offset): the
        // rows are placed again once this placing is over.
        m_layoutAgain = true;
        return;
    }
    if (!m_loaded)
        return;
    m_inLayout = true;
    TableViewDataSource* source = m_dataSource.get();
    TableViewDelegate* delegate = m_tableDelegate.get();
    const QRectF visible = bounds();
    const qreal top = visible.top();
    const qreal bottom = visible.bottom();
    // The rows on screen now, by their rectangles.
    QList<QPair<IndexPath, QRectF>> wanted;
    for (int s = 0; s < m_sections.size(); ++s) {
        Section& section = m_sections[s];
        // Plain headers stay at the top while their section passes under them.
        if (section.header) {
            qreal y = section.top;
            if (m_style == TableViewStyle::Plain && section.headerHeight > 0) {
                const qreal pinned = top + contentInset().top;
                y = qMax(y, qMin(pinned, section.bottom - section.footerHeight - section.headerHeight));
            }
            section.header->setFrame(QRectF(0, y, frame().width(), section.headerHeight));
            section.header->setHidden(section.headerHeight <= 0 || y > bottom || y + section.headerHeight < top);
        }
        if (section.footer) {
            const qreal y = section.bottom - section.footerHeight;
            section.footer->setFrame(QRectF(0, y, frame().width(), section.footerHeight));
            section.footer->setHidden(section.footerHeight <= 0);
        }
        if (section.bottom < top || section.top > bottom || !source)
            continue;
        const int rows = int(section.rowTops.size()) - 1;
        // The first row whose bottom is below the visible top.
        const auto first = std::upper_bound(section.rowTops.begin() + 1, section.rowTops.end(), top);
        for (int r = qMax(0, int(first - section.rowTops.begin()) - 1); r < rows; ++r) {
            const qreal rowTop = section.rowTops[r];
            const qreal rowBottom = section.rowTops[r + 1];
            if (rowTop >= bottom)
                break;
            if (rowBottom <= top || rowBottom <= rowTop)
                continue;
            wanted.append({IndexPath{s, r}, QRectF(rowsLeft(), rowTop, rowsWidth(), rowBottom - rowTop)});
        }
    }
    // Rows that left the screen give their cells back first, so the rows
    // coming in find them in the queue.
    QSet<IndexPath> wantedPaths;
    for (const auto& w : std::as_const(wanted))
        wantedPaths.insert(w.first);
    for (auto it = m_visible.begin(); it != m_visible.end();) {
        if (!wantedPaths.contains(it.key())) {
            recycle(it.value());
            it = m_visible.erase(it);
        } else {
            ++it;
        }
    }
    QList<QPair<IndexPath, TableViewCell*>> added;
    for (const auto& [path, rect] : std::as_const(wanted)) {
        QPointer<TableViewCell> cell = m_visible.value(path);
        if (!cell) {
            TableViewCell* made = source->cellForRowAtIndexPath(this, path);
            if (!made)
                made = new TableViewCell();
            cell = made;
            m_visible.insert(path, cell);
            added.append({path, made});
        }
        cell->setSeparator(m_separatorStyle, m_separatorColor);
        if (m_style == TableViewStyle::Grouped) {
            using P = TableViewCell::GroupPosition;
            const int rows = numberOfRowsInSection(path.section);
            cell->setGroupPosition(rows == 1 ? P::Single : path.row == 0 ? P::Top : path.row == rows - 1 ? P::Bottom : P::Middle);
        }
        cell->setFrame(rect);
        if (cell->superview() != this)
            insertSubview(cell, m_backgroundView ? 1 : 0);
        // Only what changed: each setting repaints the row.
        if (cell->isSelected() != (path == m_selected))
            cell->setSelected(path == m_selected);
        // Queued cells were hidden as widgets only.
        if (cell->isHidden() || cell->QWidget::isHidden())
            cell->setHidden(false);
    }
    for (Section& section : m_sections) {
        if (section.header)
            section.header->raise();
    }
    updateFocusRing();
    m_inLayout = false;
    didLayoutRows();
    if (delegate) {
        for (const auto& [path, cell] : std::as_const(added))
            delegate->willDisplayCell(this, cell, path);
    }
    if (m_layoutAgain) {
        m_layoutAgain = false;
        layoutVisible();
    }
}

void TableView::contentOffsetDidChange()
{
    layoutVisible();
}

void TableView::boundsSizeDidChange()
{
    ScrollView::boundsSizeDidChange();
    if (m_backgroundView)
        m_backgroundView->setFrame(bounds());
    if (m_loaded) {
        for (const auto& cell : std::as_const(m_visible)) {
            if (cell)
                cell->setFrame(QRectF(rowsLeft(), cell->frame().y(), rowsWidth(), cell->frame().height()));
        }
        layoutVisible();
    }
}

TableViewCell* TableView::cellForRowAtIndexPath(const IndexPath& indexPath) const
{
    return m_visible.value(indexPath).data();
}

QList<IndexPath> TableView::indexPathsForVisibleRows() const
{
    return m_visible.keys();
}

QList<TableViewCell*> TableView::visibleCells() const
{
    QList<TableViewCell*> cells;
    for (const auto& c : m_visible) {
        if (c)
            cells.append(c.data());
    }
    return cells;
}

IndexPath TableView::indexPathForCell(const TableViewCell* cell) const
{
    for (auto it = m_visible.constBegin(); it != m_visible.constEnd(); ++it) {
        if (it.value() == cell)
            return it.key();
    }
    return IndexPath();
}

IndexPath TableView::indexPathForRowAtPoint(const QPointF& point) const
{
    for (int s = 0; s < m_sections.size(); ++s) {
        const Section& section = m_sections[s];
        if (point.y() < section.top || point.y() >= section.bottom)
            continue;
        const auto it = std::upper_bound(section.rowTops.begin(), section.rowTops.end(), point.y());
        const int r = int(it - section.rowTops.begin()) - 1;
        if (r >= 0 && r < section.rowTops.size() - 1)
            return IndexPath{s, r};
    }
    return IndexPath();
}

QRectF TableView::rectForRowAtIndexPath(const IndexPath& p) const
{
    if (p.section < 0 || p.section >= m_sections.size() || p.row < 0 || p.row >= numberOfRowsInSection(p.section))
        return QRectF();
    const Section& s = m_sections[p.section];
    return QRectF(rowsLeft(), s.rowTops[p.row], rowsWidth(), s.rowTops[p.row + 1] - s.rowTops[p.row]);
}

QRectF TableView::rectForSection(int section) const
{
    if (section < 0 || section >= m_sections.size())
        return QRectF();
    const Section& s = m_sections[section];
    return QRectF(0, s.top, frame().width(), s.bottom - s.top);
}

QRectF TableView::rectForHeaderInSection(int section) const
{
    if (section < 0 || section >= m_sections.size())
        return QRectF();
    return QRectF(0, m_sections[section].top, frame().width(), m_sections[section].headerHeight);
}

QRectF TableView::rectForFooterInSection(int section) const
{
    if (section < 0 || section >= m_sections.size())
        return QRectF();
    const Section& s = m_sections[section];
    return QRectF(0, s.bottom - s.footerHeight, frame().width(), s.footerHeight);
}

View* TableView::headerViewForSection(int section) const
{
    if (section < 0 || section >= m_sections.size())
        return nullptr;
    return m_sections[section].header.data();
}

void TableView::scrollToRowAtIndexPath(const IndexPath& indexPath, TableViewScrollPosition position, bool animated)
{
    const QRectF row = rectForRowAtIndexPath(indexPath);
    if (row.isNull())
        return;
    const qreal h = frame().height();
    QPointF offset = contentOffset();
    switch (position) {
    case TableViewScrollPosition::Top:
        offset.setY(row.top() - contentInset().top);
        break;
    case TableViewScrollPosition::Middle:
        offset.setY(row.center().y() - h / 2);
        break;
    case TableViewScrollPosition::Bottom:
        offset.setY(row.bottom() - h + contentInset().bottom);
        break;
    case TableViewScrollPosition::None:
        if (row.top() < offset.y() + contentInset().top)
            offset.setY(row.top() - contentInset().top);
        else if (row.bottom() > offset.y() + h)
            offset.setY(row.bottom() - h);
        break;
    }
    setContentOffset(clampedOffset(offset), animated);
}

void TableView::selectRowAtIndexPath(const IndexPath& indexPath, bool animated, TableViewScrollPosition position)
{
    if (m_selected.isValid() && m_selected != indexPath) {
        if (TableViewCell* old = cellForRowAtIndexPath(m_selected))
            old->setSelected(false, animated);
    }
    m_selected = indexPath;
    if (TableViewCell* cell = cellForRowAtIndexPath(indexPath))
        cell->setSelected(true, animated);
    updateFocusRing();
    if (indexPath.isValid() && position != TableViewScrollPosition::None)
        scrollToRowAtIndexPath(indexPath, position, animated);
}

void TableView::deselectRowAtIndexPath(const IndexPath& indexPath, bool animated)
{
    if (TableViewCell* cell = cellForRowAtIndexPath(indexPath))
        cell->setSelected(false, animated);
    if (m_selected == indexPath)
        m_selected = IndexPath();
    updateFocusRing();
}

int TableView::cellCount() const
{
    int n = 0;
    for (const auto& c : m_visible)
        n += c ? 1 : 0;
    for (const auto& list : m_queue) {
        for (const auto& c : list)
            n += c ? 1 : 0;
    }
    return n;
}

void TableView::touchesBegan(const QPointF& point)
{
    m_touched = m_allowsSelection ? indexPathForRowAtPoint(point) : IndexPath();
    if (TableViewCell* cell = cellForRowAtIndexPath(m_touched)) {
        if (cell->selectionStyle() != TableViewCellSelectionStyle::None)
            cell->setHighlighted(true);
    }
}

void TableView::touchesCancelled()
{
    if (TableViewCell* cell = cellForRowAtIndexPath(m_touched))
        cell->setHighlighted(false);
    m_touched = IndexPath();
}

void TableView::touchesEnded(const QPointF& point)
{
    const IndexPath touched = m_touched;
    m_touched = IndexPath();
    if (TableViewCell* cell = cellForRowAtIndexPath(touched))
        cell->setHighlighted(false);
    if (!touched.isValid() || indexPathForRowAtPoint(point) != touched)
        return;
    chooseRow(touched);
}

void TableView::chooseRow(const IndexPath& indexPath)
{
    TableViewDelegate* delegate = m_tableDelegate.get();
    const IndexPath chosen = delegate ? delegate->willSelectRowAtIndexPath(this, indexPath) : indexPath;
    if (!chosen.isValid())
        return;
    const IndexPath previous = m_selected;
    selectRowAtIndexPath(chosen, false, TableViewScrollPosition::None);
    if (delegate && previous.isValid() && previous != chosen)
        delegate->didDeselectRowAtIndexPath(this, previous);
    if (TableViewDelegate* d = m_tableDelegate.get())
        d->didSelectRowAtIndexPath(this, chosen);
}

IndexPath TableView::adjacentRow(int step) const
{
    QList<IndexPath> rows;
    for (int s = 0; s < numberOfSections(); ++s) {
        for (int r = 0; r < numberOfRowsInSection(s); ++r)
            rows.append(IndexPath{s, r});
    }
    if (rows.isEmpty())
        return IndexPath();
    const qsizetype at = rows.indexOf(m_selected);
    if (at < 0)
        return step > 0 ? rows.first() : rows.last();
    return rows.at(qBound<qsizetype>(0, at + step, rows.size() - 1));
}

void TableView::keyPressEvent(QKeyEvent* event)
{
    if (m_keyboardChoosesRows && m_allowsSelection) {
        switch (event->key()) {
        case Qt::Key_Up:
        case Qt::Key_Down:
            if (const IndexPath next = adjacentRow(event->key() == Qt::Key_Down ? 1 : -1); next.isValid()) {
                selectRowAtIndexPath(next, false, TableViewScrollPosition::None);
                scrollToRowAtIndexPath(next, TableViewScrollPosition::None, false);
            }
            event->accept();
            return;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (!m_returnChoosesRow)
                break;
            [[fallthrough]];
        case Qt::Key_Space:
            if (m_selected.isValid()) {
                QPointer<TableView> self(this);
                m_choosingByKeyboard = true;
                chooseRow(m_selected);
                if (self)
                    m_choosingByKeyboard = false;
            }
            event->accept();
            return;
        default:
            break;
        }
    }
    ScrollView::keyPressEvent(event);
}

void TableView::focusInEvent(QFocusEvent* event)
{
    ScrollView::focusInEvent(event);
    updateFocusRing();
}

void TableView::focusOutEvent(QFocusEvent* event)
{
    ScrollView::focusOutEvent(event);
    updateFocusRing();
}

bool TableView::showsFocusRing() const
{
    return m_focusRing && !m_focusRing->isHidden();
}

void TableView::updateFocusRing()
{
    const bool shown = hasFocus() && m_keyboardChoosesRows && !m_selected.isValid();
    if (!shown) {
        if (m_focusRing)
            m_focusRing->setHidden(true);
        return;
    }
    if (!m_focusRing) {
        m_focusRing = new FocusRing();
        addSubview(m_focusRing);
    }
    // Over the rows in sight, wherever the list is scrolled to.
    m_focusRing->setFrame(bounds());
    m_focusRing->setHidden(false);
    m_focusRing->raise();
}

void TableView::drawRect(QPainter& painter, const QRectF& rect)
{
    if (m_style == TableViewStyle::Grouped && backgroundColor().alpha() > 0) {
        // The platform's pinstripes behind grouped tables: part of their
        // background, so a clear table shows none.
        painter.setPen(QPen(QColor(203, 210, 216), 1));
        for (qreal x = std::floor(rect.left() / 7) * 7 + 2; x < rect.right(); x += 7)
            painter.drawLine(QPointF(x + 0.5, rect.top()), QPointF(x + 0.5, rect.bottom()));
    }
    ScrollView::drawRect(painter, rect);
}
