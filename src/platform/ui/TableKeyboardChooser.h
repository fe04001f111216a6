#pragma once

#include "platform/ui/IndexPath.h"

#include <QPointer>

class FocusRing;
class QKeyEvent;
class TableView;

// A table's rows chosen with the keyboard: the arrows move the selection,
// Space (and Return where the table lets it) chooses, and a ring round the
// list shows it has the keyboard while no row is chosen.
class TableKeyboardChooser {
public:
    explicit TableKeyboardChooser(TableView* table);

    // True when the key was the table's to take.
    bool keyPressed(QKeyEvent* event);
    bool isChoosing() const { return m_choosing; }
    bool showsFocusRing() const;
    void updateFocusRing();

private:
    // The row after (or before) the selected one, across sections.
    IndexPath adjacentRow(int step) const;

    QPointer<TableView> m_table;
    QPointer<FocusRing> m_focusRing;
    bool m_choosing = false;
};
