#pragma once

#include "platform/ui/IndexPath.h"

#include <QPointer>

class FocusRing;
class QFocusEvent;
class QKeyEvent;
class QWidget;
class TableView;

// A table's rows chosen with the keyboard: the arrows move the selection,
// Space (and Return where the table lets it) chooses, and a ring round the
// list shows it has the keyboard while no row is chosen. The ring is the
// keyboard's: focus a click or a drag gave shows none until a key is used.
// A row opened from the list (by a click or a key) brings the keyboard back
// to the list when the list shows again, after the screen it opened.
class TableKeyboardChooser {
public:
    explicit TableKeyboardChooser(TableView* table);

    // True when the key was the table's to take.
    bool keyPressed(QKeyEvent* event);
    bool isChoosing() const { return m_choosing; }
    bool showsFocusRing() const;
    void updateFocusRing();

    void focusIn(QFocusEvent* event);
    void focusOut();
    // A press of the mouse on the list.
    void pointerPressed();
    // A row of the list was opened.
    void rowOpened();
    // The list shows again (its screen came back).
    void shown();

private:
    // The row after (or before) the selected one, across sections.
    IndexPath adjacentRow(int step) const;
    // Whether the widget is on the same screen as the list.
    bool onListsScreen(const QWidget* widget) const;

    QPointer<TableView> m_table;
    QPointer<FocusRing> m_focusRing;
    bool m_choosing = false;
    // The keys brought the focus, or have been used since.
    bool m_keysInUse = false;
    bool m_takeFocusWhenShown = false;
};
