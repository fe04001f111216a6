#include "forum/screens/HomeListKeys.h"

#include "forum/cells/HomeCell.h"

#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Keyboard.h"
#include "platform/ui/TableView.h"

#include <QKeyEvent>

HomeListKeys::HomeListKeys(TableView* list) : QObject(list), m_list(list)
{
    list->installEventFilter(this);
}

bool HomeListKeys::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_list || event->type() != QEvent::KeyPress)
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_Right || (key->modifiers() & ~Qt::KeypadModifier))
        return false;
    const IndexPath marked = m_list->indexPathForSelectedRow();
    if (!marked.isValid())
        return false;
    // The wheel may have taken the marked row out of sight.
    m_list->scrollToRowAtIndexPath(marked, TableViewScrollPosition::None, false);
    auto* row = dynamic_cast<HomeCell*>(m_list->cellForRowAtIndexPath(marked));
    Button* picture = row ? row->thumbButton() : nullptr;
    if (!picture || row->thumb()->isHidden() || !picture->isUserInteractionEnabled() || !picture->isEnabled())
        return false;
    Keyboard::giveFocus(picture);
    return true;
}
