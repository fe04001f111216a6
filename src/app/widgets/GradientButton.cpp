#include "app/widgets/GradientButton.h"

#include "app/config/Customizer.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

GradientButton::GradientButton(const QRectF& frame) : Button(frame, ButtonType::Custom)
{
    setOpaque(false);
    setBackgroundColor(Qt::transparent);
}

GradientButton::GradientButton(const QRectF& frame, const Archive& archive) : GradientButton(frame)
{
    m_normalColors = archive.normalGradientColors;
    m_normalLocations = archive.normalGradientLocations;
    m_highlightColors = archive.highlightGradientColors;
    m_highlightLocations = archive.highlightGradientLocations;
    m_strokeColor = QColor::fromRgbF(0.076f, 0.103f, 0.195f, 1.0f);
    m_strokeWeight = 1.0;
    if (m_normalColors.isEmpty())
        useRedDeleteStyle();
    setBackgroundColor(QColor(255, 255, 255, 0));
}

GradientButton::Archive GradientButton::archive() const
{
    return Archive{m_normalColors, m_normalLocations, m_highlightColors, m_highlightLocations};
}

void GradientButton::useRedDeleteStyle()
{
    const QList<QColor> c = Customizer::getInstance().buttonColorsGradient();
    if (c.size() < 6)
        return;
    m_normalColors = {c[0], c[1], c[2], c[3], c[4]};
    m_normalLocations = {0.0, 1.0, 0.582, 0.418, 0.346};
    // Six pressed colours need six locations: they are spread evenly, colour
    // n at n/5, the lightest at the bottom edge and the darkest at the top.
    m_highlightColors = {c[0], c[1], c[2], c[3], c[4], c[5]};
    m_highlightLocations = {0.0, 0.2, 0.4, 0.6, 0.8, 1.0};
    m_cornerRadius = 9.0;
    setTitleColor(Qt::white, ControlState::Normal);
    update();
}

void GradientButton::setCornerRadius(qreal radius)
{
    m_cornerRadius = radius;
    update();
}

void GradientButton::setStrokeWeight(qreal weight)
{
    m_strokeWeight = weight;
    update();
}

void GradientButton::setStrokeColor(const QColor& color)
{
    m_strokeColor = color;
    update();
}

QGradientStops GradientButton::build(const QList<QColor>& colors, const QList<qreal>& locations)
{
    QGradientStops stops;
    const int n = int(qMin(colors.size(), locations.size()));
    for (int i = 0; i < n; ++i)
        stops.append({float(locations[i]), colors[i]});
    std::stable_sort(stops.begin(), stops.end(), [](const QGradientStop& a, const QGradientStop& b) {
        return a.first < b.first;
    });
    return stops;
}

const QGradientStops& GradientButton::normalGradient()
{
    if (!m_normalGradient)
        m_normalGradient = build(m_normalColors, m_normalLocations);
    return *m_normalGradient;
}

const QGradientStops& GradientButton::highlightGradient()
{
    if (!m_highlightGradient)
        m_highlightGradient = build(m_highlightColors, m_highlightLocations);
    return *m_highlightGradient;
}

bool GradientButton::drawsHighlightedFace() const
{
    return state() == ControlState::Highlighted;
}

qreal GradientButton::pixelScale() const
{
    const qreal w = bounds().width();
    const qreal h = bounds().height();
    return 0.5 * (w / (w - 0.5) + (h > 0 ? h / h : 1));
}

qreal GradientButton::strokeWidth() const
{
    const qreal p = pixelScale();
    qreal s = m_strokeWeight * p;
    s = s < 1 ? std::ceil(s) : std::round(s);
    return s / p;
}

qreal GradientButton::snap(qreal c) const
{
    const qreal p = pixelScale();
    const qreal a = std::fmod(0.5 * strokeWidth() * p, 1.0);
    return (std::round(p * c + a) - a) / p;
}

void GradientButton::drawRect(QPainter& painter, const QRectF& rect)
{
    const qreal w = rect.width();
    const qreal h = rect.height();
    if (w <= 0.5 || h <= 0)
        return;
    const qreal r = m_cornerRadius;
    auto P = [this](qreal x, qreal y) { return QPointF(snap(x), snap(y)); };
    QPainterPath path;
    path.setFillRule(Qt::OddEvenFill);
    path.moveTo(P(w - r, h - 0.5));
    path.cubicTo(P(w - r / 2, h - 0.5), P(w - 0.5, h - r / 2), P(w - 0.5, h - r));
    path.lineTo(P(w - 0.5, r));
    path.cubicTo(P(w - 0.5, r / 2), P(w - r / 2, 0), P(w - r, 0));
    path.lineTo(P(r, 0));
    path.cubicTo(P(r / 2, 0), P(0, r / 2), P(0, r));
    path.lineTo(P(0, h - r));
    path.cubicTo(P(0, h - r / 2), P(r / 2, h - 0.5), P(r, h - 0.5));
    path.lineTo(P(w - r, h - 0.5));
    path.closeSubpath();
    path.translate(rect.topLeft());

    const QGradientStops& stops = drawsHighlightedFace() ? highlightGradient() : normalGradient();
    if (!stops.isEmpty()) {
        painter.save();
        painter.setClipPath(path);
        QLinearGradient gradient(rect.topLeft() + QPointF(w / 2, h - 0.5), rect.topLeft() + QPointF(w / 2, 0));
        gradient.setStops(stops);
        gradient.setSpread(QGradient::PadSpread);
        painter.fillRect(rect, gradient);
        painter.restore();
    }
    if (m_strokeWeight > 0 && m_strokeColor.isValid()) {
        QPen pen(m_strokeColor, strokeWidth(), Qt::SolidLine, Qt::SquareCap);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(path);
    }
}

void GradientButton::touchesBegan(const QPointF& point)
{
    Button::touchesBegan(point);
    update();
}

void GradientButton::touchesMoved(const QPointF& point)
{
    Button::touchesMoved(point);
    update();
}

void GradientButton::touchesEnded(const QPointF& point)
{
    Button::touchesEnded(point);
    update();
    m_hesitate = Clock::current().after(100, [this]() { hesitateUpdate(); });
}

void GradientButton::touchesCancelled()
{
    Button::touchesCancelled();
    update();
    m_hesitate = Clock::current().after(100, [this]() { hesitateUpdate(); });
}

void GradientButton::hesitateUpdate()
{
    update();
}
