#include "platform/ui/ActionSheet.h"

#include "platform/ui/AlertDrawing.h"
#include "platform/ui/Animator.h"
#include "platform/ui/Font.h"
#include "platform/ui/TextLayout.h"
#include "platform/ui/Window.h"

#include <QKeyEvent>
#include <QLinearGradient>
#include <QPainter>
#include <QPointer>

namespace {
constexpr qreal kButtonHeight = 44;
constexpr qreal kGap = 8;
}

ActionSheet::ActionSheet(const QString& title, ActionSheetDelegate* delegate, const QString& cancelButtonTitle,
                         const QString& destructiveButtonTitle, const QStringList& otherButtonTitles)
    : m_title(title), m_delegate(delegate)
{
    setFocusPolicy(Qt::StrongFocus);
    if (!destructiveButtonTitle.isEmpty()) {
        m_destructiveIndex = 0;
        m_buttons.append(destructiveButtonTitle);
    }
    m_buttons.append(otherButtonTitles);
    if (!cancelButtonTitle.isEmpty()) {
        m_cancelIndex = int(m_buttons.size());
        m_buttons.append(cancelButtonTitle);
    }
}

int ActionSheet::firstOtherButtonIndex() const
{
    const int first = m_destructiveIndex == 0 ? 1 : 0;
    return first < m_buttons.size() && first != m_cancelIndex ? first : -1;
}

int ActionSheet::addButtonWithTitle(const QString& title)
{
    if (m_cancelIndex >= 0) {
        m_buttons.insert(m_cancelIndex, title);
        return m_cancelIndex++;
    }
    m_buttons.append(title);
    return int(m_buttons.size()) - 1;
}

qreal ActionSheet::panelHeight() const
{
    qreal h = 16;
    if (!m_title.isEmpty())
        h += TextLayout(m_title, Font::systemFontOfSize(13), 280).size().height() + 12;
    h += m_buttons.size() * (kButtonHeight + kGap);
    if (m_cancelIndex >= 0)
        h += 8;
    return h + 8;
}

QRectF ActionSheet::panelRect() const
{
    const QRectF b = bounds();
    const qreal h = panelHeight();
    return QRectF(0, b.bottom() - h * m_slide, b.width(), h);
}

QRectF ActionSheet::buttonRect(int index) const
{
    const QRectF panel = panelRect();
    qreal y = panel.top() + 16;
    if (!m_title.isEmpty())
        y += TextLayout(m_title, Font::systemFontOfSize(13), 280).size().height() + 12;
    for (int i = 0; i < m_buttons.size(); ++i) {
        if (i == m_cancelIndex)
            y += 8;
        if (i == index)
            return QRectF(20, y, panel.width() - 40, kButtonHeight);
        y += kButtonHeight + kGap;
    }
    return QRectF();
}

void ActionSheet::showInView(View* view)
{
    View* host = Window::keyWindow();
    if (!host || (view && view->rootView() != host))
        host = view;
    if (!host)
        return;
    setFrame(QRectF(QPointF(0, 0), host->frame().size()));
    host->addSubview(this);
    m_visible = true;
    setFocus(Qt::OtherFocusReason);
    QPointer<ActionSheet> self(this);
    Animator::BlockOptions options;
    options.durationMs = 300;
    Animator::shared().add(this, 40, {m_slide}, {1.0}, [self](const Animator::Values& v) {
        if (self) {
            self->m_slide = v[0];
            self->update();
        }
    }, &options);
}

void ActionSheet::dismissWithClickedButtonIndex(int buttonIndex, bool animated)
{
    if (!m_visible)
        return;
    m_visible = false;
    QPointer<ActionSheet> self(this);
    if (ActionSheetDelegate* d = m_delegate.get())
        d->clickedButtonAtIndex(this, buttonIndex);
    if (!self)
        return;
    if (ActionSheetDelegate* d = m_delegate.get())
        d->didDismissWithButtonIndex(this, buttonIndex);
    if (!self)
        return;
    Animator::shared().finish(this, 40);
    removeFromSuperview();
}

int ActionSheet::buttonAt(const QPointF& point) const
{
    for (int i = 0; i < m_buttons.size(); ++i) {
        if (buttonRect(i).contains(point))
            return i;
    }
    return -1;
}

void ActionSheet::touchesBegan(const QPointF& point)
{
    m_pressed = buttonAt(point);
    update();
}

void ActionSheet::touchesEnded(const QPointF& point)
{
    const int pressed = m_pressed;
    m_pressed = -1;
    update();
    if (pressed >= 0 && buttonAt(point) == pressed)
        dismissWithClickedButtonIndex(pressed, true);
}

void ActionSheet::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && m_cancelIndex >= 0) {
        dismissWithClickedButtonIndex(m_cancelIndex, true);
        return;
    }
    View::keyPressEvent(event);
}

void ActionSheet::drawRect(QPainter& painter, const QRectF& rect)
{
    painter.fillRect(rect, QColor(0, 0, 0, int(110 * m_slide)));
    const QRectF panel = panelRect();
    QLinearGradient g(panel.topLeft(), panel.bottomLeft());
    g.setColorAt(0, QColor(70, 76, 92, 235));
    g.setColorAt(1, QColor(22, 26, 36, 235));
    painter.fillRect(panel, g);
    painter.setPen(QColor(140, 146, 160));
    painter.drawLine(panel.topLeft() + QPointF(0, 0.5), panel.topRight() + QPointF(0, 0.5));
    if (!m_title.isEmpty()) {
        painter.setPen(QColor(210, 214, 222));
        const TextLayout t(m_title, Font::systemFontOfSize(13), 280);
        t.draw(painter, QRectF(20, panel.top() + 14, panel.width() - 40, t.size().height()), TextAlignment::Center);
    }
    for (int i = 0; i < m_buttons.size(); ++i) {
        const QRectF r = buttonRect(i);
        const auto kind = i == m_destructiveIndex ? AlertDrawing::ButtonKind::Destructive
                          : i == m_cancelIndex    ? AlertDrawing::ButtonKind::Cancel
                                                  : AlertDrawing::ButtonKind::Sheet;
        AlertDrawing::drawButton(painter, r, kind, i == m_pressed);
        const bool light = kind != AlertDrawing::ButtonKind::Sheet || i == m_pressed;
        const TextLayout label(m_buttons[i], Font::boldSystemFontOfSize(19), r.width() - 10, 1, 0,
                               LineBreakMode::TailTruncation);
        const QRectF tr(r.left() + 5, r.center().y() - label.lineHeight() / 2, r.width() - 10, label.lineHeight());
        painter.setPen(light ? QColor(Qt::white) : QColor(30, 30, 30));
        label.draw(painter, tr, TextAlignment::Center);
    }
}
