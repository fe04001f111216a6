#pragma once

#include "platform/ui/View.h"

#include <QImage>

// A filled and outlined rounded rectangle: loading boxes, the menu panel,
// quote boxes. It keeps no background colour and is never opaque; the
// outline is centred on the bounds' edge.
class RoundedRectView : public View {
    Q_OBJECT
public:
    explicit RoundedRectView(const QRectF& frame = QRectF());

    QColor strokeColor() const { return m_strokeColor; }
    void setStrokeColor(const QColor& color);
    QColor rectColor() const { return m_rectColor; }
    void setRectColor(const QColor& color);
    qreal strokeWidth() const { return m_strokeWidth; }
    void setStrokeWidth(qreal width);
    qreal cornerRadius() const { return m_cornerRadius; }
    void setCornerRadius(qreal radius);

    // The radius drawn: at most half the width, then at most half the height.
    qreal effectiveRadius() const;
    // The one colour under the whole box, where there is one (invalid where
    // there is not): the box is then drawn once over it into a picture, and
    // a repaint puts the picture down, the same pixels without rasterising
    // the outline again (a scrolled list repaints its boxes every frame).
    QColor backdropColor() const { return m_backdropColor; }
    void setBackdropColor(const QColor& color);

    void setOpaque(bool opaque) override;
    void setBackgroundColor(const QColor& color) override;
    void drawRect(QPainter& painter, const QRectF& rect) override;

private:
    // The box changed: the picture kept of it goes.
    void redraw();
    void drawBox(QPainter& painter) const;

    QColor m_strokeColor = Qt::white;
    QColor m_rectColor = Qt::white;
    qreal m_strokeWidth = 1.0;
    qreal m_cornerRadius = 30.0;
    QColor m_backdropColor;
    QImage m_picture;
    qreal m_pictureScale = 0;
};
