#pragma once

#include <QPointF>
#include <QString>
#include <QStringList>

#include <Qt>

class QWidget;

// The mouse and the keyboard of a user at an X display: xdotool drives the
// X server's test input (XTest), and the server delivers the clicks and keys
// to the window under the pointer and the window with the focus, as it
// delivers a user's. Each operation returns once the toolkit has taken in
// what it caused (or after a few seconds, answering false).
class XInput {
public:
    // Whether the toolkit runs on X (QT_QPA_PLATFORM=xcb).
    static bool available();
    // The left button pressed and let go at a point of the window.
    static bool click(QWidget* window, const QPointF& windowPoint);
    // The text typed, key by key, to the window with the focus.
    static bool type(QWidget* window, const QString& text);
    // Keys by their X names ("Tab", "Return", "Escape", "Down"), one after
    // another, to the window with the focus.
    static bool keys(QWidget* window, const QStringList& names);
    static bool key(QWidget* window, const QString& name);
    // A key with its modifiers, as the keyboard sends it (Backtab is Shift+Tab).
    static bool key(QWidget* window, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    // The left button pressed at one point of the window, the pointer moved
    // to another in a few steps, and the button let go there.
    static bool drag(QWidget* window, const QPointF& from, const QPointF& to);
    // The wheel turned toward the user, notch by notch, at a point of the window.
    static bool scrollDown(QWidget* window, const QPointF& windowPoint, int notches);
    // The wheel turned away from the user.
    static bool scrollUp(QWidget* window, const QPointF& windowPoint, int notches);
    // The pointer moved to a corner of the screen the window does not cover,
    // where nothing it shows lies under it.
    static bool movePointerAway(QWidget* window);
};
