// The pictures of the forum's list screens (see Pictures.h).
#include "PictureWriter.h"
#include "Pictures.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>

namespace {

const QColor kSlate(0x5F, 0x6B, 0x7A);
const QColor kAmber(0xE6, 0x9A, 0x1C);
const QColor kRed(0xC0, 0x39, 0x2B);
const QColor kGreen(0x2E, 0x9D, 0x5B);

QPainterPath star(const QPointF& c, qreal outer, qreal inner)
{
    QPainterPath path;
    for (int i = 0; i < 10; ++i) {
        const qreal r = i % 2 ? inner : outer;
        const qreal a = -M_PI / 2 + i * M_PI / 5;
        const QPointF p(c.x() + r * std::cos(a), c.y() + r * std::sin(a));
        if (i == 0)
            path.moveTo(p);
        else
            path.lineTo(p);
    }
    path.closeSubpath();
    return path;
}

// A speech balloon filling the rectangle, its tail at the bottom left.
QPainterPath balloon(const QRectF& r)
{
    QPainterPath body;
    body.addRoundedRect(QRectF(r.x(), r.y(), r.width(), r.height() - 5), 7, 7);
    QPainterPath tail;
    tail.moveTo(r.x() + 8, r.bottom() - 6);
    tail.lineTo(r.x() + 7, r.bottom());
    tail.lineTo(r.x() + 16, r.bottom() - 6);
    tail.closeSubpath();
    return body.united(tail);
}

void filledCircle(QPainter& p, const QRectF& r, const QColor& c)
{
    QRadialGradient g(r.center() - QPointF(r.width() / 5, r.height() / 5), r.width() * 0.75);
    g.setColorAt(0, c.lighter(150));
    g.setColorAt(1, c);
    p.setPen(QPen(c.darker(130), 0.8));
    p.setBrush(g);
    p.drawEllipse(r);
}

}  // namespace

void drawForumPictures(PictureWriter& pictures)
{
    // ---- Thread rows
    pictures.add("sticky.png", {14, 14}, [](QPainter& p) {
        // A push pin, leaning.
        p.translate(7, 7);
        p.rotate(35);
        p.setPen(QPen(kSlate, 1.2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(0, 1), QPointF(0, 6.5));
        p.setPen(Qt::NoPen);
        p.setBrush(kRed);
        p.drawRoundedRect(QRectF(-3.5, -6.5, 7, 3), 1.2, 1.2);
        p.drawRect(QRectF(-2, -4, 4, 4));
        p.drawRoundedRect(QRectF(-4.5, -0.5, 9, 2), 1, 1);
    });
    pictures.add("lock.png", {14, 14}, [](QPainter& p) {
        p.setPen(QPen(kSlate, 1.6));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(4, 1.5, 6, 8), 0, 180 * 16);
        p.drawLine(QPointF(4, 5.5), QPointF(4, 7));
        p.drawLine(QPointF(10, 5.5), QPointF(10, 7));
        p.setPen(Qt::NoPen);
        p.setBrush(kSlate);
        p.drawRoundedRect(QRectF(2.5, 6.5, 9, 7), 1.5, 1.5);
        p.setBrush(Qt::white);
        p.drawEllipse(QRectF(6, 8.5, 2, 2));
    });
    pictures.add("unread.png", {14, 14}, [](QPainter& p) { filledCircle(p, QRectF(2, 2, 10, 10), QColor(0x1E, 0x88, 0xE5)); });
    pictures.add("replied.png", {8, 8}, [](QPainter& p) { filledCircle(p, QRectF(1, 1, 6, 6), kSlate); });
    pictures.add("balloon.png", {46, 30}, [](QPainter& p) {
        QLinearGradient g(0, 0, 0, 30);
        g.setColorAt(0, QColor(0x8A, 0x9B, 0xB0));
        g.setColorAt(1, QColor(0x5E, 0x70, 0x88));
        p.setPen(Qt::NoPen);
        p.setBrush(g);
        p.drawPath(balloon(QRectF(4, 3, 38, 26)));
    });
    pictures.add("balloon_hot.png", {46, 30}, [](QPainter& p) {
        QLinearGradient g(0, 0, 0, 30);
        g.setColorAt(0, QColor(0xF0, 0x7A, 0x3A));
        g.setColorAt(1, QColor(0xC8, 0x3A, 0x1A));
        p.setPen(Qt::NoPen);
        p.setBrush(g);
        p.drawPath(balloon(QRectF(4, 3, 38, 26)));
    });

    // ---- Forum rows and the subforums header
    pictures.add("forum_new.png", {16, 16}, [](QPainter& p) {
        filledCircle(p, QRectF(2, 2, 12, 12), QColor(0x1E, 0x88, 0xE5));
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawPath(star(QPointF(8, 8.3), 4.2, 1.8));
    });
    pictures.add("subforum-expand.png", {18, 18}, [](QPainter& p) {
        p.setPen(QPen(Qt::white, 1.4));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QRectF(1.5, 1.5, 15, 15));
        p.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolyline(QPolygonF({QPointF(5.5, 7.5), QPointF(9, 11), QPointF(12.5, 7.5)}));
    });
    pictures.add("subforum-collapse.png", {18, 18}, [](QPainter& p) {
        p.setPen(QPen(Qt::white, 1.4));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QRectF(1.5, 1.5, 15, 15));
        p.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolyline(QPolygonF({QPointF(5.5, 10.5), QPointF(9, 7), QPointF(12.5, 10.5)}));
    });

    // ---- The moderation list's marks
    pictures.add("delete_off.png", {24, 24}, [](QPainter& p) {
        p.setPen(QPen(QColor(0xA0, 0xA8, 0xB4), 1.6));
        p.setBrush(Qt::white);
        p.drawEllipse(QRectF(3, 3, 18, 18));
    });
    pictures.add("delete_on.png", {24, 24}, [](QPainter& p) {
        filledCircle(p, QRectF(3, 3, 18, 18), kRed);
        p.setPen(QPen(Qt::white, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolyline(QPolygonF({QPointF(7.5, 12), QPointF(10.5, 15), QPointF(16.5, 9)}));
    });

    // ---- The thread list's and thread page's tab items: shapes, coloured by the bar
    pictures.add("tab_reload.png", {30, 30}, [](QPainter& p) {
        p.setPen(QPen(Qt::black, 3.2, Qt::SolidLine, Qt::FlatCap));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(6, 6, 18, 18), 60 * 16, 290 * 16);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::black);
        p.drawPolygon(QPolygonF({QPointF(17, 2), QPointF(24.5, 7.5), QPointF(16, 11.5)}));
    });
    pictures.add("tab_subscribe.png", {30, 30}, [](QPainter& p) {
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::black);
        p.drawPath(star(QPointF(15, 16), 12, 5));
    });
    pictures.add("tab_moderate.png", {30, 30}, [](QPainter& p) {
        // A shield.
        QPainterPath shield;
        shield.moveTo(15, 3);
        shield.lineTo(25, 7);
        shield.cubicTo(25, 17, 21, 23, 15, 27);
        shield.cubicTo(9, 23, 5, 17, 5, 7);
        shield.closeSubpath();
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::black);
        p.drawPath(shield);
    });
    pictures.add("tab_search.png", {30, 30}, [](QPainter& p) {
        p.setPen(QPen(Qt::black, 3.4));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QRectF(5, 4, 14, 14));
        p.setPen(QPen(Qt::black, 4.5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(18, 17), QPointF(25, 24));
    });

    pictures.add("tab_first_unread.png", {30, 30}, [](QPainter& p) {
        // An arrow down onto a line: to the first post not read yet.
        p.setPen(QPen(Qt::black, 3.4, Qt::SolidLine, Qt::FlatCap));
        p.drawLine(QPointF(15, 3), QPointF(15, 15));
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::black);
        p.drawPolygon(QPolygonF({QPointF(7.5, 13), QPointF(22.5, 13), QPointF(15, 21)}));
        p.drawRoundedRect(QRectF(5, 23.5, 20, 3.4), 1.5, 1.5);
    });

    // ---- The moderation screens' tab items
    pictures.add("tab_delete.png", {30, 30}, [](QPainter& p) {
        // A bin with its lid.
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::black);
        p.drawRoundedRect(QRectF(5, 6, 20, 3.4), 1.2, 1.2);
        p.drawRect(QRectF(12, 3, 6, 3.5));
        QPainterPath bin;
        bin.moveTo(7, 11);
        bin.lineTo(23, 11);
        bin.lineTo(21.5, 27);
        bin.lineTo(8.5, 27);
        bin.closeSubpath();
        p.drawPath(bin);
    });
    pictures.add("tab_close.png", {30, 30}, [](QPainter& p) {
        // A padlock.
        p.setPen(QPen(Qt::black, 3.2));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(9, 3, 12, 15), 0, 180 * 16);
        p.drawLine(QPointF(9, 10.5), QPointF(9, 14));
        p.drawLine(QPointF(21, 10.5), QPointF(21, 14));
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::black);
        p.drawRoundedRect(QRectF(5.5, 13, 19, 14), 2.5, 2.5);
    });
    pictures.add("tab_move.png", {30, 30}, [](QPainter& p) {
        // An arrow out of a box.
        p.setPen(QPen(Qt::black, 3, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPolyline(QPolygonF({QPointF(13, 8), QPointF(5, 8), QPointF(5, 26), QPointF(23, 26), QPointF(23, 18)}));
        p.drawLine(QPointF(12, 19), QPointF(22, 9));
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::black);
        p.drawPolygon(QPolygonF({QPointF(16, 3.5), QPointF(27, 3.5), QPointF(27, 14.5)}));
    });
    pictures.add("tab_approve.png", {30, 30}, [](QPainter& p) {
        p.setPen(QPen(Qt::black, 4.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPolyline(QPolygonF({QPointF(5, 16), QPointF(12, 23), QPointF(25, 7)}));
    });
    pictures.add("tab_stick.png", {30, 30}, [](QPainter& p) {
        // The push pin of a sticky thread.
        p.translate(15, 15);
        p.rotate(35);
        p.setPen(QPen(Qt::black, 2.4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(0, 2), QPointF(0, 13));
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::black);
        p.drawRoundedRect(QRectF(-7, -13, 14, 5), 2, 2);
        p.drawRect(QRectF(-4, -9, 8, 8));
        p.drawRoundedRect(QRectF(-9, -1.5, 18, 4), 1.5, 1.5);
    });
    pictures.add("tab_approve_attach.png", {30, 30}, [](QPainter& p) {
        // A paper clip with a tick.
        p.setPen(QPen(Qt::black, 2.6, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        QPainterPath clip;
        clip.moveTo(11, 10);
        clip.lineTo(11, 21);
        clip.arcTo(QRectF(7, 17, 8, 8), 180, 180);
        clip.lineTo(15, 6);
        clip.arcTo(QRectF(15, 2, 8, 8), 180, -180);
        clip.lineTo(23, 13);
        p.drawPath(clip);
        p.setPen(QPen(Qt::black, 3.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolyline(QPolygonF({QPointF(17, 21), QPointF(20.5, 24.5), QPointF(27, 16.5)}));
    });

    // ---- The home screen: the sorts (on the blue bar) and the content kinds
    pictures.add("star.png", {20, 20}, [](QPainter& p) {
        p.setPen(QPen(QColor(0xB8, 0x86, 0x0B), 0.8));
        p.setBrush(QColor(0xFF, 0xD5, 0x4F));
        p.drawPath(star(QPointF(10, 10.5), 8.5, 3.8));
    });
    pictures.add("icon_top.png", {20, 20}, [](QPainter& p) {
        // A flame.
        QPainterPath flame;
        flame.moveTo(10, 1.5);
        flame.cubicTo(15, 6, 17, 10, 16, 13.5);
        flame.cubicTo(15, 17.5, 12, 19, 10, 19);
        flame.cubicTo(7, 19, 4, 17, 4, 13);
        flame.cubicTo(4, 10, 6, 8, 7, 6);
        flame.cubicTo(7.5, 8, 8.5, 9, 9.5, 9);
        flame.cubicTo(9.5, 6, 9, 4, 10, 1.5);
        QLinearGradient g(0, 2, 0, 19);
        g.setColorAt(0, QColor(0xFF, 0xC1, 0x07));
        g.setColorAt(1, QColor(0xF4, 0x51, 0x1E));
        p.setPen(QPen(QColor(0xBF, 0x36, 0x0C), 0.8));
        p.setBrush(g);
        p.drawPath(flame);
    });
    pictures.add("icon_suscribed.png", {20, 20}, [](QPainter& p) {
        // A bookmark ribbon.
        QPainterPath mark;
        mark.moveTo(5, 2);
        mark.lineTo(15, 2);
        mark.lineTo(15, 18);
        mark.lineTo(10, 13.5);
        mark.lineTo(5, 18);
        mark.closeSubpath();
        p.setPen(QPen(QColor(0x1B, 0x5E, 0x20), 0.8));
        p.setBrush(QColor(0x66, 0xBB, 0x6A));
        p.drawPath(mark);
    });
    pictures.add("icon_thread.png", {16, 16}, [](QPainter& p) {
        p.setPen(Qt::NoPen);
        p.setBrush(kThemeBlue);
        p.drawPath(balloon(QRectF(1, 2, 14, 13)));
        p.setBrush(Qt::white);
        for (int i = 0; i < 3; ++i)
            p.drawEllipse(QRectF(4 + i * 3, 6.5, 1.8, 1.8));
    });
    pictures.add("icon_blog.png", {16, 16}, [](QPainter& p) {
        // A pen.
        p.translate(8, 8);
        p.rotate(45);
        p.setPen(Qt::NoPen);
        p.setBrush(kGreen);
        p.drawRoundedRect(QRectF(-2.2, -7, 4.4, 10), 1, 1);
        p.setBrush(kGreen.darker(140));
        p.drawPolygon(QPolygonF({QPointF(-2.2, 3.5), QPointF(2.2, 3.5), QPointF(0, 7.5)}));
    });
    pictures.add("icon_article.png", {16, 16}, [](QPainter& p) {
        // A page with lines.
        p.setPen(QPen(kAmber.darker(140), 0.8));
        p.setBrush(QColor(0xFF, 0xF8, 0xE1));
        p.drawRoundedRect(QRectF(2.5, 1.5, 11, 13), 1.5, 1.5);
        p.setPen(QPen(kAmber.darker(120), 1.1));
        for (int i = 0; i < 4; ++i)
            p.drawLine(QPointF(4.5, 4.5 + i * 2.6), QPointF(i == 3 ? 9 : 11.5, 4.5 + i * 2.6));
    });

    // ---- The content kinds of the general search
    pictures.add("search_post.png", {22, 22}, [](QPainter& p) {
        p.setPen(Qt::NoPen);
        p.setBrush(kThemeBlue);
        p.drawPath(balloon(QRectF(1, 3, 20, 17)));
        p.setBrush(Qt::white);
        for (int i = 0; i < 3; ++i)
            p.drawEllipse(QRectF(5.5 + i * 4, 8.5, 2.4, 2.4));
    });
    pictures.add("search_articles.png", {22, 22}, [](QPainter& p) {
        p.setPen(QPen(kAmber.darker(140), 1));
        p.setBrush(QColor(0xFF, 0xF8, 0xE1));
        p.drawRoundedRect(QRectF(3.5, 1.5, 15, 19), 2, 2);
        p.setPen(QPen(kAmber.darker(120), 1.4));
        for (int i = 0; i < 5; ++i)
            p.drawLine(QPointF(6.5, 5.5 + i * 3), QPointF(i == 4 ? 12 : 15.5, 5.5 + i * 3));
    });
    pictures.add("search_blog.png", {22, 22}, [](QPainter& p) {
        p.translate(11, 11);
        p.rotate(45);
        p.setPen(Qt::NoPen);
        p.setBrush(kGreen);
        p.drawRoundedRect(QRectF(-3, -9.5, 6, 14), 1.4, 1.4);
        p.setBrush(kGreen.darker(140));
        p.drawPolygon(QPolygonF({QPointF(-3, 4.8), QPointF(3, 4.8), QPointF(0, 10)}));
    });
    pictures.add("search_blog_comment.png", {22, 22}, [](QPainter& p) {
        // A balloon with a small pen over it.
        p.setPen(Qt::NoPen);
        p.setBrush(kGreen);
        p.drawPath(balloon(QRectF(1, 3, 20, 17)));
        p.translate(11, 10);
        p.rotate(45);
        p.setBrush(Qt::white);
        p.drawRoundedRect(QRectF(-1.6, -6, 3.2, 8.5), 0.8, 0.8);
        p.drawPolygon(QPolygonF({QPointF(-1.6, 3), QPointF(1.6, 3), QPointF(0, 5.6)}));
    });
}
