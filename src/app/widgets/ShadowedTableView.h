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
    // Puts a shadow where it lies now, drawing again the places where it
    // showed and shows.
    void moveShadow(QRectF& shadow, bool& shown, const QRectF& to);
    // Whether a subview that paints every pixel of its frame lies over the
    // whole rectangle (in bounds coordinates).
    bool isCovered(const QRectF& rect) const;
    static void drawShadow(QPainter& painter, const QRectF& rect, bool inverse);

    QRectF m_origin;
    QRectF m_top;
    QRectF m_bottom;
    bool m_originShown = false;
    bool m_topShown = false;
    bool m_bottomShown = false;
};
