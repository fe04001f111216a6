#pragma once

#include "platform/ui/EdgeInsets.h"
#include "platform/ui/ScrollViewDelegate.h"
#include "platform/ui/View.h"

#include "platform/foundation/ClockTimer.h"

// A view whose content is larger than itself and moves under it. The content
// offset is the content point at the view's top left (its bounds origin).
// While the user drags past an edge the offset goes beyond the resting range
// (negative above the top), the content staying under the pointer; on release
// the content springs back, over the content inset, which extends the resting
// range (a pull-to-refresh band keeps a top inset while it loads).
//
// A mouse drag is a touch drag, also when it starts on a control inside (the
// control's touch is cancelled once the drag is recognised); the wheel and
// the arrow, page, home and end keys scroll too.
class ScrollView : public View {
    Q_OBJECT
public:
    // The fraction of the pointer's travel the content follows past an edge:
    // all of it. A finger feels a band's resistance; a mouse would only have
    // to travel twice as far (a pull of 65 points would take 130).
    static constexpr qreal kRubberBand = 1.0;
    // How far the mouse moves before a press becomes a drag, in points.
    static constexpr qreal kDragThreshold = 6;

    explicit ScrollView(const QRectF& frame = QRectF());

    ScrollViewDelegate* delegate() const { return m_delegate.get(); }
    void setDelegate(ScrollViewDelegate* delegate) { m_delegate = WeakRef<ScrollViewDelegate>(delegate); }

    QSizeF contentSize() const { return m_contentSize; }
    void setContentSize(const QSizeF& size);
    QPointF contentOffset() const { return boundsOrigin(); }
    void setContentOffset(const QPointF& offset);
    void setContentOffset(const QPointF& offset, bool animated);
    EdgeInsets contentInset() const { return m_contentInset; }
    // Takes effect at once; when the content then rests outside the new range
    // (and is not being dragged) it moves into it, animated inside an
    // animation block.
    void setContentInset(const EdgeInsets& inset);

    bool isScrollEnabled() const { return m_scrollEnabled; }
    void setScrollEnabled(bool enabled) { m_scrollEnabled = enabled; }
    bool bounces() const { return m_bounces; }
    void setBounces(bool bounces) { m_bounces = bounces; }
    bool alwaysBounceVertical() const { return m_alwaysBounceVertical; }
    void setAlwaysBounceVertical(bool on) { m_alwaysBounceVertical = on; }
    bool alwaysBounceHorizontal() const { return m_alwaysBounceHorizontal; }
    void setAlwaysBounceHorizontal(bool on) { m_alwaysBounceHorizontal = on; }
    bool showsVerticalScrollIndicator() const { return m_showsIndicator; }
    void setShowsVerticalScrollIndicator(bool on) { m_showsIndicator = on; }
    void setShowsHorizontalScrollIndicator(bool) {}

    bool isDragging() const { return m_dragging; }
    bool isDecelerating() const { return m_decelerating; }
    bool isTracking() const { return m_dragging; }

    // The offsets the content rests between.
    QPointF minimumContentOffset() const;
    QPointF maximumContentOffset() const;
    QPointF clampedOffset(const QPointF& offset) const;
    // Scrolls just enough to show the rectangle (content coordinates).
    void scrollRectToVisible(const QRectF& rect, bool animated);

    // A drag, in window points: what the mouse does, and what tests call.
    void beginDragging(const QPointF& windowPoint);
    void dragTo(const QPointF& windowPoint);
    void endDragging();

    void drawRect(QPainter& painter, const QRectF& rect) override;

protected:
    // Called whenever the offset changed, before the delegate hears of it.
    virtual void contentOffsetDidChange() {}
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void boundsSizeDidChange() override;

private:
    enum { OffsetProperty = 20 };
    void applyOffset(const QPointF& offset);
    // Where the scroll indicator is drawn, in the widget's pixels.
    QRect indicatorStrip() const;
    void setDecelerating(bool decelerating);
    void animateOffset(const QPointF& target, qint64 durationMs, bool decelerating);
    bool canScrollVertically() const;
    bool canScrollHorizontally() const;
    qreal band(qreal raw, qreal low, qreal high) const;

    WeakRef<ScrollViewDelegate> m_delegate;
    QSizeF m_contentSize;
    EdgeInsets m_contentInset;
    bool m_scrollEnabled = true;
    bool m_bounces = true;
    bool m_alwaysBounceVertical = false;
    bool m_alwaysBounceHorizontal = false;
    bool m_showsIndicator = true;
    bool m_dragging = false;
    bool m_decelerating = false;
    QPointF m_dragStartPoint;
    QPointF m_dragStartOffset;
    QPointF m_lastPoint;
    qint64 m_lastMoveMs = 0;
    QPointF m_velocity;
    ClockTimer m_settleTimer;
};
