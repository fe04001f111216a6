// The pictures of the paged lists and the menu button (see Pictures.h).
#include "PictureWriter.h"
#include "Pictures.h"

#include <QImage>
#include <QLinearGradient>
#include <QPainterPath>

namespace {

// A downward arrow: a shaft and a head, in the band's text colour.
void drawArrow(QPainter& p)
{
    p.setPen(Qt::NoPen);
    p.setBrush(kListTextBlue);
    p.drawRoundedRect(QRectF(11.5, 3, 7, 34), 2, 2);
    QPainterPath head;
    head.moveTo(3, 33);
    head.lineTo(27, 33);
    head.lineTo(15, 51);
    head.closeSubpath();
    p.drawPath(head);
}

void drawStripBackground(QPainter& p)
{
    QLinearGradient g(0, 0, 0, 30);
    g.setColorAt(0, QColor(0xFA, 0xFB, 0xFD));
    g.setColorAt(1, QColor(0xDD, 0xE4, 0xEC));
    p.fillRect(QRectF(0, 0, 320, 30), g);
    p.fillRect(QRectF(0, 0, 320, 0.5), QColor(255, 255, 255));
    p.fillRect(QRectF(0, 29, 320, 1), QColor(0xB3, 0xBE, 0xCC));
}

// The strip's end: the strip's own background, opaque over the numbers
// that scroll under it and fading out towards the middle, with a chevron
// pointing outwards.
void drawStripArrow(QPainter& p, bool left)
{
    const qreal w = 24;
    QImage cap(QSize(int(w * 4), 30 * 4), QImage::Format_ARGB32_Premultiplied);
    cap.fill(Qt::transparent);
    {
        QPainter c(&cap);
        c.scale(4, 4);
        drawStripBackground(c);
        c.setCompositionMode(QPainter::CompositionMode_DestinationIn);
        QLinearGradient fade(left ? 0 : w, 0, left ? w : 0, 0);
        fade.setColorAt(0, QColor(0, 0, 0, 255));
        fade.setColorAt(0.62, QColor(0, 0, 0, 255));
        fade.setColorAt(1, QColor(0, 0, 0, 0));
        c.fillRect(QRectF(0, 0, w, 30), fade);
    }
    p.drawImage(QRectF(0, 0, w, 29), cap, QRectF(0, 0, w * 4, 29 * 4));
    QPen pen(kListTextBlue, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    const qreal tip = left ? 5 : w - 5;
    const qreal back = left ? 10 : w - 10;
    p.drawPolyline(QPolygonF({QPointF(back, 9.5), QPointF(tip, 14.5), QPointF(back, 19.5)}));
}

// The menu button's face: a dark pill on the tinted bar with a small
// downward chevron at its right end (the menu opens below the bar).
void drawMenuButton(QPainter& p)
{
    const QRectF r(0.5, 0.5, 149, 29);
    QLinearGradient g(0, 0, 0, 30);
    g.setColorAt(0, QColor(0x3C, 0x6F, 0xC0));
    g.setColorAt(0.5, QColor(0x2A, 0x5A, 0xA8));
    g.setColorAt(1, QColor(0x1B, 0x42, 0x82));
    p.setPen(QPen(QColor(0x10, 0x2A, 0x55), 1));
    p.setBrush(g);
    p.drawRoundedRect(r, 6, 6);
    p.setPen(QPen(QColor(255, 255, 255, 70), 1));
    p.drawLine(QPointF(6, 1.5), QPointF(144, 1.5));
    p.setPen(QPen(QColor(255, 255, 255, 210), 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(QPolygonF({QPointF(134, 13), QPointF(138.5, 17.5), QPointF(143, 13)}));
}

}  // namespace

void drawPagingPictures(PictureWriter& pictures)
{
    pictures.add("blueArrow.png", QSizeF(30, 55), drawArrow);
    pictures.add("pagination_background.png", QSizeF(320, 30), drawStripBackground);
    pictures.add("pagination_left_arrow.png", QSizeF(24, 29), [](QPainter& p) { drawStripArrow(p, true); });
    pictures.add("pagination_right_arrow.png", QSizeF(24, 29), [](QPainter& p) { drawStripArrow(p, false); });
    pictures.add("bt_menu.png", QSizeF(150, 30), drawMenuButton);
}
