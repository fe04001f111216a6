#pragma once

#include "app/net/HTTPRequest.h"
#include "platform/foundation/AlertView.h"
#include "platform/foundation/Value.h"

#include <functional>
#include <memory>

// Recognises the forum's "closed" answer (an "errormessage" list that starts
// with "bbclosed"), tells the user once, and on dismissal sends the user back
// to the login screen. It also probes the forum when the application returns
// to the foreground.
class InactiveForumUtil : public AlertViewDelegate {
public:
    static InactiveForumUtil& instance();

    // The probe: a POST "member" with the client's identity; a closed forum is
    // caught by the request's own check, which shows the alert.
    void checkIfForumIsActive();
    // The probe's answer: its top-level "errormessage", when a list, is judged.
    void handleInactiveForum(const HTTPRequestPtr& request);
    // False when the value says the forum is closed; the alert is then shown
    // unless an alert is already on screen.
    bool isForumActive(const Value& errormessage);
    // No title, the text as message, this object as delegate, one "OK" button.
    std::shared_ptr<AlertView> inactiveAlertWithMessage(const QString& text);

    void didDismissWithButtonIndex(AlertView* alertView, int buttonIndex) override;

    // What shows the login screen again (the application's context connects
    // it when it is built).
    static void setReturnToLoginHandler(std::function<void()> handler);

private:
    InactiveForumUtil() = default;
};
