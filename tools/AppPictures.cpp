// The application's own pictures (see Pictures.h).
#include "PictureWriter.h"
#include "Pictures.h"

#include <QFont>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>

namespace {

const QColor kNavyTop(0x24, 0x4A, 0x86);
const QColor kNavyBottom(0x10, 0x24, 0x47);

// Sizes in points: the painter's scale makes them pixels.
QFont font(int pointSize, int weight)
{
    QFont f(QStringLiteral("Liberation Sans"));
    f.setStyleHint(QFont::SansSerif);
    f.setPixelSize(pointSize);
    f.setWeight(QFont::Weight(weight));
    return f;
}

// A speech bubble with "mu" in it, in a box of `size` points at (x, y).
void drawLogo(QPainter& p, qreal x, qreal y, qreal size)
{
    const qreal s = size / 64.0;
    p.save();
    p.translate(x, y);
    p.scale(s, s);
    QPainterPath bubble;
    bubble.addRoundedRect(QRectF(2, 4, 60, 46), 14, 14);
    QPainterPath tail;
    tail.moveTo(16, 44);
    tail.lineTo(12, 60);
    tail.lineTo(30, 46);
    tail.closeSubpath();
    bubble = bubble.united(tail);
    // A soft shadow, then the white face.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 60));
    p.drawPath(bubble.translated(0, 2));
    QLinearGradient face(0, 4, 0, 60);
    face.setColorAt(0, Qt::white);
    face.setColorAt(1, QColor(0xDD, 0xE6, 0xF3));
    p.setBrush(face);
    p.drawPath(bubble);
    p.setPen(kThemeBlue);
    p.setFont(font(30, QFont::Bold));
    p.drawText(QRectF(2, 2, 60, 46), Qt::AlignCenter, QStringLiteral("mu"));
    p.restore();
}

// The night-blue sky of the splash and of the login screen.
void drawSky(QPainter& p)
{
    QLinearGradient sky(0, 0, 0, 480);
    sky.setColorAt(0, kNavyTop);
    sky.setColorAt(1, kNavyBottom);
    p.fillRect(QRectF(0, 0, 320, 480), sky);
    // A faint glow behind the logo.
    QRadialGradient glow(QPointF(160, 190), 150);
    glow.setColorAt(0, QColor(255, 255, 255, 40));
    glow.setColorAt(1, QColor(255, 255, 255, 0));
    p.fillRect(QRectF(0, 0, 320, 480), glow);
}

void drawSplash(QPainter& p)
{
    drawSky(p);
    drawLogo(p, 112, 130, 96);
    p.setPen(Qt::white);
    p.setFont(font(30, QFont::Bold));
    p.drawText(QRectF(0, 236, 320, 40), Qt::AlignCenter, QStringLiteral("mu Forum"));
    p.setPen(QColor(255, 255, 255, 170));
    p.setFont(font(14, QFont::Normal));
    p.drawText(QRectF(0, 276, 320, 24), Qt::AlignCenter, QStringLiteral("Your forum, wherever you are"));
}

void drawPoweredBy(QPainter& p)
{
    // A thin rule above, then the logo and the line of text, centred
    // together; the splash shows through.
    p.setPen(QPen(QColor(255, 255, 255, 60), 0.5));
    p.drawLine(QPointF(100, 4.5), QPointF(220, 4.5));
    const QString text = QStringLiteral("powered by mu");
    const QFont small = font(12, QFont::Normal);
    const qreal textWidth = QFontMetricsF(small).horizontalAdvance(text);
    const qreal left = (320 - (18 + 6 + textWidth)) / 2;
    drawLogo(p, left, 10, 18);
    p.setPen(QColor(255, 255, 255, 200));
    p.setFont(small);
    p.drawText(QRectF(left + 24, 8, textWidth + 2, 24), Qt::AlignLeft | Qt::AlignVCenter, text);
}

// Frame `frame` (0-11) of the wheel: twelve spokes, the bright one a
// twelfth of a turn further on in each frame, the others fading behind it.
void drawWheel(QPainter& p, int frame)
{
    const QPointF centre(18.5, 18.5);
    for (int spoke = 0; spoke < 12; ++spoke) {
        const int behind = (frame - spoke + 12) % 12;
        const int alpha = 255 - behind * 17;
        const qreal angle = spoke * 30.0;
        p.save();
        p.translate(centre);
        p.rotate(angle);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 255, 255, qMax(alpha, 50)));
        p.drawRoundedRect(QRectF(-1.75, -17, 3.5, 9.5), 1.75, 1.75);
        p.restore();
    }
}

// The mark of a post that waits for a moderator: an amber disc with a clock.
void drawModerated(QPainter& p)
{
    p.setPen(QPen(QColor(0xB3, 0x6B, 0x00), 1));
    p.setBrush(QColor(0xF5, 0xA6, 0x23));
    p.drawEllipse(QRectF(0.5, 0.5, 15, 15));
    p.setPen(QPen(Qt::white, 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(8, 8), QPointF(8, 3.8));
    p.drawLine(QPointF(8, 8), QPointF(11, 9.8));
}

// A form's tick box, empty or ticked, with room on its right before the text.
void drawCheckbox(QPainter& p, bool ticked)
{
    QPainterPath box;
    box.addRoundedRect(QRectF(1.5, 1.5, 19, 19), 4, 4);
    QLinearGradient face(0, 1.5, 0, 20.5);
    face.setColorAt(0, ticked ? QColor(0x4A, 0x86, 0xD8) : Qt::white);
    face.setColorAt(1, ticked ? kThemeBlue : QColor(0xE4, 0xE8, 0xEE));
    p.setPen(QPen(ticked ? QColor(0x1C, 0x45, 0x8A) : QColor(0x8C, 0x96, 0xA4), 1));
    p.setBrush(face);
    p.drawPath(box);
    if (ticked) {
        p.setPen(QPen(Qt::white, 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolyline(QPolygonF({QPointF(6, 11.5), QPointF(9.5, 15), QPointF(16, 7)}));
    }
}

}  // namespace

void drawAppPictures(PictureWriter& pictures)
{
    pictures.add("Default.png", QSizeF(320, 480), drawSplash);
    pictures.add("background.png", QSizeF(320, 480), drawSky);
    pictures.add("poweredby.png", QSizeF(320, 36), drawPoweredBy);
    pictures.add("logo.png", QSizeF(64, 64), [](QPainter& p) { drawLogo(p, 0, 0, 64); });
    pictures.add("moderated.png", QSizeF(16, 16), drawModerated);
    pictures.add("checkbox_off.png", QSizeF(32, 22), [](QPainter& p) { drawCheckbox(p, false); });
    pictures.add("checkbox_on.png", QSizeF(32, 22), [](QPainter& p) { drawCheckbox(p, true); });
    for (int frame = 0; frame < 12; ++frame)
        pictures.add(QStringLiteral("%1.png").arg(frame + 1), QSizeF(37, 37), [frame](QPainter& p) { drawWheel(p, frame); });
}
