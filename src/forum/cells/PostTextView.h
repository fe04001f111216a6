#pragma once

#include "platform/ui/LineBreakMode.h"
#include "platform/ui/TextLayout.h"
#include "platform/ui/View.h"

#include <QFont>
#include <QString>

#include <optional>

// A read-only text of as many lines as it needs, as a label without a line
// limit shows it: the lines are laid out once per text and width and kept,
// so drawing while a list scrolls never measures the text again.
class PostTextView : public View {
    Q_OBJECT
public:
    explicit PostTextView(const QRectF& frame = QRectF());
    ~PostTextView() override;

    QString text() const { return m_text; }
    void setText(const QString& text);
    QFont font() const { return m_font; }
    void setFont(const QFont& font);
    QColor textColor() const { return m_textColor; }
    void setTextColor(const QColor& color);

    // The height of the lines at the current width; the frame keeps its
    // origin and width.
    void sizeToFitCurrentWidth();
    // The height a view of the text takes at the width, measured as it lays
    // the text out (what a row reserves before any view exists).
    static qreal heightForText(const QString& text, const QFont& font, qreal width);
    QSizeF sizeThatFits(const QSizeF& size) const override;
    // Lay-outs made since the process started (the speed check's count).
    static qint64 layoutCount();
    // Forgets the lay-outs kept for texts measured and shown lately (the
    // speed check measures a first page as if its texts had never been
    // shown). They go too with the last post text view or Holder, so that
    // none outlives the screens.
    static void forgetKeptLayouts();

    // While one lives, the lay-outs that measure row heights are kept for
    // the views that draw those rows: a table measures every row before any
    // of them has a view. A screen's row heights hold one.
    class Holder {
    public:
        Holder();
        Holder(const Holder&);
        Holder& operator=(const Holder&) = default;
        ~Holder();
    };
    // The lines as drawn from the view's top left, at the current width.
    const TextLayout& currentLayout() const { return layout(); }

    void drawRect(QPainter& painter, const QRectF& rect) override;

private:
    const TextLayout& layout() const;
    // The lines of a text as every post text lays them out.
    static TextLayout linesOf(const QString& text, const QFont& font, qreal width);
    // The same, laid out once while kept: measuring a row and drawing it
    // share one lay-out.
    static TextLayout keptLinesOf(const QString& text, const QFont& font, qreal width);

    QString m_text;
    QFont m_font;
    QColor m_textColor = Qt::black;
    mutable std::optional<TextLayout> m_layout;
    mutable qreal m_layoutWidth = -1;
};
