#include "platform/ui/TableView.h"

#include "platform/ui/TableViewCell.h"

#include <QPainter>
#include <QPointer>
#include <QSet>

#include <algorithm>
#include <utility>

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
    return m_layout.numberOfRowsInSection(section);
}

void TableView::computeLayout()
{
    setContentSize(QSizeF(frame().width(), m_layout.build(*this)));
}

void TableView::clearCells()
{
    const auto visible = m_visible;
    m_visible.clear();
    // Shown until the rows are placed again: most go straight back to a row.
    for (const auto& cell : visible)
        recycle(cell, true);
    m_queue.recycleKept(true);
}

void TableView::reloadData()
{
    const bool chosenInSight = m_loaded && m_selected.isValid()
                               && rectForRowAtIndexPath(m_selected).intersects(bounds());
    const IndexPath chosen = std::exchange(m_selected, IndexPath());
    m_loaded = true;
    clearCells();
    computeLayout();
    m_selected = followChosenRow(chosen);
    TableViewDataSource* source = m_dataSource.get();
    m_selectedKey = m_selected.isValid() && source ? source->keyForRowAtIndexPath(this, m_selected) : QVariant();
    if (!isDragging() && !isDecelerating()) {
        // The offset may now lie past the shorter content.
        const QPointF clamped = clampedOffset(contentOffset());
        if (clamped.y() < contentOffset().y())
            setContentOffset(clamped);
        if (chosenInSight)
            scrollToRowAtIndexPath(m_selected, TableViewScrollPosition::None, false);
    }
    layoutVisible();
    m_queue.hideUnused();
}

IndexPath TableView::followChosenRow(const IndexPath& chosen)
{
    TableViewDataSource* source = m_dataSource.get();
    if (!chosen.isValid() || !m_selectedKey.isValid() || !source)
        return IndexPath();
    if (const std::optional<IndexPath> answered = source->indexPathForRowKey(this, m_selectedKey)) {
        const IndexPath path = *answered;
        return path.isValid() && path.section < numberOfSections() && path.row < numberOfRowsInSection(path.section)
                   ? path
                   : IndexPath();
    }
    // The place it had first: most reloads keep the rows where they were.
    const auto keyed = [&](const IndexPath& path) { return source->keyForRowAtIndexPath(this, path) == m_selectedKey; };
    if (chosen.section < numberOfSections() && chosen.row < numberOfRowsInSection(chosen.section) && keyed(chosen))
        return chosen;
    for (int s = 0; s < numberOfSections(); ++s) {
        for (int r = 0; r < numberOfRowsInSection(s); ++r) {
            if (keyed(IndexPath{s, r}))
                return IndexPath{s, r};
        }
    }
    return IndexPath();
}

TableViewCell* TableView::dequeueReusableCellWithIdentifier(const QString& identifier)
{
    return m_queue.dequeue(identifier);
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
    for (int s = 0; s < m_layout.numberOfSections(); ++s) {
        const Section& section = m_layout.sections()[s];
        // Plain headers stay at the top while their section passes under them.
        if (section.header) {
            qreal y = section.top;
            if (m_style == TableViewStyle::Plain && section.headerHeight > 0) {
                const qreal pinned = top + contentInset().top;
                y = qMax(y, qMin(pinned, section.bottom - section.footerHeight - section.headerHeight));
            }
            section.header->setFrame(QRectF(0, y, frame().width(), section.headerHeight));
            // A header that holds the focus stays, out of sight, as a row's cell does.
            const bool away = y > bottom || y + section.headerHeight < top;
            section.header->setHidden(section.headerHeight <= 0
                                      || (away && !TableCellQueue::holdsFocus(section.header)));
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
            if (!m_queue.keepFocused(it.value(), it.key()))
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
            TableViewCell* made = m_queue.takeKept(path);
            if (!made)
                made = source->cellForRowAtIndexPath(this, path);
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
    for (const Section& section : m_layout.sections()) {
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
    return m_queue.keptRow(cell);
}

IndexPath TableView::indexPathForRowAtPoint(const QPointF& point) const
{
    return m_layout.indexPathForRowAtPoint(point);
}

QRectF TableView::rectForRowAtIndexPath(const IndexPath& indexPath) const
{
    return m_layout.rectForRow(indexPath, rowsLeft(), rowsWidth());
}

QRectF TableView::rectForSection(int section) const
{
    return m_layout.rectForSection(section, frame().width());
}

QRectF TableView::rectForHeaderInSection(int section) const
{
    return m_layout.rectForHeader(section, frame().width());
}

QRectF TableView::rectForFooterInSection(int section) const
{
    return m_layout.rectForFooter(section, frame().width());
}

View* TableView::headerViewForSection(int section) const
{
    return m_layout.headerView(section);
}

void TableView::scrollToRowAtIndexPath(const IndexPath& indexPath, TableViewScrollPosition position, bool animated)
{
    QRectF row = rectForRowAtIndexPath(indexPath);
    if (row.isNull())
        return;
    // A plain section's header stays at the top over its rows: a row
    // brought into sight from above comes below it.
    if (m_style == TableViewStyle::Plain && position == TableViewScrollPosition::None)
        row.setTop(row.top() - rectForHeaderInSection(indexPath.section).height());
    QPointF offset = contentOffset();
    offset.setY(TableLayout::offsetShowing(row, position, offset.y(), frame().height(), contentInset()));
    setContentOffset(clampedOffset(offset), animated);
}

void TableView::selectRowAtIndexPath(const IndexPath& indexPath, bool animated, TableViewScrollPosition position)
{
    if (m_selected.isValid() && m_selected != indexPath) {
        if (TableViewCell* old = cellForRowAtIndexPath(m_selected))
            old->setSelected(false, animated);
    }
    m_selected = indexPath;
    TableViewDataSource* source = m_dataSource.get();
    m_selectedKey = indexPath.isValid() && source ? source->keyForRowAtIndexPath(this, indexPath) : QVariant();
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
    if (m_selected == indexPath) {
        m_selected = IndexPath();
        m_selectedKey = QVariant();
    }
    updateFocusRing();
}

int TableView::cellCount() const
{
    int n = 0;
    for (const auto& c : m_visible)
        n += c ? 1 : 0;
    return n + m_queue.count();
}

void TableView::touchesBegan(const QPointF& point)
{
    m_keyboard.pointerPressed();
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
    // Before the delegate: the screen it opens may hide the list at once.
    m_keyboard.rowOpened();
    if (delegate && previous.isValid() && previous != chosen)
        delegate->didDeselectRowAtIndexPath(this, previous);
    if (TableViewDelegate* d = m_tableDelegate.get())
        d->didSelectRowAtIndexPath(this, chosen);
}

void TableView::keyPressEvent(QKeyEvent* event)
{
    if (!m_keyboard.keyPressed(event))
        ScrollView::keyPressEvent(event);
}

void TableView::focusInEvent(QFocusEvent* event)
{
    ScrollView::focusInEvent(event);
    m_keyboard.focusIn(event);
}

void TableView::focusOutEvent(QFocusEvent* event)
{
    ScrollView::focusOutEvent(event);
    m_keyboard.focusOut();
}

void TableView::showEvent(QShowEvent* event)
{
    ScrollView::showEvent(event);
    m_keyboard.shown();
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
