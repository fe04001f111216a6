#pragma once

#include "AppTest.h"

#include "platform/ui/NavigationController.h"

#include <QPointF>
#include <QString>

#include <memory>

class AlertView;
class AppDelegate;
class TextField;
class View;
class ViewController;

// The fixture of the screens' end-to-end tests: the application's fixture
// (fresh state, a loopback forum of its own, the manual clock) with the real
// application on top of it, as main starts it: the screens registered by
// class name, alerts shown in the window, and the application's delegate
// launching in a fresh phone window. The user's part is played through the
// window: taps land on whatever view is at the point, keys go to the field.
class ScreenTest : public AppTest {
protected:
    void SetUp() override;
    void TearDown() override;
    // What main's wiring connects, as far as the application's own screens
    // need it: alerts in the window, the screens by class name and the one
    // screen stack. The end-to-end tests build the wiring itself instead.
    virtual void wire();

    // Launches the application (the loopback forum is the bundle's forum)
    // and waits for its first screens, built once the first frame is drawn.
    AppDelegate& launch();
    // Quits: the delegate and its window go, as when the program ends.
    void quit();
    AppDelegate* delegate() const { return m_delegate.get(); }

    // Runs every animation to its end and the event loop once.
    static void finishAnimations();
    // Runs the event loop (and every animation) until the condition holds.
    static bool waitUntil(const std::function<bool()>& condition,
                          std::chrono::milliseconds timeout = std::chrono::milliseconds(5000));
    // The screens of the root navigation, bottom first, and the top one.
    QList<ViewControllerPtr> screens() const;
    ViewController* topScreen() const;
    template <typename T>
    T* topScreenAs() const
    {
        return dynamic_cast<T*>(topScreen());
    }

    // A tap at the view's centre (or a window point), delivered to whatever
    // the window has there.
    void tap(View* view);
    void tapAt(const QPointF& windowPoint);
    // A click as the mouse makes one (the toolkit moves the focus, as for a
    // user), at a window point.
    static void click(const QPointF& windowPoint);
    // Selects the field as a tap does and types the text, key by key.
    void type(TextField* field, const QString& text);
    // The return key on the field being edited.
    static void pressReturn(TextField* field);
    // Keys as the keyboard sends them: to whatever has the focus.
    static void key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, const QString& text = QString());
    static void typeKeys(const QString& text);
    // What the field shows on screen (a secure field shows no letter).
    static QString displayedText(TextField* field);

    // Alerts: those on screen, those shown since the test began, and a tap
    // on a button of the one on top.
    static QList<std::shared_ptr<AlertView>> alertsOnScreen();
    int alertsShown() const;
    void tapAlertButton(int index);

private:
    std::unique_ptr<AppDelegate> m_delegate;
    int m_alertsAtStart = 0;
};
