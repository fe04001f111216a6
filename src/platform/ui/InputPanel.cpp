#include "platform/ui/InputPanel.h"

#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Keyboard.h"
#include "platform/ui/Toolbar.h"
#include "platform/ui/Window.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPointer>

InputPanel::InputPanel(View* input, std::function<void()> done, std::function<void()> cancel)
    : View(QRectF(0, 0, Window::kWidth, Window::kHeight)), m_input(input), m_toolbar(new Toolbar()),
      m_done(std::move(done)), m_cancel(std::move(cancel))
{
    setBackgroundColor(QColor(0, 0, 0, 90));
    setOpaque(false);
    m_toolbar->setItems({BarButtonItem::withSystemItem(BarButtonSystemItem::FlexibleSpace),
                         BarButtonItem::withSystemItem(BarButtonSystemItem::Done, this, &InputPanel::pressDone)});
    addSubview(m_toolbar);
    addSubview(m_input);
    layoutSubviews();
}

void InputPanel::layoutSubviews()
{
    const QRectF b = bounds();
    const qreal top = b.height() - kInputHeight - Toolbar::kHeight;
    m_toolbar->setFrame(QRectF(0, top, b.width(), Toolbar::kHeight));
    m_input->setFrame(QRectF(0, top + Toolbar::kHeight, b.width(), kInputHeight));
}

void InputPanel::open()
{
    Window* window = Window::keyWindow();
    if (!window || m_open)
        return;
    m_open = true;
    const QRectF area = window->bounds();
    window->addSubview(this);
    window->bringSubviewToFront(this);
    setFrame(QRectF(0, area.height(), area.width(), area.height()));
    View::animate(kSlideDuration, [this, area] { setFrame(QRectF(0, 0, area.width(), area.height())); });
    QWidget* before = QApplication::focusWidget();
    m_focusBefore = before && before != this && !isAncestorOf(before) ? before : nullptr;
    if (m_input->canBecomeFirstResponder())
        m_input->becomeFirstResponder();
}

void InputPanel::pressDone()
{
    finish(m_done);
}

void InputPanel::pressCancel()
{
    finish(m_cancel);
}

void InputPanel::finish(const std::function<void()>& action)
{
    if (!m_open)
        return;
    // The action may end what made the panel; the panel still goes.
    QPointer<InputPanel> self(this);
    const std::function<void()> run = action;
    if (run)
        run();
    if (self)
        close();
}

void InputPanel::close()
{
    m_open = false;
    if (m_input->isFirstResponder())
        m_input->resignFirstResponder();
    // The keyboard goes back to the row that opened the panel, chosen or
    // left, not round the screen to wherever the toolkit would put it.
    if (QWidget* before = m_focusBefore.data(); before && before->isVisible() && before->isEnabled()) {
        if (auto* view = qobject_cast<View*>(before))
            Keyboard::giveFocus(view);
        else
            before->setFocus(Qt::OtherFocusReason);
    }
    QPointer<InputPanel> self(this);
    QRectF away = frame();
    away.translate(0, away.height());
    View::animate(kSlideDuration, [self, away] {
        if (self)
            self->setFrame(away);
    }, [self](bool) {
        if (self)
            self->removeFromSuperview();
    });
}

void InputPanel::touchesEnded(const QPointF& point)
{
    // Only the shade reaches here: the bar and the input take their own.
    // A click beside the panel is no choice made.
    if (point.y() < m_toolbar->frame().top())
        pressCancel();
}

void InputPanel::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        event->accept();
        pressDone();
        return;
    case Qt::Key_Escape:
        event->accept();
        pressCancel();
        return;
    default:
        View::keyPressEvent(event);
    }
}
