#pragma once

#include "platform/ui/LineBreakMode.h"
#include "platform/ui/TextAlignment.h"

#include <QFont>
#include <QRectF>
#include <QSizeF>
#include <QString>

class QPainter;

// Measuring and drawing a text in a font, as the platform's string category
// does; built on TextLayout, so it agrees with what labels show.
class StringDrawing {
public:
    // One line, no limit.
    static QSizeF sizeWithFont(const QString& text, const QFont& font);
    // Wrapped within the width and cut to the whole lines that fit the height
    // (a height of 0 or less means no limit).
    static QSizeF sizeWithFont(const QString& text, const QFont& font, const QSizeF& constrainedToSize,
                               LineBreakMode lineBreakMode = LineBreakMode::WordWrap);
    // One line cut to the width.
    static QSizeF sizeWithFont(const QString& text, const QFont& font, qreal forWidth, LineBreakMode lineBreakMode);

    // Draws wrapped in the rectangle from its top; answers the size taken.
    static QSizeF drawInRect(QPainter& painter, const QString& text, const QRectF& rect, const QFont& font,
                             LineBreakMode lineBreakMode = LineBreakMode::WordWrap,
                             TextAlignment alignment = TextAlignment::Left);
    // Draws one line from a point (its top left); answers the size taken.
    static QSizeF drawAtPoint(QPainter& painter, const QString& text, const QPointF& point, const QFont& font);
};
