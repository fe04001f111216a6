#pragma once

#include "platform/ui/View.h"

#include "platform/foundation/ClockTimer.h"

#include <QImage>
#include <QList>

// Shows a picture placed by the content mode, or plays a sequence of pictures
// on the one clock.
class ImageView : public View {
    Q_OBJECT
public:
    explicit ImageView(const QRectF& frame = QRectF());
    // Sized to the picture, at (0, 0).
    explicit ImageView(const QImage& image);

    QImage image() const { return m_image; }
    void setImage(const QImage& image);
    // A bundle picture by name; a missing picture shows nothing.
    void setImageNamed(const QString& name);
    QImage highlightedImage() const { return m_highlightedImage; }
    void setHighlightedImage(const QImage& image);
    bool isHighlighted() const { return m_highlighted; }
    void setHighlighted(bool highlighted);

    QList<QImage> animationImages() const { return m_animationImages; }
    void setAnimationImages(const QList<QImage>& images);
    // One cycle through the pictures, in seconds; 0 means 1/30 s a picture.
    double animationDuration() const { return m_animationDuration; }
    void setAnimationDuration(double seconds);
    // 0 repeats for ever.
    int animationRepeatCount() const { return m_repeatCount; }
    void setAnimationRepeatCount(int count) { m_repeatCount = count; }
    void startAnimating();
    void stopAnimating();
    bool isAnimating() const { return m_frameTimer.isActive(); }
    int currentAnimationFrame() const { return m_frame; }

    QSizeF sizeThatFits(const QSizeF& size) const override;
    void drawRect(QPainter& painter, const QRectF& rect) override;

    // Draws a picture in a rectangle as a content mode places it.
    static void drawImage(QPainter& painter, const QImage& image, const QRectF& rect, ContentMode mode);

private:
    void nextFrame();

    QImage m_image;
    QImage m_highlightedImage;
    QList<QImage> m_animationImages;
    double m_animationDuration = 0;
    int m_repeatCount = 0;
    int m_frame = 0;
    int m_cycles = 0;
    bool m_highlighted = false;
    ClockTimer m_frameTimer;
};
