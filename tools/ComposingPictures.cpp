// The composing screens' pictures (see Pictures.h).
#include "PictureWriter.h"
#include "Pictures.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>

namespace {

const QColor kKeyTop(0xFB, 0xFC, 0xFE);
const QColor kKeyBottom(0xD9, 0xE0, 0xEA);
const QColor kInk(0x1F, 0x29, 0x33);
const QColor kStripTop(0x3A, 0x4B, 0x63);
const QColor kStripBottom(0x1E, 0x2A, 0x3B);

QFont font(qreal pixelSize, int weight, bool italic = false)
{
    QFont f(QStringLiteral("Liberation Sans"));
    f.setStyleHint(QFont::SansSerif);
    f.setPixelSize(qRound(pixelSize));
    f.setWeight(QFont::Weight(weight));
    f.setItalic(italic);
    return f;
}

// A light key of the formatting menus, filling 49 by 33 points.
void key(QPainter& p)
{
    QLinearGradient face(0, 2, 0, 31);
    face.setColorAt(0, kKeyTop);
    face.setColorAt(1, kKeyBottom);
    p.setPen(QPen(QColor(0x8A, 0x96, 0xA6), 0.8));
    p.setBrush(face);
    p.drawRoundedRect(QRectF(2.5, 2.5, 44, 28), 5, 5);
}

void letter(QPainter& p, const QString& text, const QFont& f, bool underline = false)
{
    QFont shown = f;
    shown.setUnderline(underline);
    p.setFont(shown);
    p.setPen(kInk);
    p.drawText(QRectF(2.5, 2.5, 44, 28), Qt::AlignCenter, text);
}

// A round button face of 24 points with a soft light from the top.
void roundFace(QPainter& p, const QColor& colour)
{
    QRadialGradient g(QPointF(9, 7), 16);
    g.setColorAt(0, colour.lighter(135));
    g.setColorAt(1, colour);
    p.setPen(QPen(colour.darker(135), 0.8));
    p.setBrush(g);
    p.drawEllipse(QRectF(1.5, 1.5, 21, 21));
}

// A white glyph of the button strip, in a box of 32 points.
QPen stripPen(qreal width)
{
    return QPen(Qt::white, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

}  // namespace

void drawComposingPictures(PictureWriter& pictures)
{
    // ---- The font style and size menus' keys
    pictures.add("editor_bold.png", {49, 33}, [](QPainter& p) {
        key(p);
        letter(p, QStringLiteral("B"), font(19, QFont::Bold));
    });
    pictures.add("editor_italic.png", {49, 33}, [](QPainter& p) {
        key(p);
        letter(p, QStringLiteral("I"), font(19, QFont::Normal, true));
    });
    pictures.add("editor_underline.png", {49, 33}, [](QPainter& p) {
        key(p);
        letter(p, QStringLiteral("U"), font(19, QFont::Normal), true);
    });
    // Sizes 1 to 5, each "A" as large as the size it gives.
    for (int size = 1; size <= 5; ++size) {
        const QString name = QStringLiteral("editor_size_%1.png").arg(size);
        pictures.add(name, {49, 33}, [size](QPainter& p) {
            key(p);
            letter(p, QStringLiteral("A"), font(8 + 3 * size, QFont::DemiBold));
        });
    }

    // ---- The button strip above the keyboard: its ground and its buttons
    pictures.add("editor_strip.png", {170, 40}, [](QPainter& p) {
        QPainterPath ground;
        ground.addRoundedRect(QRectF(0.5, 0.5, 190, 39), 10, 10);
        QLinearGradient g(0, 0, 0, 40);
        g.setColorAt(0, kStripTop);
        g.setColorAt(1, kStripBottom);
        p.setPen(QPen(QColor(0, 0, 0, 120), 1));
        p.setBrush(g);
        p.drawPath(ground);
        p.setPen(QPen(QColor(255, 255, 255, 40), 1));
        p.drawLine(QPointF(10, 1.5), QPointF(170, 1.5));
    });
    pictures.add("editor_style.png", {32, 32}, [](QPainter& p) {
        p.setPen(Qt::white);
        p.setFont(font(13, QFont::Bold));
        p.drawText(QRectF(1, 6, 11, 20), Qt::AlignCenter, QStringLiteral("B"));
        p.setFont(font(13, QFont::Normal, true));
        p.drawText(QRectF(11, 6, 10, 20), Qt::AlignCenter, QStringLiteral("I"));
        QFont u = font(13, QFont::Normal);
        u.setUnderline(true);
        p.setFont(u);
        p.drawText(QRectF(20, 6, 11, 20), Qt::AlignCenter, QStringLiteral("U"));
    });
    pictures.add("editor_size.png", {32, 32}, [](QPainter& p) {
        p.setPen(Qt::white);
        p.setFont(font(11, QFont::Bold));
        p.drawText(QRectF(2, 10, 12, 16), Qt::AlignCenter, QStringLiteral("A"));
        p.setFont(font(20, QFont::Bold));
        p.drawText(QRectF(12, 4, 19, 24), Qt::AlignCenter, QStringLiteral("A"));
    });
    pictures.add("editor_smiley.png", {32, 32}, [](QPainter& p) {
        p.setPen(Qt::NoPen);
        QRadialGradient g(QPointF(13, 12), 14);
        g.setColorAt(0, QColor(0xFF, 0xE0, 0x82));
        g.setColorAt(1, QColor(0xF9, 0xA8, 0x25));
        p.setBrush(g);
        p.drawEllipse(QRectF(4, 4, 24, 24));
        p.setBrush(kInk);
        p.drawEllipse(QRectF(11, 11, 3, 4));
        p.drawEllipse(QRectF(18, 11, 3, 4));
        p.setPen(QPen(kInk, 1.8, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(10, 12, 12, 10), 200 * 16, 140 * 16);
    });
    pictures.add("editor_attach.png", {32, 32}, [](QPainter& p) {
        // A paper clip.
        p.translate(16, 16);
        p.rotate(40);
        QPainterPath clip;
        clip.moveTo(-2.5, 6);
        clip.lineTo(-2.5, -7);
        clip.arcTo(QRectF(-2.5, -11, 7, 7), 180, -180);
        clip.lineTo(4.5, 9);
        clip.arcTo(QRectF(-5.5, 5, 10, 9), 0, -180);
        clip.lineTo(-5.5, -9);
        p.setPen(stripPen(1.9));
        p.setBrush(Qt::NoBrush);
        p.drawPath(clip);
    });

    // ---- The attachment choice: a picture or a video
    pictures.add("editor_picture.png", {32, 32}, [](QPainter& p) {
        p.setPen(stripPen(1.8));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(QRectF(4, 7, 24, 18), 2.5, 2.5);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawEllipse(QRectF(9, 10.5, 4.5, 4.5));
        p.drawPolygon(QPolygonF({QPointF(6.5, 23), QPointF(14, 15.5), QPointF(18, 19.5), QPointF(21, 17),
                                 QPointF(26, 23)}));
    });
    pictures.add("editor_video.png", {32, 32}, [](QPainter& p) {
        p.setPen(stripPen(1.8));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(QRectF(4, 7, 24, 18), 2.5, 2.5);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawPolygon(QPolygonF({QPointF(13, 11), QPointF(21, 16), QPointF(13, 21)}));
    });

    // ---- The quick-reply row's send and close buttons
    pictures.add("rightArrow.png", {24, 24}, [](QPainter& p) {
        roundFace(p, QColor(0x2E, 0x9D, 0x5B));
        p.setPen(QPen(Qt::white, 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawLine(QPointF(7, 12), QPointF(16.5, 12));
        p.drawPolyline(QPolygonF({QPointF(12.5, 7.5), QPointF(17, 12), QPointF(12.5, 16.5)}));
    });
    pictures.add("close.png", {24, 24}, [](QPainter& p) {
        roundFace(p, QColor(0x7A, 0x86, 0x96));
        p.setPen(QPen(Qt::white, 2.4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(8.5, 8.5), QPointF(15.5, 15.5));
        p.drawLine(QPointF(15.5, 8.5), QPointF(8.5, 15.5));
    });

    // ---- The single post's tab items: report, reply, edit, quote
    pictures.add("tab_report.png", {30, 30}, [](QPainter& p) {
        // A flag on its pole.
        p.setPen(QPen(Qt::black, 3, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(7, 4), QPointF(7, 27));
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::black);
        QPainterPath flag;
        flag.moveTo(8, 5);
        flag.cubicTo(13, 2, 17, 8, 24, 5);
        flag.lineTo(24, 17);
        flag.cubicTo(17, 20, 13, 14, 8, 17);
        flag.closeSubpath();
        p.drawPath(flag);
    });
    pictures.add("tab_reply.png", {30, 30}, [](QPainter& p) {
        // An arrow that turns back.
        p.setPen(QPen(Qt::black, 3.4, Qt::SolidLine, Qt::FlatCap));
        p.setBrush(Qt::NoBrush);
        QPainterPath bend;
        bend.moveTo(11, 12);
        bend.lineTo(17, 12);
        bend.cubicTo(23, 12, 26, 16, 26, 25);
        p.drawPath(bend);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::black);
        p.drawPolygon(QPolygonF({QPointF(3, 12), QPointF(12, 4.5), QPointF(12, 19.5)}));
    });
    pictures.add("tab_edit.png", {30, 30}, [](QPainter& p) {
        // A pencil, its point down to the left.
        p.translate(15, 15);
        p.rotate(45);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::black);
        p.drawRect(QRectF(-3.5, -13, 7, 18));
        p.drawPolygon(QPolygonF({QPointF(-3.5, 6.5), QPointF(3.5, 6.5), QPointF(0, 13)}));
    });
    pictures.add("tab_quote.png", {30, 30}, [](QPainter& p) {
        // Two quotation marks.
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::black);
        for (const qreal x : {4.0, 16.0}) {
            p.drawEllipse(QRectF(x, 8, 9, 9));
            QPainterPath tail;
            tail.moveTo(x + 9, 12.5);
            tail.cubicTo(x + 9, 19, x + 6, 23, x + 1, 24);
            tail.lineTo(x + 1, 21.5);
            tail.cubicTo(x + 4, 20, x + 5, 17, x + 4.5, 15);
            tail.closeSubpath();
            p.drawPath(tail);
        }
    });

    // ---- The home screen's place for a member's picture when there is none
    pictures.add("avatar_add.png", {48, 48}, [](QPainter& p) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0xC9, 0xD3, 0xDF));
        p.drawRoundedRect(QRectF(0, 0, 48, 48), 4, 4);
        // A head and shoulders.
        p.setBrush(QColor(0xF4, 0xF7, 0xFA));
        p.drawEllipse(QRectF(16, 9, 16, 16));
        QPainterPath shoulders;
        shoulders.moveTo(8, 48);
        shoulders.cubicTo(8, 32, 16, 28, 24, 28);
        shoulders.cubicTo(32, 28, 40, 32, 40, 48);
        shoulders.closeSubpath();
        p.drawPath(shoulders);
        // A "+" badge: a picture can be added.
        p.setBrush(kThemeBlue);
        p.setPen(QPen(Qt::white, 1.5));
        p.drawEllipse(QRectF(30, 30, 16, 16));
        p.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(38, 34), QPointF(38, 42));
        p.drawLine(QPointF(34, 38), QPointF(42, 38));
    });
}
