#include "platform/ui/StringDrawing.h"

#include "platform/ui/TextLayout.h"

#include <QPainter>

QSizeF StringDrawing::sizeWithFont(const QString& text, const QFont& font)
{
    return TextLayout(text, font, 1e9, 1, 0, LineBreakMode::Clip).size();
}

QSizeF StringDrawing::sizeWithFont(const QString& text, const QFont& font, const QSizeF& constrainedToSize,
                                   LineBreakMode lineBreakMode)
{
    return TextLayout(text, font, constrainedToSize.width(), 0, constrainedToSize.height(), lineBreakMode).size();
}

QSizeF StringDrawing::sizeWithFont(const QString& text, const QFont& font, qreal forWidth,
                                   LineBreakMode lineBreakMode)
{
    return TextLayout(text, font, forWidth, 1, 0, lineBreakMode).size();
}

QSizeF StringDrawing::drawInRect(QPainter& painter, const QString& text, const QRectF& rect, const QFont& font,
                                 LineBreakMode lineBreakMode, TextAlignment alignment)
{
    const TextLayout layout(text, font, rect.width(), 0, rect.height(), lineBreakMode);
    layout.draw(painter, rect, alignment);
    return layout.size();
}

QSizeF StringDrawing::drawAtPoint(QPainter& painter, const QString& text, const QPointF& point, const QFont& font)
{
    const TextLayout layout(text, font, 1e9, 1, 0, LineBreakMode::Clip);
    layout.draw(painter, QRectF(point, layout.size()), TextAlignment::Left);
    return layout.size();
}
