#pragma once

#include "platform/ui/LineBreakMode.h"
#include "platform/ui/TextAlignment.h"
#include "platform/ui/TextLayout.h"
#include "platform/ui/View.h"

#include <QFont>
#include <QString>

#include <optional>

// A read-only text: font, colour, alignment, a line count (0 for as many as
// the height holds) and a line-break mode. The lines it draws are the lines
// StringDrawing measures, drawn centred vertically in the bounds.
class Label : public View {
    Q_OBJECT
public:
    explicit Label(const QRectF& frame = QRectF());
    // A transparent, centred label that wraps its words on as many lines as
    // they take: the headline and sentence of an empty or failed list.
    static Label* centredParagraph(const QFont& font, const QColor& color);

    QString text() const { return m_text; }
    void setText(const QString& text);
    QFont font() const { return m_font; }
    void setFont(const QFont& font);
    QColor textColor() const { return m_textColor; }
    void setTextColor(const QColor& color);
    QColor highlightedTextColor() const { return m_highlightedTextColor; }
    void setHighlightedTextColor(const QColor& color);
    bool isHighlighted() const { return m_highlighted; }
    void setHighlighted(bool highlighted);
    bool isEnabled() const { return m_enabled; }
    void setEnabled(bool enabled);
    QColor shadowColor() const { return m_shadowColor; }
    void setShadowColor(const QColor& color);
    QSizeF shadowOffset() const { return m_shadowOffset; }
    void setShadowOffset(const QSizeF& offset);
    TextAlignment textAlignment() const { return m_alignment; }
    void setTextAlignment(TextAlignment alignment);
    int numberOfLines() const { return m_numberOfLines; }
    void setNumberOfLines(int lines);
    LineBreakMode lineBreakMode() const { return m_lineBreakMode; }
    void setLineBreakMode(LineBreakMode mode);
    // Single-line labels may shrink their font, down to the minimum, to fit the width.
    bool adjustsFontSizeToFitWidth() const { return m_adjustsFontSize; }
    void setAdjustsFontSizeToFitWidth(bool on);
    qreal minimumFontSize() const { return m_minimumFontSize; }
    void setMinimumFontSize(qreal size);

    // The size of the text's lines: one line for a single-line label, else
    // wrapped at the given width (a height of 0 or less: no height limit).
    QSizeF sizeThatFits(const QSizeF& size) const override;
    // The lines as drawn in the current bounds.
    TextLayout currentLayout() const;
    // The rectangle the text is drawn in, within the bounds.
    QRectF textRectForBounds(const QRectF& bounds) const;

    void drawRect(QPainter& painter, const QRectF& rect) override;

private:
    const TextLayout& layoutFor(qreal width, qreal height) const;
    QFont fittedFont(qreal width) const;

    QString m_text;
    QFont m_font;
    QColor m_textColor = Qt::black;
    QColor m_highlightedTextColor;
    QColor m_shadowColor;
    QSizeF m_shadowOffset = QSizeF(0, -1);
    TextAlignment m_alignment = TextAlignment::Left;
    LineBreakMode m_lineBreakMode = LineBreakMode::TailTruncation;
    int m_numberOfLines = 1;
    qreal m_minimumFontSize = 0;
    bool m_adjustsFontSize = false;
    bool m_highlighted = false;
    bool m_enabled = true;
    // The last lay-out drawn, kept while the text, font, lines and size stay.
    mutable std::optional<TextLayout> m_layout;
    mutable QSizeF m_layoutSize;
};
