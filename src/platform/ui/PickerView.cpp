#include "platform/ui/PickerView.h"

#include "platform/ui/Drawing.h"
#include "platform/ui/Font.h"
#include "platform/ui/TextLayout.h"

#include "platform/foundation/Clock.h"

#include <QKeyEvent>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPointer>
#include <QWheelEvent>

#include <utility>

PickerView::PickerView(const QRectF& frame) : View(frame)
{
    setAutoresizingMask(Autoresizing::FlexibleWidth);
    setFocusPolicy(Qt::StrongFocus);
}

void PickerView::reloadAllComponents()
{
    PickerViewDataSource* source = m_dataSource.get();
    const int components = source ? qMax(0, source->numberOfComponentsInPickerView(this)) : 0;
    QList<int> selected;
    m_rows.clear();
    for (int c = 0; c < components; ++c) {
        const int rows = qMax(0, source->numberOfRowsInComponent(this, c));
        m_rows.append(rows);
        const int keep = c < m_selected.size() ? m_selected[c] : 0;
        selected.append(rows == 0 ? -1 : qBound(0, keep, rows - 1));
    }
    m_selected = selected;
    m_keyboardComponent = qBound(0, m_keyboardComponent, qMax(0, components - 1));
    update();
}

void PickerView::reloadComponent(int)
{
    reloadAllComponents();
}

int PickerView::numberOfRowsInComponent(int component) const
{
    return m_rows.value(component, 0);
}

void PickerView::selectRow(int row, int component, bool)
{
    if (component < 0 || component >= m_selected.size())
        return;
    const int rows = numberOfRowsInComponent(component);
    m_selected[component] = rows == 0 ? -1 : qBound(0, row, rows - 1);
    update();
}

int PickerView::selectedRowInComponent(int component) const
{
    return m_selected.value(component, -1);
}

void PickerView::pickRow(int row, int component)
{
    if (component < 0 || component >= m_selected.size() || numberOfRowsInComponent(component) == 0)
        return;
    selectRow(row, component, true);
    if (PickerViewDelegate* d = m_delegate.get())
        d->didSelectRow(this, m_selected[component], component);
}

QRectF PickerView::componentRect(int component) const
{
    const QRectF inner = bounds().adjusted(12, 10, -12, -10);
    const int n = numberOfComponents();
    if (n == 0)
        return QRectF();
    PickerViewDelegate* d = m_delegate.get();
    QList<qreal> widths;
    qreal fixed = 0;
    int flexible = 0;
    for (int c = 0; c < n; ++c) {
        const qreal w = d ? d->widthForComponent(const_cast<PickerView*>(this), c) : 0;
        widths.append(w);
        fixed += w;
        flexible += w > 0 ? 0 : 1;
    }
    const qreal share = flexible ? qMax<qreal>(0, inner.width() - fixed - 4 * (n - 1)) / flexible : 0;
    qreal x = inner.left();
    for (int c = 0; c < n; ++c) {
        const qreal w = widths[c] > 0 ? widths[c] : share;
        if (c == component)
            return QRectF(x, inner.top(), w, inner.height());
        x += w + 4;
    }
    return QRectF();
}

int PickerView::componentAt(const QPointF& point) const
{
    for (int c = 0; c < numberOfComponents(); ++c) {
        if (componentRect(c).contains(point))
            return c;
    }
    return -1;
}

void PickerView::touchesEnded(const QPointF& point)
{
    const int c = componentAt(point);
    if (c < 0)
        return;
    // A click decides: a turn of the wheel still waiting to rest is dropped.
    m_wheelRest.cancel();
    m_wheelComponent = -1;
    const qreal middle = bounds().center().y();
    const int offset = int(std::floor((point.y() - middle + kRowHeight / 2) / kRowHeight));
    pickRow(m_selected[c] + offset, c);
}

void PickerView::wheelEvent(QWheelEvent* event)
{
    const int c = componentAt(event->position());
    if (c < 0 || event->angleDelta().y() == 0 || numberOfRowsInComponent(c) == 0) {
        event->ignore();
        return;
    }
    if (c != m_wheelComponent) {
        wheelRested();
        m_wheelComponent = c;
        m_wheelStartRow = m_selected[c];
        m_wheelDelta = 0;
    }
    // A notch is 120; a touchpad sends it in smaller parts.
    m_wheelDelta += event->angleDelta().y();
    const int notches = m_wheelDelta / 120;
    m_wheelDelta -= notches * 120;
    if (notches != 0)
        selectRow(m_selected[c] - notches, c, true);
    m_wheelRest = Clock::current().after(kWheelRestMs, [this]() { wheelRested(); });
    event->accept();
}

void PickerView::wheelRested()
{
    m_wheelRest.cancel();
    const int c = std::exchange(m_wheelComponent, -1);
    if (c < 0 || c >= m_selected.size() || m_selected[c] == m_wheelStartRow)
        return;
    QPointer<PickerView> self(this);
    m_pickingByWheel = true;
    if (PickerViewDelegate* d = m_delegate.get())
        d->didSelectRow(this, m_selected[c], c);
    if (self)
        m_pickingByWheel = false;
}

void PickerView::keyPressEvent(QKeyEvent* event)
{
    const int c = m_keyboardComponent;
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
        if (c < numberOfComponents())
            pickRow(m_selected[c] + (event->key() == Qt::Key_Down ? 1 : -1), c);
        break;
    case Qt::Key_Left:
    case Qt::Key_Right:
        m_keyboardComponent = qBound(0, c + (event->key() == Qt::Key_Right ? 1 : -1), qMax(0, numberOfComponents() - 1));
        update();
        break;
    default:
        View::keyPressEvent(event);
        return;
    }
    event->accept();
}

void PickerView::focusInEvent(QFocusEvent* event)
{
    View::focusInEvent(event);
    update();
}

void PickerView::focusOutEvent(QFocusEvent* event)
{
    View::focusOutEvent(event);
    update();
}

void PickerView::drawRect(QPainter& painter, const QRectF& rect)
{
    // The frame around the wheels.
    QLinearGradient frame(rect.topLeft(), rect.bottomLeft());
    frame.setColorAt(0, QColor(112, 116, 128));
    frame.setColorAt(1, QColor(40, 42, 52));
    painter.fillRect(rect, frame);
    PickerViewDelegate* d = m_delegate.get();
    const qreal middle = rect.center().y();
    const QFont font = Font::boldSystemFontOfSize(20);
    for (int c = 0; c < numberOfComponents(); ++c) {
        const QRectF r = componentRect(c);
        QLinearGradient wheel(r.topLeft(), r.bottomLeft());
        wheel.setColorAt(0, QColor(160, 160, 160));
        wheel.setColorAt(0.2, QColor(245, 245, 245));
        wheel.setColorAt(0.8, QColor(245, 245, 245));
        wheel.setColorAt(1, QColor(160, 160, 160));
        painter.fillRect(r, wheel);
        painter.save();
        painter.setClipRect(r);
        const int selected = m_selected[c];
        for (int row = qMax(0, selected - 3); row <= qMin(numberOfRowsInComponent(c) - 1, selected + 3); ++row) {
            const qreal y = middle + (row - selected) * kRowHeight - kRowHeight / 2;
            const QString title = d ? d->titleForRow(this, row, c) : QString();
            const TextLayout text(title, font, r.width() - 16, 1, 0, LineBreakMode::TailTruncation);
            painter.setPen(QColor(20, 20, 20));
            text.draw(painter, QRectF(r.left() + 8, y + (kRowHeight - text.lineHeight()) / 2, r.width() - 16,
                                      text.lineHeight()), TextAlignment::Left);
        }
        // The wheel curves away: rows fade into shade towards its edges.
        QLinearGradient shade(r.topLeft(), r.bottomLeft());
        shade.setColorAt(0, QColor(60, 60, 60, 190));
        shade.setColorAt(0.3, QColor(60, 60, 60, 0));
        shade.setColorAt(0.7, QColor(60, 60, 60, 0));
        shade.setColorAt(1, QColor(60, 60, 60, 190));
        painter.fillRect(r, shade);
        painter.restore();
        painter.setPen(QColor(70, 70, 70));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(r.adjusted(0.5, 0.5, -0.5, -0.5));
    }
    // The glass band over the chosen rows.
    const QRectF band(rect.left() + 8, middle - kRowHeight / 2, rect.width() - 16, kRowHeight);
    QLinearGradient glass(band.topLeft(), band.bottomLeft());
    glass.setColorAt(0, QColor(220, 228, 255, 120));
    glass.setColorAt(0.5, QColor(150, 160, 210, 90));
    glass.setColorAt(0.5001, QColor(110, 120, 190, 100));
    glass.setColorAt(1, QColor(140, 150, 210, 90));
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath bandPath;
    bandPath.addRoundedRect(band, 3, 3);
    painter.fillPath(bandPath, glass);
    painter.setPen(QPen(QColor(90, 98, 140), 1));
    painter.drawPath(bandPath);
    // The wheel the arrows turn, while the keyboard is here.
    if (hasFocus() && m_keyboardComponent < numberOfComponents())
        Drawing::drawFocusMark(painter, componentRect(m_keyboardComponent).adjusted(-4, -4, 4, 4));
}
