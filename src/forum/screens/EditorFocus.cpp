#include "forum/screens/EditorFocus.h"

#include "platform/ui/Keyboard.h"
#include "platform/ui/View.h"

#include <QApplication>

#include <utility>

void EditorFocus::appeared(View* root, View* first, View* second)
{
    const QPointer<View> returnTo = std::exchange(m_returnTo, nullptr);
    if (returnTo && giveWithin(returnTo))
        return;
    // Back with the keyboard still in the editor: it stays there.
    const bool firstTime = !std::exchange(m_hasAppeared, true);
    if (!firstTime && root->isAncestorOf(QApplication::focusWidget()))
        return;
    if (!giveWithin(first))
        giveWithin(second);
}

bool EditorFocus::giveWithin(View* row)
{
    if (!row)
        return false;
    QList<View*> candidates{row};
    candidates += row->findChildren<View*>();
    for (View* view : std::as_const(candidates)) {
        const bool takesKeys = view->canBecomeFirstResponder() ? view->isUserInteractionEnabled()
                                                               : view->acceptsKeyboardFocus();
        if (takesKeys && view->isVisible() && view->alpha() > 0.01 && Keyboard::giveFocus(view))
            return true;
    }
    return false;
}
