#pragma once

#include "platform/ui/View.h"

#include "platform/foundation/ClockTimer.h"

// The platform's styles of the spinning sign; its numbering.
enum class ActivityIndicatorStyle {
    WhiteLarge = 0,
    White = 1,
    Gray = 2,
};

// The spinning "busy" sign: twelve spokes turning on the one clock. Hidden
// while stopped unless told otherwise.
class ActivityIndicatorView : public View {
    Q_OBJECT
public:
    explicit ActivityIndicatorView(ActivityIndicatorStyle style = ActivityIndicatorStyle::White);

    ActivityIndicatorStyle style() const { return m_style; }
    void setStyle(ActivityIndicatorStyle style);
    QColor color() const;
    void setColor(const QColor& color);
    bool hidesWhenStopped() const { return m_hidesWhenStopped; }
    void setHidesWhenStopped(bool hides);
    void startAnimating();
    void stopAnimating();
    bool isAnimating() const { return m_animating; }

    QSizeF sizeThatFits(const QSizeF& size) const override;
    void drawRect(QPainter& painter, const QRectF& rect) override;

private:
    ActivityIndicatorStyle m_style;
    QColor m_color;
    bool m_hidesWhenStopped = true;
    bool m_animating = false;
    int m_step = 0;
    ClockTimer m_timer;
};
