#include "app/screens/GlobalNavigationPanel.h"

#include "platform/ui/Keyboard.h"

#include <QApplication>
#include <QKeyEvent>

GlobalNavigationPanel::GlobalNavigationPanel(const QRectF& frame) : RoundedRectView(frame) {}

void GlobalNavigationPanel::watchWindow(QWidget* window)
{
    if (window == m_window)
        return;
    if (m_window)
        m_window->removeEventFilter(this);
    m_window = window;
    if (window)
        window->installEventFilter(this);
}

bool GlobalNavigationPanel::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_window || event->type() != QEvent::KeyPress)
        return false;
    switch (static_cast<QKeyEvent*>(event)->key()) {
    case Qt::Key_Escape:
        if (m_escape)
            m_escape();
        return true;
    case Qt::Key_Up:
    case Qt::Key_Down:
        if (m_arrow)
            m_arrow();
        return true;
    default:
        return false;
    }
}

void GlobalNavigationPanel::keyPressEvent(QKeyEvent* event)
{
    auto* entry = qobject_cast<View*>(QApplication::focusWidget());
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
        // The entries are the menu's only stops, one under the other.
        if (entry && isAncestorOf(entry))
            Keyboard::moveFocus(entry, event->key() == Qt::Key_Down);
        event->accept();
        return;
    case Qt::Key_Escape:
        if (m_escape) {
            event->accept();
            m_escape();
            return;
        }
        break;
    default:
        break;
    }
    RoundedRectView::keyPressEvent(event);
}
