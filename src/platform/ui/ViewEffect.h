#pragma once

#include <QGraphicsEffect>
#include <QTransform>

// Shows a view with an opacity and a transform about its centre: the
// platform's layer alpha and transform, done when the view is painted.
class ViewEffect : public QGraphicsEffect {
    Q_OBJECT
public:
    explicit ViewEffect(QObject* parent = nullptr);

    void setOpacity(qreal opacity);
    qreal opacity() const { return m_opacity; }
    void setTransform(const QTransform& transform);

protected:
    QRectF boundingRectFor(const QRectF& sourceRect) const override;
    void draw(QPainter* painter) override;

private:
    qreal m_opacity = 1;
    QTransform m_transform;
};
