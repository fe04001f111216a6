// Draws the bundle pictures of the paged lists and the menu button, at one
// and at two device pixels a point: the pull-to-refresh arrow, the page
// strip's background and arrows, and the menu button's face.
//
//   scripts/draw-paging-images.sh [resources folder]

#include <QColor>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <cstdio>
#include <functional>

namespace {

const QColor kArrowBlue(87, 108, 137);

bool save(const QString& folder, const QString& name, const QSizeF& points,
          const std::function<void(QPainter&)>& draw)
{
    for (int scale : {1, 2}) {
        QImage image((points * scale).toSize(), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(scale, scale);
        draw(painter);
        painter.end();
        const QString file = QDir(folder).filePath(scale == 1 ? name + QStringLiteral(".png")
                                                              : name + QStringLiteral("@2x.png"));
        if (!image.save(file)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
            return false;
        }
    }
    return true;
}

// A downward arrow: a shaft and a head, in the band's text colour.
void drawArrow(QPainter& p)
{
    p.setPen(Qt::NoPen);
    p.setBrush(kArrowBlue);
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
    QPen pen(kArrowBlue, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
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

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("resources");
    bool ok = save(folder, QStringLiteral("blueArrow"), QSizeF(30, 55), drawArrow);
    ok = save(folder, QStringLiteral("pagination_background"), QSizeF(320, 30), drawStripBackground) && ok;
    ok = save(folder, QStringLiteral("pagination_left_arrow"), QSizeF(24, 29),
              [](QPainter& p) { drawStripArrow(p, true); })
         && ok;
    ok = save(folder, QStringLiteral("pagination_right_arrow"), QSizeF(24, 29),
              [](QPainter& p) { drawStripArrow(p, false); })
         && ok;
    ok = save(folder, QStringLiteral("bt_menu"), QSizeF(150, 30), drawMenuButton) && ok;
    return ok ? 0 : 1;
}
