#include "app/widgets/ShadowedTableView.h"

#include "platform/ui/TableViewCell.h"

#include <QLinearGradient>
#include <QPainter>

ShadowedTableView::ShadowedTableView(const QRectF& frame, TableViewStyle style) : TableView(frame, style) {}

void ShadowedTableView::didLayoutRows()
{
    const qreal width = frame().width();
    m_origin = QRectF(0, contentOffset().y(), width, kShadowHeight);
    m_top = QRectF();
    m_bottom = QRectF();
    const QList<IndexPath> visible = indexPathsForVisibleRows();
    if (!visible.isEmpty()) {
        const IndexPath first = visible.first();
        if (first.section == 0 && first.row == 0) {
            if (TableViewCell* cell = cellForRowAtIndexPath(first))
                m_top = QRectF(cell->frame().x(), cell->frame().y() - kShadowHeight, cell->frame().width(), kShadowHeight);
        }
        const IndexPath last = visible.last();
        const int lastSection = numberOfSections() - 1;
        if (last.section == lastSection && last.row == numberOfRowsInSection(lastSection) - 1) {
            if (TableViewCell* cell = cellForRowAtIndexPath(last))
                m_bottom = QRectF(cell->frame().x(), cell->frame().bottom(), cell->frame().width(), kShadowHeight);
        }
    }
    update();
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
