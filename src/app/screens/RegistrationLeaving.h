#pragma once

#include "platform/foundation/AlertViewDelegate.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <memory>

class AlertView;
class ViewController;

// How the member leaves the sign-up screen: by the bar's back button, or by
// Escape that nothing on the screen took. An untouched form goes at once;
// one that holds what was entered asks first and goes only by a press of
// Discard (Cancel, which Return and Escape press, keeps it as it is).
class RegistrationLeaving : public QObject, public AlertViewDelegate {
public:
    // The screen, and what says whether its form holds entries.
    RegistrationLeaving(ViewController& screen, std::function<bool()> holdsEntries);
    ~RegistrationLeaving() override;

    // Escape reaching the window is a request to leave while the screen is
    // the one on top.
    void watchEscape(QWidget* window);
    // True when the screen may go now; else the question is up (once).
    bool mayLeave();
    bool isAsking() const;
    void clickedButtonAtIndex(AlertView* alertView, int buttonIndex) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool isOnTop() const;
    // Takes the screen off its stack.
    void leave();

    ViewController& m_screen;
    std::function<bool()> m_holdsEntries;
    std::shared_ptr<AlertView> m_question;
    QPointer<QWidget> m_window;
};
