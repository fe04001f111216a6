#include "app/screens/GlobalNavigationPanel.h"

#include "platform/ui/Keyboard.h"

#include <QApplication>
#include <QKeyEvent>

GlobalNavigationPanel::GlobalNavigationPanel(const QRectF& frame) : RoundedRectView(frame) {}

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
