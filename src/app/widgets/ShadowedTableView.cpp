#include "app/widgets/ShadowedTableView.h"

#include "platform/ui/TableViewCell.h"

#include <QLinearGradient>
#include <QPainter>

ShadowedTableView::ShadowedTableView(const QRectF& frame, TableViewStyle style) : TableView(frame, style) {}

void ShadowedTableView::didLayoutRows()
{
    const qreal width = frame().width();
    const QRectF origin(0, contentOffset().y(), width, kShadowHeight);
    QRectF top;
    QRectF bottom;
    const QList<IndexPath> visible = indexPathsForVisibleRows();
    if (!visible.isEmpty()) {
        const IndexPath first = visible.first();
        if (first.section == 0 && first.row == 0) {
            if (TableViewCell* cell = cellForRowAtIndexPath(first))
                top = QRectF(cell->frame().x(), cell->frame().y() - kShadowHeight, cell->frame().width(), kShadowHeight);
        }
        const IndexPath last = visible.last();
        const int lastSection = numberOfSections() - 1;
        if (last.section == lastSection && last.row == numberOfRowsInSection(lastSection) - 1) {
            if (TableViewCell* cell = cellForRowAtIndexPath(last))
                bottom = QRectF(cell->frame().x(), cell->frame().bottom(), cell->frame().width(), kShadowHeight);
        }
    }
    // Only the shadows that moved over the content, and show, are drawn
    // again: the rest of the table's pixels move with the content as it
    // scrolls, and a shadow under a row shows nothing.
    moveShadow(m_origin, m_originShown, origin);
    moveShadow(m_top, m_topShown, top);
    moveShadow(m_bottom, m_bottomShown, bottom);
}

void ShadowedTableView::moveShadow(QRectF& shadow, bool& shown, const QRectF& to)
{
    const bool showsNow = !to.isNull() && !isCovered(to);
    if (shadow == to && shown == showsNow)
        return;
    if (shown)
        update(shadow.translated(-contentOffset()).toAlignedRect());
    if (showsNow)
        update(to.translated(-contentOffset()).toAlignedRect());
    shadow = to;
    shown = showsNow;
}

bool ShadowedTableView::isCovered(const QRectF& rect) const
{
    for (const View* v : subviews()) {
        if (!v->QWidget::isHidden() && v->testAttribute(Qt::WA_OpaquePaintEvent) && v->frame().contains(rect))
            return true;
    }
    return false;
}

void ShadowedTableView::drawShadow(QPainter& painter, const QRectF& rect, bool inverse)
{
    QLinearGradient g(rect.topLeft(), rect.bottomLeft());
    const QColor dark(0, 0, 0, 128);
    const QColor clear(0, 0, 0, 0);
    g.setColorAt(0, inverse ? clear : dark);
    g.setColorAt(1, inverse ? dark : clear);
    painter.fillRect(rect, g);
}

void ShadowedTableView::drawRect(QPainter& painter, const QRectF& rect)
{
    TableView::drawRect(painter, rect);
    drawShadow(painter, m_origin, false);
    if (hasTopShadow())
        drawShadow(painter, m_top, true);
    if (hasBottomShadow())
        drawShadow(painter, m_bottom, false);
}
