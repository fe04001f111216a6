#pragma once

#include "platform/ui/AnimationCurve.h"
#include "platform/ui/Autoresizing.h"
#include "platform/ui/ContentMode.h"
#include "platform/ui/TouchTracker.h"
#include "platform/ui/ViewCoordinates.h"
#include "platform/ui/ViewPresentation.h"
#include "platform/ui/ViewTransform.h"

#include "platform/foundation/Trackable.h"

#include <QColor>
#include <QList>
#include <QPointF>
#include <QRectF>
#include <QWidget>

#include <functional>

class ViewController;

// The platform's view: a rectangle placed by its frame in points in its
// superview, drawing itself and holding subviews. The window's points are the
// toolkit's logical pixels; the zoom factor scales them all.
//
// A view belongs to its superview; a view removed from its superview and not
// added to another one before the event loop turns is deleted then, as the
// platform frees a view nobody holds. A view controller owns its root view.
class View : public QWidget, public virtual Trackable {
    Q_OBJECT
public:
    explicit View(const QRectF& frame = QRectF());
    ~View() override;

    // Geometry, in the superview's bounds coordinates.
    QRectF frame() const { return m_frame; }
    virtual void setFrame(const QRectF& frame);
    // The view's own coordinates: the origin is (0, 0) but for scroll views,
    // whose bounds origin is their content offset.
    QRectF bounds() const { return QRectF(m_boundsOrigin, m_frame.size()); }
    void setBounds(const QRectF& bounds);
    QPointF center() const { return m_frame.center(); }
    void setCenter(const QPointF& center);
    const ViewTransform& transform() const { return m_transform; }
    void setTransform(const ViewTransform& transform);
    unsigned autoresizingMask() const { return m_autoresizingMask; }
    void setAutoresizingMask(unsigned mask) { m_autoresizingMask = mask; }
    bool autoresizesSubviews() const { return m_autoresizesSubviews; }
    void setAutoresizesSubviews(bool on) { m_autoresizesSubviews = on; }

    // Appearance.
    bool isHidden() const { return m_hidden; }
    void setHidden(bool hidden);
    qreal alpha() const { return m_alpha; }
    void setAlpha(qreal alpha);
    QColor backgroundColor() const { return m_backgroundColor; }
    virtual void setBackgroundColor(const QColor& color);
    bool isOpaque() const { return m_opaque; }
    virtual void setOpaque(bool opaque) { m_opaque = opaque; }
    ContentMode contentMode() const { return m_contentMode; }
    void setContentMode(ContentMode mode)
    {
        m_contentMode = mode;
        update();
    }
    bool clipsToBounds() const { return m_clipsToBounds; }
    void setClipsToBounds(bool clips) { m_clipsToBounds = clips; }
    int tag() const { return m_tag; }
    void setTag(int tag) { m_tag = tag; }
    bool isUserInteractionEnabled() const { return m_userInteractionEnabled; }
    void setUserInteractionEnabled(bool enabled);

    // The tree of views.
    View* superview() const { return qobject_cast<View*>(parentWidget()); }
    QList<View*> subviews() const;
    void addSubview(View* view);
    void insertSubview(View* view, int index);
    void insertSubviewBelow(View* view, View* sibling);
    void insertSubviewAbove(View* view, View* sibling);
    void removeFromSuperview();
    void bringSubviewToFront(View* view);
    void sendSubviewToBack(View* view);
    // This view or the first descendant, depth first, with the tag.
    View* viewWithTag(int tag);
    bool isDescendantOfView(const View* view) const;
    // Points and rectangles between views' coordinates; a null view is the
    // window's coordinates.
    QPointF convertPoint(const QPointF& point, const View* toView) const
    {
        return ViewCoordinates::convert(point, this, toView);
    }
    QPointF convertPointFrom(const QPointF& point, const View* fromView) const
    {
        return ViewCoordinates::convert(point, fromView, this);
    }
    QRectF convertRect(const QRectF& rect, const View* toView) const;
    // The view at the top of this view's tree (the window when shown).
    View* rootView();

    // Layout and drawing.
    virtual void layoutSubviews() {}
    void setNeedsLayout();
    void layoutIfNeeded();
    void setNeedsDisplay() { update(); }
    virtual QSizeF sizeThatFits(const QSizeF& size) const { return m_frame.size(); }
    void sizeToFit();
    // Draws the view's own content, in its bounds coordinates, over its
    // background colour.
    virtual void drawRect(QPainter& painter, const QRectF& rect) {}
    // Whether drawRect puts nothing down as things stand: such a view
    // without a background or a focus mark gets no painter (a row holds
    // several, painted on every frame). A plain view draws nothing.
    virtual bool drawsNothing() const;

    // The first responder: the view that takes the keyboard's input.
    virtual bool canBecomeFirstResponder() const { return false; }
    virtual bool becomeFirstResponder();
    virtual bool resignFirstResponder();
    virtual bool isFirstResponder() const { return hasFocus(); }
    // Makes the first responder in this subtree resign; answers whether one did.
    bool endEditing();
    // Whether Tab may give this view the keyboard's focus though it takes no
    // text (buttons, segmented controls): it then shows a focus mark and
    // answers its keys.
    virtual bool acceptsKeyboardFocus() const { return false; }
    // Whether the focus mark shows: the keyboard brought the focus here.
    bool showsFocusMark() const { return hasFocus() && acceptsKeyboardFocus(); }

    // Touches, in the view's bounds coordinates. A view that does not take a
    // touch (the default) passes it on to the next responder: the view
    // controller of a root view, then the superview.
    virtual void touchesBegan(const QPointF& point) { m_touches.passOn(TouchTracker::Began, point); }
    virtual void touchesMoved(const QPointF& point) { m_touches.passOn(TouchTracker::Moved, point); }
    virtual void touchesEnded(const QPointF& point) { m_touches.passOn(TouchTracker::Ended, point); }
    virtual void touchesCancelled() {}
    // Stops the touch this view is following (a scroll view took the drag over).
    void cancelTracking() { m_touches.cancel(); }
    bool isTracking() const { return m_touches.isTracking(); }

    // Animation blocks: frame, bounds, centre, alpha and transform changes made
    // in `animations` move over `duration` seconds.
    static void animate(double duration, const std::function<void()>& animations,
                        std::function<void(bool)> completion = {});
    static void animate(double duration, double delay, AnimationCurve curve, const std::function<void()>& animations,
                        std::function<void(bool)> completion = {});
    static void setAnimationsEnabled(bool enabled);

    // The view controller whose root view this is, or null.
    ViewController* viewController() const { return m_viewController.get(); }
    void setViewController(ViewController* controller);

    // What is shown at this moment (an animated frame or alpha moves towards
    // the model values above).
    QRectF presentationFrame() const { return m_presentation.frame(); }
    qreal presentationAlpha() const { return m_presentation.alpha(); }

protected:
    void setBoundsOrigin(const QPointF& origin);
    // Moves the bounds origin up or down by whole device pixels, moving what
    // is drawn with it, where the toolkit can (an opaque view, no fading or
    // transformed view around it): only what comes into view is drawn then.
    // Answers false, changing nothing, where it cannot. What the view draws
    // fixed to its bounds is then the caller's to draw again.
    bool scrollBoundsOrigin(const QPointF& origin);
    QPointF boundsOrigin() const { return m_boundsOrigin; }
    // Called after the size changed (before layoutSubviews).
    virtual void boundsSizeDidChange() {}
    // Called after a subview was added or moved in the stacking order.
    virtual void didAddSubview(View* subview) {}
    // Places the subviews' widgets after the bounds origin moved.
    void placeSubviews();
    // While drawRect runs: the part of the bounds being drawn (what is not
    // drawn there is kept or clipped away); the whole bounds otherwise.
    QRectF exposedRect() const { return m_exposed.isNull() ? bounds() : m_exposed; }
    // Space or Return on a view that took the keyboard's focus by Tab: a
    // press, once however long the key is held.
    virtual void pressedByKeyboard() {}
    // The focus mark's outline, in bounds coordinates.
    virtual QRectF focusMarkRect() const { return bounds(); }

    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override { m_touches.press(event); }
    void mouseMoveEvent(QMouseEvent* event) override { m_touches.move(event); }
    void mouseReleaseEvent(QMouseEvent* event) override { m_touches.release(event); }
    bool event(QEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    void placeWidget() { m_presentation.placeWidget(); }
    void autoresizeSubviews(const QSizeF& oldSize);
    void didAddToSuperview();

    QRectF m_frame;
    QRectF m_exposed;
    QPointF m_boundsOrigin;
    ViewTransform m_transform;
    qreal m_alpha = 1;
    QColor m_backgroundColor;
    ContentMode m_contentMode = ContentMode::ScaleToFill;
    unsigned m_autoresizingMask = Autoresizing::None;
    int m_tag = 0;
    bool m_hidden = false;
    bool m_opaque = true;
    bool m_clipsToBounds = false;
    bool m_autoresizesSubviews = true;
    bool m_userInteractionEnabled = true;
    bool m_needsLayout = false;
    ViewPresentation m_presentation{*this, m_frame};
    TouchTracker m_touches{*this};
    WeakRef<ViewController> m_viewController;
};
