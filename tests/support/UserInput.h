#pragma once

#include <QPoint>
#include <QPointF>
#include <QString>

#include <Qt>

class QWidget;
class QWindow;

// Mouse, wheel and keys as a user's hardware makes them: handed to the window
// system's queue of a top-level window, so that the toolkit finds the widget
// under the pointer, moves the focus a click gives, keeps the pressed widget
// for the release, runs shortcuts and routes keys to the focused widget.
// Events sent straight to a widget skip all of that, and faults hide there.
class UserInput {
public:
    // Points are in the top-level window's coordinates.
    static void click(QWidget* window, const QPointF& point);
    static void doubleClick(QWidget* window, const QPointF& point);
    static void press(QWidget* window, const QPointF& point);
    static void move(QWidget* window, const QPointF& point);
    static void release(QWidget* window, const QPointF& point);
    // A click in the middle of a widget, in whatever window it shows.
    static void clickWidget(QWidget* widget);
    // One wheel turn: 120 is a notch away from the user (up the page).
    static void wheel(QWidget* window, const QPointF& point, const QPoint& angleDelta);

    // A key pressed and released on the window that has the keyboard (the
    // active window, else the given one).
    static void key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, const QString& text = QString(),
                    QWidget* window = nullptr);
    // The press a key held down repeats.
    static void keyRepeat(Qt::Key key, QWidget* window = nullptr);
    // Each character as its key: letters, digits, space, "\n" as Return, "\t" as Tab.
    static void type(const QString& text, QWidget* window = nullptr);

private:
    static QWindow* handleOf(QWidget* window);
    static void mouse(QWidget* window, const QPointF& point, int type, Qt::MouseButton button);
};
