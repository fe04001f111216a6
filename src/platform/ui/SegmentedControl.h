#pragma once

#include "platform/ui/Control.h"

#include <QList>
#include <QStringList>

enum class SegmentedControlStyle { Plain = 0, Bordered = 1, Bar = 2 };

// A row of segments, one of which may be selected (-1: none). A tap selects
// a segment and sends ValueChanged; setting the selection in code sends
// nothing. Segments may be disabled one by one.
class SegmentedControl : public Control {
    Q_OBJECT
public:
    static constexpr int NoSegment = -1;

    explicit SegmentedControl(const QStringList& items = {});

    int numberOfSegments() const { return int(m_segments.size()); }
    void insertSegmentWithTitle(const QString& title, int segment, bool animated = false);
    void removeSegmentAtIndex(int segment, bool animated = false);
    void removeAllSegments();
    QString titleForSegmentAtIndex(int segment) const;
    void setTitle(const QString& title, int segment);
    void setEnabledForSegmentAtIndex(bool enabled, int segment);
    bool isEnabledForSegmentAtIndex(int segment) const;
    void setWidth(qreal width, int segment);

    virtual int selectedSegmentIndex() const { return m_selected; }
    void setSelectedSegmentIndex(int index);
    bool isMomentary() const { return m_momentary; }
    void setMomentary(bool momentary) { m_momentary = momentary; }
    SegmentedControlStyle segmentedControlStyle() const { return m_style; }
    void setSegmentedControlStyle(SegmentedControlStyle style);
    QColor tintColor() const { return m_tint; }
    void setTintColor(const QColor& tint);
    // Taps a segment as the user does.
    void tapSegment(int segment);
    QRectF rectForSegment(int segment) const;

    // Left and Right move the selection, as taps on the segments beside do;
    // Space and Return tap the selected segment, or the first when none is.
    bool acceptsKeyboardFocus() const override;
    QSizeF sizeThatFits(const QSizeF& size) const override;
    void drawRect(QPainter& painter, const QRectF& rect) override;
    void touchesEnded(const QPointF& point) override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void pressedByKeyboard() override;

private:
    // The enabled segment a step from the selected one (from outside the
    // row when none is selected), or NoSegment.
    int enabledSegmentFrom(int step) const;

    struct Segment {
        QString title;
        bool enabled = true;
        qreal width = 0;
    };
    QList<Segment> m_segments;
    int m_selected = NoSegment;
    bool m_momentary = false;
    SegmentedControlStyle m_style = SegmentedControlStyle::Bordered;
    QColor m_tint;
};
