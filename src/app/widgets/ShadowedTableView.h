#pragma once

#include "platform/ui/TableView.h"

// The paged lists' table: a soft shadow under the top edge of the visible
// area (behind the rows), one just above the first row and one just below the
// last, each 10 points high. They are painted behind the rows, so they show
// where no row covers them.
class ShadowedTableView : public TableView {
    Q_OBJECT
public:
    static constexpr qreal kShadowHeight = 10.0;

    explicit ShadowedTableView(const QRectF& frame = QRectF(), TableViewStyle style = TableViewStyle::Plain);

    // Where the shadows lie now, in content coordinates (null when not shown).
    QRectF originShadowRect() const { return m_origin; }
    QRectF topShadowRect() const { return m_top; }
    QRectF bottomShadowRect() const { return m_bottom; }
    bool hasTopShadow() const { return !m_top.isNull(); }
    bool hasBottomShadow() const { return !m_bottom.isNull(); }

    void drawRect(QPainter& painter, const QRectF& rect) override;

protected:
    void didLayoutRows() override;

private:
    // Puts a shadow where it lies now, drawing both places again.
    void moveShadow(QRectF& shadow, const QRectF& to);
    static void drawShadow(QPainter& painter, const QRectF& rect, bool inverse);

    QRectF m_origin;
    QRectF m_top;
    QRectF m_bottom;
};
