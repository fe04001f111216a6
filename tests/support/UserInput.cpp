#include "UserInput.h"

#include <QApplication>
#include <QTest>
#include <QtTest/qtestspontaneevent.h>
#include <QWheelEvent>
#include <QWidget>
#include <QWindow>

#include <gtest/gtest.h>

QWindow* UserInput::handleOf(QWidget* window)
{
    QWidget* top = window ? window->window() : QApplication::activeWindow();
    if (!top)
        return QGuiApplication::focusWindow();
    return top->windowHandle();
}

void UserInput::mouse(QWidget* window, const QPointF& point, int type, Qt::MouseButton button)
{
    QWindow* handle = handleOf(window);
    ASSERT_NE(handle, nullptr) << "no window to click in";
    EXPECT_TRUE(QRectF(QPointF(), handle->size()).contains(point))
        << "a click outside the window at " << point.x() << "," << point.y();
    // The timestamps QTest keeps: two clicks in a row are never taken for a double click.
    if (type == QEvent::MouseButtonPress)
        QTest::lastMouseTimestamp += QTest::mouseDoubleClickInterval;
    else
        QTest::lastMouseTimestamp += 1;
    if (type == QEvent::MouseButtonPress)
        QTestPrivate::qtestMouseButtons.setFlag(button, true);
    else if (type == QEvent::MouseButtonRelease)
        QTestPrivate::qtestMouseButtons.setFlag(button, false);
    qt_handleMouseEvent(handle, point, handle->mapToGlobal(point), QTestPrivate::qtestMouseButtons,
                        type == QEvent::MouseMove ? Qt::NoButton : button, QEvent::Type(type), Qt::NoModifier,
                        QTest::lastMouseTimestamp);
    QCoreApplication::processEvents();
}

void UserInput::press(QWidget* window, const QPointF& point)
{
    mouse(window, point, QEvent::MouseButtonPress, Qt::LeftButton);
}

void UserInput::move(QWidget* window, const QPointF& point)
{
    mouse(window, point, QEvent::MouseMove, Qt::NoButton);
}

void UserInput::release(QWidget* window, const QPointF& point)
{
    mouse(window, point, QEvent::MouseButtonRelease, Qt::LeftButton);
}

void UserInput::click(QWidget* window, const QPointF& point)
{
    press(window, point);
    release(window, point);
}

void UserInput::doubleClick(QWidget* window, const QPointF& point)
{
    click(window, point);
    QWindow* handle = handleOf(window);
    ASSERT_NE(handle, nullptr);
    // The second press close behind the first, as a double click comes.
    QTestPrivate::qtestMouseButtons.setFlag(Qt::LeftButton, true);
    qt_handleMouseEvent(handle, point, handle->mapToGlobal(point), QTestPrivate::qtestMouseButtons, Qt::LeftButton,
                        QEvent::MouseButtonPress, Qt::NoModifier, ++QTest::lastMouseTimestamp);
    QTestPrivate::qtestMouseButtons.setFlag(Qt::LeftButton, false);
    qt_handleMouseEvent(handle, point, handle->mapToGlobal(point), QTestPrivate::qtestMouseButtons, Qt::LeftButton,
                        QEvent::MouseButtonRelease, Qt::NoModifier, ++QTest::lastMouseTimestamp);
    QCoreApplication::processEvents();
}

void UserInput::clickWidget(QWidget* widget)
{
    ASSERT_NE(widget, nullptr);
    QWidget* top = widget->window();
    click(top, QPointF(widget->mapTo(top, widget->rect().center())));
}

void UserInput::wheel(QWidget* window, const QPointF& point, const QPoint& angleDelta)
{
    QWindow* handle = handleOf(window);
    ASSERT_NE(handle, nullptr);
    // Handed to the window because the window system's own wheel entry is
    // not public; marked as the window system's own, so that the window finds
    // the widget under the pointer and the turn goes up to whatever scrolls.
    QWheelEvent event(point, handle->mapToGlobal(point), QPoint(), angleDelta, QTestPrivate::qtestMouseButtons,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QSpontaneKeyEvent::setSpontaneous(&event);
    qApp->notify(handle, &event);
    QCoreApplication::processEvents();
}

void UserInput::key(Qt::Key key, Qt::KeyboardModifiers modifiers, const QString& text, QWidget* window)
{
    QWindow* handle = QGuiApplication::focusWindow();
    if (!handle || window)
        handle = handleOf(window);
    ASSERT_NE(handle, nullptr) << "no window takes the keys";
    QString typed = text;
    if (typed.isEmpty() && !(modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))) {
        switch (key) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            typed = QStringLiteral("\r");
            break;
        case Qt::Key_Tab:
            typed = QStringLiteral("\t");
            break;
        case Qt::Key_Escape:
            typed = QString(QChar(0x1b));
            break;
        case Qt::Key_Backspace:
            typed = QString(QChar(0x08));
            break;
        case Qt::Key_Space:
            typed = QStringLiteral(" ");
            break;
        default:
            break;
        }
    }
    QTest::sendKeyEvent(QTest::Click, handle, key, typed, modifiers);
}

void UserInput::keyRepeat(Qt::Key key, QWidget* window)
{
    QWindow* handle = QGuiApplication::focusWindow();
    if (!handle || window)
        handle = handleOf(window);
    ASSERT_NE(handle, nullptr) << "no window takes the keys";
    QTest::simulateEvent(handle, true, key, Qt::NoModifier, QString(), true);
}

void UserInput::type(const QString& text, QWidget* window)
{
    for (const QChar c : text) {
        if (c == u'\n') {
            key(Qt::Key_Return, Qt::NoModifier, QString(), window);
            continue;
        }
        if (c == u'\t') {
            key(Qt::Key_Tab, Qt::NoModifier, QString(), window);
            continue;
        }
        const char latin = c.toLatin1();
        Qt::Key code = Qt::Key(0);
        if (c.unicode() < 0x80 && c.isPrint())
            code = Qt::Key(QTest::asciiToKey(latin));
        const Qt::KeyboardModifiers modifiers = c.isUpper() && c.unicode() < 0x80 ? Qt::ShiftModifier : Qt::NoModifier;
        key(code, modifiers, QString(c), window);
    }
}
