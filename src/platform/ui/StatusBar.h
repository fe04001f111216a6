#pragma once

#include "platform/ui/View.h"

#include "platform/foundation/ClockTimer.h"

class ActivityIndicatorView;

// The phone's status bar across the top of the window: the time, and the
// network-activity sign while the request layer has requests in flight.
class StatusBar : public View {
    Q_OBJECT
public:
    static constexpr qreal kHeight = 20;

    explicit StatusBar(const QRectF& frame = QRectF(0, 0, 320, kHeight));
    ~StatusBar() override;

    bool isNetworkActivityShown() const;
    void drawRect(QPainter& painter, const QRectF& rect) override;

private:
    void setNetworkActivity(bool visible);
    // Draws the time again as the next minute begins.
    void followTheMinute();

    ActivityIndicatorView* m_activity;
    ClockTimer m_minuteTimer;
};
