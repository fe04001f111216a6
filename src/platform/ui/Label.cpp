#include "platform/ui/Label.h"

#include "platform/ui/Font.h"

#include <QPainter>

Label::Label(const QRectF& frame) : View(frame), m_font(Font::systemFontOfSize(17))
{
    setOpaque(false);
    setUserInteractionEnabled(false);
}

Label* Label::centredParagraph(const QFont& font, const QColor& color)
{
    auto* label = new Label();
    label->setFont(font);
    label->setTextColor(color);
    label->setTextAlignment(TextAlignment::Center);
    label->setBackgroundColor(Qt::transparent);
    label->setOpaque(false);
    label->setLineBreakMode(LineBreakMode::WordWrap);
    label->setNumberOfLines(0);
    return label;
}

void Label::setText(const QString& text)
{
    if (m_text == text)
        return;
    m_text = text;
    m_layout.reset();
    update();
}

void Label::setFont(const QFont& font)
{
    m_font = font;
    m_layout.reset();
    update();
}

void Label::setTextColor(const QColor& color)
{
    if (color == m_textColor)
        return;
    m_textColor = color;
    update();
}

void Label::setHighlightedTextColor(const QColor& color)
{
    if (color == m_highlightedTextColor)
        return;
    m_highlightedTextColor = color;
    update();
}

void Label::setHighlighted(bool highlighted)
{
    if (highlighted == m_highlighted)
        return;
    m_highlighted = highlighted;
    update();
}

void Label::setEnabled(bool enabled)
{
    m_enabled = enabled;
    update();
}

void Label::setShadowColor(const QColor& color)
{
    m_shadowColor = color;
    update();
}

void Label::setShadowOffset(const QSizeF& offset)
{
    m_shadowOffset = offset;
    update();
}

void Label::setTextAlignment(TextAlignment alignment)
{
    m_alignment = alignment;
    update();
}

void Label::setNumberOfLines(int lines)
{
    m_numberOfLines = qMax(0, lines);
    m_layout.reset();
    update();
}

void Label::setLineBreakMode(LineBreakMode mode)
{
    m_lineBreakMode = mode;
    m_layout.reset();
    update();
}

void Label::setAdjustsFontSizeToFitWidth(bool on)
{
    m_adjustsFontSize = on;
    m_layout.reset();
    update();
}

void Label::setMinimumFontSize(qreal size)
{
    m_minimumFontSize = size;
    m_layout.reset();
    update();
}

QFont Label::fittedFont(qreal width) const
{
    if (!m_adjustsFontSize || m_numberOfLines != 1)
        return m_font;
    QFont font = m_font;
    const int minimum = qMax(1, qRound(m_minimumFontSize > 0 ? m_minimumFontSize : 1));
    while (font.pixelSize() > minimum
           && TextLayout(m_text, font, 1e9, 1, 0, LineBreakMode::Clip).size().width() > width)
        font.setPixelSize(font.pixelSize() - 1);
    return font;
}

const TextLayout& Label::layoutFor(qreal width, qreal height) const
{
    if (!m_layout || m_layoutSize != QSizeF(width, height)) {
        m_layout.emplace(m_text, fittedFont(width), width, m_numberOfLines, height, m_lineBreakMode);
        m_layoutSize = QSizeF(width, height);
    }
    return *m_layout;
}

QSizeF Label::sizeThatFits(const QSizeF& size) const
{
    if (m_numberOfLines == 1)
        return TextLayout(m_text, m_font, 1e9, 1, 0, LineBreakMode::Clip).size();
    const qreal width = size.width() > 0 ? size.width() : 1e9;
    return TextLayout(m_text, m_font, width, m_numberOfLines, 0, m_lineBreakMode).size();
}

TextLayout Label::currentLayout() const
{
    return layoutFor(bounds().width(), bounds().height());
}

QRectF Label::textRectForBounds(const QRectF& b) const
{
    const TextLayout& layout = layoutFor(b.width(), b.height());
    const qreal h = layout.lineHeight() * layout.lineCount();
    return QRectF(b.x(), b.y() + (b.height() - h) / 2, b.width(), h);
}

void Label::drawRect(QPainter& painter, const QRectF& rect)
{
    if (m_text.isEmpty())
        return;
    // The kept lay-out itself, not a copy: a copy would measure its lines
    // again on every frame (right and centred texts need their widths).
    const TextLayout& layout = layoutFor(rect.width(), rect.height());
    const qreal h = layout.lineHeight() * layout.lineCount();
    const QRectF textRect(rect.x(), rect.y() + (rect.height() - h) / 2, rect.width(), h);
    painter.save();
    // Qt clips a view's painting to its widget already.
    if (rect != QRectF(QWidget::rect()))
        painter.setClipRect(rect);
    if (m_shadowColor.isValid() && m_shadowColor.alpha() > 0) {
        painter.setPen(m_shadowColor);
        layout.draw(painter, textRect.translated(m_shadowOffset.width(), m_shadowOffset.height()), m_alignment);
    }
    QColor color = (m_highlighted && m_highlightedTextColor.isValid()) ? m_highlightedTextColor : m_textColor;
    if (!m_enabled)
        color.setAlphaF(color.alphaF() * 0.45f);
    painter.setPen(color);
    layout.draw(painter, textRect, m_alignment);
    painter.restore();
}
