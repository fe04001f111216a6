#pragma once

#include "platform/ui/ViewTransform.h"

#include <QRectF>

class View;
class ViewEffect;

// What a view shows at this moment: its frame, alpha and transform as far as
// an animation has moved them towards the view's own values, and the widget
// geometry and effect that show them. The view owns its presentation, which
// lives no longer than it.
class ViewPresentation {
public:
    ViewPresentation(View& view, const QRectF& frame) : m_view(view), m_frame(frame) {}

    QRectF frame() const { return m_frame; }
    qreal alpha() const { return m_alpha; }
    // Move to the view's new value: over the animation block being run, at
    // once outside one.
    void showFrame(const QRectF& frame);
    void showAlpha(qreal alpha);
    void showTransform(const ViewTransform& transform);

    // Places the widget at the presented frame in the superview's bounds.
    void placeWidget();
    // The effect shows an alpha or a transform; a plain view goes without.
    void updateEffect();
    bool hasEffect() const { return m_effect; }
    void updateOpaquePaint();

private:
    enum AnimatedProperty { FrameProperty = 1, AlphaProperty = 2, TransformProperty = 3 };

    View& m_view;
    QRectF m_frame;
    qreal m_alpha = 1;
    ViewTransform m_transform;
    ViewEffect* m_effect = nullptr;
};
