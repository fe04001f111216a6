#include "platform/ui/ViewPresentation.h"

#include "platform/ui/Animator.h"
#include "platform/ui/View.h"
#include "platform/ui/ViewEffect.h"

#include <QPointer>

#include <cmath>

namespace {

// Halves round up on both sides of zero, so that a frame of whole size keeps
// its size wherever it lies: qRound takes -22.5 to -23 and 134.5 to 135, which
// made a row straddling the top edge a pixel taller than it draws, and an
// opaque one left that pixel row to whatever was there before.
int roundHalfUp(qreal v)
{
    return int(std::floor(v + 0.5));
}

QRect widgetRect(const QRectF& r)
{
    const int left = roundHalfUp(r.left());
    const int top = roundHalfUp(r.top());
    return QRect(left, top, qMax(0, roundHalfUp(r.right()) - left), qMax(0, roundHalfUp(r.bottom()) - top));
}

Animator::Values rectValues(const QRectF& r)
{
    return {r.x(), r.y(), r.width(), r.height()};
}

}  // namespace

void ViewPresentation::showFrame(const QRectF& frame)
{
    const QRectF from = m_frame;
    if (Animator::shared().currentBlock() && from != frame) {
        QPointer<View> view(&m_view);
        Animator::shared().add(&m_view, FrameProperty, rectValues(from), rectValues(frame),
                               [this, view](const Animator::Values& v) {
                                   if (!view)
                                       return;
                                   m_frame = QRectF(v[0], v[1], v[2], v[3]);
                                   placeWidget();
                               });
    } else {
        if (Animator::shared().isAnimating(&m_view, FrameProperty))
            Animator::shared().finish(&m_view, FrameProperty);
        m_frame = frame;
        placeWidget();
    }
}

void ViewPresentation::showAlpha(qreal alpha)
{
    QPointer<View> view(&m_view);
    Animator::shared().add(&m_view, AlphaProperty, {m_alpha}, {alpha}, [this, view](const Animator::Values& v) {
        if (!view)
            return;
        m_alpha = v[0];
        updateEffect();
    });
}

void ViewPresentation::showTransform(const ViewTransform& transform)
{
    const ViewTransform from = m_transform;
    auto values = [](const ViewTransform& t) {
        return Animator::Values{t.scaleX, t.scaleY, t.rotation, t.translateX, t.translateY};
    };
    QPointer<View> view(&m_view);
    Animator::shared().add(&m_view, TransformProperty, values(from), values(transform),
                           [this, view](const Animator::Values& v) {
                               if (!view)
                                   return;
                               m_transform = ViewTransform{v[0], v[1], v[2], v[3], v[4]};
                               updateEffect();
                           });
}

void ViewPresentation::placeWidget()
{
    QPointF offset;
    if (View* s = m_view.superview())
        offset = s->bounds().topLeft();
    m_view.setGeometry(widgetRect(m_frame.translated(-offset)));
    updateOpaquePaint();
}

// A view whose opaque background fills every pixel of its widget tells Qt
// so: the views beneath it are then not painted where it lies, as nothing of
// them would show.
void ViewPresentation::updateOpaquePaint()
{
    const auto whole = [](qreal v) { return v == std::floor(v); };
    const QRectF& f = m_frame;
    const QColor background = m_view.backgroundColor();
    const bool covers = background.isValid() && background.alpha() == 255 && !m_effect && whole(f.x())
                        && whole(f.y()) && whole(f.width()) && whole(f.height());
    if (m_view.testAttribute(Qt::WA_OpaquePaintEvent) != covers)
        m_view.setAttribute(Qt::WA_OpaquePaintEvent, covers);
}

void ViewPresentation::updateEffect()
{
    const bool needed = m_alpha < 0.999 || !m_transform.isIdentity();
    if (!needed) {
        if (m_effect) {
            m_effect = nullptr;
            m_view.setGraphicsEffect(nullptr);
            updateOpaquePaint();
        }
        return;
    }
    if (!m_effect) {
        m_effect = new ViewEffect(&m_view);
        m_view.setGraphicsEffect(m_effect);
        updateOpaquePaint();
    }
    m_effect->setOpacity(m_alpha);
    m_effect->setTransform(m_transform.toQTransform(QPointF(m_view.width() / 2.0, m_view.height() / 2.0)));
}
