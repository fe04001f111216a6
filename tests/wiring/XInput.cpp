#include "XInput.h"

#include "TestSupport.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QHash>
#include <QKeyEvent>
#include <QPointer>
#include <QProcess>
#include <QRect>
#include <QScreen>
#include <QStringList>
#include <QWidget>
#include <QWindow>

namespace {

// Counts what the window system hands the window, as it arrives. It watches
// from the application, ahead of the filters installed before it (the drag
// router takes the release that ends a drag).
class Arrivals : public QObject {
public:
    explicit Arrivals(QWindow* window) : m_window(window) { qApp->installEventFilter(this); }
    ~Arrivals() override { qApp->removeEventFilter(this); }
    int count(QEvent::Type type) const { return type == QEvent::KeyPress ? m_typed : m_counts.value(type); }

protected:
    bool eventFilter(QObject* receiver, QEvent* event) override
    {
        if (receiver != m_window)
            return false;
        // A key that types nothing (the shift xdotool presses for a capital)
        // is no letter of the text.
        if (event->type() == QEvent::KeyPress && !static_cast<QKeyEvent*>(event)->text().isEmpty())
            ++m_typed;
        m_counts[event->type()] += 1;
        return false;
    }

private:
    QPointer<QWindow> m_window;
    QHash<int, int> m_counts;
    int m_typed = 0;
};

// Runs xdotool with the arguments, then waits until `expected` events of the
// type have reached the window.
bool drive(QWidget* window, const QStringList& arguments, QEvent::Type type, int expected)
{
    if (!window || !window->windowHandle())
        return false;
    Arrivals arrivals(window->windowHandle());
    if (QProcess::execute(QStringLiteral("xdotool"), arguments) != 0)
        return false;
    return TestSupport::waitFor([&] { return arrivals.count(type) >= expected; });
}

// The pointer moved to the point (in the X screen's pixels), and on once
// it is there. `--sync` waits for the pointer to move: it would wait its
// whole time out when the pointer already stands there (a second turn of
// the wheel at the same place), so the pointer first steps a pixel aside.
QStringList moveTo(QWidget* window, const QPointF& windowPoint)
{
    const QPointF global = window->mapToGlobal(windowPoint) * window->devicePixelRatioF();
    const int x = qRound(global.x());
    const int y = qRound(global.y());
    return {QStringLiteral("mousemove"), QString::number(x + 1), QString::number(y),
            QStringLiteral("mousemove"), QStringLiteral("--sync"), QString::number(x), QString::number(y)};
}

// Buttons 4 and 5 are the wheel's notches away from and toward the user.
bool turnWheel(QWidget* window, const QPointF& windowPoint, int notches, int button)
{
    return drive(window,
                 moveTo(window, windowPoint)
                     + QStringList{QStringLiteral("click"), QStringLiteral("--repeat"), QString::number(notches),
                                   QStringLiteral("--delay"), QStringLiteral("20"), QString::number(button)},
                 QEvent::Wheel, notches);
}

// The X name of a key with its modifiers, as xdotool reads it ("shift+Tab");
// empty for a key these tests do not press.
QString xName(Qt::Key key, Qt::KeyboardModifiers modifiers)
{
    static const QHash<int, QString> names{
        {Qt::Key_Tab, QStringLiteral("Tab")},         {Qt::Key_Backtab, QStringLiteral("Tab")},
        {Qt::Key_Return, QStringLiteral("Return")},   {Qt::Key_Enter, QStringLiteral("KP_Enter")},
        {Qt::Key_Escape, QStringLiteral("Escape")},   {Qt::Key_Space, QStringLiteral("space")},
        {Qt::Key_Up, QStringLiteral("Up")},           {Qt::Key_Down, QStringLiteral("Down")},
        {Qt::Key_Left, QStringLiteral("Left")},       {Qt::Key_Right, QStringLiteral("Right")},
        {Qt::Key_Home, QStringLiteral("Home")},       {Qt::Key_End, QStringLiteral("End")},
        {Qt::Key_PageUp, QStringLiteral("Prior")},    {Qt::Key_PageDown, QStringLiteral("Next")},
        {Qt::Key_Backspace, QStringLiteral("BackSpace")}, {Qt::Key_Delete, QStringLiteral("Delete")}};
    QString name = names.value(key);
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        name = QChar(u'a' + (key - Qt::Key_A));
    else if (key >= Qt::Key_0 && key <= Qt::Key_9)
        name = QChar(u'0' + (key - Qt::Key_0));
    if (name.isEmpty())
        return {};
    // Shift+Tab is what reaches the toolkit as Backtab.
    if (key == Qt::Key_Backtab)
        modifiers |= Qt::ShiftModifier;
    if (modifiers & Qt::ShiftModifier)
        name.prepend(QStringLiteral("shift+"));
    if (modifiers & Qt::AltModifier)
        name.prepend(QStringLiteral("alt+"));
    if (modifiers & Qt::ControlModifier)
        name.prepend(QStringLiteral("ctrl+"));
    return name;
}

}  // namespace

bool XInput::available()
{
    return QGuiApplication::platformName() == QStringLiteral("xcb");
}

bool XInput::click(QWidget* window, const QPointF& windowPoint)
{
    return drive(window, moveTo(window, windowPoint) + QStringList{QStringLiteral("click"), QStringLiteral("1")},
                 QEvent::MouseButtonRelease, 1);
}

bool XInput::type(QWidget* window, const QString& text)
{
    return drive(window, {QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("10"), QStringLiteral("--"), text},
                 QEvent::KeyPress, int(text.size()));
}

bool XInput::keys(QWidget* window, const QStringList& names)
{
    // Counted as they are let go: a key that types nothing (an arrow) is
    // no typed letter, and its press alone may not have been handled yet.
    return drive(window, QStringList{QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("20")} + names,
                 QEvent::KeyRelease, int(names.size()));
}

bool XInput::key(QWidget* window, const QString& name)
{
    return keys(window, {name});
}

bool XInput::key(QWidget* window, Qt::Key key, Qt::KeyboardModifiers modifiers)
{
    const QString name = xName(key, modifiers);
    return !name.isEmpty() && keys(window, {name});
}

bool XInput::drag(QWidget* window, const QPointF& from, const QPointF& to)
{
    QStringList arguments = moveTo(window, from) + QStringList{QStringLiteral("mousedown"), QStringLiteral("1")};
    for (int step = 1; step <= 4; ++step) {
        const QPointF global = window->mapToGlobal(from + (to - from) * step / 4.0) * window->devicePixelRatioF();
        arguments += {QStringLiteral("sleep"), QStringLiteral("0.02"), QStringLiteral("mousemove"),
                      QString::number(qRound(global.x())), QString::number(qRound(global.y()))};
    }
    arguments += {QStringLiteral("mouseup"), QStringLiteral("1")};
    return drive(window, arguments, QEvent::MouseButtonRelease, 1);
}

bool XInput::scrollDown(QWidget* window, const QPointF& windowPoint, int notches)
{
    return turnWheel(window, windowPoint, notches, 5);
}

bool XInput::scrollUp(QWidget* window, const QPointF& windowPoint, int notches)
{
    return turnWheel(window, windowPoint, notches, 4);
}

bool XInput::movePointerAway(QWidget* window)
{
    if (!window || !window->screen())
        return false;
    // Qt's points are the X screen's pixels times the zoom.
    const qreal zoom = window->devicePixelRatioF();
    const QRectF frame = window->frameGeometry();
    const QRect covered = QRectF(frame.topLeft() * zoom, frame.size() * zoom).toAlignedRect();
    const QRectF whole = window->screen()->geometry();
    const QRect screen = QRectF(whole.topLeft() * zoom, whole.size() * zoom).toRect();
    const QRect inside = screen.adjusted(2, 2, -2, -2);
    for (const QPoint& corner : {inside.bottomRight(), inside.bottomLeft(), inside.topRight(), inside.topLeft()}) {
        if (covered.adjusted(-8, -8, 8, 8).contains(corner))
            continue;
        // A step aside first: `--sync` waits for the pointer to move.
        const QString x = QString::number(corner.x());
        const QString y = QString::number(corner.y());
        const QStringList arguments{QStringLiteral("mousemove"), QString::number(corner.x() - 1), y,
                                    QStringLiteral("mousemove"), QStringLiteral("--sync"), x, y};
        return QProcess::execute(QStringLiteral("xdotool"), arguments) == 0;
    }
    return false;
}
