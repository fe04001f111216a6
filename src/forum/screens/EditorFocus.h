#pragma once

#include <QPointer>

class View;

// Where the editor's keyboard goes: at first to the title (else the text);
// back from a screen a row opened, to that row; otherwise, once the editor
// has shown, it stays where it is in the editor. Never on nothing nor on the
// bar: from there the first Tab, or a space, would press "discard".
class EditorFocus {
public:
    // The row that opens another screen gets the keyboard back after it.
    void returnTo(View* row) { m_returnTo = row; }
    // The editor appears, its root and its first rows given.
    void appeared(View* root, View* first, View* second);
    // Gives the keyboard to the view as Tab does, else to the first control
    // inside it that can take it; false when none can.
    static bool giveWithin(View* row);

private:
    QPointer<View> m_returnTo;
    bool m_hasAppeared = false;
};
