#pragma once

#include "platform/ui/Button.h"

#include "platform/foundation/ClockTimer.h"

#include <QColor>
#include <QGradientStops>
#include <QList>

#include <optional>

// The application's action button: a rounded face filled with a vertical
// gradient (one at rest, one while pressed) and outlined with a thin stroke
// snapped to whole device pixels.
class GradientButton : public Button {
    Q_OBJECT
public:
    // What a button laid out in an interface file carries.
    struct Archive {
        QList<QColor> normalGradientColors;
        QList<qreal> normalGradientLocations;
        QList<QColor> highlightGradientColors;
        QList<qreal> highlightGradientLocations;
    };

    // Made in code: no colours, stroke or radius until a style is given.
    explicit GradientButton(const QRectF& frame = QRectF());
    // Made from an interface file: the archived colours, the dark-blue stroke
    // of weight 1, and the preset style when no resting colours were archived.
    GradientButton(const QRectF& frame, const Archive& archive);
    Archive archive() const;

    // The preset style on the theme's six button colours.
    void useRedDeleteStyle();

    QList<QColor> normalGradientColors() const { return m_normalColors; }
    void setNormalGradientColors(const QList<QColor>& colors) { m_normalColors = colors; }
    QList<qreal> normalGradientLocations() const { return m_normalLocations; }
    void setNormalGradientLocations(const QList<qreal>& locations) { m_normalLocations = locations; }
    QList<QColor> highlightGradientColors() const { return m_highlightColors; }
    void setHighlightGradientColors(const QList<QColor>& colors) { m_highlightColors = colors; }
    QList<qreal> highlightGradientLocations() const { return m_highlightLocations; }
    void setHighlightGradientLocations(const QList<qreal>& locations) { m_highlightLocations = locations; }
    qreal cornerRadius() const { return m_cornerRadius; }
    void setCornerRadius(qreal radius);
    qreal strokeWeight() const { return m_strokeWeight; }
    void setStrokeWeight(qreal weight);
    QColor strokeColor() const { return m_strokeColor; }
    void setStrokeColor(const QColor& color);

    // Built from the colours and locations on first use, then kept.
    const QGradientStops& normalGradient();
    const QGradientStops& highlightGradient();
    // Whether the face drawn now is the pressed one: the state is exactly
    // "highlighted".
    bool drawsHighlightedFace() const;

    // The drawing's arithmetic, for a bounds size: the pixel scale, the
    // stroke width and the snapping of a coordinate.
    qreal pixelScale() const;
    qreal strokeWidth() const;
    qreal snap(qreal coordinate) const;

    void drawRect(QPainter& painter, const QRectF& rect) override;
    void touchesBegan(const QPointF& point) override;
    void touchesMoved(const QPointF& point) override;
    void touchesEnded(const QPointF& point) override;
    void touchesCancelled() override;

private:
    static QGradientStops build(const QList<QColor>& colors, const QList<qreal>& locations);
    void hesitateUpdate();

    QList<QColor> m_normalColors;
    QList<qreal> m_normalLocations;
    QList<QColor> m_highlightColors;
    QList<qreal> m_highlightLocations;
    qreal m_cornerRadius = 0;
    qreal m_strokeWeight = 0;
    QColor m_strokeColor;
    std::optional<QGradientStops> m_normalGradient;
    std::optional<QGradientStops> m_highlightGradient;
    ClockTimer m_hesitate;
};
