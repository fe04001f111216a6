#include "forum/cells/HomeCellPicture.h"

#include "platform/ui/Keyboard.h"
#include "platform/ui/TableView.h"

#include <QKeyEvent>

HomeCellPicture::HomeCellPicture(const QRectF& frame) : Button(frame, ButtonType::Custom) {}

bool HomeCellPicture::acceptsKeyboardFocus() const
{
    return hasFocus() && Button::acceptsKeyboardFocus();
}

TableView* HomeCellPicture::list() const
{
    for (View* up = superview(); up; up = up->superview()) {
        if (auto* table = qobject_cast<TableView*>(up))
            return table;
    }
    return nullptr;
}

bool HomeCellPicture::event(QEvent* event)
{
    if (event->type() == QEvent::KeyPress && hasFocus()) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool tab = key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab;
        if (tab && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
            if (TableView* table = list()) {
                Keyboard::moveFocus(table, key->key() == Qt::Key_Tab && !(key->modifiers() & Qt::ShiftModifier));
                event->accept();
                return true;
            }
        }
    }
    return Button::event(event);
}

void HomeCellPicture::keyPressEvent(QKeyEvent* event)
{
    TableView* table = list();
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Escape:
        if (table) {
            Keyboard::giveFocus(table);
            event->accept();
            return;
        }
        break;
    case Qt::Key_Up:
    case Qt::Key_Down:
        // The list takes the keys back, and this very press on its way up
        // moves its mark.
        if (table) {
            Keyboard::giveFocus(table);
            event->ignore();
            return;
        }
        break;
    default:
        break;
    }
    Button::keyPressEvent(event);
}

void HomeCellPicture::focusOutEvent(QFocusEvent* event)
{
    Button::focusOutEvent(event);
    // No longer taking the keys, the view would not take its mark away.
    update();
}
