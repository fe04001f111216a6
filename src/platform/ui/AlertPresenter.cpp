#include "platform/ui/AlertPresenter.h"

#include "platform/ui/AlertDrawing.h"
#include "platform/ui/Drawing.h"
#include "platform/ui/Font.h"
#include "platform/ui/TextField.h"
#include "platform/ui/TextLayout.h"
#include "platform/ui/Window.h"

#include "platform/foundation/AlertView.h"

#include <QApplication>
#include <QHash>
#include <QKeyEvent>
#include <QPainter>
#include <QPointer>

#include <algorithm>

namespace {

constexpr qreal kBoxWidth = 284;
constexpr qreal kButtonHeight = 43;

QHash<const AlertView*, QPointer<AlertOverlay>>& overlays()
{
    static QHash<const AlertView*, QPointer<AlertOverlay>> table;
    return table;
}

QFont titleFont()
{
    return Font::boldSystemFontOfSize(18);
}

QFont messageFont()
{
    return Font::systemFontOfSize(16);
}

}  // namespace

AlertOverlay::AlertOverlay(const std::shared_ptr<AlertView>& alert, const QRectF& frame) : View(frame), m_alert(alert)
{
    setFocusPolicy(Qt::StrongFocus);
    if (alert->hasTextField()) {
        m_field = new TextField();
        m_field->setBorderStyle(TextBorderStyle::RoundedRect);
        m_field->setPlaceholder(alert->textFieldPlaceholder());
        m_field->setSecureTextEntry(alert->isTextFieldSecure());
        m_field->setText(alert->textFieldText());
        m_field->setReturnKeyType(ReturnKeyType::Done);
        std::weak_ptr<AlertView> weak = alert;
        m_field->addAction([weak](Control* c) {
            if (auto a = weak.lock())
                a->setTextFieldText(static_cast<TextField*>(c)->text());
        }, ControlEvent::EditingChanged);
        addSubview(m_field);
    }
    layoutBox();
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) { keepFocus(now); });
}

void AlertOverlay::keepFocus(QWidget* now)
{
    if (!isVisible() || now == this || isAncestorOf(now) || !isTopAlert())
        return;
    setFocus(Qt::OtherFocusReason);
}

bool AlertOverlay::isTopAlert() const
{
    const QWidget* parent = parentWidget();
    if (!parent)
        return false;
    const QObjectList& layers = parent->children();
    for (qsizetype i = layers.indexOf(const_cast<AlertOverlay*>(this)) + 1; i < layers.size(); ++i) {
        if (const auto* above = qobject_cast<const AlertOverlay*>(layers.at(i)); above && above->isVisible())
            return false;
    }
    return true;
}

void AlertOverlay::layoutBox()
{
    const qreal inner = kBoxWidth - 24;
    const QString title = m_alert->title();
    const QString message = m_alert->message();
    qreal y = 16;
    const qreal titleH = title.isEmpty() ? 0 : TextLayout(title, titleFont(), inner).size().height();
    m_titleRect = QRectF(12, y, inner, titleH);
    y += titleH + (titleH > 0 ? 6 : 0);
    const qreal messageH = message.trimmed().isEmpty() ? 0 : TextLayout(message, messageFont(), inner).size().height();
    m_messageRect = QRectF(12, y, inner, messageH);
    y += messageH + (messageH > 0 ? 8 : 0);
    qreal fieldY = 0;
    if (m_field) {
        fieldY = y;
        y += 31 + 12;
    }
    const int n = int(m_alert->buttonTitles().size());
    QList<QRectF> buttons;
    if (n == 2) {
        const qreal w = (inner - 8) / 2;
        buttons = {QRectF(12, y, w, kButtonHeight), QRectF(12 + w + 8, y, w, kButtonHeight)};
        y += kButtonHeight + 14;
    } else if (n > 0) {
        // Index 0 at the bottom, the others above it in order.
        for (int i = 1; i < n; ++i) {
            buttons.append(QRectF(12, y, inner, kButtonHeight));
            y += kButtonHeight + 8;
        }
        buttons.prepend(QRectF(12, y, inner, kButtonHeight));
        y += kButtonHeight + 14;
    } else {
        y += 8;
    }
    const QRectF b = bounds();
    m_box = QRectF((b.width() - kBoxWidth) / 2, qMax<qreal>(24, (b.height() - y) / 2 - (m_field ? 60 : 0)),
                   kBoxWidth, y);
    m_titleRect.translate(m_box.topLeft());
    m_messageRect.translate(m_box.topLeft());
    m_buttons.clear();
    for (const QRectF& r : buttons)
        m_buttons.append(r.translated(m_box.topLeft()));
    if (m_field)
        m_field->setFrame(QRectF(m_box.left() + 12, m_box.top() + fieldY, inner, 31));
    update();
}

int AlertOverlay::buttonAt(const QPointF& point) const
{
    for (int i = 0; i < m_buttons.size(); ++i) {
        if (m_buttons[i].contains(point))
            return i;
    }
    return -1;
}

void AlertOverlay::press(int index)
{
    if (index < 0 || index >= m_alert->buttonTitles().size())
        return;
    if (m_field)
        m_alert->setTextFieldText(m_field->text());
    const std::shared_ptr<AlertView> alert = m_alert;
    alert->dismissWithClickedButtonIndex(index);
}

int AlertOverlay::keyboardButtonIndex() const
{
    if (m_marked >= 0 && m_marked < m_buttons.size())
        return m_marked;
    const int fallback = m_alert->defaultButtonIndex();
    return fallback < m_buttons.size() ? fallback : -1;
}

void AlertOverlay::moveMark(bool forward)
{
    if (m_buttons.isEmpty())
        return;
    // Side by side, or a column with index 0 at the bottom: in the order
    // the eye reads them.
    QList<int> order;
    for (int i = 0; i < m_buttons.size(); ++i)
        order.append(i);
    std::stable_sort(order.begin(), order.end(), [this](int a, int b) {
        const QRectF& ra = m_buttons[a];
        const QRectF& rb = m_buttons[b];
        return ra.top() != rb.top() ? ra.top() < rb.top() : ra.left() < rb.left();
    });
    const qsizetype count = order.size();
    const qsizetype at = std::max<qsizetype>(0, order.indexOf(keyboardButtonIndex()));
    m_marked = order.at((at + (forward ? 1 : count - 1)) % count);
    update();
}

void AlertOverlay::takeFocus()
{
    QWidget* focused = QApplication::focusWidget();
    if (focused && (focused == this || isAncestorOf(focused)))
        focused = nullptr;
    m_focusBefore = focused;
    setFocus(Qt::OtherFocusReason);
    if (m_field)
        m_field->becomeFirstResponder();
}

void AlertOverlay::returnFocus()
{
    QWidget* before = m_focusBefore.data();
    if (before && before->isVisible() && before->isEnabled())
        before->setFocus(Qt::OtherFocusReason);
}

void AlertOverlay::touchesBegan(const QPointF& point)
{
    m_pressed = buttonAt(point);
    update();
}

void AlertOverlay::touchesMoved(const QPointF& point)
{
    const int at = buttonAt(point);
    if (at != m_pressed && m_pressed >= 0 && at < 0) {
        m_pressed = -1;
        update();
    }
}

void AlertOverlay::touchesEnded(const QPointF& point)
{
    const int pressed = m_pressed;
    m_pressed = -1;
    update();
    if (pressed >= 0 && buttonAt(point) == pressed)
        press(pressed);
}

void AlertOverlay::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        const int cancel = m_alert->cancelButtonIndex();
        if (cancel >= 0) {
            press(cancel);
        } else {
            // Nobody waits for an answer to a notice without buttons.
            const std::shared_ptr<AlertView> alert = m_alert;
            alert->dismissWithoutButton();
        }
        return;
    }
    const int key = event->key();
    if ((key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) && keyboardButtonIndex() >= 0) {
        press(keyboardButtonIndex());
        return;
    }
    if (key == Qt::Key_Right || key == Qt::Key_Down || key == Qt::Key_Left || key == Qt::Key_Up) {
        moveMark(key == Qt::Key_Right || key == Qt::Key_Down);
        return;
    }
    View::keyPressEvent(event);
}

bool AlertOverlay::event(QEvent* event)
{
    // Tab goes from button to button: nothing behind the alert is a stop.
    if (event->type() == QEvent::KeyPress && hasFocus()) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
            moveMark(key->key() == Qt::Key_Tab && !(key->modifiers() & Qt::ShiftModifier));
            event->accept();
            return true;
        }
    }
    return View::event(event);
}

void AlertOverlay::drawRect(QPainter& painter, const QRectF& rect)
{
    AlertDrawing::drawDimmedScreen(painter, rect);
    AlertDrawing::drawAlertBox(painter, m_box);
    painter.setPen(QColor(0, 0, 0, 130));
    const TextLayout title(m_alert->title(), titleFont(), m_titleRect.width());
    title.draw(painter, m_titleRect.translated(0, -1), TextAlignment::Center);
    painter.setPen(Qt::white);
    title.draw(painter, m_titleRect, TextAlignment::Center);
    const TextLayout message(m_alert->message(), messageFont(), m_messageRect.width());
    message.draw(painter, m_messageRect, TextAlignment::Center);
    const QStringList titles = m_alert->buttonTitles();
    for (int i = 0; i < m_buttons.size() && i < titles.size(); ++i) {
        const bool cancel = i == m_alert->cancelButtonIndex() && titles.size() > 1;
        AlertDrawing::drawButton(painter, m_buttons[i],
                                 cancel ? AlertDrawing::ButtonKind::Cancel : AlertDrawing::ButtonKind::Normal,
                                 i == m_pressed);
        const TextLayout label(titles[i], titleFont(), m_buttons[i].width() - 8, 1, 0, LineBreakMode::TailTruncation);
        const QRectF r(m_buttons[i].left() + 4, m_buttons[i].center().y() - label.lineHeight() / 2,
                       m_buttons[i].width() - 8, label.lineHeight());
        painter.setPen(QColor(0, 0, 0, 140));
        label.draw(painter, r.translated(0, -1), TextAlignment::Center);
        painter.setPen(Qt::white);
        label.draw(painter, r, TextAlignment::Center);
    }
    // The button Return presses, while the keys are the alert's own.
    if (hasFocus() && keyboardButtonIndex() >= 0)
        Drawing::drawFocusMark(painter, m_buttons[keyboardButtonIndex()]);
}

void AlertPresenter::install()
{
    AlertView::setPresenter([](const std::shared_ptr<AlertView>& alert) {
        Window* window = Window::keyWindow();
        if (!window)
            return;
        auto* overlay = new AlertOverlay(alert, QRectF(0, 0, Window::kWidth, Window::kHeight));
        overlays().insert(alert.get(), overlay);
        window->addSubview(overlay);
        overlay->takeFocus();
    });
    AlertView::setDismissHandler([](const std::shared_ptr<AlertView>& alert) {
        QPointer<AlertOverlay> overlay = overlays().take(alert.get());
        if (overlay) {
            if (TextField* field = overlay->textField())
                field->resignFirstResponder();
            overlay->removeFromSuperview();
            // The alert still up on top keeps the keys; else the screen under it takes them again.
            const QList<std::shared_ptr<AlertView>> shown = AlertView::visibleAlerts();
            AlertOverlay* next = shown.isEmpty() ? nullptr : overlays().value(shown.last().get()).data();
            if (next)
                next->setFocus(Qt::OtherFocusReason);
            else
                overlay->returnFocus();
        }
    });
}

View* AlertPresenter::viewFor(const AlertView* alert)
{
    return overlays().value(alert).data();
}

TextField* AlertPresenter::textFieldFor(const AlertView* alert)
{
    AlertOverlay* overlay = overlays().value(alert).data();
    return overlay ? overlay->textField() : nullptr;
}

bool AlertPresenter::pressButton(const AlertView* alert, int index)
{
    AlertOverlay* overlay = overlays().value(alert).data();
    if (!overlay || index < 0 || index >= overlay->buttonRects().size())
        return false;
    overlay->press(index);
    return true;
}
